#include "core/GP_PROC.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "core/GP_PROC_Steps.h"
#include "core/UILanguage.h"
#include "core/Utf8.h"
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

// An affix written after a stem's й as one letter with it: а, ә as я, у, ү as ю, ы, е as е (ку/я).
std::wstring IotaSpelling(std::wstring affix) {
    if (!affix.empty()) {
        const std::wstring from = L"аәуүые", to = L"яяююее";
        const size_t at = from.find(affix[0]);
        if (at != std::wstring::npos) {
            affix[0] = to[at];
        }
    }
    return affix;
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
        EXPECT_TRUE(parts[part] == info.AffixText || (part == 1 && IotaSpelling(info.AffixText) == parts[part]))
            << rec.SplitForm;
        ++part;
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
    EXPECT_TRUE(present2pl[1].Op == TVerbStepOp::Ending && present2pl[1].Code == 11 &&
                present2pl[1].ClassOverride == 7);
    EXPECT_EQ(present2pl[2].Op, TVerbStepOp::End);
    const TVerbCell& future3sg = PositiveVerbSteps[8][4];
    EXPECT_TRUE(future3sg[0].Code == 27 && future3sg[0].Key2 == kStemKey);
    const TVerbCell& imperative1sg = PositiveVerbSteps[2][0];
    EXPECT_EQ(imperative1sg[0].Op, TVerbStepOp::Strip);
    EXPECT_TRUE(imperative1sg[1].Code == 20 && imperative1sg[1].StrippedHarmony);
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

// ---- grids of forms (tests/data) ----

namespace {

struct FormLine {
    int number; // in its file
    std::wstring word;
    std::vector<uint8_t> arguments;
    std::wstring form;
    std::wstring expected; // as Describe gives it
};

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// Lines of "word<TAB>arguments<TAB>form<TAB>split form[<TAB>form codes]", # comments and blank
// lines skipped.
std::vector<FormLine> ReadFormLines(const std::string& name) {
    std::ifstream in(std::string(QV_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << name;
    std::vector<FormLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const std::vector<std::string> fields = SplitAt(text, '\t');
        if (fields.size() != 4 && fields.size() != 5) {
            ADD_FAILURE() << name << ":" << number << ": expected four or five fields";
            continue;
        }
        FormLine line{number, Utf8ToWide(fields[0]), {}, Utf8ToWide(fields[2]), {}};
        for (const std::string& argument : SplitAt(fields[1], ' ')) {
            line.arguments.push_back(static_cast<uint8_t>(std::stoi(argument)));
        }
        line.expected = Utf8ToWide(fields[3] + " [" + (fields.size() == 5 ? fields[4] : "") + "]");
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

TEST(FormGrids, EveryLineOfTheDataFiles) {
    struct GridFile {
        const char* name;
        size_t lines;
        size_t arguments;
        RuleIds ids;
        bool baseIsWord;
        void (*build)(const std::wstring& word, const std::vector<uint8_t>& a, TGP_Proc_Rec& rec);
    };
    const GridFile files[] = {
        {"tatar_noun_forms.txt", 65, 3, RuleIds::Zero, true,
         [](const std::wstring& word, const std::vector<uint8_t>& a, TGP_Proc_Rec& rec) {
             BuildNounForm(word, a[0], a[1], a[2], rec);
         }},
        {"numeral_forms.txt", 37, 2, RuleIds::FromRow, false,
         [](const std::wstring& word, const std::vector<uint8_t>& a, TGP_Proc_Rec& rec) {
             BuildNumeralForm(word, a[0], a[1], rec);
         }},
        {"verb_forms.txt", 264, 5, RuleIds::FromRow, false,
         [](const std::wstring& word, const std::vector<uint8_t>& a, TGP_Proc_Rec& rec) {
             BuildVerbForm(word, a[0], a[1], a[2], a[3], a[4], rec);
         }},
        {"tatar_verb_spelling.txt", 111, 5, RuleIds::FromRow, false,
         [](const std::wstring& word, const std::vector<uint8_t>& a, TGP_Proc_Rec& rec) {
             BuildVerbForm(word, a[0], a[1], a[2], a[3], a[4], rec);
         }},
    };
    for (const GridFile& file : files) {
        const std::vector<FormLine> lines = ReadFormLines(file.name);
        EXPECT_EQ(lines.size(), file.lines) << file.name;
        for (const FormLine& line : lines) {
            SCOPED_TRACE(testing::Message() << file.name << ":" << line.number);
            ASSERT_EQ(line.arguments.size(), file.arguments);
            TGP_Proc_Rec rec{L"old", L"old", L"old", {{L"x", L"y", 1, 1}}};
            file.build(line.word, line.arguments, rec);
            EXPECT_EQ(Describe(rec), line.expected);
            EXPECT_EQ(rec.Form, line.form);
            if (file.baseIsWord) {
                EXPECT_EQ(rec.Base, line.word);
            }
            ExpectConsistent(rec, file.ids);
        }
    }
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
        {L"бару", L"бар", 0, false},    {L"язу", L"яз", 1, false},   {L"эшләү", L"эшлә", 0, false},
        {L"уку", L"укы", 0, true},      {L"тану", L"таны", 0, true}, {L"йөрү", L"йөр", 0, true},
        {L"туу", L"ту", 1, false},      {L"ЯЗУ", L"ЯЗ", 1, false},   {L"у", L"у", 1, false},
        {L"сөю", L"сөй", 1, false},     {L"алу", L"ал", 0, false},   {L"яз", L"яз", 1, false},
        {L"кую", L"куй", 1, false},     {L"дию", L"ди", 1, false},   {L"бию", L"бие", 0, false},
        {L"борчу", L"борчы", 0, false}, {L"табу", L"таб", 1, false}, {L"кайту", L"кайт", 1, false},
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
    EXPECT_STREQ(rec.Affixes[0].FormName, CategoryName(21));
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
        {L"табу", 5, 2, 3, 1, 0, L"тап/ты [25]"},
        {L"туу", 1, 0, 0, 0, 0, L"ту/арга [17]"},
        {L"уку", 1, 0, 0, 0, 0, L"укы/рга [17]"},
        {L"уку", 2, 0, 0, 0, 0, L"ук/у [19]"},
        {L"уку", 5, 1, 3, 1, 0, L"ук/ый [24]"},
        {L"уку", 5, 1, 1, 1, 0, L"ук/ый/м [24 7]"},
        {L"уку", 3, 0, 1, 1, 0, L"ук/ый/м [20 7]"},
        {L"уку", 3, 0, 2, 1, 0, L"укы [21*]"},
        {L"уку", 5, 1, 1, 1, 1, L"укы/мый/м [33 7]"},
        {L"кую", 2, 0, 0, 0, 0, L"кую []"},
        {L"кую", 1, 0, 0, 0, 0, L"ку/ярга [17]"},
        {L"ашау", 1, 0, 0, 0, 0, L"аша/рга [17]"},
        {L"ашау", 5, 1, 3, 1, 0, L"аш/ый [24]"},
        {L"ашау", 5, 1, 1, 1, 0, L"аш/ый/м [24 7]"},
        {L"ашау", 5, 1, 2, 2, 0, L"аш/ый/сыз [24 11]"},
        {L"ашау", 3, 0, 1, 1, 0, L"аш/ый/м [20 7]"},
        {L"ашау", 5, 4, 3, 1, 0, L"аша/ячак [28]"},
        {L"алу", 1, 0, 0, 0, 0, L"ал/ырга [17]"},
        {L"алу", 5, 5, 3, 1, 0, L"ал/ыр [27]"},
        {L"килү", 1, 0, 0, 0, 0, L"кил/ергә [17]"},
        {L"килү", 5, 5, 3, 1, 0, L"кил/ер [27]"},
        {L"сөю", 2, 0, 0, 0, 0, L"сөю []"},
        {L"сөю", 1, 0, 0, 0, 0, L"сө/яргә [17]"},
        {L"аву", 3, 0, 2, 1, 0, L"ау [21*]"},
        {L"эчү", 3, 0, 2, 1, 0, L"эч [21*]"},
        {L"эчү", 1, 0, 0, 0, 1, L"эч/мәскә [18]"},
        {L"эчү", 1, 0, 0, 0, 0, L"эч/әргә [17]"},
        {L"тибү", 5, 2, 3, 1, 0, L"тип/те [25]"},
        {L"баю", 1, 0, 0, 0, 0, L"бае/рга [17]"},
        {L"баю", 2, 0, 0, 0, 0, L"баю []"},
        {L"баю", 5, 1, 3, 1, 0, L"бай/ый [24]"},
        {L"баю", 5, 1, 1, 1, 0, L"бай/ый/м [24 7]"},
        {L"баю", 5, 2, 3, 1, 0, L"бае/ды [25]"},
        {L"баю", 3, 0, 2, 1, 0, L"бае [21*]"},
        {L"баю", 1, 0, 0, 0, 1, L"бае/маска [18]"},
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
    BuildVerb(L"баю", 5, 1, 1, 1, 0, rec);
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
        {L"баю", 5, 1, 1, 1, 2, L"бае []"},
        {L"баю", 5, 1, 4, 1, 0, L"бае []"},
        {L"баю", 7, 1, 1, 1, 0, L"бае []"},
    });
}

TEST(VerbForms, EmptyWordLeavesTheRecordAsItWas) {
    TGP_Proc_Rec rec;
    BuildVerb(L"язу", 5, 1, 1, 1, 0, rec);
    BuildVerbForm(L"", 5, 1, 1, 1, 0, rec);
    EXPECT_EQ(Describe(rec), L"яз/а/м [24 7]");
    EXPECT_EQ(rec.Base, L"яз");
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
