#pragma once
// The Tatar suffix tables: per part of speech, every valid ending (the whole tail after a stem)
// with the rule ids of the suffixes that make it up; and the current suffix chain of the
// analysis, built from them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Classes_Qel.h"
#include "core/Codes.h"
#include "core/CommonTypes.h"
#include "core/PartsOfSpeech.h"
#include "core/TatAlphabet.h"
#include "core/TextHash.h"

struct TTaileRule;

#pragma pack(push, 1)
struct TTaileFileRecord {
    wchar_t Ending[33]; // zero-terminated when shorter than 33
    uint16_t Padding;
    int32_t Ids[4];     // innermost suffix first; the chain ends at the first id below 1
};
#pragma pack(pop)
static_assert(sizeof(TTaileFileRecord) == 84, "suffix tables are a file format");

// One table: lines are endings in file order, objects point at the owned records.
class TCustTableTailes : public TWideStringList {
public:
    // Appends the file's records. Raises EFOpenError when the file cannot be opened and
    // EReadError when it is not a whole number of records. Records out of order under the
    // system compare are sorted once (stable), because the lookup is a binary search.
    void LoadRecords(const std::wstring& fileName);
    bool FindEnding(std::wstring_view ending, int32_t (&ids)[4]) const;
    // The first line equal to the ending under the system compare.
    bool FindLine(std::wstring_view ending, int& line) const;
    bool PlainOnly() const { return plainOnly_; }
    void FreeRecords();

private:
    std::vector<std::unique_ptr<TTaileFileRecord[]>> blocks_;
    // While every ending is made of small letters, an ending of small letters is found by its
    // text alone (see IsPlainSmallCyrillic), and one of capital letters by its small form; other
    // endings take the search.
    TTextIndex<int> exact_; // views of the lines, rebuilt after a load
    bool plainOnly_ = true;
};

// An ending of a table with its suffix chain, resolved when the tables are loaded: the rule rows of
// its ids, innermost first, up to the first id the rule table lacks, and the records of those that
// name an affix, as results hold them.
struct TTailChain {
    std::wstring_view Ending; // the record's text
    TPartOfSpeech Part = posOther;
    const TTaileRule* Rules[4] = {}; // nullptr after the last row
    size_t Count = 0;                // rows in Rules
    TTaile Records;
};

// A tail of the endings read from a word's end (TTableTailes::FindEnd).
struct TTailEnd {
    uint64_t Key = 0;  // 0: free
    uint32_t Row = 0;  // 1 + the row of the endings equal to the tail, 0 when none is
    uint8_t Holds = 0; // EndHolds' bits
};

class TTableTailes {
public:
    // Loads the suffix file of every part of speech of InflectingParts from the folder (the
    // working folder when empty).
    void LoadTables(const std::wstring& folder = std::wstring());
    // The ending's chain in the table of the part of speech; nullptr when the table lacks the
    // ending or the part of speech has no suffixes.
    const TTailChain* Find(std::wstring_view ending, TPartOfSpeech part) const;
    void FreeTables();

    // The endings of all tables read from a word's end, one letter at a time, letters folded as
    // the Tatar order folds them: EndBack(state, letter) reads one letter further; EndHolds(state)
    // gives, for the tail read so far, a bit (1 << index in InflectingParts) for each table that
    // may hold it as an ending and kLongerEnding when a longer ending may end with it. A tail
    // without bits ends no chain, and no longer tail does either.
    static constexpr uint8_t kLongerEnding = 0x80;
    static uint64_t EndStart() { return 0x9E3779B97F4A7C15ull; }
    static uint64_t EndBack(uint64_t state, wchar_t letter) { return (state ^ TatWeight(letter)) * 1099511628211ull; }
    uint8_t EndHolds(uint64_t state) const {
        const TTailEnd* end = FindEnd(state);
        return end == nullptr ? 0 : end->Holds;
    }
    // The tail of the state with its bits; nullptr when it has none.
    const TTailEnd* FindEnd(uint64_t state) const;
    // Find for the tail of a FindEnd answer: the same chain, mostly without a search.
    const TTailChain* FindAtEnd(const TTailEnd& end, std::wstring_view ending, TPartOfSpeech part) const;

    // An empty table for a part of speech without suffixes.
    const TCustTableTailes& List(TPartOfSpeech part) const;

private:
    void BuildChains();
    void BuildEnds();

    TCustTableTailes lists_[kInflectingParts];         // in the order of InflectingParts
    std::vector<TTailChain> chains_[kInflectingParts]; // by line of lists_
    // Tails of the endings by their state read from the end; a whole ending also has its row: the
    // line of the ending in each table, -1 where the table lacks it.
    std::vector<TTailEnd> ends_;
    uint64_t endMask_ = 0;
    std::vector<std::array<int32_t, kInflectingParts>> endRows_;
    bool endsAnyhow_ = false; // some ending is not small letters: every tail may be one
    bool rowsExact_ = true;   // no two endings of a table share a state
    TTailEnd anyEnd_;         // FindEnd's answer while endsAnyhow_
    // The low bits of a fingerprint are the letters' last products: mixed, they spread over the slots.
    static uint64_t Spread(uint64_t key) { return (key ^ (key >> 29)) * 0xBF58476D1CE4E5B9ull >> 17; }
};

extern TTableTailes TableTailes;
extern TTaile CurrentTaile;

bool LookupTaileChain(const wchar_t* tail, size_t length, TPartOfSpeech part);
bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part);
void ClearTaileChain();
void CopyTaileChain(TTaile& out);

// Whether a suffix chain found for the tail can follow the stem: a chain by the letters its first
// suffix follows, an empty chain by the tail's first letter, as the rule rows would choose it.
bool TatTailFitsStem(std::wstring_view stem, std::wstring_view tail, const TTaile& chain);
bool TatEndingFitsStem(std::wstring_view stem, std::wstring_view tail);
bool TatFirstSuffixFits(std::wstring_view stem, std::wstring_view tail, TPartOfSpeech part, int32_t ruleId,
                        uint8_t formCode, uint8_t flagsA);

// The text in small letters when it holds only letters of the Tatar alphabet, capital or small: two
// such texts are equal under the system's case-insensitive compare exactly when their small forms
// are, so an exact lookup of the small form may stand in for a search with that compare. False for
// any other character. out has room for the text.
bool TatSmallLetters(std::wstring_view text, wchar_t* out);

void TableTailesInit(const std::wstring& folder = std::wstring());
void TableTailesDone();
