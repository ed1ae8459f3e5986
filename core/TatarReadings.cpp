#include "core/TatarReadings.h"

#include <algorithm>
#include <string>

#include "core/GP_DATA.h"
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

} // namespace

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
