#pragma once
// The few locale services of the system that portable code needs, without <windows.h>.

#include <string>

// CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE) of two zero-terminated texts,
// as -1, 0 or +1.
int SystemCompareIgnoreCase(const wchar_t* a, const wchar_t* b);

// IsCharAlphaW: true for a letter of any script.
bool SystemIsLetter(wchar_t c);

// The system's message text for an error code, without the trailing line end.
std::wstring SystemErrorMessage(unsigned long code);
