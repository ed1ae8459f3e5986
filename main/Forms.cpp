#include "main/Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "core/Exceptions.h"
#include "display/win32/Dpi.h"
#include "display/win32/OwnedHandle.h"
#include "display/win32/WindowKit.h"

const wchar_t* const TForm::ClassName = L"QvMainForm";

namespace {

// The kit owns a pointer to the form; the form itself belongs to the program.
struct TFormRef {
    TForm* Form;
};

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode is to nearest, ties to even
}

} // namespace

LRESULT FormHandler(TForm& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        form.window_ = window;
    }
    if (message == WM_NCDESTROY) {
        form.window_ = nullptr;
    }
    return form.OnMessage(message, wParam, lParam);
}

namespace {

LRESULT RefHandler(TFormRef& ref, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ref.Form == nullptr) {
        return KitDefault(window, message, wParam, lParam);
    }
    return FormHandler(*ref.Form, window, message, wParam, lParam);
}

} // namespace

POINT CentredOnDesktop(int width, int height) {
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const double w = desktop.right - desktop.left;
    const double h = desktop.bottom - desktop.top;
    return {RoundHalfEven((w - width) / 2), RoundHalfEven((h - height) / 2 - h / 20)};
}

void FormsInit() {
    TKitClass windowClass;
    windowClass.Name = TForm::ClassName;
    windowClass.Background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.Icon = LoadIconW(GetModuleHandleW(nullptr), L"BOOKSS");
    KitRegister<TFormRef, RefHandler>(windowClass);
}

void FormsDone() {
    KitUnregisterClass(TForm::ClassName);
}

void ShowContextMenu(const TMenuList& menu, HWND owner, HWND control, LPARAM lParam) {
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) {
        at = {0, 0};
        ClientToScreen(control, &at);
    }
    menu.PopupAtCursor(owner, at);
}

HFONT FormFont(int dpi) {
    // One font per scale for the whole run: controls keep them selected.
    static std::map<int, TOwnedFont> fonts;
    auto found = fonts.find(dpi);
    if (found == fonts.end()) {
        const LOGFONTW description = MessageFontForDpi(dpi);
        found = fonts.emplace(dpi, TOwnedFont(CreateFontIndirectW(&description))).first;
    }
    return found->second ? found->second.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT FormFont() {
    return FormFont(SystemDpi());
}

TForm::TForm(const TFormParams& params) : maximized_(params.Maximized) {
    designClient_ = {params.ClientWidth, params.ClientHeight};
    RECT frame = {0, 0, params.ClientWidth, params.ClientHeight};
    AdjustWindowRectEx(&frame, params.Style, params.Menu != nullptr, params.ExStyle);
    TKitWindowParams p;
    p.ClassName = ClassName;
    p.Title = params.Caption;
    p.Style = params.Style;
    p.ExStyle = params.ExStyle;
    p.Width = frame.right - frame.left;
    p.Height = frame.bottom - frame.top;
    const POINT origin = CentredOnDesktop(p.Width, p.Height);
    p.X = origin.x;
    p.Y = origin.y;
    p.Menu = params.Menu;
    if (KitCreateWindow(p, std::make_unique<TFormRef>(TFormRef{this})) == nullptr) {
        const DWORD error = GetLastError();
        if (params.Menu != nullptr) {
            DestroyMenu(params.Menu);
        }
        throw EOSError(error, L"Cannot create window \"" + std::wstring(params.Caption) + L"\"");
    }
}

TForm::~TForm() {
    if (window_ != nullptr) {
        if (TFormRef* ref = KitObject<TFormRef>(window_)) {
            ref->Form = nullptr; // no handler of a half-destroyed form runs
        }
        DestroyWindow(window_);
    }
}

std::wstring TForm::Caption() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TForm::SetCaption(const std::wstring& caption) {
    SetWindowTextW(window_, caption.c_str());
}

void TForm::Centre() {
    RECT rect = {};
    GetWindowRect(window_, &rect);
    const POINT origin = CentredOnDesktop(rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TForm::Showing() const {
    return window_ != nullptr && IsWindowVisible(window_);
}

void TForm::ApplyLayout() {
    const int dpi = WindowDpi(window_);
    const SIZE client = Design.Apply(dpi, designClient_);
    Arrange(dpi);
    RECT frame = {0, 0, client.cx, client.cy};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, GetMenu(window_) != nullptr, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    laidOut_ = {width, height};
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    RECT& normal = placement.rcNormalPosition;
    POINT origin = {normal.left, normal.top};
    if (!shownOnce_) {
        // A form larger than the screen keeps its caption on it.
        origin = CentredOnDesktop(width, height);
        origin = {std::max<LONG>(origin.x, 0), std::max<LONG>(origin.y, 0)};
    }
    if (IsZoomed(window_)) {
        normal = {origin.x, origin.y, origin.x + width, origin.y + height};
        placement.showCmd = IsWindowVisible(window_) ? SW_SHOWMAXIMIZED : SW_HIDE;
        SetWindowPlacement(window_, &placement);
    } else {
        SetWindowPos(window_, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int TForm::AddToDesign(TWidgetControl& control, TDesignRect rect, int container) {
    const int item = Design.Add(control.Handle(), rect, TLayoutKind::Plain, container);
    Design.SetWidget(item, control);
    return item;
}

void TForm::DpiChanged(LPARAM suggested) {
    MoveToSuggestedRect(window_, suggested);
    shownOnce_ = true; // the new place is the system's, not the centring rule's
    ApplyLayout();
}

void TForm::Show() {
    OnShow();
    shownOnce_ = true;
    ShowWindow(window_, maximized_ ? SW_SHOWMAXIMIZED : SW_SHOW);
    SetForegroundWindow(window_);
    OnShown();
}

void TForm::Hide() {
    if (Showing()) {
        ShowWindow(window_, SW_HIDE);
        OnHide();
    }
}

void TForm::Close() {
    Hide();
    if (modal_ && ModalResult == 0) {
        ModalResult = IDCANCEL;
    }
}

int TForm::ShowModal() {
    // The other windows of this thread are disabled while the form is up.
    std::vector<HWND> disabled;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) {
        EnableWindow(window, FALSE);
    }
    ModalResult = 0;
    modal_ = true;
    Show();
    MSG message;
    bool quit = false;
    WPARAM quitCode = 0;
    while (ModalResult == 0 && window_ != nullptr && IsWindowVisible(window_)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            quitCode = message.wParam;
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    modal_ = false;
    for (HWND window : disabled) {
        EnableWindow(window, TRUE);
    }
    Hide();
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
    return ModalResult != 0 ? ModalResult : IDCANCEL;
}

LRESULT TForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE:
        OnCloseQuery();
        return 0;
    case WM_ACTIVATE:
        Activated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED:
        DpiChanged(lParam);
        return 0;
    case WM_GETMINMAXINFO: {
        // A form as large as its controls, though the screen be smaller.
        const LRESULT answer = Default(message, wParam, lParam);
        MINMAXINFO& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, laidOut_.cx);
        limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, laidOut_.cy);
        return answer;
    }
    default:
        return Default(message, wParam, lParam);
    }
}

void TForm::OnCommand(int, int, HWND) {}

void TForm::Activated(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) {
            ActiveControl = focus;
        }
        return;
    }
    SetFocus(ActiveControl != nullptr && IsChild(window_, ActiveControl) ? ActiveControl : window_);
}

void TForm::OnCloseQuery() {
    Close();
}

LRESULT TForm::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

HWND TForm::AddChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                     int id, DWORD exStyle) {
    HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (child == nullptr) {
        const DWORD error = GetLastError();
        throw EOSError(error, L"Cannot create control \"" + std::wstring(text) + L"\"");
    }
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    return child;
}

HWND TForm::AddButton(const wchar_t* caption, int x, int y, int width, int height, int id) {
    return AddChild(L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, x, y, width, height, id);
}

HWND TForm::AddLabel(const wchar_t* caption, int x, int y, int width, int height, int id) {
    return AddChild(L"STATIC", caption, SS_LEFT, x, y, width, height, id);
}
