// Writes a UTF-8 text source as the 8-bit or UTF-16 file the programs read:
//   textconv html1251 SOURCE OUTPUT   an HTML page in code page 1251; a letter the code page
//                                     lacks becomes a character reference (&#1241;)
//   textconv utf16 SOURCE OUTPUT      UTF-16LE with a byte-order mark
// Line ends become CR LF. Invalid UTF-8 stops the build with the file's name.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool ReadUtf8(const wchar_t* name, std::wstring& text) {
    std::ifstream in(name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return false;
    }
    if (bytes.empty()) {
        text.clear();
        return true;
    }
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (units == 0) {
        return false;
    }
    text.assign(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), units);
    if (!text.empty() && text.front() == 0xFEFF) {
        text.erase(0, 1);
    }
    return true;
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring result;
    for (const wchar_t c : text) {
        if (c == L'\r') {
            continue;
        }
        if (c == L'\n') {
            result += L'\r';
        }
        result += c;
    }
    return result;
}

std::string ToHtml1251(const std::wstring& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned long code = text[i];
        const bool pair = code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size();
        if (pair) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        }
        char bytes[4] = {};
        BOOL lost = FALSE;
        if (!pair && WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, &text[i], 1, bytes, 4, nullptr, &lost) == 1 &&
            !lost) {
            result += bytes[0];
        } else {
            result += "&#" + std::to_string(code) + ";";
        }
        i += pair ? 1 : 0;
    }
    return result;
}

std::string ToUtf16(const std::wstring& text) {
    std::string result = "\xFF\xFE";
    for (const wchar_t c : text) {
        result += static_cast<char>(c & 0xFF);
        result += static_cast<char>(c >> 8);
    }
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fputs("usage: textconv html1251|utf16 SOURCE OUTPUT\n", stderr);
        return 2;
    }
    const std::wstring mode = argv[1];
    std::wstring text;
    if (!ReadUtf8(argv[2], text)) {
        std::fprintf(stderr, "%ls: not UTF-8 text\n", argv[2]);
        return 1;
    }
    text = WithCrLf(text);
    std::string output;
    if (mode == L"html1251") {
        output = ToHtml1251(text);
    } else if (mode == L"utf16") {
        output = ToUtf16(text);
    } else {
        std::fprintf(stderr, "unknown mode %ls\n", mode.c_str());
        return 2;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out.write(output.data(), static_cast<std::streamsize>(output.size()));
    if (!out) {
        std::fprintf(stderr, "%ls: cannot write\n", argv[3]);
        return 1;
    }
    return 0;
}
