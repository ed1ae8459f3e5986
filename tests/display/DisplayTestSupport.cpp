#include "tests/display/DisplayTestSupport.h"

#include <cwchar>
#include <exception>

#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"DisplayTestView_Jyx";
int paintMessages = 0;

LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL:
        return ShowText_Scroll(window, static_cast<uint32_t>(wParam)) ? 1 : 0;
    case WM_PAINT: {
        ++paintMessages;
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK TestViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return OnMessage(window, message, wParam, lParam);
    } catch (const std::exception&) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterOnce() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TestViewProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    registered = true;
}

} // namespace

TTestView::TTestView(int clientWidth, int clientHeight, bool visible) {
    RegisterOnce();
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_VSCROLL, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 20, 20, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (visible) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
    data_.Window = window_;
    data_.Background = CardBackground;
    data_.HotLine = -1;
    ViewAttachWindowData(window_, &data_);
    data_.ClientRect = ViewClientRect(window_);
}

TTestView::~TTestView() {
    ViewAttachWindowData(window_, nullptr);
    DestroyWindow(window_);
}

void TTestView::SetLines(const std::vector<TTestLine>& lines, int extra) {
    TLineLayout& layout = data_.Layout;
    layout = TLineLayout();
    layout.Capacity = static_cast<int32_t>(lines.size()) + extra;
    layout.Lines = std::make_unique<TDisplayLine[]>(layout.Capacity);
    layout.LineCount = static_cast<int32_t>(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        TDisplayLine& line = layout.Lines[i];
        line.Length = static_cast<int32_t>(lines[i].Text.size());
        std::wmemcpy(line.Text, lines[i].Text.data(), lines[i].Text.size());
        line.Kind = lines[i].Kind;
        line.Colour = LineStyles[line.Kind].Colour;
        line.Style = LineStyles[line.Kind].Style;
        line.Indent = LineStyles[line.Kind].Indent;
    }
    Measure();
}

void TTestView::Measure() {
    data_.PageLines = data_.Layout.LineCount;
    MeasureLines(data_, 10, 0);
    data_.ClientRect = ViewClientRect(window_);
}

void TTestView::SetClientHeight(int height) {
    const RECT client = {0, 0, data_.ClientRect.Right - data_.ClientRect.Left, height};
    RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    data_.ClientRect = ViewClientRect(window_);
}

int TTestView::PaintMessages() const {
    return paintMessages;
}
