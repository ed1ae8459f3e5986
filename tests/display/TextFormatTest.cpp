#include "display/TextFormat.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/UILanguage.h"

namespace {

// Every chunk the layout would make of a text.
std::vector<std::wstring> Chunks(const wchar_t* text, int32_t minimum, int32_t maximum) {
    std::vector<std::wstring> chunks;
    const wchar_t* p = text;
    while (*p != 0) {
        int32_t length = -1;
        FindLineBreak(minimum, p, length, maximum);
        chunks.emplace_back(p, length);
        p += length;
    }
    return chunks;
}

std::wstring LineText(const TDisplayLine& line) {
    return std::wstring(line.Text, line.Length);
}

} // namespace

TEST(MarkupClasses, EachCharacterBelongsToItsClasses) {
    struct Case {
        wchar_t C;
        bool Marker, On, Off, LinkOpen, LinkClose, Break;
    };
    const Case cases[] = {
        {L'@', true, false, false, true, false, true},     {L'$', true, false, false, false, true, true},
        {L'\x0402', true, false, false, true, false, false}, {L'\x0403', true, false, false, false, true, false},
        {L'`', true, true, false, false, false, true},     {L'^', true, false, true, false, false, true},
        {L'{', true, true, false, false, false, true},     {L'}', true, false, true, false, false, true},
        {L'z', true, true, false, false, false, false},    {L'g', true, false, true, false, false, false},
        {L' ', false, false, false, false, false, true},   {L'a', false, false, false, false, false, false},
        {L'&', false, false, false, false, false, false},  {L'\x0120', false, false, false, false, false, false},
        {L'\x0140', false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.C));
        EXPECT_EQ(IsStyleMarker(c.C), c.Marker);
        EXPECT_EQ(IsStyleOn(c.C), c.On);
        EXPECT_EQ(IsStyleOff(c.C), c.Off);
        EXPECT_EQ(IsLinkOpen(c.C), c.LinkOpen);
        EXPECT_EQ(IsLinkClose(c.C), c.LinkClose);
        EXPECT_EQ(IsBreakChar(c.C), c.Break);
    }
}

TEST(MarkupClasses, TagsAndStyleBitsOfEachMarker) {
    struct Case {
        wchar_t C;
        std::wstring Tag;
        int32_t Bits;
    };
    const Case cases[] = {
        {L'@', L"<U>", 0},  {L'$', L"</U>", 0}, {L'\x0402', L"", 0}, {L'\x0403', L"", 0},
        {L'`', L"<I>", 1},  {L'^', L"</I>", 1}, {L'{', L"<I>", 1},   {L'}', L"</I>", 1},
        {L'z', L"<B>", 4},  {L'g', L"</B>", 4}, {L'x', L"", 0},      {L' ', L"", 0},
    };
    EXPECT_EQ(ExternalStyles.BraceStyle, 1);
    EXPECT_EQ(ExternalStyles.BoldStyle, 4);
    EXPECT_EQ(ExternalStyles.QuoteStyle, 1);
    for (const Case& c : cases) {
        EXPECT_EQ(ExternalStyles.TagFor(c.C), c.Tag) << static_cast<int>(c.C);
        EXPECT_EQ(ExternalStyles.StyleBitFor(c.C), c.Bits) << static_cast<int>(c.C);
    }
}

TEST(MarkupClasses, LineStylesByKind) {
    const TLineStyle expected[6] = {
        {Rgb(0, 0, 255), 4, 0}, {Rgb(0, 64, 255), 4, 0}, {Rgb(0, 0, 128), 0, 1},
        {Rgb(0, 0, 255), 0, 2}, {Rgb(0, 0, 0), 0, 3},    {Rgb(0, 64, 255), 0, 4},
    };
    for (int kind = 0; kind < 6; ++kind) {
        EXPECT_EQ(LineStyles[kind].Colour, expected[kind].Colour) << kind;
        EXPECT_EQ(LineStyles[kind].Style, expected[kind].Style) << kind;
        EXPECT_EQ(LineStyles[kind].Indent, expected[kind].Indent) << kind;
    }
    EXPECT_EQ(LinkColour, 0xFF8000u);
    EXPECT_EQ(UnderlineColour, 0xFF0000u);
    EXPECT_EQ(UnderlineStyle, 2);
    EXPECT_EQ(PopupBackground, 0xD7E8EBu);
    EXPECT_EQ(CardBackground, 0xFFFFFFu);
}

TEST(MarkupConversion, MarkersToTags) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"x@y$", L"x <U>y </U>"},
        {L"`a^", L" <I>a </I>"},
        {L"{a}", L" <I>a </I>"},
        {L"zbg", L" <B>b </B>"},
        {L"\x0402" L"a\x0403", L" a "},
        {L"a&b <c>", L"a&b <c>"},
        {L"", L""},
    };
    for (const auto& [text, html] : cases) {
        EXPECT_EQ(MarkersToTags(text), html);
    }
}

TEST(MarkupConversion, StripMarkers) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"a$", L"a"},       {L"a$b", L"a b"}, {L"@a$", L" a"}, {L"zbg", L" b"},
        {L"\x0402" L"a\x0403", L" a"}, {L"$", L""}, {L"", L""},  {L"a&b", L"a&b"},
    };
    for (const auto& [text, plain] : cases) {
        EXPECT_EQ(StripMarkers(text), plain);
    }
}

TEST(MarkupConversion, StripAmpersands) {
    EXPECT_EQ(StripAmpersands(L"a&b&"), L"a b ");
    wchar_t some[] = L"&&&";
    StripAmpersandsInPlace(some, 2);
    EXPECT_STREQ(some, L"  &");
    wchar_t all[] = L"&x&";
    StripAmpersandsInPlace(all, -1);
    EXPECT_STREQ(all, L" x ");
}

TEST(FindLineBreak, WrapsLikeTheLayout) {
    struct Case {
        const wchar_t* Text;
        int32_t Minimum, Maximum;
        std::vector<std::wstring> Chunks;
    };
    const Case cases[] = {
        {L"ab cd", 3, 3, {L"ab", L"cd"}},
        {L"abcdefghijkl", 5, 8, {L"abcde", L"fghijkl"}},     // no break: cut after the minimum
        {L"abcdefg hij", 5, 8, {L"abcdefg", L"hij"}},        // a break after the minimum moves the cut
        {L"abcdefgh ij", 5, 8, {L"abcdefgh", L"ij"}},        // a break right at the maximum
        {L"   ab", 3, 8, {L"ab"}},
        {L"ab  ", 3, 8, {L"ab  "}},                          // the text's end is the last break
        {L"abcdefg   ", 5, 8, {L"abcdefg ", L""}},            // blanks past the maximum: an empty chunk
        {L"ab@cd$ ef", 4, 4, {L"ab", L"@cd$", L"ef"}},        // the break character starts the next chunk
        {L"абв\x0402гд", 3, 4, {L"абв", L"\x0402гд"}},        // units from 256 up never break
        {L"azgb cd", 2, 6, {L"azgb", L"cd"}},                 // bold markers are letters here
        {L"abc", 2, 3, {L"abc"}},
        {L"x", 5, 0, {L"x"}}, // a maximum below 1 still moves on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Chunks(c.Text, c.Minimum, c.Maximum), c.Chunks) << c.Text;
    }
}

TEST(FindLineBreak, OnlyBlanksLeaveThePointerAtTheEnd) {
    const wchar_t* text = L"   ";
    const wchar_t* p = text;
    int32_t length = -1;
    FindLineBreak(3, p, length, 8);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(p, text + 3);
}

namespace {

// Its blanks run past the width of 63: the last chunk is empty.
const std::wstring kArticleWithBlanks = L"книга" + std::wstring(60, L' ');

TLangSearchResult TwoAnalyses() {
    TLangSearchResult result;
    result.Word = L"китаплар";
    TBaseSearchResult first;
    first.SplitForm = L"китап/лар";
    first.Morphs = {L"'лар' - күплек сан"};
    TDictSearchResult tatar;
    tatar.Title = L"Татарча-русча";
    tatar.DictIndex = 0;
    tatar.Items = {{7, L"китап", kArticleWithBlanks.c_str(), 0, 0}, {8, L"", L"том", 0, 0}};
    TDictSearchResult big;
    big.Title = L"Зур сүзлек";
    big.DictIndex = 2;
    big.Items = {{3, L"китап", L"книга", 0, 0}};
    first.Dictionaries = {tatar, big};
    TBaseSearchResult second; // no suffix: no row of its own
    TDictSearchResult plural;
    plural.Title = L"Татарча-русча";
    plural.DictIndex = 0;
    plural.Items = {{9, L"китаплар", L"книги", 0, 0}};
    second.Dictionaries = {plural};
    result.Results = {first, second};
    return result;
}

struct TExpectedLine {
    uint8_t Kind;
    int32_t Tag, Dict, Entry;
    std::wstring Text;
};

} // namespace

TEST(LayoutSearchResult, LinesOfTwoAnalysesAndTwoDictionaries) {
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, TwoAnalyses(), 63));
    const std::vector<TExpectedLine> expected = {
        {0, 0, 0, 0, L"КИТАПЛАР"},
        {1, 1, 0, 0, L"КИТАП/ЛАР"},
        {2, -1, 0, -1, L"Татарча-русча"},
        {3, 2, 0, 7, L"китап"},
        {4, 2, 0, 0, L"книга" + std::wstring(58, L' ')},
        {4, 2, 0, 0, L""}, // the article ended in blanks
        {4, 3, 0, 0, L"том"}, // empty headword: no line, but a number
        {2, -1, 2, -1, L"Зур сүзлек"},
        {3, 4, 2, 3, L"китап"},
        {4, 4, 0, 0, L"книга"},
        {2, -1, 0, -1, L"Татарча-русча"},
        {3, 5, 0, 9, L"китаплар"},
        {4, 5, 0, 0, L"книги"},
    };
    ASSERT_EQ(layout.LineCount, static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const TDisplayLine& line = layout.Line(static_cast<int32_t>(i));
        SCOPED_TRACE(i);
        EXPECT_EQ(line.Kind, expected[i].Kind);
        EXPECT_EQ(line.Tag, expected[i].Tag);
        EXPECT_EQ(line.Dict, expected[i].Dict);
        EXPECT_EQ(line.Entry, expected[i].Entry);
        EXPECT_EQ(LineText(line), expected[i].Text);
        EXPECT_EQ(line.Text[line.Length], L'\0');
        EXPECT_EQ(line.Colour, LineStyles[line.Kind].Colour);
        EXPECT_EQ(line.Style, LineStyles[line.Kind].Style);
        EXPECT_EQ(line.Indent, LineStyles[line.Kind].Indent);
        EXPECT_EQ(line.SelText(), nullptr);
    }
    EXPECT_STREQ(layout.Word, L"КИТАПЛАР");
    EXPECT_EQ(layout.SubLineTotal, 1);
    EXPECT_EQ(layout.Capacity, layout.LineCount + 1);
    const TDisplayLine& row = layout.Line(1);
    ASSERT_EQ(row.SubCount, 1);
    EXPECT_EQ(std::wstring(row.SubLines[0].Text, row.SubLines[0].Length), L"'лар' - күплек сан");
    EXPECT_EQ(row.SubLines[0].Kind, lkGrammarNote);
    EXPECT_EQ(row.SubLines[0].Indent, 4);
    EXPECT_EQ(row.SubLines[0].Colour, LineStyles[lkGrammarNote].Colour);
}

TEST(LayoutSearchResult, NoAnalysisGivesNoLayout) {
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, TwoAnalyses(), 63));
    TLangSearchResult empty;
    empty.Word = L"юк";
    EXPECT_FALSE(LayoutSearchResult(layout, empty, 63));
    EXPECT_EQ(layout.LineCount, 0);
    EXPECT_EQ(layout.Capacity, 0);
    EXPECT_EQ(layout.Lines, nullptr);
}

TEST(LayoutSearchResult, EmptyWordLeavesLineZeroEmpty) {
    TLangSearchResult result = TwoAnalyses();
    result.Word.clear();
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    EXPECT_EQ(layout.Line(0).Length, 0);
    EXPECT_EQ(layout.Line(0).Kind, lkWord);
    EXPECT_EQ(layout.Word[0], L'\0');
    EXPECT_EQ(layout.Line(1).Kind, lkAnalysis);
    EXPECT_EQ(layout.Line(1).Tag, 0); // the numbering starts with the first row
}

TEST(LayoutSearchResult, TatarLettersAreUpperCased) {
    TLangSearchResult result = TwoAnalyses();
    result.Word = L"әнием";
    result.Results[0].SplitForm = L"әни/ем";
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    EXPECT_EQ(LineText(layout.Line(0)), L"ӘНИЕМ");
    EXPECT_STREQ(layout.Word, L"ӘНИЕМ");
    EXPECT_EQ(LineText(layout.Line(1)), L"ӘНИ/ЕМ");
}

TEST(LayoutSearchResult, LongTitlesAndHeadwordsAreCutToTheLine) {
    const std::wstring title(300, L'т');
    const std::wstring headword(200, L'х');
    TLangSearchResult result;
    result.Word = L"х";
    TBaseSearchResult analysis;
    TDictSearchResult dict;
    dict.Title = title.c_str();
    dict.Items = {{1, headword.c_str(), L"", 0, 0}};
    analysis.Dictionaries = {dict};
    result.Results = {analysis};
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    ASSERT_EQ(layout.LineCount, 3);
    for (int32_t i = 1; i < 3; ++i) {
        const TDisplayLine& line = layout.Line(i);
        EXPECT_EQ(line.Length, kMaxLineLength);
        EXPECT_EQ(line.Text[kMaxLineLength], L'\0'); // room stays for the end boundary
    }
}

TEST(LayoutSearchResult, WidthIsKeptWithinTheLine) {
    const std::wstring article(400, L'а');
    TLangSearchResult result;
    TBaseSearchResult analysis;
    TDictSearchResult dict;
    dict.Items = {{1, L"а", article.c_str(), 0, 0}};
    analysis.Dictionaries = {dict};
    result.Results = {analysis};
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 1000));
    int32_t total = 0;
    for (int32_t i = 2; i < layout.LineCount; ++i) {
        EXPECT_LE(layout.Line(i).Length, kMaxLineLength);
        total += layout.Line(i).Length;
    }
    EXPECT_EQ(total, 400);
}

TEST(LayoutSearchResult, GrammarNotesWrapWithTheirIndents) {
    TLangSearchResult result;
    result.Word = L"сүз";
    TBaseSearchResult analysis;
    analysis.SplitForm = L"сүз/ләр";
    std::wstring longNote;
    for (int i = 0; i < 20; ++i) {
        longNote += L"сүзләр ";
    }
    longNote.pop_back(); // 139 units
    analysis.Morphs = {longNote, L"кыска"};
    result.Results = {analysis};
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    const TDisplayLine& row = layout.Line(1);
    ASSERT_EQ(row.SubCount, 4); // 139 units in three chunks, then the short note
    EXPECT_EQ(layout.SubLineTotal, 4);
    const int32_t indents[4] = {4, 7, 7, 4};
    int32_t total = 0;
    for (int32_t k = 0; k < row.SubCount; ++k) {
        EXPECT_EQ(row.SubLines[k].Indent, indents[k]) << k;
        EXPECT_EQ(row.SubLines[k].Kind, lkGrammarNote);
        EXPECT_LE(row.SubLines[k].Length, 63);
        total += row.SubLines[k].Length;
    }
    EXPECT_EQ(std::wstring(row.SubLines[3].Text), L"кыска");
    EXPECT_EQ(total, 139 - 2 + 5); // the two blanks at the cuts are skipped
}

TEST(LayoutSearchResult, NotesHangOnlyUnderAnalysisRowsAndAlwaysFit) {
    TLangSearchResult result = TwoAnalyses();
    // An analysis without a row of its own but with notes: they have nowhere to show.
    result.Results[1].Morphs = {L"a", L"b", L"c"};
    TBaseSearchResult third = result.Results[0];
    third.SplitForm = L"китап/лар/ы";
    third.Morphs = {L"'лар' - күплек сан", L"'ы' - тартым"};
    result.Results.push_back(third);
    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    int32_t chunks = 0;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        const TDisplayLine& line = layout.Line(i);
        if (line.SubCount > 0) {
            EXPECT_EQ(line.Kind, lkAnalysis) << i;
            EXPECT_NE(line.SubLines, nullptr);
        }
        chunks += line.SubCount;
    }
    EXPECT_EQ(chunks, 3);
    EXPECT_EQ(layout.SubLineTotal, chunks);
    // Every row expanded at once still fits the array.
    EXPECT_GE(layout.Capacity, layout.LineCount + chunks);
}

// Entries sharing one long article cost a bounded layout, whose last line says it was cut.
TEST(LayoutSearchResult, RunawayResultIsCutAtTheBound) {
    const std::wstring article = L"сүз " + std::wstring(2000, L'ә');
    TBaseSearchResult analysis;
    analysis.SplitForm = L"китап/лар";
    analysis.Morphs = {L"'лар' - күплек сан"};
    TDictSearchResult dict;
    dict.Title = L"Татарча-русча";
    dict.Items.assign(300, TDictItem{1, L"китап", article.c_str(), 0, 0}); // 10,000 lines uncut
    analysis.Dictionaries = {dict};
    TLangSearchResult result;
    result.Word = L"китаплар";
    result.Results = {analysis};

    TLineLayout layout;
    ASSERT_TRUE(LayoutSearchResult(layout, result, 63));
    EXPECT_EQ(layout.LineCount + layout.SubLineTotal, kMaxLayoutLines);
    EXPECT_LE(layout.Capacity, kMaxLayoutLines);
    const TDisplayLine& last = layout.Line(layout.LineCount - 1);
    EXPECT_EQ(LineText(last), LayoutCutTexts[CurrentUILanguage()]);
    EXPECT_EQ(last.Tag, -1);
    EXPECT_EQ(layout.Line(layout.LineCount - 2).Kind, lkArticle);
}
