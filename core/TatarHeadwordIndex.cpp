#include "core/TatarHeadwordIndex.h"

#include <algorithm>
#include <cwchar>

void TKeyFilter::Reset(size_t items, size_t bitsPerItem) {
    size_t words = 1;
    while (words * 64 < items * bitsPerItem) {
        words *= 2;
    }
    bits_.assign(words, 0);
    mask_ = words - 1;
}

void THeadwordIndex::Build(const TDictHandle& dict) {
    owner_ = dict.Headwords.get();
    ownerRef_ = dict.Headwords;
    const auto count = static_cast<size_t>(std::max(dict.EntryCount, 0));
    size_t size = 16;
    while (4 * size < 5 * count) {
        size *= 2;
    }
    slots_.assign(size, TSlot{});
    mask_ = size - 1;
    capitals_.assign((count + 63) / 64, 0);
    anyCapital_ = false;
    std::vector<int32_t> headwords; // the first entry of each headword in the slots
    size_t letters = 0;
    for (int32_t e = 0; e < dict.EntryCount;) {
        int32_t next = e + 1;
        while (next < dict.EntryCount && SameHeadword(dict, e, next)) {
            ++next;
        }
        const wchar_t* headword = dict.Headword(e);
        size_t length = 0;
        while (length <= kMaxProbeLength && headword[length] != 0) {
            ++length;
        }
        // Longer than any probe, or empty as none is.
        if (length > 0 && length <= kMaxProbeLength) {
            letters += length;
            headwords.push_back(e);
            const uint64_t key = TTextKey::Of(headword, length);
            uint64_t at = TTextKey::Mix(key) & mask_;
            while (slots_[at].Key != 0) {
                at = (at + 1) & mask_;
            }
            TSlot& slot = slots_[at];
            slot.Key = key;
            slot.Entry = e;
            slot.Entries = static_cast<uint16_t>(std::min<int32_t>(next - e, kManyEntries));
            slot.Flags = dict.Entry(e).Flags;
            slot.SmallLetters = true;
            for (int32_t k = e; k < next && slot.SmallLetters; ++k) {
                const wchar_t* text = dict.Headword(k);
                slot.SmallLetters = IsPlainSmallCyrillic(text, std::wcslen(text));
            }
        }
        for (int32_t k = e; k < next; ++k) {
            if (IsCapitalLetter(dict.Headword(k)[0])) {
                capitals_[static_cast<size_t>(k) / 64] |= 1ull << (k % 64);
                anyCapital_ = true;
            }
        }
        e = next;
    }
    // Sixteen bits a headword, four a beginning: the filters are asked before most probes and
    // families of probes, and must stay in the cache.
    holds_.Reset(headwords.size(), 16);
    begins_.Reset(letters + 1, 4);
    begins_.Add(TTextKey::Mix(TTextKey::kEmpty));
    for (const int32_t e : headwords) {
        uint64_t key = TTextKey::kEmpty;
        for (const wchar_t* letter = dict.Headword(e); *letter != 0; ++letter) {
            key = TTextKey::Extend(key, *letter);
            begins_.Add(TTextKey::Mix(key));
        }
        holds_.Add(TTextKey::Mix(key));
    }
}

const THeadwordIndex::TSlot* THeadwordIndex::Find(const TProbeText& probe, const TDictHandle& dict) const {
    const uint64_t key = probe.Key();
    const uint64_t mixed = TTextKey::Mix(key);
    if (!holds_.MayHave(mixed)) {
        return nullptr;
    }
    for (uint64_t at = mixed & mask_; slots_[at].Key != 0; at = (at + 1) & mask_) {
        const TSlot& slot = slots_[at];
        if (slot.Key == key && (TTextKey::Exact(key) || probe.SameAs(dict.Headword(slot.Entry)))) {
            // The entry is read when the hit is chosen: ask for it now, to its flags (an entry may
            // straddle two lines).
            PrefetchLine(&dict.Entries[slot.Entry]);
            PrefetchLine(&dict.Entries[slot.Entry].Flags2);
            return &slot;
        }
    }
    return nullptr;
}

void THeadwordIndex::Prefetch(const TProbeText& text) const {
    const uint64_t mixed = TTextKey::Mix(text.Key());
    holds_.Prefetch(mixed);
    PrefetchLine(&slots_[mixed & mask_]);
}

namespace {

std::vector<THeadwordIndex>& HeadwordIndexes() {
    static std::vector<THeadwordIndex> indexes;
    return indexes;
}

} // namespace

bool AnyHeadwordBegins(const TProbeText& text) {
    const TLangGroup& group = LangGroups[langTatar];
    const std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    for (size_t d = 0; d < group.size(); ++d) {
        if (!group[d].Headwords || indexes[d].MayBegin(text)) {
            return true;
        }
    }
    return false;
}

void RefreshHeadwordIndexes() {
    const TLangGroup& group = LangGroups[langTatar];
    std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    indexes.resize(group.size());
    for (size_t d = 0; d < group.size(); ++d) {
        if (group[d].Headwords && !indexes[d].Serves(group[d])) {
            indexes[d].Build(group[d]);
        }
    }
}

bool TProbeText::Probe(uint8_t mask, uint8_t exclude) const {
    ++DictProbeCount;
    const std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    bool found = false;
    size_t d = 0;
    for (TDictHandle& dict : LangGroups[langTatar]) {
        const THeadwordIndex& index = indexes[d++];
        int32_t first = -1;
        int32_t end = -1; // past the headword's entries; -1 while they are counted by comparing
        if (dict.Headwords) {
            const THeadwordIndex::TSlot* slot = index.Find(*this, dict);
            if (slot == nullptr) {
                continue;
            }
            first = slot->Entry;
            // One entry, the most frequent case, is decided without reading it.
            if (slot->Entries == 1) {
                dict.CurEntry = first;
                const uint8_t flags = slot->Flags;
                if ((flags & mask) != 0 && ((flags & dfExactOnly) == 0 || exclude == 0) && DictIsNewHit(first, dict)) {
                    dict.Probe.push_back(first);
                    found = true;
                }
                continue;
            }
            if (slot->Entries != THeadwordIndex::kManyEntries) {
                end = first + slot->Entries;
            }
        } else {
            const std::wstring text = Text(); // an image opened without its set has no index
            first = DictFindWord(text.c_str(), text.size(), dict);
            while (first > 0 && THeadwordIndex::SameHeadword(dict, first - 1, first)) {
                --first;
            }
        }
        if (first < 0) {
            continue;
        }
        dict.CurEntry = first;
        for (int32_t k = first;
             k < dict.EntryCount && (k < end || (end < 0 && THeadwordIndex::SameHeadword(dict, k, first))); ++k) {
            const uint8_t flags = dict.Entry(k).Flags;
            if ((flags & mask) == 0 || ((flags & dfExactOnly) != 0 && exclude != 0) || !DictIsNewHit(k, dict)) {
                continue;
            }
            dict.Probe.push_back(k);
            found = true;
        }
    }
    return found;
}

void TProbeText::Prefetch() const {
    const TLangGroup& group = LangGroups[langTatar];
    const std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    for (size_t d = 0; d < group.size(); ++d) {
        if (group[d].Headwords) {
            indexes[d].Prefetch(*this);
        }
    }
}

bool AnyHeadwordCapitalized() {
    const TLangGroup& group = LangGroups[langTatar];
    const std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    for (size_t d = 0; d < group.size(); ++d) {
        if (!group[d].Headwords || indexes[d].AnyCapitalized()) {
            return true;
        }
    }
    return false;
}

bool HeadwordCapitalized(size_t d, int32_t entry) {
    const TDictHandle& dict = LangGroups[langTatar][d];
    if (!dict.Headwords) {
        return entry >= 0 && entry < dict.EntryCount && IsCapitalLetter(dict.Headword(entry)[0]);
    }
    return HeadwordIndexes()[d].Capitalized(entry);
}

bool WrittenAsProbe(const TProbeText& probe, size_t d) {
    const TDictHandle& dict = LangGroups[langTatar][d];
    if (!dict.Headwords) {
        return false;
    }
    const THeadwordIndex::TSlot* slot = HeadwordIndexes()[d].Find(probe, dict);
    return slot != nullptr && slot->SmallLetters && probe.SmallLetters();
}

void TLookupWord::Set(const wchar_t* word, size_t length) {
    text_.assign(word, length);
    prefix_[0] = TTextKey::kEmpty;
    for (size_t k = 0; k < length; ++k) {
        prefix_[k + 1] = TTextKey::Extend(prefix_[k], word[k]);
    }
    beginsFrom_ = length + 1;
    beginsEnd_ = length + 1;
}

void TLookupWord::FindBeginnings(size_t from) {
    // Each answer decides whether the next is asked: the memory is asked for all of them first.
    const TLangGroup& group = LangGroups[langTatar];
    const std::vector<THeadwordIndex>& indexes = HeadwordIndexes();
    for (size_t k = from; k <= text_.size(); ++k) {
        for (size_t d = 0; d < group.size(); ++d) {
            if (group[d].Headwords) {
                indexes[d].PrefetchBegins(Beginning(k));
            }
        }
    }
    beginsFrom_ = from;
    beginsEnd_ = from;
    while (beginsEnd_ <= text_.size() && AnyHeadwordBegins(Beginning(beginsEnd_))) {
        ++beginsEnd_;
    }
}
