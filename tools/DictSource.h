#pragma once
// The readable source of a dictionary: UTF-8 text, LF or CR LF line ends.
//   # comment
//   @title<TAB>...   @authors<TAB>...   @version<TAB>...   @direction<TAB>0|1   @id<TAB>number
//   headword<TAB>pos<TAB>exact<TAB>homonym<TAB>paradigm<TAB>article
// pos is a comma list of noun, adj, num, verb, other; exact is 0 or 1; homonym 0..20;
// paradigm a line of the Russian paradigm table, the name of a paradigm of the paradigm source,
// or -1; the article keeps its mark-up characters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Codes.h"
#include "tools/SourceFile.h"

struct DictSourceEntry {
    std::wstring Headword;
    uint8_t Flags = 0; // TPartOfSpeech bits and dfExactOnly
    int32_t Homonym = 0;
    int32_t Paradigm = -1;
    std::wstring Article;
};

struct DictSource {
    std::wstring Title;
    std::wstring Authors;
    std::wstring Version;
    TLanguage Direction = langTatar;
    int32_t Id = 0;
    std::vector<DictSourceEntry> Entries;
};

struct Paradigm;

// With paradigms given, a paradigm field may name one; the headword must then end with the
// paradigm's lemma ending.
DictSource ParseDictSource(std::string_view utf8, const std::string& sourceName,
                           const std::vector<Paradigm>* paradigms = nullptr);
