#pragma once
// Opened dictionary images and the headword search over them. Each process keeps one group of
// opened dictionaries per direction (the language of their headwords).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Codes.h"
#include "core/DictImage.h"
#include "core/win32/OwnedHandle.h"

using TArrInt = std::vector<int32_t>;

// The headwords of an image as fingerprints of their collation weights: most probes ask for words
// a dictionary lacks, and this answers those without a search. With prefixes, it also tells
// whether any headword begins with a text, so that a lookup can drop whole families of probes.
class THeadwordSet {
public:
    THeadwordSet(const wchar_t* pool, const struct TDictEntry* entries, int32_t count, bool withPrefixes);

    // A fingerprint is built letter by letter: Extend(Start(), text) fingerprints the text up to
    // its length or a zero.
    static uint64_t Start() { return 1469598103934665603ull; }
    static uint64_t Extend(uint64_t state, const wchar_t* text, size_t length);

    // False only when no headword equals the word in Tatar order.
    bool MayHold(const wchar_t* word, size_t length) const { return MayHoldState(Extend(Start(), word, length)); }
    bool MayHoldState(uint64_t state) const;
    // False only when no headword begins with the text of the state; true without prefixes.
    bool MayBegin(uint64_t state) const;

    // Slots of both tables: the memory the set holds, for measuring.
    size_t SlotCount() const { return slots_.size() + prefixes_.size(); }

private:
    std::vector<uint64_t> slots_;
    uint64_t mask_ = 0;
    std::vector<uint32_t> prefixes_;
    uint32_t prefixMask_ = 0;
};

// Move-only: it owns the file, the mapping and the mapped view it was opened from.
struct TDictHandle {
    TOwnedFile FileHandle;       // the tray program's open file; none in the main program
    TOwnedMapping MapHandle;
    TOwnedView MappedView;       // the view when View is mapped (images in memory have none)
    void* View = nullptr;        // the image, header at offset 0
    int32_t CurEntry = -1;       // first entry of the last headword found
    uint32_t CurFlags = 0;       // category flags of the current entry (main window)
    const TDictEntry* Entries = nullptr;
    const wchar_t* Pool = nullptr;
    TArrInt Accepted;            // hits accepted by the current analysis
    TArrInt Probe;               // hits collected by the current analysis step
    TArrInt Reported;            // hits already turned into results in this lookup
    int32_t EntryCount = 0;      // from the checked header
    std::shared_ptr<const THeadwordSet> Headwords;
    // The Russian lookup's own index of the headwords, made when it first probes the dictionary.
    std::shared_ptr<const struct TRusHeadwords> RusHeadwords;

    const TDictEntry& Entry(int32_t index) const { return Entries[index]; }
    const wchar_t* Headword(int32_t index) const { return Pool + Entries[index].Headword; }
    const wchar_t* Article(int32_t index) const { return Pool + Entries[index].Article; }
};

using TLangGroup = std::vector<TDictHandle>;

// The two groups of this process, indexed by direction.
extern TLangGroup LangGroups[kLanguageCount];

// A handle over a checked image (see CheckDictImage); the caller fills the two handles.
TDictHandle MakeDictHandle(void* view);
// Without the headword set, the search is right but slower until Headwords is filled; building it
// takes most of the time of opening a large image.
TDictHandle MakeDictHandle(void* view, bool withHeadwordSet);

// Category masks of the probes that take more than one part of speech. dmNotVerb and dmAll
// also take the bits that are no part of speech (dfExactOnly among them).
constexpr uint8_t dmNominal = posNoun | posAdjective | posNumeral | posOther;
constexpr uint8_t dmNotVerb = static_cast<uint8_t>(~posVerb);
constexpr uint8_t dmAll = 255;

// Index of an entry whose headword equals the first length units of word, or -1.
int32_t DictFindWord(const wchar_t* word, size_t length, const TDictHandle& dict);

// Appends to each dictionary's Probe every entry of the word's headword that fits the mask
// (and, with exclude set, is not exact-form-only). True when anything was appended.
bool DictCollectMatches(const wchar_t* word, size_t length, TLanguage direction, uint8_t mask, uint8_t exclude);

// Calls of DictCollectMatches so far: the probes of the analyses, for measuring them.
extern uint64_t DictProbeCount;

bool DictIsNewHit(int32_t entry, const TDictHandle& dict);
// False, and nothing done, for a direction that is no language.
bool DictResetHits(TLanguage direction);
void DictOrderMatches(TDictHandle& dict);

// Headword and article of the current entry of the current dictionary (shared block's
// SourceLang and CurDict, the handle's CurEntry); an empty text when they name nothing.
const wchar_t* DictCurrentHeadword(const TLangGroup (&groups)[kLanguageCount], const struct TGlobalCustoms& block);
const wchar_t* DictCurrentTranslation(const TLangGroup (&groups)[kLanguageCount], const struct TGlobalCustoms& block);
