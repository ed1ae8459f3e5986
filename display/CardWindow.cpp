// Cards as windows: the class, the chain of cards and the last card, opening, filling, sizing
// and placing a card, expanding analysis rows, and the report of caught exceptions.

#include "display/CardWindow.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "core/Exceptions.h"
#include "core/GlobalCustoms.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"

const wchar_t* const CardWindowClass = L"CardWindow_Jyx";

namespace {

constexpr int32_t kCardWrapWidth = 63;
constexpr int32_t kCardLeft = 10;
constexpr int32_t kPreviousCardOffset = 10;
constexpr int32_t kCursorOffset = 5;

HWND lastCard = nullptr;
// Cards not yet destroyed, oldest first: a handle remembered in PrevWindow or as the last card
// may name a card closed since, and must not be destroyed or measured then.
std::vector<HWND> liveCards;
TErrorReport errorReport = nullptr;
bool reporting = false;

const TGlobalCustoms& Settings() {
    return SharedCustomsOrDefaults();
}

// A remembered card if it still lives; else the card opened most recently that does (other
// than the one asking), or the desktop window.
HWND LiveOrNewest(HWND candidate, HWND asking = nullptr) {
    if (candidate == GetDesktopWindow() || (candidate != asking && CardWindow_IsCard(candidate))) {
        return candidate;
    }
    for (auto it = liveCards.rbegin(); it != liveCards.rend(); ++it) {
        if (*it != asking && IsWindow(*it)) {
            return *it;
        }
    }
    return GetDesktopWindow();
}

TRect ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

POINT CardOrigin(const TWindowData& w, bool placeAtPrevious) {
    if (placeAtPrevious) {
        const TRect rect = ScreenRect(LiveOrNewest(static_cast<HWND>(w.PrevWindow), static_cast<HWND>(w.Window)));
        return {rect.Left + kPreviousCardOffset, rect.Top + kPreviousCardOffset};
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    return {cursor.x + kCursorOffset, cursor.y + kCursorOffset};
}

void PlaceCard(TWindowData& w, int32_t left, int32_t top) {
    SetWindowPos(static_cast<HWND>(w.Window), HWND_TOPMOST, left, top, w.Width, w.Height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

// After rows were expanded or collapsed: the width follows the lines, the height stays.
void RefitKeepingHeight(TWindowData& w) {
    CardWindow_FitSize(w, false);
    w.WindowRect = ScreenRect(static_cast<HWND>(w.Window));
    PlaceCard(w, w.WindowRect.Left, w.WindowRect.Top);
    ShowText_Invalidate(w, true);
}

// Rows after the one that changed keep naming their own sub-lines.
void ShiftExpandedRows(TLineLayout& layout, int32_t from, int32_t by) {
    for (int32_t i = from; i < layout.LineCount; ++i) {
        TDisplayLine& line = layout.Line(i);
        if (line.Kind == lkAnalysis && line.Expanded != 0) {
            line.ExpandFirst += by;
            line.ExpandLast += by;
        }
    }
}

void ShowErrorBox(const std::wstring& text) {
    // As the runtime's own report words it: the message as a sentence, the program as caption.
    std::wstring message = text;
    if (!message.empty() && message.back() > L'.') {
        message += L'.';
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring caption = path;
    caption = caption.substr(caption.find_last_of(L"\\/") + 1);
    caption = caption.substr(0, caption.rfind(L'.'));
    MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

} // namespace

void CardWindowInit() {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = CardWindow_WndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = CardWindowClass;
    RegisterClassW(&windowClass);
    lastCard = GetDesktopWindow();
}

void CardWindowDone() {
    CardWindow_StopDragTimer();
    UnregisterClassW(CardWindowClass, GetModuleHandleW(nullptr));
}

HWND CardWindow_LastCard() {
    return lastCard != nullptr ? lastCard : GetDesktopWindow();
}

bool CardWindow_IsCard(HWND window) {
    return window != nullptr && std::find(liveCards.begin(), liveCards.end(), window) != liveCards.end() &&
           IsWindow(window);
}

HWND CardWindow_Show(const wchar_t* word, bool closePrevious, bool placeAtPrevious) {
    if (closePrevious && CardWindow_IsCard(CardWindow_LastCard())) {
        DestroyWindow(CardWindow_LastCard());
    }
    const HWND card = CardWindow_Create({0, 0, 0, 0});
    if (card == nullptr) {
        return nullptr;
    }
    TWindowData* w = ViewWindowData(card);
    bool shown = false;
    try {
        shown = AnalyzeWord(word, w->Result, Settings().SourceLang) && CardWindow_Fill(*w, w->Result, placeAtPrevious);
    } catch (...) {
        DestroyWindow(card);
        throw;
    }
    if (!shown) {
        // Its release hands the last card back to the one before, never to none.
        DestroyWindow(card);
        return nullptr;
    }
    return card;
}

HWND CardWindow_Create(const TRect& rect) {
    const HWND window = CreateWindowExW(0, CardWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL, rect.Left, rect.Top,
                                        rect.Right - rect.Left, rect.Bottom - rect.Top, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    std::unique_ptr<TWindowData> data;
    try {
        data = std::make_unique<TWindowData>();
        liveCards.push_back(window);
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    data->Window = window;
    data->PrevWindow = CardWindow_LastCard();
    data->HotLine = -1;
    data->PageLines = Settings().CardMaxLines;
    ViewAttachWindowData(window, data.release());
    lastCard = window;
    return window;
}

bool CardWindow_Fill(TWindowData& w, const TSearchResult& result, bool placeAtPrevious) {
    bool laidOut = false;
    try {
        if (&result != &w.Result) {
            w.Result = result;
        }
        const TLangSearchResult& half = w.Result[Settings().SourceLang == langTatar ? 0 : 1];
        laidOut = LayoutSearchResult(w.Layout, half, kCardWrapWidth);
        if (!laidOut) {
            return false;
        }
        const HWND window = static_cast<HWND>(w.Window);
        w.PaintedCount = w.Layout.LineCount;
        const TRect frame = ScreenRect(window);
        w.FrameHeight = frame.Bottom - frame.Top;
        const int32_t entryLine = CardWindow_FindEntryLine(w, Settings().CurDict, Settings().CurEntry);
        CardWindow_FitSize(w, true);
        const POINT origin = CardOrigin(w, placeAtPrevious);
        w.WindowRect = NewRectLTWH(origin.x, origin.y, w.Width, w.Height);
        w.Background = CardBackground;
        PlaceCard(w, origin.x, origin.y);
        CreateCaret(window, nullptr, 0, w.Layout.TextHeight);
        ShowText_SetCaret(w, 0, entryLine, true);
        ShowText_Invalidate(w, true);
    } catch (...) {
        // A card that could not be finished stays as far as it got; the caller decides by the layout.
    }
    return laidOut;
}

void CardWindow_FitSize(TWindowData& w, bool setHeight) {
    const TTextExtent content = MeasureLines(w, kCardLeft, 0);
    w.ScrollMin = 0;
    w.Width = GetSystemMetrics(SM_CXVSCROLL) + content.Width + 20;
    if (setHeight) {
        w.Height = w.FrameHeight + content.Height + 5;
    }
}

int32_t CardWindow_FindEntryLine(const TWindowData& w, int32_t dict, int32_t entry) {
    for (int32_t i = 0; i < w.Layout.LineCount; ++i) {
        if (w.Layout.Line(i).Dict == dict && w.Layout.Line(i).Entry == entry) {
            return i;
        }
    }
    return 0;
}

void CardWindow_UpdateGeometry(TWindowData& w) {
    const HWND window = static_cast<HWND>(w.Window);
    w.WindowRect = ScreenRect(window);
    w.ClientRect = ViewClientRect(window);
    w.Width = w.WindowRect.Right - w.WindowRect.Left;
    w.Height = w.WindowRect.Bottom - w.WindowRect.Top;
    UpdateWindow(window);
}

void CardWindow_Release(TWindowData* w) {
    if (w == nullptr) {
        return;
    }
    std::unique_ptr<TWindowData> owned(w);
    const HWND window = static_cast<HWND>(w->Window);
    ViewAttachWindowData(window, nullptr);
    if (CardWindow_DragTimerOwner() == window) {
        CardWindow_StopDragTimer();
    }
    liveCards.erase(std::remove(liveCards.begin(), liveCards.end(), window), liveCards.end());
    lastCard = LiveOrNewest(static_cast<HWND>(w->PrevWindow));
}

void CardWindow_ExpandRow(TWindowData& w, int32_t row) {
    TLineLayout& layout = w.Layout;
    if (!layout.HasLine(row)) {
        return;
    }
    TDisplayLine& owner = layout.Line(row);
    const int32_t n = owner.SubCount;
    if (n <= 0 || owner.SubLines == nullptr || owner.Expanded != 0 || layout.LineCount + n > layout.Capacity) {
        return;
    }
    TDisplayLine* const lines = layout.Lines.get();
    std::move_backward(lines + row + 1, lines + layout.LineCount, lines + layout.LineCount + n);
    for (int32_t k = 0; k < n; ++k) {
        const TSubLine& sub = owner.SubLines[k];
        TDisplayLine& line = lines[row + 1 + k];
        line = TDisplayLine();
        std::copy(sub.Text, sub.Text + kLineSlots, line.Text);
        line.Length = std::clamp(sub.Length, 0, kMaxLineLength);
        line.Kind = lkGrammarNote;
        line.Colour = sub.Colour;
        line.Style = sub.Style;
        line.Indent = sub.Indent;
    }
    layout.LineCount += n;
    ShiftExpandedRows(layout, row + n + 1, n);
    owner.Expanded = 1;
    owner.ExpandFirst = row + 1;
    owner.ExpandLast = row + n;
    RefitKeepingHeight(w);
}

void CardWindow_CollapseRow(TWindowData& w, int32_t row) {
    TLineLayout& layout = w.Layout;
    if (!layout.HasLine(row) || layout.Line(row).Expanded == 0) {
        return;
    }
    TDisplayLine& owner = layout.Line(row);
    const int32_t n = std::clamp(owner.ExpandLast - owner.ExpandFirst + 1, 0, layout.LineCount - row - 1);
    TDisplayLine* const lines = layout.Lines.get();
    std::move(lines + row + 1 + n, lines + layout.LineCount, lines + row + 1);
    for (int32_t i = layout.LineCount - n; i < layout.LineCount; ++i) {
        lines[i] = TDisplayLine();
    }
    layout.LineCount -= n;
    ShiftExpandedRows(layout, row + 1, -n);
    owner.Expanded = 0;
    RefitKeepingHeight(w);
}

TErrorReport CardWindow_SetErrorReport(TErrorReport report) {
    const TErrorReport previous = errorReport;
    errorReport = report;
    return previous;
}

void CardWindow_ReportCurrentException() noexcept {
    // A report shown while another is open would stack boxes, one per timer tick.
    if (reporting) {
        return;
    }
    reporting = true;
    try {
        std::wstring text;
        try {
            throw;
        } catch (const Exception& e) {
            text = e.Message();
        } catch (const std::exception& e) {
            text = Utf8ToWide(e.what());
        } catch (...) {
            text = L"Unknown exception";
        }
        (errorReport != nullptr ? errorReport : ShowErrorBox)(text);
    } catch (...) {
        // Nothing is left to tell it with.
    }
    reporting = false;
}
