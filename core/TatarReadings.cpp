#include "core/TatarReadings.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/GP_DATA.h"
#include "core/TableTailes.h"
#include "core/TatAlphabet.h"
#include "core/TatarHeadwordIndex.h"

namespace {

// Names come from the headword index, which knows them without reading the headwords.
bool HasCommonWord(const TBaseSearchResult& analysis) {
    for (const TDictSearchResult& dict : analysis.Dictionaries) {
        for (const TDictItem& item : dict.Items) {
            if (!HeadwordCapitalized(static_cast<size_t>(dict.DictIndex), static_cast<int32_t>(item.Entry))) {
                return true;
            }
        }
    }
    return false;
}

// DictBuildResults of one analysis, refilling the result's dictionary records in place: results are
// reused from lookup to lookup, and so are the buffers of their hits.
void RefillResults(const std::wstring& text, size_t n, TBaseSearchResult& analysis) {
    analysis.BaseForm.assign(text, 0, std::min(n, kMaxWordLength));
    DictRefillResults(LangGroups[langTatar], analysis);
}

// Analyses left over from longer results, kept with their buffers for the next lookups: words under
// the mouse come one after another, with one analysis or three.
std::vector<TBaseSearchResult>& SpareAnalyses() {
    static std::vector<TBaseSearchResult> spare;
    return spare;
}

void AddAnalysis(TBaseSearchResults& analyses) {
    std::vector<TBaseSearchResult>& spare = SpareAnalyses();
    if (spare.empty()) {
        analyses.emplace_back();
        return;
    }
    analyses.push_back(std::move(spare.back()));
    spare.pop_back();
}

} // namespace

void TatKeepAnalyses(TBaseSearchResults& analyses, size_t used) {
    std::vector<TBaseSearchResult>& spare = SpareAnalyses();
    while (analyses.size() > used) {
        if (spare.size() < 16) {
            spare.push_back(std::move(analyses.back()));
        }
        analyses.pop_back();
    }
}

bool TatSameLetters(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && TatWeight(a[i]) != TatWeight(b[i])) {
            return false;
        }
    }
    return true;
}

bool TatIsImperativeOf(std::wstring_view verb, std::wstring_view word) {
    const TVerbStem stem = TatVerbStem(verb);
    std::wstring written = stem.Stem;
    if (stem.Voicing && !written.empty()) {
        wchar_t& last = written.back();
        last = last == L'б' ? L'п' : last == L'г' ? L'к' : last == L'в' ? L'у' : last;
    }
    return TatSameLetters(written, word);
}

bool TatPossessiveIsAdded(std::wstring_view stem, std::wstring_view headword, bool possessedStem) {
    if (possessedStem) {
        // The stem's ы, е must be the possessive, unless an е after a vowel, said йе (кое: коена).
        const bool saidYe = stem.size() > 1 && (TatLetterClass(stem[stem.size() - 2]) & kVowel) != 0;
        return saidYe || !TatSameLetters(stem, headword);
    }
    // The possessive opens the tail: the stem must not be the headword less its last vowel.
    const bool lostVowel = headword.size() == stem.size() + 1 && (TatLetterClass(headword.back()) & kVowel) != 0 &&
                           TatSameLetters(headword.substr(0, stem.size()), stem);
    return !lostVowel;
}

void TatPutNamesLast(std::wstring_view word, TBaseSearchResults& analyses) {
    if (word.empty() || IsCapitalLetter(word[0]) || analyses.empty() || !AnyHeadwordCapitalized()) {
        return; // a word written with a capital may well be the name
    }
    bool names = false;
    for (TBaseSearchResult& analysis : analyses) {
        for (TDictSearchResult& dict : analysis.Dictionaries) {
            const auto d = static_cast<size_t>(dict.DictIndex);
            const auto common = [d](const TDictItem& item) {
                return !HeadwordCapitalized(d, static_cast<int32_t>(item.Entry));
            };
            if (!std::all_of(dict.Items.begin(), dict.Items.end(), common)) {
                names = true;
                std::stable_partition(dict.Items.begin(), dict.Items.end(), common);
            }
        }
    }
    if (names) {
        std::stable_partition(analyses.begin(), analyses.end(), HasCommonWord);
    }
}

TBaseSearchResult& TatAppendAnalysis(const std::wstring& text, size_t n, bool cut, const TTailChain* chain,
                                     TLangSearchResult& result, size_t& used) {
    TBaseSearchResults& analyses = result.Results;
    if (used == 0) {
        result.Language = langTatar;
        result.Word.assign(text, 0, kMaxWordLength);
    }
    if (used == analyses.size()) {
        AddAnalysis(analyses);
    }
    TBaseSearchResult& analysis = analyses[used++];
    RefillResults(text, n, analysis);
    if (chain != nullptr) {
        analysis.Taile.assign(chain->Records.begin(), chain->Records.end());
    } else {
        analysis.Taile.clear();
    }
    // The chain was found to follow the stem; the note's own test knows fewer spellings.
    DictBuildGrammarNote(analysis);
    if (analysis.SplitForm.empty() && cut) {
        // A tail whose table names none of its suffixes is still shown cut from its stem.
        analysis.SplitForm.assign(text, 0, n).append(1, L'/').append(text, n, std::wstring::npos);
        analysis.SplitForm.resize(std::min(analysis.SplitForm.size(), kMaxWordLength));
    }
    return analysis;
}

