#include "main/ListBrowser.h"

#include <gtest/gtest.h>

#include "core/GlobalCustoms.h"
#include "main/html/HtmlValues.h"
#include "tests/main/ControlsTestSupport.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

constexpr int kRows = 18;

// The list's controls on a hidden window, as the main window lays them out.
class ListBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < kRows; ++k) {
            rows_[k] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 2, 2 + 18 * k, 190, 18,
                                       host_.Window(), nullptr, nullptr, nullptr);
            handler_.AddRow(rows_[k]);
        }
        handler_.RowCount = kRows;
        scrollBar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 191, 2, 18, 322,
                                     host_.Window(), nullptr, nullptr, nullptr);
        handler_.AttachScrollBar(scrollBar_);
        handler_.Browser = TTextBrowser::Create(host_.Window(), 220, 0, 260, 300);
        handler_.AttachEdit(&word_);
        handler_.KeyEdit = &key_;
        handler_.OnWordChange = [this](TObject*) { ++changes_; };
    }

    TDictHandle& Open(std::vector<TTestEntry> entries, TLanguage direction = langTatar) {
        return dicts_.Open(TestDictImage(entries, direction, L"Сынау"));
    }

    std::wstring CurrentHeadword() const { return handler_.Headword(handler_.Current); }
    std::wstring RowCaption(int k) const { return WindowText(rows_[k]); }
    int ScrollPos() const { return GetScrollPos(scrollBar_, SB_CTL); }
    void Key(TKeyCode key) { handler_.KeyDown(&key_, key, 0); }

    TTestCustoms customs_;
    TOpenDictionaries dicts_;
    TTestHost host_;
    HWND rows_[kRows] = {};
    HWND scrollBar_ = nullptr;
    TEdit_Qel word_{host_.Window()};
    TEdit_Qel key_{host_.Window()};
    THandler handler_;
    int changes_ = 0;
};

TEST(ListBrowserText, ArticleTextIsEscapedAndItsMarkersBecomeTags) {
    struct Case {
        const wchar_t* Article;
        const wchar_t* Html;
    } cases[] = {
        {L"a<b>&c", L"a&lt;b&gt;&amp;c"},
        {L"zbold g", L" <B>bold  </B>"},
        // The letters of an entity are never taken for markers.
        {L">g", L"&gt; </B>"},
        {L"@link$", L" <U>link </U>"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArticleToHtml(c.Article), c.Html) << static_cast<int>(wcslen(c.Article));
    }
    EXPECT_EQ(EscapeHtml(L"<&>z"), L"&lt;&amp;&gt;z");
}

TEST_F(ListBrowserTest, RowsShowHeadwordsWithTheHomonymsNumerals) {
    TDictHandle& dict = Open({{L"ак", 0, L"x", posNoun},
                              {L"ал", 1, L"x", posNoun},
                              {L"ам", 2, L"x", posNoun},
                              {L"ан", 20, L"x", posNoun},
                              {L"ап", 4, L"x", posNoun}});
    handler_.Attach(dict, 0);
    const wchar_t* expected[] = {L" ак", L" ал I", L" ам II", L" ан XX", L" ап IV"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(RowCaption(k), expected[k]);
    }
    EXPECT_EQ(RowCaption(5), L"");
}

TEST_F(ListBrowserTest, TypingFollowsTheLongestMatchingPrefix) {
    TDictHandle& dict = Open(TatarEntries());
    handler_.Attach(dict, 0);
    struct Case {
        const wchar_t* Typed;
        const wchar_t* Current;
    } cases[] = {
        {L"а", L"а"},    {L"аб", L"аб"}, {L"абв", L"абв"}, {L"абвг", L"абв"},
        {L"абя", L"аб"}, {L"ак", L"ак"}, {L"ту", L"ту"},   {L"я", L"ту"}, // nothing begins with it: the entry stays
        {L"", L"ту"},
    };
    for (const Case& c : cases) {
        word_.SetText(c.Typed);
        EXPECT_EQ(CurrentHeadword(), c.Current) << static_cast<int>(wcslen(c.Typed));
        EXPECT_EQ(word_.Text(), c.Typed); // the text stays as typed
    }
    word_.SetText(L"ак");
    EXPECT_EQ(handler_.Current, EntryOf(dict, L"ак", 1)); // the first of the homonyms
    EXPECT_EQ(handler_.FindPrefix(L""), -1);
    EXPECT_EQ(handler_.FindPrefix(L"я"), -1);
}

TEST_F(ListBrowserTest, AfterScrollingAwayTheFirstKeyBringsTheEntryBack) {
    TDictHandle& dict = Open(TatarEntries());
    handler_.Attach(dict, 0);
    handler_.SelectEntry(5);
    handler_.ScrollBarScroll(SB_PAGEDOWN, 0);
    handler_.ScrollBarScroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(handler_.Rows.front().Entry, dict.EntryCount - kRows);
    EXPECT_EQ(handler_.Highlighted, nullptr);
    EXPECT_EQ(handler_.Current, 5); // scrolling never moves the entry
    for (const TKeyCode key : {keyDown, keyUp, keyPageDown, keyPageUp}) {
        handler_.ScrollBarScroll(SB_THUMBTRACK, 20);
        EXPECT_EQ(ScrollPos(), 20);
        Key(key);
        EXPECT_EQ(handler_.Current, 5) << key;
        EXPECT_EQ(handler_.Rows.front().Entry, 5) << key;
        EXPECT_NE(handler_.Highlighted, nullptr);
    }
    handler_.ScrollBarScroll(SB_LINEUP, 0);
    EXPECT_EQ(handler_.Rows.front().Entry, 4);
    handler_.ScrollBarScroll(SB_THUMBTRACK, 1000); // past the end: the last page
    EXPECT_EQ(handler_.Rows.front().Entry, dict.EntryCount - kRows);
}

TEST_F(ListBrowserTest, SmallAndEmptyDictionariesStayInsideTheirIndex) {
    TDictHandle& small = Open({{L"ак", 0, L"x", posNoun}, {L"ал", 0, L"y", posNoun}, {L"ам", 0, L"z", posNoun}});
    handler_.Attach(small, 0);
    EXPECT_EQ(RowCaption(2), L" ам");
    EXPECT_EQ(RowCaption(3), L"");
    EXPECT_EQ(handler_.Rows[3].Entry, -1);
    for (const TKeyCode key : {keyPageDown, keyEnd, keyDown, keyPageUp}) {
        Key(key);
        for (const THandler::TRow& row : handler_.Rows) {
            EXPECT_LT(row.Entry, 3);
        }
    }
    EXPECT_EQ(handler_.ScrollBy(5), 0);
    handler_.ScrollBarScroll(SB_PAGEDOWN, 0);
    handler_.ScrollBarScroll(SB_THUMBTRACK, 7);
    EXPECT_EQ(handler_.Rows.front().Entry, 0);
    handler_.SelectEntry(100);
    EXPECT_EQ(handler_.Current, 2);
    handler_.RowClick(rows_[5]); // an empty row
    EXPECT_EQ(handler_.Current, 2);

    TDictHandle& empty = Open({});
    handler_.Attach(empty, 1);
    EXPECT_EQ(handler_.Current, -1);
    EXPECT_EQ(RowCaption(0), L"");
    Key(keyEnd);
    handler_.ScrollBarScroll(SB_LINEDOWN, 0);
    word_.SetText(L"а");
    EXPECT_EQ(handler_.Current, -1);
    EXPECT_EQ(handler_.Browser.Text(), L"");
}

TEST_F(ListBrowserTest, ArticleShowsItsOwnDictionaryAndPublishesItWithTheEntry) {
    TDictHandle& russian = Open(RussianEntries(), langRussian);
    TDictHandle& tatar = Open(TatarEntries());
    (void)russian;
    handler_.Attach(tatar, 0);
    word_.SetText(L"абв");
    // Text with '<', '>' and '&' shows as it stands.
    EXPECT_EQ(handler_.Browser.Text(), L"абв\rabv <a> & b");
    // A popup of the other program made another dictionary current meanwhile.
    customs_->CurDict = 3;
    customs_->CurEntry = 0;
    Key(keyDown);
    EXPECT_EQ(customs_->CurDict, 0);
    EXPECT_EQ(customs_->CurEntry, EntryOf(tatar, L"ак", 1));
    EXPECT_EQ(handler_.Browser.Text(), L"ак\rбелый");
    EXPECT_EQ(tatar.CurFlags, posAdjective);
}

TEST_F(ListBrowserTest, ARowClickWritesItsHeadwordWithoutSearchingAgain) {
    TDictHandle& dict = Open(TatarEntries());
    handler_.Attach(dict, 0);
    const int32_t second = EntryOf(dict, L"ак", 2);
    handler_.SelectEntry(second);
    const int before = changes_;
    handler_.RowClick(handler_.Highlighted);
    const int32_t third = EntryOf(dict, L"ак", 3);
    HWND thirdRow = nullptr;
    for (const THandler::TRow& row : handler_.Rows) {
        thirdRow = row.Entry == third ? row.Label : thirdRow;
    }
    ASSERT_NE(thirdRow, nullptr);
    handler_.RowClick(thirdRow);
    EXPECT_EQ(handler_.Current, third); // a search for "ак" would have gone to the first homonym
    EXPECT_EQ(word_.Text(), L"ак");
    EXPECT_EQ(handler_.Highlighted, thirdRow);
    EXPECT_GT(changes_, before); // the main window still hears of the word
    EXPECT_EQ(key_.Text(), L"");
}

} // namespace
