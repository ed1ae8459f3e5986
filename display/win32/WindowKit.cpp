#include "display/win32/WindowKit.h"

#include <new>
#include <vector>

#include "core/Exceptions.h"
#include "core/win32/SystemText.h"

namespace {

struct TKitMethods {
    ATOM Atom;
    const void* Type;
    KitDetail::THandler Handler;
    KitDetail::TDeleter Deleter;
};

// One entry per registered class; the few classes of a program never move once there.
std::vector<std::unique_ptr<TKitMethods>> registry;

// A window's own record, kept in its extra bytes from WM_NCCREATE to WM_NCDESTROY.
struct TKitWindow {
    const TKitMethods* Methods;
    void* Object;
    int Depth;      // handler calls of the window now running
    bool Destroyed; // past WM_NCDESTROY: freed when the last running handler call returns
};
constexpr int kRecordSlot = 0;

// A creation under way on this thread. WM_NCCREATE takes the object only from the creation it
// belongs to, whatever else a caller passed as creation data.
struct TCreation {
    const TKitMethods* Methods;
    void* Object;
    TKitWindow* Record;
    bool Freed;
    TCreation* Outer; // a creation a handler started inside another
};
thread_local TCreation* pendingCreation = nullptr;

LRESULT CALLBACK KitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const TKitMethods* MethodsOfAtom(ATOM atom) {
    for (const auto& methods : registry) {
        if (methods->Atom == atom) {
            return methods.get();
        }
    }
    return nullptr;
}

const TKitMethods* MethodsOfName(const wchar_t* name) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    // The answer is the class's atom.
    const ATOM atom = static_cast<ATOM>(GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc));
    return atom != 0 && wc.lpfnWndProc == KitWindowProc ? MethodsOfAtom(atom) : nullptr;
}

TKitWindow* RecordOf(HWND window) {
    return reinterpret_cast<TKitWindow*>(GetWindowLongPtrW(window, kRecordSlot));
}

// False only when the record cannot be made: the creation then fails.
bool Attach(HWND window, LPARAM lParam) {
    TCreation* creation = pendingCreation;
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (creation == nullptr || creation->Record != nullptr || create->lpCreateParams != creation ||
        MethodsOfAtom(static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM))) != creation->Methods) {
        return true; // not a kit creation: the window has no object, and gets the default only
    }
    creation->Record = new (std::nothrow) TKitWindow{creation->Methods, creation->Object, 0, false};
    if (creation->Record == nullptr) {
        return false;
    }
    SetWindowLongPtrW(window, kRecordSlot, reinterpret_cast<LONG_PTR>(creation->Record));
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->Object));
    return true;
}

void Detach(HWND window, TKitWindow& record) {
    SetWindowLongPtrW(window, kRecordSlot, 0);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    record.Destroyed = true;
}

void Free(TKitWindow* record) {
    for (TCreation* creation = pendingCreation; creation != nullptr; creation = creation->Outer) {
        if (creation->Record == record) {
            creation->Freed = true;
        }
    }
    record->Methods->Deleter(record->Object);
    delete record;
}

LRESULT CALLBACK KitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE && !Attach(window, lParam)) {
        return FALSE;
    }
    TKitWindow* record = RecordOf(window);
    if (record == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT answer = 0;
    ++record->Depth;
    try {
        answer = record->Methods->Handler(record->Object, window, message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        answer = DefWindowProcW(window, message, wParam, lParam);
    }
    --record->Depth;
    if (message == WM_NCDESTROY) {
        Detach(window, *record);
    }
    if (record->Destroyed && record->Depth == 0) {
        Free(record);
    }
    return answer;
}

} // namespace

namespace KitDetail {

void RegisterKitClass(const TKitClass& windowClass, const void* type, THandler handler, TDeleter deleter) {
    WNDCLASSW wc = {};
    wc.style = windowClass.Style;
    wc.lpfnWndProc = KitWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = windowClass.Icon;
    wc.hCursor = windowClass.Cursor != nullptr ? windowClass.Cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.Background;
    wc.lpszClassName = windowClass.Name;
    auto methods = std::make_unique<TKitMethods>(TKitMethods{0, type, handler, deleter});
    registry.reserve(registry.size() + 1); // so that nothing can fail once the class exists
    const ATOM atom = RegisterClassW(&wc);
    if (atom == 0) {
        const DWORD error = GetLastError();
        throw EOSError(error, L"Cannot register window class \"" + std::wstring(windowClass.Name) + L"\". " +
                                  SystemErrorMessage(error));
    }
    methods->Atom = atom;
    registry.push_back(std::move(methods));
}

HWND CreateKitWindow(const TKitWindowParams& p, const void* type, void* object, bool& taken) {
    taken = false;
    const TKitMethods* methods = MethodsOfName(p.ClassName);
    if (methods == nullptr || methods->Type != type) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    TCreation creation{methods, object, nullptr, false, pendingCreation};
    pendingCreation = &creation;
    const HWND window = CreateWindowExW(p.ExStyle, p.ClassName, p.Title, p.Style, p.X, p.Y, p.Width, p.Height,
                                        p.Parent, p.Menu, GetModuleHandleW(nullptr), &creation);
    pendingCreation = creation.Outer;
    taken = creation.Record != nullptr;
    if (window == nullptr && taken && !creation.Freed) {
        // Attached, then the creation failed without a WM_NCDESTROY to free it.
        const DWORD error = GetLastError();
        Free(creation.Record);
        SetLastError(error);
    }
    return window;
}

void* WindowObject(HWND window, const void* type) {
    if (window == nullptr || GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(KitWindowProc)) {
        return nullptr;
    }
    const TKitWindow* record = RecordOf(window);
    return record != nullptr && record->Methods->Type == type ? record->Object : nullptr;
}

} // namespace KitDetail

void KitUnregisterClass(const wchar_t* name) {
    const TKitMethods* methods = MethodsOfName(name);
    if (methods == nullptr || !UnregisterClassW(name, GetModuleHandleW(nullptr))) {
        return; // never registered here, or still in use by a window: its methods stay for it
    }
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (it->get() == methods) {
            registry.erase(it);
            break;
        }
    }
}
