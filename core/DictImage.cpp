#include "core/DictImage.h"

#include <cstring>

#include "core/TatAlphabet.h"

using namespace DictLayout;

namespace {

template <class T> T ReadAt(const void* image, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(image) + offset, sizeof value);
    return value;
}

const wchar_t* TextAt(const void* image, size_t offset) {
    return reinterpret_cast<const wchar_t*>(static_cast<const unsigned char*>(image) + offset);
}

bool FieldTerminated(const void* image, size_t offset) {
    const wchar_t* field = TextAt(image, offset);
    for (size_t i = 0; i < TextFieldUnits; ++i) {
        if (field[i] == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

TDictCheck CheckDictImage(const void* image, size_t size) {
    if (image == nullptr || size < HeaderSize) {
        return TDictCheck::dcTooSmall;
    }
    if (!IsLanguage(DictImageDirection(image))) {
        return TDictCheck::dcBadDirection;
    }
    if (!FieldTerminated(image, TitleOffset) || !FieldTerminated(image, AuthorsOffset) ||
        !FieldTerminated(image, VersionOffset)) {
        return TDictCheck::dcUnterminatedField;
    }
    const int64_t count = DictImageCount(image);
    if (count < 0 || count > static_cast<int64_t>((size - HeaderSize) / EntrySize)) {
        return TDictCheck::dcBadCount;
    }
    const int64_t poolOffset = DictImagePoolOffset(image);
    if (poolOffset < count * static_cast<int64_t>(EntrySize) ||
        poolOffset > static_cast<int64_t>(size - HeaderSize) || poolOffset % 2 != 0) {
        return TDictCheck::dcBadPoolOffset;
    }
    const size_t poolUnits = (size - HeaderSize - static_cast<size_t>(poolOffset)) / 2;
    const wchar_t* pool = TextAt(image, HeaderSize + static_cast<size_t>(poolOffset));
    // A zero as the pool's last unit ends every text that starts inside the pool.
    if (poolUnits == 0 || pool[poolUnits - 1] != 0) {
        return TDictCheck::dcPoolNotTerminated;
    }
    int32_t previous = -1;
    for (int64_t i = 0; i < count; ++i) {
        const auto entry = ReadAt<TDictEntry>(image, HeaderSize + static_cast<size_t>(i) * EntrySize);
        if (entry.Headword < 0 || static_cast<size_t>(entry.Headword) >= poolUnits || entry.Article < 0 ||
            static_cast<size_t>(entry.Article) >= poolUnits) {
            return TDictCheck::dcBadTextOffset;
        }
        // Bounded headwords keep the check, the fingerprints and every compare linear in the
        // size, however many entries name one headword.
        const wchar_t* headword = pool + entry.Headword;
        size_t length = 0;
        while (length <= MaxHeadwordUnits && headword[length] != 0) {
            ++length;
        }
        if (length > MaxHeadwordUnits) {
            return TDictCheck::dcLongHeadword;
        }
        // The search is binary: one pair out of order hides most of the headwords.
        if (previous >= 0 && previous != entry.Headword && TatCompareStr(pool + previous, headword) > 0) {
            return TDictCheck::dcOutOfOrder;
        }
        previous = entry.Headword;
    }
    return TDictCheck::dcOk;
}

const wchar_t* DictCheckText(TDictCheck check) {
    switch (check) {
    case TDictCheck::dcOk:
        return L"valid";
    case TDictCheck::dcTooSmall:
        return L"the file is shorter than a dictionary header";
    case TDictCheck::dcBadDirection:
        return L"the direction is neither 0 nor 1";
    case TDictCheck::dcBadCount:
        return L"the entry count does not fit the file";
    case TDictCheck::dcBadPoolOffset:
        return L"the text pool offset does not fit the file";
    case TDictCheck::dcPoolNotTerminated:
        return L"the text pool does not end with a zero";
    case TDictCheck::dcBadTextOffset:
        return L"an entry points outside the text pool";
    case TDictCheck::dcUnterminatedField:
        return L"the title, authors or version is not terminated";
    case TDictCheck::dcLongHeadword:
        return L"a headword is longer than 63 characters";
    case TDictCheck::dcOutOfOrder:
        return L"the index is not in Tatar order";
    }
    return L"unknown";
}

int32_t DictImageId(const void* image) {
    return ReadAt<int32_t>(image, IdOffset);
}

uint8_t DictImageDirection(const void* image) {
    return ReadAt<uint8_t>(image, DirectionOffset);
}

int32_t DictImageCount(const void* image) {
    return ReadAt<int32_t>(image, CountOffset);
}

int32_t DictImagePoolOffset(const void* image) {
    return ReadAt<int32_t>(image, PoolOffsetOffset);
}

const wchar_t* DictImageTitle(const void* image) {
    return TextAt(image, TitleOffset);
}

const wchar_t* DictImageAuthors(const void* image) {
    return TextAt(image, AuthorsOffset);
}

const wchar_t* DictImageVersion(const void* image) {
    return TextAt(image, VersionOffset);
}
