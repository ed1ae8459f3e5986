#include "core/TatAlphabet.h"

#include <array>

namespace {

constexpr unsigned kTableSize = 0x04EA; // U+0000 .. U+04E9
constexpr unsigned kFirstWeight = 0x410;

// Capital and small form of each letter, in the order of the Tatar alphabet.
constexpr wchar_t kLetters[39][2] = {
    {L'А', L'а'}, {L'Ә', L'ә'}, {L'Б', L'б'}, {L'В', L'в'}, {L'Г', L'г'}, {L'Д', L'д'}, {L'Е', L'е'},
    {L'Ё', L'ё'}, {L'Ж', L'ж'}, {L'Җ', L'җ'}, {L'З', L'з'}, {L'И', L'и'}, {L'Й', L'й'}, {L'К', L'к'},
    {L'Л', L'л'}, {L'М', L'м'}, {L'Н', L'н'}, {L'Ң', L'ң'}, {L'О', L'о'}, {L'Ө', L'ө'}, {L'П', L'п'},
    {L'Р', L'р'}, {L'С', L'с'}, {L'Т', L'т'}, {L'У', L'у'}, {L'Ү', L'ү'}, {L'Ф', L'ф'}, {L'Х', L'х'},
    {L'Һ', L'һ'}, {L'Ц', L'ц'}, {L'Ч', L'ч'}, {L'Ш', L'ш'}, {L'Щ', L'щ'}, {L'Ъ', L'ъ'}, {L'Ы', L'ы'},
    {L'Ь', L'ь'}, {L'Э', L'э'}, {L'Ю', L'ю'}, {L'Я', L'я'},
};

constexpr std::array<unsigned short, kTableSize> BuildWeights() {
    std::array<unsigned short, kTableSize> weights{};
    for (unsigned c = 0; c < kTableSize; ++c) {
        weights[c] = static_cast<unsigned short>(c);
    }
    for (unsigned place = 0; place < 39; ++place) {
        weights[static_cast<unsigned>(kLetters[place][0])] = static_cast<unsigned short>(kFirstWeight + place);
        weights[static_cast<unsigned>(kLetters[place][1])] = static_cast<unsigned short>(kFirstWeight + place);
    }
    return weights;
}

} // namespace

const std::array<unsigned short, kTableSize> TatWeightTable = BuildWeights();

namespace {

// Compares up to the first difference or the end of either text; an end weighs 0.
inline int Compare(const wchar_t* a, const wchar_t* aEnd, const wchar_t* b, const wchar_t* bEnd) {
    for (;; ++a, ++b) {
        const unsigned wa = (a == aEnd || *a == 0) ? 0 : TatWeight(*a);
        const unsigned wb = (b == bEnd || *b == 0) ? 0 : TatWeight(*b);
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
        if (wa == 0) {
            return 0;
        }
    }
}

} // namespace

int TatCompareStr(const wchar_t* a, const wchar_t* b) {
    return Compare(a, nullptr, b, nullptr);
}

int TatCompareStrLen(const wchar_t* a, size_t lengthA, const wchar_t* b) {
    return Compare(a, a + lengthA, b, nullptr);
}

int TatCompareText(const wchar_t* a, size_t lengthA, const wchar_t* b, size_t lengthB) {
    return Compare(a, a + lengthA, b, b + lengthB);
}
