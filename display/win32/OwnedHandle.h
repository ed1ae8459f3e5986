#pragma once
// Ownership of window and GDI handles on the holder of kernel objects, and a scoped
// SelectObject that puts the device context's previous object back.

#include <windows.h>

#include "core/win32/OwnedHandle.h"

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// A window's device context goes back to the window it came from.
struct WindowDcDeleter {
    HWND Window = nullptr;
    void operator()(HDC dc) const { ReleaseDC(Window, dc); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};

using TOwnedFont = TOwned<HFONT, GdiObjectDeleter>;
using TOwnedBitmap = TOwned<HBITMAP, GdiObjectDeleter>;
using TOwnedBrush = TOwned<HBRUSH, GdiObjectDeleter>;
using TOwnedMemoryDC = TOwned<HDC, MemoryDcDeleter>;
using TOwnedWindowDC = TOwned<HDC, WindowDcDeleter>;
using TOwnedMenu = TOwned<HMENU, MenuDeleter>;
using TOwnedWindow = TOwned<HWND, WindowDeleter>;

inline TOwnedWindowDC GetOwnedWindowDC(HWND window) {
    return TOwnedWindowDC(GetDC(window), WindowDcDeleter{window});
}

// Selects an object for the lifetime of the scope; further objects may be selected through it,
// and the object the device context held at the start is selected back at the end. Declare it
// after the owners of the objects it selects, so it is undone before they are deleted.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    void Select(HGDIOBJ object) { SelectObject(dc_, object); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
