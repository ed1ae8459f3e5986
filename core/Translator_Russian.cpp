// Russian lookup: the word as it stands, then every lemma candidate of the paradigm table that is
// a headword whose own paradigm allows the inflection.

#include <algorithm>
#include <memory>

#include "core/DictImage.h"
#include "core/Exceptions.h"
#include "core/RTB_Deal.h"
#include "core/RussianHeadwordIndex.h"
#include "core/Translator.h"

namespace {

std::unique_ptr<TRTB_Table> Table;
TRusLemmaEndings Endings; // of the table

const TRusHeadwords& HeadwordsOf(TDictHandle& dict) {
    if (!dict.RusHeadwords) {
        dict.RusHeadwords = MakeRusHeadwords(dict);
    }
    return *dict.RusHeadwords;
}

// Appends the entries of the run that fit (every part of speech; with exclude, no exact-form-only
// entry) to the dictionary's Probe, as DictCollectMatches does.
bool CollectRun(TDictHandle& dict, const TRusHeadwords::TSlot& run, uint8_t exclude) {
    dict.CurEntry = run.First;
    bool found = false;
    for (int32_t k = run.First; k < run.First + run.Run; ++k) {
        const uint8_t flags = dict.Entry(k).Flags;
        if ((flags & dmAll) == 0 || ((flags & dfExactOnly) != 0 && exclude != 0)) {
            continue;
        }
        dict.Probe.push_back(k);
        found = true;
    }
    return found;
}

// Of the runs of the hash from the slot first on, the run of the headword equal to the lemma, then
// the runs of the headwords that spell it with ё, in index order.
bool CollectRuns(TDictHandle& dict, const TRusHeadwords& index, uint64_t hash, uint32_t first, std::wstring_view lemma,
                 bool hasYe, uint8_t exclude) {
    bool found = false;
    for (uint32_t at = first; at != TRusHeadwords::kNone; at = index.FindNext(hash, at)) {
        const TRusHeadwords::TSlot& run = index.Slots[at];
        if (RusSameText(lemma.data(), lemma.size(), dict.Pool + run.Headword)) {
            found = CollectRun(dict, run, exclude);
            break;
        }
    }
    if (hasYe) {
        for (uint32_t at = first; at != TRusHeadwords::kNone; at = index.FindNext(hash, at)) {
            const TRusHeadwords::TSlot& run = index.Slots[at];
            if (RusYoSpellingOf(dict.Pool + run.Headword, lemma)) {
                found = CollectRun(dict, run, exclude) || found;
            }
        }
    }
    return found;
}

// The probes of one lookup: the word as it stands, then its lemma candidates in table order. All
// are hashed before any is probed, so that the loads of what they read overlap instead of
// following one another: the dictionaries' filters turn most candidates down from the cache, the
// slots of the others load together, and then the texts and entries of the runs found there.
class TLemmaFinder {
public:
    // Hashes the word and starts loading its slots.
    void Start(std::wstring_view word) {
        word_ = word;
        for (size_t i = 0; i < word.size(); ++i) {
            sums_[i + 1] = RusSumStep(sums_[i], word[i]);
        }
        indexes_.clear();
        for (const TDictHandle& dict : LangGroups[langRussian]) {
            indexes_.push_back(dict.RusHeadwords.get());
        }
        kept_.clear();
        const uint64_t hash = RusHashOf(sums_[word.size()]);
        Keep(hash);
        kept_.push_back({hash, -1, -1, 0, static_cast<uint32_t>(word.size())});
    }

    // The candidates of a record of the table: kept when some dictionary may hold their lemma.
    void Offer(int32_t record, const int32_t* alternatives, uint32_t count, size_t stemAt, size_t stemLength) {
        const uint64_t stem = sums_[stemAt + stemLength] - sums_[stemAt] * RusRadixPower(stemLength);
        for (uint32_t a = 0; a < count; ++a) {
            const TRusLemmaEndings::TEnding& ending = Endings.Endings[static_cast<size_t>(alternatives[a])];
            const uint64_t hash = RusHashOf(stem * ending.Power + ending.Sum);
            if (Keep(hash)) {
                kept_.push_back(
                    {hash, record, alternatives[a], static_cast<uint32_t>(stemAt), static_cast<uint32_t>(stemLength)});
            }
        }
    }

    // Finds the slots of what was kept, and starts loading the texts and entries of their runs.
    void Resolve() {
        const size_t dicts = indexes_.size();
        slots_.assign(kept_.size() * dicts, TRusHeadwords::kNone);
        for (size_t i = 0; i < kept_.size(); ++i) {
            for (size_t d = 0; d < dicts; ++d) {
                const TRusHeadwords& index = *indexes_[d];
                if (!index.MayHold(kept_[i].Hash)) {
                    continue;
                }
                const uint32_t at = index.Find(kept_[i].Hash);
                slots_[i * dicts + d] = at;
                if (at != TRusHeadwords::kNone) {
                    const TDictHandle& dict = LangGroups[langRussian][d];
                    __builtin_prefetch(dict.Pool + index.Slots[at].Headword);
                    __builtin_prefetch(&dict.Entry(index.Slots[at].First));
                }
            }
        }
    }

    // Candidate 0 is the word itself.
    size_t Count() const { return kept_.size(); }
    bool Found(size_t i) const {
        const size_t dicts = indexes_.size();
        for (size_t d = 0; d < dicts; ++d) {
            if (slots_[i * dicts + d] != TRusHeadwords::kNone) {
                return true;
            }
        }
        return false;
    }
    int32_t Record(size_t i) const { return kept_[i].Record; }
    int32_t Alternative(size_t i) const { return kept_[i].Alternative; }

    // The stem and the lemma ending of a candidate, or the word itself.
    std::wstring_view Lemma(size_t i) {
        const TCandidate& c = kept_[i];
        const std::wstring_view stem = word_.substr(c.StemAt, c.StemLength);
        if (c.Alternative < 0) {
            return stem;
        }
        const std::wstring_view ending = Table->AlternativeText(c.Alternative);
        wchar_t* lemma = lemma_;
        if (stem.size() + ending.size() > kLemmaBuffer) {
            longLemma_.resize(stem.size() + ending.size());
            lemma = longLemma_.data();
        }
        // Copied letter by letter: a library copy's call costs more than these few letters.
        for (size_t k = 0; k < stem.size(); ++k) {
            lemma[k] = stem[k];
        }
        for (size_t k = 0; k < ending.size(); ++k) {
            lemma[stem.size() + k] = ending[k];
        }
        return std::wstring_view(lemma, stem.size() + ending.size());
    }

    // RusCollectMatches for a candidate: the word itself with exclude 0 (RusLookupDirect), a lemma
    // with exclude 1.
    bool Collect(size_t i, std::wstring_view lemma) {
        ++DictProbeCount;
        const TCandidate& c = kept_[i];
        const bool hasYe = std::any_of(word_.begin() + c.StemAt, word_.begin() + c.StemAt + c.StemLength, RusIsYe) ||
                           (c.Alternative >= 0 && Endings.HasYe[static_cast<size_t>(c.Alternative)]);
        const uint8_t exclude = c.Alternative < 0 ? 0 : 1;
        const size_t dicts = indexes_.size();
        bool found = false;
        for (size_t d = 0; d < dicts; ++d) {
            const uint32_t at = slots_[i * dicts + d];
            if (at != TRusHeadwords::kNone) {
                found =
                    CollectRuns(LangGroups[langRussian][d], *indexes_[d], c.Hash, at, lemma, hasYe, exclude) || found;
            }
        }
        return found;
    }

private:
    struct TCandidate {
        uint64_t Hash;
        int32_t Record;
        int32_t Alternative; // -1: the word itself
        uint32_t StemAt;
        uint32_t StemLength;
    };

    // Whether some dictionary may hold the hash; starts loading its slot there.
    bool Keep(uint64_t hash) const {
        bool may = false;
        for (const TRusHeadwords* index : indexes_) {
            if (index->MayHold(hash)) {
                index->Prefetch(hash);
                may = true;
            }
        }
        return may;
    }

    std::wstring_view word_;
    uint64_t sums_[kMaxWordLength + 1] = {}; // of the word's prefixes
    std::vector<const TRusHeadwords*> indexes_;
    std::vector<TCandidate> kept_;
    std::vector<uint32_t> slots_; // per candidate kept, per dictionary: its first slot or kNone
    static constexpr size_t kLemmaBuffer = 2 * kMaxWordLength;
    wchar_t lemma_[kLemmaBuffer] = {};
    std::wstring longLemma_;
};

// Sets the text letter by letter: a library copy's call costs more than these few letters.
void SetText(std::wstring& to, std::wstring_view from) {
    to.resize(from.size());
    wchar_t* out = to.data();
    for (size_t i = 0; i < from.size(); ++i) {
        out[i] = from[i];
    }
}

// Analyses a lookup left over, kept with their buffers for the next lookups.
std::vector<TBaseSearchResult> Spare;

// Appends an analysis, refilling one left from a previous lookup when there is one.
void BuildRussianResult(std::wstring_view base, std::wstring_view word, TLangSearchResult& result, TAllSearch& search,
                        size_t& used) {
    TLangGroup& group = LangGroups[langRussian];
    UniqueAccepted(group);
    DropReportedHits(group, search);
    AllSearchAddAccepted(group, search);
    result.Language = langRussian;
    if (used == 0) { // the same word for every analysis of the lookup
        SetText(result.Word, word.substr(0, kMaxWordLength));
    }
    if (used == result.Results.size()) {
        if (Spare.empty()) {
            result.Results.emplace_back();
        } else {
            result.Results.push_back(std::move(Spare.back()));
            Spare.pop_back();
        }
    }
    TBaseSearchResult& analysis = result.Results[used++];
    analysis.Taile.clear();
    analysis.SplitForm.clear();
    analysis.Morphs.clear();
    // DictBuildResults, refilling the dictionary results of the analysis in place: a lookup runs
    // for every word under the mouse, and fresh item lists and sort buffers cost more than it.
    base = base.substr(0, kMaxWordLength);
    SetText(analysis.BaseForm, base.substr(0, std::find(base.begin(), base.end(), L'\0') - base.begin()));
    DictRefillResults(group, analysis);
}

// The paradigm of a hit; one the table lacks raises the table's index error, naming the files.
int32_t KnownParadigm(const TDictHandle& dict, int32_t hit) {
    const int32_t paradigm = dict.Entry(hit).Paradigm;
    if (paradigm >= Table->FilterLines().Count()) {
        throw EStringListError(FormatMessageText(SListIndexError, paradigm) + L": no paradigm " +
                               std::to_wstring(paradigm) + L" in the paradigm table direct_para.rtb, named by \"" +
                               dict.Headword(hit) + L"\" in the dictionary \"" + DictImageTitle(dict.View) + L"\"");
    }
    return paradigm;
}

} // namespace

void CreateParadigmTable(const std::wstring& folder) {
    Table = std::make_unique<TRTB_Table>(folder + L"recip_para.rtb", false, folder + L"direct_para.rtb");
    Endings = TRusLemmaEndings(Table.get());
}

void FreeParadigmTable() {
    Table.reset();
    Endings = TRusLemmaEndings();
}

const TRTB_Table* ParadigmTable() {
    return Table.get();
}

bool RusCollectMatches(const wchar_t* word, size_t length, uint8_t exclude) {
    ++DictProbeCount;
    if (word == nullptr) {
        return false;
    }
    const std::wstring_view text(word, std::find(word, word + length, L'\0') - word);
    const uint64_t hash = RusHashOf(RusTextSum(text));
    const bool hasYe = std::any_of(text.begin(), text.end(), RusIsYe);
    bool found = false;
    for (TDictHandle& dict : LangGroups[langRussian]) {
        const TRusHeadwords& index = HeadwordsOf(dict);
        const uint32_t first = index.Find(hash);
        if (first != TRusHeadwords::kNone) {
            found = CollectRuns(dict, index, hash, first, text, hasYe, exclude) || found;
        }
    }
    return found;
}

bool RusLookupDirect(const wchar_t* word, size_t length) {
    if (!RusCollectMatches(word, length, 0)) {
        return false;
    }
    for (TDictHandle& dict : LangGroups[langRussian]) {
        dict.Accepted = dict.Probe;
    }
    return true;
}

bool RusCheckCandidate(std::wstring_view lemma, const std::wstring& text1, const std::wstring& text2) {
    if (!RusCollectMatches(lemma.data(), lemma.size(), 1)) {
        return false;
    }
    bool accepted = false;
    for (TDictHandle& dict : LangGroups[langRussian]) {
        for (const int32_t hit : dict.Probe) {
            if (Table->MatchesParadigm(text1, text2, KnownParadigm(dict, hit))) {
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
    size_t length = 0;
    while (word && word[length] != 0 && length <= kMaxWordLength) { // longer words are refused
        ++length;
    }
    const std::wstring_view text(word ? word : L"", length);
    if (text.empty() || text.size() > kMaxWordLength) {
        result.Results.clear();
        return false;
    }
    DictResetHits(langRussian);
    for (TDictHandle& dict : LangGroups[langRussian]) {
        HeadwordsOf(dict);
    }
    static TAllSearch search; // the lookup is not re-entrant: one list serves every lookup
    search.clear();
    try {
        if (!Table) {
            if (RusLookupDirect(text.data(), text.size())) {
                BuildRussianResult(text, text, result, search, used);
            }
        } else {
            // Each candidate is tested as the table gives it, in the table's order, after the word as
            // it stands. Candidates that no Russian dictionary holds are not even given: most are
            // not words.
            static TLemmaFinder finder;
            finder.Start(text);
            Table->ForEachCandidate(text, [](int32_t record, const int32_t* alternatives, uint32_t count, size_t stemAt,
                                             size_t stemLength) {
                finder.Offer(record, alternatives, count, stemAt, stemLength);
            });
            finder.Resolve();
            if (finder.Collect(0, text)) {
                for (TDictHandle& dict : LangGroups[langRussian]) {
                    dict.Accepted = dict.Probe;
                }
                BuildRussianResult(text, text, result, search, used);
            }
            for (size_t i = 1; i < finder.Count(); ++i) {
                if (!finder.Found(i)) {
                    continue;
                }
                // RusCheckCandidate, with the record and alternative known instead of found in texts.
                const std::wstring_view lemma = finder.Lemma(i);
                if (!finder.Collect(i, lemma)) {
                    continue;
                }
                bool accepted = false;
                for (TDictHandle& dict : LangGroups[langRussian]) {
                    for (const int32_t hit : dict.Probe) {
                        if (Table->MatchesRecord(KnownParadigm(dict, hit), finder.Record(i), finder.Alternative(i))) {
                            dict.Accepted.push_back(hit);
                        }
                    }
                    accepted = accepted || !dict.Accepted.empty();
                }
                if (accepted) {
                    BuildRussianResult(lemma, text, result, search, used);
                }
            }
        }
    } catch (...) {
        // A dictionary naming a paradigm the table lacks: the next lookup starts clean.
        result.Results.clear();
        DictResetHits(langRussian);
        throw;
    }
    while (result.Results.size() > used) {
        Spare.push_back(std::move(result.Results.back()));
        result.Results.pop_back();
    }
    return used != 0;
}
