#include "core/CommonTypes.h"

#include <cwchar>

#include <gtest/gtest.h>

#include "core/UILanguage.h"
#include "tests/support/TestCustoms.h"
#include "tests/core/DictTestImages.h"

namespace {

std::shared_ptr<const TTaileRec> Suffix(const wchar_t* affix, uint8_t formCode, int32_t ruleId = 1,
                                        uint8_t partOfSpeech = 1, uint8_t flagsA = 0xFF) {
    auto rec = std::make_shared<TTaileRec>();
    std::wcsncpy(rec->AffixText, affix, 6);
    rec->FormCode = formCode;
    rec->RuleId = ruleId;
    rec->PartOfSpeech = partOfSpeech;
    rec->FlagsA = flagsA;
    return rec;
}

class Results : public ::testing::Test {
protected:
    void SetUp() override {
        LangGroups[0].push_back(MakeDictHandle(first_.data()));
        LangGroups[0].push_back(MakeDictHandle(second_.data()));
    }
    void TearDown() override {
        LangGroups[0].clear();
    }

    TTestCustoms customs_;
    std::vector<unsigned char> first_ = MakeImage({Entry(L"бал", dfNoun, 2, L"балл"), Entry(L"бал", dfNoun, 1, L"мёд"),
                                                   Entry(L"китап", dfNoun, 0, L"книга")});
    std::vector<unsigned char> second_ = MakeImage({Entry(L"китап", dfNoun, 0, L"книжка")});
};

} // namespace

TEST_F(Results, HitsGoIntoTheResultOrderedAndAreReported) {
    TBaseSearchResult result;
    LangGroups[0][0].Accepted = {0, 1};
    DictBuildResults(L"балга", 3, result, 0);
    EXPECT_EQ(result.BaseForm, L"бал");
    ASSERT_EQ(result.Dictionaries.size(), 1u); // the second dictionary has no accepted hits
    const TDictSearchResult& hits = result.Dictionaries[0];
    EXPECT_STREQ(hits.Title, L"Сынау");
    EXPECT_EQ(hits.DictIndex, 0);
    ASSERT_EQ(hits.Items.size(), 2u);
    EXPECT_EQ(hits.Items[0].Entry, 1u); // homonym 1 before homonym 2
    EXPECT_STREQ(hits.Items[0].Article, L"мёд");
    EXPECT_STREQ(hits.Items[1].Headword, L"бал");
    EXPECT_EQ(hits.Items[1].Flags, dfNoun);
    EXPECT_TRUE(LangGroups[0][0].Accepted.empty());

    TBaseSearchResult second;
    LangGroups[0][0].Accepted = {2};
    LangGroups[0][1].Accepted = {0};
    DictBuildResults(L"китап", 5, second, 0);
    ASSERT_EQ(second.Dictionaries.size(), 2u);
    EXPECT_EQ(second.Dictionaries[1].DictIndex, 1);
    EXPECT_EQ(LangGroups[0][0].Reported, (TArrInt{1, 0, 2}));

    TBaseSearchResult none;
    DictBuildResults(std::wstring(80, L'а').c_str(), 80, none, 0);
    EXPECT_EQ(none.BaseForm.size(), 63u);
    EXPECT_TRUE(none.Dictionaries.empty());
    DictBuildResults(L"х", 1, none, 5);
    EXPECT_EQ(none.BaseForm, L"х");
}

TEST_F(Results, GrammarNoteInBothInterfaceLanguages) {
    TBaseSearchResult result;
    result.BaseForm = L"китап";
    result.Taile = {Suffix(L"лар", 1), Suffix(L"ны", 4)};
    EXPECT_TRUE(DictBuildGrammarNote(result));
    EXPECT_EQ(result.SplitForm, L"китап/лар/ны");
    EXPECT_EQ(result.Morphs, (TMorphs{L"'лар' - множественное число", L"'ны' - винительный падеж"}));
    customs_->UILanguage = langTatar;
    EXPECT_TRUE(DictBuildGrammarNote(result));
    EXPECT_EQ(result.Morphs[1], L"'ны' - төшем килеш");
}

TEST_F(Results, EmptyChainAndFitTest) {
    TBaseSearchResult result;
    result.BaseForm = L"китап";
    result.SplitForm = L"stale";
    result.Morphs = {L"stale"};
    EXPECT_TRUE(DictBuildGrammarNote(result));
    EXPECT_TRUE(result.SplitForm.empty());
    EXPECT_TRUE(result.Morphs.empty());

    result.Taile = {Suffix(L"ы", 9, 5, 1, 0)}; // follows no letter class
    EXPECT_FALSE(DictBuildGrammarNote(result));
    EXPECT_EQ(result.SplitForm, L"китап/ы"); // the note is built all the same
    result.BaseForm = L"бару";                 // у and ү pass whatever the flags
    EXPECT_TRUE(DictBuildGrammarNote(result));
}

TEST_F(Results, RuleAfterBaiKeepsOnlyTheVerbBai) {
    TBaseSearchResult result;
    result.Taile = {Suffix(L"ы", 9, 98, 8)};
    result.BaseForm = L"бай";
    EXPECT_TRUE(DictBuildGrammarNote(result));
    result.BaseForm = L"сай";
    EXPECT_FALSE(DictBuildGrammarNote(result));
    result.Taile = {Suffix(L"ы", 9, 98, 1)}; // a noun's possessive is not affected
    EXPECT_TRUE(DictBuildGrammarNote(result));
}

TEST_F(Results, LongSplitFormsStayWithinSixtyThreeUnits) {
    TBaseSearchResult result;
    result.BaseForm = std::wstring(55, L'а');
    result.Taile = {Suffix(L"лар", 1), Suffix(L"ыбыз", 2), Suffix(L"ны", 4)};
    DictBuildGrammarNote(result);
    EXPECT_EQ(result.SplitForm, std::wstring(55, L'а') + L"/лар/");
    EXPECT_EQ(result.Morphs.size(), 2u); // p reached 63 after the second affix

    for (size_t length : {62u, 63u}) {
        result.BaseForm = std::wstring(length, L'к');
        result.Taile = {Suffix(L"лар", 1), Suffix(L"ны", 4)};
        DictBuildGrammarNote(result);
        EXPECT_LE(result.SplitForm.size(), 63u);
        EXPECT_EQ(result.SplitForm.substr(0, length), result.BaseForm);
    }
}

TEST(HomonymNumerals, OneToTwentyAndNothingElse) {
    EXPECT_STREQ(HomonymNumeral(1), L"I");
    EXPECT_STREQ(HomonymNumeral(4), L"IV");
    EXPECT_STREQ(HomonymNumeral(20), L"XX");
    EXPECT_STREQ(HomonymNumeral(0), L"");
    EXPECT_STREQ(HomonymNumeral(21), L"");
    EXPECT_STREQ(HomonymNumeral(-5), L"");
}
