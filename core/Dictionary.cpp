#include "core/Dictionary.h"

#include <algorithm>

#include "core/GlobalCustoms.h"
#include "core/TatAlphabet.h"

TLangGroup LangGroups[kLanguageCount];
uint64_t DictProbeCount = 0;

namespace {

// A free slot holds 0; fingerprints never do.
uint64_t WordKey(uint64_t state) {
    return state | 1;
}

uint32_t PrefixKey(uint64_t state) {
    return static_cast<uint32_t>(state ^ (state >> 32)) | 1;
}

template <class Slot> void Insert(std::vector<Slot>& slots, Slot mask, Slot key) {
    for (Slot at = key & mask;; at = (at + 1) & mask) {
        if (slots[at] == 0 || slots[at] == key) {
            slots[at] = key;
            return;
        }
    }
}

template <class Slot> bool Contains(const std::vector<Slot>& slots, Slot mask, Slot key) {
    for (Slot at = key & mask;; at = (at + 1) & mask) {
        if (slots[at] == key) {
            return true;
        }
        if (slots[at] == 0) {
            return false;
        }
    }
}

// The length of a text, counted no further than one unit past the longest headword.
size_t BoundedLength(const wchar_t* text) {
    size_t length = 0;
    while (length <= DictLayout::MaxHeadwordUnits && text[length] != 0) {
        ++length;
    }
    return length;
}

template <class Slot> void Size(std::vector<Slot>& slots, Slot& mask, size_t count) {
    size_t size = 16;
    while (size < 2 * count) {
        size *= 2;
    }
    slots.assign(size, 0);
    mask = static_cast<Slot>(size - 1);
}

} // namespace

// FNV-1a over the collation weights.
uint64_t THeadwordSet::Extend(uint64_t state, const wchar_t* text, size_t length) {
    for (size_t i = 0; i < length && text[i] != 0; ++i) {
        state = (state ^ TatWeight(text[i])) * 1099511628211ull;
    }
    return state;
}

THeadwordSet::THeadwordSet(const wchar_t* pool, const TDictEntry* entries, int32_t count, bool withPrefixes) {
    // Entries of one headword share its offset: each text is walked once, and no further than a
    // lookup can ask, so the set costs what the image holds, not entries times headword length.
    std::vector<const wchar_t*> headwords;
    {
        std::vector<uint32_t> seen;
        uint32_t seenMask = 0;
        Size(seen, seenMask, static_cast<size_t>(std::max(count, 0)));
        for (int32_t i = 0; i < count; ++i) {
            const auto key = static_cast<uint32_t>(entries[i].Headword) + 1;
            if (!Contains(seen, seenMask, key)) {
                Insert(seen, seenMask, key);
                headwords.push_back(pool + entries[i].Headword);
            }
        }
    }
    Size(slots_, mask_, headwords.size());
    size_t letters = 0;
    for (const wchar_t* headword : headwords) {
        const size_t length = BoundedLength(headword);
        // Longer than any word a lookup asks for: no probe can equal it or stop inside it.
        if (length <= DictLayout::MaxHeadwordUnits) {
            Insert(slots_, mask_, WordKey(Extend(Start(), headword, length)));
            letters += length + 1;
        }
    }
    if (!withPrefixes) {
        return;
    }
    Size(prefixes_, prefixMask_, letters);
    for (const wchar_t* headword : headwords) {
        const size_t length = BoundedLength(headword);
        if (length > DictLayout::MaxHeadwordUnits) {
            continue;
        }
        uint64_t state = Start();
        Insert(prefixes_, prefixMask_, PrefixKey(state));
        for (size_t i = 0; i < length; ++i) {
            state = Extend(state, headword + i, 1);
            Insert(prefixes_, prefixMask_, PrefixKey(state));
        }
    }
}

bool THeadwordSet::MayHoldState(uint64_t state) const {
    return Contains(slots_, mask_, WordKey(state));
}

bool THeadwordSet::MayBegin(uint64_t state) const {
    return prefixes_.empty() || Contains(prefixes_, prefixMask_, PrefixKey(state));
}

TDictHandle MakeDictHandle(void* view) {
    return MakeDictHandle(view, true);
}

TDictHandle MakeDictHandle(void* view, bool withHeadwordSet) {
    TDictHandle dict;
    auto* bytes = static_cast<unsigned char*>(view);
    dict.View = view;
    dict.Entries = reinterpret_cast<const TDictEntry*>(bytes + DictLayout::HeaderSize);
    dict.Pool = reinterpret_cast<const wchar_t*>(bytes + DictLayout::HeaderSize + DictImagePoolOffset(view));
    dict.EntryCount = DictImageCount(view);
    if (withHeadwordSet) {
        dict.Headwords = std::make_shared<THeadwordSet>(dict.Pool, dict.Entries, dict.EntryCount, true);
    }
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

bool DictCollectMatches(const wchar_t* word, size_t length, TLanguage direction, uint8_t mask, uint8_t exclude) {
    ++DictProbeCount;
    if (!IsLanguage(direction)) {
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
            if (direction == langTatar && !DictIsNewHit(k, dict)) {
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

bool DictResetHits(TLanguage direction) {
    if (!IsLanguage(direction)) {
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

const TDictHandle* CurrentDict(const TLangGroup (&groups)[kLanguageCount], const TGlobalCustoms& block) {
    if (!IsLanguage(block.SourceLang)) {
        return nullptr;
    }
    const TLangGroup& group = groups[block.SourceLang];
    const int32_t index = block.CurDict;
    if (index < 0 || static_cast<size_t>(index) >= group.size()) {
        return nullptr;
    }
    const TDictHandle& dict = group[index];
    return dict.CurEntry >= 0 && dict.CurEntry < dict.EntryCount ? &dict : nullptr;
}

} // namespace

const wchar_t* DictCurrentHeadword(const TLangGroup (&groups)[kLanguageCount], const TGlobalCustoms& block) {
    const TDictHandle* dict = CurrentDict(groups, block);
    return dict ? dict->Headword(dict->CurEntry) : L"";
}

const wchar_t* DictCurrentTranslation(const TLangGroup (&groups)[kLanguageCount], const TGlobalCustoms& block) {
    const TDictHandle* dict = CurrentDict(groups, block);
    return dict ? dict->Article(dict->CurEntry) : L"";
}
