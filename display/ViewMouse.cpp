#include "display/ViewMouse.h"

#include "core/GlobalCustoms.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/WindowKit.h"

namespace {

constexpr UINT kDragInterval = 50; // ms
constexpr UINT_PTR kDragTimerId = 0;

// SetTimer answers 1 for id 0 whatever the id, so the timer is killed by its owner and id.
HWND dragTimerOwner = nullptr;

HWND Hwnd(const TWindowData& w) {
    return static_cast<HWND>(w.Window);
}

HCURSOR SystemCursor(void* loaded, const wchar_t* id) {
    return static_cast<HCURSOR>(loaded != nullptr ? loaded : LoadCursorW(nullptr, id));
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

void ExtendToPoint(TWindowData& w, POINT point) {
    ViewCaretToPoint(w, point);
    ShowText_ExtendSelection(w, {w.CaretChar, w.CaretLine});
    ShowText_Invalidate(w, false);
}

void StartDragTimer(HWND window) {
    if (SetTimer(window, kDragTimerId, kDragInterval, KitTimer<ViewDragTick>) != 0) {
        dragTimerOwner = window;
    }
}

} // namespace

POINT ViewCursorInClient(HWND window) {
    POINT point = {};
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    return point;
}

HCURSOR ViewArrowCursor() {
    return SystemCursor(ArrowCursor, IDC_ARROW);
}

HCURSOR ViewHandCursor() {
    return SystemCursor(HandCursor, IDC_HAND);
}

HCURSOR ViewIBeamCursor() {
    return SystemCursor(IBeamCursor, IDC_IBEAM);
}

void ViewSetClassCursor(HWND window, HCURSOR cursor) {
    SetClassLongPtrW(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

bool ViewFindLink(TWindowData& w, int32_t line, int32_t x, TViewLink& link) {
    int32_t length = 0;
    const wchar_t* text = nullptr;
    link.Found = HitTestLink(w, line, x, link.Marker, length, text);
    if (link.Found) {
        link.Text.assign(text, static_cast<size_t>(length));
    } else {
        link.Text.clear();
    }
    return link.Found;
}

void ViewCaretToPoint(TWindowData& w, POINT point) {
    w.CaretX = point.x;
    const int32_t line = ShowText_NearestLine(w.Layout, {point.x, point.y});
    ShowText_SetCaret(w, ShowText_CharAtX(w, line), line, true);
}

void ViewStartSelection(TWindowData& w) {
    ViewCaretToPoint(w, ViewCursorInClient(Hwnd(w)));
    ShowText_StartSelection(w, {w.CaretChar, w.CaretLine});
    if (w.SelVisible != 0) {
        ShowText_Invalidate(w, true);
        w.SelVisible = 0;
    }
}

void ViewDragSelection(TWindowData& w, WPARAM keys, POINT point) {
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
        ViewStopDragTimer();
    } else if (dragTimerOwner != nullptr) {
        // The last step of a drag, unless the button is already up: then the selection stays.
        if (LeftButtonDown() && !CaretLineVisible(w)) {
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
        }
        ViewStopDragTimer();
    }
}

void ViewDragTick(HWND window, UINT_PTR) {
    if (!LeftButtonDown()) {
        ViewStopDragTimer(); // released outside the window, where its release went unseen
        return;
    }
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
}

HWND ViewDragTimerOwner() {
    return dragTimerOwner;
}

void ViewStopDragTimer() {
    if (dragTimerOwner != nullptr) {
        KillTimer(dragTimerOwner, kDragTimerId);
        dragTimerOwner = nullptr;
    }
}
