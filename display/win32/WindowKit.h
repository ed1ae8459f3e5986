#pragma once
// One way to make window classes and their windows. Each window owns one object, kept in its
// user data: attached at WM_NCCREATE, before any handler runs, and freed after WM_NCDESTROY, or
// when a handler of the window was still running then (it destroyed its own window), once the
// outermost one returns. Every handler runs behind the exception barrier of ErrorReport.h, so
// nothing unwinds through the system; a handler that throws gets the default processing as its
// answer.

#include <windows.h>

#include <memory>

#include "display/win32/ErrorReport.h"

struct TKitClass {
    const wchar_t* Name = nullptr;
    UINT Style = 0;
    HCURSOR Cursor = nullptr; // the arrow when null
    HBRUSH Background = nullptr;
    HICON Icon = nullptr;
};

struct TKitWindowParams {
    const wchar_t* ClassName = nullptr;
    const wchar_t* Title = L"";
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = CW_USEDEFAULT, Y = CW_USEDEFAULT, Width = CW_USEDEFAULT, Height = CW_USEDEFAULT;
    HWND Parent = nullptr;
    HMENU Menu = nullptr;
};

// The untyped layer under the templates below; a class remembers the object type it was
// registered for, so that a window never gets an object of another type.
namespace KitDetail {

template <typename T>
inline constexpr char TypeTag = 0;

using THandler = LRESULT (*)(void* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TDeleter = void (*)(void* object);

void RegisterKitClass(const TKitClass& windowClass, const void* type, THandler handler, TDeleter deleter);
// taken: the window took the object over and frees it (or has freed it already).
HWND CreateKitWindow(const TKitWindowParams& params, const void* type, void* object, bool& taken);
void* WindowObject(HWND window, const void* type);

} // namespace KitDetail

// Handler is LRESULT (T&, HWND, UINT, WPARAM, LPARAM); the class's windows carry a T. Raises
// EOSError with the system's text when the class cannot be registered (one already has the name).
template <typename T, LRESULT (*Handler)(T&, HWND, UINT, WPARAM, LPARAM)>
void KitRegister(const TKitClass& windowClass) {
    KitDetail::RegisterKitClass(
        windowClass, &KitDetail::TypeTag<T>,
        [](void* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return Handler(*static_cast<T*>(object), window, message, wParam, lParam);
        },
        [](void* object) { delete static_cast<T*>(object); });
}

// Does nothing while a window of the class is still open.
void KitUnregisterClass(const wchar_t* name);

// Creates a window of a class registered for T, which takes the object over; null when it cannot
// be created (also for a class that is not a kit class for T), with the reason in GetLastError,
// and the object is freed then.
template <typename T>
HWND KitCreateWindow(const TKitWindowParams& params, std::unique_ptr<T> object) {
    bool taken = false;
    const HWND window = KitDetail::CreateKitWindow(params, &KitDetail::TypeTag<T>, object.get(), taken);
    if (taken) {
        object.release();
    } else {
        const DWORD error = GetLastError();
        object.reset();
        SetLastError(error);
    }
    return window;
}

// The window's object; nullptr for a window of another class or type, and after WM_NCDESTROY.
template <typename T>
T* KitObject(HWND window) {
    return static_cast<T*>(KitDetail::WindowObject(window, &KitDetail::TypeTag<T>));
}

// The default processing, for handlers.
inline LRESULT KitDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A timer callback behind the barrier: KitTimer<OnTick> where OnTick is void (HWND, UINT_PTR).
template <void (*OnTick)(HWND, UINT_PTR)>
void CALLBACK KitTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    Guarded([&] { OnTick(window, id); });
}
