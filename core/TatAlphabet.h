#pragma once
// Tatar alphabetical order: the 39 letters of the Tatar alphabet weigh 1040 + their place, capital
// and small alike; every other character weighs its own code point.

#include <cstddef>

// Each returns exactly -1, 0 or +1.
int TatCompareStr(const wchar_t* a, const wchar_t* b);
int TatCompareStrLen(const wchar_t* a, size_t lengthA, const wchar_t* b);
int TatCompareText(const wchar_t* a, size_t lengthA, const wchar_t* b, size_t lengthB);

// The collation weight of one UTF-16 unit.
unsigned TatWeight(wchar_t c);
