// The popup as a window: placement beside the cursor, size by the line limit, the leave check
// with its margin, the row cursors, clicks that open and close a card, one-window mode, cards
// closed under a popup, links, and a popup closed while its own menu is open.

#include "tray/PopupWindow.h"

#include <gtest/gtest.h>

#include "display/CardWindow.h"
#include "display/TextFormat.h"
#include "display/ViewMouse.h"
#include "tests/support/DpiOverride.h"
#include "tests/tray/PopupTestSupport.h"
#include "tray/TextOutSpy.h"

namespace {

const std::string kSentence = "Без китапларны укыйбыз";
const size_t kInKitaplarny = std::string("Без кит").size();

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Counts the leave-check ticks a popup gets.
TMessageObserver LeaveTicks(HWND popup, int& ticks) {
    return [popup, &ticks](const MSG& message) {
        if (message.hwnd == popup && message.message == WM_TIMER && message.wParam == kPopupLeaveTimer) {
            ++ticks;
        }
    };
}

void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

} // namespace

TEST(PopupWindow_Placement, BesideTheCursorUnlessTheDesktopEnds) {
    const RECT desktop = {0, 0, 1280, 1024};
    const struct {
        RECT Desktop;
        POINT Cursor;
        int32_t Width, Height;
        POINT At;
    } cases[] = {
        {desktop, {100, 100}, 200, 100, {105, 105}},
        {desktop, {1075, 100}, 200, 100, {1080, 105}},    // just fits to the right
        {desktop, {1076, 100}, 200, 100, {871, 105}},     // to the left of the cursor
        {desktop, {100, 919}, 200, 100, {105, 924}},      // just fits below
        {desktop, {100, 920}, 200, 100, {105, 815}},      // above the cursor
        {desktop, {1270, 1020}, 200, 100, {1065, 915}},   // the corner: left and above
        {{0, 0, 300, 200}, {150, 100}, 250, 150, {0, 0}}, // no room either side: at 0
    };
    for (const auto& c : cases) {
        const POINT at = PopupWindow_Placement(c.Desktop, c.Cursor, c.Width, c.Height);
        EXPECT_EQ(at.x, c.At.x) << c.Cursor.x << "," << c.Cursor.y;
        EXPECT_EQ(at.y, c.At.y) << c.Cursor.x << "," << c.Cursor.y;
    }
}

TEST(PopupWindow_KeepsCursor, SixteenPixelsAroundTheWindow) {
    const RECT rect = {100, 100, 300, 200}; // right and bottom exclusive
    const struct {
        POINT Cursor;
        bool Keeps;
    } cases[] = {
        {{150, 150}, true}, {{315, 150}, true},  {{316, 150}, false}, {{84, 150}, true},  {{83, 150}, false},
        {{150, 215}, true}, {{150, 216}, false}, {{150, 84}, true},   {{150, 83}, false}, {{316, 216}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PopupWindow_KeepsCursor(rect, c.Cursor), c.Keeps) << c.Cursor.x << "," << c.Cursor.y;
    }
}

TEST_F(PopupTest, NearTheRightAndBottomEdgesItOpensLeftOfAndAboveTheCursor) {
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const POINT cursor = {desktop.right - 3, desktop.bottom - 3};
    SetCursorPos(cursor.x, cursor.y);
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    const RECT rect = WindowRect(popup);
    EXPECT_EQ(rect.right, cursor.x - kPopupCursorDistance);
    EXPECT_EQ(rect.bottom, cursor.y - kPopupCursorDistance);
    EXPECT_EQ(rect.right - rect.left, Data(popup).Width);
    EXPECT_EQ(rect.bottom - rect.top, Data(popup).Height);
}

TEST_F(PopupTest, ItIsSizedForItsLinesUpToTheLineLimit) {
    for (const int32_t limit : {3, 32}) {
        SCOPED_TRACE(limit);
        block_.PopupMaxLines = limit;
        ResetCaptureState();
        Capture(kSentence, kInKitaplarny);
        const HWND popup = TrayCurrentPopup();
        ASSERT_NE(popup, nullptr);
        const TWindowData& w = Data(popup);
        ASSERT_GT(w.Layout.LineCount, 3);
        ASSERT_LT(w.Layout.LineCount, 32);
        const int32_t shown = std::min(limit, w.Layout.LineCount);
        // The margin below the last line only when it is the last of all: no pixel of a cut line shows.
        const int32_t below = shown == w.Layout.LineCount ? 5 : 0;
        EXPECT_EQ(w.Height, w.FrameHeight + w.Layout.Line(shown - 1).Rect.Bottom + below);
        RECT client = {};
        GetClientRect(popup, &client);
        EXPECT_EQ(client.bottom, w.Layout.Line(shown - 1).Rect.Bottom + below);
        EXPECT_EQ(w.Width, w.ContentWidth + GetSystemMetrics(SM_CXVSCROLL) + 20);
        EXPECT_EQ(w.Layout.Line(0).Rect.Top, 10);
        EXPECT_EQ(w.Background, PopupBackground);
        DestroyWindow(popup);
    }
}

TEST_F(PopupTest, LineHeightsAndMarginsFollowTheDisplayScale) {
    int32_t atDesign = 0;
    for (const int dpi : kTestDpis) {
        SCOPED_TRACE(dpi);
        const TDpiOverride scale(dpi);
        ResetCaptureState();
        Capture(kSentence, kInKitaplarny);
        const HWND popup = TrayCurrentPopup();
        ASSERT_NE(popup, nullptr);
        const TWindowData& w = Data(popup);
        ExpectLineHeightFor(w, dpi, atDesign);
        EXPECT_EQ(w.Layout.Line(0).Rect.Top, ScaleToDpi(10, dpi));
        EXPECT_EQ(w.Width, w.ContentWidth + GetSystemMetrics(SM_CXVSCROLL) + ScaleToDpi(20, dpi));
        DestroyWindow(popup);
    }
}

TEST_F(PopupTest, ADpiChangeFitsItToItsLinesAgainAtTheSuggestedPlace) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    ExpectRefitOnDpiChange(popup);
    DestroyWindow(popup);
}

TEST_F(PopupTest, TheLeaveCheckClosesItOnlyPastTheMargin) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    const RECT rect = WindowRect(popup);
    const int32_t middle = (rect.top + rect.bottom) / 2;
    SetCursorPos(rect.left - kPopupLeaveMargin, middle);
    int ticks = 0;
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3 || !IsWindow(popup); }, 3000, LeaveTicks(popup, ticks)));
    EXPECT_TRUE(IsWindow(popup));
    SetCursorPos(rect.left - kPopupLeaveMargin - 1, middle);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }, 3000));
    EXPECT_EQ(LastCapturedWord(), L""); // its close notice reached the tray window
    EXPECT_EQ(PopupWindow_Current(), nullptr);
}

TEST_F(PopupTest, RowCursorsFollowTheLineKind) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    TWindowData& w = Data(popup);
    const auto classCursor = [popup] { return reinterpret_cast<HCURSOR>(GetClassLongPtrW(popup, GCLP_HCURSOR)); };
    PopupWindow_SetRowCursor(w, -1);
    EXPECT_EQ(classCursor(), ViewArrowCursor());
    for (int32_t i = 0; i < w.Layout.LineCount; ++i) {
        PopupWindow_SetRowCursor(w, i);
        EXPECT_EQ(classCursor(), w.Layout.Line(i).Kind <= lkHeadword ? ViewHandCursor() : ViewIBeamCursor()) << i;
    }
}

TEST_F(PopupTest, AFirstClickOnAHeadwordOpensItsCardAndASecondClosesIt) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    KeepOpen(popup);
    const int32_t headword = FindLineText(popup, L"китап");
    ASSERT_GT(headword, 0);
    block_.CurEntry = -5;
    MoveCursorTo(popup, headword, 1);
    Click(popup);
    const HWND card = static_cast<HWND>(Data(popup).PopupCard);
    ASSERT_TRUE(CardWindow_IsCard(card));
    EXPECT_EQ(OpenCards(), std::vector<HWND>{card});
    EXPECT_EQ(block_.CurEntry, TatarEntry(L"китап"));
    EXPECT_EQ(block_.CurDict, 0);

    Click(popup); // the same place
    EXPECT_FALSE(IsWindow(card));
    EXPECT_TRUE(OpenCards().empty());
    EXPECT_EQ(Data(popup).PopupCard, nullptr);

    MoveCursorTo(popup, 0, 1); // another line: a click opens a card again
    Click(popup);
    EXPECT_EQ(OpenCards().size(), 1u);
    EXPECT_TRUE(CardWindow_IsCard(static_cast<HWND>(Data(popup).PopupCard)));
    EXPECT_TRUE(IsWindow(popup)); // a card does not close its popup
}

TEST_F(PopupTest, ACardClosedByTheUserIsOpenedAnewNotRaised) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    KeepOpen(popup);
    MoveCursorTo(popup, FindLineText(popup, L"китап"), 1);
    Click(popup);
    const HWND card = static_cast<HWND>(Data(popup).PopupCard);
    ASSERT_TRUE(CardWindow_IsCard(card));
    DestroyWindow(card);
    MoveCursorTo(popup, 0, 1);
    Click(popup);
    ASSERT_EQ(OpenCards().size(), 1u);
    EXPECT_EQ(OpenCards()[0], static_cast<HWND>(Data(popup).PopupCard));
}

TEST_F(PopupTest, InOneWindowModeACardFromAPopupReplacesTheLastCard) {
    block_.CardMono = 1;
    Capture(kSentence, kInKitaplarny);
    const HWND first = TrayCurrentPopup();
    ASSERT_NE(first, nullptr);
    KeepOpen(first);
    MoveCursorTo(first, FindLineText(first, L"китап"), 1);
    Click(first);
    const HWND firstCard = static_cast<HWND>(Data(first).PopupCard);
    ASSERT_TRUE(CardWindow_IsCard(firstCard));

    // The next word's popup takes the first one's place; the first one's card stays, until the
    // next card replaces it.
    Capture("урамда", 2);
    const HWND second = TrayCurrentPopup();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(CardWindow_IsCard(firstCard));
    KeepOpen(second);
    MoveCursorTo(second, FindLineText(second, L"урам"), 1);
    Click(second);
    EXPECT_FALSE(IsWindow(firstCard));
    ASSERT_EQ(OpenCards().size(), 1u);
    EXPECT_EQ(OpenCards()[0], static_cast<HWND>(Data(second).PopupCard));
}

TEST_F(PopupTest, AnAtLinkOpensAPopupForItsWordAndAnUnderlinedLinkACardAtItsEntry) {
    Capture("китапханә", 2);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    KeepOpen(popup);
    const int32_t linkLine = FindText(popup, L"@китап$");
    ASSERT_GT(linkLine, 0);
    MoveCursorTo(popup, linkLine, InsideLink(popup, linkLine, L'@'));
    Click(popup);
    ASSERT_EQ(OpenPopups().size(), 2u);
    const HWND linked = PopupWindow_Current();
    ASSERT_NE(linked, popup);
    EXPECT_EQ(LineText(linked, 0), L"КИТАП");
    EXPECT_EQ(Data(linked).PrevWindow, popup);
    DestroyWindow(linked);

    Capture("эне", 2);
    const HWND brother = TrayCurrentPopup();
    ASSERT_NE(brother, nullptr);
    KeepOpen(brother);
    const int32_t underlined = FindText(brother, L"Ђабый");
    ASSERT_GT(underlined, 0);
    block_.CurEntry = -5;
    MoveCursorTo(brother, underlined, InsideLink(brother, underlined, L'\x0402'));
    Click(brother);
    EXPECT_EQ(OpenCards().size(), 1u);
    EXPECT_EQ(block_.CurEntry, TatarEntry(L"эне"));
}

TEST_F(PopupTest, APopupClosedWhileItsMenuIsOpenIsNotTouchedAfterwards) {
    Capture(kSentence, kInKitaplarny);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    const RECT rect = WindowRect(popup);
    // The menu opens far from the popup, so its leave check closes it during the menu.
    SetCursorPos(rect.right + 200, rect.bottom + 100);
    SetTimer(nullptr, 0, 600, EndTheMenu);
    SendMessageW(popup, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(popup), MAKELPARAM(-1, -1));
    Pump();
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(LastCapturedWord(), L"");
    EXPECT_TRUE(CardTestReports().empty());
}
