#pragma once
// The Russian paradigm table: inflectional endings mapped to the lemma endings that can replace
// them (recip_para.rtb), and the paradigms that dictionary entries name by number
// (direct_para.rtb, one paradigm per line).

#include <functional>
#include <memory>
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

    // Which lemma candidates are worth listing: a stem no headword begins with, or a stem and
    // lemma ending that make no headword, can be dropped before any text is built.
    class TLemmaFilter {
    public:
        virtual ~TLemmaFilter() = default;
        virtual bool MayBegin(std::wstring_view stem) const = 0;
        virtual bool MayBe(std::wstring_view stem, const std::wstring& alternative) const = 0;
    };

    // Clears the list and fills it with triples: lemma candidate, "ENDING-PREFIX-/", "ALT--/".
    // With a filter, only candidates it keeps are listed.
    void GenerateLemmas(const std::wstring& word, TWideStringList& out, const TLemmaFilter* filter = nullptr) const;

    // The same candidates in the same order, handed over one by one instead of listed.
    using TLemmaVisitor =
        std::function<void(std::wstring_view lemma, const TRTB_Table_Rec& record, const std::wstring& alternative)>;
    void ForEachLemma(const std::wstring& word, const TLemmaFilter* filter, const TLemmaVisitor& visit) const;

    // True for a negative number, or when paradigm line k holds text1 after its first character
    // and begins with text2. A number past the last line raises "List index out of bounds (%d)".
    bool MatchesParadigm(const std::wstring& text1, const std::wstring& text2, int32_t k) const;

    int Count() const { return static_cast<int>(records_.size()); }
    const TRTB_Table_Rec& Record(int index) const { return records_.at(static_cast<size_t>(index)); }
    const TWideStringList& FilterLines() const { return filter_; }

private:
    std::vector<TRTB_Table_Rec> records_;
    TWideStringList filter_;
    // While every ending is made of small letters, a tail of small letters finds its run by its
    // text alone (see IsPlainSmallCyrillic); other tails take the search.
    TTextIndex<TRangeDia> runs_; // views of the records' endings
    bool plainOnly_ = true;
    size_t longestEnding_ = 0;
    // Per paradigm line, its groups "ENDING-PREFIX-" that follow a "/" past the line's first
    // character and end with "/": where "/ENDING-PREFIX-/" occurs as MatchesParadigm asks.
    std::vector<TTextIndex<bool>> groups_;
};

// Parses one recip_para.rtb line; false for a line outside the format.
bool ParseRTBLine(const std::wstring& line, TRTB_Table_Rec& record);
