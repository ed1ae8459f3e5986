#pragma once
// One way to make window classes and their windows. Each window owns one object, kept in its
// user data: attached at WM_NCCREATE, before any handler runs, and freed after WM_NCDESTROY.
// Every handler runs behind the exception barrier of ErrorReport.h, so nothing unwinds through
// the system; a handler that throws gets the default processing as its answer.

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

// The window's object and the message, for a class's one handler.
using TKitHandler = LRESULT (*)(void* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TKitDeleter = void (*)(void* object);

// Raises EOSError with the system's text when the class cannot be registered.
void KitRegisterClass(const TKitClass& windowClass, TKitHandler handler, TKitDeleter deleter);
void KitUnregisterClass(const wchar_t* name);

struct TKitWindowParams {
    const wchar_t* ClassName = nullptr;
    const wchar_t* Title = L"";
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = CW_USEDEFAULT, Y = CW_USEDEFAULT, Width = CW_USEDEFAULT, Height = CW_USEDEFAULT;
    HWND Parent = nullptr;
    HMENU Menu = nullptr;
};

// Creates a window of a kit class that takes the object over; null when it cannot be created,
// and the object is freed then as well.
HWND KitCreateWindowRaw(const TKitWindowParams& params, void* object);

// The window's object; nullptr for a window of another class, before WM_NCCREATE and after
// WM_NCDESTROY.
void* KitWindowObject(HWND window);

// The default processing, for handlers.
inline LRESULT KitDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// Typed forms: Handler is LRESULT (T&, HWND, UINT, WPARAM, LPARAM).
template <typename T, LRESULT (*Handler)(T&, HWND, UINT, WPARAM, LPARAM)>
void KitRegister(const TKitClass& windowClass) {
    KitRegisterClass(
        windowClass,
        [](void* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return Handler(*static_cast<T*>(object), window, message, wParam, lParam);
        },
        [](void* object) { delete static_cast<T*>(object); });
}

template <typename T>
HWND KitCreateWindow(const TKitWindowParams& params, std::unique_ptr<T> object) {
    return KitCreateWindowRaw(params, object.release());
}

template <typename T>
T* KitObject(HWND window) {
    return static_cast<T*>(KitWindowObject(window));
}

// A timer callback behind the barrier: KitTimer<OnTick> where OnTick is void (HWND, UINT_PTR).
template <void (*OnTick)(HWND, UINT_PTR)>
void CALLBACK KitTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    Guarded([&] { OnTick(window, id); });
}
