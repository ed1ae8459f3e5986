// Popups' messages: the window procedure, the mouse over lines and links, and clicks that open a
// card, close it again at a second click, or open a popup for a link's word. Focus, keys, menu,
// scrolling and the button press are the card's.

#include <string>

#include "core/GlobalCustoms.h"
#include "display/CardWindow.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/ViewMouse.h"
#include "display/win32/WindowKit.h"
#include "tray/PopupWindow.h"

namespace {

// Shared by all popups: one mouse, one thread.
struct TPopupClicks {
    TViewLink Link;      // the link under the mouse
    bool OnLine = false; // a clickable line under the mouse (and no link)
    uint8_t LineKind = 0;
    bool CardToggle = false; // the next click at the same place closes the card the last one opened
    TCharPoint Remembered = {-1, -1};
};
TPopupClicks clicks;

HWND Hwnd(const TWindowData& w) {
    return static_cast<HWND>(w.Window);
}

bool IsCardMessage(UINT message) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_CONTEXTMENU:
    case WM_KEYDOWN:
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_LBUTTONDOWN:
        return true;
    default:
        return false;
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

// The caret is drawn inverted: painting over it while it shows would leave it turned around.
void OnPaint(TWindowData& w) {
    const bool hidden = HideCaret(Hwnd(w)) != FALSE;
    try {
        ShowText_Paint(w, bmOpaque);
    } catch (...) {
        if (hidden) {
            ShowCaret(Hwnd(w));
        }
        throw;
    }
    if (hidden) {
        ShowCaret(Hwnd(w));
    }
}

void OnMouseMove(TWindowData& w, WPARAM keys) {
    const POINT point = ViewCursorInClient(Hwnd(w));
    w.MouseLine = ShowText_LineAtPoint(w, {point.x, point.y});
    PopupWindow_SetRowCursor(w, w.MouseLine);
    clicks.OnLine = false;
    if (ViewFindLink(w, w.MouseLine, point.x, clicks.Link)) {
        ViewSetClassCursor(Hwnd(w), ViewHandCursor());
    } else {
        clicks.OnLine = HitTestLineKind(w, w.MouseLine, clicks.LineKind);
    }
    const TCharPoint hit = {w.LinkChar, w.LinkLine};
    if (hit != clicks.Remembered) {
        clicks.CardToggle = false;
        clicks.Remembered = hit;
    }
    ViewDragSelection(w, keys, point);
}

// The card this popup opened, brought up; a new one when there is none or it was closed since
// (by the user, or by one-window mode for another card).
HWND OpenPopupCard(TWindowData& w) {
    const HWND card = static_cast<HWND>(w.PopupCard);
    if (CardWindow_IsCard(card)) {
        BringWindowToTop(card);
        return card;
    }
    w.PopupCard = CardWindow_OpenForEntry(w.Result, SharedCustomsOrDefaults().CardMono, true);
    return static_cast<HWND>(w.PopupCard);
}

void CloseToggledCard(TWindowData& w) {
    const HWND card = static_cast<HWND>(w.PopupCard);
    if (CardWindow_IsCard(card)) {
        DestroyWindow(card);
    }
    w.PopupCard = nullptr;
    clicks.CardToggle = false;
    w.LinkChar = -1;
    w.LinkLine = -1;
}

void OpenCardAt(TWindowData& w, UINT message, WPARAM wParam) {
    if (const HWND card = OpenPopupCard(w)) {
        SendMessageW(card, message, wParam, 0);
    }
}

// The line's hit becomes the current entry, shown in the card.
void OpenCardAtEntry(TWindowData& w, int32_t line) {
    if (!w.Layout.HasLine(line)) {
        return;
    }
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->CurEntry = w.Layout.Line(line).Entry;
        block->CurDict = w.Layout.Line(line).Dict;
    }
    OpenCardAt(w, WM_CARD_SCROLL_TO_ENTRY, 0);
}

void ClickLink(TWindowData& w) {
    if (clicks.Link.Marker == mkLinkOn) {
        const std::wstring word = StripAmpersands(clicks.Link.Text);
        PopupWindow_ShowOver(word.c_str());
    } else if (clicks.Link.Marker == mkUnderlineOn) {
        OpenCardAtEntry(w, w.MouseLine);
    }
}

void ClickLine(TWindowData& w) {
    switch (clicks.LineKind) {
    case lkWord:
    case lkAnalysis:
        if (w.Layout.HasLine(w.MouseLine)) {
            OpenCardAt(w, WM_CARD_SCROLL_TO_TAG, static_cast<WPARAM>(w.Layout.Line(w.MouseLine).Tag));
        }
        break;
    case lkHeadword:
        OpenCardAtEntry(w, w.MouseLine);
        break;
    default:
        break;
    }
}

void OnLButtonUp(TWindowData& w) {
    if (clicks.Link.Found || clicks.OnLine) {
        if (clicks.CardToggle) {
            CloseToggledCard(w);
        } else {
            if (clicks.Link.Found) {
                ClickLink(w);
            } else {
                ClickLine(w);
            }
            clicks.CardToggle = true;
        }
    }
    if (ViewDragTimerOwner() == Hwnd(w)) {
        ViewStopDragTimer();
    }
}

void OnTimer(TWindowData& w, WPARAM id) {
    if (id == kPopupLeaveTimer) {
        PopupWindow_LeaveCheck(w);
    }
}

} // namespace

LRESULT PopupWindow_WndProc(TWindowData& w, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCardMessage(message)) {
        return CardWindow_WndProc(w, window, message, wParam, lParam);
    }
    const LRESULT answer = DefWindowProcW(window, message, wParam, lParam);
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
        PopupWindow_Release(w);
        break;
    case WM_SIZE:
        CardWindow_UpdateGeometry(w);
        break;
    case WM_DPICHANGED:
        PopupWindow_DpiChanged(w, lParam);
        break;
    case WM_PAINT:
        OnPaint(w);
        break;
    case WM_TIMER:
        OnTimer(w, wParam);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(w, wParam);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(w);
        break;
    default:
        break;
    }
    return answer;
}

void PopupWindow_SetRowCursor(TWindowData& w, int32_t line) {
    if (!w.Layout.HasLine(line)) {
        ViewSetClassCursor(Hwnd(w), ViewArrowCursor());
        return;
    }
    switch (w.Layout.Line(line).Kind) {
    case lkWord:
    case lkAnalysis:
    case lkTitle:
    case lkHeadword:
        ViewSetClassCursor(Hwnd(w), ViewHandCursor());
        break;
    case lkArticle:
    case lkGrammarNote:
        ViewSetClassCursor(Hwnd(w), ViewIBeamCursor());
        break;
    default:
        break;
    }
}

bool HitTestLineKind(TWindowData& w, int32_t line, uint8_t& kind) {
    w.LinkChar = -1;
    w.LinkLine = -1;
    if (!w.Layout.HasLine(line)) {
        return false;
    }
    kind = w.Layout.Line(line).Kind;
    if (kind >= lkArticle) {
        return false;
    }
    w.LinkLine = line;
    w.LinkChar = 0;
    return true;
}

void PopupWindow_ArmClicks() {
    clicks.CardToggle = false;
    clicks.Remembered = {-1, -1};
}
