#pragma once
// A real top-level window for the controls' tests, keys and mouse clicks delivered through the
// message queue as the program's message loop delivers them, and a recorder of the context menus
// the controls would show.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "main/controls/ControlKeys.h"
#include "main/controls/Menus_Qel.h"

class TTestHost {
public:
    TTestHost();
    ~TTestHost();
    TTestHost(const TTestHost&) = delete;
    TTestHost& operator=(const TTestHost&) = delete;
    HWND Window() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Dispatches every queued message, each key-down translated first.
void Pump();
// Presses and releases a virtual key on a window with the modifiers held.
void PressKey(HWND window, UINT virtualKey, TShiftState shift = 0, bool extended = false);
// Types a character: the key that makes it when there is one, otherwise the character alone.
void TypeChar(HWND window, wchar_t character);
void TypeText(HWND window, const std::wstring& text);
// A mouse click at a client point; the right button by default.
void ClickMouse(HWND window, POINT at, bool right = true);

void PutClipboardText(const std::wstring& text);
std::wstring ClipboardText();

// One shown menu entry as the native menu holds it.
struct TShownEntry {
    std::wstring Caption;
    bool Enabled;
    bool Separator;
};

// Stands in for the modal menu while it lives: records each menu and chooses the entry with the
// given caption (or none).
class TMenuRecorder {
public:
    TMenuRecorder();
    ~TMenuRecorder();
    TMenuRecorder(const TMenuRecorder&) = delete;
    TMenuRecorder& operator=(const TMenuRecorder&) = delete;

    std::wstring Choose; // empty: choose nothing
    int Shown = 0;
    std::vector<TShownEntry> Entries; // of the last menu
    std::vector<HMENU> Menus;         // every native menu shown

private:
    TPopupRunner previous_;
};

// The menu's entries as one letter each when enabled, '.' when not and '-' for a separator; the
// letters are given in entry order ("UR-XCVL-A").
std::string EnabledPattern(const TMenuList& menu, const std::string& letters);

// Collects the texts of exceptions caught at the window procedures.
class TErrorCatcher {
public:
    TErrorCatcher();
    ~TErrorCatcher();
    static std::vector<std::wstring>& Errors();
};

// What every control's fixture starts from: a host window, an empty clipboard, and no exception
// reaching a window procedure while the test runs.
class TControlTest : public ::testing::Test {
protected:
    TControlTest() { PutClipboardText(L""); }
    ~TControlTest() override { EXPECT_TRUE(TErrorCatcher::Errors().empty()); }

    TErrorCatcher errors;
    TTestHost host;
};
