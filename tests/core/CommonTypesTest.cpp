#include "core/CommonTypes.h"

#include <cwchar>

#include <gtest/gtest.h>

#include "core/UILanguage.h"
#include "tests/core/DictTestImages.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

std::shared_ptr<const TTaileRec> Suffix(const wchar_t* affix, uint8_t formCode, int32_t ruleId = 1,
                                        TPartOfSpeech partOfSpeech = posNoun, uint8_t flagsA = 0xFF) {
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
        dictionaries_.Open(MakeImage({Entry(L"бал", posNoun, 2, L"балл"), Entry(L"бал", posNoun, 1, L"мёд"),
                                      Entry(L"китап", posNoun, 0, L"книга")}));
        dictionaries_.Open(MakeImage({Entry(L"китап", posNoun, 0, L"книжка")}));
    }

    TTestCustoms customs_;
    TOpenDictionaries dictionaries_;
};

} // namespace

TEST_F(Results, HitsGoIntoTheResultOrderedAndAreReported) {
    TBaseSearchResult result;
    LangGroups[langTatar][0].Accepted = {0, 1};
    DictBuildResults(L"балга", 3, result, langTatar);
    EXPECT_EQ(result.BaseForm, L"бал");
    ASSERT_EQ(result.Dictionaries.size(), 1u); // the second dictionary has no accepted hits
    const TDictSearchResult& hits = result.Dictionaries[0];
    EXPECT_STREQ(hits.Title, L"Сынау");
    EXPECT_EQ(hits.DictIndex, 0);
    ASSERT_EQ(hits.Items.size(), 2u);
    EXPECT_EQ(hits.Items[0].Entry, 1u); // homonym 1 before homonym 2
    EXPECT_STREQ(hits.Items[0].Article, L"мёд");
    EXPECT_STREQ(hits.Items[1].Headword, L"бал");
    EXPECT_EQ(hits.Items[1].Flags, posNoun);
    EXPECT_TRUE(LangGroups[langTatar][0].Accepted.empty());

    TBaseSearchResult second;
    LangGroups[langTatar][0].Accepted = {2};
    LangGroups[langTatar][1].Accepted = {0};
    DictBuildResults(L"китап", 5, second, langTatar);
    ASSERT_EQ(second.Dictionaries.size(), 2u);
    EXPECT_EQ(second.Dictionaries[1].DictIndex, 1);
    EXPECT_EQ(LangGroups[langTatar][0].Reported, (TArrInt{1, 0, 2}));

    TBaseSearchResult none;
    DictBuildResults(std::wstring(80, L'а').c_str(), 80, none, langTatar);
    EXPECT_EQ(none.BaseForm.size(), 63u);
    EXPECT_TRUE(none.Dictionaries.empty());
    DictBuildResults(L"х", 1, none, static_cast<TLanguage>(5));
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

    result.Taile = {Suffix(L"ы", 9, 5, posNoun, 0)}; // follows no letter class
    EXPECT_FALSE(DictBuildGrammarNote(result));
    EXPECT_EQ(result.SplitForm, L"китап/ы"); // the note is built all the same
    result.BaseForm = L"бару";                 // у and ү pass whatever the flags
    EXPECT_TRUE(DictBuildGrammarNote(result));
}

TEST_F(Results, RuleAfterBaiKeepsOnlyTheVerbBai) {
    TBaseSearchResult result;
    result.Taile = {Suffix(L"ы", 9, 98, posVerb)};
    result.BaseForm = L"бай";
    EXPECT_TRUE(DictBuildGrammarNote(result));
    result.BaseForm = L"сай";
    EXPECT_FALSE(DictBuildGrammarNote(result));
    result.Taile = {Suffix(L"ы", 9, 98, posNoun)}; // a noun's possessive is not affected
    EXPECT_TRUE(DictBuildGrammarNote(result));
}

TEST_F(Results, LongSplitFormsStayWithinSixtyThreeUnits) {
    TBaseSearchResult result;
    result.BaseForm = std::wstring(55, L'а');
    result.Taile = {Suffix(L"лар", 1), Suffix(L"ыбыз", 2), Suffix(L"ны", 4)};
    DictBuildGrammarNote(result);
    EXPECT_EQ(result.SplitForm, std::wstring(55, L'а') + L"/лар/");
    EXPECT_EQ(result.Morphs.size(), 2u); // p reached 63 after the second affix

    // A base of 62 units leaves room for the slash only, one of 63 for nothing; the first affix's
    // note is written all the same, and then the text is full.
    struct Case {
        size_t length;
        const wchar_t* after;
    };
    for (const Case& c : {Case{62, L"/"}, Case{63, L""}}) {
        result.BaseForm = std::wstring(c.length, L'к');
        result.Taile = {Suffix(L"лар", 1), Suffix(L"ны", 4)};
        EXPECT_TRUE(DictBuildGrammarNote(result));
        EXPECT_EQ(result.SplitForm, result.BaseForm + c.after) << c.length;
        EXPECT_EQ(result.Morphs, (TMorphs{L"'лар' - множественное число"})) << c.length;
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
