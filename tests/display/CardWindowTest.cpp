// Cards over the sample dictionaries: placement and the chain of cards, links, analysis rows,
// copying, the scroll requests, clicks that ask the main program, the context menu, cursors,
// the resizing edges and the report of caught exceptions.

#include "display/CardWindow.h"

#include <algorithm>
#include <stdexcept>

#include "core/Exceptions.h"
#include "core/Translator.h"
#include "display/PlovaClipbrd.h"
#include "display/ShowTextHandler.h"
#include "display/ViewMouse.h"
#include "display/win32/ErrorReport.h"
#include "display/win32/ViewWindow.h"
#include "tests/display/CardTestSupport.h"
#include "tests/support/DpiOverride.h"

namespace {

LONG Left(HWND card) {
    RECT rect = {};
    GetWindowRect(card, &rect);
    return rect.left;
}

LONG Top(HWND card) {
    RECT rect = {};
    GetWindowRect(card, &rect);
    return rect.top;
}

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

HCURSOR ClassCursor(HWND card) {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrW(card, GCLP_HCURSOR));
}

// True when the pixel turns black (the caret inverting the white background) while the caret
// blinks for a while.
bool TurnsBlack(HWND card, POINT at) {
    return PumpUntil(
        [&] {
            const TOwnedWindowDC dc = GetOwnedWindowDC(card);
            return GetPixel(dc.Get(), at.x, at.y) == RGB(0, 0, 0);
        },
        1500);
}

} // namespace

TEST_F(CardTest, PlacementFollowsTheCardCreatedLast) {
    const HWND first = CardWindow_Show(L"бару", false, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Data(first).PrevWindow, GetDesktopWindow());
    EXPECT_EQ(Left(first), 10);
    EXPECT_EQ(Top(first), 10);
    EXPECT_NE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

    const HWND second = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Left(second), Left(first) + 10);
    EXPECT_EQ(Top(second), Top(first) + 10);

    // A link in the first card opens a card beside the card created last, the second.
    const int32_t line = FindText(first, L"\x0402килү\x0403");
    ASSERT_GE(line, 0);
    const int32_t inside = static_cast<int32_t>(LineText(first, line).find(L'\x0402')) + 2;
    MoveCursorTo(first, line, inside);
    Click(first);
    const HWND linked = CardWindow_LastCard();
    ASSERT_TRUE(CardWindow_IsCard(linked));
    ASSERT_NE(linked, second);
    EXPECT_EQ(std::wstring(Data(linked).Layout.Word), L"КИЛҮ");
    EXPECT_EQ(Left(linked), Left(second) + 10);
    EXPECT_EQ(Top(linked), Top(second) + 10);

    // One-window mode closes the card created last and takes its place.
    const HWND replacing = CardWindow_Show(L"бала", true, true);
    ASSERT_NE(replacing, nullptr);
    EXPECT_FALSE(IsWindow(linked));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(CardWindow_LastCard(), replacing);
    EXPECT_EQ(Left(replacing), Left(second) + 10);
    EXPECT_EQ(Top(replacing), Top(second) + 10);
}

TEST_F(CardTest, FailedShowLeavesALiveLastCard) {
    EXPECT_EQ(CardWindow_Show(L"qwerty", false, true), nullptr);
    EXPECT_EQ(CardWindow_LastCard(), GetDesktopWindow());
    EXPECT_TRUE(OpenCards().empty());

    const HWND first = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CardWindow_Show(L"китапх", false, true), nullptr);
    EXPECT_EQ(CardWindow_LastCard(), first);
    EXPECT_EQ(OpenCards().size(), 1u);

    // One-window mode still finds the card to close, and the new card its place.
    const HWND replacing = CardWindow_Show(L"бала", true, true);
    ASSERT_NE(replacing, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Left(replacing), 10);
    EXPECT_EQ(Top(replacing), 10);
}

TEST_F(CardTest, ClosedCardsInTheChainAreNeverUsed) {
    const HWND first = CardWindow_Show(L"китап", false, true);
    const HWND second = CardWindow_Show(L"бала", false, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const HWND third = CardWindow_Create({0, 0, 0, 0});
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(Data(third).PrevWindow, second);

    DestroyWindow(second);
    EXPECT_EQ(CardWindow_LastCard(), third); // still the newest card

    // Placed beside its previous card, which is closed: beside the newest card still open.
    TWindowData& w = Data(third);
    ASSERT_TRUE(AnalyzeWord(L"тау", w.Result, 0));
    ASSERT_TRUE(CardWindow_Fill(w, w.Result, true));
    EXPECT_EQ(Left(third), Left(first) + 10);
    EXPECT_EQ(Top(third), Top(first) + 10);

    // Its own previous card is gone too: the last card falls back to one still open.
    DestroyWindow(third);
    EXPECT_EQ(CardWindow_LastCard(), first);
    const HWND replacing = CardWindow_Show(L"ай", true, true);
    ASSERT_NE(replacing, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Left(replacing), 10);
}

TEST_F(CardTest, ClosingAnyCardKeepsTheNewestOpenCardLast) {
    // Of three cards one closes; one-window mode then replaces the newest open card, beside the
    // open card before it.
    const struct {
        int Closed, Newest, Previous;
    } cases[] = {{0, 2, 1}, {1, 2, 0}, {2, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Closed);
        HWND cards[3] = {};
        for (HWND& card : cards) {
            card = CardWindow_Show(L"китап", false, true);
            ASSERT_NE(card, nullptr);
        }
        DestroyWindow(cards[c.Closed]);
        EXPECT_EQ(CardWindow_LastCard(), cards[c.Newest]);

        const HWND replacing = CardWindow_Show(L"бала", true, true);
        ASSERT_NE(replacing, nullptr);
        EXPECT_FALSE(IsWindow(cards[c.Newest]));
        EXPECT_EQ(OpenCards().size(), 2u);
        EXPECT_EQ(Left(replacing), Left(cards[c.Previous]) + 10);
        EXPECT_EQ(Top(replacing), Top(cards[c.Previous]) + 10);
        for (HWND card : OpenCards()) {
            DestroyWindow(card);
        }
    }
}

TEST_F(CardTest, OverItsLineLimitACardShowsWholeLinesOnly) {
    for (const int32_t limit : {2, 3, 5}) {
        SCOPED_TRACE(limit);
        block_.CardMaxLines = limit;
        const HWND card = CardWindow_Show(L"ай", false, true);
        ASSERT_NE(card, nullptr);
        const TWindowData& w = Data(card);
        ASSERT_GT(w.Layout.LineCount, limit);
        RECT client = {};
        GetClientRect(card, &client);
        EXPECT_EQ(w.PageLines, limit);
        EXPECT_LE(w.Layout.Line(limit - 1).Rect.Bottom, client.bottom);
        EXPECT_GE(w.Layout.Line(limit).Rect.Top, client.bottom); // not even a part of the next one
        DestroyWindow(card);
    }
}

TEST_F(CardTest, LineHeightsAndMarginsFollowTheDisplayScale) {
    int32_t atDesign = 0;
    for (const int dpi : kTestDpis) {
        SCOPED_TRACE(dpi);
        const TDpiOverride scale(dpi);
        const HWND card = CardWindow_Show(L"китап", false, true);
        ASSERT_NE(card, nullptr);
        const TWindowData& w = Data(card);
        ExpectLineHeightFor(w, dpi, atDesign);
        EXPECT_EQ(w.Layout.Line(0).Rect.Left, ScaleToDpi(10, dpi));
        DestroyWindow(card);
    }
}

TEST_F(CardTest, ADpiChangeFitsTheCardToItsLinesAgainAtTheSuggestedPlace) {
    const HWND card = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(card, nullptr);
    ExpectRefitOnDpiChange(card);
    DestroyWindow(card);
}

TEST_F(CardTest, LinkToAWordWithoutAnalysisOpensNoCard) {
    const HWND card = CardWindow_Show(L"әни", false, true);
    ASSERT_NE(card, nullptr);
    const int32_t line = FindText(card, L"@әти-әни$");
    ASSERT_GE(line, 0);
    TWindowData& w = Data(card);
    const std::wstring text = L"мама, мать; см. @qwerty$";
    TDisplayLine& record = w.Layout.Line(line);
    std::copy(text.begin(), text.end(), record.Text);
    record.Length = static_cast<int32_t>(text.size());
    CardWindow_FitSize(w, false);

    MoveCursorTo(card, line, static_cast<int32_t>(text.find(L'@')) + 2);
    Click(card);
    EXPECT_EQ(OpenCards().size(), 1u);
    EXPECT_EQ(CardWindow_LastCard(), card);
    EXPECT_TRUE(CardTestReports().empty());
}

TEST_F(CardTest, AnalysisRowShowsAndHidesItsGrammarNotes) {
    const HWND card = CardWindow_Show(L"китапларны", false, true);
    ASSERT_NE(card, nullptr);
    TWindowData& w = Data(card);
    const int32_t row = FindLine(card, lkAnalysis);
    ASSERT_GE(row, 0);
    const int32_t notes = w.Layout.Line(row).SubCount;
    ASSERT_EQ(notes, 2);
    const int32_t lines = w.Layout.LineCount;
    const std::wstring after = LineText(card, row + 1);
    const RECT before = ScreenRect(card);

    MoveCursorTo(card, row, 1);
    Click(card);
    ASSERT_EQ(w.Layout.LineCount, lines + notes);
    for (int32_t k = 0; k < notes; ++k) {
        EXPECT_EQ(w.Layout.Line(row + 1 + k).Kind, lkGrammarNote);
        EXPECT_EQ(LineText(card, row + 1 + k), std::wstring(w.Layout.Line(row).SubLines[k].Text));
    }
    EXPECT_EQ(LineText(card, row + 1 + notes), after);
    const RECT expanded = ScreenRect(card);
    EXPECT_GT(expanded.right - expanded.left, before.right - before.left); // the notes are the widest lines
    EXPECT_EQ(expanded.right - expanded.left, GetSystemMetrics(SM_CXVSCROLL) + w.ContentWidth + 20);
    EXPECT_EQ(expanded.bottom - expanded.top, before.bottom - before.top);
    EXPECT_EQ(expanded.left, before.left);

    Click(card);
    EXPECT_EQ(w.Layout.LineCount, lines);
    EXPECT_EQ(w.Layout.Line(row).Expanded, 0);
    EXPECT_EQ(LineText(card, row + 1), after);
    const RECT collapsed = ScreenRect(card);
    EXPECT_EQ(collapsed.right - collapsed.left, before.right - before.left);
    EXPECT_EQ(collapsed.bottom - collapsed.top, before.bottom - before.top);
}

TEST_F(CardTest, CopyingPartOfALineTurnsMarkUpIntoBlanks) {
    const HWND card = CardWindow_Show(L"ай", false, true);
    ASSERT_NE(card, nullptr);
    const int32_t line = FindText(card, L"z1.g луна");
    ASSERT_GE(line, 0);
    const std::wstring text = LineText(card, line);

    Drag(card, line, 0, line, 9);
    Copy(card);
    EXPECT_EQ(Clipboard().GetWideText(), L" 1.  луна\r\n");

    const int32_t from = static_cast<int32_t>(text.find(L"месяц {"));
    Drag(card, line, from, line, from + 18);
    Copy(card);
    EXPECT_EQ(Clipboard().GetWideText(), L"месяц  часть года \r\n");
    EXPECT_TRUE(CardTestReports().empty());
}

TEST_F(CardTest, UpwardAndDownwardDragsCopyTheSameText) {
    const HWND card = CardWindow_Show(L"ай", false, true);
    ASSERT_NE(card, nullptr);
    const int32_t top = FindText(card, L"z1.g луна");
    const int32_t bottom = FindText(card, L"ай!, ой!");
    ASSERT_GE(top, 0);
    ASSERT_EQ(bottom, top + 2);

    Drag(card, top, 5, bottom, 4);
    Copy(card);
    const std::wstring downward = Clipboard().GetWideText();
    Drag(card, bottom, 4, top, 5);
    Copy(card);
    const std::wstring upward = Clipboard().GetWideText();

    EXPECT_EQ(downward, L"луна, месяц;  2.  месяц  часть года ; ~ саен – ежемесячно\r\nай\r\nай!,\r\n");
    EXPECT_EQ(upward, downward);
}

TEST_F(CardTest, SelectAllAndCopyGiveTheTranslationOfAnInflectedWord) {
    const HWND card = CardWindow_Show(L"китапларны", false, true);
    ASSERT_NE(card, nullptr);
    SelectAll(card);
    Copy(card);
    const std::wstring text = Clipboard().GetWideText();
    EXPECT_EQ(text.rfind(L"КИТАПЛАРНЫ\r\nКИТАП/ЛАР/НЫ\r\n", 0), 0u) << text.size();
    EXPECT_NE(text.find(L"\r\nкитап\r\nкнига\r\n"), std::wstring::npos);
    EXPECT_EQ(Count(text, L"\r\n"), static_cast<size_t>(Data(card).Layout.LineCount));
}

TEST_F(CardTest, CopyInsideAnOpenClipboardKeepsItOpenAndKeepsTatarLetters) {
    const HWND card = CardWindow_Show(L"күршеләргә", false, true);
    ASSERT_NE(card, nullptr);
    Clipboard().Open();
    SelectAll(card);
    Copy(card);
    EXPECT_EQ(Clipboard().OpenCount(), 1);
    EXPECT_NE(GetOpenClipboardWindow(), nullptr);
    Clipboard().Close();
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    const std::wstring text = Clipboard().GetWideText();
    EXPECT_EQ(text.rfind(L"КҮРШЕЛӘРГӘ\r\nКҮРШЕ/ЛӘР/ГӘ\r\n", 0), 0u);
    EXPECT_NE(text.find(L"\r\nкүрше\r\nсосед, соседка;"), std::wstring::npos);
    EXPECT_TRUE(CardTestReports().empty());
}

TEST_F(CardTest, ClipboardHeldElsewhereIsReportedAndTheCardGoesOn) {
    const HWND card = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(card, nullptr);
    const HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    SelectAll(card);
    Copy(card);
    {
        TControlKey control;
        SendMessageW(card, WM_KEYDOWN, 'C', 0);
    }
    CloseClipboard();
    DestroyWindow(other);
    EXPECT_EQ(CardTestReports(), (std::vector<std::wstring>{L"Cannot open clipboard", L"Cannot open clipboard"}));
    EXPECT_EQ(Clipboard().OpenCount(), 0);
    ASSERT_TRUE(CardWindow_IsCard(card));

    Copy(card);
    EXPECT_NE(Clipboard().GetWideText().find(L"книга"), std::wstring::npos);
    EXPECT_EQ(CardTestReports().size(), 2u);
}

TEST_F(CardTest, ScrollRequestsAndArrowKeys) {
    block_.CardMaxLines = 2;
    const HWND card = CardWindow_Show(L"ай", false, true);
    ASSERT_NE(card, nullptr);
    TWindowData& w = Data(card);
    ASSERT_GE(w.ScrollMax, 2);
    const int32_t headword = FindLine(card, lkHeadword, FindLine(card, lkHeadword) + 1); // the second one
    ASSERT_GT(headword, 0);
    const int32_t expected = std::min(headword, w.ScrollMax);

    SendMessageW(card, WM_CARD_SCROLL_TO_TAG, static_cast<WPARAM>(w.Layout.Line(headword).Tag), 0);
    EXPECT_EQ(w.ScrollPos, expected);
    EXPECT_EQ(GetScrollPos(card, SB_VERT), expected);
    SendMessageW(card, WM_CARD_SCROLL_TO_TAG, 0, 0);
    EXPECT_EQ(w.ScrollPos, 0);

    block_.CurDict = w.Layout.Line(headword).Dict;
    block_.CurEntry = w.Layout.Line(headword).Entry;
    SendMessageW(card, WM_CARD_SCROLL_TO_ENTRY, 0, 0);
    EXPECT_EQ(w.ScrollPos, expected);

    SendMessageW(card, WM_CARD_SCROLL_TO_TAG, 0, 0);
    EXPECT_EQ(SendMessageW(card, WM_KEYDOWN, VK_DOWN, 0), 1);
    EXPECT_EQ(w.ScrollPos, 1);
    EXPECT_EQ(SendMessageW(card, WM_KEYDOWN, VK_UP, 0), 1);
    EXPECT_EQ(w.ScrollPos, 0);
    EXPECT_EQ(SendMessageW(card, WM_KEYDOWN, VK_UP, 0), 0);
    EXPECT_EQ(w.ScrollPos, 0);
}

TEST_F(CardTest, EscapeClosesAFocusedCardAndOnlyIt) {
    const HWND other = CardWindow_Show(L"китап", false, true);
    const HWND card = CardWindow_Show(L"бала", false, true);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(card, nullptr);
    SetForegroundWindow(card);
    SetFocus(card);
    PostMessageW(card, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(card); }, 2000));
    EXPECT_TRUE(IsWindow(other));
    DestroyWindow(other);
}

TEST_F(CardTest, TitleAndHeadwordClicksAskTheMainProgram) {
    TMainMessageWindow main;
    block_.MainMesgWindow = HandleToLong(main.Window());
    block_.RunState = rsRunning;
    block_.CurDict = 5;
    block_.CurEntry = 77;
    const HWND card = CardWindow_Show(L"ай", false, true);
    ASSERT_NE(card, nullptr);
    const int32_t title = FindLine(card, lkTitle);
    const int32_t first = FindLine(card, lkHeadword);
    const int32_t second = FindLine(card, lkHeadword, first + 1);
    const int32_t article = FindLine(card, lkArticle, second);
    ASSERT_TRUE(title > 0 && first > title && second > first && article > second);
    const TLineLayout& layout = Data(card).Layout;

    MoveCursorTo(card, title, 2);
    Click(card);
    EXPECT_EQ(block_.CurDict, layout.Line(title).Dict);
    EXPECT_EQ(block_.CurEntry, 0);
    EXPECT_EQ(main.Resyncs(), 1);

    MoveCursorTo(card, second, 1);
    Click(card);
    EXPECT_EQ(block_.CurEntry, layout.Line(second).Entry);
    EXPECT_NE(block_.CurEntry, 0);
    EXPECT_EQ(main.Resyncs(), 2);

    // Article lines and the word line ask nothing.
    MoveCursorTo(card, article, 2);
    Click(card);
    MoveCursorTo(card, 0, 1);
    Click(card);
    EXPECT_EQ(main.Resyncs(), 2);
    EXPECT_EQ(block_.CurEntry, layout.Line(second).Entry);

    // While the main program is being started the entry is still made current.
    block_.RunState = rsLaunchRequested;
    MoveCursorTo(card, first, 1);
    Click(card);
    EXPECT_EQ(block_.CurEntry, layout.Line(first).Entry);
    EXPECT_EQ(main.Resyncs(), 2);
}

TEST_F(CardTest, ContextMenuCommandsInBothLanguages) {
    const HWND card = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(card, nullptr);
    TWindowData& w = Data(card);
    const struct {
        uint8_t Language;
        const wchar_t* Copy;
        const wchar_t* SelectAll;
    } languages[] = {{langTatar, L"Күчермә ясау", L"Бөтенесен билгеләү"},
                     {langRussian, L"Копировать", L"Выделить всё"}};
    for (const auto& language : languages) {
        block_.UILanguage = language.Language;
        const TOwnedMenu menu = CardWindow_CreateMenu();
        ASSERT_EQ(GetMenuItemCount(menu.Get()), 2);
        wchar_t caption[32] = {};
        GetMenuStringW(menu.Get(), 0, caption, 32, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(caption), language.Copy);
        GetMenuStringW(menu.Get(), 1, caption, 32, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(caption), language.SelectAll);

        Clipboard().SetWideText(L"мәтен");
        ShowText_StartSelection(w, {0, 0});
        w.SelVisible = 0;
        SendMessageW(card, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu.Get(), 1), 0), 0);
        EXPECT_EQ(w.SelVisible, 1);
        for (int32_t i = 0; i < w.Layout.LineCount; ++i) {
            EXPECT_EQ(w.Layout.Line(i).SelCount, w.Layout.Line(i).Length) << i;
        }
        // Only menu commands: not from a control, not an accelerator.
        SendMessageW(card, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu.Get(), 0), 1), 0);
        SendMessageW(card, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu.Get(), 0), 0), reinterpret_cast<LPARAM>(card));
        EXPECT_EQ(Clipboard().GetWideText(), L"мәтен");
        SendMessageW(card, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu.Get(), 0), 0), 0);
        EXPECT_EQ(Clipboard().GetWideText(), L"КИТАП\r\nТатарча-русча сүзлек\r\nкитап\r\nкнига\r\n");
    }

    // Ctrl+M selects all as well.
    ShowText_StartSelection(w, {0, 0});
    {
        TControlKey control;
        SendMessageW(card, WM_KEYDOWN, 'M', 0);
    }
    EXPECT_EQ(w.Layout.Line(w.Layout.LineCount - 1).SelCount, w.Layout.Line(w.Layout.LineCount - 1).Length);
}

TEST_F(CardTest, CursorsFollowLinesAndLinks) {
    const HWND card = CardWindow_Show(L"бару", false, true);
    ASSERT_NE(card, nullptr);
    TWindowData& w = Data(card);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR beam = LoadCursorW(nullptr, IDC_IBEAM);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR byKind[] = {beam, hand, hand, hand, beam, beam};
    for (int32_t i = 0; i < w.Layout.LineCount; ++i) {
        CardWindow_SetRowCursor(w, i);
        EXPECT_EQ(ClassCursor(card), byKind[w.Layout.Line(i).Kind]) << i;
    }
    CardWindow_SetRowCursor(w, -1);
    EXPECT_EQ(ClassCursor(card), arrow);

    const int32_t line = FindText(card, L"\x0402килү");
    ASSERT_GE(line, 0);
    MoveCursorTo(card, line, static_cast<int32_t>(LineText(card, line).find(L'\x0402')) + 2);
    SendMessageW(card, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(ClassCursor(card), hand);
    MoveCursorTo(card, line, 2);
    SendMessageW(card, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(ClassCursor(card), beam);
}

TEST_F(CardTest, AFocusedCardShowsItsCaretWhereTheCaretIs) {
    block_.CardMaxLines = 2;
    const HWND card = CardWindow_Show(L"ай", false, true);
    ASSERT_NE(card, nullptr);
    SetFocus(card);
    ASSERT_EQ(GetFocus(), card);
    const TWindowData& w = Data(card);
    const UINT keys[] = {0, VK_END, VK_DOWN, VK_LEFT, VK_DOWN, VK_DOWN, VK_HOME}; // the last downs scroll
    for (const UINT key : keys) {
        if (key != 0) {
            SendMessageW(card, WM_KEYDOWN, key, 0);
        }
        const TDisplayLine& line = w.Layout.Line(w.CaretLine);
        POINT caret = {};
        ASSERT_TRUE(GetCaretPos(&caret));
        EXPECT_EQ(caret.x, line.CharX[w.CaretChar] - 1) << key;
        EXPECT_EQ(caret.y, line.Rect.Top - w.Layout.FirstPixel) << key;
    }
    ASSERT_EQ(w.CaretChar, 0);
    ASSERT_EQ(w.CaretLine, 3);
    ASSERT_GT(w.Layout.FirstPixel, 0);
    // At the start of a line the caret stands on the blank margin, which it turns black.
    POINT caret = {};
    GetCaretPos(&caret);
    EXPECT_TRUE(TurnsBlack(card, {caret.x, caret.y + w.Layout.TextHeight / 2}));
}

TEST_F(CardTest, OnlyTheTopAndBottomEdgesResize) {
    const HWND card = CardWindow_Show(L"китап", false, true);
    ASSERT_NE(card, nullptr);
    const RECT r = ScreenRect(card);
    const LONG midX = (r.left + r.right) / 2;
    const LONG midY = (r.top + r.bottom) / 2;
    auto hit = [&](LONG x, LONG y) { return SendMessageW(card, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    auto plain = [&](LONG x, LONG y) { return DefWindowProcW(card, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };

    ASSERT_EQ(plain(r.left + 1, midY), HTLEFT);
    EXPECT_EQ(hit(r.left + 1, midY), HTNOWHERE);
    ASSERT_EQ(plain(r.right - 2, midY), HTRIGHT);
    EXPECT_EQ(hit(r.right - 2, midY), HTNOWHERE);
    ASSERT_EQ(plain(r.left + 1, r.top + 1), HTTOPLEFT);
    EXPECT_EQ(hit(r.left + 1, r.top + 1), HTNOWHERE);
    ASSERT_EQ(plain(r.right - 2, r.bottom - 2), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(r.right - 2, r.bottom - 2), HTNOWHERE);
    EXPECT_EQ(hit(midX, r.top + 1), HTTOP);
    EXPECT_EQ(hit(midX, r.bottom - 2), HTBOTTOM);
    EXPECT_EQ(hit(midX, midY), HTCLIENT);
}

TEST_F(CardTest, ACardClassWindowWithoutDataGetsTheDefaultOnly) {
    const HWND bare = CreateWindowExW(0, CardWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 200, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    Clipboard().SetWideText(L"мәтен");
    const UINT messages[] = {WM_SIZE,
                             WM_SETFOCUS,
                             WM_KILLFOCUS,
                             WM_PAINT,
                             WM_KEYDOWN,
                             WM_MOUSEMOVE,
                             WM_LBUTTONDOWN,
                             WM_LBUTTONUP,
                             WM_VSCROLL,
                             WM_CARD_SCROLL_TO_ENTRY,
                             WM_CARD_SCROLL_TO_TAG};
    for (const UINT message : messages) {
        SendMessageW(bare, message, message == WM_MOUSEMOVE ? MK_LBUTTON : VK_DOWN, 0);
    }
    EXPECT_EQ(SendMessageW(bare, WM_VSCROLL, SB_LINEDOWN, 0), 0);
    SendMessageW(bare, WM_COMMAND, MAKEWPARAM(0, 0), 0);
    SendMessageW(bare, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    EXPECT_EQ(ViewDragTimerOwner(), nullptr);
    EXPECT_EQ(Clipboard().GetWideText(), L"мәтен");
    EXPECT_FALSE(CardWindow_IsCard(bare));
    DestroyWindow(bare);
    EXPECT_EQ(CardWindow_LastCard(), GetDesktopWindow());
    EXPECT_TRUE(CardTestReports().empty());
}

TEST_F(CardTest, CaughtExceptionsAreReportedWithTheirText) {
    try {
        throw EClipboardError(L"Cannot open clipboard");
    } catch (...) {
        ReportCurrentException();
    }
    try {
        throw std::runtime_error("сбой");
    } catch (...) {
        ReportCurrentException();
    }
    try {
        throw 5;
    } catch (...) {
        ReportCurrentException();
    }
    ASSERT_EQ(CardTestReports().size(), 3u);
    EXPECT_EQ(CardTestReports()[0], L"Cannot open clipboard");
    EXPECT_EQ(CardTestReports()[1], L"сбой");
    EXPECT_FALSE(CardTestReports()[2].empty());
}
