// Reports of the capture turned into popups: the word's popup with its first hit current, the
// last word that suppresses repeats, one popup at a time, the conditions of scanning, and the
// first popup's press.

#include <gtest/gtest.h>

#include "display/CardWindow.h"
#include "tests/tray/PopupTestSupport.h"
#include "tray/PopupWindow.h"
#include "tray/TextOutSpy.h"

namespace {

const std::string kSentence = "Без китапларны укыйбыз";
const size_t kInKitaplarny = std::string("Без кит").size(); // bytes: the cursor inside китапларны

void PressShift(bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SHIFT;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

} // namespace

TEST_F(PopupTest, AReportShowsTheWordsPopupWithItsFirstHitCurrent) {
    Capture(kSentence, kInKitaplarny);
    const std::vector<HWND> popups = OpenPopups();
    ASSERT_EQ(popups.size(), 1u);
    const HWND popup = popups[0];
    EXPECT_EQ(TrayCurrentPopup(), popup);
    EXPECT_EQ(PopupWindow_Current(), popup);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_NE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(LastCapturedWord(), L"китапларны");
    EXPECT_EQ(block_.CurDict, 0);
    EXPECT_EQ(block_.CurEntry, TatarEntry(L"китап"));
    EXPECT_EQ(LineText(popup, 0), L"КИТАПЛАРНЫ");
    const int32_t headword = FindLineText(popup, L"китап");
    ASSERT_GT(headword, 0);
    EXPECT_EQ(Data(popup).Layout.Line(headword).Entry, block_.CurEntry);
    EXPECT_EQ(FindLine(popup, lkTitle), -1); // no dictionary titles in a popup
    EXPECT_TRUE(CardTestReports().empty());
}

TEST_F(PopupTest, OnlyTheFirstPopupIsPressedAndEachKeepsItsCaretOnTheCurrentEntry) {
    Capture(kSentence, kInKitaplarny);
    const HWND first = TrayCurrentPopup();
    ASSERT_NE(first, nullptr);
    // Pressed at its client point (1, 1), where the cursor is not: the press reads the cursor,
    // which lies above and left of the popup, so the caret went to line 0.
    EXPECT_EQ(Data(first).CaretLine, 0);

    Capture("урамда", 2);
    const HWND second = TrayCurrentPopup();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    const TWindowData& w = Data(second);
    const int32_t entryLine = CardWindow_FindEntryLine(w, block_.CurDict, block_.CurEntry);
    EXPECT_EQ(block_.CurEntry, TatarEntry(L"урам"));
    EXPECT_GT(entryLine, 0);
    EXPECT_EQ(w.CaretLine, entryLine);
    // The hidden system caret stands at the caret.
    POINT caret = {};
    ASSERT_TRUE(GetCaretPos(&caret));
    const TDisplayLine& line = w.Layout.Line(entryLine);
    EXPECT_EQ(caret.x, line.CharX[0] - 1);
    EXPECT_EQ(caret.y, line.Rect.Top - w.Layout.FirstPixel);
}

TEST_F(PopupTest, ACapturedWordsPopupTakesThePlaceOfThePopupsStillOpen) {
    Capture(kSentence, kInKitaplarny);
    const HWND first = TrayCurrentPopup();
    ASSERT_NE(first, nullptr);
    Capture("qwerty", 2); // nothing found: the popup shown stays
    ASSERT_EQ(OpenPopups(), std::vector<HWND>{first});
    Capture("урамда", 2);
    const HWND second = TrayCurrentPopup();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(OpenPopups(), std::vector<HWND>{second});
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(PopupWindow_Current(), second);
    EXPECT_EQ(LastCapturedWord(), L"урамда");
}

TEST_F(PopupTest, TheSameWordShowsOnceUntilItsPopupCloses) {
    Capture(kSentence, kInKitaplarny);
    Capture(kSentence, kInKitaplarny + 4); // the same word at another letter
    ASSERT_EQ(OpenPopups().size(), 1u);
    DestroyWindow(OpenPopups()[0]);
    EXPECT_EQ(LastCapturedWord(), L"");
    Capture(kSentence, kInKitaplarny);
    EXPECT_EQ(OpenPopups().size(), 1u);
}

TEST_F(PopupTest, AWordThatFindsNothingLeavesTheLastWord) {
    Capture(kSentence, kInKitaplarny);
    ASSERT_EQ(OpenPopups().size(), 1u);
    // Its popup is made and destroyed, and that popup's own close notice must not count as the
    // close of the popup shown last.
    Capture("щщщфф", 2);
    EXPECT_EQ(OpenPopups().size(), 1u);
    EXPECT_EQ(LastCapturedWord(), L"китапларны");
    Capture(kSentence, kInKitaplarny);
    EXPECT_EQ(OpenPopups().size(), 1u);
}

TEST_F(PopupTest, ScanningConditionsDecideWhetherAReportShows) {
    const struct {
        uint8_t Suppressed;
        uint8_t Enabled;
        uint8_t WithShift;
        bool Block;
        bool Shows;
    } cases[] = {
        {0, 1, 0, true, true}, {1, 1, 0, true, false}, {0, 0, 0, true, false},
        {0, 7, 0, true, true}, {0, 1, 1, true, false}, {0, 1, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.Suppressed) << int(c.Enabled) << int(c.WithShift) << c.Block);
        block_.ScanSuppressed = c.Suppressed;
        block_.ScanEnabled = c.Enabled;
        block_.ScanWithShift = c.WithShift;
        SetHookBlock(c.Block ? &hook_ : nullptr);
        Capture(kSentence, kInKitaplarny);
        EXPECT_EQ(OpenPopups().size(), c.Shows ? 1u : 0u);
        for (HWND popup : OpenPopups()) {
            DestroyWindow(popup);
        }
        SetHookBlock(&hook_);
        ResetCaptureState();
    }
}

TEST_F(PopupTest, ShiftOnlyScanningReadsThePhysicalShiftKey) {
    // The tray thread never gets the keyboard input of the program being read, so its own key
    // state and the physical key differ: each case sets them apart.
    block_.ScanWithShift = 1;
    for (const bool physical : {true, false}) {
        SCOPED_TRACE(physical);
        PressShift(physical);
        PumpFor(20);
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = state[VK_LSHIFT] = physical ? 0 : 0x80;
        SetKeyboardState(state);
        ASSERT_EQ(GetKeyState(VK_SHIFT) < 0, !physical);
        ASSERT_EQ(GetAsyncKeyState(VK_SHIFT) < 0, physical);
        Capture(kSentence, kInKitaplarny);
        EXPECT_EQ(OpenPopups().size(), physical ? 1u : 0u);
        PressShift(false);
        PumpFor(20);
        state[VK_SHIFT] = state[VK_LSHIFT] = 0;
        SetKeyboardState(state);
        for (HWND popup : OpenPopups()) {
            DestroyWindow(popup);
        }
        ResetCaptureState();
    }
}
