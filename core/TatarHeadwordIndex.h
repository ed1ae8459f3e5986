#pragma once
// The Tatar analysis's own index of a dictionary's headwords, and the probe texts it is asked with.
// Part of the analysis (Translator_Tatar.cpp): not re-entrant, built for each opened image.

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dictionary.h"
#include "core/TatAlphabet.h"

// A probe text: a beginning of the word (or a text of its own) with up to three letters added, its
// fingerprint kept along. Nothing is copied until a headword is compared with it.
class TProbeText {
public:
    TProbeText(const wchar_t* text, size_t keep, uint64_t state) : base_(text), keep_(keep), state_(state) {}
    explicit TProbeText(const wchar_t* text) : TProbeText(text, std::wcslen(text), 0) {
        state_ = THeadwordSet::Extend(THeadwordSet::Start(), text, keep_);
    }
    // The probes add at most three letters (S + а + ү after a changed last letter).
    TProbeText Plus(wchar_t letter) const {
        TProbeText longer = *this;
        if (longer.count_ < kAdded) {
            longer.added_[longer.count_++] = letter;
            longer.state_ = THeadwordSet::Extend(state_, &letter, 1);
        }
        return longer;
    }
    size_t Length() const { return keep_ + count_; }
    wchar_t At(size_t i) const { return i < keep_ ? base_[i] : added_[i - keep_]; }
    wchar_t Last() const { return At(Length() - 1); }
    bool Is(std::wstring_view text) const {
        if (text.size() != Length()) {
            return false;
        }
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != At(i)) {
                return false;
            }
        }
        return true;
    }
    uint64_t State() const { return state_; }
    // Whether some headword of the Tatar dictionaries may begin with the text; probing it
    // collects the entries of its headword (both in Translator_Tatar.cpp).
    bool MayBegin() const;
    bool Probe(uint8_t mask, uint8_t exclude) const;
    // Equality in the Tatar order, as the dictionary search compares.
    bool SameAs(const wchar_t* headword) const {
        size_t i = 0;
        for (; i < Length(); ++i) {
            if (headword[i] == 0 || TatWeight(headword[i]) != TatWeight(At(i))) {
                return false;
            }
        }
        return headword[i] == 0;
    }
    std::wstring Text() const {
        std::wstring text(base_, keep_);
        text.append(added_, count_);
        return text;
    }

private:
    static constexpr size_t kAdded = 3;
    const wchar_t* base_;
    size_t keep_;
    wchar_t added_[kAdded] = {};
    size_t count_ = 0;
    uint64_t state_;
};

// A set of fingerprints that may answer yes for a text it lacks, but never no for one it holds: a
// few bits a text, so that the sets of the dictionaries stay in the processor's cache.
class TFingerprintFilter {
public:
    void Reset(size_t items, size_t bitsPerItem) {
        size_t words = 1;
        while (words * 64 < items * bitsPerItem) {
            words *= 2;
        }
        bits_.assign(words, 0);
        mask_ = words - 1;
    }
    void Add(uint64_t state) { bits_[WordOf(state)] |= BitsOf(state); }
    bool MayHave(uint64_t state) const {
        const uint64_t bits = BitsOf(state);
        return (bits_[WordOf(state)] & bits) == bits;
    }

private:
    static uint64_t Mix(uint64_t state) { return (state ^ (state >> 31)) * 0x9E3779B97F4A7C15ull; }
    size_t WordOf(uint64_t state) const { return static_cast<size_t>(Mix(state) >> 40) & mask_; }
    static uint64_t BitsOf(uint64_t state) {
        const uint64_t h = Mix(state);
        return (1ull << (h & 63)) | (1ull << ((h >> 6) & 63)) | (1ull << ((h >> 12) & 63));
    }

    std::vector<uint64_t> bits_ = std::vector<uint64_t>(1, ~0ull);
    size_t mask_ = 0;
};

// The analysis's own index of a Tatar dictionary's headwords: the fingerprint of a text in the
// Tatar order (THeadwordSet's) leads straight to the first entry of its headword, and two small
// filters tell first whether any headword may be the text or begin with it. Most probes ask for
// texts no dictionary holds and end in the cache; a found one costs one compare, not a search.
class THeadwordIndex {
public:
    // Whether the index was built for the dictionary's current image.
    bool Serves(const TDictHandle& dict) const { return dict.Headwords.get() == owner_ && !ownerRef_.expired(); }

    void Build(const TDictHandle& dict) {
        owner_ = dict.Headwords.get();
        ownerRef_ = dict.Headwords;
        const auto count = static_cast<size_t>(std::max(dict.EntryCount, 0));
        size_t size = 16;
        while (size < 2 * count) {
            size *= 2;
        }
        slots_.assign(size, TSlot{});
        mask_ = size - 1;
        holds_.Reset(count, 16);
        size_t letters = 0;
        for (int32_t e = 0; e < dict.EntryCount; ++e) {
            if (e > 0 && SameHeadword(dict, e - 1, e)) {
                continue;
            }
            const wchar_t* headword = dict.Headword(e);
            size_t length = 0;
            while (length <= kMaxProbeLength && headword[length] != 0) {
                ++length;
            }
            if (length > kMaxProbeLength) {
                continue; // longer than any probe
            }
            letters += length;
            const uint64_t state = THeadwordSet::Extend(THeadwordSet::Start(), headword, length);
            holds_.Add(state);
            const uint64_t key = state | 1;
            uint64_t at = SlotOf(key);
            while (slots_[at].Key != 0) {
                at = (at + 1) & mask_;
            }
            slots_[at] = {key, e, static_cast<uint32_t>(dict.Entry(e).Headword)};
        }
        // Four bits a beginning: it is asked before whole families of probes, and must stay cached.
        begins_.Reset(letters + 1, 4);
        for (const TSlot& slot : slots_) {
            if (slot.Key == 0) {
                continue;
            }
            uint64_t state = THeadwordSet::Start();
            begins_.Add(state);
            for (const wchar_t* letter = dict.Pool + slot.Headword; *letter != 0; ++letter) {
                state = THeadwordSet::Extend(state, letter, 1);
                begins_.Add(state);
            }
        }
    }

    bool MayBegin(uint64_t state) const { return begins_.MayHave(state); }

    // The first entry of the headword equal to the probe, -1 when none.
    int32_t Find(const TProbeText& probe, const TDictHandle& dict) const {
        if (!holds_.MayHave(probe.State())) {
            return -1;
        }
        const uint64_t key = probe.State() | 1;
        for (uint64_t at = SlotOf(key); slots_[at].Key != 0; at = (at + 1) & mask_) {
            const TSlot& slot = slots_[at];
            if (slot.Key == key) {
                // The entry is read next: ask for it while the text is compared.
                __builtin_prefetch(&dict.Entries[slot.Entry]);
                if (probe.SameAs(dict.Pool + slot.Headword)) {
                    return slot.Entry;
                }
            }
        }
        return -1;
    }

    static bool SameHeadword(const TDictHandle& dict, int32_t a, int32_t b) {
        return dict.Entry(a).Headword == dict.Entry(b).Headword ||
               TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
    }

private:
    static constexpr size_t kMaxProbeLength = kMaxWordLength + 3;

    // The low bits of a fingerprint are the letters' last products: mixed, they spread over the slots.
    uint64_t SlotOf(uint64_t key) const { return ((key ^ (key >> 29)) * 0xBF58476D1CE4E5B9ull >> 17) & mask_; }

    struct TSlot {
        uint64_t Key = 0; // 0: free
        int32_t Entry = -1;
        uint32_t Headword = 0; // its text in the pool
    };

    const THeadwordSet* owner_ = nullptr;
    std::weak_ptr<const THeadwordSet> ownerRef_; // keeps the address from serving another image
    std::vector<TSlot> slots_ = std::vector<TSlot>(1);
    uint64_t mask_ = 0;
    TFingerprintFilter holds_;
    TFingerprintFilter begins_;
};
