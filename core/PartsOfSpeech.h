#pragma once
// The parts of speech that take suffixes: for each, its code, its name in the readable sources,
// its suffix table file and every form the paradigm builders make of a word. The order of the
// list (noun, adjective, numeral, verb) is the order the analysis tries them in.

#include <string>
#include <vector>

#include "core/Codes.h"
#include "core/GP_PROC.h"

struct TPartOfSpeechInfo {
    TPartOfSpeech Code;
    const char* SourceName;    // noun, adj, num, verb
    const wchar_t* SuffixFile; // in the programs' folder
    // Every form the builders make of a word, in the builders' category order.
    std::vector<TGP_Proc_Rec> (*Forms)(const std::wstring& word);
};

constexpr int kInflectingParts = 4;
extern const TPartOfSpeechInfo InflectingParts[kInflectingParts];

// Index of the part of speech in InflectingParts; -1 for one without suffixes (posOther).
int InflectingPartIndex(TPartOfSpeech part);
// Its entry; nullptr for one without suffixes.
const TPartOfSpeechInfo* InflectingPart(TPartOfSpeech part);
