#include "core/Dictionary.h"

#include <algorithm>

#include "core/GlobalCustoms.h"
#include "core/TatAlphabet.h"

TLangGroup LangGroups[2];
uint64_t DictProbeCount = 0;

namespace {

// FNV-1a over the collation weights up to the length or a zero; never 0, which marks a free slot.
uint64_t WeightHash(const wchar_t* word, size_t length) {
    uint64_t hash = 1469598103934665603ull;
    for (size_t i = 0; i < length && word[i] != 0; ++i) {
        hash = (hash ^ TatWeight(word[i])) * 1099511628211ull;
    }
    return hash | 1;
}

} // namespace

THeadwordSet::THeadwordSet(const wchar_t* pool, const TDictEntry* entries, int32_t count) {
    size_t size = 16;
    while (size < 2 * static_cast<size_t>(count)) {
        size *= 2;
    }
    slots_.assign(size, 0);
    mask_ = size - 1;
    for (int32_t i = 0; i < count; ++i) {
        const uint64_t hash = WeightHash(pool + entries[i].Headword, SIZE_MAX);
        for (uint64_t at = hash & mask_;; at = (at + 1) & mask_) {
            if (slots_[at] == 0 || slots_[at] == hash) {
                slots_[at] = hash;
                break;
            }
        }
    }
}

bool THeadwordSet::MayHold(const wchar_t* word, size_t length) const {
    const uint64_t hash = WeightHash(word, length);
    for (uint64_t at = hash & mask_;; at = (at + 1) & mask_) {
        if (slots_[at] == hash) {
            return true;
        }
        if (slots_[at] == 0) {
            return false;
        }
    }
}

TDictHandle MakeDictHandle(void* view) {
    TDictHandle dict;
    auto* bytes = static_cast<unsigned char*>(view);
    dict.View = view;
    dict.Entries = reinterpret_cast<const TDictEntry*>(bytes + DictLayout::HeaderSize);
    dict.Pool = reinterpret_cast<const wchar_t*>(bytes + DictLayout::HeaderSize + DictImagePoolOffset(view));
    dict.EntryCount = DictImageCount(view);
    dict.Headwords = std::make_shared<THeadwordSet>(dict.Pool, dict.Entries, dict.EntryCount);
    return dict;
}

int32_t DictFindWord(const wchar_t* word, size_t length, const TDictHandle& dict) {
    const int64_t n = dict.EntryCount;
    if (word == nullptr || n <= 0) {
        return -1;
    }
    // The first probe is entry 0 and the second the last entry, so words outside the index
    // cost at most two compares.
    int64_t lo = 0, hi = 2 * (n - 1), step = 0, mid;
    int c;
    do {
        mid = lo + step;
        c = TatCompareStrLen(word, length, dict.Headword(static_cast<int32_t>(mid)));
        if (c < 0) {
            hi = mid;
        } else if (c > 0) {
            lo = mid;
        } else {
            hi = lo;
        }
        step = (hi - lo) / 2;
    } while (step != 0 && lo + step < n);
    return c == 0 ? static_cast<int32_t>(mid) : -1;
}

bool DictIsNewHit(int32_t entry, const TDictHandle& dict) {
    return std::find(dict.Probe.begin(), dict.Probe.end(), entry) == dict.Probe.end() &&
           std::find(dict.Reported.begin(), dict.Reported.end(), entry) == dict.Reported.end();
}

namespace {

// Headwords stored as different texts can still be equal in Tatar order (capital and small
// letters); they form one run, wherever the search landed in it.
bool SameHeadword(const TDictHandle& dict, int32_t a, int32_t b) {
    return dict.Entry(a).Headword == dict.Entry(b).Headword || TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
}

} // namespace

bool DictCollectMatches(const wchar_t* word, size_t length, int direction, uint8_t mask, uint8_t exclude) {
    ++DictProbeCount;
    if (direction != 0 && direction != 1) {
        return false;
    }
    bool found = false;
    for (TDictHandle& dict : LangGroups[direction]) {
        if (word == nullptr || (dict.Headwords && !dict.Headwords->MayHold(word, length))) {
            continue;
        }
        int32_t first = DictFindWord(word, length, dict);
        if (first < 0) {
            continue;
        }
        while (first > 0 && SameHeadword(dict, first - 1, first)) {
            --first;
        }
        dict.CurEntry = first;
        for (int32_t k = first; k < dict.EntryCount && SameHeadword(dict, k, first); ++k) {
            if (direction == 0 && !DictIsNewHit(k, dict)) {
                continue;
            }
            const uint8_t flags = dict.Entry(k).Flags;
            if ((flags & mask) == 0 || ((flags & dfExactOnly) != 0 && exclude != 0)) {
                continue;
            }
            dict.Probe.push_back(k);
            found = true;
        }
    }
    return found;
}

bool DictResetHits(int direction) {
    if (direction != 0 && direction != 1) {
        return false;
    }
    for (TDictHandle& dict : LangGroups[direction]) {
        dict.Reported.clear();
        dict.Probe.clear();
        dict.Accepted.clear();
    }
    return true;
}

void DictOrderMatches(TDictHandle& dict) {
    std::stable_sort(dict.Accepted.begin(), dict.Accepted.end(),
                     [&](int32_t a, int32_t b) { return dict.Entry(a).Homonym < dict.Entry(b).Homonym; });
}

namespace {

const TDictHandle* CurrentDict(const TLangGroup (&groups)[2]) {
    const TGlobalCustoms* block = GlobalCustoms;
    if (block == nullptr || block->SourceLang > 1) {
        return nullptr;
    }
    const TLangGroup& group = groups[block->SourceLang];
    const int32_t index = block->CurDict;
    if (index < 0 || static_cast<size_t>(index) >= group.size()) {
        return nullptr;
    }
    const TDictHandle& dict = group[index];
    return dict.CurEntry >= 0 && dict.CurEntry < dict.EntryCount ? &dict : nullptr;
}

} // namespace

const wchar_t* DictCurrentHeadword(const TLangGroup (&groups)[2]) {
    const TDictHandle* dict = CurrentDict(groups);
    return dict ? dict->Headword(dict->CurEntry) : L"";
}

const wchar_t* DictCurrentTranslation(const TLangGroup (&groups)[2]) {
    const TDictHandle* dict = CurrentDict(groups);
    return dict ? dict->Article(dict->CurEntry) : L"";
}
