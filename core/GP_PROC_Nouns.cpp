#include "core/GP_PROC.h"
#include "core/GP_PROC_Steps.h"

namespace {

void StartForm(const std::wstring& word, TGP_Proc_Rec& rec) {
    rec.Base = word;
    rec.Form = word;
    rec.SplitForm = word;
    rec.Affixes.clear();
}

} // namespace

void BuildNounForm(const std::wstring& word, uint8_t caseCode, uint8_t possessor, uint8_t number, TGP_Proc_Rec& rec) {
    StartForm(word, rec);
    if (word.empty()) {
        return;
    }
    bool firstSuffix = true;
    const auto harmony = static_cast<uint8_t>(TatWordHarmony(word));
    if (number == 2) {
        AppendNounSuffix(1, 0, harmony, firstSuffix, rec, false);
    }
    if (caseCode < 1 || caseCode > 6 || possessor > 3) {
        return;
    }
    for (const TNounStep& step : NounSteps[caseCode - 1][possessor]) {
        if (step.FormCode == 0) {
            break;
        }
        AppendNounSuffix(step.FormCode, step.Key2, harmony, firstSuffix, rec, step.ThirdPerson);
    }
}

void BuildAdjectiveForm(const std::wstring& word, uint8_t degree, TGP_Proc_Rec& rec) {
    if (word.empty()) {
        // Nothing is left of an earlier form, as with the other builders.
        StartForm(word, rec);
        return;
    }
    rec.Affixes.clear();
    rec.Base = word;
    if (degree == 2) {
        VoiceFinalConsonant(rec);
    }
    rec.Form = rec.Base;
    rec.SplitForm = rec.Base;
    if (degree != 2) {
        return;
    }
    TTaileLookup lookup;
    if (!SelectAdjectiveRule(TatWordHarmony(rec.Base), lookup)) {
        return;
    }
    rec.Affixes.push_back({lookup.AffixText, lookup.FormName, lookup.FormCode, lookup.RuleId});
    AdjustStemBorder(lookup.AffixText, rec);
    rec.Form += lookup.AffixText;
    rec.SplitForm += L'/';
    rec.SplitForm += lookup.AffixText;
}

void BuildNumeralForm(const std::wstring& word, uint8_t caseCode, uint8_t kind, TGP_Proc_Rec& rec) {
    StartForm(word, rec);
    if (word.size() < 2) {
        return;
    }
    bool firstSuffix = true;
    const auto harmony = static_cast<uint8_t>(TatWordHarmony(word));
    if (caseCode < 1 || caseCode > 6 || kind < 1 || kind > 5) {
        return;
    }
    for (const uint8_t formCode : NumeralSteps[caseCode - 1][kind - 1]) {
        if (formCode == 0) {
            break;
        }
        AppendNumeralSuffix(formCode, harmony, firstSuffix, rec);
    }
}
