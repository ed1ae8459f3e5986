// The text around the cursor as UTF-8 for the shared block: whole characters only, at most
// `capacity` bytes in all and on each side. When both sides have more than fits, the part before
// the cursor gets half of the room and the part after it the rest; a short side leaves its room
// to the other.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

struct TChar {
    char32_t Code;
    size_t Units; // UTF-16 units it takes in the source
};

// The reader of the block decodes sequences of one to three bytes and stops at a zero byte, so
// characters beyond the Basic Multilingual Plane, lone surrogates and zeros become U+FFFD,
// which is no letter and keeps the cursor's place.
TChar Readable(wchar_t unit, size_t units) {
    if (units == 2 || unit == 0 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
        return {Replacement, units};
    }
    return {static_cast<char32_t>(unit), 1};
}

TChar CharAt(std::wstring_view text, size_t at) {
    const bool pair = IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]);
    return Readable(text[at], pair ? 2 : 1);
}

TChar CharBefore(std::wstring_view text, size_t at) {
    const bool pair = IsLowSurrogate(text[at - 1]) && at >= 2 && IsHighSurrogate(text[at - 2]);
    return Readable(text[at - 1], pair ? 2 : 1);
}

size_t Utf8Size(char32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Walks from the cursor while whole characters fit `budget` bytes; returns the bytes taken and
// moves `edge` to the last source unit taken.
size_t TakeBefore(std::wstring_view text, size_t& edge, size_t budget) {
    size_t bytes = 0;
    while (edge > 0) {
        const TChar next = CharBefore(text, edge);
        if (bytes + Utf8Size(next.Code) > budget) {
            break;
        }
        bytes += Utf8Size(next.Code);
        edge -= next.Units;
    }
    return bytes;
}

size_t TakeAfter(std::wstring_view text, size_t& edge, size_t budget) {
    size_t bytes = 0;
    while (edge < text.size()) {
        const TChar next = CharAt(text, edge);
        if (bytes + Utf8Size(next.Code) > budget) {
            break;
        }
        bytes += Utf8Size(next.Code);
        edge += next.Units;
    }
    return bytes;
}

} // namespace

void CutUtf8AroundCursor(std::wstring_view text, size_t cursor, size_t capacity, std::string& utf8,
                         size_t& cursorBytes) {
    cursor = std::min(cursor, text.size());
    if (cursor > 0 && cursor < text.size() && IsHighSurrogate(text[cursor - 1]) && IsLowSurrogate(text[cursor])) {
        --cursor; // never between the halves of a pair
    }
    size_t start = cursor;
    size_t end = cursor;
    const size_t beforeAlone = TakeBefore(text, start, capacity);
    const size_t afterAlone = TakeAfter(text, end, capacity);
    if (beforeAlone + afterAlone > capacity) {
        start = cursor;
        end = cursor;
        const size_t beforeBytes = TakeBefore(text, start, std::max(capacity / 2, capacity - afterAlone));
        TakeAfter(text, end, capacity - beforeBytes);
    }
    utf8.clear();
    cursorBytes = 0;
    for (size_t at = start; at < end;) {
        if (at == cursor) {
            cursorBytes = utf8.size();
        }
        const TChar next = CharAt(text, at);
        AppendUtf8(utf8, next.Code);
        at += next.Units;
    }
    if (end == cursor) {
        cursorBytes = utf8.size();
    }
}
