// Cards' messages: the window procedure with one handler per message, the mouse with links,
// rows and the drag selection with its auto-scroll timer, keys, copying and the context menu.

#include <algorithm>
#include <string>

#include "core/GlobalCustoms.h"
#include "core/UILanguage.h"
#include "display/CardWindow.h"
#include "display/PlovaClipbrd.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"
#include "display/win32/WindowKit.h"

namespace {

constexpr UINT kDragInterval = 50; // ms
constexpr UINT_PTR kDragTimerId = 0;
constexpr UINT_PTR kCommandCopy = 0;
constexpr UINT_PTR kCommandSelectAll = 1;
constexpr int32_t kMenuSlots = 19;

const wchar_t MenuCaptions[2][2][kMenuSlots] = {
    {L"Күчермә ясау", L"Бөтенесен билгеләү"},
    {L"Копировать", L"Выделить всё"},
};

// SetTimer answers 1 for id 0 whatever the id, so the timer is killed by its owner and id.
HWND dragTimerOwner = nullptr;

// The link found by the last mouse move. Its text is copied, because the card it was found in
// may be gone by the time of the click.
bool linkFound = false;
std::wstring linkText;

HWND Hwnd(const TWindowData& w) {
    return static_cast<HWND>(w.Window);
}

POINT CursorInClient(HWND window) {
    POINT point = {};
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    return point;
}

HCURSOR SystemCursor(void* loaded, const wchar_t* id) {
    return static_cast<HCURSOR>(loaded != nullptr ? loaded : LoadCursorW(nullptr, id));
}

void SetCardCursor(const TWindowData& w, HCURSOR cursor) {
    SetClassLongPtrW(Hwnd(w), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

// The physical button, which is found up also when it was released over another window.
bool LeftButtonDown() {
    return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

bool CaretLineVisible(const TWindowData& w) {
    if (!w.Layout.HasLine(w.CaretLine)) {
        return true;
    }
    const TRect& r = w.Layout.Line(w.CaretLine).Rect;
    const int32_t shift = -w.Layout.FirstPixel;
    return ShowText_PointInRect(w.ClientRect, {r.Left, r.Top}, shift) &&
           ShowText_PointInRect(w.ClientRect, {r.Right, r.Bottom}, shift);
}

void CaretToPoint(TWindowData& w, POINT point) {
    w.CaretX = point.x;
    const int32_t line = ShowText_NearestLine(w.Layout, {point.x, point.y});
    ShowText_SetCaret(w, ShowText_CharAtX(w, line), line, true);
}

void ExtendToPoint(TWindowData& w, POINT point) {
    CaretToPoint(w, point);
    ShowText_ExtendSelection(w, {w.CaretChar, w.CaretLine});
    ShowText_Invalidate(w, false);
}

void StartDragTimer(HWND window) {
    if (SetTimer(window, kDragTimerId, kDragInterval, KitTimer<CardWindow_DragTick>) != 0) {
        dragTimerOwner = window;
    }
}

// The main program shows that dictionary and entry, or starts.
void OpenInMainProgram(int32_t dict, int32_t entry) {
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->CurEntry = entry;
        block->CurDict = dict;
        RunMainProgram(*block);
    }
}

void ActOnLine(TWindowData& w, int32_t index) {
    const TDisplayLine& line = w.Layout.Line(index);
    switch (line.Kind) {
    case lkAnalysis:
        if (line.Expanded != 0) {
            CardWindow_CollapseRow(w, index);
        } else {
            CardWindow_ExpandRow(w, index);
        }
        break;
    case lkTitle:
        OpenInMainProgram(line.Dict, 0);
        break;
    case lkHeadword:
        OpenInMainProgram(line.Dict, line.Entry);
        break;
    default:
        break;
    }
}

LRESULT OnNcHitTest(LRESULT answer) {
    // Only the top and bottom edges resize: the width follows the lines.
    switch (answer) {
    case HTLEFT:
    case HTRIGHT:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return HTNOWHERE;
    default:
        return answer;
    }
}

void OnSetFocus(TWindowData& w) {
    w.Focused = 1;
    ShowText_Invalidate(w, false);
    CreateCaret(Hwnd(w), nullptr, 0, w.Layout.TextHeight);
    ShowText_SetCaret(w, w.CaretChar, w.CaretLine, true);
    ShowCaret(Hwnd(w));
}

void OnKillFocus(TWindowData& w) {
    DestroyCaret();
    w.Focused = 0;
}

// The caret is drawn inverted: painting over it while it shows would leave it turned around.
class THiddenCaret {
public:
    explicit THiddenCaret(HWND window) : window_(window), hidden_(HideCaret(window) != FALSE) {}
    ~THiddenCaret() {
        if (hidden_) {
            ShowCaret(window_);
        }
    }
    THiddenCaret(const THiddenCaret&) = delete;
    THiddenCaret& operator=(const THiddenCaret&) = delete;

private:
    HWND window_;
    bool hidden_;
};

void OnPaint(TWindowData& w) {
    const THiddenCaret caret(Hwnd(w));
    w.Painting = 1;
    try {
        ShowText_Paint(w, bmOpaque);
    } catch (...) {
        w.Painting = 0;
        throw;
    }
    w.Painting = 0;
}

void SelectAllAndRepaint(TWindowData& w) {
    CardWindow_SelectAll(w);
    ShowText_Invalidate(w, true);
}

LRESULT OnKeyDown(TWindowData& w, WPARAM key, LRESULT answer) {
    ShowText_KeyDown(w, static_cast<uint32_t>(key));
    const POINT point = CursorInClient(Hwnd(w));
    w.MouseLine = ShowText_LineAtPoint(w, {point.x, point.y});
    ShowText_SetHotLine(w, w.MouseLine, w.CaretLine);
    switch (key) {
    case VK_UP:
        return ShowText_Scroll(w.Window, scLineUp) ? 1 : 0;
    case VK_DOWN:
        return ShowText_Scroll(w.Window, scLineDown) ? 1 : 0;
    case 'C':
        if (ViewControlDown()) {
            CardWindow_Copy(w);
        }
        break;
    case 'M':
        if (ViewControlDown()) {
            SelectAllAndRepaint(w);
        }
        break;
    default:
        break;
    }
    return answer;
}

void OnCommand(TWindowData& w, WPARAM wParam, LPARAM lParam) {
    // Menu items only: no control, no notification.
    if (lParam != 0 || HIWORD(wParam) != 0) {
        return;
    }
    if (LOWORD(wParam) == kCommandCopy) {
        CardWindow_Copy(w);
    } else if (LOWORD(wParam) == kCommandSelectAll) {
        SelectAllAndRepaint(w);
    }
}

// The position comes from the cursor, never from lParam: the timer's moves carry none.
void OnMouseMove(TWindowData& w, WPARAM keys) {
    const POINT point = CursorInClient(Hwnd(w));
    w.MouseLine = ShowText_LineAtPoint(w, {point.x, point.y});
    wchar_t marker = 0;
    int32_t length = 0;
    const wchar_t* text = nullptr;
    if (HitTestLink(w, w.MouseLine, point.x, marker, length, text)) {
        SetCardCursor(w, SystemCursor(HandCursor, IDC_HAND));
        linkFound = true;
        linkText.assign(text, static_cast<size_t>(length));
    } else {
        CardWindow_SetRowCursor(w, w.MouseLine);
        linkFound = false;
    }
    ShowText_SetHotLine(w, w.MouseLine, w.CaretLine);
    CardWindow_DragSelection(w, keys, point);
}

void OnLButtonDown(TWindowData& w) {
    CaretToPoint(w, CursorInClient(Hwnd(w)));
    ShowText_StartSelection(w, {w.CaretChar, w.CaretLine});
    if (w.SelVisible != 0) {
        ShowText_Invalidate(w, true);
        w.SelVisible = 0;
    }
}

void OnLButtonUp(TWindowData& w) {
    if (linkFound) {
        const std::wstring linkWord = StripAmpersands(linkText);
        CardWindow_Show(linkWord.c_str(), false, true);
    }
    CardWindow_StopDragTimer();
    if (w.HotLine >= 0 && w.HotLine == w.MouseLine && w.Layout.HasLine(w.HotLine)) {
        ActOnLine(w, w.HotLine);
    }
}

} // namespace

LRESULT CardWindow_WndProc(TWindowData& w, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = DefWindowProcW(window, message, wParam, lParam);
    // Read after the default processing, which may have closed the card (WM_CLOSE).
    if (KitObject<TWindowData>(window) != &w) {
        return answer;
    }
    switch (message) {
    case WM_NCCREATE:
        w.Window = window;
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(answer);
    case WM_DESTROY:
        CardWindow_Release(w);
        break;
    case WM_SIZE:
        CardWindow_UpdateGeometry(w);
        break;
    case WM_SETFOCUS:
        OnSetFocus(w);
        break;
    case WM_KILLFOCUS:
        OnKillFocus(w);
        break;
    case WM_PAINT:
        OnPaint(w);
        break;
    case WM_CONTEXTMENU:
        CardWindow_ContextMenu(w);
        break;
    case WM_KEYDOWN:
        return OnKeyDown(w, wParam, answer);
    case WM_COMMAND:
        OnCommand(w, wParam, lParam);
        break;
    case WM_VSCROLL:
        return ShowText_Scroll(w.Window, static_cast<uint32_t>(wParam)) ? 1 : 0;
    case WM_MOUSEMOVE:
        OnMouseMove(w, wParam);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(w);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(w);
        break;
    case WM_CARD_SCROLL_TO_ENTRY:
        ShowText_ScrollToEntry(w);
        break;
    case WM_CARD_SCROLL_TO_TAG:
        ShowText_ScrollToTag(w, static_cast<int32_t>(wParam));
        break;
    default:
        break;
    }
    return answer;
}

void CardWindow_DragSelection(TWindowData& w, WPARAM keys, POINT point) {
    const HWND window = Hwnd(w);
    if (keys == MK_LBUTTON) {
        ExtendToPoint(w, point);
        if (dragTimerOwner == nullptr) {
            StartDragTimer(window);
        }
        if (CaretLineVisible(w)) {
            return;
        }
        ExtendToPoint(w, point);
        const TRect& caretRect = w.Layout.Line(w.CaretLine).Rect;
        if (caretRect.Bottom - w.Layout.FirstPixel > w.ClientRect.Bottom) {
            SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
        } else if (caretRect.Top - w.Layout.FirstPixel <= w.ClientRect.Top) {
            SendMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
        }
        if (w.ScrollPos != 0 && w.ScrollPos != w.ScrollMax) {
            return; // more to scroll: the timer goes on
        }
        CardWindow_StopDragTimer();
    } else if (dragTimerOwner != nullptr) {
        // The last step of a drag, unless the button is already up: then the selection stays.
        if (LeftButtonDown() && !CaretLineVisible(w)) {
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
        }
        CardWindow_StopDragTimer();
    }
}

void CardWindow_DragTick(HWND window, UINT_PTR) {
    if (!LeftButtonDown()) {
        CardWindow_StopDragTimer(); // released outside the card, where its release went unseen
        return;
    }
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
}

HWND CardWindow_DragTimerOwner() {
    return dragTimerOwner;
}

void CardWindow_StopDragTimer() {
    if (dragTimerOwner != nullptr) {
        KillTimer(dragTimerOwner, kDragTimerId);
        dragTimerOwner = nullptr;
    }
}

void CardWindow_SetRowCursor(TWindowData& w, int32_t line) {
    HCURSOR cursor = SystemCursor(ArrowCursor, IDC_ARROW);
    if (w.Layout.HasLine(line)) {
        switch (w.Layout.Line(line).Kind) {
        case lkAnalysis:
        case lkTitle:
        case lkHeadword:
            cursor = SystemCursor(HandCursor, IDC_HAND);
            break;
        default:
            cursor = SystemCursor(IBeamCursor, IDC_IBEAM);
            break;
        }
    }
    SetCardCursor(w, cursor);
}

void CardWindow_SelectAll(TWindowData& w) {
    TLineLayout& layout = w.Layout;
    if (layout.LineCount <= 0) {
        return;
    }
    const int32_t last = layout.LineCount - 1;
    layout.SelAnchor = {0, 0};
    layout.SelEnd = {std::clamp(layout.Line(last).Length, 0, kMaxLineLength), last};
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        TDisplayLine& line = layout.Line(i);
        line.SelStart = 0;
        line.SelCount = std::clamp(line.Length, 0, kMaxLineLength);
        line.SelX = line.CharX[0];
    }
    w.SelVisible = 1;
}

void CardWindow_Copy(TWindowData& w) {
    const TLineLayout& layout = w.Layout;
    if (layout.LineCount <= 0) {
        return;
    }
    // The selection is read from each line's SelStart and SelCount: rows expanded or collapsed
    // since may have moved the line records.
    const int32_t last = layout.LineCount - 1;
    const int32_t from = std::clamp(std::min(layout.SelAnchor.Line, layout.SelEnd.Line), 0, last);
    const int32_t to = std::clamp(std::max(layout.SelAnchor.Line, layout.SelEnd.Line), 0, last);
    std::wstring text;
    for (int32_t i = from; i <= to; ++i) {
        const TDisplayLine& line = layout.Line(i);
        const int32_t length = std::clamp(line.Length, 0, kMaxLineLength);
        const int32_t start = std::clamp(line.SelStart, 0, length);
        const int32_t count = std::clamp(line.SelCount, 0, length - start);
        text.append(line.Text + start, static_cast<size_t>(count));
        text += L"\r\n";
    }
    Clipboard().SetWideText(StripMarkers(text));
}

TOwnedMenu CardWindow_CreateMenu() {
    const TLanguage language = CurrentUILanguage();
    TOwnedMenu menu(CreatePopupMenu());
    if (menu) {
        AppendMenuW(menu.Get(), MF_STRING, kCommandCopy, MenuCaptions[language][0]);
        AppendMenuW(menu.Get(), MF_STRING, kCommandSelectAll, MenuCaptions[language][1]);
    }
    return menu;
}

void CardWindow_ContextMenu(TWindowData& w) {
    const HWND window = Hwnd(w);
    TOwnedMenu menu = CardWindow_CreateMenu();
    if (!menu) {
        return;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    w.PopupMenu = menu.Get();
    // The chosen item comes back as WM_COMMAND.
    TrackPopupMenu(menu.Get(), TPM_LEFTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    // The menu's own message loop may have seen the card closed.
    if (KitObject<TWindowData>(window) == &w) {
        w.PopupMenu = nullptr;
    }
}
