#include "tools/TextConv.h"

#include <windows.h>

#include <limits>

#include "core/Utf8.h"
#include "tools/SourceFile.h"

std::wstring TextSourceText(std::string_view bytes, const std::string& sourceName) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::wstring text;
    size_t number = 1;
    for (;;) {
        const size_t end = bytes.find_first_of("\r\n");
        text += SourceField(bytes.substr(0, end), SourcePlace(sourceName, number), "the line",
                            std::numeric_limits<size_t>::max());
        if (end == std::string_view::npos) {
            return text;
        }
        text += L"\r\n";
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crLf ? 2 : 1));
        ++number;
    }
}

std::wstring ReadTextSource(const std::wstring& name) {
    return TextSourceText(ReadWholeFile(name), WideToUtf8(name));
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

std::string ToUtf16Bytes(const std::wstring& text) {
    std::string result = "\xFF\xFE";
    for (const wchar_t c : text) {
        result += static_cast<char>(c & 0xFF);
        result += static_cast<char>(c >> 8);
    }
    return result;
}
