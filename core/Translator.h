#pragma once
// Word-form analysis: a word as it stands in a text becomes the analyses of its base forms with
// their dictionary hits. Not re-entrant: hit lists, the suffix chain and the Russian work list
// are process-wide.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Classes_Qel.h"
#include "core/Codes.h"
#include "core/CommonTypes.h"
#include "core/Dictionary.h"

class TRTB_Table;

// Fills the half of the result of the source language.
bool AnalyzeWord(const wchar_t* word, TSearchResult& result, TLanguage language);
// The same for a language byte of the shared block: anything but a language gives false.
bool AnalyzeWord(const wchar_t* word, TSearchResult& result, uint8_t language);

// ---- Tatar ----------------------------------------------------------------------------------

bool AnalyzeTatar(const wchar_t* word, TLangSearchResult& result);
// Whether the entry is of the part of speech; a noun's suffixes also take entries marked other.
bool PosFlagsMatch(const TDictEntry& entry, TPartOfSpeech part);
bool TatHasCandidates();

// ---- Russian --------------------------------------------------------------------------------

struct TAllSearchPair {
    int32_t Dict;
    int32_t Entry;
};
using TAllSearch = std::vector<TAllSearchPair>; // hits reported during one lookup

// Loads recip_para.rtb and direct_para.rtb from the folder (the working folder when empty).
// Raises the file layer's error when a file cannot be read.
void CreateParadigmTable(const std::wstring& folder = std::wstring());
void FreeParadigmTable();
const TRTB_Table* ParadigmTable();

bool AnalyzeRussian(const wchar_t* word, TLangSearchResult& result);

// DictCollectMatches over the Russian dictionaries for every part of speech, where a word written
// with е also collects the headwords with ё in some of the places of its е (ещё for еще), after
// its own headword; ё in the word still asks for ё in the headword.
bool RusCollectMatches(const wchar_t* word, size_t length, uint8_t exclude);
bool RusLookupDirect(const wchar_t* word, size_t length);
// The candidate test: text1 is "/ENDING-PREFIX-/", text2 "ALT--/".
bool RusCheckCandidate(std::wstring_view lemma, const std::wstring& text1, const std::wstring& text2);
bool AllSearchContains(const TAllSearch& search, int32_t dict, int32_t entry);
void UniqueAccepted(TLangGroup& group);
void DropReportedHits(TLangGroup& group, const TAllSearch& search);
void AllSearchAddAccepted(TLangGroup& group, TAllSearch& search);
