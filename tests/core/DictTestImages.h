#pragma once
// Small dictionary images built in memory for the search tests.

#include <vector>

#include "core/Dictionary.h"
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

inline std::vector<unsigned char> MakeImage(std::vector<DictSourceEntry> entries, TLanguage direction = langTatar) {
    DictSource source;
    source.Title = L"Сынау";
    source.Authors = L"Авторлар";
    source.Version = L"1.0";
    source.Direction = direction;
    source.Id = 7;
    source.Entries = std::move(entries);
    return BuildDictImage(source);
}
