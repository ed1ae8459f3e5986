#pragma once
// A rectangle of the screen as the user sees it, with the mouse pointer drawn in, saved as a
// 24-bit BMP file (the demo script turns it into PNG).

#include <windows.h>

#include <string>
#include <vector>

class TScreenShot {
public:
    // Copies the rectangle, clipped to the screen, from the screen.
    explicit TScreenShot(const RECT& rect);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool operator==(const TScreenShot& other) const;
    bool operator!=(const TScreenShot& other) const { return !(*this == other); }
    bool Save(const std::wstring& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> rows_; // bottom-up, each padded to 4 bytes, as in the file
};

// The screen rectangle once drawing in it has settled: two copies 150 ms apart that agree. This
// thread's own windows are served meanwhile.
TScreenShot SettledShot(const RECT& rect, DWORD limitMs = 10000);

// The bounding rectangle of the windows, grown by a margin on every side.
RECT AroundWindows(const std::vector<HWND>& windows, int margin);
