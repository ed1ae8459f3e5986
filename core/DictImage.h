#pragma once
// Layout of a *.dict image (a 920-byte header, an index of 20-byte entries sorted by headword in
// Tatar order, then a pool of zero-terminated UTF-16 texts), and the check that makes an image
// safe to search before anything reads it.

#include <cstddef>
#include <cstdint>

#include "core/Codes.h"

namespace DictLayout {
constexpr size_t IdOffset = 4;
constexpr size_t PathOffset = 8;
constexpr size_t PathUnits = 256;
constexpr size_t TitleOffset = 520;
constexpr size_t AuthorsOffset = 648;
constexpr size_t VersionOffset = 776;
constexpr size_t TextFieldUnits = 64;
constexpr size_t DirectionOffset = 904;
constexpr size_t CountOffset = 908;
constexpr size_t PoolOffsetOffset = 912;
constexpr size_t HeaderSize = 920;
constexpr size_t EntrySize = 20;
// The longest headword: the builder's limit, and the longest word a lookup asks for.
constexpr size_t MaxHeadwordUnits = 63;
} // namespace DictLayout

// An entry's category flags are its TPartOfSpeech bits and this one: found only as typed,
// never after a suffix is cut.
constexpr uint8_t dfExactOnly = 0x10;

#pragma pack(push, 1)
struct TDictEntry {
    int32_t Headword;  // offset in characters into the pool
    int32_t Article;   // offset in characters into the pool
    uint8_t Flags;     // category flags: TPartOfSpeech bits, dfExactOnly
    uint8_t Flags2;    // copied into hits; nothing interprets it
    uint8_t Reserved[2];
    int32_t Paradigm;  // line of the Russian paradigm table; negative = none
    int32_t Homonym;   // 0 none, 1..20 shown as a Roman numeral
};
#pragma pack(pop)
static_assert(sizeof(TDictEntry) == DictLayout::EntrySize, "TDictEntry is a file format");
static_assert(offsetof(TDictEntry, Article) == 4 && offsetof(TDictEntry, Flags) == 8 &&
                  offsetof(TDictEntry, Flags2) == 9 && offsetof(TDictEntry, Paradigm) == 12 &&
                  offsetof(TDictEntry, Homonym) == 16,
              "TDictEntry is a file format");

// Why an image was refused; dcOk when it may be searched.
enum class TDictCheck {
    dcOk,
    dcTooSmall,      // no complete header
    dcBadDirection,  // direction byte not 0 or 1
    dcBadCount,      // negative entry count, or the index runs past the image
    dcBadPoolOffset, // pool before the end of the index, past the image, or odd
    dcPoolNotTerminated,
    dcBadTextOffset,     // a headword or article outside the pool
    dcUnterminatedField, // title, authors or version without a zero within its field
    dcLongHeadword,      // a headword longer than MaxHeadwordUnits
    dcOutOfOrder         // two neighbouring headwords out of Tatar order
};

// Checks an image of size bytes: everything a search or a reader of the header relies on. Its
// cost is linear in the size.
TDictCheck CheckDictImage(const void* image, size_t size);
const wchar_t* DictCheckText(TDictCheck check);

// Header fields of a checked image.
int32_t DictImageId(const void* image);
uint8_t DictImageDirection(const void* image); // a TLanguage in a checked image
int32_t DictImageCount(const void* image);
int32_t DictImagePoolOffset(const void* image);
const wchar_t* DictImageTitle(const void* image);
const wchar_t* DictImageAuthors(const void* image);
const wchar_t* DictImageVersion(const void* image);
