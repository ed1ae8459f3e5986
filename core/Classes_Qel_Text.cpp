// A string list as one UTF-16 text, and its files and streams: UTF-16LE, optional byte-order
// mark, CR LF written (files: a mark, then CR LF after every line), CR LF / CR / LF read, text
// ending at its first U+0000.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "core/Classes_Qel.h"
#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/UFileStream.h"
#include "core/win32/SystemText.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;

// Larger text files are refused before any allocation: no list the programs read comes near it.
constexpr int64_t kMaxTextFileBytes = int64_t(1) << 30;

// Bytes as UTF-16LE up to the first U+0000; an odd last byte is the low byte of a final unit.
std::wstring TextFromBytes(const std::vector<unsigned char>& bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        const auto unit = static_cast<wchar_t>(bytes[i] | (high << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

std::vector<unsigned char> BytesFromText(const std::wstring& text) {
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() * 2);
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>((unit >> 8) & 0xFF));
    }
    return bytes;
}

// Reads what the stream gives, up to count bytes; bytes not read stay out of the text.
std::vector<unsigned char> ReadUpTo(TStream& stream, int64_t count) {
    std::vector<unsigned char> bytes(static_cast<size_t>(std::max<int64_t>(count, 0)));
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

class UpdateBracket {
public:
    explicit UpdateBracket(TWideStrings& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateBracket() { list_.EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TWideStrings& list_;
};

} // namespace

std::wstring TWideStrings::GetTextStr() const {
    const int count = GetCount();
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        total += Get(i).size() + 2;
    }
    if (total == 0) {
        return std::wstring();
    }
    std::wstring text;
    text.reserve(total - 2 + (WriteBOM ? 1 : 0));
    if (WriteBOM) {
        text.push_back(kByteOrderMark);
    }
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += L"\r\n";
        }
        text += Get(i);
    }
    return text;
}

void TWideStrings::SetTextStr(const std::wstring& text) {
    UpdateBracket bracket(*this);
    Clear();
    if (text.empty()) {
        return;
    }
    const wchar_t* p = text.c_str();
    if (*p == kByteOrderMark) {
        ++p;
    }
    while (*p != 0) {
        const wchar_t* start = p;
        while (*p != 0 && *p != L'\r' && *p != L'\n') {
            ++p;
        }
        Add(std::wstring(start, p));
        if (*p == L'\r') {
            ++p;
        }
        if (*p == L'\n') {
            ++p;
        }
    }
}

void TWideStrings::LoadFromFile(const std::wstring& fileName) {
    UpdateBracket bracket(*this);
    FileName = fileName;
    // Others may read the file meanwhile (the tray and the main program load the same tables),
    // but not change it under this read.
    TUFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    const int64_t size = stream.Size();
    if (size > kMaxTextFileBytes) {
        throw EFOpenError(FormatMessageText(SFOpenErrorEx, fileName, SystemErrorMessage(ERROR_FILE_TOO_LARGE)),
                          fileName);
    }
    SetTextStr(TextFromBytes(ReadUpTo(stream, size)));
}

void TWideStrings::LoadFromStream(TStream& stream) {
    UpdateBracket bracket(*this);
    const int64_t size = stream.Size() - stream.Position();
    if (size > kMaxTextFileBytes) {
        throw EReadError(SReadError);
    }
    SetTextStr(TextFromBytes(ReadUpTo(stream, size)));
}

void TWideStrings::SaveToFile(const std::wstring& fileName) {
    TUFileStream stream(fileName.empty() ? FileName : fileName, fmCreate);
    // A mark, then every line with its own CR LF: an empty last line, a lone empty line and a
    // first line starting with U+FEFF all read back as they were.
    std::wstring text(1, kByteOrderMark);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        text += L"\r\n";
    }
    text.resize(std::wcslen(text.c_str())); // written only up to a U+0000, where reading stops
    const std::vector<unsigned char> bytes = BytesFromText(text);
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TWideStrings::SaveToStream(TStream& stream) const {
    const std::vector<unsigned char> bytes = BytesFromText(WideAdjustLineBreaks(GetTextStr()));
    stream.WriteBuffer(bytes.data(), bytes.size());
}
