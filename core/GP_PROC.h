#pragma once
// Builders of Tatar paradigm forms: one noun, adjective, numeral or verb form at a time, with the form split
// into its affixes and each affix named. No state is kept between calls; the record is the result.

#include <cstdint>
#include <string>
#include <vector>

#include "core/GP_DATA.h"

struct TAffixInfo {
    const wchar_t* AffixText; // a cell of AffixTexts, or "()" in a placeholder
    const wchar_t* FormName;  // in the interface language at the time of joining
    int32_t FormCode;
    int32_t RuleId; // 61 in a placeholder; 0 for affixes joined by the noun step
};

using TGP_Struct_Arr = std::vector<TAffixInfo>;

struct TGP_Proc_Rec {
    std::wstring Base;
    std::wstring Form;
    std::wstring SplitForm; // Form with "/" before every joined affix
    TGP_Struct_Arr Affixes; // in joining order
};

// The affix text of a placeholder entry, which marks a category that has no written affix.
extern const wchar_t* const kPlaceholderAffix;
constexpr int32_t kPlaceholderRuleId = 61;

// Joining steps shared by the builders.
void JoinAffix(const TTaileLookup& lookup, TGP_Proc_Rec& rec);
void AdjustStemBorder(const wchar_t* affix, TGP_Proc_Rec& rec);
void VoiceFinalConsonant(TGP_Proc_Rec& rec);
void DropStemFinal(TGP_Proc_Rec& rec, const TTaileLookup& lookup);
void AppendNumeralSuffix(int32_t formCode, uint8_t harmony, bool& firstSuffix, TGP_Proc_Rec& rec);
void AppendNounSuffix(uint8_t formCode, uint8_t key2, uint8_t harmony, bool& firstSuffix, TGP_Proc_Rec& rec,
                      bool thirdPerson);

// caseCode: 1 base, 2 genitive, 3 dative, 4 accusative, 5 ablative, 6 locative.
// possessor: 0 none, 1..3 the person. number: 1 singular, 2 plural.
void BuildNounForm(const std::wstring& word, uint8_t caseCode, uint8_t possessor, uint8_t number, TGP_Proc_Rec& rec);
// degree: 1 base, 2 comparative.
void BuildAdjectiveForm(const std::wstring& word, uint8_t degree, TGP_Proc_Rec& rec);
// kind: 1 cardinal, 2 ordinal, 3 approximate, 4 collective, 5 distributive.
void BuildNumeralForm(const std::wstring& word, uint8_t caseCode, uint8_t kind, TGP_Proc_Rec& rec);

// kind: 1 infinitive, 2 verbal noun, 3 imperative, 4 conditional, 5 indicative.
// tense (kind 5): 1 present, 2 past definite, 3 past indefinite, 4 future definite, 5 future indefinite.
// person 1..3, number 1 singular / 2 plural, negation 0 positive / 1 negative (any other: the stem only).
void BuildVerbForm(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                   uint8_t negation, TGP_Proc_Rec& rec);

// Steps of the verb builder.
void SplitVerbStem(const std::wstring& word, int32_t& stemKey, bool& tableFlag, TGP_Proc_Rec& rec);
void AlternateVerbStemFinal(TGP_Proc_Rec& rec);
bool StripVerbStemVowel(int32_t& harmony, TGP_Proc_Rec& rec);
// An override of 0 or less means none.
void AppendVerbEnding(int32_t formCode, uint8_t key2, TGP_Proc_Rec& rec, int32_t harmonyOverride,
                      int32_t classOverride);
void AppendImperativePlaceholder(TGP_Proc_Rec& rec);
// The spelling at a verb's stem border, for a first suffix already chosen by the stem's last letter:
// a final б, г, в is said п, к, у before a consonant (тап/ты); the ы or е that a stem merges with
// у/ү goes before them (борч/у); the last ы of курык goes before a vowel (курк/а); a final й and an
// opening vowel are one letter (ку/я, ку/еп, ди/яр).
void SpellVerbStemBorder(const TVerbStem& stem, std::wstring& stemText, std::wstring& suffix);
