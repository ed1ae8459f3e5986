#pragma once
// Small dictionary images built in memory for the search tests.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <vector>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/TatAlphabet.h"
#include "tools/DictWriter.h"

inline DictSourceEntry Entry(const wchar_t* headword, uint8_t flags, int homonym = 0, const wchar_t* article = L"x",
                             int32_t paradigm = -1) {
    DictSourceEntry e;
    e.Paradigm = paradigm;
    e.Headword = headword;
    e.Flags = flags;
    e.Homonym = homonym;
    e.Article = article;
    return e;
}

// The index holds the entries in Tatar order of their headwords, equal headwords in the order
// given, homonym numbers and all: the search tests place homonyms out of order on purpose, which
// the builder itself would sort by their numbers.
inline std::vector<unsigned char> MakeImage(std::vector<DictSourceEntry> entries, TLanguage direction = langTatar) {
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return TatCompareStr(entries[a].Headword.c_str(), entries[b].Headword.c_str()) < 0;
    });
    std::vector<int32_t> homonyms;
    for (DictSourceEntry& entry : entries) {
        homonyms.push_back(entry.Homonym);
        entry.Homonym = 0;
    }
    DictSource source;
    source.Title = L"Сынау";
    source.Authors = L"Авторлар";
    source.Version = L"1.0";
    source.Direction = direction;
    source.Id = 7;
    source.Entries = std::move(entries);
    std::vector<unsigned char> image = BuildDictImage(source);
    for (size_t i = 0; i < order.size(); ++i) {
        std::memcpy(image.data() + DictLayout::HeaderSize + i * DictLayout::EntrySize + offsetof(TDictEntry, Homonym),
                    &homonyms[order[i]], sizeof(int32_t));
    }
    return image;
}
