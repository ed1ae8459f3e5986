// Cards' messages: the window procedure with one handler per message, clicks on links and rows
// (the mouse itself through ViewMouse), keys, copying and the context menu.

#include <algorithm>
#include <string>

#include "core/GlobalCustoms.h"
#include "core/UILanguage.h"
#include "display/CardWindow.h"
#include "display/PlovaClipbrd.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/ViewMouse.h"
#include "display/win32/ViewWindow.h"
#include "display/win32/WindowKit.h"

namespace {

constexpr UINT_PTR kCommandCopy = 0;
constexpr UINT_PTR kCommandSelectAll = 1;
constexpr int32_t kMenuSlots = 19;

const wchar_t MenuCaptions[2][2][kMenuSlots] = {
    {L"Күчермә ясау", L"Бөтенесен билгеләү"},
    {L"Копировать", L"Выделить всё"},
};

// The link found by the last mouse move over a card.
TViewLink cardLink;

HWND Hwnd(const TWindowData& w) {
    return static_cast<HWND>(w.Window);
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
    const POINT point = ViewCursorInClient(Hwnd(w));
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
    const POINT point = ViewCursorInClient(Hwnd(w));
    w.MouseLine = ShowText_LineAtPoint(w, {point.x, point.y});
    if (ViewFindLink(w, w.MouseLine, point.x, cardLink)) {
        ViewSetClassCursor(Hwnd(w), ViewHandCursor());
    } else {
        CardWindow_SetRowCursor(w, w.MouseLine);
    }
    ShowText_SetHotLine(w, w.MouseLine, w.CaretLine);
    ViewDragSelection(w, keys, point);
}

void OnLButtonUp(TWindowData& w) {
    if (cardLink.Found) {
        const std::wstring linkWord = StripAmpersands(cardLink.Text);
        CardWindow_Show(linkWord.c_str(), false, true);
    }
    ViewStopDragTimer();
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
    case WM_DPICHANGED:
        CardWindow_DpiChanged(w, lParam);
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
        if (wParam == VK_ESCAPE) {
            // Closed once this message is done with the card's data.
            PostMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
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
        ViewStartSelection(w);
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

void CardWindow_SetRowCursor(TWindowData& w, int32_t line) {
    HCURSOR cursor = ViewArrowCursor();
    if (w.Layout.HasLine(line)) {
        switch (w.Layout.Line(line).Kind) {
        case lkAnalysis:
        case lkTitle:
        case lkHeadword:
            cursor = ViewHandCursor();
            break;
        default:
            cursor = ViewIBeamCursor();
            break;
        }
    }
    ViewSetClassCursor(Hwnd(w), cursor);
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
