#include "tests/main/ControlsTestSupport.h"

#include "display/PlovaClipbrd.h"
#include "display/win32/ErrorReport.h"

namespace {

const wchar_t* const HostClass = L"ControlsTestHost";

const wchar_t* RegisterHostClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = HostClass;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&windowClass);
        registered = true;
    }
    return HostClass;
}

LPARAM KeyData(UINT virtualKey, bool extended, bool release) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (extended) {
        data |= 1 << 24;
    }
    if (release) {
        data |= (1u << 30) | (1u << 31);
    }
    return data;
}

void SetModifiers(TShiftState shift) {
    BYTE state[256];
    GetKeyboardState(state);
    const auto set = [&](int key, bool down) { state[key] = down ? 0x80 : 0; };
    set(VK_SHIFT, shift & ssShift);
    set(VK_LSHIFT, shift & ssShift);
    set(VK_CONTROL, shift & ssCtrl);
    set(VK_LCONTROL, shift & ssCtrl);
    set(VK_MENU, shift & ssAlt);
    set(VK_LMENU, shift & ssAlt);
    SetKeyboardState(state);
}

} // namespace

TTestHost::TTestHost() {
    window_ = CreateWindowExW(0, RegisterHostClass(), L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 500, 400,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TTestHost::~TTestHost() {
    DestroyWindow(window_);
    Pump();
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PressKey(HWND window, UINT virtualKey, TShiftState shift, bool extended) {
    SetModifiers(shift);
    const UINT down = (shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = (shift & ssAlt) ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(window, down, virtualKey, KeyData(virtualKey, extended, false));
    Pump();
    PostMessageW(window, up, virtualKey, KeyData(virtualKey, extended, true));
    Pump();
    SetModifiers(0);
}

void TypeChar(HWND window, wchar_t character) {
    const SHORT key = VkKeyScanW(character);
    if (key == -1 || (HIBYTE(key) & ~1) != 0) {
        PostMessageW(window, WM_CHAR, character, 1);
        Pump();
        return;
    }
    PressKey(window, LOBYTE(key), (HIBYTE(key) & 1) ? ssShift : 0);
}

void TypeText(HWND window, const std::wstring& text) {
    for (const wchar_t character : text) {
        TypeChar(window, character);
    }
}

void ClickMouse(HWND window, POINT at, bool right) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, where);
    PostMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
    Pump();
}

void PutClipboardText(const std::wstring& text) {
    if (text.empty()) {
        Clipboard().Clear();
    } else {
        Clipboard().SetWideText(text);
    }
}

std::wstring ClipboardText() {
    return Clipboard().GetWideText();
}

TMenuRecorder::TMenuRecorder() {
    previous_ = SetPopupRunner([this](const TPopupMenu& menu, POINT, HWND) -> UINT {
        ++Shown;
        Menus.push_back(menu.Handle());
        Entries.clear();
        UINT chosen = 0;
        const int count = GetMenuItemCount(menu.Handle());
        for (int i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_ID;
            info.dwTypeData = text;
            info.cch = 127;
            GetMenuItemInfoW(menu.Handle(), static_cast<UINT>(i), TRUE, &info);
            std::wstring caption = text;
            caption = caption.substr(0, caption.find(L'\t'));
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            const bool enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
            Entries.push_back({caption, enabled, separator});
            if (!Choose.empty() && caption == Choose && enabled) {
                chosen = info.wID;
            }
        }
        return chosen;
    });
}

TMenuRecorder::~TMenuRecorder() {
    SetPopupRunner(previous_);
}

std::string EnabledPattern(const TMenuList& menu, const std::string& letters) {
    const auto popup = menu.BuildPopupMenu();
    std::string pattern;
    for (size_t i = 0; i < popup->Items().size(); ++i) {
        const TMenuItem& item = *popup->Items()[i];
        pattern += item.Caption == L"-" ? '-' : item.Enabled ? letters.at(i) : '.';
    }
    return pattern;
}

namespace {

TErrorReport PreviousReport = nullptr;

} // namespace

TErrorCatcher::TErrorCatcher() {
    Errors().clear();
    PreviousReport = SetErrorReport([](const std::wstring& text) { Errors().push_back(text); });
}

TErrorCatcher::~TErrorCatcher() {
    SetErrorReport(PreviousReport);
}

std::vector<std::wstring>& TErrorCatcher::Errors() {
    static std::vector<std::wstring> errors;
    return errors;
}
