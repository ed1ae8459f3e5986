#include "core/CommonTypes.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <string_view>

#include "core/Dictionary.h"
#include "core/GP_DATA.h"
#include "core/TatAlphabet.h"
#include "core/UILanguage.h"

const wchar_t* const ProductNameCyrillic = L"ТИРЕЛ";
const wchar_t* const ProductNameLatin = L"Tirel";
const wchar_t* const TrayProgramFile = L"tirel.exe";
const wchar_t* const InstallerFile = L"Install.exe";
const wchar_t* const HelpPageRussian = L"tirel_hr.htm";
const wchar_t* const HelpPageTatar = L"tirel_ht.htm";
const wchar_t* const AboutTextRussian = L"tirel_abr.dat";
const wchar_t* const AboutTextTatar = L"tirel_abt.dat";
const wchar_t* const LanguageNames[kLanguageCount] = {L"Татарский", L"Русский"};

namespace {

const wchar_t* const kRomanNumerals[20] = {L"I",   L"II",   L"III",   L"IV",  L"V",  L"VI",  L"VII",
                                           L"VIII", L"IX",  L"X",     L"XI",  L"XII", L"XIII", L"XIV",
                                           L"XV",  L"XVI",  L"XVII",  L"XVIII", L"XIX", L"XX"};

constexpr int32_t kRuleAfterBai = 98; // the affix ы that only the verb бай takes this way

} // namespace

const wchar_t* HomonymNumeral(int32_t homonym) {
    return homonym >= 1 && homonym <= 20 ? kRomanNumerals[homonym - 1] : L"";
}

TRect NewRectLTWH(int32_t left, int32_t top, int32_t width, int32_t height) {
    return TRect{left, top, left + width, top + height};
}

bool TaileFitsBase(std::wstring_view base, const TTaileRec& first) {
    const bool fits = (TatLastLetterClass(base) & first.FlagsA) != 0 ||
                      (!base.empty() && (TatLetterClass(base.back()) & kLetterU) != 0);
    if (first.RuleId == kRuleAfterBai && first.PartOfSpeech == posVerb) {
        return fits && TatCompareText(base.data(), base.size(), L"бай", 3) == 0;
    }
    return fits;
}

void DictBuildResults(const wchar_t* base, size_t length, TBaseSearchResult& result, TLanguage direction) {
    result.BaseForm.assign(base, std::min(length, kMaxWordLength));
    result.BaseForm.resize(std::wcslen(result.BaseForm.c_str()));
    if (!IsLanguage(direction)) {
        return;
    }
    TLangGroup& group = LangGroups[direction];
    for (size_t i = 0; i < group.size(); ++i) {
        TDictHandle& dict = group[i];
        if (dict.Accepted.empty()) {
            continue;
        }
        DictOrderMatches(dict);
        TDictSearchResult hits;
        hits.Title = DictImageTitle(dict.View);
        hits.DictIndex = static_cast<int32_t>(i);
        for (const int32_t k : dict.Accepted) {
            const TDictEntry& entry = dict.Entry(k);
            hits.Items.push_back({static_cast<uint32_t>(k), dict.Headword(k), dict.Article(k), entry.Flags,
                                  entry.Flags2});
        }
        result.Dictionaries.push_back(std::move(hits));
        dict.Reported.insert(dict.Reported.end(), dict.Accepted.begin(), dict.Accepted.end());
        dict.Accepted.clear();
    }
}

void DictRefillResults(TLangGroup& group, TBaseSearchResult& result) {
    size_t used = 0;
    for (size_t i = 0; i < group.size(); ++i) {
        TDictHandle& dict = group[i];
        TArrInt& accepted = dict.Accepted;
        if (accepted.empty()) {
            continue;
        }
        // DictOrderMatches without its sort's buffer: hits are few, and most already in order.
        for (size_t k = 1; k < accepted.size(); ++k) {
            for (size_t j = k; j > 0 && dict.Entry(accepted[j]).Homonym < dict.Entry(accepted[j - 1]).Homonym; --j) {
                std::swap(accepted[j], accepted[j - 1]);
            }
        }
        if (used == result.Dictionaries.size()) {
            result.Dictionaries.emplace_back();
        }
        TDictSearchResult& hits = result.Dictionaries[used++];
        hits.Title = DictImageTitle(dict.View);
        hits.DictIndex = static_cast<int32_t>(i);
        hits.Items.clear();
        for (const int32_t k : accepted) {
            const TDictEntry& entry = dict.Entry(k);
            hits.Items.push_back(
                {static_cast<uint32_t>(k), dict.Headword(k), dict.Article(k), entry.Flags, entry.Flags2});
        }
        for (const int32_t k : accepted) {
            dict.Reported.push_back(k); // one or two: no block copy
        }
        accepted.clear();
    }
    result.Dictionaries.resize(used);
}

namespace {

// Note lines a reused result no longer needs, kept with their buffers for the next result: the
// analysis refills its results for every word under the mouse.
std::vector<std::wstring>& SpareNotes() {
    static std::vector<std::wstring> spare;
    return spare;
}

void KeepNotes(TMorphs& morphs, size_t used) {
    std::vector<std::wstring>& spare = SpareNotes();
    while (morphs.size() > used) {
        if (spare.size() < 64) {
            spare.push_back(std::move(morphs.back()));
        }
        morphs.pop_back();
    }
}

void AddNote(TMorphs& morphs) {
    std::vector<std::wstring>& spare = SpareNotes();
    if (spare.empty()) {
        morphs.emplace_back();
        return;
    }
    morphs.push_back(std::move(spare.back()));
    spare.pop_back();
}

// The note line of a suffix, 'affix' - category, at most kMaxMorphLength units, in the interface
// language. Notes are written for every analysis from few distinct suffixes: each line is made once
// and kept, under its affix, category and language.
const std::wstring& NoteLine(const TTaileRec& suffix, TLanguage language) {
    struct TLine {
        std::array<wchar_t, std::size(TTaileRec{}.AffixText)> Affix{};
        uint8_t FormCode = 0;
        TLanguage Language = langTatar;
        bool Made = false;
        std::wstring Text;
    };
    static std::array<TLine, 256> lines;
    std::array<wchar_t, std::size(TTaileRec{}.AffixText)> affix;
    std::copy(std::begin(suffix.AffixText), std::end(suffix.AffixText), affix.begin());
    size_t hash = suffix.FormCode * 31u + static_cast<size_t>(language);
    for (const wchar_t c : affix) {
        hash = hash * 31u + static_cast<uint16_t>(c);
    }
    TLine& line = lines[hash % lines.size()];
    if (!line.Made || line.Affix != affix || line.FormCode != suffix.FormCode || line.Language != language) {
        const size_t length = static_cast<size_t>(std::find(affix.begin(), affix.end(), L'\0') - affix.begin());
        line.Text.assign(1, L'\'').append(affix.data(), length).append(L"' - ");
        line.Text.append(CategoryNameIn(language, suffix.FormCode));
        if (line.Text.size() > kMaxMorphLength) {
            line.Text.resize(kMaxMorphLength);
        }
        line.Affix = affix;
        line.FormCode = suffix.FormCode;
        line.Language = language;
        line.Made = true;
    }
    return line.Text;
}

} // namespace

bool DictBuildGrammarNote(TBaseSearchResult& result) {
    result.SplitForm.clear();
    // Note lines are rewritten in place so that a reused result keeps its buffers.
    size_t notes = 0;
    if (result.Taile.empty()) {
        KeepNotes(result.Morphs, 0);
        return true;
    }
    const std::wstring& base = result.BaseForm;
    const bool fits = TaileFitsBase(base, *result.Taile.front());
    const TLanguage language = CurrentUILanguage();

    // The split form lives in 64 units with its terminating zero: nothing is written at 63 or
    // beyond, and an affix that does not fit is left out (the text then ends before it).
    wchar_t split[kMaxWordLength + 1] = {};
    size_t p = std::min(base.size(), kMaxWordLength);
    std::wmemcpy(split, base.data(), p);
    for (const auto& suffix : result.Taile) {
        const wchar_t* affix = suffix->AffixText;
        const size_t length = static_cast<size_t>(std::find(affix, std::end(suffix->AffixText), L'\0') - affix);
        if (p < kMaxWordLength) {
            split[p] = L'/';
        }
        ++p;
        if (p + length < kMaxWordLength) {
            for (size_t i = 0; i < length; ++i) {
                split[p + i] = affix[i];
            }
        }
        if (notes == result.Morphs.size()) {
            AddNote(result.Morphs);
        }
        result.Morphs[notes++] = NoteLine(*suffix, language);
        p += length;
        if (p >= kMaxWordLength) {
            break;
        }
    }
    KeepNotes(result.Morphs, notes);
    result.SplitForm.assign(split, static_cast<size_t>(std::find(split, split + kMaxWordLength, L'\0') - split));
    return fits;
}
