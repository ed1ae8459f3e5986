#pragma once
// The Russian lookup's own index of a dictionary's headwords: each run of equal headwords under the
// hash of its collation weights, ё weighing as е. The hash is a polynomial in the weights, so that a
// lemma candidate's hash comes from the hashes of the word's prefixes and of its lemma ending,
// without its text; a headword with ё is found by its spelling with е as well, and the texts tell
// them apart.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/Dictionary.h"
#include "core/TatAlphabet.h"

class TRTB_Table;

inline bool RusIsYe(wchar_t c) {
    return c == L'е' || c == L'Е';
}

inline bool RusIsYo(wchar_t c) {
    return c == L'ё' || c == L'Ё';
}

// Collation weights with ё weighing as е, so that a word written with е for ё meets its headword.
inline unsigned RusFoldedWeight(wchar_t c) {
    return RusIsYo(c) ? TatWeight(L'е') : TatWeight(c);
}

// The sum of a text is sum(t[0..n-1]) * kRusRadix + weight(t[n-1]): sum(a + b) is
// sum(a) * RusRadixPower(|b|) + sum(b). A text's hash is its sum mixed.
constexpr uint64_t kRusRadix = 0x9E3779B97F4A7C15ull;

inline uint64_t RusSumStep(uint64_t sum, wchar_t c) {
    return sum * kRusRadix + RusFoldedWeight(c);
}

uint64_t RusTextSum(std::wstring_view text);

inline uint64_t RusRadixPower(size_t n) {
    static constexpr std::array<uint64_t, 64> kPowers = [] { // enough for any word's stem
        std::array<uint64_t, 64> powers{};
        uint64_t power = 1;
        for (uint64_t& p : powers) {
            p = power;
            power *= kRusRadix;
        }
        return powers;
    }();
    if (n < kPowers.size()) {
        return kPowers[n];
    }
    uint64_t power = kPowers.back();
    for (size_t i = kPowers.size() - 1; i < n; ++i) {
        power *= kRusRadix;
    }
    return power;
}

// The sum's high bits take every letter, its low bits only the last few: they are stirred with
// the high ones.
inline uint64_t RusHashOf(uint64_t sum) {
    const uint64_t hash = (sum ^ (sum >> 31)) * 0xBF58476D1CE4E5B9ull;
    return hash ^ (hash >> 32);
}

// The lemma endings of the paradigm table by alternative id: what a candidate's sum adds to its
// stem's.
struct TRusLemmaEndings {
    struct TEnding {
        uint64_t Sum = 0;
        uint64_t Power = 1; // RusRadixPower of the length
    };
    std::vector<TEnding> Endings;
    std::vector<bool> HasYe;

    explicit TRusLemmaEndings(const TRTB_Table* table = nullptr);
};

struct TRusHeadwords {
    // One run of headwords equal in Tatar order; a Run of 0 is a free slot.
    struct TSlot {
        uint32_t Tag = 0;      // the high half of the hash
        uint32_t Headword = 0; // offset of the run's first text in the pool
        int32_t First = 0;     // first entry of the run
        int32_t Run = 0;       // entries in the run
    };
    static constexpr uint32_t kNone = ~0u;

    // A scan from a hash's home slot meets its runs in index order.
    std::vector<TSlot> Slots;
    // Two bits per run in one word, small enough to stay in the cache: most lemma candidates are no
    // headword, and are told so without a look at the slots.
    std::vector<uint64_t> Filter;

    bool MayHold(uint64_t hash) const { return (Filter[FilterWord(hash)] & FilterBits(hash)) == FilterBits(hash); }
    void Prefetch(uint64_t hash) const { __builtin_prefetch(&Slots[Home(hash)]); }
    // The first slot of the hash's runs, or kNone.
    uint32_t Find(uint64_t hash) const { return Scan(hash, Home(hash)); }
    // The slot of the hash's next run after the slot at, or kNone.
    uint32_t FindNext(uint64_t hash, uint32_t at) const { return Scan(hash, Following(at)); }

private:
    size_t FilterWord(uint64_t hash) const { return static_cast<size_t>(((hash >> 32) * Filter.size()) >> 32); }
    static uint64_t FilterBits(uint64_t hash) { return uint64_t{1} << (hash & 63) | uint64_t{1} << ((hash >> 6) & 63); }
    size_t Home(uint64_t hash) const { return static_cast<size_t>(((hash & 0xFFFFFFFFu) * Slots.size()) >> 32); }
    size_t Following(size_t at) const { return at + 1 == Slots.size() ? 0 : at + 1; }
    uint32_t Scan(uint64_t hash, size_t at) const {
        const auto tag = static_cast<uint32_t>(hash >> 32);
        for (;; at = Following(at)) {
            const TSlot& slot = Slots[at];
            if (slot.Run == 0) {
                return kNone;
            }
            if (slot.Tag == tag) {
                return static_cast<uint32_t>(at);
            }
        }
    }

    friend std::shared_ptr<const TRusHeadwords> MakeRusHeadwords(const TDictHandle& dict);
};

std::shared_ptr<const TRusHeadwords> MakeRusHeadwords(const TDictHandle& dict);

// Whether the headword equals the first length units of the word in Tatar order.
inline bool RusSameText(const wchar_t* word, size_t length, const wchar_t* headword) {
    for (size_t i = 0; i < length; ++i) {
        if (word[i] != headword[i] && (headword[i] == 0 || TatWeight(word[i]) != TatWeight(headword[i]))) {
            return false;
        }
    }
    return headword[length] == 0;
}

// The headword is the word with ё in at least one place where the word has е (else it is the
// word's own headword), and the word's letters everywhere else.
bool RusYoSpellingOf(const wchar_t* headword, std::wstring_view word);
