#pragma once
// The few locale services of the system that portable code needs, without <windows.h>.

#include <cstddef>
#include <string>

// CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE) of two zero-terminated texts,
// as -1, 0 or +1.
int SystemCompareIgnoreCase(const wchar_t* a, const wchar_t* b);

// True when the text holds only small Russian and Tatar letters: two such texts compare equal
// under SystemCompareIgnoreCase only when they are the same text, so an exact lookup may stand in
// for a search with that compare.
inline bool IsPlainSmallCyrillic(const wchar_t* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        const bool plain = (c >= 0x0430 && c <= 0x044F) || c == 0x0451 || c == 0x04D9 || c == 0x04E9 || c == 0x04AF ||
                           c == 0x0497 || c == 0x04A3 || c == 0x04BB;
        if (!plain) {
            return false;
        }
    }
    return true;
}

// IsCharAlphaW: true for a letter of any script.
bool SystemIsLetter(wchar_t c);

// The system's message text for an error code, without the trailing line end.
std::wstring SystemErrorMessage(unsigned long code);
