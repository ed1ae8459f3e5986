#include "core/PartsOfSpeech.h"

namespace {

std::vector<TGP_Proc_Rec> NounForms(const std::wstring& word) {
    std::vector<TGP_Proc_Rec> forms;
    TGP_Proc_Rec rec;
    for (uint8_t number = 1; number <= 2; ++number) {
        for (uint8_t possessor = 0; possessor <= 3; ++possessor) {
            for (uint8_t caseCode = 1; caseCode <= 6; ++caseCode) {
                BuildNounForm(word, caseCode, possessor, number, rec);
                forms.push_back(rec);
            }
        }
    }
    return forms;
}

std::vector<TGP_Proc_Rec> AdjectiveForms(const std::wstring& word) {
    std::vector<TGP_Proc_Rec> forms;
    TGP_Proc_Rec rec;
    for (uint8_t degree = 1; degree <= 2; ++degree) {
        BuildAdjectiveForm(word, degree, rec);
        forms.push_back(rec);
    }
    return forms;
}

std::vector<TGP_Proc_Rec> NumeralForms(const std::wstring& word) {
    std::vector<TGP_Proc_Rec> forms;
    TGP_Proc_Rec rec;
    for (uint8_t kind = 1; kind <= 5; ++kind) {
        for (uint8_t caseCode = 1; caseCode <= 6; ++caseCode) {
            BuildNumeralForm(word, caseCode, kind, rec);
            forms.push_back(rec);
        }
    }
    return forms;
}

std::vector<TGP_Proc_Rec> VerbForms(const std::wstring& word) {
    std::vector<TGP_Proc_Rec> forms;
    for (uint8_t negation = 0; negation <= 1; ++negation) {
        for (uint8_t kind = 1; kind <= 5; ++kind) {
            const uint8_t tenses = kind == 5 ? 5 : 1;
            const uint8_t persons = kind >= 3 ? 3 : 1;
            const uint8_t numbers = kind >= 3 ? 2 : 1;
            for (uint8_t tense = 1; tense <= tenses; ++tense) {
                for (uint8_t person = 1; person <= persons; ++person) {
                    for (uint8_t number = 1; number <= numbers; ++number) {
                        TGP_Proc_Rec rec; // the verb builder leaves the record alone for an empty word
                        BuildVerbForm(word, kind, tense, person, number, negation, rec);
                        forms.push_back(std::move(rec));
                    }
                }
            }
        }
    }
    return forms;
}

} // namespace

const TPartOfSpeechInfo InflectingParts[kInflectingParts] = {
    {posNoun, "noun", L"ntailes.bin", NounForms},
    {posAdjective, "adj", L"atailes.bin", AdjectiveForms},
    {posNumeral, "num", L"dtailes.bin", NumeralForms},
    {posVerb, "verb", L"vtailes.bin", VerbForms},
};

int InflectingPartIndex(TPartOfSpeech part) {
    for (int i = 0; i < kInflectingParts; ++i) {
        if (InflectingParts[i].Code == part) {
            return i;
        }
    }
    return -1;
}

const TPartOfSpeechInfo* InflectingPart(TPartOfSpeech part) {
    const int index = InflectingPartIndex(part);
    return index < 0 ? nullptr : &InflectingParts[index];
}
