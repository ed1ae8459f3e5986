#pragma once
// UTF-8 <-> UTF-16 at file and tool boundaries; everything inside the programs is UTF-16.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == 2, "the programs keep text as UTF-16 in wchar_t");

// Invalid sequences become U+FFFD; no input makes these read outside their argument.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
