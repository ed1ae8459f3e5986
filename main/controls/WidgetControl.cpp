#include "main/controls/WidgetControl.h"

#include <commctrl.h>

namespace {

// One reflecting subclass per parent window, whatever number of our controls it holds.
constexpr UINT_PTR ReflectorId = 0x5146;

int NextControlId = 0x4000;

struct TRecreationFlag {
    bool& Flag;
    explicit TRecreationFlag(bool& flag) : Flag(flag) { Flag = true; }
    ~TRecreationFlag() { Flag = false; }
};

} // namespace

const wchar_t* const TWidgetControl::ControlProperty = L"QelWidgetControl";
thread_local TWidgetControl* TWidgetControl::Creating = nullptr;

TWidgetControl::TWidgetControl(HWND parent)
    : parent_(parent), id_(NextControlId++), font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
      color_(GetSysColor(COLOR_WINDOW)) {}

TWidgetControl::~TWidgetControl() {
    DestroyHandle();
}

// ---- creation ------------------------------------------------------------------------------

void TWidgetControl::CreateHandle(const RECT* bounds) {
    SetWindowSubclass(parent_, ReflectProc, ReflectorId, 0);
    const TCreateParams params = CreateParams();
    DWORD style = WS_CHILD | params.Style;
    if (visible_) {
        style |= WS_VISIBLE;
    }
    if (!enabled_) {
        style |= WS_DISABLED;
    }
    if (tabStop_) {
        style |= WS_TABSTOP;
    }
    int x = 0, y = 0, width = params.Width, height = params.Height;
    if (bounds != nullptr) {
        x = bounds->left;
        y = bounds->top;
        width = bounds->right - bounds->left;
        height = bounds->bottom - bounds->top;
    }
    TWidgetControl* const outer = Creating;
    Creating = this;
    HWND window =
        CreateWindowExW(params.ExStyle, params.ClassName, L"", style, x, y, width, height, parent_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), nullptr);
    Creating = outer;
    if (window == nullptr) {
        throw EOSError(GetLastError(), L"Cannot create a control of the class " + std::wstring(params.ClassName));
    }
    handle_ = window;
    Subclass(window, wpMain);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    HookEvents();
    InitWidget();
}

void TWidgetControl::Subclass(HWND window, TWidgetPart part) {
    if (window != nullptr && SetWindowSubclass(window, SubclassProc, part, reinterpret_cast<DWORD_PTR>(this))) {
        SetPropW(window, ControlProperty, this);
        subclassed_.emplace_back(window, part);
    }
}

void TWidgetControl::Detach(HWND window) {
    for (auto it = subclassed_.begin(); it != subclassed_.end();) {
        if (it->first == window) {
            RemoveWindowSubclass(it->first, SubclassProc, it->second);
            RemovePropW(it->first, ControlProperty);
            it = subclassed_.erase(it);
        } else {
            ++it;
        }
    }
    if (window == handle_) {
        handle_ = nullptr;
    }
}

void TWidgetControl::DestroyHandle() {
    for (const auto& [window, part] : subclassed_) {
        RemoveWindowSubclass(window, SubclassProc, part);
        RemovePropW(window, ControlProperty);
    }
    subclassed_.clear();
    if (handle_ != nullptr) {
        DestroyWindow(std::exchange(handle_, nullptr));
    }
}

void TWidgetControl::RecreateWidget() {
    if (handle_ == nullptr || recreating_) {
        return;
    }
    TRecreationFlag flag(recreating_);
    RECT bounds;
    GetWindowRect(handle_, &bounds);
    MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&bounds), 2);
    const bool focused = Focused();
    HWND previous = GetWindow(handle_, GW_HWNDPREV);
    SaveWidgetState();
    DestroyHandle();
    CreateHandle(&bounds);
    // Back to its place among its siblings, which is its place in the tab order.
    SetWindowPos(handle_, previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RestoreWidgetState();
    if (focused) {
        ::SetFocus(handle_);
    }
}

// ---- properties ----------------------------------------------------------------------------

namespace {

RECT BoundsInParent(HWND window, HWND parent) {
    RECT bounds{};
    if (window != nullptr) {
        GetWindowRect(window, &bounds);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
    }
    return bounds;
}

} // namespace

int TWidgetControl::Left() const {
    return BoundsInParent(handle_, parent_).left;
}

int TWidgetControl::Top() const {
    return BoundsInParent(handle_, parent_).top;
}

int TWidgetControl::Width() const {
    const RECT bounds = BoundsInParent(handle_, parent_);
    return bounds.right - bounds.left;
}

int TWidgetControl::Height() const {
    const RECT bounds = BoundsInParent(handle_, parent_);
    return bounds.bottom - bounds.top;
}

void TWidgetControl::SetBounds(int left, int top, int width, int height) {
    MoveWindow(handle_, left, top, width, height, TRUE);
}

void TWidgetControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    EnableWindow(handle_, enabled);
}

void TWidgetControl::SetVisible(bool visible) {
    visible_ = visible;
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWidgetControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    if (handle_ == nullptr) {
        return;
    }
    const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TWidgetControl::SetFont(HFONT font) {
    font_ = font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    FontChanged();
}

void TWidgetControl::SetColor(COLORREF color) {
    color_ = color;
    brush_.Reset();
    InvalidateRect(handle_, nullptr, TRUE);
}

void TWidgetControl::SetCursor(HCURSOR cursor) {
    cursor_ = cursor;
}

bool TWidgetControl::Focused() const {
    HWND focus = GetFocus();
    return handle_ != nullptr && focus != nullptr && (focus == handle_ || IsChild(handle_, focus));
}

void TWidgetControl::SetFocus() {
    ::SetFocus(handle_);
}

// ---- events --------------------------------------------------------------------------------

void TWidgetControl::KeyDown(TKeyCode& key, TShiftState shift) {
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
    }
}

void TWidgetControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) {
        OnKeyPress(this, key);
    }
}

void TWidgetControl::KeyUp(TKeyCode& key, TShiftState shift) {
    if (OnKeyUp) {
        OnKeyUp(this, key, shift);
    }
}

void TWidgetControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

bool TWidgetControl::WantKey(TKeyCode) const {
    return false;
}

LRESULT TWidgetControl::DialogCode(const MSG& message, LRESULT code) const {
    if ((message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.wParam == VK_TAB) {
        if (WantKey(GetKeyState(VK_SHIFT) < 0 ? keyBacktab : keyTab)) {
            code |= DLGC_WANTTAB | DLGC_WANTMESSAGE;
        } else {
            code &= ~(DLGC_WANTTAB | DLGC_WANTMESSAGE);
        }
    }
    return code;
}

bool TWidgetControl::BaseFilter(TWidgetEvent& event) {
    const int x = event.Position.x;
    const int y = event.Position.y;
    switch (event.Kind) {
    case weKeyPress:
    case weKeyRelease: {
        // A key without a code of ours is never taken for one a handler set to 0.
        const bool coded = event.Key != 0;
        if (event.Kind == weKeyPress) {
            KeyDown(event.Key, event.Shift);
        } else {
            KeyUp(event.Key, event.Shift);
        }
        return coded && event.Key == 0;
    }
    case weChar:
        KeyPress(event.Char);
        return event.Char == 0;
    case weMousePress:
        if (event.Button == mbLeft) {
            pressed_ = true;
        }
        if (OnMouseDown) {
            OnMouseDown(this, event.Button, event.Shift, x, y);
        }
        return false;
    case weDoubleClick:
        if (OnDblClick) {
            OnDblClick(this);
        }
        if (OnMouseDown) {
            OnMouseDown(this, mbLeft, event.Shift | ssDouble, x, y);
        }
        return false;
    case weMouseRelease: {
        const bool clicked = event.Button == mbLeft && pressed_;
        if (event.Button == mbLeft) {
            pressed_ = false;
        }
        if (OnMouseUp) {
            OnMouseUp(this, event.Button, event.Shift, x, y);
        }
        RECT client;
        GetClientRect(handle_, &client);
        if (clicked && ClickEvents && PtInRect(&client, event.Position)) {
            Click();
        }
        return false;
    }
    case weMouseMove:
        if (OnMouseMove) {
            OnMouseMove(this, event.Shift, x, y);
        }
        return false;
    case weOther:
        return false;
    }
    return false;
}
