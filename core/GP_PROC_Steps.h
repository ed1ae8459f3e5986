#pragma once
// The step tables of the paradigm builders: which suffixes, by form code, each choice of categories joins.

#include <array>
#include <cstdint>

struct TNounStep {
    uint8_t FormCode; // 0 ends the cell
    uint8_t Key2;
    bool ThirdPerson;
};

constexpr TNounStep Suffix(uint8_t formCode, uint8_t key2 = 0) {
    return {formCode, key2, false};
}
constexpr TNounStep ThirdPerson(uint8_t formCode) {
    return {formCode, 0, true};
}

using TNounCell = std::array<TNounStep, 3>;
using TNumeralCell = std::array<uint8_t, 2>; // form codes; 0 ends the cell

enum class TVerbStepOp : uint8_t {
    End,
    Ending,                // AppendVerbEnding
    Strip,                 // StripVerbStemVowel
    Alternate,             // AlternateVerbStemFinal
    ImperativePlaceholder, // AppendImperativePlaceholder
    PresentHead,           // strip, then the present affix: и/ый after a stripped vowel, else ә/а
    InfinitiveHead,        // the infinitive, by stem key and with any consonant after у/ү
    VerbalNounHead,        // the verbal noun
};

constexpr int16_t kStemKey = -1; // key2 is the build's stem key

struct TVerbStep {
    TVerbStepOp Op;
    int16_t Code;
    int16_t Key2;
    int16_t ClassOverride;
    bool StrippedHarmony; // the harmony override is the one StripVerbStemVowel handed out
};

constexpr TVerbStep Ending(int16_t code, int16_t key2 = 0, int16_t classOverride = 0) {
    return {TVerbStepOp::Ending, code, key2, classOverride, false};
}
constexpr TVerbStep StemKeyEnding(int16_t code) {
    return {TVerbStepOp::Ending, code, kStemKey, 0, false};
}
constexpr TVerbStep StrippedHarmonyEnding(int16_t code, int16_t key2 = 0) {
    return {TVerbStepOp::Ending, code, key2, 0, true};
}
constexpr TVerbStep Strip() {
    return {TVerbStepOp::Strip, 0, 0, 0, false};
}
constexpr TVerbStep Alternate() {
    return {TVerbStepOp::Alternate, 0, 0, 0, false};
}
constexpr TVerbStep ImperativePlaceholder() {
    return {TVerbStepOp::ImperativePlaceholder, 0, 0, 0, false};
}
constexpr TVerbStep PresentHead() {
    return {TVerbStepOp::PresentHead, 0, 0, 0, false};
}
constexpr TVerbStep InfinitiveHead() {
    return {TVerbStepOp::InfinitiveHead, 0, 0, 0, false};
}
constexpr TVerbStep VerbalNounHead() {
    return {TVerbStepOp::VerbalNounHead, 0, 0, 0, false};
}

using TVerbCell = std::array<TVerbStep, 4>; // ends at the first End

// Rows by case 1..6, columns by possessor 0..3.
extern const TNounCell NounSteps[6][4];
// Rows by case 1..6, columns by kind 1..5.
extern const TNumeralCell NumeralSteps[6][5];

constexpr int kVerbRows = 9;    // infinitive, verbal noun, imperative, conditional, five tenses
constexpr int kVerbColumns = 6; // 1 sg, 1 pl, 2 sg, 2 pl, 3 sg, 3 pl
extern const TVerbCell PositiveVerbSteps[kVerbRows][kVerbColumns];
extern const TVerbCell NegativeVerbSteps[kVerbRows][kVerbColumns];
