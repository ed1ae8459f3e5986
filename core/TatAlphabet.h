#pragma once
// Tatar alphabetical order: the 39 letters of the Tatar alphabet weigh 1040 + their place, capital
// and small alike; every other character weighs its own code point.

#include <array>
#include <cstddef>

// Each returns exactly -1, 0 or +1.
int TatCompareStr(const wchar_t* a, const wchar_t* b);
int TatCompareStrLen(const wchar_t* a, size_t lengthA, const wchar_t* b);
int TatCompareText(const wchar_t* a, size_t lengthA, const wchar_t* b, size_t lengthB);

// Weights of U+0000..U+04E9; the lookup hashes headwords by them, so the table is inline.
extern const std::array<unsigned short, 0x04EA> TatWeightTable;

// The collation weight of one UTF-16 unit; beyond the table, its own code point.
inline unsigned TatWeight(wchar_t c) {
    const auto unit = static_cast<unsigned>(static_cast<unsigned short>(c));
    return unit < TatWeightTable.size() ? TatWeightTable[unit] : unit;
}

// A capital letter of the Tatar or Russian alphabet, or a Latin capital: what a name begins with.
inline bool IsCapitalLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= 0x0400 && c <= 0x042F) || c == 0x04D8 || c == 0x04E8 || c == 0x04AE ||
           c == 0x0496 || c == 0x04A2 || c == 0x04BA;
}
