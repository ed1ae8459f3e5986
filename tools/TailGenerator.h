#pragma once
// Generates the Tatar suffix tables from the paradigm builders: every form the builders make of a
// set of representative words, less its stem, is a valid ending with the rule ids of its affixes.

#include <cstdint>
#include <string>
#include <vector>

struct TailChain {
    std::wstring Ending;
    std::vector<int32_t> Ids; // innermost suffix first
};

struct TailReport {
    int Forms = 0;                      // forms looked at
    std::vector<std::wstring> Skipped;  // forms that cannot become a record, with the reason
    std::vector<std::wstring> Collisions; // endings met with two different chains
};

struct TGP_Proc_Rec;

// Every form the builders make of one word of the part of speech (1 noun, 2 adjective,
// 4 numeral, 8 verb), in the builders' category order.
std::vector<TGP_Proc_Rec> BuilderForms(int partOfSpeech, const std::wstring& word);

// The chains of every form the builders make of one word of the part of speech (1 noun,
// 2 adjective, 4 numeral, 8 verb). Forms without an ending give no chain.
std::vector<TailChain> BuilderChains(int partOfSpeech, const std::wstring& word, TailReport& report);

// One table: the builders' chains of the words, then the extra chains, duplicates removed and
// collisions resolved, sorted by the system compare the programs search with.
// Collision rule: the chain with fewer suffixes wins; between equally long chains, the one met
// first (words in the given order, forms in the builders' category order, extras last).
std::vector<TailChain> BuildTailTable(int partOfSpeech, const std::vector<std::wstring>& words,
                                      const std::vector<TailChain>& extra, TailReport& report);

// The table as the 84-byte records of a suffix file.
std::vector<unsigned char> TailTableBytes(const std::vector<TailChain>& table);

// The readable sources (UTF-8):
//   stems:  "noun|adj|num|verb<TAB>word word ..." per line
//   extras: "noun|adj|num|verb<TAB>ending<TAB>id id ..." per line
// with # comments. Throws DictSourceError naming the line.
struct TailSources {
    std::vector<std::wstring> Words[4];  // by table: adjective, noun, numeral, verb
    std::vector<TailChain> Extra[4];
};
void ParseTailStems(const std::string& utf8, const std::string& sourceName, TailSources& sources);
void ParseTailExtras(const std::string& utf8, const std::string& sourceName, TailSources& sources);

// Table order of the four files: atailes, ntailes, dtailes, vtailes.
constexpr int kTailTableParts[4] = {2, 1, 4, 8};
extern const wchar_t* const kTailTableFiles[4];
