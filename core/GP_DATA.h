#pragma once
// Tatar letter classes, vowel harmony, the verb stem lists and the four suffix rule tables shared by the
// word-form analysis, the suffix tables, the grammar notes and the paradigm builders. All read-only.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Codes.h"

// Letter class bits (low 16 bits of TatLetterClass); the high 16 bits hold the alternation partner.
constexpr uint32_t kFrontVowel = 0x01;
constexpr uint32_t kIotatedVowel = 0x02;
constexpr uint32_t kBackVowel = 0x04;
constexpr uint32_t kVoicedConsonant = 0x08;
constexpr uint32_t kVoicelessConsonant = 0x10;
constexpr uint32_t kNasalConsonant = 0x20;
constexpr uint32_t kHasPartner = 0x40;
constexpr uint32_t kAlternatesBeforeVowel = 0x80; // Й, К, П, У, Ү
constexpr uint32_t kLetterU = 0x100;              // У, Ү
constexpr uint32_t kVowel = kFrontVowel | kIotatedVowel | kBackVowel;
constexpr uint32_t kConsonant = kVoicedConsonant | kVoicelessConsonant | kNasalConsonant;

// Harmony values and masks.
constexpr int kFrontHarmony = 1;
constexpr int kBackHarmony = 4;

// A counted constant table.
template <typename T> struct TTableView {
    const T* Items;
    size_t Count;

    const T* begin() const { return Items; }
    const T* end() const { return Items + Count; }
    size_t size() const { return Count; }
    const T& operator[](size_t i) const { return Items[i]; }
};

struct TLetterClassEntry {
    wchar_t Letter;
    uint16_t Class;
    wchar_t Partner; // 0 when none
};

struct TVerbStemPair {
    const wchar_t* Infinitive; // the dictionary form
    const wchar_t* Stem;
};

// One row of a suffix rule table.
struct TTaileRule {
    uint8_t FormCode; // 1..37
    uint8_t Key2;     // a second selector passed by the paradigm builders
    uint8_t FlagsA;   // letter classes the preceding letter may have
    uint8_t FlagsB;   // harmony: 1 front, 4 back, 7 both
    int32_t RuleId;   // index into AffixTexts
};

// What a rule selector returns.
struct TTaileLookup {
    const wchar_t* FormName; // in the interface language at the time of selection
    int32_t FormCode;
    const wchar_t* AffixText;
    int32_t RuleId;
};

constexpr int kAffixCount = 111;
constexpr int kAffixCellSize = 6;
constexpr int kCategoryCount = 37;

extern const TTableView<TLetterClassEntry> LetterClassEntries;
extern const TTableView<TVerbStemPair> VerbStemPairs;
extern const TTableView<const wchar_t*> SpecialVerbStems;
extern const wchar_t AffixTexts[kAffixCount][kAffixCellSize];
extern const wchar_t* const CategoryNames[kLanguageCount][kCategoryCount];
extern const TTableView<TTaileRule> AdjectiveRules;
extern const TTableView<TTaileRule> NumeralRules;
extern const TTableView<TTaileRule> NounRules;
extern const TTableView<TTaileRule> VerbRules;

// Verbs in a vowel and ю whose stem ends in е (бию: бие-, бии, биеде; баю: бае-, байый, баеды) rather
// than in a й (кию: кия, киде).
extern const TTableView<TVerbStemPair> IotaVerbStemPairs;

// Verbs whose consonant stem takes the present и, ый as a vowel stem does (йөрү: йөри; дию: ди).
extern const TTableView<const wchar_t*> PresentIVerbs;

// Class of one character: 0 outside U+0401..U+04E9 and for the code points the table leaves out.
uint32_t TatLetterClass(wchar_t c);
// Class (low 16 bits) of the end of a word, as the suffix rules see it.
uint16_t TatLastLetterClass(std::wstring_view word);
bool TatIsMonosyllable(std::wstring_view word);
// 1 (front) or 4 (back).
int TatWordHarmony(std::wstring_view word);
bool TatHasBackVowel(std::wstring_view word);
// The system's case-insensitive equality, not the Tatar collation.
bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

bool VerbInfinitiveFromStem(std::wstring_view stem, const wchar_t*& infinitive);
bool VerbStemFromWord(std::wstring_view word, const wchar_t*& stem);
bool IsSpecialVerbStem(std::wstring_view word);

// How a verb's dictionary form (its verbal noun) gives the stem its suffixes join.
struct TVerbStem {
    std::wstring Stem;        // as written before a consonant: бар, эшлә, укы, борчы, куй, ди
    bool Listed = false;      // from VerbStemPairs or IotaVerbStemPairs
    bool MergesVowel = false; // a final ы or е that the у/ү of the dictionary form absorbs (борчы: борчу)
    bool WrittenY = false;    // a final й after a vowel, spelt into я, ю, е before a vowel (куй: куя)
    bool HiddenY = false;     // a final й after и, written only as я, ю, е before a vowel (ди: дияр)
    bool Voicing = false;     // a final б, г or в, said п, к, у before a consonant (таб: тапты)
    bool PresentI = false;    // a consonant stem with the present и, ый (йөр: йөри; ди: ди, дим)
    bool LosesVowel = false;  // a listed stem whose last ы, е drops before a vowel (курык: курк/а)
};
// Dictionary forms in у/ү lose it (бару: бар); a stem left ending in two consonants that cannot end
// a Tatar stem gets its ы or е back (борчу: борчы); dictionary forms in ю have a stem in й (кую:
// куй, дию: ди with a hidden й).
TVerbStem TatVerbStem(std::wstring_view word);
// Whether TatVerbStem(word).Stem is the stem, without making its text.
bool VerbStemIs(std::wstring_view word, std::wstring_view stem);

// Name of form code 1..37 in the given interface language or the current one; an empty text for
// any other code.
const wchar_t* CategoryNameIn(TLanguage language, int formCode);
const wchar_t* CategoryName(int formCode);

// The rule table of a part of speech, nullptr for one without suffixes (posOther).
const TTableView<TTaileRule>* RuleTableOf(TPartOfSpeech part);
// First row of a table with that rule id, nullptr when none.
const TTaileRule* FindRuleById(const TTableView<TTaileRule>& table, int32_t ruleId);

// The selectors take the first row, in table order, that passes every test; each zeroes out first and
// returns false when no row fits.
bool SelectAdjectiveRule(int harmonyMask, TTaileLookup& out);
bool SelectNumeralRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out);
bool SelectNounRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out, int key2);
// Falls back to any key2 when no row has the one asked for.
bool SelectVerbRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out, int key2);
