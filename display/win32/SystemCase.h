#pragma once
// The system's upper-casing of UTF-16 text, for portable code.

#include <string>
#include <string_view>

// CharUpperBuffW over a copy; the length stays the same.
std::wstring SystemUpperCase(std::wstring_view text);
