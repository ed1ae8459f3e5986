#pragma once
// The result of looking up one word: per source language, the analyses found, each with its base
// form, the suffix chain cut off, the split form, grammar notes and the dictionary hits.
// Texts held as pointers point into mapped dictionary images and stay valid while they are mapped.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Codes.h"

struct TDictItem {
    uint32_t Entry = 0;
    const wchar_t* Headword = nullptr;
    const wchar_t* Article = nullptr;
    uint8_t Flags = 0;
    uint8_t Flags2 = 0;
};
using TDictItems = std::vector<TDictItem>;

struct TDictSearchResult {
    const wchar_t* Title = nullptr;
    int32_t DictIndex = 0; // index in the dictionary's TLangGroup
    TDictItems Items;      // ordered by homonym number
};
using TDictSearchResults = std::vector<TDictSearchResult>;

// One suffix cut off a word.
struct TTaileRec {
    wchar_t AffixText[7] = {}; // the 6-unit affix cell, terminated
    int32_t RuleId = 0;
    uint8_t FormCode = 0;         // 1..37, names the grammatical category
    TPartOfSpeech PartOfSpeech{}; // of the suffix table it came from
    uint8_t FormCode2 = 0;        // always 0
    uint8_t FlagsA = 0;           // letter classes the suffix may follow
    uint8_t FlagsB = 0;           // harmony classes the suffix belongs to
};
// Innermost suffix first; records are shared between the analysis's current chain and results.
using TTaile = std::vector<std::shared_ptr<const TTaileRec>>;

using TMorphs = std::vector<std::wstring>; // grammar-note lines, at most 255 units each

constexpr size_t kMaxWordLength = 63;  // base forms, split forms and looked-up words
constexpr size_t kMaxMorphLength = 255;

struct TBaseSearchResult {
    TDictSearchResults Dictionaries;
    std::wstring BaseForm;  // at most 63 units
    TTaile Taile;
    std::wstring SplitForm; // base form and affixes joined by "/", empty without suffixes
    TMorphs Morphs;         // one line per affix
};
using TBaseSearchResults = std::vector<TBaseSearchResult>;

struct TLangSearchResult {
    TLanguage Language = langTatar; // of the analysis that wrote it
    std::wstring Word;              // the looked-up word, at most 63 units
    TBaseSearchResults Results;
};
using TSearchResult = std::array<TLangSearchResult, kLanguageCount>; // indexed by source language

// Sets the base form (at most 63 units) and appends one TDictSearchResult per dictionary of the
// direction with accepted hits, ordered by homonym; those hits move to the dictionary's Reported.
void DictBuildResults(const wchar_t* base, size_t length, TBaseSearchResult& result, TLanguage direction);

// DictBuildResults for the lookups of running text: the result's dictionary records are refilled in
// place from the group's accepted hits, so that their buffers serve one lookup after another.
struct TDictHandle;
using TLangGroup = std::vector<TDictHandle>;
void DictRefillResults(TLangGroup& group, TBaseSearchResult& result);

// Builds the split form and grammar notes from the base form and suffix chain. False when the first
// suffix cannot follow the base form's ending; the analysis then drops the result.
bool DictBuildGrammarNote(TBaseSearchResult& result);

// Whether a suffix chain whose innermost suffix is first can follow the base form's ending.
bool TaileFitsBase(std::wstring_view base, const TTaileRec& first);

// The Roman numeral of homonym number 1..20; empty for any other number.
const wchar_t* HomonymNumeral(int32_t homonym);

struct TRect {
    int32_t Left, Top, Right, Bottom;
};
TRect NewRectLTWH(int32_t left, int32_t top, int32_t width, int32_t height);

extern const wchar_t* const ProductNameCyrillic;           // "ТИРЕЛ"
extern const wchar_t* const ProductNameLatin;              // "Tirel"
extern const wchar_t* const TrayProgramFile;               // "tirel.exe"
extern const wchar_t* const InstallerFile;                 // "Install.exe"
extern const wchar_t* const HelpPageRussian;               // "tirel_hr.htm"
extern const wchar_t* const HelpPageTatar;                 // "tirel_ht.htm"
extern const wchar_t* const AboutTextRussian;              // "tirel_abr.dat"
extern const wchar_t* const AboutTextTatar;                // "tirel_abt.dat"
extern const wchar_t* const LanguageNames[kLanguageCount]; // "Татарский", "Русский"
