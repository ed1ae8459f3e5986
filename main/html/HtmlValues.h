#pragma once
// The values inside HTML text that the reader looks up: names of characters and colours, font
// sizes, and numbered character references. Portable.

#include <cstdint>
#include <string>
#include <string_view>

// ASCII names compared without regard to case; lower is in lower case.
bool HtmlSameName(std::wstring_view name, std::wstring_view lower);

// The digit's value in base 10 or 16, or -1.
int HtmlDigitValue(wchar_t c, int base);

// The character a name such as "nbsp" stands for (names are case-sensitive), or 0.
wchar_t HtmlEntityCharacter(std::wstring_view name);

// The character a numbered reference gives, as browsers read it: 128..159 as in Windows-1252,
// zero, surrogates and numbers past U+10FFFF as U+FFFD.
uint32_t HtmlCharacterReference(uint32_t number);

// A COLOR value ("#RRGGBB", "#RGB", "RRGGBB" or a colour name) as 0xRRGGBB; kHtmlDefaultColour
// when it does not parse.
uint32_t HtmlParseColour(std::wstring_view value);

// A SIZE value ("5", "+1", "-2") on the FONT SIZE scale, clamped to 1..7; 0 when it does not parse.
int HtmlParseFontSize(std::wstring_view value);

// Appends text with <, > and & written as references, so that it reads back as the same text.
void AppendHtmlEscaped(std::wstring& html, std::wstring_view text);

std::wstring EscapeHtml(std::wstring_view text);
