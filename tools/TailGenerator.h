#pragma once
// Generates the Tatar suffix tables from the paradigm builders: every form the builders make of a
// set of representative words, less its stem, is a valid ending with the rule ids of its affixes.

#include <cstdint>
#include <string>
#include <vector>

#include "core/PartsOfSpeech.h"

struct TailChain {
    std::wstring Ending;
    std::vector<int32_t> Ids; // innermost suffix first
};

struct TailReport {
    int Forms = 0;                      // forms looked at
    std::vector<std::wstring> Skipped;  // forms that cannot become a record, with the reason
    std::vector<std::wstring> Collisions; // endings met with two different chains
};

// The chains of every form the builders make of one word of the part of speech; none for a part
// of speech without suffixes. Forms without an ending give no chain.
std::vector<TailChain> BuilderChains(TPartOfSpeech part, const std::wstring& word, TailReport& report);

// One table: the builders' chains of the words, then the extra chains, duplicates removed and
// collisions resolved, sorted by the system compare the programs search with.
// Collision rule: the chain with fewer suffixes wins; between equally long chains, the one met
// first (words in the given order, forms in the builders' category order, extras last).
std::vector<TailChain> BuildTailTable(TPartOfSpeech part, const std::vector<std::wstring>& words,
                                      const std::vector<TailChain>& extra, TailReport& report);

// The table as the 84-byte records of a suffix file.
std::vector<unsigned char> TailTableBytes(const std::vector<TailChain>& table);

// The readable sources (UTF-8):
//   stems:  "noun|adj|num|verb<TAB>word word ..." per line
//   extras: "noun|adj|num|verb<TAB>ending<TAB>id id ..." per line
// with # comments. Throws DictSourceError naming the line.
struct TailSources {
    std::vector<std::wstring> Words[kInflectingParts]; // in the order of InflectingParts
    std::vector<TailChain> Extra[kInflectingParts];
};
void ParseTailStems(const std::string& utf8, const std::string& sourceName, TailSources& sources);
void ParseTailExtras(const std::string& utf8, const std::string& sourceName, TailSources& sources);
