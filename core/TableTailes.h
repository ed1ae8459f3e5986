#pragma once
// The Tatar suffix tables: per part of speech, every valid ending (the whole tail after a stem)
// with the rule ids of the suffixes that make it up; and the current suffix chain of the
// analysis, built from them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Classes_Qel.h"
#include "core/Codes.h"
#include "core/CommonTypes.h"
#include "core/PartsOfSpeech.h"
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
    bool PlainOnly() const { return plainOnly_; }
    void FreeRecords();

private:
    std::vector<std::unique_ptr<TTaileFileRecord[]>> blocks_;
    // While every ending is made of small letters, an ending of small letters is found by its
    // text alone (see IsPlainSmallCyrillic); other endings take the search.
    TTextIndex<int> exact_; // views of the lines, rebuilt after a load
    bool plainOnly_ = true;
};

class TTableTailes {
public:
    // Loads the suffix file of every part of speech of InflectingParts from the folder (the
    // working folder when empty).
    void LoadTables(const std::wstring& folder = std::wstring());
    // False for a part of speech without suffixes.
    bool Lookup(std::wstring_view ending, TPartOfSpeech part);
    // Lookup of an ending read from a word's end, with EndBack's state of the whole ending: the
    // same result, without a search for the ending's text.
    bool LookupEnd(uint64_t state, std::wstring_view ending, TPartOfSpeech part);
    void FreeTables();

    // The endings of all tables read from a word's end, one letter at a time, letters folded as
    // the Tatar order folds them: EndBack(state, letter) reads one letter further; EndHolds(state)
    // gives, for the tail read so far, a bit (1 << index in InflectingParts) for each table that
    // may hold it as an ending and kLongerEnding when a longer ending may end with it. A tail
    // without bits ends no chain, and no longer tail does either.
    static constexpr uint8_t kLongerEnding = 0x80;
    static uint64_t EndStart() { return 0x9E3779B97F4A7C15ull; }
    static uint64_t EndBack(uint64_t state, wchar_t letter);
    uint8_t EndHolds(uint64_t state) const;

    // An empty table for a part of speech without suffixes.
    const TCustTableTailes& List(TPartOfSpeech part) const;

    const TTaileRule* LastRules[4] = {};
    int32_t LastIds[4] = {};

private:
    bool Resolve(const int32_t (&ids)[4], TPartOfSpeech part);

    TCustTableTailes lists_[kInflectingParts]; // in the order of InflectingParts
    // The records of every ending by its state read from the end, for LookupEnd.
    struct TEndRecords {
        uint64_t Key = 0; // 0: free
        const TTaileFileRecord* Records[kInflectingParts] = {};
    };
    std::vector<TEndRecords> endRecords_;
    uint64_t endRecordMask_ = 0;
    // Tails of the endings by their fingerprint read from the end, with EndHolds' bits.
    std::vector<uint64_t> endKeys_;
    std::vector<uint8_t> endBits_;
    uint64_t endMask_ = 0;
    bool endsAnyhow_ = false;
    // The low bits of a fingerprint are the letters' last products: mixed, they spread over the slots.
    static uint64_t Spread(uint64_t key) { return (key ^ (key >> 29)) * 0xBF58476D1CE4E5B9ull >> 17; }
    uint64_t EndSlot(uint64_t key) const { return Spread(key) & endMask_; }
};

extern TTableTailes TableTailes;
extern TTaile CurrentTaile;

bool LookupTaileChain(const wchar_t* tail, size_t length, TPartOfSpeech part);
bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part);
// The same for a tail read from a word's end, with its EndBack state (TTableTailes::LookupEnd).
bool LookupTaileChainAt(uint64_t state, std::wstring_view tail, TPartOfSpeech part);
void ClearTaileChain();
void CopyTaileChain(TTaile& out);

// Whether a suffix chain found for the tail can follow the stem: a chain by the letters its first
// suffix follows, an empty chain by the tail's first letter, as the rule rows would choose it.
bool TatTailFitsStem(std::wstring_view stem, std::wstring_view tail, const TTaile& chain);
bool TatEndingFitsStem(std::wstring_view stem, std::wstring_view tail);
bool TatFirstSuffixFits(std::wstring_view stem, std::wstring_view tail, TPartOfSpeech part, int32_t ruleId,
                        uint8_t formCode, uint8_t flagsA);

void TableTailesInit(const std::wstring& folder = std::wstring());
void TableTailesDone();
