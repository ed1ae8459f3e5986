#include "tools/DictWriter.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

#include "core/DictImage.h"
#include "core/TatAlphabet.h"

using namespace DictLayout;

namespace {

void PutText(std::vector<unsigned char>& image, size_t offset, const std::wstring& text) {
    std::memcpy(image.data() + offset, text.data(), text.size() * sizeof(wchar_t));
}

template <class T> void PutValue(std::vector<unsigned char>& image, size_t offset, T value) {
    std::memcpy(image.data() + offset, &value, sizeof value);
}

} // namespace

std::vector<unsigned char> BuildDictImage(const DictSource& source) {
    std::vector<const DictSourceEntry*> order;
    order.reserve(source.Entries.size());
    for (const auto& entry : source.Entries) {
        order.push_back(&entry);
    }
    // Homonyms stand by their numerals, as the headword list shows them, whatever the source's order.
    std::stable_sort(order.begin(), order.end(), [](const DictSourceEntry* a, const DictSourceEntry* b) {
        const int order = TatCompareStr(a->Headword.c_str(), b->Headword.c_str());
        return order < 0 || (order == 0 && a->Homonym < b->Homonym);
    });

    std::vector<wchar_t> pool;
    std::map<std::wstring, int32_t> headwordOffsets;
    auto addText = [&pool](const std::wstring& text) {
        const auto offset = static_cast<int32_t>(pool.size());
        pool.insert(pool.end(), text.begin(), text.end());
        pool.push_back(0);
        return offset;
    };

    std::vector<TDictEntry> entries;
    entries.reserve(order.size());
    for (const DictSourceEntry* e : order) {
        auto found = headwordOffsets.find(e->Headword);
        if (found == headwordOffsets.end()) {
            found = headwordOffsets.emplace(e->Headword, addText(e->Headword)).first;
        }
        TDictEntry entry{};
        entry.Headword = found->second;
        entry.Article = addText(e->Article);
        entry.Flags = e->Flags;
        entry.Paradigm = e->Paradigm;
        entry.Homonym = e->Homonym;
        entries.push_back(entry);
    }
    if (pool.empty()) {
        pool.push_back(0); // an empty dictionary still has a terminated pool
    }

    const size_t indexBytes = entries.size() * EntrySize;
    if (indexBytes + pool.size() * 2 > 0x7FFFFFFF) {
        throw std::length_error("the dictionary is larger than 2 GiB");
    }
    std::vector<unsigned char> image(HeaderSize + indexBytes + pool.size() * sizeof(wchar_t), 0);
    PutValue<int32_t>(image, IdOffset, source.Id);
    PutText(image, TitleOffset, source.Title.substr(0, TextFieldUnits - 1));
    PutText(image, AuthorsOffset, source.Authors.substr(0, TextFieldUnits - 1));
    PutText(image, VersionOffset, source.Version.substr(0, 31));
    PutValue<uint8_t>(image, DirectionOffset, source.Direction);
    PutValue<int32_t>(image, CountOffset, static_cast<int32_t>(entries.size()));
    PutValue<int32_t>(image, PoolOffsetOffset, static_cast<int32_t>(indexBytes));
    if (!entries.empty()) {
        std::memcpy(image.data() + HeaderSize, entries.data(), indexBytes);
    }
    std::memcpy(image.data() + HeaderSize + indexBytes, pool.data(), pool.size() * sizeof(wchar_t));
    return image;
}
