#pragma once
// Generates the Tatar suffix tables from the paradigm builders: every form the builders make of a
// set of representative words, less its stem, is a valid ending with the rule ids of its affixes.
// Continuations add the forms of ordinary text the builders do not make (converbs, participles
// and verbal nouns declined as nouns, particles that close a word).

#include <cstdint>
#include <string>
#include <vector>

#include "core/PartsOfSpeech.h"

struct TailChain {
    std::wstring Ending;
    std::vector<int32_t> Ids; // innermost suffix first; none: an ending with nothing to name
};

struct TailReport {
    int Forms = 0;                        // forms looked at
    std::vector<std::wstring> Skipped;    // forms that cannot become a record, with the reason
    std::vector<std::wstring> Collisions; // endings met with two different chains
};

// One suffix a continuation may join: the first of its list that fits the form's last letter and
// the word's harmony, as the rows of the rule tables.
struct TailSuffix {
    std::wstring Text;
    uint8_t Classes = 0; // letter classes of the letter before it
    uint8_t Harmony = 0; // 1 front, 4 back, 7 both
    int32_t Id = 0;      // its rule id in the table, 0 when it has none
};

// Forms of ordinary text: the forms with one of the marks After ("stem" for the stem alone, a
// form code for the last suffix the builders joined, a mark an earlier continuation gave, "any"
// for all) continued by one suffix of Suffixes, or, with Nouns, by every suffix chain the noun
// builder joins to them. The new forms carry Mark.
struct TailContinuation {
    std::vector<std::wstring> After;
    std::vector<TailSuffix> Suffixes;
    bool Nouns = false;
    std::wstring Mark;
};

// The chains of every form the builders make of one word of the part of speech; none for a part
// of speech without suffixes. Forms without an ending give no chain.
std::vector<TailChain> BuilderChains(TPartOfSpeech part, const std::wstring& word, TailReport& report);

// The builders' chains of the word and those of its continued forms, in the order met.
std::vector<TailChain> TextChains(TPartOfSpeech part, const std::wstring& word,
                                  const std::vector<TailContinuation>& continuations, TailReport& report);

// The forms of TextChains as words, in the same order.
std::vector<std::wstring> TextForms(TPartOfSpeech part, const std::wstring& word,
                                    const std::vector<TailContinuation>& continuations);

// One table: the chains of the words (builders', then continued forms), then the extra chains,
// duplicates removed and collisions resolved, sorted by the system compare the programs search with.
// Collision rule: a chain that names its suffixes wins over an empty one; then the chain with fewer
// suffixes; between equally long chains, the one met first (words in the given order, forms in the
// builders' category order, continued forms after them, extras last).
std::vector<TailChain> BuildTailTable(TPartOfSpeech part, const std::vector<std::wstring>& words,
                                      const std::vector<TailChain>& extra, TailReport& report,
                                      const std::vector<TailContinuation>& continuations = {});

// The table as the 84-byte records of a suffix file.
std::vector<unsigned char> TailTableBytes(const std::vector<TailChain>& table);

// The readable sources (UTF-8), with # comments:
//   stems:  "noun|adj|num|verb<TAB>word word ..." per line
//   extras: "TABLE<TAB>ending ...<TAB>id id ..." per line, "-" for the ids of endings with an empty
//           chain; and "TABLE<TAB>after MARK,MARK...<TAB>SUFFIX SUFFIX ...[<TAB>MARK]" for a
//           continuation, each SUFFIX "text:classes:harmony[:id]" (classes in hex) or "nouns".
// Throws DictSourceError naming the line.
struct TailSources {
    std::vector<std::wstring> Words[kInflectingParts]; // in the order of InflectingParts
    std::vector<TailChain> Extra[kInflectingParts];
    std::vector<TailContinuation> Continuations[kInflectingParts];
};
void ParseTailStems(const std::string& utf8, const std::string& sourceName, TailSources& sources);
void ParseTailExtras(const std::string& utf8, const std::string& sourceName, TailSources& sources);
