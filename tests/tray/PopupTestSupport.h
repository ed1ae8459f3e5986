#pragma once
// Popups over the sample dictionaries, on the cards' test support: the popup class registered,
// a stand-in for the tray window that hands the capture's two messages on as the tray window
// does, a hook block of the test's own, and what a popup shows.

#include <windows.h>

#include <string>
#include <vector>

#include "capture/TextOutSpyBlock.h"
#include "tests/display/CardTestSupport.h"

class PopupTest : public CardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A report of the UTF-8 text with the cursor after the first cursorBytes bytes, sent to the
    // stand-in tray window.
    void Capture(const std::string& text, size_t cursorBytes);
    HWND TrayStandIn() const { return tray_; }

    static std::vector<HWND> OpenPopups();
    // Stops the popup's leave check, for tests that move the cursor between windows.
    static void KeepOpen(HWND popup);
    // The first line with the text, -1 when none.
    static int32_t FindLineText(HWND popup, const std::wstring& text);
    // The character index just inside the first link the marker opens on the line.
    static int32_t InsideLink(HWND popup, int32_t line, wchar_t marker);
    // The entry index of a headword in the Tatar sample dictionary (group 0, dictionary 0).
    static int32_t TatarEntry(const wchar_t* headword);

    TTextOutSpyBlock hook_ = {};

private:
    HWND tray_ = nullptr;
};
