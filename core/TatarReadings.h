#pragma once
// The readings of a Tatar word as the analysis keeps them in its result: a reading the grammar
// cannot make is dropped; a name matched only because case is ignored comes after the common
// words, so that within a line limit the plain reading is the one shown.

#include <string>
#include <string_view>

#include "core/CommonTypes.h"

struct TTailChain;

// Whether the texts have the same letters, case folded as the Tatar order folds it.
bool TatSameLetters(std::wstring_view a, std::wstring_view b);
// The uncut word as a verb can only be its imperative: the verb's stem as written at a word's end
// (укы of уку, тап of табу, куй of кую), never the dictionary form less its у (ук).
bool TatIsImperativeOf(std::wstring_view verb, std::wstring_view word);
// A tail that needs the third person's possessive before it does not follow a headword that
// ends in that vowel itself: after a vowel the possessive is сы, се (туры: турысында, not туры/н/да;
// алты: алтысын, not алт/ы/н).
bool TatPossessiveIsAdded(std::wstring_view stem, std::wstring_view headword, bool possessedStem);
// Moves, for a word written in small letters, the names it matched only by ignoring case after
// the common headwords: within each analysis, and the analyses that found only such names after
// the others.
void TatPutNamesLast(std::wstring_view word, TBaseSearchResults& analyses);

// Appends the analysis of the accepted hits of the Tatar dictionaries, refilling a result left from
// an earlier lookup with its buffers: the stem is the text's first n letters, the chain the tail's
// (nullptr for the uncut word). A cut whose chain names no suffix is still shown split from its stem.
TBaseSearchResult& TatAppendAnalysis(const std::wstring& text, size_t n, bool cut, const TTailChain* chain,
                                     TLangSearchResult& result, size_t& used);
// Keeps the first analyses, the buffers of the others for the next lookups.
void TatKeepAnalyses(TBaseSearchResults& analyses, size_t used);
