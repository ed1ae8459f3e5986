#include "tests/e2e/ScreenShot.h"

#include <algorithm>

#include "display/win32/OwnedHandle.h"

namespace {

void DrawPointer(HDC dc, const RECT& rect) {
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof cursor;
    if (!GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || cursor.hCursor == nullptr) {
        return;
    }
    ICONINFO icon = {};
    if (!GetIconInfo(cursor.hCursor, &icon)) {
        return;
    }
    // GetIconInfo hands over copies of the masks.
    const TOwnedBitmap mask(icon.hbmMask);
    const TOwnedBitmap colour(icon.hbmColor);
    DrawIconEx(dc, cursor.ptScreenPos.x - static_cast<int>(icon.xHotspot) - rect.left,
               cursor.ptScreenPos.y - static_cast<int>(icon.yHotspot) - rect.top, cursor.hCursor, 0, 0, 0, nullptr,
               DI_NORMAL);
}

// Waits while this thread's own windows go on painting.
void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

} // namespace

TScreenShot::TScreenShot(const RECT& rect) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT clipped = {};
    if (!IntersectRect(&clipped, &rect, &screen)) {
        return;
    }
    width_ = clipped.right - clipped.left;
    height_ = clipped.bottom - clipped.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_; // bottom-up, as a BMP file stores its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const TOwnedWindowDC screenDc = GetOwnedWindowDC(nullptr);
    const TOwnedBitmap bitmap(CreateDIBSection(screenDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const TOwnedMemoryDC memory(CreateCompatibleDC(screenDc.Get()));
    if (bitmap.Get() == nullptr || memory.Get() == nullptr) {
        width_ = height_ = 0;
        return;
    }
    {
        const TSelectObject select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width_, height_, screenDc.Get(), clipped.left, clipped.top, SRCCOPY | CAPTUREBLT);
        DrawPointer(memory.Get(), clipped);
        GdiFlush();
    }
    const size_t stride = (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3};
    const auto* first = static_cast<const unsigned char*>(bits);
    rows_.assign(first, first + stride * static_cast<size_t>(height_));
}

bool TScreenShot::operator==(const TScreenShot& other) const {
    return width_ == other.width_ && height_ == other.height_ && rows_ == other.rows_;
}

bool TScreenShot::Save(const std::wstring& path) const {
    if (rows_.empty()) {
        return false;
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows_.size());
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rows_.size());
    const HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD done = 0;
    bool ok = WriteFile(out, &file, sizeof file, &done, nullptr) && done == sizeof file;
    ok = ok && WriteFile(out, &header, sizeof header, &done, nullptr) && done == sizeof header;
    ok = ok && WriteFile(out, rows_.data(), static_cast<DWORD>(rows_.size()), &done, nullptr) && done == rows_.size();
    CloseHandle(out);
    return ok;
}

TScreenShot SettledShot(const RECT& rect, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    TScreenShot last(rect);
    for (;;) {
        PumpFor(150);
        TScreenShot next(rect);
        if (next == last || GetTickCount64() > end) {
            return next;
        }
        last = std::move(next);
    }
}

RECT AroundWindows(const std::vector<HWND>& windows, int margin) {
    RECT around = {};
    for (const HWND window : windows) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        UnionRect(&around, &around, &rect);
    }
    InflateRect(&around, margin, margin);
    return around;
}
