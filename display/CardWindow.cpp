// Cards as windows: the class, the chain of cards and the last card, opening, filling, sizing
// and placing a card, and expanding analysis rows.

#include "display/CardWindow.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/GlobalCustoms.h"
#include "core/Translator.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/ViewMouse.h"
#include "display/win32/Dpi.h"
#include "display/win32/ViewWindow.h"
#include "display/win32/WindowKit.h"

const wchar_t* const CardWindowClass = L"CardWindow_Jyx";

namespace {

constexpr int32_t kCardWrapWidth = 63;
constexpr int32_t kCardLeft = 10;
constexpr int32_t kPreviousCardOffset = 10;
constexpr int32_t kCursorOffset = 5;
constexpr int32_t kBottomMargin = 5;
constexpr DWORD kCardStyle = WS_OVERLAPPEDWINDOW | WS_VSCROLL;
constexpr DWORD kCardExStyle = WS_EX_TOOLWINDOW;

HWND lastCard = nullptr;
// Cards not yet destroyed, oldest first: a handle remembered in PrevWindow or as the last card
// may name a card closed since, and must not be destroyed or measured then.
std::vector<HWND> liveCards;

const TGlobalCustoms& Settings() {
    return SharedCustomsOrDefaults();
}

// The card opened most recently that still lives, other than the one asking; else the desktop
// window.
HWND NewestCard(HWND asking = nullptr) {
    for (auto it = liveCards.rbegin(); it != liveCards.rend(); ++it) {
        if (*it != asking && IsWindow(*it)) {
            return *it;
        }
    }
    return GetDesktopWindow();
}

// A remembered card if it still lives; else the newest card other than the one asking.
HWND LiveOrNewest(HWND candidate, HWND asking) {
    if (candidate == GetDesktopWindow() || (candidate != asking && CardWindow_IsCard(candidate))) {
        return candidate;
    }
    return NewestCard(asking);
}

// How much taller a card is than its client area.
int32_t CardFrameHeight() {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kCardStyle, FALSE, kCardExStyle);
    return frame.bottom - frame.top;
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

} // namespace

void CardWindowInit() {
    TKitClass windowClass;
    windowClass.Name = CardWindowClass;
    windowClass.Style = CS_HREDRAW | CS_VREDRAW;
    windowClass.Background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    KitRegister<TWindowData, CardWindow_WndProc>(windowClass);
    lastCard = GetDesktopWindow();
}

void CardWindowDone() {
    ViewStopDragTimer();
    KitUnregisterClass(CardWindowClass);
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
    TWindowData* w = KitObject<TWindowData>(card);
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
    auto data = std::make_unique<TWindowData>();
    data->PrevWindow = CardWindow_LastCard();
    data->HotLine = -1;
    data->PageLines = Settings().CardMaxLines;
    liveCards.reserve(liveCards.size() + 1); // so that a card once created always joins the chain
    TKitWindowParams params;
    params.ClassName = CardWindowClass;
    params.Style = kCardStyle;
    params.ExStyle = kCardExStyle;
    params.X = rect.Left;
    params.Y = rect.Top;
    params.Width = rect.Right - rect.Left;
    params.Height = rect.Bottom - rect.Top;
    const HWND window = KitCreateWindow(params, std::move(data));
    if (window == nullptr) {
        return nullptr;
    }
    liveCards.push_back(window);
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
        w.FrameHeight = CardFrameHeight();
        const int32_t entryLine = CardWindow_FindEntryLine(w, Settings().CurDict, Settings().CurEntry);
        CardWindow_FitSize(w, true);
        const POINT origin = CardOrigin(w, placeAtPrevious);
        w.WindowRect = NewRectLTWH(origin.x, origin.y, w.Width, w.Height);
        w.Background = CardBackground;
        PlaceCard(w, origin.x, origin.y);
        // Only a focused card owns the thread's caret; another keeps it meanwhile.
        const bool focused = w.Focused != 0;
        if (focused) {
            CreateCaret(window, nullptr, 0, w.Layout.TextHeight);
        }
        ShowText_SetCaret(w, 0, entryLine, true);
        if (focused) {
            ShowCaret(window);
        }
        ShowText_Invalidate(w, true);
    } catch (...) {
        // A card that could not be finished stays as far as it got; the caller decides by the layout.
    }
    return laidOut;
}

void CardWindow_FitSize(TWindowData& w, bool setHeight) {
    // Margins are given for 96 DPI and grow with the text.
    const int dpi = WindowDpi(static_cast<HWND>(w.Window));
    const TTextExtent content = MeasureLines(w, ScaleToDpi(kCardLeft, dpi), 0);
    w.ScrollMin = 0;
    w.Width = GetSystemMetrics(SM_CXVSCROLL) + content.Width + ScaleToDpi(20, dpi);
    if (setHeight) {
        // The margin below the last line only when that is the last of all: else it would show
        // the top of the next line.
        const bool allShown = w.PageLines >= w.Layout.LineCount;
        w.Height = w.FrameHeight + content.Height + (allShown ? ScaleToDpi(kBottomMargin, dpi) : 0);
    }
}

void CardWindow_DpiChanged(TWindowData& w, LPARAM suggested) {
    const HWND window = static_cast<HWND>(w.Window);
    MoveToSuggestedRect(window, suggested);
    w.WindowRect = ScreenRect(window);
    CardWindow_FitSize(w, true);
    PlaceCard(w, w.WindowRect.Left, w.WindowRect.Top);
    ShowText_Invalidate(w, true);
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

void CardWindow_Release(TWindowData& w) {
    const HWND window = static_cast<HWND>(w.Window);
    if (ViewDragTimerOwner() == window) {
        ViewStopDragTimer();
    }
    liveCards.erase(std::remove(liveCards.begin(), liveCards.end(), window), liveCards.end());
    // Closing an older card leaves the last card as it is.
    if (lastCard == window) {
        lastCard = NewestCard();
    }
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
