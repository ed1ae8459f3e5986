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
        for (uint64_t at = EndSlot(key);; at = (at + 1) & endMask_) {
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
    size_t endings = 0;
    for (const TCustTableTailes& list : lists_) {
        endings += static_cast<size_t>(list.Count());
    }
    size = 16;
    while (size < 2 * endings) {
        size *= 2;
    }
    endRecords_.assign(size, TEndRecords{});
    endRecordMask_ = size - 1;
    for (int t = 0; t < kInflectingParts; ++t) {
        for (int i = 0; i < lists_[t].Count(); ++i) {
            const std::wstring& ending = lists_[t].Strings(i);
            uint64_t state = EndStart();
            for (size_t k = ending.size(); k > 0; --k) {
                state = EndBack(state, ending[k - 1]);
            }
            const uint64_t key = state | 1;
            uint64_t at = Spread(key) & endRecordMask_;
            // One slot an ending text; endings folded alike in the Tatar order share the key.
            while (endRecords_[at].Key != 0 && (endRecords_[at].Key != key || endRecords_[at].Records[t] != nullptr)) {
                at = (at + 1) & endRecordMask_;
            }
            endRecords_[at].Key = key;
            endRecords_[at].Records[t] = static_cast<const TTaileFileRecord*>(lists_[t].GetObject(i));
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
    for (uint64_t at = EndSlot(key);; at = (at + 1) & endMask_) {
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
    int32_t ids[4];
    return RuleTableOf(part) != nullptr && List(part).FindEnding(ending, ids) && Resolve(ids, part);
}

bool TTableTailes::LookupEnd(uint64_t state, std::wstring_view ending, TPartOfSpeech part) {
    const int index = InflectingPartIndex(part);
    if (index < 0) {
        return false;
    }
    if (endsAnyhow_ || endRecords_.empty() || !IsPlainSmallCyrillic(ending.data(), ending.size())) {
        return Lookup(ending, part);
    }
    const uint64_t key = state | 1;
    for (uint64_t at = Spread(key) & endRecordMask_; endRecords_[at].Key != 0; at = (at + 1) & endRecordMask_) {
        const TTaileFileRecord* record = endRecords_[at].Records[index];
        if (endRecords_[at].Key != key || record == nullptr) {
            continue;
        }
        const size_t length =
            static_cast<size_t>(std::find(record->Ending, record->Ending + 33, L'\0') - record->Ending);
        if (std::wstring_view(record->Ending, length) == ending) {
            int32_t ids[4];
            std::memcpy(ids, record->Ids, sizeof ids);
            return Resolve(ids, part);
        }
    }
    return false;
}

bool TTableTailes::Resolve(const int32_t (&ids)[4], TPartOfSpeech part) {
    const TTableView<TTaileRule>* rules = RuleTableOf(part);
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
    endRecords_.clear();
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

namespace {

void AppendChain(TPartOfSpeech part) {
    for (const TTaileRule* rule : TableTailes.LastRules) {
        if (rule == nullptr || rule->RuleId < 0 || rule->RuleId >= kAffixCount) {
            break;
        }
        CurrentTaile.push_back(TaileRecordOf(*rule, part));
    }
}

} // namespace

bool LookupTaileChainAt(uint64_t state, std::wstring_view tail, TPartOfSpeech part) {
    if (!TableTailes.LookupEnd(state, tail, part)) {
        return false;
    }
    AppendChain(part);
    return true;
}

bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part) {
    if (!TableTailes.Lookup(tail, part)) {
        return false;
    }
    AppendChain(part);
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

namespace {

inline bool IsVowelLetter(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

inline bool IsConsonantLetter(wchar_t c) {
    return (TatLetterClass(c) & kConsonant) != 0 && c != L'ь' && c != L'ъ';
}

} // namespace

// An ending that names no suffix fits the stem as its first suffix would by the rule rows: an
// opening vowel after a consonant (or a у, ү or и said with a consonant), п after a vowel, г, д
// after a vowel or a voiced letter, к, т after a voiceless one, нн, нд after a possessed stem.
bool TatEndingFitsStem(std::wstring_view stem, std::wstring_view tail) {
    if (stem.empty() || tail.empty()) {
        return true;
    }
    const wchar_t last = stem.back();
    const uint32_t end = TatLastLetterClass(stem);
    const wchar_t first = tail[0];
    switch (first) {
    case L'я':
    case L'ю':
        return IsVowelLetter(last);
    case L'ы':
    case L'е':
    case L'а':
    case L'ә':
        return (end & kConsonant) != 0 || (TatLetterClass(last) & kLetterU) != 0 || last == L'и';
    case L'п':
        return IsVowelLetter(last);
    case L'г':
    case L'д':
        return (end & (kVowel | kVoicedConsonant | kNasalConsonant)) != 0;
    case L'к':
    case L'т':
        return (end & kVoicelessConsonant) != 0;
    case L'н':
        return tail.size() < 2 || !IsConsonantLetter(tail[1]) || last == L'ы' || last == L'е';
    default:
        return true;
    }
}

// The first suffix of a chain against the stem: by the letters it follows, as the grammar notes
// test it; besides, я, ю after a vowel hold the stem's й, the first and second person follow a
// front и (әнием), and the н of a possessed stem follows only its ы or е (тавын, туена, not түбә-н).
bool TatFirstSuffixFits(std::wstring_view stem, std::wstring_view tail, TPartOfSpeech part, int32_t ruleId,
                        uint8_t formCode, uint8_t flagsA) {
    const wchar_t last = stem.empty() ? 0 : stem.back();
    if (part == posNoun && (ruleId == 25 || ruleId == 19 || ruleId == 20)) {
        return last == L'ы' || last == L'е';
    }
    TTaileRec first;
    first.RuleId = ruleId;
    first.FormCode = formCode;
    first.PartOfSpeech = part;
    first.FlagsA = flagsA;
    if (TaileFitsBase(stem, first)) {
        return true;
    }
    if (!tail.empty() && (tail[0] == L'я' || tail[0] == L'ю') && IsVowelLetter(last)) {
        return true;
    }
    return part == posNoun && (formCode == 7 || formCode == 8) && last == L'и' && (flagsA & kConsonant) != 0 &&
           TatWordHarmony(stem) == kFrontHarmony;
}

bool TatTailFitsStem(std::wstring_view stem, std::wstring_view tail, const TTaile& chain) {
    if (chain.empty()) {
        return TatEndingFitsStem(stem, tail);
    }
    const TTaileRec& first = *chain.front();
    return TatFirstSuffixFits(stem, tail, first.PartOfSpeech, first.RuleId, first.FormCode, first.FlagsA);
}
