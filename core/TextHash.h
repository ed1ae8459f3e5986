#pragma once
// A hash for the short UTF-16 keys of the lookup tables (endings, stems): cheaper than the
// library's byte hash for keys of a few letters.

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TextHash {
    size_t operator()(std::wstring_view text) const noexcept {
        uint64_t hash = 1469598103934665603ull;
        for (const wchar_t c : text) {
            hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
        }
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};
