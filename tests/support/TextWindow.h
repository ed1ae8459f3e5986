#pragma once
// A top-most single-line edit control of the test's own process, holding text for the capture to
// read, and the screen point of one of its characters.

#include <windows.h>

class TTextWindow {
public:
    explicit TTextWindow(const wchar_t* text, int left = 100, int top = 100, int width = 700) {
        edit_ = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", text, WS_POPUP | WS_VISIBLE | WS_BORDER | ES_LEFT, left, top,
                                width, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TTextWindow() { DestroyWindow(edit_); }
    TTextWindow(const TTextWindow&) = delete;
    TTextWindow& operator=(const TTextWindow&) = delete;
    HWND Window() const { return edit_; }

    // A screen point on the character, a little inside it.
    POINT OnCharacter(int index) const {
        const LRESULT at = SendMessageW(edit_, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        POINT point = {static_cast<short>(LOWORD(at)) + 2, static_cast<short>(HIWORD(at)) + 5};
        ClientToScreen(edit_, &point);
        return point;
    }

private:
    HWND edit_ = nullptr;
};
