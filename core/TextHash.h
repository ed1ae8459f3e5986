#pragma once
// Short UTF-16 keys (endings, stems) of the lookup tables: a hash and an open-addressing index,
// both cheaper than the library's for keys of a few letters looked up for every word.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct TextHash {
    size_t operator()(std::wstring_view text) const noexcept {
        uint64_t hash = 1469598103934665603ull;
        for (const wchar_t c : text) {
            hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
        }
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};

// Keys are views: the texts they show must outlive the index.
template <class Value> class TTextIndex {
public:
    // Adds the key unless it is there; gives the value stored under it.
    Value& Insert(std::wstring_view key, const Value& value) {
        if (2 * (size_ + 1) > slots_.size()) {
            Grow();
        }
        const size_t hash = TextHash()(key) | 1;
        Slot* slot = Place(hash, key);
        if (slot->Hash == 0) {
            *slot = Slot{hash, key, value};
            ++size_;
        }
        return slot->Item;
    }

    const Value* Find(std::wstring_view key) const {
        if (size_ == 0) {
            return nullptr;
        }
        const size_t hash = TextHash()(key) | 1;
        const Slot* slot = const_cast<TTextIndex*>(this)->Place(hash, key);
        return slot->Hash == 0 ? nullptr : &slot->Item;
    }

    void Clear() {
        slots_.clear();
        size_ = 0;
    }

private:
    struct Slot {
        size_t Hash = 0; // 0: free
        std::wstring_view Key;
        Value Item{};
    };

    // The slot holding the key, or the free slot where it belongs.
    Slot* Place(size_t hash, std::wstring_view key) {
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.Hash == 0 || (slot.Hash == hash && slot.Key == key)) {
                return &slot;
            }
        }
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 16 : 2 * old.size(), Slot{});
        for (const Slot& slot : old) {
            if (slot.Hash != 0) {
                *Place(slot.Hash, slot.Key) = slot;
            }
        }
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
};
