#include "core/GP_PROC.h"
#include "core/GP_PROC_Steps.h"

namespace {

constexpr int32_t kAnyConsonant = 0x38;

// Values that live for one build.
struct TVerbBuild {
    int32_t StemKey = 0;
    bool TableFlag = false;
    int32_t StrippedHarmony = -1;
    std::wstring Word;
    TVerbStem Stem;
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

inline bool IsVowelLetter(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

void AppendPlaceholder(const TTaileLookup& lookup, TGP_Proc_Rec& rec) {
    rec.Affixes.push_back({kPlaceholderAffix, lookup.FormName, lookup.FormCode, kPlaceholderRuleId});
}

void SetStem(const std::wstring& stem, TGP_Proc_Rec& rec) {
    rec.Base = stem;
    rec.Form = stem;
    rec.SplitForm = stem;
}

// No affix is written yet: the next one meets the stem.
bool AtStem(const TGP_Proc_Rec& rec) {
    return rec.Form == rec.Base && rec.SplitForm == rec.Base;
}

// A verb stem's final е is a vowel and stays (төзе, бие, бае).
void AlternateStemFinal(TGP_Proc_Rec& rec) {
    if (EndsWith(rec.Base, L'е') || EndsWith(rec.Base, L'Е')) {
        return;
    }
    AlternateVerbStemFinal(rec);
}

// After a vowel other than и, a stem's е is written for йы: without the ы its й stays (бае: бай/ый).
bool DropsToIota(const std::wstring& stem) {
    const size_t n = stem.size();
    return n > 1 && stem[n - 1] == L'е' && IsVowelLetter(stem[n - 2]) && stem[n - 2] != L'и';
}

// A stem's final у, ү is said в before a vowel: the endings take it for a consonant (ту/а, ту/ар).
bool EndsInWaw(const std::wstring& stem) {
    return EndsWith(stem, L'у') || EndsWith(stem, L'ү');
}

// A stem's final ы or е drops where the suffix brings its own vowel (борч/ый, ар/ый).
void DropStemVowel(TGP_Proc_Rec& rec) {
    if (rec.Base.size() <= 1) {
        return;
    }
    if (DropsToIota(rec.Base)) {
        SetStem(rec.Base.substr(0, rec.Base.size() - 1) + L'й', rec);
    } else if (EndsWith(rec.Base, L'ы') || EndsWith(rec.Base, L'е')) {
        SetStem(rec.Base.substr(0, rec.Base.size() - 1), rec);
    }
}

// A stem's final й and the vowel that opens the first suffix are written as one letter.
void SpellIotaAtStem(const TVerbBuild& build, TGP_Proc_Rec& rec) {
    std::wstring stem = rec.Base;
    const std::wstring joined = rec.Affixes.back().AffixText;
    std::wstring affix = joined;
    SpellVerbStemBorder(build.Stem, stem, affix);
    if (stem != rec.Base || affix != joined) {
        rec.Form = stem + affix;
        rec.SplitForm = stem + L'/' + affix;
    }
}

// One ending. At the stem a final б, г, в is said п, к, у before a consonant (тап/ты, ау/ды), and a
// hidden й counts as the stem's last letter (ди/де, ди/яр).
void JoinEnding(int32_t code, int32_t key2, int32_t harmony, int32_t classOverride, const TVerbBuild& build,
                TGP_Proc_Rec& rec) {
    const bool atStem = AtStem(rec);
    if (atStem && build.Stem.HiddenY && classOverride <= 0) {
        classOverride = static_cast<int32_t>(TatLetterClass(L'й') & 0xFF);
    }
    if (atStem && EndsInWaw(rec.Base) && classOverride <= 0) {
        classOverride = static_cast<int32_t>(kVoicedConsonant);
    }
    if (atStem && build.Stem.Voicing) {
        TGP_Proc_Rec trial = rec;
        AppendVerbEnding(code, static_cast<uint8_t>(key2), trial, harmony, classOverride);
        if (trial.Affixes.size() > rec.Affixes.size() && !IsVowelLetter(trial.Affixes.back().AffixText[0])) {
            AlternateVerbStemFinal(rec);
        }
    }
    const size_t before = rec.Affixes.size();
    AppendVerbEnding(code, static_cast<uint8_t>(key2), rec, harmony, classOverride);
    if (atStem && rec.Affixes.size() > before) {
        SpellIotaAtStem(build, rec);
    }
}

// Strips the stem's final vowel where the present and the first-person imperative join it: а, ә go,
// the а of я leaves its й (буй/ый), ы and е go (ар/ый); a hidden й keeps ди a consonant stem, and
// a final у, ү, or the ю of юу, is one.
bool StripStem(TVerbBuild& build, TGP_Proc_Rec& rec) {
    if (build.Stem.HiddenY || EndsInWaw(rec.Base) || (TatLastLetterClass(rec.Base) & kVowel) == 0) {
        build.StrippedHarmony = -1;
        return false;
    }
    const bool stripped = StripVerbStemVowel(build.StrippedHarmony, rec);
    if (stripped && rec.Base.size() > 1 && EndsWith(rec.Base, L'я')) {
        SetStem(rec.Base.substr(0, rec.Base.size() - 1) + L'й', rec);
    } else if (stripped) {
        DropStemVowel(rec);
    }
    return stripped;
}

void RunVerbStep(const TVerbStep& step, TVerbBuild& build, TGP_Proc_Rec& rec) {
    switch (step.Op) {
    case TVerbStepOp::Ending: {
        const int32_t key2 = step.Key2 == kStemKey ? build.StemKey : step.Key2;
        const int32_t harmony = step.StrippedHarmony ? build.StrippedHarmony : 0;
        JoinEnding(step.Code, key2, harmony, step.ClassOverride, build, rec);
        break;
    }
    case TVerbStepOp::Strip:
        StripStem(build, rec);
        break;
    case TVerbStepOp::Alternate:
        AlternateStemFinal(rec);
        break;
    case TVerbStepOp::ImperativePlaceholder:
        AppendImperativePlaceholder(rec);
        break;
    case TVerbStepOp::PresentHead:
        // A stem that lost its final vowel takes и/ый (эшли, ашый, борчый), any other ә/а (бара, куя);
        // йөр takes и as a vowel stem does, and ди with its hidden й writes that и as ди (дим, ди).
        if (build.Stem.PresentI && !build.Stem.HiddenY) {
            AppendVerbEnding(24, 1, rec, 0, 0);
        } else if (build.Stem.PresentI) {
            TTaileLookup lookup;
            if (SelectVerbRule(24, 0x3F, TatWordHarmony(rec.Base), lookup, 1)) {
                AppendPlaceholder(lookup, rec);
            }
        } else if (StripStem(build, rec)) {
            AppendVerbEnding(24, 1, rec, build.StrippedHarmony, 0);
        } else {
            JoinEnding(24, 0, 0, 0, build, rec);
        }
        break;
    case TVerbStepOp::InfinitiveHead: {
        // A stem ending in у or ү takes the infinitive as after a consonant (туарга).
        const bool endsInU = EndsWith(rec.Base, L'у') || EndsWith(rec.Base, L'ү');
        JoinEnding(17, build.StemKey, 0, endsInU ? kAnyConsonant : 0, build, rec);
        break;
    }
    case TVerbStepOp::VerbalNounHead: {
        if (build.Word.size() > 1 && EndsWith(build.Word, L'ю')) {
            SetStem(build.Word, rec); // кую, сөю, бию are their own verbal nouns
            break;
        }
        if (build.Stem.MergesVowel) {
            DropStemVowel(rec); // the vowel the dictionary form merges with у, ү: борч/у, төз/ү
            AppendVerbEnding(19, 0, rec, 0, 0);
            break;
        }
        int32_t harmony = 0;
        if (build.TableFlag) {
            StripVerbStemVowel(build.StrippedHarmony, rec);
            harmony = build.StrippedHarmony;
        }
        JoinEnding(19, 0, harmony, 0, build, rec);
        break;
    }
    case TVerbStepOp::End:
        break;
    }
}

} // namespace

void SpellVerbStemBorder(const TVerbStem& stem, std::wstring& stemText, std::wstring& suffix) {
    if (stemText.empty() || suffix.empty()) {
        return;
    }
    const wchar_t first = suffix[0];
    if (!IsVowelLetter(first)) {
        const wchar_t last = stemText.back();
        if (stem.Voicing && (last == L'б' || last == L'г' || last == L'в')) {
            stemText.back() = static_cast<wchar_t>(TatLetterClass(last) >> 16);
        }
        return;
    }
    const size_t n = stemText.size();
    if (stem.LosesVowel && n >= 3 && (stemText[n - 2] == L'ы' || stemText[n - 2] == L'е')) {
        stemText.erase(n - 2, 1); // курк/а
        return;
    }
    if ((first == L'у' || first == L'ү') && stem.MergesVowel && stemText.size() > 1 &&
        (stemText.back() == L'ы' || stemText.back() == L'е')) {
        if (DropsToIota(stemText)) {
            suffix[0] = L'ю'; // ба/ю
        }
        stemText.pop_back();
        return;
    }
    if ((!stem.WrittenY && !stem.HiddenY) || suffix == L"ый") {
        return;
    }
    wchar_t iota = 0;
    if (first == L'а' || first == L'ә') {
        iota = L'я';
    } else if (first == L'у' || first == L'ү') {
        iota = L'ю';
    } else if (first == L'ы' || first == L'е') {
        iota = L'е';
    } else {
        return;
    }
    if (stem.WrittenY && stemText.back() == L'й') {
        stemText.pop_back();
    }
    suffix[0] = iota;
}

void BuildVerbForm(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                   uint8_t negation, TGP_Proc_Rec& rec) {
    if (word.empty()) {
        return;
    }
    TVerbBuild build;
    build.Word = word;
    build.Stem = TatVerbStem(word);
    SplitVerbStem(word, build.StemKey, build.TableFlag, rec);
    rec.Affixes.clear();
    if (negation != 0) {
        AlternateStemFinal(rec);
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
    const TVerbStem verbStem = TatVerbStem(word);
    const std::wstring& stem = verbStem.Stem;
    // йөр takes ер, ергә as кил does.
    const bool likeSpecial = IsSpecialVerbStem(stem) || (verbStem.PresentI && !verbStem.HiddenY);
    stemKey = TatIsMonosyllable(stem) && !likeSpecial ? 1 : 0;
    SetStem(stem, rec);
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
