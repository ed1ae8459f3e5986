#pragma once
// The Russian paradigm table: inflectional endings mapped to the lemma endings that can replace
// them (recip_para.rtb), and the paradigms that dictionary entries name by number
// (direct_para.rtb, one paradigm per line).

#include <cstdint>
#include <cwchar>
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
    };

    // Clears the list and fills it with triples: lemma candidate, "ENDING-PREFIX-/", "ALT--/".
    // With a filter, only candidates it keeps are listed.
    void GenerateLemmas(const std::wstring& word, TWideStringList& out, TLemmaFilter* filter = nullptr) const;

    // The same candidates in the same order, handed over one by one instead of listed:
    // visit(lemma, record index, alternative id).
    template <class Visit> void ForEachLemma(std::wstring_view word, TLemmaFilter* filter, Visit&& visit) const;

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
};

// Parses one recip_para.rtb line; false for a line outside the format.
bool ParseRTBLine(const std::wstring& line, TRTB_Table_Rec& record);

template <class Visit> void TRTB_Table::ForEachLemma(std::wstring_view word, TLemmaFilter* filter, Visit&& visit) const {
    // One range at most per tail; words of dictionary length keep them on the stack.
    constexpr size_t kLocal = 64;
    TRangeDia local[kLocal];
    std::vector<TRangeDia> longWord(word.size() + 1 > kLocal ? word.size() + 1 : 0);
    const size_t found = CollectRanges(word, longWord.empty() ? local : longWord.data());
    const TRangeDia* ranges = longWord.empty() ? local : longWord.data();
    wchar_t buffer[128];
    std::wstring longLemma;
    for (size_t r = 0; r < found; ++r) {
        for (int32_t i = ranges[r].Lo; i <= ranges[r].Hi; ++i) {
            const TRTB_Table_Rec& record = records_[static_cast<size_t>(i)];
            if (word.compare(0, record.Prefix.size(), record.Prefix) != 0) {
                continue;
            }
            // A prefix and an ending that overlap in a short word leave an empty stem.
            const size_t cut = record.Prefix.size() + record.Ending.size();
            const std::wstring_view stem =
                cut >= word.size() ? std::wstring_view() : word.substr(record.Prefix.size(), word.size() - cut);
            if (filter && !filter->MayBegin(stem)) {
                continue;
            }
            for (size_t a = 0; a < record.Alternatives.size(); ++a) {
                if (filter && !filter->MayBe(stem, record.AlternativeIds[a])) {
                    continue;
                }
                const std::wstring& alternative = record.Alternatives[a];
                const size_t length = stem.size() + alternative.size();
                wchar_t* lemma = buffer;
                if (length > sizeof(buffer) / sizeof(buffer[0])) {
                    longLemma.resize(length);
                    lemma = longLemma.data();
                }
                std::wmemcpy(lemma, stem.data(), stem.size());
                std::wmemcpy(lemma + stem.size(), alternative.data(), alternative.size());
                visit(std::wstring_view(lemma, length), i, record.AlternativeIds[a]);
            }
        }
    }
}
