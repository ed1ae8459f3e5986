#pragma once
// The Tatar analysis's own index of a dictionary's headwords, the probe texts it is asked with and
// the probes of the Tatar dictionaries. Part of the analysis (Translator_Tatar.cpp): not re-entrant,
// an index built for each opened image.

#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/CommonTypes.h"
#include "core/Dictionary.h"
#include "core/TatAlphabet.h"
#include "core/win32/SystemText.h"

// The key of a text in the Tatar order, made letter by letter. A text of up to twelve letters of
// the Tatar alphabet is its own key, a number whose digits in base 40 are the letters' places in
// the alphabet (1..39, capital and small alike): equal keys are equal texts, and a key found in the
// index needs no compare with the headword. A longer text, or one with another character, has a
// fingerprint (the top four bits set, above every such number) that a find confirms against the
// headword.
struct TTextKey {
    static constexpr uint64_t kEmpty = 0;
    static constexpr uint64_t kFingerprint = 0xFull << 60;

    static uint64_t Extend(uint64_t key, wchar_t letter) {
        const unsigned weight = TatWeight(letter);
        const unsigned place = weight - TatWeight(L'а');
        if (key < kElevenLetters && place < kLetters) {
            return key * kBase + place + 1;
        }
        return ((key ^ weight) * 1099511628211ull) | kFingerprint;
    }
    static uint64_t Of(const wchar_t* text, size_t length) {
        uint64_t key = kEmpty;
        for (size_t i = 0; i < length; ++i) {
            key = Extend(key, text[i]);
        }
        return key;
    }
    static bool Exact(uint64_t key) { return key < kFingerprint; }
    // Spreads the bits of a key over all 64, for the slots and filters that it picks.
    static uint64_t Mix(uint64_t key) {
        key = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;
        key = (key ^ (key >> 27)) * 0x94D049BB133111EBull;
        return key ^ (key >> 31);
    }

private:
    static constexpr unsigned kLetters = 39;
    static constexpr uint64_t kBase = 40;
    static constexpr uint64_t kElevenLetters = 419'430'400'000'000'000ull; // 40^11: a key of fewer letters
    static_assert(kElevenLetters * kBase < kFingerprint, "twelve letters stay below the fingerprints");
};

class TProbeText;
// Whether some headword of the Tatar dictionaries may begin with the text, by their filters.
bool AnyHeadwordBegins(const TProbeText& text);

// Asks the memory for the line of the address. The volatile statement keeps a caller from being
// taken for one that does nothing: the compiler drops calls of functions that only prefetch.
inline void PrefetchLine(const void* address) {
    __builtin_prefetch(address);
    asm volatile("" : : "r"(address));
}

// A probe text: a beginning of the word (or a text of its own) with up to three letters added, its
// key kept along. Nothing is copied until a headword is compared with it.
class TProbeText {
public:
    // Whether some headword begins with the text, when the lookup knows it already.
    enum TBegins : uint8_t { kUnknown, kBegins, kBeginsNone };

    TProbeText(const wchar_t* text, size_t keep, uint64_t key, TBegins begins = kUnknown)
        : base_(text), keep_(keep), key_(key), begins_(begins) {}
    explicit TProbeText(const wchar_t* text) : TProbeText(text, std::wcslen(text), 0) {
        key_ = TTextKey::Of(text, keep_);
    }
    // The probes add at most three letters (S + а + ү after a changed last letter).
    TProbeText Plus(wchar_t letter) const {
        TProbeText longer = *this;
        if (longer.count_ < kAdded) {
            longer.added_[longer.count_++] = letter;
            longer.key_ = TTextKey::Extend(key_, letter);
            longer.begins_ = kUnknown;
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
    uint64_t Key() const { return key_; }
    // Whether some headword of the Tatar dictionaries may begin with the text.
    bool MayBegin() const { return begins_ != kUnknown ? begins_ == kBegins : AnyHeadwordBegins(*this); }
    // DictCollectMatches of the analysis: each Tatar dictionary's Probe gains every entry of the
    // text's headword that fits the mask, is not exact-form-only when exclude is set, and is not
    // already in Probe or Reported.
    bool Probe(uint8_t mask, uint8_t exclude) const;
    // Asks the memory for what probing the text reads, so that probes made later find it there.
    void Prefetch() const;
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
    // Writes the text (Length() units, no zero) and gives its length.
    size_t Copy(wchar_t* out) const {
        for (size_t i = 0; i < Length(); ++i) {
            out[i] = At(i);
        }
        return Length();
    }
    bool SmallLetters() const {
        for (size_t i = 0; i < Length(); ++i) {
            const wchar_t letter = At(i);
            if (!IsPlainSmallCyrillic(&letter, 1)) {
                return false;
            }
        }
        return true;
    }

private:
    static constexpr size_t kAdded = 3;
    const wchar_t* base_;
    size_t keep_;
    wchar_t added_[kAdded] = {};
    size_t count_ = 0;
    uint64_t key_;
    TBegins begins_;
};

// A set of keys that may answer yes for a key it lacks, but never no for one it holds: a few bits
// a key, all in one word, so that the sets of the dictionaries stay in the processor's cache.
class TKeyFilter {
public:
    void Reset(size_t items, size_t bitsPerItem);
    // Keys are given mixed (TTextKey::Mix).
    void Add(uint64_t mixed) { bits_[WordOf(mixed)] |= BitsOf(mixed); }
    bool MayHave(uint64_t mixed) const {
        const uint64_t bits = BitsOf(mixed);
        return (bits_[WordOf(mixed)] & bits) == bits;
    }
    void Prefetch(uint64_t mixed) const { PrefetchLine(&bits_[WordOf(mixed)]); }

private:
    size_t WordOf(uint64_t mixed) const { return static_cast<size_t>(mixed >> 40) & mask_; }
    static uint64_t BitsOf(uint64_t mixed) {
        return (1ull << (mixed & 63)) | (1ull << ((mixed >> 6) & 63)) | (1ull << ((mixed >> 12) & 63));
    }

    std::vector<uint64_t> bits_ = std::vector<uint64_t>(1, ~0ull);
    size_t mask_ = 0;
};

// The analysis's own index of a Tatar dictionary's headwords: the key of a text (TTextKey) leads
// straight to its headword's first entry, with the number of its entries and the first one's
// flags, and two small filters tell first whether any headword may be the text or begin with it.
// Most probes ask for texts no dictionary holds and end in the cache; a found one costs the read
// of its slot.
class THeadwordIndex {
public:
    struct TSlot {
        uint64_t Key = 0;          // 0: free (no headword is empty)
        int32_t Entry = -1;        // the headword's first entry
        uint16_t Entries = 0;      // the headword's entries, kManyEntries for that many or more
        uint8_t Flags = 0;         // the first entry's
        bool SmallLetters = false; // each entry's headword is written in small letters
    };
    static constexpr uint16_t kManyEntries = 0xFFFF;

    // Whether the index was built for the dictionary's current image.
    bool Serves(const TDictHandle& dict) const { return dict.Headwords.get() == owner_ && !ownerRef_.expired(); }
    void Build(const TDictHandle& dict);

    bool MayBegin(const TProbeText& text) const { return begins_.MayHave(TTextKey::Mix(text.Key())); }
    // The slot of the headword equal to the probe, nullptr when none.
    const TSlot* Find(const TProbeText& probe, const TDictHandle& dict) const;
    // Asks the memory for what a find of the text reads.
    void Prefetch(const TProbeText& text) const;
    // Asks the memory for what MayBegin reads.
    void PrefetchBegins(const TProbeText& text) const { begins_.Prefetch(TTextKey::Mix(text.Key())); }
    // Whether the entry's headword begins with a capital letter, without reading it.
    bool Capitalized(int32_t entry) const {
        const auto e = static_cast<size_t>(entry);
        return anyCapital_ && e / 64 < capitals_.size() && (capitals_[e / 64] >> (e % 64) & 1) != 0;
    }
    bool AnyCapitalized() const { return anyCapital_; }

    static bool SameHeadword(const TDictHandle& dict, int32_t a, int32_t b) {
        return dict.Entry(a).Headword == dict.Entry(b).Headword ||
               TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
    }

private:
    static constexpr size_t kMaxProbeLength = kMaxWordLength + 3;

    const THeadwordSet* owner_ = nullptr;
    std::weak_ptr<const THeadwordSet> ownerRef_; // keeps the address from serving another image
    std::vector<TSlot> slots_ = std::vector<TSlot>(1);
    uint64_t mask_ = 0;
    TKeyFilter holds_;
    TKeyFilter begins_;
    std::vector<uint64_t> capitals_; // a bit an entry: its headword begins with a capital letter
    bool anyCapital_ = false;
};

// Builds the indexes of the Tatar dictionaries opened since the last lookup.
void RefreshHeadwordIndexes();

// Whether the headword of the entry of the Tatar dictionary of that place begins with a capital
// letter (a name); the headword is read only for a dictionary without an index.
bool HeadwordCapitalized(size_t dict, int32_t entry);
// Whether some Tatar dictionary may have such a headword: most have none.
bool AnyHeadwordCapitalized();

// Whether every headword of the probe's text in the Tatar dictionary of that place is written as
// the probe is, in small letters: the probe's text then stands in for theirs, which need not be read.
bool WrittenAsProbe(const TProbeText& probe, size_t dict);

// The word of one lookup with the keys of its beginnings: every probe of a stem of n letters begins
// with its first n - 1 letters, and a probe no headword can begin is not asked.
class TLookupWord {
public:
    void Set(const wchar_t* word, size_t length);
    const std::wstring& Text() const { return text_; }
    // The beginning of k letters, with whether a headword may begin with it when that is known.
    TProbeText Beginning(size_t k) const {
        const auto begins = k < beginsFrom_  ? TProbeText::kUnknown
                            : k < beginsEnd_ ? TProbeText::kBegins
                                             : TProbeText::kBeginsNone;
        return TProbeText(text_.data(), k, prefix_[k], begins);
    }
    // Asks the filters for the beginnings from the shortest given on, up to the first that no
    // headword begins with: as no headword begins with a longer one then either, a lookup asks
    // once for the beginnings of all its cuts.
    void FindBeginnings(size_t from);
    // Whether some headword may begin with the beginning of k letters; known from FindBeginnings' on.
    bool Begins(size_t k) const { return Beginning(k).MayBegin(); }

private:
    std::wstring text_;
    uint64_t prefix_[kMaxWordLength + 1] = {};
    // The beginnings known: of beginsFrom_ letters up to beginsEnd_ (not included) some headword may
    // begin with, and with none of more letters.
    size_t beginsFrom_ = 0;
    size_t beginsEnd_ = 0;
};
