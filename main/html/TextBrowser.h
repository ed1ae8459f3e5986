#pragma once
// The text browser of the main program's windows: a read-only rich edit control that shows HTML
// (articles, paradigm forms, help pages). Selecting, copying and select-all by mouse and keys are
// the control's own; a right click reaches the parent as WM_CONTEXTMENU, whose wParam is the browser.

#include <windows.h>

#include <string>
#include <string_view>

class TTextBrowser {
public:
    // No control: every operation does nothing, as for a window not made yet.
    TTextBrowser() = default;
    explicit TTextBrowser(HWND window) : window_(window) {}

    // A visible child of parent with a sunken frame and a vertical scroll bar; it lives as long as
    // its parent. Raises EOSError when it cannot be made.
    static TTextBrowser Create(HWND parent, int x, int y, int width, int height, int id = 0);

    HWND Window() const { return window_; }

    // Replaces the whole text by the HTML rendered; the view is scrolled to the top, the caret at
    // the start.
    void SetHtml(std::wstring_view html);
    void Clear();
    // The text shown, each line end one CR: its indices are the control's character positions.
    std::wstring Text() const;
    void SelectAll();
    // The selection to the clipboard, as UTF-16 text among the control's other formats; nothing
    // when nothing is selected.
    void Copy();
    void ScrollToTop();
    void SetFocus();

private:
    HWND window_ = nullptr;
};

// The rich edit class the browser is made of, its library loaded on first use: "RICHEDIT50W" when
// the system has it, else "RichEdit20W"; null when it has neither.
const wchar_t* TextBrowserClassName();
