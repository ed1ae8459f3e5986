#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/RTB_Deal.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "tests/core/DictTestImages.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TempFolder.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

// Paradigm 0: стол, 1: лампа, 2: a masculine noun without the prepositional -е, 3: an
// indeclinable noun, whose one form is the word itself.
const char* kParadigms = "стол\t_\tа у ом е ы ов ам ами ах\n"
                         "лампа\tа\tы е у ой ою _ ам ами ах\n"
                         "путь\tь\tи ём ям ями ях\n"
                         "кофе\t_\t_\n";

class RussianLookup : public ::testing::Test {
protected:
    void SetUp() override {
        const auto paradigms = ParseParadigmSource(kParadigms, "p.txt");
        SaveLines(ReciprocalParadigmLines(paradigms), temp_.File(L"recip_para.rtb"));
        SaveLines(DirectParadigmLines(paradigms), temp_.File(L"direct_para.rtb"));
        CreateParadigmTable(temp_.Path());
    }
    void TearDown() override { FreeParadigmTable(); }

    // Base forms of the analyses with the articles of their hits, dictionary by dictionary.
    static std::vector<std::wstring> Found(const wchar_t* word) {
        TLangSearchResult result;
        AnalyzeRussian(word, result);
        std::vector<std::wstring> out;
        for (const auto& analysis : result.Results) {
            std::wstring line = analysis.BaseForm + L":";
            for (const auto& dict : analysis.Dictionaries) {
                line += L" " + std::to_wstring(dict.DictIndex);
                for (const auto& item : dict.Items) {
                    line += std::wstring(L" ") + item.Article;
                }
            }
            out.push_back(line);
        }
        return out;
    }

    TempFolder temp_;
    TOpenDictionaries dictionaries_;
};

} // namespace

TEST_F(RussianLookup, InflectedWordsFindTheirHeadword) {
    dictionaries_.Open(MakeImage({Entry(L"стол", posNoun, 0, L"өстәл", 0), Entry(L"лампа", posNoun, 0, L"лампа", 1),
                                  Entry(L"путь", posNoun, 0, L"юл", 2), Entry(L"пут", posNoun, 0, L"богау", 2)},
                                 langRussian));
    EXPECT_EQ(Found(L"столом"), (std::vector<std::wstring>{L"стол: 0 өстәл"}));
    EXPECT_EQ(Found(L"лампой"), (std::vector<std::wstring>{L"лампа: 0 лампа"}));
    EXPECT_EQ(Found(L"ламп"), (std::vector<std::wstring>{L"лампа: 0 лампа"}));
    // столе fits стол; пут is a headword too, but its paradigm has no -е.
    EXPECT_EQ(Found(L"путе"), (std::vector<std::wstring>{}));
    EXPECT_EQ(Found(L"путём"), (std::vector<std::wstring>{L"путь: 0 юл"}));
    EXPECT_EQ(Found(L"столе"), (std::vector<std::wstring>{L"стол: 0 өстәл"}));
    EXPECT_EQ(Found(L"стул"), (std::vector<std::wstring>{}));
    EXPECT_EQ(Found(L""), (std::vector<std::wstring>{}));
    EXPECT_EQ(Found(std::wstring(64, L'а').c_str()), (std::vector<std::wstring>{}));
}

TEST_F(RussianLookup, DirectHitComesFirstAndIsReportedOnce) {
    // "стола" is itself a headword (paradigm лампа) and also a form of стол.
    dictionaries_.Open(
        MakeImage({Entry(L"стол", posNoun, 0, L"өстәл", 0), Entry(L"стола", posNoun, 0, L"стола", 1)}, langRussian));
    EXPECT_EQ(Found(L"стола"), (std::vector<std::wstring>{L"стола: 0 стола", L"стол: 0 өстәл"}));
    EXPECT_EQ(Found(L"столам"), (std::vector<std::wstring>{L"стол: 0 өстәл", L"стола: 0 стола"}));
}

TEST_F(RussianLookup, HitReachedAgainByACandidateIsReportedOnce) {
    // стол as it stands, and again as the lemma of its own indeclinable form.
    dictionaries_.Open(MakeImage({Entry(L"стол", posNoun, 0, L"өстәл")}, langRussian));
    EXPECT_EQ(Found(L"стол"), (std::vector<std::wstring>{L"стол: 0 өстәл", L"стол:"}));
}

TEST_F(RussianLookup, EntryWithoutParadigmAcceptsAnyInflection) {
    dictionaries_.Open(MakeImage({Entry(L"кофе", posNoun, 0, L"кофе"), Entry(L"стол", posNoun, 0, L"к")}, langRussian));
    EXPECT_EQ(Found(L"столах"), (std::vector<std::wstring>{L"стол: 0 к"}));
    EXPECT_EQ(Found(L"столы"), (std::vector<std::wstring>{L"стол: 0 к"}));
}

TEST_F(RussianLookup, TwoDictionariesKeepTheirOwnHits) {
    dictionaries_.Open(MakeImage({Entry(L"стол", posNoun, 0, L"өстәл", 0)}, langRussian));
    dictionaries_.Open(MakeImage({Entry(L"стол", posNoun, 0, L"табын", 0)}, langRussian));
    EXPECT_EQ(Found(L"столом"), (std::vector<std::wstring>{L"стол: 0 өстәл 1 табын"}));
}

TEST_F(RussianLookup, ParadigmPastTheTableRaisesAndTheNextLookupWorks) {
    dictionaries_.Open(
        MakeImage({Entry(L"стол", posNoun, 0, L"өстәл", 0), Entry(L"лампа", posNoun, 0, L"лампа", 99)}, langRussian));
    TLangSearchResult result;
    try {
        AnalyzeRussian(L"лампой", result);
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (99): no paradigm 99 in the paradigm table direct_para.rtb, "
                               L"named by \"лампа\" in the dictionary \"Сынау\"");
    }
    EXPECT_TRUE(result.Results.empty());
    EXPECT_TRUE(LangGroups[langRussian][0].Probe.empty());
    EXPECT_EQ(Found(L"столом"), (std::vector<std::wstring>{L"стол: 0 өстәл"}));
}

TEST_F(RussianLookup, ExactFormOnlyEntriesAreNotReachedThroughCandidates) {
    dictionaries_.Open(MakeImage({Entry(L"стол", posNoun | dfExactOnly, 0, L"өстәл", 0)}, langRussian));
    EXPECT_EQ(Found(L"стол"), (std::vector<std::wstring>{L"стол: 0 өстәл"}));
    EXPECT_EQ(Found(L"столом"), (std::vector<std::wstring>{}));
}

// Texts write е for ё: a word with е also finds the headwords with ё in those places, after its own;
// a word with ё finds only headwords with ё there, as before.
TEST_F(RussianLookup, WordWrittenWithYeFindsHeadwordsWithYo) {
    dictionaries_.Open(MakeImage({Entry(L"все", posOther, 0, L"барысы"), Entry(L"всё", posOther, 0, L"бөтенесе"),
                                  Entry(L"ещё", posOther, 0, L"тагын"), Entry(L"ёлка", posNoun, 1, L"чыршы", 1),
                                  Entry(L"Ёлка", posNoun, 2, L"Чыршы", 1), Entry(L"мел", posNoun, 0, L"акбур", 0),
                                  Entry(L"лёд", posNoun | dfExactOnly, 0, L"боз", 0)},
                                 langRussian));
    const struct {
        const wchar_t* Word;
        std::vector<std::wstring> Analyses;
    } cases[] = {
        {L"все", {L"все: 0 барысы бөтенесе", L"все:"}}, // then as its own lemma, its hits reported
        {L"всё", {L"всё: 0 бөтенесе", L"всё:"}},
        {L"еще", {L"еще: 0 тагын", L"еще:"}},
        {L"Еще", {L"Еще: 0 тагын", L"Еще:"}},
        {L"ещё", {L"ещё: 0 тагын", L"ещё:"}},
        {L"ёще", {}},
        {L"елка", {L"елка: 0 чыршы Чыршы"}},
        {L"елкой", {L"елка: 0 чыршы Чыршы"}},
        {L"ёлкой", {L"ёлка: 0 чыршы Чыршы"}},
        {L"мел", {L"мел: 0 акбур"}},
        {L"мёл", {}},
        {L"мёлом", {}},
        {L"лед", {L"лед: 0 боз"}},
        {L"ледом", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Found(c.Word), c.Analyses) << WideToUtf8(c.Word);
    }
}

TEST(RussianBookkeeping, UniqueDropAndAdd) {
    std::vector<unsigned char> a = MakeImage({Entry(L"а", posNoun)}, langRussian),
                               b = MakeImage({Entry(L"б", posNoun)}, langRussian);
    TLangGroup group;
    group.push_back(MakeDictHandle(a.data()));
    group.push_back(MakeDictHandle(b.data()));
    group[0].Accepted = {3, 1, 3, 2};
    group[1].Accepted = {3, 3};
    UniqueAccepted(group);
    EXPECT_EQ(group[0].Accepted, (TArrInt{3, 1, 2}));
    EXPECT_EQ(group[1].Accepted, (TArrInt{3}));
    TAllSearch search{{0, 1}};
    DropReportedHits(group, search);
    EXPECT_EQ(group[0].Accepted, (TArrInt{3, 2}));
    AllSearchAddAccepted(group, search);
    EXPECT_EQ(search.size(), 4u);
    EXPECT_TRUE(AllSearchContains(search, 1, 3));
    EXPECT_FALSE(AllSearchContains(search, 1, 1));
}
