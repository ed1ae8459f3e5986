#include "core/RussianHeadwordIndex.h"

#include <algorithm>

#include "core/RTB_Deal.h"

namespace {

// Headwords stored as different texts can still be one run (capital and small letters).
bool SameRun(const TDictHandle& dict, int32_t a, int32_t b) {
    return dict.Entry(a).Headword == dict.Entry(b).Headword || TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
}

} // namespace

uint64_t RusTextSum(std::wstring_view text) {
    uint64_t sum = 0;
    for (const wchar_t c : text) {
        sum = RusSumStep(sum, c);
    }
    return sum;
}

TRusLemmaEndings::TRusLemmaEndings(const TRTB_Table* table) {
    const int32_t count = table ? table->AlternativeCount() : 0;
    for (int32_t id = 0; id < count; ++id) {
        const std::wstring_view text = table->AlternativeText(id);
        Endings.push_back({RusTextSum(text), RusRadixPower(text.size())});
        HasYe.push_back(std::any_of(text.begin(), text.end(), RusIsYe));
    }
}

std::shared_ptr<const TRusHeadwords> MakeRusHeadwords(const TDictHandle& dict) {
    struct TRun {
        uint64_t Hash;
        TRusHeadwords::TSlot Slot;
    };
    std::vector<TRun> runs;
    for (int32_t i = 0; i < dict.EntryCount;) {
        int32_t run = 1;
        while (i + run < dict.EntryCount && SameRun(dict, i + run, i)) {
            ++run;
        }
        const uint64_t hash = RusHashOf(RusTextSum(dict.Headword(i)));
        runs.push_back(
            {hash, {static_cast<uint32_t>(hash >> 32), static_cast<uint32_t>(dict.Entry(i).Headword), i, run}});
        i += run;
    }
    auto index = std::make_shared<TRusHeadwords>();
    // Two thirds full at most: a run is mostly found in its home slot's cache line.
    index->Slots.assign(runs.size() + runs.size() / 2 + 16, TRusHeadwords::TSlot{});
    // About 24 bits per run: hardly one candidate in a hundred that is no headword passes.
    index->Filter.assign(runs.size() * 24 / 64 + 1, 0);
    for (const TRun& run : runs) {
        size_t at = index->Home(run.Hash);
        while (index->Slots[at].Run != 0) {
            at = index->Following(at);
        }
        index->Slots[at] = run.Slot;
        index->Filter[index->FilterWord(run.Hash)] |= TRusHeadwords::FilterBits(run.Hash);
    }
    return index;
}

bool RusYoSpellingOf(const wchar_t* headword, std::wstring_view word) {
    bool yoForYe = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (headword[i] == 0) {
            return false;
        }
        if (RusIsYe(word[i]) && RusIsYo(headword[i])) {
            yoForYe = true;
        } else if (TatWeight(word[i]) != TatWeight(headword[i])) {
            return false;
        }
    }
    return yoForYe && headword[word.size()] == 0;
}
