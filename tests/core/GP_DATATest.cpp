#include "core/GP_DATA.h"

#include <memory>

#include <gtest/gtest.h>

#include "tests/support/TestCustoms.h"

#include <cwchar>
#include <string>

#include "core/UILanguage.h"

namespace {

// A block with this interface language for the test; the default (Russian) after it.
class LanguageGuard {
public:
    explicit LanguageGuard(unsigned char language) { customs_->UILanguage = language; }

private:
    TTestCustoms customs_;
};

uint32_t Partner(wchar_t c) {
    return TatLetterClass(c) >> 16;
}

// The affixes of a table's rows, "-" for the empty one and "^" for U+0001.
std::wstring AffixesOf(const TTableView<TTaileRule>& table) {
    std::wstring text;
    for (const TTaileRule& rule : table) {
        const std::wstring affix = AffixTexts[rule.RuleId];
        if (!text.empty()) {
            text += L' ';
        }
        text += affix.empty() ? L"-" : affix == L"\x0001" ? L"^" : affix;
    }
    return text;
}

} // namespace

// ---- letter classes ----

TEST(LetterClasses, SamplesWithPartners) {
    struct Case {
        wchar_t letter;
        uint32_t value;
    };
    const Case cases[] = {
        {L'в', 0x50 | (uint32_t{L'у'} << 16)},
        {L'В', 0x48 | (uint32_t{L'У'} << 16)},
        {L'щ', 0x10},
        {L'A', 0},
        {L'а', 0x04},
        {L'Ә', 0x01},
        {L'ё', 0x02},
        {L'Ё', 0x02},
        {L'е', 0x42 | (uint32_t{L'й'} << 16)},
        {L'У', 0x1C4 | (uint32_t{L'В'} << 16)},
        {L'ү', 0x1C1 | (uint32_t{L'в'} << 16)},
        {L'Ү', 0x1C1 | (uint32_t{L'В'} << 16)},
        {L'й', 0xC8 | (uint32_t{L'е'} << 16)},
        {L'К', 0xD0 | (uint32_t{L'Г'} << 16)},
        {L'к', 0xD0 | (uint32_t{L'г'} << 16)},
        {L'п', 0xD0 | (uint32_t{L'б'} << 16)},
        {L'б', 0x48 | (uint32_t{L'п'} << 16)},
        {L'г', 0x48 | (uint32_t{L'к'} << 16)},
        {L'җ', 0x08},
        {L'Ь', 0x08},
        {L'ъ', 0x10},
        {L'һ', 0x10},
        {L'ң', 0x20},
        {L'м', 0x20},
        {L'ө', 0x01},
        {L'Ы', 0x04},
        {L'1', 0},
        {static_cast<wchar_t>(0x0400), 0},
        {static_cast<wchar_t>(0x04EA), 0},
        {static_cast<wchar_t>(0x0460), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TatLetterClass(c.letter), c.value) << static_cast<unsigned>(c.letter);
    }
}

TEST(LetterClasses, EveryLetterHasAClassAndOnlyVeDiffersByCase) {
    EXPECT_EQ(LetterClassEntries.size(), 78u);
    const std::wstring capitals = L"АӘБВГДЕЁЖҖЗИЙКЛМНҢОӨПРСТУҮФХҺЦЧШЩЪЫЬЭЮЯ";
    const std::wstring smalls = L"аәбвгдеёжҗзийклмнңоөпрстуүфхһцчшщъыьэюя";
    ASSERT_EQ(capitals.size(), smalls.size());
    for (size_t i = 0; i < capitals.size(); ++i) {
        const uint32_t capital = TatLetterClass(capitals[i]);
        const uint32_t small = TatLetterClass(smalls[i]);
        EXPECT_NE(capital & 0xFFFF, 0u) << i;
        if (capitals[i] == L'В') {
            EXPECT_NE(capital & 0xFFFF, small & 0xFFFF);
        } else {
            EXPECT_EQ(capital & 0xFFFF, small & 0xFFFF) << i;
        }
        // A partner has the case of its letter.
        if ((capital & kHasPartner) != 0) {
            EXPECT_NE(capitals.find(static_cast<wchar_t>(capital >> 16)), std::wstring::npos) << i;
            EXPECT_NE(smalls.find(static_cast<wchar_t>(small >> 16)), std::wstring::npos) << i;
        } else {
            EXPECT_EQ(capital >> 16, 0u) << i;
        }
    }
    EXPECT_EQ(Partner(L'Д'), 0u);
}

TEST(LastLetterClass, EndsOfWords) {
    struct Case {
        const wchar_t* word;
        uint16_t value;
    };
    const Case cases[] = {
        {L"я", 8},      {L"Ю", 8},       {L"", 0},        {L"таб", 16},  {L"китап", 0xD0}, {L"юл", 8},  {L"туу", 8},
        {L"кит", 0x10}, {L"көнь", 0x20}, {L"уку", 0x1C4}, {L"тәү", 8},   {L"ТАУ", 0x1C4},  {L"ав", 16}, {L"АД", 16},
        {L"ь", 0x08},   {L"а", 0x04},    {L"кешеләр", 8}, {L"ия", 0x02}, {L"аҗь", 0x08},   {L"abc", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TatLastLetterClass(c.word), c.value) << c.word;
    }
}

TEST(Monosyllable, CountsVowels) {
    EXPECT_TRUE(TatIsMonosyllable(L"бар"));
    EXPECT_TRUE(TatIsMonosyllable(L"ст"));
    EXPECT_TRUE(TatIsMonosyllable(L""));
    EXPECT_TRUE(TatIsMonosyllable(L"яз"));
    EXPECT_FALSE(TatIsMonosyllable(L"эшлә"));
    EXPECT_FALSE(TatIsMonosyllable(L"таны"));
    EXPECT_TRUE(TatIsMonosyllable(L"ту"));
    EXPECT_FALSE(TatIsMonosyllable(L"туу"));
}

TEST(Harmony, BackVowelTest) {
    EXPECT_TRUE(TatHasBackVowel(L"кояш"));
    EXPECT_TRUE(TatHasBackVowel(L"КЫЗ"));
    EXPECT_TRUE(TatHasBackVowel(L"ту"));
    EXPECT_FALSE(TatHasBackVowel(L"эшләү"));
    EXPECT_FALSE(TatHasBackVowel(L"яшь"));
    EXPECT_FALSE(TatHasBackVowel(L""));
}

TEST(Harmony, WordHarmony) {
    struct Case {
        const wchar_t* word;
        int harmony;
    };
    const Case cases[] = {
        {L"әдәбият", 4}, {L"ӘДӘБИЯТ", 4}, {L"кешеләр", 1}, {L"кояш", 4},    {L"фамилия", 1}, {L"моделья", 1},
        {L"ят", 4},      {L"ил", 1},      {L"цех", 1},     {L"ак кеше", 4}, {L"кеше!", 1},   {L"!кеше", 4},
        {L"", 4},        {L"12", 4},      {L"abc", 4},     {L"а", 4},       {L"э", 1},       {L"идея", 4},
        {L"яшь", 1},     {L"ЮЛ", 4},      {L"яшел", 1},    {L"юлә", 1},     {L"ёл", 1},      {L"ФАМИЛИЯ", 1},
        {L"мәгариф", 4}, {L"аг", 4},      {L"эче", 1},     {L"бае", 4},     {L"тиб", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TatWordHarmony(c.word), c.harmony) << c.word;
    }
}

TEST(Harmony, SystemCaseInsensitiveEquality) {
    EXPECT_TRUE(TextEqualsIgnoreCase(L"ИЯ", L"ия"));
    EXPECT_TRUE(TextEqualsIgnoreCase(L"Бар", L"бАР"));
    EXPECT_FALSE(TextEqualsIgnoreCase(L"бар", L"бир"));
    EXPECT_FALSE(TextEqualsIgnoreCase(L"бар", L"ба"));
    EXPECT_TRUE(TextEqualsIgnoreCase(L"", L""));
}

// ---- verb lists ----

TEST(VerbLists, CountsAndSamples) {
    ASSERT_EQ(VerbStemPairs.size(), 28u);
    ASSERT_EQ(SpecialVerbStems.size(), 28u);
    EXPECT_STREQ(VerbStemPairs[0].Infinitive, L"айну");
    EXPECT_STREQ(VerbStemPairs[0].Stem, L"айны");
    EXPECT_STREQ(VerbStemPairs[10].Stem, L"курык");
    EXPECT_STREQ(VerbStemPairs[21].Infinitive, L"уку");
    EXPECT_STREQ(VerbStemPairs[25].Infinitive, L"тану");
    EXPECT_STREQ(VerbStemPairs[25].Stem, L"таны");
    EXPECT_STREQ(VerbStemPairs[27].Infinitive, L"суу");
    EXPECT_STREQ(VerbStemPairs[27].Stem, L"суы");
    EXPECT_STREQ(SpecialVerbStems[0], L"таны");
    EXPECT_STREQ(SpecialVerbStems[16], L"рәнҗ");
    EXPECT_STREQ(SpecialVerbStems[27], L"яр");
    for (const TVerbStemPair& pair : VerbStemPairs) {
        EXPECT_LT(std::wcslen(pair.Infinitive), 16u);
        EXPECT_LT(std::wcslen(pair.Stem), 16u);
    }
}

TEST(VerbLists, StemFromWordTestsStemThenDictionaryForm) {
    const wchar_t* stem = L"x";
    EXPECT_TRUE(VerbStemFromWord(L"уку", stem));
    EXPECT_STREQ(stem, L"укы");
    EXPECT_TRUE(VerbStemFromWord(L"укы", stem));
    EXPECT_STREQ(stem, L"укы");
    EXPECT_TRUE(VerbStemFromWord(L"ТАНУ", stem));
    EXPECT_STREQ(stem, L"таны");
    EXPECT_FALSE(VerbStemFromWord(L"эчү", stem)); // эч is its stem as it stands
    EXPECT_TRUE(VerbStemFromWord(L"йөрү", stem));
    EXPECT_STREQ(stem, L"йөр");
    EXPECT_FALSE(VerbStemFromWord(L"бару", stem));
    EXPECT_EQ(stem, nullptr);
}

TEST(VerbLists, InfinitiveFromCountedStem) {
    const wchar_t* infinitive = L"x";
    EXPECT_TRUE(VerbInfinitiveFromStem(L"курык", infinitive));
    EXPECT_STREQ(infinitive, L"курку");
    EXPECT_TRUE(VerbInfinitiveFromStem(std::wstring_view(L"төзеләр", 4), infinitive));
    EXPECT_STREQ(infinitive, L"төзү");
    EXPECT_FALSE(VerbInfinitiveFromStem(L"уку", infinitive)); // a dictionary form is not a stem
    EXPECT_EQ(infinitive, nullptr);
}

TEST(VerbLists, SpecialStems) {
    EXPECT_TRUE(IsSpecialVerbStem(L"бар"));
    EXPECT_TRUE(IsSpecialVerbStem(L"БАР"));
    EXPECT_TRUE(IsSpecialVerbStem(L"яр"));
    EXPECT_FALSE(IsSpecialVerbStem(L"яз"));
    EXPECT_FALSE(IsSpecialVerbStem(L"ба"));
    EXPECT_FALSE(IsSpecialVerbStem(L""));
}

// How a dictionary form gives its stem: "stem flags", flags L listed, M merges its vowel, W written
// й, H hidden й, V voicing, P present и after a consonant stem, D drops its last vowel before a vowel.
TEST(VerbStems, FromTheDictionaryForm) {
    const struct {
        const wchar_t* word;
        const wchar_t* expected;
    } cases[] = {
        {L"бару", L"бар"},       {L"эшләү", L"эшлә"},
        {L"курку", L"курык LD"},  {L"төзү", L"төзе LM"}, {L"борчу", L"борчы M"}, {L"уку", L"укы LM"},
        {L"чәнчү", L"чәнче LM"}, {L"кайту", L"кайт"},   {L"тарту", L"тарт"},
        {L"кую", L"куй W"},      {L"сөю", L"сөй W"},    {L"елмаю", L"елмай W"},
        {L"дию", L"ди HP"},      {L"кию", L"ки H"},     {L"бию", L"бие LM"},
        {L"баю", L"бае LM"},     {L"табу", L"таб V"},   {L"чыгу", L"чыг V"},
        {L"аву", L"ав V"},       {L"тибү", L"тиб V"},   {L"эчү", L"эч"},
        {L"туу", L"ту"},
        {L"ЯЗУ", L"ЯЗ"},         {L"у", L"у"},          {L"йөрү", L"йөр LP"},
    };
    for (const auto& c : cases) {
        const TVerbStem stem = TatVerbStem(c.word);
        std::wstring flags;
        flags += stem.Listed ? L"L" : L"";
        flags += stem.MergesVowel ? L"M" : L"";
        flags += stem.WrittenY ? L"W" : L"";
        flags += stem.HiddenY ? L"H" : L"";
        flags += stem.Voicing ? L"V" : L"";
        flags += stem.PresentI ? L"P" : L"";
        flags += stem.LosesVowel ? L"D" : L"";
        EXPECT_EQ(stem.Stem + (flags.empty() ? L"" : L" " + flags), c.expected) << c.word;
    }
}

TEST(VerbStems, TheIyaList) {
    ASSERT_EQ(IotaVerbStemPairs.size(), 2u);
    EXPECT_STREQ(IotaVerbStemPairs[0].Stem, L"бие");
    EXPECT_STREQ(IotaVerbStemPairs[1].Infinitive, L"баю");
}

// ---- affixes and category names ----

TEST(AffixTexts, CellsAreTerminatedAndSamplesExact) {
    EXPECT_EQ(sizeof(AffixTexts) / sizeof(AffixTexts[0]), 111u);
    for (int id = 0; id < kAffixCount; ++id) {
        EXPECT_LT(std::wcslen(AffixTexts[id]), static_cast<size_t>(kAffixCellSize)) << id;
    }
    EXPECT_STREQ(AffixTexts[0], L"");
    EXPECT_STREQ(AffixTexts[61], L"");
    for (int id = 101; id <= 104; ++id) {
        EXPECT_STREQ(AffixTexts[id], L"\x0001") << id;
    }
    EXPECT_STREQ(AffixTexts[1], L"рак");
    EXPECT_STREQ(AffixTexts[25], L"н");
    EXPECT_STREQ(AffixTexts[55], L"маска");
    EXPECT_STREQ(AffixTexts[56], L"мәскә");
    EXPECT_STREQ(AffixTexts[85], L"лар");
    EXPECT_STREQ(AffixTexts[98], L"ы");
    EXPECT_STREQ(AffixTexts[107], L"арга");
    EXPECT_STREQ(AffixTexts[110], L"әр");
}

TEST(CategoryNames, EveryNameCompleteInBothLanguages) {
    for (const TLanguage language : {langTatar, langRussian}) {
        for (int code = 1; code <= kCategoryCount; ++code) {
            const wchar_t* name = CategoryNames[language][code - 1];
            ASSERT_NE(name, nullptr) << language << " " << code;
            EXPECT_GT(std::wcslen(name), 0u) << language << " " << code;
            EXPECT_STREQ(CategoryNameIn(language, code), name);
        }
    }
    EXPECT_STREQ(CategoryNames[0][0], L"күплек сан");
    EXPECT_STREQ(CategoryNames[1][0], L"множественное число");
    EXPECT_STREQ(CategoryNames[1][7], L"притяжательность 2 лицо ед.ч");
    EXPECT_STREQ(CategoryNames[0][36], L"микъдар сан");
    EXPECT_STREQ(CategoryNames[1][36], L"количественное числительное");
    EXPECT_STREQ(CategoryNames[1][33], L"побудительный глагол мн ч  ");
    EXPECT_STREQ(CategoryNames[1][21], L"побудительный глагол 3 лицо ед. и мн. ч.");
}

TEST(CategoryNames, TheLongestNameDoesNotRunIntoTheNext) {
    const wchar_t* name = CategoryNames[0][21];
    EXPECT_EQ(std::wcslen(name), 41u);
    EXPECT_EQ(std::wstring(name), L"боерык фигыль 3 зат берлек һәм күплек сан");
    EXPECT_STREQ(CategoryNames[0][22], L"шарт фигыль");
}

TEST(CategoryNames, FollowTheInterfaceLanguage) {
    EXPECT_STREQ(CategoryName(4), L"винительный падеж"); // the default is Russian
    {
        LanguageGuard tatar(langTatar);
        EXPECT_STREQ(CategoryName(4), L"төшем килеш");
    }
    {
        LanguageGuard unknown(7);
        EXPECT_STREQ(CategoryName(4), L"винительный падеж");
    }
    EXPECT_STREQ(CategoryName(0), L"");
    EXPECT_STREQ(CategoryName(38), L"");
}

TEST(InterfaceLanguage, ReadsTheByteOfTheSharedBlock) {
    EXPECT_EQ(CurrentUILanguage(), langRussian);
    auto customs = std::make_unique<TTestCustoms>();
    unsigned char& byte = customs->Block().UILanguage;
    byte = langTatar;
    EXPECT_EQ(CurrentUILanguage(), langTatar);
    byte = langRussian;
    EXPECT_EQ(CurrentUILanguage(), langRussian);
    byte = 2;
    EXPECT_EQ(CurrentUILanguage(), langRussian);
    byte = 255;
    EXPECT_EQ(CurrentUILanguage(), langRussian);
    byte = langTatar;
    EXPECT_EQ(CurrentUILanguage(), langTatar);
    customs.reset();
    EXPECT_EQ(CurrentUILanguage(), langRussian);
}

// ---- rule tables ----

TEST(RuleTables, Counts) {
    EXPECT_EQ(AdjectiveRules.size(), 3u);
    EXPECT_EQ(NumeralRules.size(), 36u);
    EXPECT_EQ(NounRules.size(), 46u);
    EXPECT_EQ(VerbRules.size(), 73u);
}

TEST(RuleTables, AffixOfEveryRow) {
    EXPECT_EQ(AffixesOf(AdjectiveRules), L"рак рәк -");
    EXPECT_EQ(AffixesOf(NumeralRules), L"- - енче нче нчы ынчы лап ләп ау әү ешәр шар шәр ышар нең ның гә га кә ка не "
                                       L"ны дан дән нан нән тан тән дә да тә та есез сез сыз ысыз");
    EXPECT_EQ(AffixesOf(NounRules), L"- нең ның ә а нә на гә га кә ка н не ны дан дән нан нән тан тән дә да тә та гез "
                                    L"гыз егез ыгыз лар ләр нар нәр ем м ым ең ың ң е сы се ы без быз ^ ^");
    EXPECT_EQ(AffixesOf(VerbRules),
              L"лар ләр нар нәр ем м ым мен мын ең ң сең сың ың е се сы ы без быз к есез сез сыз ысыз ргә рга ырга "
              L"ергә арга әргә маска мәскә ү у и ый - сен сын сә са ә а и ый де ды те ты ган гән кан кән ер р ыр ар "
              L"әр ачак әчәк ячак ячәк мә ма ми мый мәс мас ыгыз егез гыз гез");
}

TEST(RuleTables, EveryRowIsWellFormed) {
    for (const TTableView<TTaileRule>* table : {&AdjectiveRules, &NumeralRules, &NounRules, &VerbRules}) {
        for (const TTaileRule& rule : *table) {
            EXPECT_GE(rule.FormCode, 1);
            EXPECT_LE(rule.FormCode, kCategoryCount);
            EXPECT_GT(rule.RuleId, 0);
            EXPECT_LT(rule.RuleId, kAffixCount);
            EXPECT_NE(rule.FlagsA, 0);
            EXPECT_TRUE(rule.FlagsB == 1 || rule.FlagsB == 4 || rule.FlagsB == 7);
        }
    }
}

TEST(RuleTables, SampleRows) {
    struct Case {
        const TTableView<TTaileRule>* table;
        size_t row;
        TTaileRule rule;
    };
    const Case cases[] = {
        {&AdjectiveRules, 2, {35, 0, 0x3F, 0x07, 61}}, {&NumeralRules, 13, {16, 0, 0x38, 0x04, 14}},
        {&NumeralRules, 35, {30, 0, 0x38, 0x04, 50}},  {&NounRules, 11, {9, 1, 0x07, 0x07, 25}},
        {&NounRules, 45, {10, 0, 0x38, 0x04, 102}},    {&VerbRules, 20, {10, 5, 0x3F, 0x07, 46}},
        {&VerbRules, 29, {17, 1, 0x38, 0x04, 107}},    {&VerbRules, 67, {33, 0, 0x3F, 0x01, 105}},
        {&VerbRules, 72, {34, 0, 0x07, 0x01, 38}},
    };
    for (const Case& c : cases) {
        const TTaileRule& rule = (*c.table)[c.row];
        EXPECT_EQ(rule.FormCode, c.rule.FormCode) << c.row;
        EXPECT_EQ(rule.Key2, c.rule.Key2) << c.row;
        EXPECT_EQ(rule.FlagsA, c.rule.FlagsA) << c.row;
        EXPECT_EQ(rule.FlagsB, c.rule.FlagsB) << c.row;
        EXPECT_EQ(rule.RuleId, c.rule.RuleId) << c.row;
    }
}

TEST(RuleTables, ByPartOfSpeechAndById) {
    EXPECT_EQ(RuleTableOf(posNoun), &NounRules);
    EXPECT_EQ(RuleTableOf(posAdjective), &AdjectiveRules);
    EXPECT_EQ(RuleTableOf(posNumeral), &NumeralRules);
    EXPECT_EQ(RuleTableOf(posVerb), &VerbRules);
    EXPECT_EQ(RuleTableOf(posOther), nullptr);
    EXPECT_EQ(FindRuleById(NounRules, 85), &NounRules[28]);
    EXPECT_EQ(FindRuleById(NounRules, 27), &NounRules[13]);
    EXPECT_EQ(FindRuleById(VerbRules, 17), &VerbRules[42]);
    EXPECT_EQ(FindRuleById(AdjectiveRules, 85), nullptr);
}

// ---- selectors ----

TEST(Selectors, NounRuleByCodeClassHarmonyAndKey2) {
    TTaileLookup out;
    ASSERT_TRUE(SelectNounRule(2, 0x08, 4, out, 0));
    EXPECT_STREQ(out.AffixText, L"ның");
    EXPECT_EQ(out.AffixText, AffixTexts[16]);
    EXPECT_EQ(out.FormCode, 2);
    EXPECT_EQ(out.RuleId, 16);
    EXPECT_STREQ(out.FormName, L"притяжательный падеж");

    ASSERT_TRUE(SelectNounRule(9, 0x01, 1, out, 1));
    EXPECT_STREQ(out.AffixText, L"н");
    ASSERT_TRUE(SelectNounRule(9, 0x01, 1, out, 0));
    EXPECT_STREQ(out.AffixText, L"се");
    EXPECT_FALSE(SelectNounRule(9, 0x20, 1, out, 1)); // н follows vowels only
    EXPECT_FALSE(SelectNounRule(9, 0x01, 1, out, 2)); // no second pass for nouns
}

TEST(Selectors, VerbRuleFallsBackToAnyKey2) {
    TTaileLookup out;
    ASSERT_TRUE(SelectVerbRule(17, 0x04, 4, out, 5));
    EXPECT_STREQ(out.AffixText, L"рга");
    EXPECT_EQ(out.RuleId, 53);
    ASSERT_TRUE(SelectVerbRule(17, 0x08, 4, out, 1));
    EXPECT_STREQ(out.AffixText, L"арга");
    ASSERT_TRUE(SelectVerbRule(17, 0x08, 4, out, 0));
    EXPECT_STREQ(out.AffixText, L"ырга");
    ASSERT_TRUE(SelectVerbRule(11, 0xC8, 4, out, 255));
    EXPECT_STREQ(out.AffixText, L"ысыз");
}

TEST(Selectors, AdjectiveAndNumeralRules) {
    TTaileLookup out;
    ASSERT_TRUE(SelectAdjectiveRule(1, out));
    EXPECT_STREQ(out.AffixText, L"рәк");
    EXPECT_EQ(out.FormCode, 12);
    EXPECT_EQ(out.RuleId, 2);
    ASSERT_TRUE(SelectAdjectiveRule(4, out));
    EXPECT_STREQ(out.AffixText, L"рак");
    ASSERT_TRUE(SelectAdjectiveRule(7, out));
    EXPECT_STREQ(out.AffixText, L"рак");

    ASSERT_TRUE(SelectNumeralRule(13, 0x08, 1, out));
    EXPECT_STREQ(out.AffixText, L"енче");
    ASSERT_TRUE(SelectNumeralRule(15, 0x42, 1, out));
    EXPECT_STREQ(out.AffixText, L"әү");
    EXPECT_EQ(out.RuleId, 10);
}

TEST(Selectors, NoRowZeroesTheOutput) {
    TTaileLookup out{L"x", 5, L"y", 7};
    EXPECT_FALSE(SelectAdjectiveRule(0, out));
    EXPECT_EQ(out.FormName, nullptr);
    EXPECT_EQ(out.AffixText, nullptr);
    EXPECT_EQ(out.FormCode, 0);
    EXPECT_EQ(out.RuleId, 0);

    out = {L"x", 5, L"y", 7};
    EXPECT_FALSE(SelectNumeralRule(13, 0, 1, out));
    EXPECT_EQ(out.AffixText, nullptr);
    out = {L"x", 5, L"y", 7};
    EXPECT_FALSE(SelectNounRule(12, 0x3F, 7, out, 0));
    EXPECT_EQ(out.RuleId, 0);
    out = {L"x", 5, L"y", 7};
    EXPECT_FALSE(SelectVerbRule(2, 0x3F, 7, out, 0));
    EXPECT_EQ(out.FormName, nullptr);
}

TEST(Selectors, FormNameInTheLanguageAtSelection) {
    LanguageGuard tatar(langTatar);
    TTaileLookup out;
    ASSERT_TRUE(SelectVerbRule(21, 0x3F, 7, out, 0));
    EXPECT_STREQ(out.FormName, L"боерык фигыль 2 зат берлек сан");
    EXPECT_STREQ(out.AffixText, L"");
    EXPECT_EQ(out.RuleId, 61);
}
