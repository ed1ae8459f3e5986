// The popup's compact lines: the per-entry budgets, tags and hits on the lines, the lines left
// out, and results without analyses or hits.

#include "tray/PopupLines.h"

#include <list>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "core/UILanguage.h"
#include "display/TextFormat.h"

namespace {

// Texts the result points to live as long as the test (a list: its texts never move).
struct TTestResult {
    TLangSearchResult Result;
    std::list<std::wstring> Texts;

    const wchar_t* Keep(const std::wstring& text) { return Texts.emplace_back(text).c_str(); }
};

// A translation far longer than 16 lines of 63 units.
std::wstring LongArticle() {
    std::wstring text;
    for (int i = 0; i < 300; ++i) {
        text += L"сүз ";
    }
    return text;
}

TTestResult ResultWithHits(int hits) {
    TTestResult test;
    test.Result.Word = L"китаплар";
    TBaseSearchResult analysis;
    analysis.SplitForm = L"китап/лар";
    TDictSearchResult dict;
    dict.DictIndex = 2;
    const wchar_t* article = test.Keep(LongArticle());
    const wchar_t* headword = test.Keep(L"китап");
    for (int i = 0; i < hits; ++i) {
        dict.Items.push_back({static_cast<uint32_t>(100 + i), headword, article, 0, 0});
    }
    analysis.Dictionaries.push_back(dict);
    test.Result.Results.push_back(analysis);
    return test;
}

std::wstring TextOf(const TDisplayLine& line) {
    return std::wstring(line.Text, static_cast<size_t>(line.Length));
}

} // namespace

TEST(PopupLines, TheBudgetOfEachHitFollowsTheNumberOfHits) {
    const struct {
        int Hits;
        int32_t Lines;
    } cases[] = {{1, 16}, {2, 8}, {5, 3}, {16, 1}, {17, 1}, {40, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Hits);
        const TTestResult test = ResultWithHits(c.Hits);
        int32_t perEntry = 0;
        const int32_t counted = CountPopupLines(test.Result, kPopupLineWidth, perEntry);
        EXPECT_EQ(perEntry, c.Lines);
        TLineLayout layout;
        ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
        EXPECT_EQ(layout.LineCount, counted);
        EXPECT_EQ(layout.Capacity, counted);
        std::map<int32_t, int32_t> textLines; // by tag
        for (int32_t i = 0; i < layout.LineCount; ++i) {
            const TDisplayLine& line = layout.Line(i);
            if (line.Kind == lkArticle) {
                ++textLines[line.Tag];
                EXPECT_LE(line.Length, kPopupLineWidth);
                EXPECT_GT(line.Length, 0);
            }
        }
        ASSERT_EQ(textLines.size(), static_cast<size_t>(c.Hits));
        for (const auto& [tag, lines] : textLines) {
            EXPECT_EQ(lines, c.Lines) << "tag " << tag;
        }
        EXPECT_EQ(layout.LineCount, 2 + c.Hits * (1 + c.Lines));
    }
}

TEST(PopupLines, LinesCarryTheirKindTagStyleAndHit) {
    TTestResult test = ResultWithHits(2);
    test.Result.Results.front().Dictionaries.front().Items[1].Article = test.Keep(L"@бала$ һәм Ђкитап");
    TLineLayout layout;
    ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
    EXPECT_EQ(std::wstring(layout.Word), L"КИТАПЛАР");
    const struct {
        uint8_t Kind;
        int32_t Tag;
        int32_t Dict;
        int32_t Entry;
    } expected[] = {{lkWord, 0, 0, 0}, {lkAnalysis, 1, 0, 0}, {lkHeadword, 2, 2, 100}};
    for (int32_t i = 0; i < 3; ++i) {
        const TDisplayLine& line = layout.Line(i);
        EXPECT_EQ(line.Kind, expected[i].Kind) << i;
        EXPECT_EQ(line.Tag, expected[i].Tag) << i;
        EXPECT_EQ(line.Dict, expected[i].Dict) << i;
        EXPECT_EQ(line.Entry, expected[i].Entry) << i;
        EXPECT_EQ(line.Colour, LineStyles[line.Kind].Colour) << i;
        EXPECT_EQ(line.Indent, LineStyles[line.Kind].Indent) << i;
    }
    EXPECT_EQ(TextOf(layout.Line(0)), L"КИТАПЛАР");
    EXPECT_EQ(TextOf(layout.Line(1)), L"КИТАП/ЛАР");
    EXPECT_EQ(TextOf(layout.Line(2)), L"китап");
    // The second hit: its translation lines carry its hit, and the mark-up stays.
    const TDisplayLine& last = layout.Line(layout.LineCount - 1);
    EXPECT_EQ(last.Kind, lkArticle);
    EXPECT_EQ(last.Tag, 3);
    EXPECT_EQ(last.Dict, 2);
    EXPECT_EQ(last.Entry, 101);
    EXPECT_EQ(TextOf(last), L"@бала$ һәм Ђкитап");
    EXPECT_EQ(layout.SubLineTotal, 0);
}

TEST(PopupLines, EmptySplitFormsHeadwordsAndWordsMakeNoLinesOfTheirOwn) {
    TTestResult test = ResultWithHits(1);
    TBaseSearchResult& analysis = test.Result.Results.front();
    analysis.SplitForm.clear();
    analysis.Dictionaries.front().Items.front().Headword = test.Keep(L"");
    analysis.Dictionaries.front().Items.front().Article = test.Keep(L"кыска");
    test.Result.Word.clear();
    TLineLayout layout;
    ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
    ASSERT_EQ(layout.LineCount, 2);
    EXPECT_EQ(layout.Line(0).Kind, lkWord); // an empty word line stays line 0
    EXPECT_EQ(layout.Line(0).Length, 0);
    EXPECT_EQ(layout.Line(1).Kind, lkArticle);
    EXPECT_EQ(layout.Line(1).Tag, 0); // the empty word took no tag
    EXPECT_EQ(TextOf(layout.Line(1)), L"кыска");
}

TEST(PopupLines, ALongHeadwordIsCutToALinesRoom) {
    TTestResult test = ResultWithHits(1);
    test.Result.Results.front().Dictionaries.front().Items.front().Headword = test.Keep(std::wstring(300, L'к'));
    TLineLayout layout;
    ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
    EXPECT_EQ(layout.Line(2).Kind, lkHeadword);
    EXPECT_EQ(TextOf(layout.Line(2)), std::wstring(kMaxLineLength, L'к'));
}

TEST(PopupLines, NoAnalysisGivesFalseAndNoLines) {
    TLangSearchResult empty;
    empty.Word = L"юк";
    TLineLayout layout;
    layout.LineCount = 7;
    EXPECT_FALSE(BuildPopupLines(layout, empty, kPopupLineWidth));
    EXPECT_EQ(layout.LineCount, 0);
    EXPECT_EQ(layout.Lines, nullptr);
}

TEST(PopupLines, AnAnalysisWithoutHitsCountsWithoutDividingByZero) {
    EXPECT_EQ(LinesPerEntry(0), kPopupTextLines);
    EXPECT_EQ(LinesPerEntry(-3), kPopupTextLines);
    TTestResult test = ResultWithHits(0);
    EXPECT_EQ(CountResultEntries(test.Result), 0);
    TLineLayout layout;
    ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
    EXPECT_EQ(layout.LineCount, 2); // the word and the analysis
}

TEST(PopupLines, AResultOfManyHitsStopsAtTheLimitWithALineSayingSo) {
    // Two lines a hit after the word and the analysis; one line stays for the note.
    const struct {
        int Hits;
        int32_t Lines;
        bool Cut;
    } cases[] = {{100000, kMaxLayoutLines, true}, {999, kMaxLayoutLines, true}, {998, kMaxLayoutLines - 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Hits);
        const TTestResult test = ResultWithHits(c.Hits);
        int32_t perEntry = 0;
        TLineLayout layout;
        ASSERT_TRUE(BuildPopupLines(layout, test.Result, kPopupLineWidth));
        EXPECT_EQ(CountPopupLines(test.Result, kPopupLineWidth, perEntry), layout.LineCount);
        EXPECT_EQ(layout.Capacity, layout.LineCount);
        ASSERT_EQ(layout.LineCount, c.Lines);
        const TDisplayLine& last = layout.Line(layout.LineCount - 1);
        EXPECT_EQ(TextOf(last) == LayoutCutTexts[CurrentUILanguage()], c.Cut);
        EXPECT_EQ(last.Tag, c.Cut ? -1 : c.Hits + 1);
    }
}
