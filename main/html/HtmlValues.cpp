#include "main/html/HtmlValues.h"

#include <algorithm>

#include "main/html/HtmlReader.h"

namespace {

struct TNamedCharacter {
    std::wstring_view Name;
    wchar_t Character;
};

// The escapes of the programs' own text, and the few a help page is likely to hold.
const TNamedCharacter kEntities[] = {
    {L"amp", L'&'},      {L"lt", L'<'},      {L"gt", L'>'},      {L"quot", L'"'},    {L"apos", L'\''},
    {L"AMP", L'&'},      {L"LT", L'<'},      {L"GT", L'>'},      {L"QUOT", L'"'},    {L"nbsp", 0x00A0},
    {L"copy", 0x00A9},   {L"reg", 0x00AE},   {L"deg", 0x00B0},   {L"laquo", 0x00AB}, {L"raquo", 0x00BB},
    {L"middot", 0x00B7}, {L"ndash", 0x2013}, {L"mdash", 0x2014}, {L"bull", 0x2022},  {L"hellip", 0x2026},
};

struct TNamedColour {
    std::wstring_view Name;
    uint32_t Rgb;
};

const TNamedColour kColours[] = {
    {L"black", 0x000000},  {L"silver", 0xC0C0C0}, {L"gray", 0x808080},   {L"grey", 0x808080},    {L"white", 0xFFFFFF},
    {L"maroon", 0x800000}, {L"red", 0xFF0000},    {L"purple", 0x800080}, {L"fuchsia", 0xFF00FF}, {L"green", 0x008000},
    {L"lime", 0x00FF00},   {L"olive", 0x808000},  {L"yellow", 0xFFFF00}, {L"navy", 0x000080},    {L"blue", 0x0000FF},
    {L"teal", 0x008080},   {L"aqua", 0x00FFFF},
};

// Numbered references 128..159 name the Windows-1252 characters there, as old pages meant them.
const uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::wstring_view Trimmed(std::wstring_view value) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; };
    while (!value.empty() && blank(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && blank(value.back())) {
        value.remove_suffix(1);
    }
    return value;
}

// The digits as a number, or -1 when one is not a hex digit.
long HexValue(std::wstring_view digits) {
    long value = 0;
    for (const wchar_t c : digits) {
        const int digit = HtmlDigitValue(c, 16);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

bool HtmlSameName(std::wstring_view name, std::wstring_view lower) {
    if (name.size() != lower.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i] >= L'A' && name[i] <= L'Z' ? static_cast<wchar_t>(name[i] + (L'a' - L'A')) : name[i];
        if (c != lower[i]) {
            return false;
        }
    }
    return true;
}

int HtmlDigitValue(wchar_t c, int base) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (base == 16 && c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (base == 16 && c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

wchar_t HtmlEntityCharacter(std::wstring_view name) {
    for (const TNamedCharacter& entity : kEntities) {
        if (entity.Name == name) {
            return entity.Character;
        }
    }
    return 0;
}

uint32_t HtmlCharacterReference(uint32_t number) {
    if (number >= 0x80 && number <= 0x9F) {
        return kWindows1252High[number - 0x80];
    }
    if (number == 0 || (number >= 0xD800 && number <= 0xDFFF) || number > 0x10FFFF) {
        return 0xFFFD;
    }
    return number;
}

uint32_t HtmlParseColour(std::wstring_view value) {
    value = Trimmed(value);
    const bool hash = !value.empty() && value.front() == L'#';
    const std::wstring_view digits = hash ? value.substr(1) : value;
    if (digits.size() == 6 && HexValue(digits) >= 0) {
        return static_cast<uint32_t>(HexValue(digits));
    }
    if (hash && digits.size() == 3 && HexValue(digits) >= 0) {
        const auto twice = [](long d) { return static_cast<uint32_t>(d * 17); };
        const long rgb = HexValue(digits);
        return twice(rgb >> 8) << 16 | twice((rgb >> 4) & 15) << 8 | twice(rgb & 15);
    }
    for (const TNamedColour& colour : kColours) {
        if (HtmlSameName(value, colour.Name)) {
            return colour.Rgb;
        }
    }
    return kHtmlDefaultColour;
}

int HtmlParseFontSize(std::wstring_view value) {
    value = Trimmed(value);
    int sign = 0;
    if (!value.empty() && (value.front() == L'+' || value.front() == L'-')) {
        sign = value.front() == L'+' ? 1 : -1;
        value.remove_prefix(1);
    }
    int number = 0;
    size_t digits = 0;
    for (; digits < value.size() && HtmlDigitValue(value[digits], 10) >= 0; ++digits) {
        number = std::min(number * 10 + HtmlDigitValue(value[digits], 10), 100);
    }
    if (digits == 0) {
        return 0;
    }
    const int size = sign == 0 ? number : kHtmlNormalSize + sign * number;
    return std::clamp(size, kHtmlMinSize, kHtmlMaxSize);
}

void AppendHtmlEscaped(std::wstring& html, std::wstring_view text) {
    for (const wchar_t c : text) {
        switch (c) {
        case L'<':
            html += L"&lt;";
            break;
        case L'>':
            html += L"&gt;";
            break;
        case L'&':
            html += L"&amp;";
            break;
        default:
            html += c;
        }
    }
}

std::wstring EscapeHtml(std::wstring_view text) {
    std::wstring html;
    html.reserve(text.size() + 8);
    AppendHtmlEscaped(html, text);
    return html;
}
