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

    // Clears the list and fills it with triples: lemma candidate, "ENDING-PREFIX-/", "ALT--/".
    void GenerateLemmas(const std::wstring& word, TWideStringList& out) const;

    // The word's lemma candidates in table order, without their texts, record by record:
    // visit(record index, its alternative ids, their count, stem offset, stem length); a lemma is the
    // stem and an alternative's text.
    template <class Visit> void ForEachCandidate(std::wstring_view word, Visit&& visit) const;
    // The same candidates with their texts: visit(lemma, record index, alternative id).
    template <class Visit> void ForEachLemma(std::wstring_view word, Visit&& visit) const;

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
    std::wstring_view AlternativeText(int32_t id) const {
        const size_t at = 2 * static_cast<size_t>(id);
        return std::wstring_view(hotTexts_).substr(alternativeText_[at], alternativeText_[at + 1]);
    }

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
    // The tails of the endings as a tree walked from a word's end: node 0 is the empty tail, and a
    // link, found by its node and letter exactly, leads to the tail one letter longer. A node holds
    // the run of the records whose ending it is. A word's walk ends at the first tail that ends no
    // record's ending. Empty while some ending is not made of small letters.
    struct TTailLink {
        uint32_t Key = 0;  // node << 16 | letter
        int32_t Child = 0; // 0: free (the empty tail is no tail's child)
    };
    std::vector<TTailLink> tailLinks_;
    std::vector<TRangeDia> tailRuns_; // per node
    // The node of the tail one letter longer, or -1 when no ending ends with it.
    int32_t TailChild(int32_t node, wchar_t letter) const;
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
    // What ForEachCandidate reads of each record, and the texts of the alternatives, packed close.
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

template <class Visit> void TRTB_Table::ForEachCandidate(std::wstring_view word, Visit&& visit) const {
    // One range at most per tail; words of dictionary length keep them on the stack, unfilled.
    constexpr size_t kLocal = 64;
    union TLocal {
        TLocal() {}
        TRangeDia Items[kLocal];
    } local;
    std::vector<TRangeDia> longWord(word.size() + 1 > kLocal ? word.size() + 1 : 0);
    TRangeDia* const ranges = longWord.empty() ? local.Items : longWord.data();
    const size_t found = CollectRanges(word, ranges);
    for (size_t r = 0; r < found; ++r) {
        for (int32_t i = ranges[r].Lo; i <= ranges[r].Hi; ++i) {
            const THot& record = hot_[static_cast<size_t>(i)];
            if (record.PrefixLength > word.size() ||
                !std::equal(word.begin(), word.begin() + record.PrefixLength, hotTexts_.begin() + record.Prefix)) {
                continue;
            }
            // A prefix and an ending that overlap in a short word leave an empty stem.
            const size_t cut = size_t{record.PrefixLength} + record.EndingLength;
            const size_t stemLength = cut >= word.size() ? 0 : word.size() - cut;
            visit(i, hotAlternatives_.data() + record.Alternatives, record.AlternativeCount,
                  size_t{record.PrefixLength}, stemLength);
        }
    }
}

template <class Visit> void TRTB_Table::ForEachLemma(std::wstring_view word, Visit&& visit) const {
    std::wstring lemma;
    ForEachCandidate(word, [&](int32_t record, const int32_t* alternatives, uint32_t count, size_t stemAt,
                               size_t stemLength) {
        for (uint32_t a = 0; a < count; ++a) {
            lemma.assign(word.substr(stemAt, stemLength)).append(AlternativeText(alternatives[a]));
            visit(std::wstring_view(lemma), record, alternatives[a]);
        }
    });
}
