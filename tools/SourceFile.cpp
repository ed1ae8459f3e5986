#include "tools/SourceFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

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
