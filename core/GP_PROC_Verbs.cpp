#include "core/GP_PROC.h"
#include "core/GP_PROC_Steps.h"
#include "core/TatAlphabet.h"

namespace {

constexpr int32_t kAnyConsonant = 0x38;

// Values that live for one build.
struct TVerbBuild {
    int32_t StemKey = 0;
    bool TableFlag = false;
    int32_t StrippedHarmony = -1;
};

// The cell of a step table for the chosen categories, nullptr when an argument is out of range. The
// infinitive and the verbal noun have one form for every person and number; only the indicative has tenses.
const TVerbCell* FindCell(const TVerbCell (&table)[kVerbRows][kVerbColumns], uint8_t kind, uint8_t tense,
                          uint8_t person, uint8_t number) {
    if (kind == 1 || kind == 2) {
        return &table[kind - 1][0];
    }
    if (kind < 3 || kind > 5 || person < 1 || person > 3 || number < 1 || number > 2) {
        return nullptr;
    }
    const int column = (person - 1) * 2 + (number - 1);
    if (kind != 5) {
        return &table[kind - 1][column];
    }
    if (tense < 1 || tense > 5) {
        return nullptr;
    }
    return &table[3 + tense][column];
}

inline bool EndsWith(const std::wstring& text, wchar_t c) {
    return !text.empty() && text.back() == c;
}

void AppendPlaceholder(const TTaileLookup& lookup, TGP_Proc_Rec& rec) {
    rec.Affixes.push_back({kPlaceholderAffix, lookup.FormName, lookup.FormCode, kPlaceholderRuleId});
}

void RunVerbStep(const TVerbStep& step, TVerbBuild& build, TGP_Proc_Rec& rec) {
    switch (step.Op) {
    case TVerbStepOp::Ending: {
        const int32_t key2 = step.Key2 == kStemKey ? build.StemKey : step.Key2;
        const int32_t harmony = step.StrippedHarmony ? build.StrippedHarmony : 0;
        AppendVerbEnding(step.Code, static_cast<uint8_t>(key2), rec, harmony, step.ClassOverride);
        break;
    }
    case TVerbStepOp::Strip:
        StripVerbStemVowel(build.StrippedHarmony, rec);
        break;
    case TVerbStepOp::Alternate:
        AlternateVerbStemFinal(rec);
        break;
    case TVerbStepOp::ImperativePlaceholder:
        AppendImperativePlaceholder(rec);
        break;
    case TVerbStepOp::PresentHead:
        // A stem that lost its final vowel takes и/ый (эшли, ашый), any other ә/а (бара).
        if (StripVerbStemVowel(build.StrippedHarmony, rec)) {
            AppendVerbEnding(24, 1, rec, build.StrippedHarmony, 0);
        } else {
            AppendVerbEnding(24, 0, rec, 0, 0);
        }
        break;
    case TVerbStepOp::InfinitiveHead: {
        // A stem ending in у or ү takes the infinitive as after a consonant (туарга).
        const bool endsInU = EndsWith(rec.Base, L'у') || EndsWith(rec.Base, L'ү');
        AppendVerbEnding(17, static_cast<uint8_t>(build.StemKey), rec, 0, endsInU ? kAnyConsonant : 0);
        break;
    }
    case TVerbStepOp::VerbalNounHead: {
        int32_t harmony = 0;
        if (build.TableFlag) {
            StripVerbStemVowel(build.StrippedHarmony, rec);
            harmony = build.StrippedHarmony;
        }
        if (rec.Base.size() > 1 && EndsWith(rec.Base, L'ю')) {
            break; // сөю is its own verbal noun
        }
        AppendVerbEnding(19, 0, rec, harmony, 0);
        break;
    }
    case TVerbStepOp::ExceptionPlaceholder:
    case TVerbStepOp::End:
        break;
    }
}

void RunExceptionStep(const TVerbStep& step, TGP_Proc_Rec& rec) {
    switch (step.Op) {
    case TVerbStepOp::Ending:
        AppendVerbSuffix(step.Code, static_cast<uint8_t>(step.Key2), rec, step.ClassOverride);
        break;
    case TVerbStepOp::ExceptionPlaceholder:
        AppendPlaceholderSuffix(step.Code, rec);
        break;
    default:
        break;
    }
}

} // namespace

void BuildVerbForm(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                   uint8_t negation, TGP_Proc_Rec& rec) {
    if (word.empty()) {
        return;
    }
    if (TatCompareStr(L"баю", word.c_str()) == 0) {
        BuildExceptionVerbForm(word, kind, tense, person, number, negation, rec);
        return;
    }
    TVerbBuild build;
    SplitVerbStem(word, build.StemKey, build.TableFlag, rec);
    rec.Affixes.clear();
    if (negation != 0) {
        AlternateVerbStemFinal(rec);
    }
    if (negation > 1) {
        return;
    }
    const TVerbCell* cell =
        FindCell(negation == 0 ? PositiveVerbSteps : NegativeVerbSteps, kind, tense, person, number);
    if (cell == nullptr) {
        return;
    }
    for (const TVerbStep& step : *cell) {
        if (step.Op == TVerbStepOp::End) {
            break;
        }
        RunVerbStep(step, build, rec);
    }
}

void SplitVerbStem(const std::wstring& word, int32_t& stemKey, bool& tableFlag, TGP_Proc_Rec& rec) {
    const wchar_t* tableStem = nullptr;
    tableFlag = VerbStemFromWord(word, tableStem);
    std::wstring stem = tableFlag ? std::wstring(tableStem) : word;
    if (!tableFlag && stem.size() > 1 && (TatLetterClass(stem.back()) & kLetterU) != 0) {
        stem.pop_back(); // бару: бар, эшләү: эшлә
    }
    stemKey = TatIsMonosyllable(stem) && !IsSpecialVerbStem(stem) ? 1 : 0;
    rec.Base = stem;
    rec.Form = stem;
    rec.SplitForm = stem;
}

void AlternateVerbStemFinal(TGP_Proc_Rec& rec) {
    const size_t n = rec.Base.size();
    if (n <= 1) {
        return;
    }
    const uint32_t lastClass = TatLetterClass(rec.Base[n - 1]);
    if ((lastClass & kHasPartner) == 0 || (lastClass & kAlternatesBeforeVowel) != 0) {
        return;
    }
    const auto partner = static_cast<wchar_t>(lastClass >> 16);
    for (std::wstring* text : {&rec.Base, &rec.Form, &rec.SplitForm}) {
        if (text->size() >= n) {
            (*text)[n - 1] = partner;
        }
    }
}

bool StripVerbStemVowel(int32_t& harmony, TGP_Proc_Rec& rec) {
    harmony = -1;
    if (rec.Base.empty() || (TatLetterClass(rec.Base.back()) & kVowel) == 0) {
        return false;
    }
    harmony = TatWordHarmony(rec.Base);
    std::wstring stem = rec.Base;
    while (stem.size() > 1 && (stem.back() == L'а' || stem.back() == L'ә')) {
        stem.pop_back();
    }
    rec.Base = stem;
    rec.Form = stem;
    rec.SplitForm = stem;
    return true;
}

void AppendVerbEnding(int32_t formCode, uint8_t key2, TGP_Proc_Rec& rec, int32_t harmonyOverride,
                      int32_t classOverride) {
    const int32_t harmony = harmonyOverride > 0 ? harmonyOverride : TatWordHarmony(rec.Form);
    int32_t letterClass = classOverride > 0 ? classOverride : TatLastLetterClass(rec.Form);
    // After the present ый/и or the negation мый/ми the first person singular is м (укыйм, бармыйм), not ым.
    if (!rec.Affixes.empty() && (rec.Affixes.back().FormCode == 24 || rec.Affixes.back().FormCode == 33) &&
        formCode == 7 && key2 == 4 && (letterClass & kAnyConsonant) != 0 &&
        (harmony == kFrontHarmony || harmony == kBackHarmony)) {
        letterClass = kVowel;
    }
    if (formCode < 0) {
        return;
    }
    TTaileLookup lookup;
    if (SelectVerbRule(formCode, letterClass & 0xFF, harmony & 0xFF, lookup, key2)) {
        JoinAffix(lookup, rec);
    }
}

void AppendImperativePlaceholder(TGP_Proc_Rec& rec) {
    TTaileLookup lookup;
    if (!SelectVerbRule(21, 0x3F, 7, lookup, 0)) {
        return;
    }
    AppendPlaceholder(lookup, rec);
    rec.Form += lookup.AffixText;
}

void BuildExceptionVerbForm(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                            uint8_t negation, TGP_Proc_Rec& rec) {
    if (word.empty()) {
        return;
    }
    int mode = 0;
    if (negation == 0 && kind == 1) {
        mode = 1;
    } else if (negation == 0 && kind == 2) {
        mode = 2;
    }
    SetVerbStemFinal(word, mode, rec);
    rec.Affixes.clear();
    if (negation > 1) {
        return;
    }
    const TVerbCell* cell = FindCell(ExceptionVerbSteps[negation], kind, tense, person, number);
    if (cell == nullptr) {
        return;
    }
    for (const TVerbStep& step : *cell) {
        if (step.Op == TVerbStepOp::End) {
            break;
        }
        RunExceptionStep(step, rec);
    }
}

void SetVerbStemFinal(const std::wstring& word, int mode, TGP_Proc_Rec& rec) {
    std::wstring stem = word;
    if (!stem.empty() && mode == 0) {
        stem.back() = L'й';
    } else if (!stem.empty() && mode == 1) {
        stem.back() = L'е';
    }
    rec.Base = stem;
    rec.Form = stem;
    rec.SplitForm = stem;
}

void AppendVerbSuffix(int32_t formCode, uint8_t key2, TGP_Proc_Rec& rec, int32_t classOverride) {
    const int32_t letterClass = classOverride > 0 ? classOverride : TatLastLetterClass(rec.Form);
    TTaileLookup lookup;
    if (SelectVerbRule(formCode, letterClass & 0xFF, kBackHarmony, lookup, key2)) {
        JoinAffix(lookup, rec);
    }
}

void AppendPlaceholderSuffix(int kind, TGP_Proc_Rec& rec) {
    TTaileLookup lookup;
    const bool found = (kind == 2 && SelectVerbRule(19, 0x3F, kFrontHarmony, lookup, 0)) ||
                       (kind == 3 && SelectVerbRule(21, 0x3F, 7, lookup, 0));
    if (found) {
        AppendPlaceholder(lookup, rec);
    }
}
