#include "tools/SourceFile.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/Classes_Qel.h"
#include "core/Utf8.h"

std::string ReadWholeFile(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    if (!in) {
        throw std::runtime_error(WideToUtf8(name) + ": cannot open");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SaveLines(const std::vector<std::wstring>& lines, const std::wstring& name) {
    TWideStringList list;
    for (const auto& line : lines) {
        list.Add(line);
    }
    list.SaveToFile(name);
}

std::vector<SourceLine> SourceLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<SourceLine> lines;
    size_t number = 0;
    for (std::string_view line : SplitText(text, '\n')) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line[0] != '#') {
            lines.push_back({number, line});
        }
    }
    return lines;
}

std::vector<std::string_view> SplitText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

std::string SourcePlace(const std::string& sourceName, size_t line) {
    return sourceName + ":" + std::to_string(line) + ": ";
}

namespace {

constexpr size_t kQuotedUnits = 60;

bool IsControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

std::string QuoteField(std::string_view field) {
    // Only the start is converted: a field of a million letters quotes as fast as a short one.
    std::wstring text = Utf8ToWide(field.substr(0, 4 * (kQuotedUnits + 1)));
    const bool cut = text.size() > kQuotedUnits;
    if (cut) {
        const bool splitsPair = text[kQuotedUnits - 1] >= 0xD800 && text[kQuotedUnits - 1] <= 0xDBFF;
        text.resize(splitsPair ? kQuotedUnits - 1 : kQuotedUnits);
    }
    for (wchar_t& c : text) {
        if (IsControl(c)) {
            c = 0xFFFD;
        }
    }
    return "\"" + WideToUtf8(text) + (cut ? "...\"" : "\"");
}

std::wstring SourceField(std::string_view field, const std::string& place, const char* what, size_t maxUnits) {
    const std::wstring text = Utf8ToWide(field);
    auto fail = [&](const std::string& why) {
        throw DictSourceError(place + what + " " + why + ": " + QuoteField(field));
    };
    // Invalid sequences come back as U+FFFD, which a valid field spells as it was written.
    if (WideToUtf8(text) != field) {
        fail("is not valid UTF-8");
    }
    for (const wchar_t c : text) {
        if (IsControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            fail(std::string("holds the control character ") + code);
        }
    }
    if (text.size() > maxUnits) {
        fail("is longer than " + std::to_string(maxUnits) + " characters");
    }
    return text;
}
