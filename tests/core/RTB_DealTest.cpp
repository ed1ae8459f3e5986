#include "core/RTB_Deal.h"

#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class ParadigmTable : public ::testing::Test {
protected:
    void Write(const std::wstring& name, std::initializer_list<const wchar_t*> lines) {
        TWideStringList list;
        for (const wchar_t* line : lines) {
            list.Add(line);
        }
        list.SaveToFile(temp_.File(name));
    }

    TRTB_Table Load() { return TRTB_Table(temp_.File(L"recip.rtb"), false, temp_.File(L"direct.rtb")); }

    static std::vector<std::wstring> Lemmas(const TRTB_Table& table, const std::wstring& word) {
        TWideStringList out;
        table.GenerateLemmas(word, out);
        std::vector<std::wstring> lines;
        for (int i = 0; i < out.Count(); ++i) {
            lines.push_back(out.Get(i));
        }
        return lines;
    }

    TempFolder temp_;
};

} // namespace

TEST_F(ParadigmTable, ParsesRecordLines) {
    TRTB_Table_Rec record;
    ASSERT_TRUE(ParseRTBLine(L"ом-по-x/-a/b-c/d/e", record));
    EXPECT_EQ(record.Ending, L"ом");
    EXPECT_EQ(record.Prefix, L"по");
    EXPECT_EQ(record.Alternatives, (std::vector<std::wstring>{L"", L"b", L""})); // "e" has no closing "/"
    ASSERT_TRUE(ParseRTBLine(L"а--/", record));
    EXPECT_TRUE(record.Prefix.empty());
    EXPECT_TRUE(record.Alternatives.empty());
    EXPECT_FALSE(ParseRTBLine(L"а-", record));
    EXPECT_FALSE(ParseRTBLine(L"а-/ы-/", record));
}

TEST_F(ParadigmTable, GeneratesTriplesForEveryMatchingTail) {
    Write(L"recip.rtb", {L"--/а-/", L"а--/-/ь-/", L"ом--/-/ь-/", L"ой--/а-/"});
    Write(L"direct.rtb", {L"--/а--/ом--/", L"а--/ой--/"});
    const TRTB_Table table = Load();
    EXPECT_EQ(Lemmas(table, L"столом"), (std::vector<std::wstring>{
                                            L"стол", L"ом--/", L"--/",     // tail ом
                                            L"столь", L"ом--/", L"ь--/",   //
                                            L"столома", L"--/", L"а--/",   // empty tail
                                        }));
    const auto lines = Lemmas(table, L"лампой");
    ASSERT_EQ(lines.size() % 3, 0u);
    EXPECT_EQ(lines[0], L"лампа");
}

TEST_F(ParadigmTable, UpperCaseWordUsesOnlyTheFirstRecordOfARun) {
    Write(L"recip.rtb", {L"ом--/-/", L"ом-по-/ь-/"});
    Write(L"direct.rtb", {L"--/"});
    const TRTB_Table table = Load();
    EXPECT_EQ(Lemmas(table, L"СТОЛОМ"), (std::vector<std::wstring>{L"СТОЛ", L"ом--/", L"--/"}));
    // In lower case the run covers both records, but the second needs the prefix по.
    EXPECT_EQ(Lemmas(table, L"столом").size(), 3u);
    EXPECT_EQ(Lemmas(table, L"постолом").size(), 6u);
}

TEST_F(ParadigmTable, PrefixAndEndingOverlappingInAShortWordLeaveAnEmptyStem) {
    Write(L"recip.rtb", {L"ее-по-/ий-/"});
    Write(L"direct.rtb", {L"ий--/"});
    const TRTB_Table table = Load();
    EXPECT_EQ(Lemmas(table, L"поее"), (std::vector<std::wstring>{L"ий", L"ее-по-/", L"ий--/"}));
    EXPECT_EQ(Lemmas(table, L"пое"), (std::vector<std::wstring>{})); // tail е is not in the table
    Write(L"recip.rtb", {L"ое-пое-/ий-/"});
    const TRTB_Table overlap = Load();
    EXPECT_EQ(Lemmas(overlap, L"пое"), (std::vector<std::wstring>{L"ий", L"ое-пое-/", L"ий--/"}));
}

TEST_F(ParadigmTable, MatchesParadigmByNumber) {
    Write(L"recip.rtb", {L"а--/-/"});
    Write(L"direct.rtb", {L"--/а--/ом--/", L"/а--/x", L"а--/ой--/"});
    const TRTB_Table table = Load();
    EXPECT_TRUE(table.MatchesParadigm(L"/а--/", L"--/", -1));
    EXPECT_TRUE(table.MatchesParadigm(L"/а--/", L"--/", 0));
    EXPECT_FALSE(table.MatchesParadigm(L"/у--/", L"--/", 0));
    EXPECT_FALSE(table.MatchesParadigm(L"/а--/", L"а--/", 0));
    EXPECT_FALSE(table.MatchesParadigm(L"/а--/", L"/а--/", 1)); // only at the first position
    EXPECT_TRUE(table.MatchesParadigm(L"/ой--/", L"а--/", 2));
    // Texts spanning several groups are found in the line as well.
    EXPECT_TRUE(table.MatchesParadigm(L"/а--/ом--/", L"--/", 0));
    EXPECT_FALSE(table.MatchesParadigm(L"/ом--/а--/", L"--/", 0));
    EXPECT_TRUE(table.MatchesParadigm(L"а--/ом", L"--/", 0));
    try {
        table.MatchesParadigm(L"/а--/", L"--/", 3);
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (3)");
    }
}

TEST_F(ParadigmTable, OnlyTheFirstOccurrenceCounts) {
    Write(L"recip.rtb", {L"а--/-/"});
    Write(L"direct.rtb", {L"/а--/ы--/а--/", L"--//"});
    const TRTB_Table table = Load();
    EXPECT_FALSE(table.MatchesParadigm(L"/а--/", L"/", 0)); // first at the first character
    EXPECT_TRUE(table.MatchesParadigm(L"/ы--/", L"/", 0));
    EXPECT_TRUE(table.MatchesParadigm(L"//", L"--", 1)); // an empty group
}

TEST_F(ParadigmTable, MalformedRecordLinesAreSkippedButParadigmLinesKeepTheirNumbers) {
    Write(L"recip.rtb", {L"garbage", L"а--/-/", L"x-/"});
    Write(L"direct.rtb", {L"garbage", L"", L"а--/ой--/"});
    const TRTB_Table table = Load();
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(table.FilterLines().Count(), 3);
    EXPECT_TRUE(table.MatchesParadigm(L"/ой--/", L"а--/", 2));
}

TEST_F(ParadigmTable, RecordsOutOfOrderAreSortedOnce) {
    Write(L"recip.rtb", {L"ом--/-/", L"а--/-/", L"ы--/-/", L"ами--/-/"});
    Write(L"direct.rtb", {L"--/"});
    const TRTB_Table table = Load();
    std::vector<std::wstring> endings;
    for (int i = 0; i < table.Count(); ++i) {
        endings.push_back(table.Record(i).Ending);
    }
    EXPECT_EQ(endings, (std::vector<std::wstring>{L"а", L"ами", L"ом", L"ы"}));
    TRangeDia range;
    for (const wchar_t* ending : {L"а", L"ами", L"ом", L"ы"}) {
        EXPECT_TRUE(table.FindRange(ending, range)) << ending;
    }
    EXPECT_FALSE(table.FindRange(L"у", range));
    EXPECT_EQ(range.Lo, -1);
}

TEST_F(ParadigmTable, MissingFileRaisesTheOpenError) {
    Write(L"direct.rtb", {L"--/"});
    EXPECT_THROW(Load(), EFOpenError);
}

namespace {

// GenerateLemmas in its plain form: FindRange on every tail, longest first.
std::vector<std::wstring> LemmasTailByTail(const TRTB_Table& table, const std::wstring& word) {
    std::vector<std::wstring> lines;
    for (size_t p = 0; p <= word.size(); ++p) {
        TRangeDia range;
        if (!table.FindRange(std::wstring_view(word).substr(p), range)) {
            continue;
        }
        for (int32_t i = range.Lo; i <= range.Hi; ++i) {
            const TRTB_Table_Rec& record = table.Record(i);
            if (word.compare(0, record.Prefix.size(), record.Prefix) != 0) {
                continue;
            }
            const size_t cut = record.Prefix.size() + record.Ending.size();
            const std::wstring stem = cut >= word.size() ? L"" : word.substr(record.Prefix.size(), word.size() - cut);
            for (const std::wstring& alternative : record.Alternatives) {
                lines.insert(lines.end(),
                             {stem + alternative, record.Ending + L"-" + record.Prefix + L"-/", alternative + L"--/"});
            }
        }
    }
    return lines;
}

} // namespace

// The built table finds a word's records by walking its tails from the end; it must find what a
// search of every tail finds, for words of small letters and for any other.
TEST_F(ParadigmTable, TailsWalkedFromTheEndFindWhatEveryTailsSearchFinds) {
    const TRTB_Table table(Utf8ToWide(QV_BIN_DIR) + L"\\recip_para.rtb", false,
                           Utf8ToWide(QV_BIN_DIR) + L"\\direct_para.rtb");
    std::vector<std::wstring> words = {
        L"",       L"а",           L"столами", L"СТОЛАМИ",  L"Столами",       L"поновее",   L"ёлками",
        L"елками", L"pdf-файлами", L"x",       L"стол-ами", L"столами\x00AD", L"аающимися", std::wstring(70, L'я')};
    for (int i = 0; i < table.Count(); ++i) {
        const TRTB_Table_Rec& record = table.Record(i);
        words.push_back(record.Prefix + L"стол" + record.Ending);
        words.push_back(record.Prefix + record.Ending);
        words.push_back(L"X" + record.Ending);
    }
    for (const std::wstring& word : words) {
        ASSERT_EQ(Lemmas(table, word), LemmasTailByTail(table, word)) << WideToUtf8(word);
    }
}
