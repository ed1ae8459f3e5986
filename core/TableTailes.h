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
    // False only when the ending is certainly not in the table.
    bool MayHold(std::wstring_view ending) const;
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
    // False only when no table holds the ending: a cut with such a tail cannot be analysed.
    bool MayEnd(std::wstring_view ending) const;
    // Whether every table is made of small letters (then small-letter endings take exact lookups).
    bool PlainOnly() const;
    void FreeTables();

    // An empty table for a part of speech without suffixes.
    const TCustTableTailes& List(TPartOfSpeech part) const;

    const TTaileRule* LastRules[4] = {};
    int32_t LastIds[4] = {};

private:
    TCustTableTailes lists_[kInflectingParts]; // in the order of InflectingParts
    TTextIndex<bool> endings_;                 // of every table, after LoadTables
};

extern TTableTailes TableTailes;
extern TTaile CurrentTaile;

bool LookupTaileChain(const wchar_t* tail, size_t length, TPartOfSpeech part);
bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part);
void ClearTaileChain();
void CopyTaileChain(TTaile& out);

void TableTailesInit(const std::wstring& folder = std::wstring());
void TableTailesDone();
