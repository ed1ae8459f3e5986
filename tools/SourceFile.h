#pragma once
// File and line helpers shared by the data builders.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// "name:line: what is wrong"
class DictSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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

// The start of a message about a line: "name:line: ".
std::string SourcePlace(const std::string& sourceName, size_t line);

// The longest word, ending or prefix a source may hold: the longest word a lookup asks for.
constexpr size_t kMaxSourceWord = 63;

// One field as UTF-16, checked the same way by every builder: valid UTF-8, no control character
// (CR and U+0000 among them), at most maxUnits UTF-16 units. Otherwise throws DictSourceError
// "place" + what + why, quoting the field.
std::wstring SourceField(std::string_view field, const std::string& place, const char* what, size_t maxUnits);

// A field as a message quotes it, in double quotes: at most 60 characters (then "..."), control
// characters and invalid bytes shown as U+FFFD.
std::string QuoteField(std::string_view field);
