#include "display/win32/ViewWindow.h"

#include <windows.h>

#include "display/TextFormat.h"
#include "display/win32/GdiCanvas.h"

namespace {

HWND Hwnd(TWindowHandle window) {
    return static_cast<HWND>(window);
}

} // namespace

TWindowData* ViewWindowData(TWindowHandle window) {
    if (window == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TWindowData*>(GetWindowLongPtrW(Hwnd(window), GWLP_USERDATA));
}

void ViewAttachWindowData(TWindowHandle window, TWindowData* data) {
    SetWindowLongPtrW(Hwnd(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
}

TRect ViewClientRect(TWindowHandle window) {
    RECT rect = {};
    if (!GetClientRect(Hwnd(window), &rect)) {
        return {};
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void ViewInvalidate(TWindowHandle window, const TRect& rect, bool erase) {
    const RECT area = {rect.Left, rect.Top, rect.Right, rect.Bottom};
    InvalidateRect(Hwnd(window), &area, erase);
    UpdateWindow(Hwnd(window));
}

void ViewSetScrollPos(TWindowHandle window, int32_t position) {
    SetScrollPos(Hwnd(window), SB_VERT, position, TRUE);
}

void ViewSetScrollRange(TWindowHandle window, int32_t minimum, int32_t maximum) {
    SetScrollRange(Hwnd(window), SB_VERT, minimum, maximum, TRUE);
}

void ViewShowScrollBar(TWindowHandle window, bool show) {
    ShowScrollBar(Hwnd(window), SB_VERT, show);
}

void ViewSendScroll(TWindowHandle window, int32_t code, int32_t position) {
    SendMessageW(Hwnd(window), WM_VSCROLL, MAKEWPARAM(code, position), 0);
}

bool ViewControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

void ViewPlaceCaret(TWindowHandle window, int32_t x, int32_t y) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndCaret == Hwnd(window)) {
        SetCaretPos(x, y);
    }
}

std::unique_ptr<ITextPainter> ViewOpenCanvas(TWindowHandle window) {
    return std::make_unique<TWindowCanvas>(Hwnd(window));
}

TTextExtent MeasureLines(TWindowData& window, int32_t left, int32_t top) {
    TWindowCanvas canvas(Hwnd(window.Window));
    return MeasureLines(window, canvas, left, top);
}
