#include "core/GP_PROC.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "core/GP_PROC_Steps.h"
#include "core/UILanguage.h"
#include "tests/support/TestCustoms.h"

namespace {

bool IsPlaceholder(const TAffixInfo& info) {
    return std::wcscmp(info.AffixText, L"()") == 0;
}

// The split form and the form codes of the entries, a placeholder marked "*": "яз/а/м [24 7]".
std::wstring Describe(const TGP_Proc_Rec& rec) {
    std::wstring text = rec.SplitForm + L" [";
    for (size_t i = 0; i < rec.Affixes.size(); ++i) {
        if (i > 0) {
            text += L' ';
        }
        text += std::to_wstring(rec.Affixes[i].FormCode);
        if (IsPlaceholder(rec.Affixes[i])) {
            text += L'*';
        }
    }
    return text + L"]";
}

std::vector<std::wstring> SplitAtSlashes(const std::wstring& text) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == L'/') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

enum class RuleIds { FromRow, Zero };

// The form is the split form without its slashes, each written affix is the next part of the split form, and
// every entry carries the name of its form code and the rule id the builder gives it.
void ExpectConsistent(const TGP_Proc_Rec& rec, RuleIds ids) {
    std::wstring joined;
    for (wchar_t c : rec.SplitForm) {
        if (c != L'/') {
            joined += c;
        }
    }
    EXPECT_EQ(rec.Form, joined);
    const std::vector<std::wstring> parts = SplitAtSlashes(rec.SplitForm);
    size_t part = 1;
    for (const TAffixInfo& info : rec.Affixes) {
        EXPECT_STREQ(info.FormName, CategoryName(info.FormCode));
        if (IsPlaceholder(info)) {
            EXPECT_EQ(info.AffixText, kPlaceholderAffix);
            EXPECT_EQ(info.RuleId, 61);
            continue;
        }
        ASSERT_LT(part, parts.size());
        EXPECT_EQ(parts[part++], info.AffixText);
        if (ids == RuleIds::Zero) {
            EXPECT_EQ(info.RuleId, 0);
        } else {
            ASSERT_GT(info.RuleId, 0);
            EXPECT_EQ(info.AffixText, AffixTexts[info.RuleId]);
        }
    }
    EXPECT_EQ(part, parts.size());
}

TGP_Proc_Rec RecordOf(const std::wstring& form) {
    return {form, form, form, {}};
}

} // namespace

// ---- step tables ----

TEST(StepTables, CountsOfSteps) {
    int noun = 0;
    for (const auto& row : NounSteps) {
        for (const TNounCell& cell : row) {
            for (const TNounStep& step : cell) {
                noun += step.FormCode != 0;
            }
        }
    }
    int numeral = 0;
    for (const auto& row : NumeralSteps) {
        for (const TNumeralCell& cell : row) {
            for (uint8_t code : cell) {
                numeral += code != 0;
            }
        }
    }
    auto verbSteps = [](const TVerbCell(&table)[kVerbRows][kVerbColumns]) {
        int count = 0;
        for (const auto& row : table) {
            for (const TVerbCell& cell : row) {
                for (const TVerbStep& step : cell) {
                    count += step.Op != TVerbStepOp::End;
                }
            }
        }
        return count;
    };
    EXPECT_EQ(noun, 40);
    EXPECT_EQ(numeral, 19);
    EXPECT_EQ(verbSteps(PositiveVerbSteps), 90);
    EXPECT_EQ(verbSteps(NegativeVerbSteps), 120);
    EXPECT_EQ(verbSteps(ExceptionVerbSteps[0]), 120);
    EXPECT_EQ(verbSteps(ExceptionVerbSteps[1]), 168);
}

TEST(StepTables, SampleCells) {
    const TNounCell& ablative3 = NounSteps[4][3];
    EXPECT_TRUE(ablative3[0].FormCode == 9 && ablative3[0].ThirdPerson);
    EXPECT_TRUE(ablative3[1].FormCode == 9 && ablative3[1].Key2 == 1 && !ablative3[1].ThirdPerson);
    EXPECT_TRUE(ablative3[2].FormCode == 5 && ablative3[2].Key2 == 0);
    EXPECT_TRUE(NounSteps[2][0][0].FormCode == 3 && NounSteps[2][0][0].Key2 == 2);
    EXPECT_EQ(NounSteps[0][0][0].FormCode, 0);
    EXPECT_EQ(NumeralSteps[1][1], (TNumeralCell{13, 2}));
    EXPECT_EQ(NumeralSteps[0][4], (TNumeralCell{16, 0}));

    const TVerbCell& present2pl = PositiveVerbSteps[4][3];
    EXPECT_EQ(present2pl[0].Op, TVerbStepOp::PresentHead);
    EXPECT_TRUE(present2pl[1].Op == TVerbStepOp::Ending && present2pl[1].Code == 11 && present2pl[1].Key2 == 255);
    EXPECT_EQ(present2pl[2].Op, TVerbStepOp::End);
    const TVerbCell& future3sg = PositiveVerbSteps[8][4];
    EXPECT_TRUE(future3sg[0].Code == 27 && future3sg[0].Key2 == kStemKey);
    const TVerbCell& imperative1sg = PositiveVerbSteps[2][0];
    EXPECT_EQ(imperative1sg[0].Op, TVerbStepOp::Strip);
    EXPECT_TRUE(imperative1sg[1].Code == 20 && imperative1sg[1].StrippedHarmony);
    const TVerbCell& exception = ExceptionVerbSteps[1][2][0];
    EXPECT_TRUE(exception[0].Code == 9 && exception[0].ClassOverride == 8);
    EXPECT_TRUE(exception[1].Code == 33 && exception[1].Key2 == 6);
    EXPECT_TRUE(exception[2].Code == 7 && exception[2].Key2 == 4 && exception[2].ClassOverride == 7);
    EXPECT_EQ(ExceptionVerbSteps[0][1][5][0].Op, TVerbStepOp::ExceptionPlaceholder);
    EXPECT_EQ(ExceptionVerbSteps[0][1][5][0].Code, 2);
}

// ---- joining ----

TEST(StemBorder, VowelInitialAffixes) {
    struct Case {
        const wchar_t* form;
        const wchar_t* affix;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"китап", L"ы", L"китаб"},
        {L"тау", L"ы", L"тав"},
        {L"уку", L"ы", L"уку"},
        {L"штамп", L"ы", L"штамп"},
        {L"диск", L"ы", L"диск"},
        {L"сәгать", L"ы", L"сәгат"},
        {L"туй", L"ым", L"туе"},
        {L"КИТАП", L"ы", L"КИТАБ"},
        {L"ШТАМП", L"ы", L"ШТАМБ"},
        {L"китап", L"лар", L"китап"},
        {L"китап", L"ка", L"китап"},
        {L"ак", L"рак", L"ак"},
        {L"сәгать", L"кә", L"сәгать"},
        {L"көньк", L"е", L"көньк"},
        {L"тәү", L"е", L"тәв"},
        {L"ТАУ", L"ы", L"ТАВ"},
        {L"ак", L"\x0001", L"ак"},
        {L"ак", L"", L"ак"},
        // A single letter left after ь or ъ has nothing before it and alternates.
        {L"пь", L"ы", L"б"},
        {L"къ", L"а", L"г"},
        {L"рь", L"ы", L"р"},
    };
    for (const Case& c : cases) {
        TGP_Proc_Rec rec = RecordOf(c.form);
        AdjustStemBorder(c.affix, rec);
        EXPECT_EQ(rec.Form, c.result) << c.form << L" + " << c.affix;
        EXPECT_EQ(rec.SplitForm, c.result) << c.form;
        EXPECT_EQ(rec.Base, c.form);
    }
}

TEST(StemBorder, LeavesSplitFormAloneWhenItEndsEarly) {
    for (const wchar_t* form : {L"а", L"штамп", L"уку"}) {
        TGP_Proc_Rec rec{form, form, L"x/y", {}};
        AdjustStemBorder(L"ы", rec);
        EXPECT_EQ(rec.Form, form);
        EXPECT_EQ(rec.SplitForm, L"x/y") << form;
    }
    TGP_Proc_Rec rec{L"китап", L"китап", L"x/y", {}};
    AdjustStemBorder(L"ка", rec);
    EXPECT_EQ(rec.SplitForm, L"китап");
}

TEST(StemBorder, VoiceFinalConsonant) {
    struct Case {
        const wchar_t* base;
        const wchar_t* result;
    };
    for (const Case& c : {Case{L"ак", L"аг"}, Case{L"күп", L"күб"}, Case{L"зур", L"зур"}, Case{L"АК", L"АК"},
                          Case{L"", L""}, Case{L"к", L"г"}}) {
        TGP_Proc_Rec rec = RecordOf(c.base);
        VoiceFinalConsonant(rec);
        EXPECT_EQ(rec.Base, c.result) << c.base;
        EXPECT_EQ(rec.Form, c.base);
    }
}

TEST(StemBorder, DropStemFinal) {
    struct Case {
        const wchar_t* base;
        int ruleId;
        const wchar_t* result;
    };
    for (const Case& c : {Case{L"ике", 10, L"ик"}, Case{L"ике", 4, L"ике"}, Case{L"бер", 3, L"бер"},
                          Case{L"алты", 9, L"алт"}, Case{L"", 9, L""}}) {
        TGP_Proc_Rec rec{c.base, L"f", L"s", {}};
        const TTaileLookup lookup{L"", 15, AffixTexts[c.ruleId], c.ruleId};
        DropStemFinal(rec, lookup);
        EXPECT_EQ(rec.Base, c.result) << c.base;
        const bool dropped = std::wstring(c.base) != c.result;
        EXPECT_EQ(rec.Form, dropped ? c.result : L"f");
        EXPECT_EQ(rec.SplitForm, dropped ? c.result : L"s");
    }
}

TEST(NounSuffix, ThirdPersonAfterU) {
    TGP_Proc_Rec rec = RecordOf(L"тау");
    bool first = true;
    AppendNounSuffix(9, 0, 4, first, rec, true);
    EXPECT_FALSE(first);
    EXPECT_EQ(Describe(rec), L"тав/ы [9]");
    EXPECT_EQ(rec.Affixes[0].RuleId, 0);
    EXPECT_EQ(rec.Base, L"тау");

    rec = RecordOf(L"уку");
    first = true;
    AppendNounSuffix(9, 0, 4, first, rec, true);
    EXPECT_EQ(Describe(rec), L"уку/ы [9]");
}

TEST(NounSuffix, PossessiveEAddsNoEntry) {
    TGP_Proc_Rec rec = RecordOf(L"бие");
    bool first = true;
    AppendNounSuffix(9, 0, 1, first, rec, true);
    EXPECT_FALSE(first);
    EXPECT_EQ(Describe(rec), L"бие []");
}

TEST(NounSuffix, ChoosesAgainAfterTheBorder) {
    TGP_Proc_Rec rec = RecordOf(L"туй");
    bool first = true;
    AppendNounSuffix(7, 0, 4, first, rec, false);
    EXPECT_EQ(Describe(rec), L"туе/м [7]");
    EXPECT_STREQ(rec.Affixes[0].AffixText, L"м");
}

TEST(NounSuffix, OnlyTheFirstCallTouchesTheStemEvenWhenItFoundNoRow) {
    TGP_Proc_Rec rec = RecordOf(L"тау");
    bool first = true;
    AppendNounSuffix(10, 5, 4, first, rec, false);
    EXPECT_FALSE(first);
    EXPECT_EQ(Describe(rec), L"тау []");
    AppendNounSuffix(9, 0, 4, first, rec, true);
    EXPECT_EQ(Describe(rec), L"тау/ы [9]");
}

TEST(NumeralSuffix, KeepsTheFirstSuffixFlagWhenNoRowFits) {
    TGP_Proc_Rec rec = RecordOf(L"ике");
    bool first = true;
    AppendNumeralSuffix(12, 1, first, rec);
    EXPECT_TRUE(first);
    EXPECT_EQ(Describe(rec), L"ике []");
    AppendNumeralSuffix(15, 1, first, rec);
    EXPECT_FALSE(first);
    EXPECT_EQ(Describe(rec), L"ик/әү [15]");
    EXPECT_EQ(rec.Affixes[0].RuleId, 10);
}

// ---- nouns ----

struct NounCase {
    const wchar_t* word;
    uint8_t caseCode;
    uint8_t possessor;
    uint8_t number;
    const wchar_t* expected;
};

void CheckNouns(const std::vector<NounCase>& cases) {
    for (const NounCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.word << " case " << int{c.caseCode} << " possessor " << int{c.possessor}
                                        << " number " << int{c.number});
        TGP_Proc_Rec rec{L"old", L"old", L"old", {{L"x", L"y", 1, 1}}};
        BuildNounForm(c.word, c.caseCode, c.possessor, c.number, rec);
        EXPECT_EQ(Describe(rec), c.expected);
        EXPECT_EQ(rec.Base, c.word);
        ExpectConsistent(rec, RuleIds::Zero);
    }
}

TEST(NounForms, GridOfABackStemWithAlternation) {
    CheckNouns({
        {L"китап", 1, 0, 1, L"китап []"},
        {L"китап", 1, 1, 1, L"китаб/ым [7]"},
        {L"китап", 1, 2, 1, L"китаб/ың [8]"},
        {L"китап", 1, 3, 1, L"китаб/ы [9]"},
        {L"китап", 2, 0, 1, L"китап/ның [2]"},
        {L"китап", 2, 1, 1, L"китаб/ым/ның [7 2]"},
        {L"китап", 2, 2, 1, L"китаб/ың/ның [8 2]"},
        {L"китап", 2, 3, 1, L"китаб/ы/ның [9 2]"},
        {L"китап", 3, 0, 1, L"китап/ка [3]"},
        {L"китап", 3, 1, 1, L"китаб/ым/а [7 31]"},
        {L"китап", 3, 2, 1, L"китаб/ың/а [8 31]"},
        {L"китап", 3, 3, 1, L"китаб/ы/на [9 31]"},
        {L"китап", 4, 0, 1, L"китап/ны [4]"},
        {L"китап", 4, 1, 1, L"китаб/ым/ны [7 4]"},
        {L"китап", 4, 2, 1, L"китаб/ың/ны [8 4]"},
        {L"китап", 4, 3, 1, L"китаб/ы/н [9 9]"},
        {L"китап", 5, 0, 1, L"китап/тан [5]"},
        {L"китап", 5, 1, 1, L"китаб/ым/нан [7 5]"},
        {L"китап", 5, 2, 1, L"китаб/ың/нан [8 5]"},
        {L"китап", 5, 3, 1, L"китаб/ы/н/нан [9 9 5]"},
        {L"китап", 6, 0, 1, L"китап/та [6]"},
        {L"китап", 6, 1, 1, L"китаб/ым/да [7 6]"},
        {L"китап", 6, 2, 1, L"китаб/ың/да [8 6]"},
        {L"китап", 6, 3, 1, L"китаб/ы/н/да [9 9 6]"},
        {L"китап", 1, 0, 2, L"китап/лар [1]"},
        {L"китап", 2, 0, 2, L"китап/лар/ның [1 2]"},
        {L"китап", 3, 0, 2, L"китап/лар/га [1 3]"},
        {L"китап", 6, 0, 2, L"китап/лар/да [1 6]"},
        {L"китап", 1, 1, 2, L"китап/лар/ым [1 7]"},
        {L"китап", 4, 2, 2, L"китап/лар/ың/ны [1 8 4]"},
        {L"китап", 5, 3, 2, L"китап/лар/ы/н/нан [1 9 9 5]"},
    });
}

TEST(NounForms, GridOfAFrontStemEndingInAVowel) {
    CheckNouns({
        {L"әни", 1, 0, 1, L"әни []"},          {L"әни", 1, 1, 1, L"әни/м [7]"},
        {L"әни", 1, 2, 1, L"әни/ң [8]"},       {L"әни", 1, 3, 1, L"әни/се [9]"},
        {L"әни", 2, 0, 1, L"әни/нең [2]"},     {L"әни", 2, 1, 1, L"әни/м/нең [7 2]"},
        {L"әни", 2, 2, 1, L"әни/ң/нең [8 2]"}, {L"әни", 2, 3, 1, L"әни/се/нең [9 2]"},
        {L"әни", 3, 0, 1, L"әни/гә [3]"},      {L"әни", 3, 1, 1, L"әни/м/ә [7 31]"},
        {L"әни", 3, 2, 1, L"әни/ң/ә [8 31]"},  {L"әни", 3, 3, 1, L"әни/се/нә [9 31]"},
        {L"әни", 4, 0, 1, L"әни/не [4]"},      {L"әни", 4, 1, 1, L"әни/м/не [7 4]"},
        {L"әни", 4, 2, 1, L"әни/ң/не [8 4]"},  {L"әни", 4, 3, 1, L"әни/се/н [9 9]"},
        {L"әни", 5, 0, 1, L"әни/дән [5]"},     {L"әни", 5, 1, 1, L"әни/м/нән [7 5]"},
        {L"әни", 5, 2, 1, L"әни/ң/нән [8 5]"}, {L"әни", 5, 3, 1, L"әни/се/н/нән [9 9 5]"},
        {L"әни", 6, 0, 1, L"әни/дә [6]"},      {L"әни", 6, 1, 1, L"әни/м/дә [7 6]"},
        {L"әни", 6, 2, 1, L"әни/ң/дә [8 6]"},  {L"әни", 6, 3, 1, L"әни/се/н/дә [9 9 6]"},
        {L"әни", 1, 0, 2, L"әни/ләр [1]"},     {L"әни", 3, 1, 2, L"әни/ләр/ем/ә [1 7 31]"},
    });
}

TEST(NounForms, WorkedExamples) {
    CheckNouns({
        {L"урман", 5, 0, 2, L"урман/нар/дан [1 5]"},
        {L"тау", 6, 3, 1, L"тав/ы/н/да [9 9 6]"},
        {L"туй", 3, 3, 1, L"туе/на [31]"},
        {L"туй", 1, 3, 1, L"туе []"},
        {L"уку", 1, 3, 1, L"уку/ы [9]"},
        {L"сәгать", 1, 3, 1, L"сәгат/е [9]"},
        {L"сәгать", 3, 0, 1, L"сәгать/кә [3]"},
        {L"диск", 1, 3, 1, L"диск/е [9]"},
        {L"эш", 6, 3, 1, L"эш/е/н/дә [9 9 6]"},
        {L"эш", 3, 0, 1, L"эш/кә [3]"},
        {L"эш", 5, 0, 1, L"эш/тән [5]"},
    });
}

TEST(NounForms, ArgumentsOutOfRangeJoinOnlyThePlural) {
    CheckNouns({
        {L"китап", 2, 5, 2, L"китап/лар [1]"},
        {L"китап", 2, 5, 1, L"китап []"},
        {L"китап", 0, 1, 2, L"китап/лар [1]"},
        {L"китап", 7, 0, 1, L"китап []"},
        {L"китап", 3, 1, 3, L"китаб/ым/а [7 31]"},
    });
}

TEST(NounForms, WordsOutsideTheLetterTableComeBackUnchanged) {
    CheckNouns({
        {L"abc", 3, 0, 1, L"abc []"},
        {L"12", 5, 3, 2, L"12 []"},
    });
}

TEST(NounForms, EmptyWordEmptiesTheRecord) {
    TGP_Proc_Rec rec{L"a", L"b", L"c", {{L"x", L"y", 1, 1}}};
    BuildNounForm(L"", 3, 1, 2, rec);
    EXPECT_EQ(rec.Base, L"");
    EXPECT_EQ(rec.Form, L"");
    EXPECT_EQ(rec.SplitForm, L"");
    EXPECT_TRUE(rec.Affixes.empty());
}

TEST(NounForms, NamesFollowTheInterfaceLanguage) {
    TGP_Proc_Rec rec;
    {
        TTestCustoms customs;
        customs->UILanguage = langTatar;
        BuildNounForm(L"китап", 5, 3, 1, rec);
    }
    ASSERT_EQ(rec.Affixes.size(), 3u);
    EXPECT_STREQ(rec.Affixes[0].FormName, L"тартым 3 зат берлек сан");
    EXPECT_STREQ(rec.Affixes[2].FormName, L"чыгыш килеш");
}

// ---- adjectives ----

struct AdjectiveCase {
    const wchar_t* word;
    uint8_t degree;
    const wchar_t* base;
    const wchar_t* expected;
};

TEST(AdjectiveForms, Degrees) {
    const AdjectiveCase cases[] = {
        {L"ак", 2, L"аг", L"аг/рак [12]"},    {L"күп", 2, L"күб", L"күб/рәк [12]"},
        {L"яшь", 2, L"яшь", L"яшь/рәк [12]"}, {L"зур", 2, L"зур", L"зур/рак [12]"},
        {L"АК", 2, L"АК", L"АК/рак [12]"},    {L"abc", 2, L"abc", L"abc/рак [12]"},
        {L"12", 2, L"12", L"12/рак [12]"},    {L"ак", 1, L"ак", L"ак []"},
        {L"ак", 0, L"ак", L"ак []"},          {L"ак", 3, L"ак", L"ак []"},
    };
    for (const AdjectiveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.word << " degree " << int{c.degree});
        TGP_Proc_Rec rec{L"old", L"old", L"old", {{L"x", L"y", 1, 1}}};
        BuildAdjectiveForm(c.word, c.degree, rec);
        EXPECT_EQ(rec.Base, c.base);
        EXPECT_EQ(Describe(rec), c.expected);
        ExpectConsistent(rec, RuleIds::FromRow);
    }
    TGP_Proc_Rec rec;
    BuildAdjectiveForm(L"ак", 2, rec);
    ASSERT_EQ(rec.Affixes.size(), 1u);
    EXPECT_EQ(rec.Affixes[0].RuleId, 1);
    BuildAdjectiveForm(L"күп", 2, rec);
    EXPECT_EQ(rec.Affixes[0].RuleId, 2);
}

TEST(AdjectiveForms, EmptyWordEmptiesTheRecordLikeTheOtherBuilders) {
    TGP_Proc_Rec rec{L"a", L"b", L"c", {{L"x", L"y", 1, 1}}};
    BuildAdjectiveForm(L"", 2, rec);
    EXPECT_EQ(rec.Base, L"");
    EXPECT_EQ(rec.Form, L"");
    EXPECT_EQ(rec.SplitForm, L"");
    EXPECT_TRUE(rec.Affixes.empty());
}

// ---- numerals ----

struct NumeralCase {
    const wchar_t* word;
    uint8_t caseCode;
    uint8_t kind;
    const wchar_t* expected;
};

void CheckNumerals(const std::vector<NumeralCase>& cases) {
    for (const NumeralCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.word << " case " << int{c.caseCode} << " kind " << int{c.kind});
        TGP_Proc_Rec rec{L"old", L"old", L"old", {{L"x", L"y", 1, 1}}};
        BuildNumeralForm(c.word, c.caseCode, c.kind, rec);
        EXPECT_EQ(Describe(rec), c.expected);
        ExpectConsistent(rec, RuleIds::FromRow);
    }
}

TEST(NumeralForms, GridOfABackNumeral) {
    CheckNumerals({
        {L"алты", 1, 1, L"алты []"},
        {L"алты", 1, 2, L"алты/нчы [13]"},
        {L"алты", 1, 3, L"алты/лап [14]"},
        {L"алты", 1, 4, L"алт/ау [15]"},
        {L"алты", 1, 5, L"алты/шар [16]"},
        {L"алты", 2, 1, L"алты/ның [2]"},
        {L"алты", 2, 2, L"алты/нчы/ның [13 2]"},
        {L"алты", 2, 3, L"алты []"},
        {L"алты", 2, 4, L"алты []"},
        {L"алты", 2, 5, L"алты []"},
        {L"алты", 3, 1, L"алты/га [3]"},
        {L"алты", 3, 2, L"алты/нчы/га [13 3]"},
        {L"алты", 3, 3, L"алты []"},
        {L"алты", 4, 1, L"алты/ны [4]"},
        {L"алты", 4, 2, L"алты/нчы/ны [13 4]"},
        {L"алты", 4, 4, L"алты []"},
        {L"алты", 5, 1, L"алты/дан [5]"},
        {L"алты", 5, 2, L"алты/нчы/дан [13 5]"},
        {L"алты", 5, 5, L"алты []"},
        {L"алты", 6, 1, L"алты/да [6]"},
        {L"алты", 6, 2, L"алты/нчы/да [13 6]"},
        {L"алты", 6, 3, L"алты []"},
    });
}

TEST(NumeralForms, GridOfAFrontNumeral) {
    CheckNumerals({
        {L"бер", 1, 1, L"бер []"},
        {L"бер", 1, 2, L"бер/енче [13]"},
        {L"бер", 1, 3, L"бер/ләп [14]"},
        {L"бер", 1, 4, L"бер/әү [15]"},
        {L"бер", 1, 5, L"бер/ешәр [16]"},
        {L"бер", 2, 1, L"бер/нең [2]"},
        {L"бер", 2, 2, L"бер/енче/нең [13 2]"},
        {L"бер", 3, 1, L"бер/гә [3]"},
        {L"бер", 3, 2, L"бер/енче/гә [13 3]"},
        {L"бер", 4, 1, L"бер/не [4]"},
        {L"бер", 4, 2, L"бер/енче/не [13 4]"},
        {L"бер", 5, 1, L"бер/дән [5]"},
        {L"бер", 5, 2, L"бер/енче/дән [13 5]"},
        {L"бер", 6, 1, L"бер/дә [6]"},
        {L"бер", 6, 2, L"бер/енче/дә [13 6]"},
    });
}

TEST(NumeralForms, WorkedExamples) {
    CheckNumerals({
        {L"ике", 1, 4, L"ик/әү [15]"},
        {L"ике", 1, 2, L"ике/нче [13]"},
        {L"ике", 1, 5, L"ике/шәр [16]"},
        {L"ике", 3, 3, L"ике []"},
        {L"алты", 3, 2, L"алты/нчы/га [13 3]"},
        {L"ун", 4, 1, L"ун/ны [4]"},
        {L"а", 2, 1, L"а []"},
        {L"12", 2, 1, L"12 []"},
        {L"алты", 7, 1, L"алты []"},
        {L"алты", 1, 6, L"алты []"},
        {L"алты", 1, 0, L"алты []"},
    });
    TGP_Proc_Rec rec;
    BuildNumeralForm(L"ике", 1, 4, rec);
    EXPECT_EQ(rec.Base, L"ик");
    BuildNumeralForm(L"алты", 1, 4, rec);
    EXPECT_EQ(rec.Base, L"алт");
    EXPECT_EQ(rec.Form, L"алтау");
    BuildNumeralForm(L"алты", 3, 2, rec);
    EXPECT_EQ(rec.Base, L"алты");
}

TEST(NumeralForms, EmptyWordEmptiesTheRecord) {
    TGP_Proc_Rec rec{L"a", L"b", L"c", {{L"x", L"y", 1, 1}}};
    BuildNumeralForm(L"", 2, 1, rec);
    EXPECT_EQ(Describe(rec), L" []");
    EXPECT_EQ(rec.Base, L"");
    EXPECT_EQ(rec.Form, L"");
}

// ---- verb steps ----

TEST(VerbSteps, SplitVerbStem) {
    struct Case {
        const wchar_t* word;
        const wchar_t* stem;
        int32_t key;
        bool table;
    };
    const Case cases[] = {
        {L"бару", L"бар", 0, false}, {L"язу", L"яз", 1, false},   {L"эшләү", L"эшлә", 0, false},
        {L"уку", L"укы", 0, true},   {L"тану", L"таны", 0, true}, {L"йөрү", L"йөр", 1, true},
        {L"туу", L"ту", 1, false},   {L"ЯЗУ", L"ЯЗ", 1, false},   {L"у", L"у", 1, false},
        {L"сөю", L"сөю", 0, false},  {L"алу", L"ал", 0, false},   {L"яз", L"яз", 1, false},
    };
    for (const Case& c : cases) {
        TGP_Proc_Rec rec;
        int32_t key = -5;
        bool table = !c.table;
        SplitVerbStem(c.word, key, table, rec);
        EXPECT_EQ(rec.Base, c.stem) << c.word;
        EXPECT_EQ(rec.Form, c.stem) << c.word;
        EXPECT_EQ(rec.SplitForm, c.stem) << c.word;
        EXPECT_EQ(key, c.key) << c.word;
        EXPECT_EQ(table, c.table) << c.word;
    }
}

TEST(VerbSteps, AlternateVerbStemFinal) {
    struct Case {
        const wchar_t* stem;
        const wchar_t* result;
    };
    for (const Case& c : {Case{L"таб", L"тап"}, Case{L"ав", L"ау"}, Case{L"эче", L"эчй"}, Case{L"ТАБ", L"ТАП"},
                          Case{L"ТАВ", L"ТАУ"}, Case{L"яг", L"як"}, Case{L"бар", L"бар"}, Case{L"тау", L"тау"},
                          Case{L"ак", L"ак"}, Case{L"б", L"б"}, Case{L"", L""}}) {
        TGP_Proc_Rec rec = RecordOf(c.stem);
        AlternateVerbStemFinal(rec);
        EXPECT_EQ(rec.Base, c.result) << c.stem;
        EXPECT_EQ(rec.Form, c.result) << c.stem;
        EXPECT_EQ(rec.SplitForm, c.result) << c.stem;
    }
}

TEST(VerbSteps, StripVerbStemVowel) {
    struct Case {
        const wchar_t* stem;
        bool result;
        int32_t harmony;
        const wchar_t* after;
    };
    for (const Case& c : {Case{L"эшлә", true, 1, L"эшл"}, Case{L"укы", true, 4, L"укы"}, Case{L"аша", true, 4, L"аш"},
                          Case{L"баа", true, 4, L"б"}, Case{L"а", true, 4, L"а"}, Case{L"яз", false, -1, L"яз"},
                          Case{L"", false, -1, L""}}) {
        TGP_Proc_Rec rec = RecordOf(c.stem);
        int32_t harmony = 9;
        EXPECT_EQ(StripVerbStemVowel(harmony, rec), c.result) << c.stem;
        EXPECT_EQ(harmony, c.harmony) << c.stem;
        EXPECT_EQ(rec.Base, c.after) << c.stem;
        EXPECT_EQ(rec.Form, c.after) << c.stem;
        EXPECT_EQ(rec.SplitForm, c.after) << c.stem;
    }
}

TEST(VerbSteps, FirstPersonAfterPresentOrNegationIsM) {
    TGP_Proc_Rec rec = RecordOf(L"укы");
    AppendVerbEnding(24, 1, rec, 4, 0);
    AppendVerbEnding(7, 4, rec, 0, 0);
    EXPECT_EQ(Describe(rec), L"укы/ый/м [24 7]");

    rec = RecordOf(L"укы");
    AppendVerbEnding(20, 0, rec, 4, 0);
    AppendVerbEnding(7, 4, rec, 0, 0);
    EXPECT_EQ(Describe(rec), L"укы/ый/ым [20 7]");

    rec = RecordOf(L"бар");
    AppendVerbEnding(33, 6, rec, 0, 0);
    AppendVerbEnding(7, 4, rec, 0, 0);
    EXPECT_EQ(Describe(rec), L"бар/мый/м [33 7]");
    AppendVerbEnding(-1, 0, rec, 0, 0);
    AppendVerbEnding(2, 0, rec, 0, 0);
    EXPECT_EQ(Describe(rec), L"бар/мый/м [33 7]");
}

TEST(VerbSteps, OverridesOfHarmonyAndClass) {
    TGP_Proc_Rec rec = RecordOf(L"бар");
    AppendVerbEnding(24, 0, rec, 1, 0);
    EXPECT_EQ(Describe(rec), L"бар/ә [24]");
    rec = RecordOf(L"бар");
    AppendVerbEnding(17, 0, rec, 0, 7);
    EXPECT_EQ(Describe(rec), L"бар/рга [17]");
    ExpectConsistent(rec, RuleIds::FromRow);
}

TEST(VerbSteps, Placeholders) {
    TGP_Proc_Rec rec = RecordOf(L"бар");
    AppendImperativePlaceholder(rec);
    EXPECT_EQ(Describe(rec), L"бар [21*]");
    EXPECT_EQ(rec.Form, L"бар");
    EXPECT_EQ(rec.Affixes[0].RuleId, 61);

    rec = RecordOf(L"баю");
    AppendPlaceholderSuffix(2, rec);
    AppendPlaceholderSuffix(3, rec);
    AppendPlaceholderSuffix(5, rec);
    EXPECT_EQ(Describe(rec), L"баю [19* 21*]");
    EXPECT_STREQ(rec.Affixes[0].FormName, CategoryName(19));
}

TEST(VerbSteps, SetVerbStemFinal) {
    TGP_Proc_Rec rec;
    SetVerbStemFinal(L"баю", 0, rec);
    EXPECT_EQ(Describe(rec), L"бай []");
    EXPECT_EQ(rec.Base, L"бай");
    SetVerbStemFinal(L"баю", 1, rec);
    EXPECT_EQ(rec.Form, L"бае");
    SetVerbStemFinal(L"баю", 2, rec);
    EXPECT_EQ(rec.SplitForm, L"баю");
    SetVerbStemFinal(L"", 0, rec);
    EXPECT_EQ(rec.Base, L"");
}

// ---- verbs ----

struct VerbCase {
    const wchar_t* word;
    uint8_t kind;
    uint8_t tense;
    uint8_t person;
    uint8_t number;
    uint8_t negation;
    const wchar_t* expected;
};

std::wstring BuildVerb(const wchar_t* word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                       uint8_t negation, TGP_Proc_Rec& rec) {
    rec = {L"old", L"old", L"old", {{L"x", L"y", 1, 1}}};
    BuildVerbForm(word, kind, tense, person, number, negation, rec);
    ExpectConsistent(rec, RuleIds::FromRow);
    return Describe(rec);
}

void CheckVerbs(const std::vector<VerbCase>& cases) {
    for (const VerbCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.word << " kind " << int{c.kind} << " tense " << int{c.tense} << " person "
                                        << int{c.person} << " number " << int{c.number} << " negation "
                                        << int{c.negation});
        TGP_Proc_Rec rec;
        EXPECT_EQ(BuildVerb(c.word, c.kind, c.tense, c.person, c.number, c.negation, rec), c.expected);
    }
}

// Forms of kinds 3 to 5 by row (imperative, conditional, then the five tenses) and by column
// (1 sg, 1 pl, 2 sg, 2 pl, 3 sg, 3 pl).
using TVerbGrid = std::vector<std::vector<const wchar_t*>>;

void CheckVerbGrid(const wchar_t* word, uint8_t negation, const TVerbGrid& grid) {
    ASSERT_EQ(grid.size(), 7u);
    for (size_t row = 0; row < grid.size(); ++row) {
        ASSERT_EQ(grid[row].size(), 6u);
        const auto kind = static_cast<uint8_t>(row < 2 ? row + 3 : 5);
        const auto tense = static_cast<uint8_t>(row < 2 ? 1 : row - 1);
        for (size_t column = 0; column < 6; ++column) {
            const auto person = static_cast<uint8_t>(column / 2 + 1);
            const auto number = static_cast<uint8_t>(column % 2 + 1);
            SCOPED_TRACE(testing::Message()
                         << word << " kind " << int{kind} << " tense " << int{tense} << " person " << int{person}
                         << " number " << int{number} << " negation " << int{negation});
            TGP_Proc_Rec rec;
            EXPECT_EQ(BuildVerb(word, kind, tense, person, number, negation, rec), grid[row][column]);
        }
    }
}

TEST(VerbForms, YazuPositive) {
    CheckVerbs({{L"язу", 1, 0, 0, 0, 0, L"яз/арга [17]"}, {L"язу", 2, 0, 0, 0, 0, L"яз/у [19]"}});
    CheckVerbGrid(L"язу", 0,
                  {
                      {L"яз/ый/ым [20 7]", L"яз/ый/к [20 10]", L"яз [21*]", L"яз/ыгыз [34]", L"яз/сын [22]",
                       L"яз/сын/нар [22 1]"},
                      {L"яз/са/м [23 7]", L"яз/са/к [23 10]", L"яз/са/ң [23 8]", L"яз/са/гыз [23 34]", L"яз/са [23]",
                       L"яз/са/лар [23 1]"},
                      {L"яз/а/м [24 7]", L"яз/а/быз [24 10]", L"яз/а/сың [24 8]", L"яз/а/сыз [24 11]", L"яз/а [24]",
                       L"яз/а/лар [24 1]"},
                      {L"яз/ды/м [25 7]", L"яз/ды/к [25 10]", L"яз/ды/ң [25 8]", L"яз/ды/гыз [25 34]", L"яз/ды [25]",
                       L"яз/ды/лар [25 1]"},
                      {L"яз/ган/мын [26 7]", L"яз/ган/быз [26 10]", L"яз/ган/сың [26 8]", L"яз/ган/сыз [26 11]",
                       L"яз/ган [26]", L"яз/ган/нар [26 1]"},
                      {L"яз/ачак/мын [28 7]", L"яз/ачак/быз [28 10]", L"яз/ачак/сың [28 8]", L"яз/ачак/сыз [28 11]",
                       L"яз/ачак [28]", L"яз/ачак/лар [28 1]"},
                      {L"яз/ар/мын [27 7]", L"яз/ар/быз [27 10]", L"яз/ар/сың [27 8]", L"яз/ар/ысыз [27 11]",
                       L"яз/ар [27]", L"яз/ар/лар [27 1]"},
                  });
}

TEST(VerbForms, YazuNegative) {
    CheckVerbs({{L"язу", 1, 0, 0, 0, 1, L"яз/маска [18]"}, {L"язу", 2, 0, 0, 0, 1, L"яз/ма/у [29 19]"}});
    CheckVerbGrid(L"язу", 1,
                  {
                      {L"яз/ма/м [29 7]", L"яз/ма/к [29 10]", L"яз/ма [29]", L"яз/ма/гыз [29 34]", L"яз/ма/сын [29 22]",
                       L"яз/ма/сын/нар [29 22 1]"},
                      {L"яз/ма/са/м [29 23 7]", L"яз/ма/са/к [29 23 10]", L"яз/ма/са/ң [29 23 8]",
                       L"яз/ма/са/гыз [29 23 34]", L"яз/ма/са [29 23]", L"яз/ма/са/лар [29 23 1]"},
                      {L"яз/мый/м [33 7]", L"яз/мый/быз [33 10]", L"яз/мый/сың [33 8]", L"яз/мый/ысыз [33 11]",
                       L"яз/мый [33]", L"яз/мый/лар [33 1]"},
                      {L"яз/ма/ды/м [29 25 7]", L"яз/ма/ды/к [29 25 10]", L"яз/ма/ды/ң [29 25 8]",
                       L"яз/ма/ды/гыз [29 25 34]", L"яз/ма/ды [29 25]", L"яз/ма/ды/лар [29 25 1]"},
                      {L"яз/ма/ган/мын [29 26 7]", L"яз/ма/ган/быз [29 26 10]", L"яз/ма/ган/сың [29 26 8]",
                       L"яз/ма/ган/сыз [29 26 11]", L"яз/ма/ган [29 26]", L"яз/ма/ган/нар [29 26 1]"},
                      {L"яз/ма/ячак/мын [29 28 7]", L"яз/ма/ячак/быз [29 28 10]", L"яз/ма/ячак/сың [29 28 8]",
                       L"яз/ма/ячак/сыз [29 28 11]", L"яз/ма/ячак [29 28]", L"яз/ма/ячак/лар [29 28 1]"},
                      {L"яз/ма/м [29 7]", L"яз/ма/быз [29 10]", L"яз/мас/сың [33 8]", L"яз/мас/ысыз [33 11]",
                       L"яз/мас [33]", L"яз/мас/лар [33 1]"},
                  });
}

TEST(VerbForms, EshlauPositive) {
    CheckVerbs({{L"эшләү", 1, 0, 0, 0, 0, L"эшлә/ргә [17]"}, {L"эшләү", 2, 0, 0, 0, 0, L"эшлә/ү [19]"}});
    CheckVerbGrid(L"эшләү", 0,
                  {
                      {L"эшл/и/м [20 7]", L"эшл/и/к [20 10]", L"эшлә [21*]", L"эшлә/гез [34]", L"эшлә/сен [22]",
                       L"эшлә/сен/нәр [22 1]"},
                      {L"эшлә/сә/м [23 7]", L"эшлә/сә/к [23 10]", L"эшлә/сә/ң [23 8]", L"эшлә/сә/гез [23 34]",
                       L"эшлә/сә [23]", L"эшлә/сә/ләр [23 1]"},
                      {L"эшл/и/м [24 7]", L"эшл/и/без [24 10]", L"эшл/и/сең [24 8]", L"эшл/и/сез [24 11]",
                       L"эшл/и [24]", L"эшл/и/ләр [24 1]"},
                      {L"эшлә/де/м [25 7]", L"эшлә/де/к [25 10]", L"эшлә/де/ң [25 8]", L"эшлә/де/гез [25 34]",
                       L"эшлә/де [25]", L"эшлә/де/ләр [25 1]"},
                      {L"эшлә/гән/мен [26 7]", L"эшлә/гән/без [26 10]", L"эшлә/гән/сең [26 8]", L"эшлә/гән/сез [26 11]",
                       L"эшлә/гән [26]", L"эшлә/гән/нәр [26 1]"},
                      {L"эшлә/ячәк/мен [28 7]", L"эшлә/ячәк/без [28 10]", L"эшлә/ячәк/сең [28 8]",
                       L"эшлә/ячәк/сез [28 11]", L"эшлә/ячәк [28]", L"эшлә/ячәк/ләр [28 1]"},
                      {L"эшлә/р/мен [27 7]", L"эшлә/р/без [27 10]", L"эшлә/р/сең [27 8]", L"эшлә/р/есез [27 11]",
                       L"эшлә/р [27]", L"эшлә/р/ләр [27 1]"},
                  });
}

TEST(VerbForms, EshlauNegative) {
    CheckVerbs({{L"эшләү", 1, 0, 0, 0, 1, L"эшлә/мәскә [18]"}, {L"эшләү", 2, 0, 0, 0, 1, L"эшлә/мә/ү [29 19]"}});
    CheckVerbGrid(L"эшләү", 1,
                  {
                      {L"эшлә/мә/м [29 7]", L"эшлә/мә/к [29 10]", L"эшлә/мә [29]", L"эшлә/мә/гез [29 34]",
                       L"эшлә/мә/сен [29 22]", L"эшлә/мә/сен/нәр [29 22 1]"},
                      {L"эшлә/мә/сә/м [29 23 7]", L"эшлә/мә/сә/к [29 23 10]", L"эшлә/мә/сә/ң [29 23 8]",
                       L"эшлә/мә/сә/гез [29 23 34]", L"эшлә/мә/сә [29 23]", L"эшлә/мә/сә/ләр [29 23 1]"},
                      {L"эшлә/ми/м [33 7]", L"эшлә/ми/без [33 10]", L"эшлә/ми/сең [33 8]", L"эшлә/ми/сез [33 11]",
                       L"эшлә/ми [33]", L"эшлә/ми/ләр [33 1]"},
                      {L"эшлә/мә/де/м [29 25 7]", L"эшлә/мә/де/к [29 25 10]", L"эшлә/мә/де/ң [29 25 8]",
                       L"эшлә/мә/де/гез [29 25 34]", L"эшлә/мә/де [29 25]", L"эшлә/мә/де/ләр [29 25 1]"},
                      {L"эшлә/мә/гән/мен [29 26 7]", L"эшлә/мә/гән/без [29 26 10]", L"эшлә/мә/гән/сең [29 26 8]",
                       L"эшлә/мә/гән/сез [29 26 11]", L"эшлә/мә/гән [29 26]", L"эшлә/мә/гән/нәр [29 26 1]"},
                      {L"эшлә/мә/ячәк/мен [29 28 7]", L"эшлә/мә/ячәк/без [29 28 10]", L"эшлә/мә/ячәк/сең [29 28 8]",
                       L"эшлә/мә/ячәк/сез [29 28 11]", L"эшлә/мә/ячәк [29 28]", L"эшлә/мә/ячәк/ләр [29 28 1]"},
                      {L"эшлә/мә/м [29 7]", L"эшлә/мә/без [29 10]", L"эшлә/мәс/сең [33 8]", L"эшлә/мәс/есез [33 11]",
                       L"эшлә/мәс [33]", L"эшлә/мәс/ләр [33 1]"},
                  });
}

TEST(VerbForms, BayuPositive) {
    CheckVerbs({{L"баю", 1, 0, 0, 0, 0, L"бае/рга [17]"}, {L"баю", 2, 0, 0, 0, 0, L"баю [19*]"}});
    CheckVerbGrid(L"баю", 0,
                  {
                      {L"бай/ы/м [9 7]", L"бай/ы/к [9 10]", L"бай [21*]", L"бай/ы/гыз [9 34]", L"бай/ы/сын [9 22]",
                       L"бай/ы/сын/нар [9 22 1]"},
                      {L"бай/ы/са/м [9 23 7]", L"бай/ы/са/к [9 23 10]", L"бай/ы/са/ң [9 23 8]",
                       L"бай/ы/са/гыз [9 23 34]", L"бай/ы/са [9 23]", L"бай/ы/са/лар [9 23 1]"},
                      {L"бай/ы/м [9 7]", L"бай/ы/быз [9 10]", L"бай/ы/сың [9 8]", L"бай/ы/сыз [9 11]", L"бай/ый [20]",
                       L"бай/ы/лар [9 1]"},
                      {L"бай/ы/ды/м [9 25 7]", L"бай/ы/ды/к [9 25 10]", L"бай/ы/ды/ң [9 25 8]",
                       L"бай/ы/ды/гыз [9 25 34]", L"бай/ы/ды [9 25]", L"бай/ы/ды/лар [9 25 1]"},
                      {L"бай/ы/ган/мын [9 26 7]", L"бай/ы/ган/быз [9 26 10]", L"бай/ы/ган/сың [9 26 8]",
                       L"бай/ы/ган/сыз [9 26 11]", L"бай/ы/ган [9 26]", L"бай/ы/ган/нар [9 26 1]"},
                      {L"бай/ы/ачак/мын [9 28 7]", L"бай/ы/ачак/быз [9 28 10]", L"бай/ы/ачак/сың [9 28 8]",
                       L"бай/ы/ачак/сыз [9 28 11]", L"бай/ы/ачак [9 28]", L"бай/ы/ачак/лар [9 28 1]"},
                      {L"бай/ы/р/мын [9 27 7]", L"бай/ы/р/быз [9 27 10]", L"бай/ы/р/сың [9 27 8]",
                       L"бай/ы/р/сыз [9 27 11]", L"бай/ы/р [9 27]", L"бай/ы/р/лар [9 27 1]"},
                  });
}

TEST(VerbForms, BayuNegative) {
    CheckVerbs({{L"баю", 1, 0, 0, 0, 1, L"бай/маска [18]"}, {L"баю", 2, 0, 0, 0, 1, L"бай/ы/ма/у [9 29 19]"}});
    CheckVerbGrid(
        L"баю", 1,
        {
            {L"бай/ы/мый/м [9 33 7]", L"бай/ы/мый/к [9 33 10]", L"бай/ы/ма [9 29]", L"бай/ы/ма/гыз [9 29 34]",
             L"бай/ы/ма/сын [9 29 22]", L"бай/ы/ма/сын/нар [9 29 22 1]"},
            {L"бай/ы/ма/са/м [9 29 23 7]", L"бай/ы/ма/са/к [9 29 23 10]", L"бай/ы/ма/са/ң [9 29 23 8]",
             L"бай/ы/ма/са/гыз [9 29 23 34]", L"бай/ы/ма/са [9 29 23]", L"бай/ы/ма/са/лар [9 29 23 1]"},
            {L"бай/ы/мый/м [9 33 7]", L"бай/ы/мый/быз [9 33 10]", L"бай/ы/мый/сың [9 33 8]", L"бай/ы/мый/сыз [9 33 11]",
             L"бай/ы/мый [9 33]", L"бай/ы/мый/лар [9 33 1]"},
            {L"бай/ы/ма/ды/м [9 29 25 7]", L"бай/ы/ма/ды/к [9 29 25 10]", L"бай/ы/ма/ды/ң [9 29 25 8]",
             L"бай/ы/ма/ды/гыз [9 29 25 34]", L"бай/ы/ма/ды [9 29 25]", L"бай/ы/ма/ды/лар [9 29 25 1]"},
            {L"бай/ы/ма/ган/мын [9 29 26 7]", L"бай/ы/ма/ган/быз [9 29 26 10]", L"бай/ы/ма/ган/сың [9 29 26 8]",
             L"бай/ы/ма/ган/сыз [9 29 26 11]", L"бай/ы/ма/ган [9 29 26]", L"бай/ы/ма/ган/нар [9 29 26 1]"},
            {L"бай/ы/ма/ячак/мын [9 29 28 7]", L"бай/ы/ма/ячак/быз [9 29 28 10]", L"бай/ы/ма/ячак/сың [9 29 28 8]",
             L"бай/ы/ма/ячак/сыз [9 29 28 11]", L"бай/ы/ма/ячак [9 29 28]", L"бай/ы/ма/ячак/лар [9 29 28 1]"},
            {L"бай/ы/ма/мын [9 29 7]", L"бай/ы/ма/быз [9 29 10]", L"бай/ы/мас/сың [9 33 8]", L"бай/ы/мас/сыз [9 33 11]",
             L"бай/ы/мас [9 33]", L"бай/ы/мас/лар [9 33 1]"},
        });
}

TEST(VerbForms, WorkedExamples) {
    CheckVerbs({
        {L"бару", 1, 0, 0, 0, 0, L"бар/ырга [17]"},
        {L"бару", 5, 1, 3, 1, 0, L"бар/а [24]"},
        {L"бару", 5, 1, 1, 1, 0, L"бар/а/м [24 7]"},
        {L"бару", 5, 2, 1, 1, 0, L"бар/ды/м [25 7]"},
        {L"бару", 5, 1, 1, 1, 1, L"бар/мый/м [33 7]"},
        {L"бару", 1, 0, 0, 0, 1, L"бар/маска [18]"},
        {L"бару", 3, 0, 2, 1, 0, L"бар [21*]"},
        {L"бару", 5, 5, 3, 1, 0, L"бар/ыр [27]"},
        {L"табу", 3, 0, 2, 1, 0, L"тап [21*]"},
        {L"табу", 5, 2, 3, 1, 0, L"таб/ты [25]"},
        {L"туу", 1, 0, 0, 0, 0, L"ту/арга [17]"},
        {L"уку", 1, 0, 0, 0, 0, L"укы/рга [17]"},
        {L"уку", 2, 0, 0, 0, 0, L"укы/у [19]"},
        {L"уку", 5, 1, 3, 1, 0, L"укы/ый [24]"},
        {L"уку", 5, 1, 1, 1, 0, L"укы/ый/м [24 7]"},
        {L"уку", 3, 0, 1, 1, 0, L"укы/ый/ым [20 7]"},
        {L"уку", 3, 0, 2, 1, 0, L"укы [21*]"},
        {L"уку", 5, 1, 1, 1, 1, L"укы/мый/м [33 7]"},
        {L"кую", 2, 0, 0, 0, 0, L"кую []"},
        {L"кую", 1, 0, 0, 0, 0, L"кую/рга [17]"},
        {L"ашау", 1, 0, 0, 0, 0, L"аша/рга [17]"},
        {L"ашау", 5, 1, 3, 1, 0, L"аш/ый [24]"},
        {L"ашау", 5, 1, 1, 1, 0, L"аш/ый/м [24 7]"},
        {L"ашау", 5, 1, 2, 2, 0, L"аш/ый/ысыз [24 11]"},
        {L"ашау", 3, 0, 1, 1, 0, L"аш/ый/ым [20 7]"},
        {L"ашау", 5, 4, 3, 1, 0, L"аша/ячак [28]"},
        {L"алу", 1, 0, 0, 0, 0, L"ал/ырга [17]"},
        {L"алу", 5, 5, 3, 1, 0, L"ал/ыр [27]"},
        {L"килү", 1, 0, 0, 0, 0, L"кил/ергә [17]"},
        {L"килү", 5, 5, 3, 1, 0, L"кил/ер [27]"},
        {L"сөю", 2, 0, 0, 0, 0, L"сөю []"},
        {L"сөю", 1, 0, 0, 0, 0, L"сөю/ргә [17]"},
        {L"аву", 3, 0, 2, 1, 0, L"ау [21*]"},
        {L"эчү", 3, 0, 2, 1, 0, L"эчй [21*]"},
        {L"эчү", 1, 0, 0, 0, 1, L"эчй/мәскә [18]"},
        {L"тибү", 5, 2, 3, 1, 0, L"тиб/те [25]"},
        {L"тибү", 5, 2, 3, 1, 1, L"тип/мә/де [29 25]"},
    });
}

TEST(VerbForms, BaseIsTheStemTheFormWasBuiltOn) {
    TGP_Proc_Rec rec;
    BuildVerb(L"ашау", 5, 1, 3, 1, 0, rec);
    EXPECT_EQ(rec.Base, L"аш");
    BuildVerb(L"эшләү", 3, 0, 1, 1, 0, rec);
    EXPECT_EQ(rec.Base, L"эшл");
    BuildVerb(L"табу", 3, 0, 2, 1, 0, rec);
    EXPECT_EQ(rec.Base, L"тап");
    BuildVerb(L"баю", 1, 0, 0, 0, 0, rec);
    EXPECT_EQ(rec.Base, L"бае");
    BuildVerb(L"баю", 5, 1, 1, 1, 1, rec);
    EXPECT_EQ(rec.Base, L"бай");
}

TEST(VerbForms, KindsIgnoreTheArgumentsTheyDoNotUse) {
    TGP_Proc_Rec rec;
    for (uint8_t kind : {3, 4}) {
        const std::wstring expected = BuildVerb(L"язу", kind, 1, 2, 2, 0, rec);
        for (uint8_t tense = 0; tense <= 6; ++tense) {
            EXPECT_EQ(BuildVerb(L"язу", kind, tense, 2, 2, 0, rec), expected) << int{kind} << " " << int{tense};
            EXPECT_EQ(BuildVerb(L"язу", kind, tense, 2, 2, 1, rec), BuildVerb(L"язу", kind, 1, 2, 2, 1, rec));
        }
    }
    for (uint8_t kind : {1, 2}) {
        for (uint8_t negation : {0, 1}) {
            const std::wstring expected = BuildVerb(L"язу", kind, 1, 1, 1, negation, rec);
            for (uint8_t tense : {0, 3, 6}) {
                for (uint8_t person : {0, 2, 4}) {
                    for (uint8_t number : {0, 2, 3}) {
                        EXPECT_EQ(BuildVerb(L"язу", kind, tense, person, number, negation, rec), expected);
                    }
                }
            }
        }
    }
}

TEST(VerbForms, ArgumentsOutOfRangeLeaveTheStem) {
    CheckVerbs({
        {L"язу", 5, 1, 4, 1, 0, L"яз []"},
        {L"язу", 5, 1, 1, 3, 0, L"яз []"},
        {L"язу", 5, 0, 1, 1, 0, L"яз []"},
        {L"язу", 5, 6, 1, 1, 1, L"яз []"},
        {L"язу", 0, 1, 1, 1, 0, L"яз []"},
        {L"язу", 6, 1, 1, 1, 0, L"яз []"},
        {L"язу", 4, 1, 0, 1, 0, L"яз []"},
        {L"язу", 3, 1, 1, 0, 1, L"яз []"},
        {L"табу", 1, 0, 0, 0, 2, L"тап []"},
        {L"баю", 5, 1, 1, 1, 2, L"бай []"},
        {L"баю", 5, 1, 4, 1, 0, L"бай []"},
        {L"баю", 7, 1, 1, 1, 0, L"бай []"},
    });
}

TEST(VerbForms, EmptyWordLeavesTheRecordAsItWas) {
    TGP_Proc_Rec rec;
    BuildVerb(L"язу", 5, 1, 1, 1, 0, rec);
    BuildVerbForm(L"", 5, 1, 1, 1, 0, rec);
    EXPECT_EQ(Describe(rec), L"яз/а/м [24 7]");
    EXPECT_EQ(rec.Base, L"яз");
    BuildExceptionVerbForm(L"", 1, 0, 0, 0, 0, rec);
    EXPECT_EQ(Describe(rec), L"яз/а/м [24 7]");
}

TEST(VerbForms, NamesFollowTheInterfaceLanguage) {
    TGP_Proc_Rec rec;
    {
        TTestCustoms customs;
        customs->UILanguage = langTatar;
        BuildVerbForm(L"бару", 3, 0, 2, 1, 0, rec);
    }
    ASSERT_EQ(rec.Affixes.size(), 1u);
    EXPECT_STREQ(rec.Affixes[0].FormName, L"боерык фигыль 2 зат берлек сан");
    EXPECT_STREQ(rec.Affixes[0].AffixText, L"()");
}
