#include "core/TableTailes.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/Exceptions.h"
#include "core/GP_DATA.h"
#include "core/SysUtils_Qel.h"
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

bool TCustTableTailes::MayHold(std::wstring_view ending) const {
    if (plainOnly_ && IsPlainSmallCyrillic(ending.data(), ending.size())) {
        return exact_.Find(ending) != nullptr;
    }
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
    endings_.Clear();
    for (const TCustTableTailes& list : lists_) {
        for (int i = 0; i < list.Count(); ++i) {
            endings_.Insert(list.Strings(i), true);
        }
    }
}

bool TTableTailes::PlainOnly() const {
    return std::all_of(std::begin(lists_), std::end(lists_),
                       [](const TCustTableTailes& list) { return list.PlainOnly(); });
}

const TCustTableTailes& TTableTailes::List(TPartOfSpeech part) const {
    static const TCustTableTailes none;
    const int index = InflectingPartIndex(part);
    return index < 0 ? none : lists_[index];
}

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
        LastRules[i] = FindRuleById(*rules, ids[i]);
    }
    return true;
}

bool TTableTailes::MayEnd(std::wstring_view ending) const {
    if (PlainOnly() && IsPlainSmallCyrillic(ending.data(), ending.size())) {
        return endings_.Find(ending) != nullptr;
    }
    return true;
}

void TTableTailes::FreeTables() {
    endings_.Clear();
    for (TCustTableTailes& list : lists_) {
        list.FreeRecords();
    }
}

namespace {

// One shared record per rule row and part of speech: records are read-only, and results made by
// every lookup share them.
std::shared_ptr<const TTaileRec> TaileRecordOf(const TTaileRule& rule, TPartOfSpeech part) {
    static std::unordered_map<const TTaileRule*, std::shared_ptr<const TTaileRec>> records[kInflectingParts];
    auto& known = records[InflectingPartIndex(part)];
    auto& record = known[&rule];
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
