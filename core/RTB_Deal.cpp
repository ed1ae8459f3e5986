#include "core/RTB_Deal.h"

#include <algorithm>

#include "core/SortedSearch.h"
#include "core/win32/SystemText.h"

namespace {
constexpr size_t kMaxRanges = 64;
} // namespace

bool ParseRTBLine(const std::wstring& line, TRTB_Table_Rec& record) {
    const size_t headEnd = line.find(L'/');
    if (headEnd == std::wstring::npos) {
        return false;
    }
    const std::wstring head = line.substr(0, headEnd);
    const size_t dash1 = head.find(L'-');
    const size_t dash2 = dash1 == std::wstring::npos ? dash1 : head.find(L'-', dash1 + 1);
    if (dash2 == std::wstring::npos) {
        return false;
    }
    record.Ending = head.substr(0, dash1);
    record.Prefix = head.substr(dash1 + 1, dash2 - dash1 - 1);
    record.Alternatives.clear();
    // Each segment ends with "/"; its alternative is the text before its first "-".
    size_t start = headEnd + 1;
    for (;;) {
        const size_t end = line.find(L'/', start);
        if (end == std::wstring::npos) {
            break;
        }
        const std::wstring segment = line.substr(start, end - start);
        const size_t dash = segment.find(L'-');
        record.Alternatives.push_back(dash == std::wstring::npos ? std::wstring() : segment.substr(0, dash));
        start = end + 1;
    }
    return true;
}

TRTB_Table::TRTB_Table(const std::wstring& paradigmFile, bool sorted, const std::wstring& filterFile) {
    TWideStringList lines;
    lines.LoadFromFile(paradigmFile);
    records_.reserve(static_cast<size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) {
        TRTB_Table_Rec record;
        if (ParseRTBLine(lines.Strings(i), record)) {
            records_.push_back(std::move(record));
        }
    }
    auto before = [](const TRTB_Table_Rec& a, const TRTB_Table_Rec& b) {
        return SystemCompareIgnoreCase(a.Ending.c_str(), b.Ending.c_str()) < 0;
    };
    // A table written under another locale's order would make endings silently unfindable.
    if (sorted || !std::is_sorted(records_.begin(), records_.end(), before)) {
        std::stable_sort(records_.begin(), records_.end(), before);
    }
    for (int32_t i = 0; i < Count(); ++i) {
        const std::wstring& ending = records_[static_cast<size_t>(i)].Ending;
        plainOnly_ = plainOnly_ && IsPlainSmallCyrillic(ending.data(), ending.size());
        longestEnding_ = std::max(longestEnding_, ending.size());
        TRangeDia& run = runs_.Insert(ending, TRangeDia{i, i});
        if (run.Hi == i - 1) {
            run.Hi = i;
        }
    }
    filter_.LoadFromFile(filterFile);
    groups_.resize(static_cast<size_t>(filter_.Count()));
    for (int k = 0; k < filter_.Count(); ++k) {
        const std::wstring& line = filter_.Strings(k);
        for (size_t slash = line.find(L'/', 1); slash != std::wstring::npos;) {
            const size_t next = line.find(L'/', slash + 1);
            if (next == std::wstring::npos) {
                break;
            }
            groups_[static_cast<size_t>(k)].Insert(std::wstring_view(line).substr(slash + 1, next - slash - 1), true);
            slash = next;
        }
    }
}

int TRTB_Table::CompareAt(const std::wstring& text, int32_t index) const {
    return SystemCompareIgnoreCase(text.c_str(), records_[static_cast<size_t>(index)].Ending.c_str());
}

bool TRTB_Table::FindRange(std::wstring_view tail, TRangeDia& range) const {
    if (plainOnly_ && IsPlainSmallCyrillic(tail.data(), tail.size())) {
        const TRangeDia* run = tail.size() > longestEnding_ ? nullptr : runs_.Find(tail);
        range = run == nullptr ? TRangeDia{} : *run;
        return run != nullptr;
    }
    const std::wstring text(tail);
    const int32_t first = FindFirstEqual(Count(), [&](int32_t i) { return CompareAt(text, i); });
    if (first < 0) {
        range = TRangeDia{};
        return false;
    }
    // The run is widened only over endings equal to the tail letter for letter.
    range.Lo = first;
    range.Hi = first;
    while (range.Lo > 0 && records_[static_cast<size_t>(range.Lo - 1)].Ending == tail) {
        --range.Lo;
    }
    while (range.Hi + 1 < Count() && records_[static_cast<size_t>(range.Hi + 1)].Ending == tail) {
        ++range.Hi;
    }
    return true;
}

void TRTB_Table::ForEachLemma(const std::wstring& word, const TLemmaFilter* filter, const TLemmaVisitor& visit) const {
    // One range at most per tail; words of dictionary length keep them on the stack.
    TRangeDia local[kMaxRanges];
    TArrDia longWord;
    TRangeDia* ranges = local;
    if (word.size() + 1 > kMaxRanges) {
        longWord.resize(word.size() + 1);
        ranges = longWord.data();
    }
    size_t found = 0;
    for (size_t p = 0; p <= word.size(); ++p) {
        if (FindRange(std::wstring_view(word).substr(p), ranges[found])) {
            ++found;
        }
    }
    std::wstring lemma;
    lemma.reserve(word.size() + 16);
    for (size_t r = 0; r < found; ++r) {
        for (int32_t i = ranges[r].Lo; i <= ranges[r].Hi; ++i) {
            const TRTB_Table_Rec& record = records_[static_cast<size_t>(i)];
            if (word.compare(0, record.Prefix.size(), record.Prefix) != 0) {
                continue;
            }
            // A prefix and an ending that overlap in a short word leave an empty stem.
            const size_t cut = record.Prefix.size() + record.Ending.size();
            const std::wstring_view stem = cut >= word.size()
                                               ? std::wstring_view()
                                               : std::wstring_view(word).substr(record.Prefix.size(), word.size() - cut);
            if (filter && !filter->MayBegin(stem)) {
                continue;
            }
            for (const std::wstring& alternative : record.Alternatives) {
                if (filter && !filter->MayBe(stem, alternative)) {
                    continue;
                }
                lemma.assign(stem.data(), stem.size());
                lemma += alternative;
                visit(lemma, record, alternative);
            }
        }
    }
}

void TRTB_Table::GenerateLemmas(const std::wstring& word, TWideStringList& out, const TLemmaFilter* filter) const {
    out.Clear();
    ForEachLemma(word, filter, [&out](std::wstring_view lemma, const TRTB_Table_Rec& record, const std::wstring& alternative) {
        out.Add(std::wstring(lemma));
        out.Add(record.Ending + L"-" + record.Prefix + L"-/");
        out.Add(alternative + L"--/");
    });
}

bool TRTB_Table::MatchesParadigm(const std::wstring& text1, const std::wstring& text2, int32_t k) const {
    if (k < 0) {
        return true;
    }
    const std::wstring& line = filter_.Strings(k);
    // "/GROUP/" with no "/" inside occurs past the first character exactly where the line has
    // that group between two slashes, the first of them not at the start.
    if (text1.size() >= 2 && text1.front() == L'/' && text1.back() == L'/' &&
        text1.find(L'/', 1) == text1.size() - 1) {
        if (line.compare(0, text1.size(), text1) == 0) {
            return false; // its first occurrence is the first character
        }
        const std::wstring_view group = std::wstring_view(text1).substr(1, text1.size() - 2);
        return groups_[static_cast<size_t>(k)].Find(group) != nullptr && line.compare(0, text2.size(), text2) == 0;
    }
    const size_t at = line.find(text1);
    return at != std::wstring::npos && at >= 1 && line.compare(0, text2.size(), text2) == 0;
}
