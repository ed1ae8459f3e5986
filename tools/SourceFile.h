#pragma once
// File and line helpers shared by the data builders.

#include <string>
#include <string_view>
#include <vector>

// Throws std::runtime_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::wstring& name);

// Writes lines as a UTF-16 text file the way the programs read them (byte-order mark, CR LF).
void SaveLines(const std::vector<std::wstring>& lines, const std::wstring& name);

std::vector<std::string_view> SplitText(std::string_view text, char separator);

struct SourceLine {
    size_t Number; // counted from 1
    std::string_view Text;
};
// The lines of a readable source that hold something: without a UTF-8 byte-order mark and CR
// ends, empty lines and "#" comments left out.
std::vector<SourceLine> SourceLines(std::string_view text);
