#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

#include <gtest/gtest.h>

#include "core/Classes_Qel.h"
#include "core/RTB_Deal.h"
#include "tests/support/TempFolder.h"
#include "tools/DictSource.h"

namespace {

const char* kSource = "# test\n"
                      "стол\t_\tа у ом е ы ов ам ами ах\n"
                      "лампа\tа\tы е у ой ою _ ам ами ах\n"
                      "новый\tый\tого ому ым ом ая ой ую ое ые ых ыми ее по+ее\n"
                      "писать\tсать\tшу шешь шет шем шете шут сал сала сало сали ши шите\n";

std::string ErrorOf(const std::string& text) {
    try {
        ParseParadigmSource(text, "p.txt");
    } catch (const DictSourceError& e) {
        return e.what();
    }
    return "(none)";
}

} // namespace

TEST(ParadigmSource, ParsesAndWritesBothTables) {
    const auto paradigms = ParseParadigmSource(kSource, "p.txt");
    ASSERT_EQ(paradigms.size(), 4u);
    EXPECT_EQ(paradigms[2].Forms.back().Prefix, L"по");
    const auto direct = DirectParadigmLines(paradigms);
    EXPECT_EQ(direct[0], L"--/а--/у--/ом--/е--/ы--/ов--/ам--/ами--/ах--/");
    EXPECT_EQ(direct[1].substr(0, 14), L"а--/ы--/е--/у-");
    const auto recip = ReciprocalParadigmLines(paradigms);
    EXPECT_NE(std::find(recip.begin(), recip.end(), L"ами--/-/а-/"), recip.end());
    EXPECT_NE(std::find(recip.begin(), recip.end(), L"ее-по-/ый-/"), recip.end());
    EXPECT_EQ(ParadigmForms(paradigms[3], L"писать")[0], L"пишу");
    EXPECT_EQ(ParadigmForms(paradigms[2], L"новый").back(), L"поновее");
    EXPECT_TRUE(ParadigmForms(paradigms[1], L"стол").empty());
}

TEST(ParadigmSource, RefusesWhatTheTablesCannotHold) {
    EXPECT_EQ(ErrorOf("a\t_\tо-м\n"), "p.txt:1: the ending \"о-м\" holds a character that is not allowed");
    EXPECT_EQ(ErrorOf("a\t_\tо/м\n"), "p.txt:1: the ending \"о/м\" holds a character that is not allowed");
    EXPECT_EQ(ErrorOf("\n\na\t_\tпо-+м\n"), "p.txt:3: the prefix \"по-\" holds a character that is not allowed");
    EXPECT_EQ(ErrorOf("a\t_\n"), "p.txt:1: expected 3 tab-separated fields (name, lemma ending, forms), found 2");
    EXPECT_EQ(ErrorOf("a\t_\tы\na\t_\tу\n"), "p.txt:2: the paradigm name \"a\" is empty or used twice");
    EXPECT_EQ(ErrorOf("a\t_\t \n"), "p.txt:1: the paradigm has no forms");
}

TEST(ParadigmSource, DictionaryEntriesNameTheirParadigm) {
    const auto paradigms = ParseParadigmSource(kSource, "p.txt");
    const std::string header = "@title\tt\n@authors\ta\n@version\t1\n@direction\t1\n@id\t2\n";
    const DictSource source = ParseDictSource(header + "лампа\tnoun\t0\t0\tлампа\tлампа\n"
                                                       "ручка\tnoun\t0\t0\t3\tкәләм\n",
                                              "d.txt", &paradigms);
    EXPECT_EQ(source.Entries[0].Paradigm, 1);
    EXPECT_EQ(source.Entries[1].Paradigm, 3);
    EXPECT_THROW(ParseDictSource(header + "стол\tnoun\t0\t0\tлампа\tx\n", "d.txt", &paradigms), DictSourceError);
    EXPECT_THROW(ParseDictSource(header + "стол\tnoun\t0\t0\tшкаф\tx\n", "d.txt", &paradigms), DictSourceError);
}

// A number no paradigm of the source has would fail every inflected form of its headword at lookup.
TEST(ParadigmSource, DictionaryParadigmNumbersStayInTheSource) {
    const auto paradigms = ParseParadigmSource(kSource, "p.txt");
    const std::string header = "@title\tt\n@authors\ta\n@version\t1\n@direction\t1\n@id\t2\n";
    const struct {
        const char* Number;
        const char* Error; // none when accepted
    } cases[] = {
        {"-1", nullptr},
        {"0", nullptr},
        {"3", nullptr},
        {"4", "d.txt:6: the paradigm number 4 is outside -1..3"},
        {"2147483647", "d.txt:6: the paradigm number 2147483647 is outside -1..3"},
        {"-2", "d.txt:6: the paradigm number -2 is outside -1..3"},
    };
    for (const auto& c : cases) {
        const std::string text = header + "ручка\tnoun\t0\t0\t" + c.Number + "\tкәләм\n";
        try {
            const DictSource source = ParseDictSource(text, "d.txt", &paradigms);
            EXPECT_EQ(c.Error, nullptr) << c.Number;
            EXPECT_EQ(source.Entries.at(0).Paradigm, std::stoi(c.Number));
        } catch (const DictSourceError& e) {
            EXPECT_STREQ(e.what(), c.Error ? c.Error : "(accepted)") << c.Number;
        }
    }
}

// Every form of every paradigm, run through the written tables, yields its lemma with a
// paradigm test that passes for that lemma's paradigm.
TEST(ParadigmSource, WrittenTablesLeadEveryFormBackToItsLemma) {
    const auto paradigms = ParseParadigmSource(kSource, "p.txt");
    TempFolder temp;
    SaveLines(ReciprocalParadigmLines(paradigms), temp.File(L"recip.rtb"));
    SaveLines(DirectParadigmLines(paradigms), temp.File(L"direct.rtb"));
    const TRTB_Table table(temp.File(L"recip.rtb"), false, temp.File(L"direct.rtb"));
    for (int32_t k = 0; k < static_cast<int32_t>(paradigms.size()); ++k) {
        const std::wstring& lemma = paradigms[static_cast<size_t>(k)].Name;
        for (const std::wstring& form : ParadigmForms(paradigms[static_cast<size_t>(k)], lemma)) {
            TWideStringList triples;
            table.GenerateLemmas(form, triples);
            bool found = false;
            for (int i = 0; i + 2 < triples.Count(); i += 3) {
                found |= triples.Get(i) == lemma && table.MatchesParadigm(L"/" + triples.Get(i + 1), triples.Get(i + 2), k);
            }
            EXPECT_TRUE(found) << std::string(form.begin(), form.end()).size() << " form of paradigm " << k;
        }
    }
}

// Texts write е for ё, so the tables hold every spelling of an ending with ё; the source need not.
TEST(ParadigmSource, TablesHoldEndingsWithYeForYo) {
    const auto paradigms = ParseParadigmSource("конь\tь\tя ём ем\nx\t_\tёлё по+ём\n", "p.txt");
    const struct {
        size_t Paradigm;
        std::vector<std::wstring> Forms; // prefix+ending
    } cases[] = {
        {0, {L"я", L"ём", L"ем"}},
        {1, {L"ёлё", L"елё", L"ёле", L"еле", L"по+ём", L"по+ем"}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> forms;
        for (const Inflection& form : TableForms(paradigms[c.Paradigm])) {
            forms.push_back(form.Prefix.empty() ? form.Ending : form.Prefix + L"+" + form.Ending);
        }
        EXPECT_EQ(forms, c.Forms) << c.Paradigm;
    }
    EXPECT_EQ(ParadigmForms(paradigms[1], L"x").size(), 2u); // the source's forms only
    EXPECT_EQ(DirectParadigmLines(paradigms)[1], L"--/ёлё--/елё--/ёле--/еле--/ём-по-/ем-по-/");
    const auto recip = ReciprocalParadigmLines(paradigms);
    EXPECT_NE(std::find(recip.begin(), recip.end(), L"ем--/ь-/"), recip.end());
    EXPECT_NE(std::find(recip.begin(), recip.end(), L"еле--/-/"), recip.end());
}
