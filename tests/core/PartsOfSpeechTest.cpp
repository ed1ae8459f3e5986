#include "core/PartsOfSpeech.h"

#include <vector>

#include <gtest/gtest.h>

// The table in the analysis's order, with its files and the number of forms the builders make of
// a sample word.
TEST(PartsOfSpeech, TheTableInItsOrder) {
    struct Case {
        TPartOfSpeech code;
        const char* sourceName;
        const wchar_t* suffixFile;
        const wchar_t* word;
        size_t forms;
    };
    const Case cases[kInflectingParts] = {
        {posNoun, "noun", L"ntailes.bin", L"китап", 48},  // number x possessor x case
        {posAdjective, "adj", L"atailes.bin", L"ак", 2},  // the degrees
        {posNumeral, "num", L"dtailes.bin", L"алты", 30}, // kind x case
        {posVerb, "verb", L"vtailes.bin", L"язу", 88},    // negation x (2 + 6 + 6 + 5 tenses x 6)
    };
    for (int i = 0; i < kInflectingParts; ++i) {
        const TPartOfSpeechInfo& part = InflectingParts[i];
        const Case& c = cases[i];
        EXPECT_EQ(part.Code, c.code) << i;
        EXPECT_STREQ(part.SourceName, c.sourceName) << i;
        EXPECT_STREQ(part.SuffixFile, c.suffixFile) << i;
        EXPECT_EQ(part.Forms(c.word).size(), c.forms) << i;
        EXPECT_EQ(InflectingPartIndex(c.code), i);
        EXPECT_EQ(InflectingPart(c.code), &part);
    }
    EXPECT_EQ(InflectingPartIndex(posOther), -1);
    EXPECT_EQ(InflectingPart(posOther), nullptr);
}

// The forms come in the builders' category order, which decides between chains that meet on one
// ending in the suffix tables: sampled by the first and the last form.
TEST(PartsOfSpeech, FormsInTheBuildersOrder) {
    const struct {
        TPartOfSpeech code;
        const wchar_t* word;
        const wchar_t* first;
        const wchar_t* last;
    } cases[] = {
        {posNoun, L"китап", L"китап", L"китапларында"},
        {posAdjective, L"ак", L"ак", L"аграк"},
        {posNumeral, L"алты", L"алты", L"алты"},
        {posVerb, L"язу", L"язарга", L"язмаслар"},
    };
    for (const auto& c : cases) {
        const std::vector<TGP_Proc_Rec> forms = InflectingPart(c.code)->Forms(c.word);
        ASSERT_FALSE(forms.empty());
        EXPECT_EQ(forms.front().Form, c.first) << int{c.code};
        EXPECT_EQ(forms.back().Form, c.last) << int{c.code};
    }
}
