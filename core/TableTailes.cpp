#include "core/TableTailes.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/Exceptions.h"
#include "core/GP_DATA.h"
#include "core/SysUtils_Qel.h"
#include "core/TatAlphabet.h"
#include "core/UFileStream.h"
#include "core/win32/SystemText.h"

TTableTailes TableTailes;
TTaile CurrentTaile;

void TCustTableTailes::LoadRecords(const std::wstring& fileName) {
    TUFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    const int64_t size = stream.Size();
    // A suffix table holds some thousands of endings; a file of this size is not one.
    constexpr int64_t kMaxTableBytes = int64_t(256) << 20;
    if (size > kMaxTableBytes) {
        throw EReadError(L"The suffix table \"" + fileName + L"\" is damaged: it is larger than 256 MB");
    }
    if (size % static_cast<int64_t>(sizeof(TTaileFileRecord)) != 0) {
        throw EReadError(L"The suffix table \"" + fileName + L"\" is damaged: its size (" + std::to_wstring(size) +
                         L" bytes) is not a whole number of records");
    }
    const auto count = static_cast<size_t>(size / static_cast<int64_t>(sizeof(TTaileFileRecord)));
    if (count == 0) {
        return;
    }
    auto block = std::make_unique<TTaileFileRecord[]>(count);
    stream.ReadBuffer(block.get(), count * sizeof(TTaileFileRecord));

    struct Line {
        std::wstring Text;
        TTaileFileRecord* Record;
    };
    std::vector<Line> lines;
    lines.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        TTaileFileRecord& record = block[i];
        lines.push_back({std::wstring(record.Ending, std::find(record.Ending, record.Ending + 33, L'\0')), &record});
    }
    // A table written under another locale's order would leave endings unfindable.
    auto before = [](const Line& a, const Line& b) { return SystemCompareIgnoreCase(a.Text.c_str(), b.Text.c_str()) < 0; };
    if (!std::is_sorted(lines.begin(), lines.end(), before)) {
        std::stable_sort(lines.begin(), lines.end(), before);
    }
    BeginUpdate();
    for (const Line& line : lines) {
        AddObject(line.Text, line.Record);
        plainOnly_ = plainOnly_ && IsPlainSmallCyrillic(line.Text.data(), line.Text.size());
    }
    EndUpdate();
    blocks_.push_back(std::move(block));
    exact_.Clear();
    for (int i = 0; i < Count(); ++i) {
        exact_.Insert(Strings(i), i);
    }
}

bool TCustTableTailes::FindEnding(std::wstring_view ending, int32_t (&ids)[4]) const {
    int index;
    if (plainOnly_ && IsPlainSmallCyrillic(ending.data(), ending.size())) {
        const int* found = exact_.Find(ending);
        if (found == nullptr) {
            return false;
        }
        index = *found;
    } else if (!Find(std::wstring(ending), index)) {
        return false;
    }
    const auto* record = static_cast<const TTaileFileRecord*>(GetObject(index));
    std::memcpy(ids, record->Ids, sizeof ids);
    return true;
}

void TCustTableTailes::FreeRecords() {
    Clear();
    blocks_.clear();
    exact_.Clear();
    plainOnly_ = true;
}

void TTableTailes::LoadTables(const std::wstring& folder) {
    for (int i = 0; i < kInflectingParts; ++i) {
        lists_[i].LoadRecords(folder + InflectingParts[i].SuffixFile);
    }
    size_t letters = 0;
    endsAnyhow_ = false;
    for (const TCustTableTailes& list : lists_) {
        // Endings other than small letters are found by the system compare, which folds more than
        // the Tatar order does: every tail may then be one.
        endsAnyhow_ = endsAnyhow_ || !list.PlainOnly();
        for (int i = 0; i < list.Count(); ++i) {
            letters += list.Strings(i).size();
        }
    }
    // Sized by the tails the endings share, not by their letters, so that the table stays small.
    std::vector<uint64_t> tails;
    tails.reserve(letters);
    for (const TCustTableTailes& list : lists_) {
        for (int i = 0; i < list.Count(); ++i) {
            const std::wstring& ending = list.Strings(i);
            uint64_t state = EndStart();
            for (size_t k = ending.size(); k > 0; --k) {
                state = EndBack(state, ending[k - 1]);
                tails.push_back(state);
            }
        }
    }
    std::sort(tails.begin(), tails.end());
    const auto distinct = static_cast<size_t>(std::unique(tails.begin(), tails.end()) - tails.begin());
    size_t size = 16;
    while (size < 2 * distinct) {
        size *= 2;
    }
    endKeys_.assign(size, 0);
    endBits_.assign(size, 0);
    endMask_ = size - 1;
    auto mark = [this](uint64_t state, uint8_t bits) {
        const uint64_t key = state | 1;
        for (uint64_t at = key & endMask_;; at = (at + 1) & endMask_) {
            if (endKeys_[at] == 0 || endKeys_[at] == key) {
                endKeys_[at] = key;
                endBits_[at] |= bits;
                return;
            }
        }
    };
    for (int t = 0; t < kInflectingParts; ++t) {
        for (int i = 0; i < lists_[t].Count(); ++i) {
            const std::wstring& ending = lists_[t].Strings(i);
            uint64_t state = EndStart();
            for (size_t k = ending.size(); k > 0; --k) {
                state = EndBack(state, ending[k - 1]);
                mark(state, k > 1 ? kLongerEnding : static_cast<uint8_t>(1u << t));
            }
        }
    }
}

uint64_t TTableTailes::EndBack(uint64_t state, wchar_t letter) {
    return (state ^ TatWeight(letter)) * 1099511628211ull;
}

uint8_t TTableTailes::EndHolds(uint64_t state) const {
    if (endsAnyhow_) {
        return 0xFF;
    }
    if (endKeys_.empty()) {
        return 0;
    }
    const uint64_t key = state | 1;
    for (uint64_t at = key & endMask_;; at = (at + 1) & endMask_) {
        if (endKeys_[at] == key) {
            return endBits_[at];
        }
        if (endKeys_[at] == 0) {
            return 0;
        }
    }
}

const TCustTableTailes& TTableTailes::List(TPartOfSpeech part) const {
    static const TCustTableTailes none;
    const int index = InflectingPartIndex(part);
    return index < 0 ? none : lists_[index];
}

namespace {

// The row of the chain's id at i. An id of more than one row (и and ый open the present, эшли,
// ашыйсыз, and the first-person imperative, ашыйк) is resolved by the suffix after it: only the
// imperative goes on with the person's ым, ем or к.
const TTaileRule* ResolveRule(const TTableView<TTaileRule>& rules, const int32_t (&ids)[4], int i) {
    const TTaileRule* first = FindRuleById(rules, ids[i]);
    if (first == nullptr || first->FormCode != 20) {
        return first;
    }
    const TTaileRule* other = nullptr;
    for (const TTaileRule& rule : rules) {
        if (rule.RuleId == ids[i] && &rule != first) {
            other = &rule;
            break;
        }
    }
    if (other == nullptr) {
        return first;
    }
    const TTaileRule* next = i + 1 < 4 && ids[i + 1] >= 1 ? FindRuleById(rules, ids[i + 1]) : nullptr;
    const bool person = next != nullptr && ((next->FormCode == 7 && next->Key2 == 4 && (next->FlagsA & kVowel) == 0) ||
                                            (next->FormCode == 10 && next->Key2 == 5));
    return person ? first : other;
}

} // namespace

bool TTableTailes::Lookup(std::wstring_view ending, TPartOfSpeech part) {
    const TTableView<TTaileRule>* rules = RuleTableOf(part);
    if (rules == nullptr) {
        return false;
    }
    int32_t ids[4];
    if (!List(part).FindEnding(ending, ids)) {
        return false;
    }
    std::copy(ids, ids + 4, LastIds);
    std::fill(LastRules, LastRules + 4, nullptr);
    for (int i = 0; i < 4 && ids[i] >= 1; ++i) {
        LastRules[i] = ResolveRule(*rules, ids, i);
        if (LastRules[i] == nullptr) {
            break; // an id the table lacks ends the chain
        }
    }
    return true;
}

void TTableTailes::FreeTables() {
    endKeys_.clear();
    endBits_.clear();
    for (TCustTableTailes& list : lists_) {
        list.FreeRecords();
    }
}

namespace {

// One shared record per rule row and part of speech: records are read-only, and results made by
// every lookup share them.
const std::shared_ptr<const TTaileRec>& TaileRecordOf(const TTaileRule& rule, TPartOfSpeech part) {
    static std::vector<std::shared_ptr<const TTaileRec>> records[kInflectingParts];
    const TTableView<TTaileRule>& rules = *RuleTableOf(part);
    auto& known = records[InflectingPartIndex(part)];
    known.resize(rules.size());
    auto& record = known[static_cast<size_t>(&rule - rules.begin())];
    if (!record) {
        auto made = std::make_shared<TTaileRec>();
        std::copy(AffixTexts[rule.RuleId], AffixTexts[rule.RuleId] + kAffixCellSize, made->AffixText);
        made->RuleId = rule.RuleId;
        made->FormCode = rule.FormCode;
        made->PartOfSpeech = part;
        made->FlagsA = rule.FlagsA;
        made->FlagsB = rule.FlagsB;
        record = std::move(made);
    }
    return record;
}

} // namespace

bool LookupTaileChain(const wchar_t* tail, size_t /*length*/, TPartOfSpeech part) {
    return LookupTaileChain(std::wstring_view(tail), part);
}

bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part) {
    if (!TableTailes.Lookup(tail, part)) {
        return false;
    }
    for (const TTaileRule* rule : TableTailes.LastRules) {
        if (rule == nullptr || rule->RuleId < 0 || rule->RuleId >= kAffixCount) {
            break;
        }
        CurrentTaile.push_back(TaileRecordOf(*rule, part));
    }
    return true;
}

void ClearTaileChain() {
    CurrentTaile.clear();
}

void CopyTaileChain(TTaile& out) {
    if (!CurrentTaile.empty()) {
        out = CurrentTaile;
    }
}

void TableTailesInit(const std::wstring& folder) {
    TableTailes.LoadTables(folder);
}

void TableTailesDone() {
    TableTailes.FreeTables();
    ClearTaileChain();
}
