#include "core/GP_DATA.h"

#include <array>
#include <string>

#include "core/TatAlphabet.h"
#include "core/TextHash.h"
#include "core/UILanguage.h"
#include "core/win32/SystemText.h"

namespace {

constexpr unsigned kFirstLetter = 0x0401;
constexpr unsigned kLastLetter = 0x04E9;

using TDenseClasses = std::array<uint32_t, kLastLetter - kFirstLetter + 1>;

TDenseClasses BuildDenseClasses() {
    TDenseClasses table{};
    for (const TLetterClassEntry& entry : LetterClassEntries) {
        const auto code = static_cast<unsigned>(entry.Letter);
        table[code - kFirstLetter] = entry.Class | (static_cast<uint32_t>(entry.Partner) << 16);
    }
    return table;
}

const TDenseClasses& DenseClasses() {
    static const TDenseClasses table = BuildDenseClasses();
    return table;
}

inline uint16_t LowClass(wchar_t c) {
    return static_cast<uint16_t>(TatLetterClass(c) & 0xFFFF);
}

inline bool IsVowel(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

// IsCharAlphaW is a system call; the harmony asks it for the letters of every stem it is given.
bool IsLetter(wchar_t c) {
    static uint8_t known[0x10000] = {};
    uint8_t& answer = known[static_cast<uint16_t>(c)];
    if (answer == 0) {
        answer = SystemIsLetter(c) ? 1 : 2;
    }
    return answer == 1;
}

bool Fill(const TTaileRule& rule, TTaileLookup& out) {
    out.FormName = CategoryName(rule.FormCode);
    out.FormCode = rule.FormCode;
    out.AffixText = AffixTexts[rule.RuleId];
    out.RuleId = rule.RuleId;
    return true;
}

// The first row in table order that passes every test; the key2 test is left out when key2 is nullptr.
bool SelectRule(const TTableView<TTaileRule>& table, int formCode, uint32_t letterClass, int harmonyMask,
                const int* key2, TTaileLookup& out) {
    for (const TTaileRule& rule : table) {
        if (rule.FormCode == formCode && (rule.FlagsA & letterClass) != 0 &&
            (rule.FlagsB & static_cast<uint32_t>(harmonyMask)) != 0 && (key2 == nullptr || rule.Key2 == *key2)) {
            return Fill(rule, out);
        }
    }
    return false;
}

} // namespace

uint32_t TatLetterClass(wchar_t c) {
    const auto code = static_cast<unsigned>(c);
    if (code < kFirstLetter || code > kLastLetter) {
        return 0;
    }
    return DenseClasses()[code - kFirstLetter];
}

uint16_t TatLastLetterClass(std::wstring_view word) {
    const size_t n = word.size();
    if (n == 1 && (word[0] == L'Я' || word[0] == L'я' || word[0] == L'Ю' || word[0] == L'ю')) {
        return kVoicedConsonant;
    }
    if (n == 0) {
        return 0;
    }
    const wchar_t last = word[n - 1];
    uint16_t result = LowClass(last);
    if (n > 1 && (last == L'у' || last == L'ү') && IsVowel(word[n - 2])) {
        result = kVoicedConsonant; // у after a vowel sounds as в
    }
    if (last == L'Б' || last == L'В' || last == L'Г' || last == L'Д' || last == L'б' || last == L'в' || last == L'г' ||
        last == L'д') {
        result = kVoicelessConsonant; // a final б, в, г, д is said voiceless
    }
    if (n > 1 && (last == L'Ь' || last == L'ь')) {
        result = LowClass(word[n - 2]);
    }
    return result;
}

bool TatIsMonosyllable(std::wstring_view word) {
    int vowels = 0;
    for (size_t i = 0; i < word.size() && vowels < 2; ++i) {
        if (IsVowel(word[i])) {
            ++vowels;
        }
    }
    return vowels < 2;
}

bool TatHasBackVowel(std::wstring_view word) {
    return word.find_first_of(L"АаОоУуЫы") != std::wstring_view::npos;
}

bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (IsPlainSmallCyrillic(a.data(), a.size()) && IsPlainSmallCyrillic(b.data(), b.size())) {
        return a == b; // the analysis asks this for every cut: spare the system call
    }
    return SystemCompareIgnoreCase(std::wstring(a).c_str(), std::wstring(b).c_str()) == 0;
}

int TatWordHarmony(std::wstring_view word) {
    if (TatCompareText(word.data(), word.size(), L"әдәбият", 7) == 0) {
        return kBackHarmony; // a loan word whose harmony the letters do not show
    }

    // Only a single word decides by its letters: the run of letters before any trailing signs must open the text.
    size_t end = word.size();
    while (end > 0 && !IsLetter(word[end - 1])) {
        --end;
    }
    if (end == 0) {
        return kBackHarmony;
    }
    size_t start = end;
    while (start > 0 && IsLetter(word[start - 1])) {
        --start;
    }
    if (start != 0) {
        return kBackHarmony;
    }

    const size_t n = word.size();
    if (word.find_first_of(L"Ьь") != std::wstring_view::npos) {
        return kFrontHarmony;
    }
    if (n >= 2) {
        const std::wstring_view ending = word.substr(n - 2);
        if (TextEqualsIgnoreCase(ending, L"ия") || TextEqualsIgnoreCase(ending, L"ие")) {
            return kFrontHarmony;
        }
        if (TextEqualsIgnoreCase(ending, L"ея")) {
            return kBackHarmony;
        }
        if (TatHasBackVowel(word)) {
            return kBackHarmony;
        }
    }
    for (size_t i = n; i > 0; --i) {
        const wchar_t c = word[i - 1];
        const uint32_t cls = TatLetterClass(c);
        if ((cls & kVowel) == 0) {
            continue;
        }
        if ((cls & kBackVowel) != 0) {
            return kBackHarmony;
        }
        // An opening я or ю that is the only vowel reads as back (ят); further on, the later vowel decides.
        if (i == 1 && (c == L'Я' || c == L'я' || c == L'Ю' || c == L'ю')) {
            return kBackHarmony;
        }
        return kFrontHarmony;
    }
    return kBackHarmony;
}

bool VerbInfinitiveFromStem(std::wstring_view stem, const wchar_t*& infinitive) {
    // Asked for every cut of every word looked up: a stem of small letters can only equal a
    // listed stem (all small letters) letter for letter.
    static const TTextIndex<const wchar_t*> byStem = [] {
        TTextIndex<const wchar_t*> index;
        for (const TVerbStemPair& pair : VerbStemPairs) {
            index.Insert(pair.Stem, pair.Infinitive);
        }
        return index;
    }();
    if (IsPlainSmallCyrillic(stem.data(), stem.size())) {
        const wchar_t* const* found = byStem.Find(stem);
        infinitive = found == nullptr ? nullptr : *found;
        return infinitive != nullptr;
    }
    for (const TVerbStemPair& pair : VerbStemPairs) {
        if (TextEqualsIgnoreCase(pair.Stem, stem)) {
            infinitive = pair.Infinitive;
            return true;
        }
    }
    infinitive = nullptr;
    return false;
}

bool VerbStemFromWord(std::wstring_view word, const wchar_t*& stem) {
    // Asked for the verbs the analysis finds: a word of small letters can only equal a listed stem
    // or dictionary form (all small letters) letter for letter.
    static const TTextIndex<const wchar_t*> byWord = [] {
        TTextIndex<const wchar_t*> index;
        for (const TVerbStemPair& pair : VerbStemPairs) {
            index.Insert(pair.Stem, pair.Stem); // a stem first: the first row's stem or form wins
            index.Insert(pair.Infinitive, pair.Stem);
        }
        return index;
    }();
    if (IsPlainSmallCyrillic(word.data(), word.size())) {
        const wchar_t* const* found = byWord.Find(word);
        stem = found == nullptr ? nullptr : *found;
        return stem != nullptr;
    }
    for (const TVerbStemPair& pair : VerbStemPairs) {
        if (TextEqualsIgnoreCase(pair.Stem, word) || TextEqualsIgnoreCase(pair.Infinitive, word)) {
            stem = pair.Stem;
            return true;
        }
    }
    stem = nullptr;
    return false;
}

bool IsSpecialVerbStem(std::wstring_view word) {
    for (const wchar_t* special : SpecialVerbStems) {
        if (TextEqualsIgnoreCase(special, word)) {
            return true;
        }
    }
    return false;
}

namespace {

inline bool IsConsonantLetter(wchar_t c) {
    return (TatLetterClass(c) & kConsonant) != 0 && c != L'ь' && c != L'ъ';
}

// Two consonants end a verb stem only as a sonorant, с or ш before т (кайт, тарт, югалт); борч,
// чәнч, селк cannot, so their stems keep the vowel the dictionary form hides.
bool CanEndVerbStem(std::wstring_view stem) {
    const size_t n = stem.size();
    if (n < 2 || !IsConsonantLetter(stem[n - 1]) || !IsConsonantLetter(stem[n - 2])) {
        return true;
    }
    return stem[n - 1] == L'т' && std::wstring_view(L"йрлнсш").find(stem[n - 2]) != std::wstring_view::npos;
}

} // namespace

namespace {

constexpr wchar_t kHarmonyVowel = 1;

// TatVerbStem without its text: the stem is Base followed by Added (when not 0).
struct TVerbStemParts {
    std::wstring_view Base;
    wchar_t Added = 0;
};

TVerbStemParts VerbStemParts(std::wstring_view word, TVerbStem& flags) {
    for (const wchar_t* verb : PresentIVerbs) {
        flags.PresentI = flags.PresentI || word == verb;
    }
    const wchar_t* listed = nullptr;
    if (!VerbStemFromWord(word, listed)) {
        for (const TVerbStemPair& pair : IotaVerbStemPairs) {
            if (word == pair.Infinitive) {
                listed = pair.Stem;
            }
        }
    }
    const size_t n = word.size();
    if (listed != nullptr) {
        flags.Listed = true;
        const std::wstring_view stem(listed);
        flags.MergesVowel = stem.back() == L'ы' || stem.back() == L'е';
        const size_t m = stem.size();
        flags.LosesVowel = m >= 3 && n == m && (stem[m - 2] == L'ы' || stem[m - 2] == L'е') &&
                           word.substr(0, m - 2) == stem.substr(0, m - 2) && word[n - 2] == stem[m - 1];
        return {stem};
    }
    if (n > 1 && word[n - 1] == L'ю' && IsVowel(word[n - 2])) {
        if (word[n - 2] == L'и') {
            flags.HiddenY = true;
            return {word.substr(0, n - 1)};
        }
        flags.WrittenY = true;
        return {word.substr(0, n - 1), L'й'};
    }
    TVerbStemParts parts{word};
    if (n > 1 && (TatLetterClass(word[n - 1]) & kLetterU) != 0) {
        parts.Base = word.substr(0, n - 1);
        if (!CanEndVerbStem(parts.Base)) {
            parts.Added = kHarmonyVowel; // ы or е by the word's harmony, found when needed
            flags.MergesVowel = true;
        }
    }
    const wchar_t last = parts.Added != 0 ? parts.Added : parts.Base.empty() ? 0 : parts.Base.back();
    flags.Voicing = last == L'б' || last == L'г' || last == L'в';
    return parts;
}

wchar_t AddedVowel(std::wstring_view word, const TVerbStemParts& parts) {
    if (parts.Added != kHarmonyVowel) {
        return parts.Added;
    }
    return TatWordHarmony(word) == kFrontHarmony ? L'е' : L'ы';
}

} // namespace

TVerbStem TatVerbStem(std::wstring_view word) {
    TVerbStem result;
    const TVerbStemParts parts = VerbStemParts(word, result);
    result.Stem.assign(parts.Base);
    if (parts.Added != 0) {
        result.Stem += AddedVowel(word, parts);
    }
    return result;
}

bool VerbStemIs(std::wstring_view word, std::wstring_view stem) {
    TVerbStem flags;
    const TVerbStemParts parts = VerbStemParts(word, flags);
    if (parts.Added == 0) {
        return parts.Base == stem;
    }
    return stem.size() == parts.Base.size() + 1 && stem.substr(0, parts.Base.size()) == parts.Base &&
           stem.back() == AddedVowel(word, parts);
}

const wchar_t* CategoryNameIn(TLanguage language, int formCode) {
    if (formCode < 1 || formCode > kCategoryCount) {
        return L"";
    }
    return CategoryNames[LanguageOf(language)][formCode - 1];
}

const wchar_t* CategoryName(int formCode) {
    return CategoryNameIn(CurrentUILanguage(), formCode);
}

const TTableView<TTaileRule>* RuleTableOf(TPartOfSpeech part) {
    switch (part) {
    case posNoun:
        return &NounRules;
    case posAdjective:
        return &AdjectiveRules;
    case posNumeral:
        return &NumeralRules;
    case posVerb:
        return &VerbRules;
    case posOther:
        break;
    }
    return nullptr;
}

const TTaileRule* FindRuleById(const TTableView<TTaileRule>& table, int32_t ruleId) {
    // Asked for every suffix of every chain the analysis looks up: the first row of each id of the
    // four tables is found once.
    struct TFirstRows {
        const TTaileRule* Table;
        std::array<int16_t, kAffixCount> Rows;
    };
    static const std::array<TFirstRows, 4> firstRows = [] {
        std::array<TFirstRows, 4> all{};
        const TTableView<TTaileRule>* tables[4] = {&AdjectiveRules, &NumeralRules, &NounRules, &VerbRules};
        for (size_t t = 0; t < 4; ++t) {
            all[t].Table = tables[t]->Items;
            all[t].Rows.fill(-1);
            for (size_t row = tables[t]->Count; row > 0; --row) {
                all[t].Rows[static_cast<size_t>(tables[t]->Items[row - 1].RuleId)] = static_cast<int16_t>(row - 1);
            }
        }
        return all;
    }();
    for (const TFirstRows& rows : firstRows) {
        if (rows.Table == table.Items) {
            const int16_t row = ruleId >= 0 && ruleId < kAffixCount ? rows.Rows[static_cast<size_t>(ruleId)] : -1;
            return row < 0 ? nullptr : &table[static_cast<size_t>(row)];
        }
    }
    for (const TTaileRule& rule : table) {
        if (rule.RuleId == ruleId) {
            return &rule;
        }
    }
    return nullptr;
}

bool SelectAdjectiveRule(int harmonyMask, TTaileLookup& out) {
    out = {};
    for (const TTaileRule& rule : AdjectiveRules) {
        if ((rule.FlagsB & static_cast<uint32_t>(harmonyMask)) != 0) {
            return Fill(rule, out);
        }
    }
    return false;
}

bool SelectNumeralRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out) {
    out = {};
    return SelectRule(NumeralRules, formCode, letterClass, harmonyMask, nullptr, out);
}

bool SelectNounRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out, int key2) {
    out = {};
    return SelectRule(NounRules, formCode, letterClass, harmonyMask, &key2, out);
}

bool SelectVerbRule(int formCode, uint32_t letterClass, int harmonyMask, TTaileLookup& out, int key2) {
    out = {};
    return SelectRule(VerbRules, formCode, letterClass, harmonyMask, &key2, out) ||
           SelectRule(VerbRules, formCode, letterClass, harmonyMask, nullptr, out);
}
