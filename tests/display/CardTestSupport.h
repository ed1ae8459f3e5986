#pragma once
// Real cards over the sample dictionaries: the data loaded once per process, a shared block of
// the test's own, reports of caught exceptions collected instead of shown, the cursor put on a
// card's characters, and the messages of the thread pumped.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/GlobalCustoms.h"
#include "display/WindowData.h"

class CardTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Closes every card left open, so that the next test starts with the desktop as last card.
    void TearDown() override;

    static TWindowData& Data(HWND card);
    static RECT ScreenRect(HWND card);
    static std::vector<HWND> OpenCards();

    // The first line of a kind at or after from, -1 when none.
    static int32_t FindLine(HWND card, uint8_t kind, int32_t from = 0);
    // The first line whose text holds the part, -1 when none.
    static int32_t FindText(HWND card, const std::wstring& part);
    static std::wstring LineText(HWND card, int32_t line);
    // The window's line height is its font's at dpi: the first window's (at 96 DPI) scaled.
    static void ExpectLineHeightFor(const TWindowData& w, int dpi, int32_t& atDesign);
    // Moved to a 150 % monitor, the window stands at the place suggested and fits its larger lines.
    static void ExpectRefitOnDpiChange(HWND window);

    // Screen point of a character boundary of a line, halfway down the line.
    static POINT CharPoint(HWND card, int32_t line, int32_t character);
    // Puts the cursor there and lets the moves it causes arrive first.
    static void MoveCursor(POINT screen);
    static void MoveCursorTo(HWND card, int32_t line, int32_t character);

    // A click as the card sees it: a move to the cursor, then the release.
    static void Click(HWND card);
    // A press at one character and a drag to another.
    static void Drag(HWND card, int32_t fromLine, int32_t fromChar, int32_t toLine, int32_t toChar);

    static void Copy(HWND card);
    static void SelectAll(HWND card);

    TGlobalCustoms block_{};
};

// What the cards reported, in order, since the test began.
std::vector<std::wstring>& CardTestReports();

using TMessageObserver = std::function<void(const MSG&)>;
// Dispatches the thread's messages until done says so or the time is up; each message is shown
// to the observer before it is dispatched. Gives done's last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds, const TMessageObserver& observer = nullptr);
void PumpFor(DWORD milliseconds, const TMessageObserver& observer = nullptr);
void Pump();

// The thread's keyboard state with Ctrl down, until the holder ends.
class TControlKey {
public:
    TControlKey();
    ~TControlKey();
    TControlKey(const TControlKey&) = delete;
    TControlKey& operator=(const TControlKey&) = delete;

private:
    BYTE saved_[256] = {};
};

// The physical left button, as SendInput presses it; released again when the holder ends.
class TLeftButton {
public:
    TLeftButton() = default;
    ~TLeftButton() { Release(); }
    TLeftButton(const TLeftButton&) = delete;
    TLeftButton& operator=(const TLeftButton&) = delete;
    void Press();
    void Release();

private:
    bool down_ = false;
};

// A window that counts the WM_MAIN_RESYNC messages a running main program would get.
class TMainMessageWindow {
public:
    TMainMessageWindow();
    ~TMainMessageWindow();
    TMainMessageWindow(const TMainMessageWindow&) = delete;
    TMainMessageWindow& operator=(const TMainMessageWindow&) = delete;
    HWND Window() const { return window_; }
    int Resyncs() const;

private:
    HWND window_ = nullptr;
};
