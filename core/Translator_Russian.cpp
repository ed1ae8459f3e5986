// Russian lookup: the word as it stands, then every lemma candidate of the paradigm table that is
// a headword whose own paradigm allows the inflection.

#include <algorithm>
#include <memory>

#include "core/RTB_Deal.h"
#include "core/Translator.h"

namespace {

std::unique_ptr<TRTB_Table> Table;

// Appends an analysis, refilling one left from the previous lookup when there is one.
void BuildRussianResult(std::wstring_view base, const std::wstring& word, TLangSearchResult& result,
                        TAllSearch& search, size_t& used) {
    TLangGroup& group = LangGroups[langRussian];
    UniqueAccepted(group);
    DropReportedHits(group, search);
    AllSearchAddAccepted(group, search);
    result.Language = langRussian;
    result.Word.assign(word, 0, kMaxWordLength);
    if (used == result.Results.size()) {
        result.Results.emplace_back();
    }
    TBaseSearchResult& analysis = result.Results[used++];
    analysis.Dictionaries.clear();
    analysis.Taile.clear();
    analysis.SplitForm.clear();
    analysis.Morphs.clear();
    DictBuildResults(base.data(), base.size(), analysis, langRussian);
}

class HeadwordFilter : public TRTB_Table::TLemmaFilter {
public:
    bool MayBegin(std::wstring_view stem) const override {
        const uint64_t state = StemState(stem);
        for (const TDictHandle& dict : LangGroups[langRussian]) {
            if (!dict.Headwords || dict.Headwords->MayBegin(state)) {
                return true;
            }
        }
        return false;
    }
    bool MayBe(std::wstring_view stem, const std::wstring& alternative) const override {
        const uint64_t state = THeadwordSet::Extend(StemState(stem), alternative.data(), alternative.size());
        for (const TDictHandle& dict : LangGroups[langRussian]) {
            if (!dict.Headwords || dict.Headwords->MayHoldState(state)) {
                return true;
            }
        }
        return false;
    }

private:
    // The alternatives of one record share its stem: fingerprint it once.
    uint64_t StemState(std::wstring_view stem) const {
        if (stem.data() != stem_.data() || stem.size() != stem_.size()) {
            stem_ = stem;
            state_ = THeadwordSet::Extend(THeadwordSet::Start(), stem.data(), stem.size());
        }
        return state_;
    }

    mutable std::wstring_view stem_;
    mutable uint64_t state_ = THeadwordSet::Start(); // of the empty stem_
};

} // namespace

void CreateParadigmTable(const std::wstring& folder) {
    Table = std::make_unique<TRTB_Table>(folder + L"recip_para.rtb", false, folder + L"direct_para.rtb");
}

void FreeParadigmTable() {
    Table.reset();
}

const TRTB_Table* ParadigmTable() {
    return Table.get();
}

bool RusLookupDirect(const wchar_t* word, size_t length) {
    if (!DictCollectMatches(word, length, langRussian, dmAll, 0)) {
        return false;
    }
    for (TDictHandle& dict : LangGroups[langRussian]) {
        dict.Accepted = dict.Probe;
    }
    return true;
}

bool RusCheckCandidate(std::wstring_view lemma, const std::wstring& text1, const std::wstring& text2) {
    if (!DictCollectMatches(lemma.data(), lemma.size(), langRussian, dmAll, 1)) {
        return false;
    }
    bool accepted = false;
    for (TDictHandle& dict : LangGroups[langRussian]) {
        for (const int32_t hit : dict.Probe) {
            if (Table->MatchesParadigm(text1, text2, dict.Entry(hit).Paradigm)) {
                dict.Accepted.push_back(hit);
            }
        }
        accepted = accepted || !dict.Accepted.empty();
    }
    return accepted;
}

bool AllSearchContains(const TAllSearch& search, int32_t dict, int32_t entry) {
    for (const TAllSearchPair& pair : search) {
        if (pair.Dict == dict && pair.Entry == entry) {
            return true;
        }
    }
    return false;
}

void UniqueAccepted(TLangGroup& group) {
    // A pair names its dictionary, so repeats can only be within one dictionary's list.
    for (TDictHandle& dict : group) {
        TArrInt& accepted = dict.Accepted;
        size_t kept = 0;
        for (size_t i = 0; i < accepted.size(); ++i) {
            if (std::find(accepted.begin(), accepted.begin() + static_cast<long>(kept), accepted[i]) ==
                accepted.begin() + static_cast<long>(kept)) {
                accepted[kept++] = accepted[i];
            }
        }
        accepted.resize(kept);
    }
}

void DropReportedHits(TLangGroup& group, const TAllSearch& search) {
    for (size_t d = 0; d < group.size(); ++d) {
        TArrInt& accepted = group[d].Accepted;
        accepted.erase(std::remove_if(accepted.begin(), accepted.end(),
                                      [&](int32_t entry) {
                                          return AllSearchContains(search, static_cast<int32_t>(d), entry);
                                      }),
                       accepted.end());
    }
}

void AllSearchAddAccepted(TLangGroup& group, TAllSearch& search) {
    for (size_t d = 0; d < group.size(); ++d) {
        for (const int32_t entry : group[d].Accepted) {
            if (!AllSearchContains(search, static_cast<int32_t>(d), entry)) {
                search.push_back({static_cast<int32_t>(d), entry});
            }
        }
    }
}

bool AnalyzeRussian(const wchar_t* word, TLangSearchResult& result) {
    size_t used = 0;
    const std::wstring text = word ? word : L"";
    if (text.empty() || text.size() > kMaxWordLength) {
        result.Results.clear();
        return false;
    }
    DictResetHits(langRussian);
    static TAllSearch search; // the lookup is not re-entrant: one list serves every lookup
    search.clear();
    try {
        if (RusLookupDirect(text.c_str(), text.size())) {
            BuildRussianResult(text, text, result, search, used);
        }
        if (Table) {
            // Each candidate is tested as the table gives it, in the table's order. Candidates that
            // no Russian dictionary can hold are not even given: most are not words.
            const HeadwordFilter filter;
            std::wstring text1, text2;
            Table->ForEachLemma(text, &filter,
                                [&](std::wstring_view lemma, const TRTB_Table_Rec& record, const std::wstring& alternative) {
                                    text1.assign(L"/").append(record.Ending).append(L"-").append(record.Prefix).append(L"-/");
                                    text2.assign(alternative).append(L"--/");
                                    if (RusCheckCandidate(lemma, text1, text2)) {
                                        BuildRussianResult(lemma, text, result, search, used);
                                    }
                                });
        }
    } catch (...) {
        // A dictionary naming a paradigm the table lacks: the next lookup starts clean.
        result.Results.clear();
        DictResetHits(langRussian);
        throw;
    }
    result.Results.resize(used);
    return used != 0;
}
