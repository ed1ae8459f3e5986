#include "core/RTB_Deal.h"

#include <algorithm>
#include <unordered_map>

#include "core/SortedSearch.h"
#include "core/win32/SystemText.h"

namespace {

inline bool IsPlainSmallLetter(wchar_t c) {
    return IsPlainSmallCyrillic(&c, 1);
}

inline uint64_t PairKey(int32_t line, int32_t record) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(line)) << 32 | static_cast<uint32_t>(record)) + 1;
}

inline uint32_t LinkKey(int32_t node, wchar_t letter) {
    return static_cast<uint32_t>(node) << 16 | static_cast<uint16_t>(letter);
}

inline size_t LinkSlot(uint32_t key, size_t mask) {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

inline size_t PairSlot(uint64_t key, size_t mask) {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

size_t TableSize(size_t count) {
    size_t size = 16;
    while (size < 2 * count) {
        size *= 2;
    }
    return size;
}

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
    record.AlternativeIds.clear();
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

    TTextIndex<int32_t> ids; // views of the records' alternatives
    for (TRTB_Table_Rec& record : records_) {
        for (const std::wstring& alternative : record.Alternatives) {
            const auto next = static_cast<int32_t>(alternatives_.size());
            const int32_t id = ids.Insert(alternative, next);
            if (id == next) {
                alternatives_.push_back(alternative);
            }
            record.AlternativeIds.push_back(id);
        }
    }

    for (const std::wstring& alternative : alternatives_) {
        alternativeText_.push_back(static_cast<uint32_t>(hotTexts_.size()));
        alternativeText_.push_back(static_cast<uint32_t>(alternative.size()));
        hotTexts_ += alternative;
    }
    hot_.reserve(records_.size());
    for (const TRTB_Table_Rec& record : records_) {
        THot hot;
        hot.Prefix = static_cast<uint32_t>(hotTexts_.size());
        hot.PrefixLength = static_cast<uint32_t>(record.Prefix.size());
        hot.EndingLength = static_cast<uint32_t>(record.Ending.size());
        hot.Alternatives = static_cast<uint32_t>(hotAlternatives_.size());
        hot.AlternativeCount = static_cast<uint32_t>(record.AlternativeIds.size());
        hotTexts_ += record.Prefix;
        hotAlternatives_.insert(hotAlternatives_.end(), record.AlternativeIds.begin(), record.AlternativeIds.end());
        hot_.push_back(hot);
    }

    if (plainOnly_) {
        std::unordered_map<uint32_t, int32_t> links;
        tailRuns_.assign(1, TRangeDia{});
        bool fits = true; // nodes are numbered in 16 bits
        for (int32_t i = 0; i < Count() && fits; ++i) {
            const std::wstring& ending = records_[static_cast<size_t>(i)].Ending;
            if (i > 0 && records_[static_cast<size_t>(i - 1)].Ending == ending) {
                continue;
            }
            int32_t node = 0;
            for (size_t j = ending.size(); j > 0 && fits; --j) {
                const auto [link, added] =
                    links.emplace(LinkKey(node, ending[j - 1]), static_cast<int32_t>(tailRuns_.size()));
                if (added) {
                    tailRuns_.emplace_back();
                    fits = tailRuns_.size() <= 0x10000;
                }
                node = link->second;
            }
            tailRuns_[static_cast<size_t>(node)] = *runs_.Find(ending);
        }
        if (fits) {
            tailLinks_.assign(TableSize(links.size()), TTailLink{});
            const size_t mask = tailLinks_.size() - 1;
            for (const auto& [key, child] : links) {
                size_t at = LinkSlot(key, mask);
                while (tailLinks_[at].Child != 0) {
                    at = (at + 1) & mask;
                }
                tailLinks_[at] = {key, child};
            }
        } else {
            tailRuns_.clear();
        }
    }

    filter_.LoadFromFile(filterFile);
    std::unordered_map<std::wstring, std::vector<int32_t>> recordsOfGroup;
    for (int32_t i = 0; i < Count(); ++i) {
        const TRTB_Table_Rec& record = records_[static_cast<size_t>(i)];
        recordsOfGroup[record.Ending + L"-" + record.Prefix + L"-"].push_back(i);
    }
    groups_.resize(static_cast<size_t>(filter_.Count()));
    lineAlternative_.assign(static_cast<size_t>(filter_.Count()), -1);
    std::vector<uint64_t> pairs;
    for (int k = 0; k < filter_.Count(); ++k) {
        const std::wstring& line = filter_.Strings(k);
        // A line begins with ALT + "--/" exactly when ALT is the text before its first "--/", as no
        // alternative holds a "-".
        const size_t lemmaEnd = line.find(L"--/");
        if (lemmaEnd != std::wstring::npos) {
            const int32_t* id = ids.Find(std::wstring_view(line).substr(0, lemmaEnd));
            lineAlternative_[static_cast<size_t>(k)] = id ? *id : -1;
        }
        for (size_t slash = line.find(L'/', 1); slash != std::wstring::npos;) {
            const size_t next = line.find(L'/', slash + 1);
            if (next == std::wstring::npos) {
                break;
            }
            const std::wstring_view group = std::wstring_view(line).substr(slash + 1, next - slash - 1);
            groups_[static_cast<size_t>(k)].Insert(group, true);
            const auto records = recordsOfGroup.find(std::wstring(group));
            // A line that begins with "/GROUP/" has that text first at its first character.
            if (records != recordsOfGroup.end() &&
                line.compare(0, group.size() + 2, L"/" + std::wstring(group) + L"/") != 0) {
                for (const int32_t r : records->second) {
                    pairs.push_back(PairKey(k, r));
                }
            }
            slash = next;
        }
    }
    rowWords_ = (static_cast<size_t>(filter_.Count()) + 63) / 64;
    if (rowWords_ * records_.size() <= (size_t{1} << 20)) { // up to 8 MB of rows
        recordLines_.assign(rowWords_ * records_.size(), 0);
        for (const uint64_t key : pairs) {
            const uint64_t pair = key - 1;
            const auto line = static_cast<size_t>(pair >> 32);
            const auto record = static_cast<size_t>(pair & 0xFFFFFFFFu);
            recordLines_[record * rowWords_ + line / 64] |= uint64_t{1} << (line % 64);
        }
        return;
    }
    lineRecords_.assign(TableSize(pairs.size()), 0);
    const size_t mask = lineRecords_.size() - 1;
    for (const uint64_t key : pairs) {
        for (size_t at = PairSlot(key, mask);; at = (at + 1) & mask) {
            if (lineRecords_[at] == 0 || lineRecords_[at] == key) {
                lineRecords_[at] = key;
                break;
            }
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

int32_t TRTB_Table::TailChild(int32_t node, wchar_t letter) const {
    const uint32_t key = LinkKey(node, letter);
    const size_t mask = tailLinks_.size() - 1;
    for (size_t at = LinkSlot(key, mask); tailLinks_[at].Child != 0; at = (at + 1) & mask) {
        if (tailLinks_[at].Key == key) {
            return tailLinks_[at].Child;
        }
    }
    return -1;
}

size_t TRTB_Table::CollectRanges(std::wstring_view word, TRangeDia* ranges) const {
    size_t found = 0;
    if (tailRuns_.empty()) {
        for (size_t p = 0; p <= word.size(); ++p) {
            if (FindRange(word.substr(p), ranges[found])) {
                ++found;
            }
        }
        return found;
    }
    // The same ranges as FindRange gives for every tail, but the tails of small letters are walked
    // from the shortest and the walk ends where no ending ends with the tail.
    int32_t node = 0;
    size_t p = word.size();
    for (;;) {
        const TRangeDia& run = tailRuns_[static_cast<size_t>(node)];
        if (run.Lo >= 0) {
            ranges[found++] = run;
        }
        if (p == 0 || !IsPlainSmallLetter(word[p - 1])) {
            break;
        }
        node = TailChild(node, word[p - 1]);
        --p;
        if (node < 0) {
            break;
        }
    }
    // Of the longer tails, only those holding another character may compare equal to an ending.
    for (size_t q = p; q-- > 0;) {
        if (!IsPlainSmallLetter(word[q])) {
            for (size_t t = q + 1; t-- > 0;) {
                if (FindRange(word.substr(t), ranges[found])) {
                    ++found;
                }
            }
            break;
        }
    }
    std::reverse(ranges, ranges + found);
    return found;
}

void TRTB_Table::GenerateLemmas(const std::wstring& word, TWideStringList& out) const {
    out.Clear();
    ForEachLemma(word, [&](std::wstring_view lemma, int32_t index, int32_t alternative) {
        const TRTB_Table_Rec& record = records_[static_cast<size_t>(index)];
        out.Add(std::wstring(lemma));
        out.Add(record.Ending + L"-" + record.Prefix + L"-/");
        out.Add(Alternative(alternative) + L"--/");
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

bool TRTB_Table::MatchesRecord(int32_t k, int32_t record, int32_t alternative) const {
    if (k < 0) {
        return true;
    }
    if (k >= filter_.Count()) {
        filter_.Strings(k); // raises the list's index error, as MatchesParadigm does
    }
    if (lineAlternative_[static_cast<size_t>(k)] != alternative) {
        return false;
    }
    if (!recordLines_.empty()) {
        const uint64_t row = recordLines_[static_cast<size_t>(record) * rowWords_ + static_cast<size_t>(k) / 64];
        return ((row >> (k % 64)) & 1u) != 0;
    }
    const uint64_t key = PairKey(k, record);
    const size_t mask = lineRecords_.size() - 1;
    for (size_t at = PairSlot(key, mask);; at = (at + 1) & mask) {
        if (lineRecords_[at] == key) {
            return true;
        }
        if (lineRecords_[at] == 0) {
            return false;
        }
    }
}
