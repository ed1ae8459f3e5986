#include "display/win32/WindowKit.h"

#include <vector>

#include "core/Exceptions.h"
#include "core/win32/SystemText.h"

namespace {

struct TKitMethods {
    ATOM Atom;
    TKitHandler Handler;
    TKitDeleter Deleter;
};

// One entry per registered class; the few classes of a program never move once there.
std::vector<TKitMethods*> registry;

// A window of a kit class keeps its class's methods in its extra bytes while it owns its object.
constexpr int kMethodsSlot = 0;

struct TCreation {
    void* Object;
    bool Taken;
};

LRESULT CALLBACK KitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const TKitMethods* MethodsOfAtom(ATOM atom) {
    for (const TKitMethods* methods : registry) {
        if (methods->Atom == atom) {
            return methods;
        }
    }
    return nullptr;
}

const TKitMethods* MethodsOf(HWND window) {
    if (window == nullptr || GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(KitWindowProc)) {
        return nullptr;
    }
    return reinterpret_cast<const TKitMethods*>(GetWindowLongPtrW(window, kMethodsSlot));
}

void Attach(HWND window, LPARAM lParam) {
    auto* creation = static_cast<TCreation*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    const TKitMethods* methods = MethodsOfAtom(static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)));
    if (creation == nullptr || creation->Taken || methods == nullptr) {
        return;
    }
    creation->Taken = true;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->Object));
    SetWindowLongPtrW(window, kMethodsSlot, reinterpret_cast<LONG_PTR>(methods));
}

void Free(HWND window) {
    const TKitMethods* methods = MethodsOf(window);
    void* object = KitWindowObject(window);
    SetWindowLongPtrW(window, kMethodsSlot, 0);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (methods != nullptr && object != nullptr) {
        methods->Deleter(object);
    }
}

LRESULT CALLBACK KitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        Attach(window, lParam);
    }
    const TKitMethods* methods = MethodsOf(window);
    void* object = KitWindowObject(window);
    LRESULT answer = 0;
    if (methods == nullptr || object == nullptr) {
        answer = DefWindowProcW(window, message, wParam, lParam);
    } else {
        try {
            answer = methods->Handler(object, window, message, wParam, lParam);
        } catch (...) {
            ReportCurrentException();
            answer = DefWindowProcW(window, message, wParam, lParam);
        }
    }
    if (message == WM_NCDESTROY) {
        Free(window);
    }
    return answer;
}

[[noreturn]] void RaiseClassError(const wchar_t* name, DWORD error) {
    throw EOSError(error, L"Cannot register window class \"" + std::wstring(name) + L"\". " +
                              SystemErrorMessage(error));
}

} // namespace

void KitRegisterClass(const TKitClass& windowClass, TKitHandler handler, TKitDeleter deleter) {
    WNDCLASSW wc = {};
    wc.style = windowClass.Style;
    wc.lpfnWndProc = KitWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = windowClass.Icon;
    wc.hCursor = windowClass.Cursor != nullptr ? windowClass.Cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.Background;
    wc.lpszClassName = windowClass.Name;
    auto methods = std::make_unique<TKitMethods>(TKitMethods{0, handler, deleter});
    registry.reserve(registry.size() + 1);
    const ATOM atom = RegisterClassW(&wc);
    if (atom == 0) {
        RaiseClassError(windowClass.Name, GetLastError());
    }
    methods->Atom = atom;
    registry.push_back(methods.release());
}

void KitUnregisterClass(const wchar_t* name) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    const ATOM atom = static_cast<ATOM>(GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc));
    if (atom == 0 || !UnregisterClassW(name, GetModuleHandleW(nullptr))) {
        return; // still in use by a window, or never registered: the methods stay for it
    }
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if ((*it)->Atom == atom) {
            delete *it;
            registry.erase(it);
            break;
        }
    }
}

HWND KitCreateWindowRaw(const TKitWindowParams& p, void* object) {
    TCreation creation{object, false};
    const HWND window = CreateWindowExW(p.ExStyle, p.ClassName, p.Title, p.Style, p.X, p.Y, p.Width, p.Height,
                                        p.Parent, p.Menu, GetModuleHandleW(nullptr), &creation);
    if (!creation.Taken && object != nullptr) {
        // Never attached, so no WM_NCDESTROY frees it.
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        const TKitMethods* methods =
            MethodsOfAtom(static_cast<ATOM>(GetClassInfoExW(GetModuleHandleW(nullptr), p.ClassName, &wc)));
        if (methods != nullptr) {
            methods->Deleter(object);
        }
    }
    return window;
}

void* KitWindowObject(HWND window) {
    if (MethodsOf(window) == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
