#pragma once
// The Russian paradigm table: inflectional endings mapped to the lemma endings that can replace
// them (recip_para.rtb), and the paradigms that dictionary entries name by number
// (direct_para.rtb, one paradigm per line).

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Classes_Qel.h"
#include "core/TextHash.h"

// One line of recip_para.rtb: ENDING-PREFIX-/ALT1-.../ALT2-.../
struct TRTB_Table_Rec {
    std::wstring Prefix;
    std::wstring Ending;                    // the search key
    std::vector<std::wstring> Alternatives; // lemma endings, in line order
    std::vector<int32_t> AlternativeIds;    // of each alternative (TRTB_Table::Alternative), once loaded
};

struct TRangeDia {
    int32_t Lo = -1;
    int32_t Hi = -1;
};
using TArrDia = std::vector<TRangeDia>;

class TRTB_Table {
public:
    // Raises the file layer's errors when a file cannot be read. Records out of ascending order
    // under the system compare are sorted once (stable), since the search is binary.
    TRTB_Table(const std::wstring& paradigmFile, bool sorted, const std::wstring& filterFile);

    bool FindRange(std::wstring_view tail, TRangeDia& range) const;
    int CompareAt(const std::wstring& text, int32_t index) const;

    // Which lemma candidates are worth giving: a stem no headword begins with, or a stem and lemma
    // ending that make no headword, can be dropped before any text is built. MayBegin is asked once
    // for each record whose prefix the word has, then MayBe for each of its alternatives.
    class TLemmaFilter {
    public:
        virtual ~TLemmaFilter() = default;
        virtual bool MayBegin(std::wstring_view stem) = 0;
        virtual bool MayBe(std::wstring_view stem, int32_t alternative) = 0;
        // Told every stem of the word, then Prepared, before any MayBegin: lookups can overlap.
        virtual void Prepare(std::wstring_view /*stem*/) {}
        virtual void Prepared() {}
    };

    // Clears the list and fills it with triples: lemma candidate, "ENDING-PREFIX-/", "ALT--/".
    // With a filter, only candidates it keeps are listed.
    void GenerateLemmas(const std::wstring& word, TWideStringList& out, TLemmaFilter* filter = nullptr) const;

    // The same candidates in the same order, handed over one by one instead of listed:
    // visit(lemma, record index, alternative id). before() runs once the word's stems are told to
    // the filter and before it is asked anything.
    // The filter is any TLemmaFilter; a final one is called directly.
    template <class Filter, class Visit, class Before>
    void ForEachLemma(std::wstring_view word, Filter* filter, Visit&& visit, Before&& before) const;
    template <class Filter, class Visit>
    void ForEachLemma(std::wstring_view word, Filter* filter, Visit&& visit) const {
        ForEachLemma(word, filter, visit, [] {});
    }

    // True for a negative number, or when paradigm line k holds text1 after its first character
    // and begins with text2. A number past the last line raises "List index out of bounds (%d)".
    bool MatchesParadigm(const std::wstring& text1, const std::wstring& text2, int32_t k) const;
    // MatchesParadigm("/ENDING-PREFIX-/" of the record, alternative + "--/", k) for a line k of the
    // table, with no text built.
    bool MatchesRecord(int32_t k, int32_t record, int32_t alternative) const;

    int Count() const { return static_cast<int>(records_.size()); }
    const TRTB_Table_Rec& Record(int index) const { return records_.at(static_cast<size_t>(index)); }
    const TWideStringList& FilterLines() const { return filter_; }

    // The distinct lemma endings of the records, by id.
    int32_t AlternativeCount() const { return static_cast<int32_t>(alternatives_.size()); }
    const std::wstring& Alternative(int32_t id) const { return alternatives_[static_cast<size_t>(id)]; }

private:
    // The ranges of the records whose ending is a tail of the word, longest tail first.
    size_t CollectRanges(std::wstring_view word, TRangeDia* ranges) const;

    std::vector<TRTB_Table_Rec> records_;
    TWideStringList filter_;
    // While every ending is made of small letters, a tail of small letters finds its run by its
    // text alone (see IsPlainSmallCyrillic); other tails take the search.
    TTextIndex<TRangeDia> runs_; // views of the records' endings
    bool plainOnly_ = true;
    size_t longestEnding_ = 0;
    // Every tail of every ending by its hash read from the end, marked with the ending it is (if
    // any): a word's tails are looked up from the shortest, and the walk ends at the first tail
    // that ends no record's ending. Empty while some ending is not made of small letters.
    struct TTail {
        uint32_t Tag = 0;    // the hash's high half, never 0; 0: free
        int32_t Ending = -1; // in endings_
    };
    struct TEnding {
        TRangeDia Run;
        uint32_t Text = 0; // in endingTexts_
        uint32_t Length = 0;
    };
    std::vector<TTail> tails_;
    bool sharedTags_ = false; // two tails whose hashes share a high half meet in one chain
    std::vector<TEnding> endings_;
    std::wstring endingTexts_;
    // Whether some ending ends with the tail of the hash; the ending equal to it, or -1.
    bool FindTail(uint64_t hash, std::wstring_view tail, int32_t& ending) const;
    // Per paradigm line, its groups "ENDING-PREFIX-" that follow a "/" past the line's first
    // character and end with "/": where "/ENDING-PREFIX-/" occurs as MatchesParadigm asks.
    std::vector<TTextIndex<bool>> groups_;
    std::vector<std::wstring> alternatives_;
    std::vector<int32_t> lineAlternative_; // per line, the id of the lemma ending it begins with, or -1
    std::vector<uint64_t> lineRecords_;    // (line, record) pairs of MatchesRecord, open addressing
    // The same pairs as one row of bits per record, one bit per line, when that is not too large:
    // the hits tested against one candidate's record then read one row.
    std::vector<uint64_t> recordLines_;
    size_t rowWords_ = 0;
    // What ForEachLemma reads of each record, and the texts of the alternatives, packed close.
    struct THot {
        uint32_t Prefix = 0;       // in hotTexts_
        uint32_t Alternatives = 0; // in hotAlternatives_
        uint32_t PrefixLength = 0;
        uint32_t EndingLength = 0;
        uint32_t AlternativeCount = 0;
    };
    std::vector<THot> hot_;
    std::vector<int32_t> hotAlternatives_;
    std::vector<uint32_t> alternativeText_; // per alternative id: offset in hotTexts_, then length
    std::wstring hotTexts_;
};

// Parses one recip_para.rtb line; false for a line outside the format.
bool ParseRTBLine(const std::wstring& line, TRTB_Table_Rec& record);

template <class Filter, class Visit, class Before>
void TRTB_Table::ForEachLemma(std::wstring_view word, Filter* filter, Visit&& visit, Before&& before) const {
    // One range at most per tail; words of dictionary length keep them on the stack, unfilled.
    constexpr size_t kLocal = 64;
    union TLocal {
        TLocal() {}
        TRangeDia Items[kLocal];
    } local;
    std::vector<TRangeDia> longWord(word.size() + 1 > kLocal ? word.size() + 1 : 0);
    TRangeDia* const ranges = longWord.empty() ? local.Items : longWord.data();
    const size_t found = CollectRanges(word, ranges);
    auto stemOf = [&word](const THot& record) {
        // A prefix and an ending that overlap in a short word leave an empty stem.
        const size_t cut = size_t{record.PrefixLength} + record.EndingLength;
        return cut >= word.size() ? std::wstring_view() : word.substr(record.PrefixLength, word.size() - cut);
    };
    auto hasPrefix = [&word, this](const THot& record) {
        if (record.PrefixLength > word.size()) {
            return false;
        }
        const wchar_t* prefix = hotTexts_.data() + record.Prefix;
        size_t i = 0;
        while (i < record.PrefixLength && prefix[i] == word[i]) {
            ++i;
        }
        return i == record.PrefixLength;
    };
    if (filter) {
        for (size_t r = 0; r < found; ++r) {
            for (int32_t i = ranges[r].Lo; i <= ranges[r].Hi; ++i) {
                const THot& record = hot_[static_cast<size_t>(i)];
                if (hasPrefix(record)) {
                    filter->Prepare(stemOf(record));
                }
            }
        }
    }
    before();
    if (filter) {
        filter->Prepared();
    }
    wchar_t buffer[128];
    std::wstring longLemma;
    for (size_t r = 0; r < found; ++r) {
        for (int32_t i = ranges[r].Lo; i <= ranges[r].Hi; ++i) {
            const THot& record = hot_[static_cast<size_t>(i)];
            if (!hasPrefix(record)) {
                continue;
            }
            const std::wstring_view stem = stemOf(record);
            if (filter && !filter->MayBegin(stem)) {
                continue;
            }
            for (uint32_t a = 0; a < record.AlternativeCount; ++a) {
                const int32_t id = hotAlternatives_[record.Alternatives + a];
                if (filter && !filter->MayBe(stem, id)) {
                    continue;
                }
                const wchar_t* alternative = hotTexts_.data() + alternativeText_[2 * static_cast<size_t>(id)];
                const size_t alternativeLength = alternativeText_[2 * static_cast<size_t>(id) + 1];
                const size_t length = stem.size() + alternativeLength;
                wchar_t* lemma = buffer;
                if (length > sizeof(buffer) / sizeof(buffer[0])) {
                    longLemma.resize(length);
                    lemma = longLemma.data();
                }
                std::copy(stem.begin(), stem.end(), lemma);
                std::copy(alternative, alternative + alternativeLength, lemma + stem.size());
                visit(std::wstring_view(lemma, length), i, id);
            }
        }
    }
}
