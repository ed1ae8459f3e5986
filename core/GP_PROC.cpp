#include "core/GP_PROC.h"

const wchar_t* const kPlaceholderAffix = L"()";

namespace {

inline bool IsVowel(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

inline bool BeginsWithVowel(const wchar_t* affix) {
    return affix != nullptr && IsVowel(affix[0]);
}

inline wchar_t PartnerOf(wchar_t c) {
    return static_cast<wchar_t>(TatLetterClass(c) >> 16);
}

// A front stem's final и is said ий, and a final у, ү is a consonant: the first and second person
// possessives follow them as a consonant (әнием, әниең, баруым, килүең).
uint32_t ClassBeforeNounSuffix(const std::wstring& form, uint8_t formCode, uint8_t harmony) {
    if ((formCode == 7 || formCode == 8) && harmony == kFrontHarmony && !form.empty() && form.back() == L'и') {
        return kVoicedConsonant;
    }
    if ((formCode == 7 || formCode == 8) && !form.empty() && (TatLetterClass(form.back()) & kLetterU) != 0) {
        return kVoicedConsonant;
    }
    return TatLastLetterClass(form);
}

void AppendEntry(const TTaileLookup& lookup, int32_t ruleId, TGP_Proc_Rec& rec) {
    rec.Affixes.push_back({lookup.AffixText, lookup.FormName, lookup.FormCode, ruleId});
    rec.SplitForm += L'/';
    rec.SplitForm += lookup.AffixText;
    rec.Form += lookup.AffixText;
}

} // namespace

void JoinAffix(const TTaileLookup& lookup, TGP_Proc_Rec& rec) {
    AppendEntry(lookup, lookup.RuleId, rec);
}

void AdjustStemBorder(const wchar_t* affix, TGP_Proc_Rec& rec) {
    std::wstring form = rec.Form;
    size_t n = form.size();
    if (n < 2) {
        return;
    }
    if (form[n - 2] == L'м' && form[n - 1] == L'п') {
        return; // штамп keeps its п
    }
    if ((TatLetterClass(form[n - 1]) & kLetterU) != 0 &&
        (!IsVowel(form[n - 2]) || (TatLetterClass(form[n - 2]) & kLetterU) != 0)) {
        return; // у after a consonant or after у is a vowel and stays (уку/ы, туу/ы)
    }
    const bool vowelAffix = BeginsWithVowel(affix);
    if (vowelAffix && (form[n - 1] == L'ь' || form[n - 1] == L'ъ')) {
        form.pop_back();
        --n;
    }
    const uint32_t lastClass = TatLetterClass(form[n - 1]);
    if (vowelAffix && (lastClass & kAlternatesBeforeVowel) != 0) {
        // After a voiceless letter (диск) к and п stay voiceless. A single letter left once ь or ъ was
        // dropped has nothing before it, so it alternates.
        const bool afterVoiceless =
            n >= 2 && ((TatLetterClass(form[n - 2]) & kVoicelessConsonant) != 0 || form[n - 2] == L'ь');
        if ((lastClass & kVoicelessConsonant) == 0 || !afterVoiceless) {
            form[n - 1] = PartnerOf(form[n - 1]);
        }
    }
    rec.Form = form;
    rec.SplitForm = form;
}

void VoiceFinalConsonant(TGP_Proc_Rec& rec) {
    if (!rec.Base.empty() && (rec.Base.back() == L'к' || rec.Base.back() == L'п')) {
        rec.Base.back() = PartnerOf(rec.Base.back());
    }
}

void DropStemFinal(TGP_Proc_Rec& rec, const TTaileLookup& lookup) {
    if (BeginsWithVowel(lookup.AffixText) && (TatLastLetterClass(rec.Base) & kVowel) != 0) {
        rec.Base.pop_back();
        rec.Form = rec.Base;
        rec.SplitForm = rec.Base;
    }
}

void AppendNumeralSuffix(int32_t formCode, uint8_t harmony, bool& firstSuffix, TGP_Proc_Rec& rec) {
    TTaileLookup lookup;
    if (!SelectNumeralRule(formCode, TatLastLetterClass(rec.Form), harmony, lookup)) {
        return; // the flag stays: the next suffix is still the first one
    }
    if (firstSuffix) {
        DropStemFinal(rec, lookup);
    }
    JoinAffix(lookup, rec);
    firstSuffix = false;
}

void AppendNounSuffix(uint8_t formCode, uint8_t key2, uint8_t harmony, bool& firstSuffix, TGP_Proc_Rec& rec,
                      bool thirdPerson) {
    const bool first = firstSuffix;
    firstSuffix = false;

    // The third-person possessive takes ы after у as after a consonant (тавы).
    uint32_t letterClass = ClassBeforeNounSuffix(rec.Form, formCode, harmony);
    if (thirdPerson && !rec.Form.empty() && (TatLetterClass(rec.Form.back()) & kLetterU) != 0) {
        letterClass = kVoicedConsonant;
    }
    TTaileLookup lookup;
    if (!SelectNounRule(formCode, letterClass & 0xFF, harmony, lookup, key2)) {
        return;
    }
    if (first) {
        AdjustStemBorder(lookup.AffixText, rec);
    }

    // туй + ы gives туе, which already carries the possessive.
    const std::wstring& form = rec.Form;
    const size_t n = form.size();
    if (n >= 2 && formCode == 9 && key2 == 0 && form[n - 1] == L'е' && IsVowel(form[n - 2])) {
        return;
    }

    // The border may have turned the last consonant into a vowel (туй + ым: туе + м); choose again for it.
    if (!thirdPerson) {
        TTaileLookup again;
        if (SelectNounRule(formCode, ClassBeforeNounSuffix(rec.Form, formCode, harmony), harmony, again, key2)) {
            lookup = again;
        }
    }
    AppendEntry(lookup, 0, rec);
}
