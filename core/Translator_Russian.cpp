// Russian lookup: the word as it stands, then every lemma candidate of the paradigm table that is
// a headword whose own paradigm allows the inflection.

#include <algorithm>
#include <cwchar>
#include <memory>

#include "core/DictImage.h"
#include "core/Exceptions.h"
#include "core/RTB_Deal.h"
#include "core/TatAlphabet.h"
#include "core/TextHash.h"
#include "core/Translator.h"

namespace {

std::unique_ptr<TRTB_Table> Table;
uint64_t TableGeneration = 0; // changes with the table, so that indexes made for another are remade

bool IsYe(wchar_t c) {
    return c == L'е' || c == L'Е';
}

bool IsYo(wchar_t c) {
    return c == L'ё' || c == L'Ё';
}

// Collation weights with ё weighing as е, so that a word written with е for ё meets its headword.
unsigned FoldedWeight(wchar_t c) {
    return IsYo(c) ? TatWeight(L'е') : TatWeight(c);
}

constexpr uint64_t kKeyStart = 1469598103934665603ull;

uint64_t KeyStep(uint64_t state, wchar_t c) {
    return (state ^ FoldedWeight(c)) * 1099511628211ull;
}

uint64_t TextKey(std::wstring_view text) {
    uint64_t state = kKeyStart;
    for (const wchar_t c : text) {
        state = KeyStep(state, c);
    }
    return state;
}

uint32_t SlotKey(uint64_t state) {
    return static_cast<uint32_t>(state ^ (state >> 32));
}

// The lemma endings of the table as folded weights, by id; id 0 is the empty ending, which every
// whole headword has.
struct TFoldedEndings {
    uint64_t Generation = ~0ull;
    std::vector<std::wstring> Texts; // reserved once: the index holds views of them
    TTextIndex<int32_t> Ids;
    std::vector<int32_t> OfAlternative; // of each alternative id of the table
    size_t Longest = 0;
};

TFoldedEndings Endings;

const TFoldedEndings& FoldedEndings() {
    if (Endings.Generation == TableGeneration) {
        return Endings;
    }
    TFoldedEndings& e = Endings;
    e.Ids.Clear();
    e.OfAlternative.clear();
    e.Texts.clear();
    e.Longest = 0;
    const int32_t count = Table ? Table->AlternativeCount() : 0;
    e.Texts.reserve(static_cast<size_t>(count) + 1);
    auto add = [&e](const std::wstring& text) {
        std::wstring folded;
        for (const wchar_t c : text) {
            folded += static_cast<wchar_t>(FoldedWeight(c));
        }
        e.Longest = std::max(e.Longest, text.size());
        if (const int32_t* known = e.Ids.Find(folded)) {
            return *known;
        }
        e.Texts.push_back(std::move(folded));
        const auto id = static_cast<int32_t>(e.Texts.size() - 1);
        e.Ids.Insert(e.Texts.back(), id);
        return id;
    };
    add(std::wstring());
    for (int32_t a = 0; a < count; ++a) {
        e.OfAlternative.push_back(add(Table->Alternative(a)));
    }
    e.Generation = TableGeneration;
    return e;
}

// Headwords stored as different texts can still be one run (capital and small letters).
bool SameRun(const TDictHandle& dict, int32_t a, int32_t b) {
    return dict.Entry(a).Headword == dict.Entry(b).Headword || TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
}

} // namespace

// Every way each headword splits into a stem and a lemma ending of the table, by the stem: one
// lookup of a stem answers for all the lemma candidates a record makes of it, and tells where their
// headwords are without a search. Keys weigh ё as е, so a headword with ё is found by its spelling
// with е as well; the texts themselves tell them apart.
struct TRusHeadwords {
    struct TSplit {
        int32_t First;     // first entry of the headword's run
        int32_t Run;       // entries in the run
        uint32_t Headword; // offset of its text in the pool
        int32_t Ending;    // folded lemma ending
    };
    // A stem of one split holds it in its slot; a stem of more holds where they are in Splits.
    struct TSlot {
        uint32_t Key = 0;
        int32_t First = 0;     // the split's First, or the first of the stem's splits in Splits
        uint32_t Headword = 0; // the split's Headword, or how many splits the stem has
        uint16_t Ending = 0;   // the split's Ending, or bit (ending % 16) of each of the stem's splits
        uint16_t Run = 0;      // the split's Run; kFree or kMany
    };
    static constexpr uint16_t kFree = 0, kMany = 0xFFFF;
    uint64_t Generation = 0;    // of the table whose endings it splits by
    std::vector<TSplit> Splits; // grouped by stem key
    std::vector<TSlot> Slots;
    // One bit per stem key, small enough to stay in the cache: most stems that a word's tails leave
    // are no headword's, and are told so without a look at the slots.
    std::vector<uint64_t> Stems;
};

namespace {

// The splits of one stem: one held by value, or a range of Splits.
struct TStemSplits {
    const TRusHeadwords::TSplit* Begin = nullptr;
    const TRusHeadwords::TSplit* End = nullptr;
    TRusHeadwords::TSplit Single{};
    uint32_t Endings = 0; // bit (ending % 16) of each split

    bool Empty() const { return Begin == End && Endings == 0; }
    bool MayHold(int32_t ending) const { return ((Endings >> (ending & 15)) & 1u) != 0; }
    template <class Visit> bool Any(Visit&& visit) const {
        if (Begin == End) {
            return Endings != 0 && visit(Single);
        }
        return std::any_of(Begin, End, visit);
    }
};

// A slot for the key among count slots (not a power of two: the table is kept small).
size_t SlotOf(uint32_t key, size_t count) {
    return static_cast<size_t>((static_cast<uint64_t>(key * 0x9E3779B9u) * count) >> 32);
}

size_t StemBit(uint32_t key, size_t bits) {
    return static_cast<size_t>((key * 0x85EBCA6Bu) >> 7) & (bits - 1);
}

// The splits whose stem has the key.
TStemSplits FindStem(const TRusHeadwords& index, uint64_t stemState) {
    const uint32_t key = SlotKey(stemState);
    const size_t bit = StemBit(key, index.Stems.size() * 64);
    if (((index.Stems[bit / 64] >> (bit % 64)) & 1u) == 0) {
        return {};
    }
    const size_t count = index.Slots.size();
    for (size_t at = SlotOf(key, count);; at = at + 1 == count ? 0 : at + 1) {
        const TRusHeadwords::TSlot& slot = index.Slots[at];
        if (slot.Run == TRusHeadwords::kFree) {
            return {};
        }
        if (slot.Key == key) {
            TStemSplits splits;
            if (slot.Run == TRusHeadwords::kMany) {
                splits.Begin = index.Splits.data() + slot.First;
                splits.End = splits.Begin + slot.Headword;
                splits.Endings = slot.Ending;
            } else {
                splits.Single = {slot.First, slot.Run, slot.Headword, slot.Ending};
                splits.Endings = 1u << (slot.Ending & 15);
            }
            return splits;
        }
    }
}

// Starts loading the slot of a stem that may be there.
void PrefetchStem(const TRusHeadwords& index, uint64_t stemState) {
    const uint32_t key = SlotKey(stemState);
    const size_t bit = StemBit(key, index.Stems.size() * 64);
    if (((index.Stems[bit / 64] >> (bit % 64)) & 1u) != 0) {
        __builtin_prefetch(&index.Slots[SlotOf(key, index.Slots.size())]);
    }
}

// Starts loading what a probe of the stem's splits reads: the splits, or the single split's text
// and entry.
void PrefetchSplits(const TDictHandle& dict, const TStemSplits& splits) {
    if (splits.Begin != splits.End) {
        __builtin_prefetch(splits.Begin);
    } else if (splits.Endings != 0) {
        __builtin_prefetch(dict.Pool + splits.Single.Headword);
        __builtin_prefetch(&dict.Entry(splits.Single.First));
    }
}

size_t PowerOfTwoAtLeast(size_t count) {
    size_t size = 16;
    while (size < count) {
        size *= 2;
    }
    return size;
}

std::shared_ptr<const TRusHeadwords> MakeHeadwords(const TDictHandle& dict, const TFoldedEndings& endings) {
    struct TKeyed {
        uint32_t Key;
        TRusHeadwords::TSplit Split;
    };
    std::vector<TKeyed> all;
    std::vector<uint64_t> states;
    std::wstring folded;
    for (int32_t i = 0; i < dict.EntryCount;) {
        int32_t run = 1;
        while (i + run < dict.EntryCount && SameRun(dict, i + run, i)) {
            ++run;
        }
        const wchar_t* headword = dict.Headword(i);
        const size_t n = std::wcslen(headword);
        states.assign(1, kKeyStart);
        folded.clear();
        for (size_t j = 0; j < n; ++j) {
            states.push_back(KeyStep(states.back(), headword[j]));
            folded += static_cast<wchar_t>(FoldedWeight(headword[j]));
        }
        for (size_t length = 0; length <= std::min(n, endings.Longest); ++length) {
            if (const int32_t* ending = endings.Ids.Find(std::wstring_view(folded).substr(n - length))) {
                all.push_back(
                    {SlotKey(states[n - length]), {i, run, static_cast<uint32_t>(dict.Entry(i).Headword), *ending}});
            }
        }
        i += run;
    }
    std::sort(all.begin(), all.end(), [](const TKeyed& a, const TKeyed& b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Split.First < b.Split.First;
    });
    size_t stems = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        stems += i == 0 || all[i].Key != all[i - 1].Key ? 1 : 0;
    }
    auto index = std::make_shared<TRusHeadwords>();
    index->Generation = endings.Generation;
    index->Slots.assign(stems + stems / 2 + 16, TRusHeadwords::TSlot{});
    index->Stems.assign(PowerOfTwoAtLeast(16 * stems + 64) / 64, 0);
    const size_t count = index->Slots.size();
    for (size_t i = 0; i < all.size();) {
        const uint32_t key = all[i].Key;
        size_t end = i;
        while (end < all.size() && all[end].Key == key) {
            ++end;
        }
        const TRusHeadwords::TSplit& first = all[i].Split;
        TRusHeadwords::TSlot slot{key, first.First, first.Headword, static_cast<uint16_t>(first.Ending),
                                  static_cast<uint16_t>(first.Run)};
        if (end - i > 1 || first.Ending >= TRusHeadwords::kMany || first.Run >= TRusHeadwords::kMany) {
            slot = {key, static_cast<int32_t>(index->Splits.size()), static_cast<uint32_t>(end - i), 0,
                    TRusHeadwords::kMany};
            for (size_t j = i; j < end; ++j) {
                index->Splits.push_back(all[j].Split);
                slot.Ending = static_cast<uint16_t>(slot.Ending | (1u << (all[j].Split.Ending & 15)));
            }
        }
        const size_t bit = StemBit(key, index->Stems.size() * 64);
        index->Stems[bit / 64] |= uint64_t{1} << (bit % 64);
        size_t at = SlotOf(key, count);
        while (index->Slots[at].Run != TRusHeadwords::kFree) {
            at = at + 1 == count ? 0 : at + 1;
        }
        index->Slots[at] = slot;
        i = end;
    }
    return index;
}

const TRusHeadwords& HeadwordsOf(TDictHandle& dict) {
    const TFoldedEndings& endings = FoldedEndings();
    if (!dict.RusHeadwords || dict.RusHeadwords->Generation != endings.Generation) {
        dict.RusHeadwords = MakeHeadwords(dict, endings);
    }
    return *dict.RusHeadwords;
}

// The headword is the word with ё in at least one place where the word has е (else it is the
// word's own headword), and the word's letters everywhere else.
bool YoSpellingOf(const wchar_t* headword, std::wstring_view word) {
    bool yoForYe = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (headword[i] == 0) {
            return false;
        }
        if (IsYe(word[i]) && IsYo(headword[i])) {
            yoForYe = true;
        } else if (TatWeight(word[i]) != TatWeight(headword[i])) {
            return false;
        }
    }
    return yoForYe && headword[word.size()] == 0;
}

// Appends the entries of the run that fit (every part of speech; with exclude, no exact-form-only
// entry) to the dictionary's Probe, as DictCollectMatches does.
bool CollectRun(TDictHandle& dict, const TRusHeadwords::TSplit& split, uint8_t exclude) {
    dict.CurEntry = split.First;
    bool found = false;
    for (int32_t k = split.First; k < split.First + split.Run; ++k) {
        const uint8_t flags = dict.Entry(k).Flags;
        if ((flags & dmAll) == 0 || ((flags & dfExactOnly) != 0 && exclude != 0)) {
            continue;
        }
        dict.Probe.push_back(k);
        found = true;
    }
    return found;
}

// Of the splits, those with the ending: the run of the headword equal to the lemma, then the runs
// of the headwords that spell it with ё, in index order.
bool CollectRuns(TDictHandle& dict, const TStemSplits& splits, int32_t ending, std::wstring_view lemma,
                 uint8_t exclude) {
    if (!splits.MayHold(ending)) {
        return false;
    }
    bool found = false;
    splits.Any([&](const TRusHeadwords::TSplit& s) {
        if (s.Ending != ending || TatCompareStrLen(lemma.data(), lemma.size(), dict.Pool + s.Headword) != 0) {
            return false;
        }
        found = CollectRun(dict, s, exclude);
        return true;
    });
    if (std::any_of(lemma.begin(), lemma.end(), IsYe)) {
        splits.Any([&](const TRusHeadwords::TSplit& s) {
            if (s.Ending == ending && YoSpellingOf(dict.Pool + s.Headword, lemma)) {
                found = CollectRun(dict, s, exclude) || found;
            }
            return false;
        });
    }
    return found;
}

// The filter and the probes of one lookup's lemma candidates: a record's stem is looked up once in
// each dictionary's index, and its alternatives are told apart by their endings there. The stems
// of a word are told first, so that the loads of their slots, and then of what the slots point
// to, are under way together rather than one after another.
class TLemmaFinder final : public TRTB_Table::TLemmaFilter {
public:
    void Reset(std::wstring_view word) {
        word_ = word;
        states_[0] = kKeyStart;
        for (size_t i = 0; i < word.size(); ++i) {
            states_[i + 1] = KeyStep(states_[i], word[i]);
        }
        dicts_ = LangGroups[langRussian].size();
        groups_.resize((kStems + 1) * dicts_);
        stems_ = 0;
        current_ = nullptr;
    }

    void Prepare(std::wstring_view stem) override {
        if (Known(stem) < stems_ || stems_ == kStems) {
            return;
        }
        stem_[stems_] = {stem, StateOf(stem), false};
        for (const TDictHandle& dict : LangGroups[langRussian]) {
            PrefetchStem(*dict.RusHeadwords, stem_[stems_].State);
        }
        ++stems_;
    }

    void Prepared() override {
        for (size_t i = 0; i < stems_; ++i) {
            if (!stem_[i].Resolved) {
                Resolve(i);
            }
        }
    }

    bool MayBegin(std::wstring_view stem) override {
        current_ = &groups_[Tell(stem) * dicts_];
        return std::any_of(current_, current_ + dicts_, [](const TStemSplits& g) { return !g.Empty(); });
    }

    bool MayBe(std::wstring_view, int32_t alternative) override {
        const int32_t ending = Endings.OfAlternative[static_cast<size_t>(alternative)];
        return std::any_of(current_, current_ + dicts_, [ending](const TStemSplits& group) {
            return group.MayHold(ending) &&
                   group.Any([ending](const TRusHeadwords::TSplit& s) { return s.Ending == ending; });
        });
    }

    // Probes the lemma that the current stem and the alternative make (RusCollectMatches, exclude 1).
    // RusLookupDirect: the word as a whole is the stem of the empty ending, told like the others.
    bool LookupDirect() {
        ++DictProbeCount;
        const size_t i = Tell(word_);
        bool found = false;
        for (size_t d = 0; d < dicts_; ++d) {
            found = CollectRuns(LangGroups[langRussian][d], groups_[i * dicts_ + d], 0, word_, 0) || found;
        }
        if (found) {
            for (TDictHandle& dict : LangGroups[langRussian]) {
                dict.Accepted = dict.Probe;
            }
        }
        return found;
    }

    bool Collect(std::wstring_view lemma, int32_t alternative) {
        ++DictProbeCount;
        const int32_t ending = Endings.OfAlternative[static_cast<size_t>(alternative)];
        bool found = false;
        for (size_t d = 0; d < dicts_; ++d) {
            found = CollectRuns(LangGroups[langRussian][d], current_[d], ending, lemma, 1) || found;
        }
        return found;
    }

private:
    static constexpr size_t kStems = 32;

    struct TStem {
        std::wstring_view Text;
        uint64_t State = 0;
        bool Resolved = false;
    };

    // The place of the stem's groups, looked up now if the stem was not told (in the last place
    // when all are taken).
    size_t Tell(std::wstring_view stem) {
        size_t i = Known(stem);
        if (i == stems_) {
            i = std::min(stems_, kStems);
            stem_[i] = {stem, StateOf(stem), false};
            stems_ += stems_ < kStems ? 1 : 0;
        }
        if (!stem_[i].Resolved) {
            Resolve(i);
        }
        return i;
    }

    void Resolve(size_t i) {
        stem_[i].Resolved = true;
        for (size_t d = 0; d < dicts_; ++d) {
            TStemSplits& group = groups_[i * dicts_ + d];
            group = FindStem(*LangGroups[langRussian][d].RusHeadwords, stem_[i].State);
            PrefetchSplits(LangGroups[langRussian][d], group);
        }
    }

    // Stems without a prefix begin the word: their keys are ready.
    uint64_t StateOf(std::wstring_view stem) const {
        return stem.data() == word_.data() ? states_[stem.size()] : TextKey(stem);
    }

    size_t Known(std::wstring_view stem) const {
        size_t i = 0;
        while (i < stems_ && (stem_[i].Text.data() != stem.data() || stem_[i].Text.size() != stem.size())) {
            ++i;
        }
        return i;
    }

    std::wstring_view word_;
    uint64_t states_[kMaxWordLength + 1] = {};
    size_t dicts_ = 0;
    TStem stem_[kStems + 1];
    size_t stems_ = 0;
    std::vector<TStemSplits> groups_; // per stem, per dictionary
    const TStemSplits* current_ = nullptr;
};

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
        result.Word.assign(word.substr(0, kMaxWordLength));
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
    analysis.BaseForm.assign(base.substr(0, std::find(base.begin(), base.end(), L'\0') - base.begin()));
    size_t filled = 0;
    for (size_t d = 0; d < group.size(); ++d) {
        TDictHandle& dict = group[d];
        if (dict.Accepted.empty()) {
            continue;
        }
        // Ordered by homonym number, equal numbers keeping their order (DictOrderMatches).
        TArrInt& accepted = dict.Accepted;
        for (size_t i = 1; i < accepted.size(); ++i) {
            const int32_t hit = accepted[i];
            size_t j = i;
            for (; j > 0 && dict.Entry(accepted[j - 1]).Homonym > dict.Entry(hit).Homonym; --j) {
                accepted[j] = accepted[j - 1];
            }
            accepted[j] = hit;
        }
        if (filled == analysis.Dictionaries.size()) {
            analysis.Dictionaries.emplace_back();
        }
        TDictSearchResult& hits = analysis.Dictionaries[filled++];
        hits.Title = DictImageTitle(dict.View);
        hits.DictIndex = static_cast<int32_t>(d);
        hits.Items.clear();
        for (const int32_t k : accepted) {
            const TDictEntry& entry = dict.Entry(k);
            hits.Items.push_back(
                {static_cast<uint32_t>(k), dict.Headword(k), dict.Article(k), entry.Flags, entry.Flags2});
        }
        dict.Reported.insert(dict.Reported.end(), accepted.begin(), accepted.end());
        accepted.clear();
    }
    analysis.Dictionaries.resize(filled);
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
    ++TableGeneration;
}

void FreeParadigmTable() {
    Table.reset();
    ++TableGeneration;
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
    const uint64_t state = TextKey(text);
    bool found = false;
    for (TDictHandle& dict : LangGroups[langRussian]) {
        found = CollectRuns(dict, FindStem(HeadwordsOf(dict), state), 0, text, exclude) || found;
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
    const std::wstring_view text(word ? word : L"", word ? std::wcslen(word) : 0);
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
            // Each candidate is tested as the table gives it, in the table's order. Candidates that
            // no Russian dictionary holds are not even given: most are not words. The word as it
            // stands is looked up first, while the stems' slots load.
            static TLemmaFinder finder;
            finder.Reset(text);
            Table->ForEachLemma(
                text, &finder,
                [&](std::wstring_view lemma, int32_t record, int32_t alternative) {
                    // RusCheckCandidate, with the record's groups looked up instead of found in texts.
                    if (!finder.Collect(lemma, alternative)) {
                        return;
                    }
                    bool accepted = false;
                    for (TDictHandle& dict : LangGroups[langRussian]) {
                        for (const int32_t hit : dict.Probe) {
                            if (Table->MatchesRecord(KnownParadigm(dict, hit), record, alternative)) {
                                dict.Accepted.push_back(hit);
                            }
                        }
                        accepted = accepted || !dict.Accepted.empty();
                    }
                    if (accepted) {
                        BuildRussianResult(lemma, text, result, search, used);
                    }
                },
                [&] {
                    // The word as it stands comes first, looked up while the stems' slots load.
                    finder.Prepare(text);
                    if (finder.LookupDirect()) {
                        BuildRussianResult(text, text, result, search, used);
                    }
                });
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
