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

bool TCustTableTailes::FindLine(std::wstring_view ending, int& line) const {
    wchar_t small[33];
    const bool exact = plainOnly_ && ending.size() <= 33 && TatSmallLetters(ending, small);
    if (!exact) {
        return Find(std::wstring(ending), line);
    }
    const int* found = exact_.Find(std::wstring_view(small, ending.size()));
    if (found == nullptr) {
        return false;
    }
    line = *found;
    return true;
}

bool TCustTableTailes::FindEnding(std::wstring_view ending, int32_t (&ids)[4]) const {
    int line;
    if (!FindLine(ending, line)) {
        return false;
    }
    const auto* record = static_cast<const TTaileFileRecord*>(GetObject(line));
    std::memcpy(ids, record->Ids, sizeof ids);
    return true;
}

void TCustTableTailes::FreeRecords() {
    Clear();
    blocks_.clear();
    exact_.Clear();
    plainOnly_ = true;
}

namespace {

// The row of the chain's id at i. An id of more than one row (и and ый open the present, эшли,
// ашыйсыз, and the first-person imperative, ашыйк) is resolved by the suffix after it: only the
// imperative goes on with the person's к.
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
    return next != nullptr && next->FormCode == 10 && next->Key2 == 5 ? first : other;
}

// The record of a rule row of the four tables. Records are made once and live as long as the
// program, so chains point at them without counting references (a shared pointer with no owner):
// copying a chain into a result costs no atomic operation.
std::shared_ptr<const TTaileRec> RecordOf(const TTaileRule& rule, TPartOfSpeech part) {
    static const std::array<std::vector<TTaileRec>, kInflectingParts> records = [] {
        std::array<std::vector<TTaileRec>, kInflectingParts> all;
        for (int t = 0; t < kInflectingParts; ++t) {
            const TPartOfSpeech code = InflectingParts[t].Code;
            for (const TTaileRule& row : *RuleTableOf(code)) {
                TTaileRec& made = all[static_cast<size_t>(t)].emplace_back();
                if (row.RuleId >= 0 && row.RuleId < kAffixCount) {
                    std::copy(AffixTexts[row.RuleId], AffixTexts[row.RuleId] + kAffixCellSize, made.AffixText);
                }
                made.RuleId = row.RuleId;
                made.FormCode = row.FormCode;
                made.PartOfSpeech = code;
                made.FlagsA = row.FlagsA;
                made.FlagsB = row.FlagsB;
            }
        }
        return all;
    }();
    const std::vector<TTaileRec>& rows = records[static_cast<size_t>(InflectingPartIndex(part))];
    return std::shared_ptr<const TTaileRec>(std::shared_ptr<const TTaileRec>(),
                                            &rows[static_cast<size_t>(&rule - RuleTableOf(part)->begin())]);
}

} // namespace

void TTableTailes::LoadTables(const std::wstring& folder) {
    for (int i = 0; i < kInflectingParts; ++i) {
        lists_[i].LoadRecords(folder + InflectingParts[i].SuffixFile);
    }
    BuildChains();
    BuildEnds();
}

void TTableTailes::BuildChains() {
    for (int t = 0; t < kInflectingParts; ++t) {
        const TPartOfSpeech part = InflectingParts[t].Code;
        const TTableView<TTaileRule>& rules = *RuleTableOf(part);
        std::vector<TTailChain>& chains = chains_[t];
        chains.assign(static_cast<size_t>(lists_[t].Count()), TTailChain{});
        for (int line = 0; line < lists_[t].Count(); ++line) {
            const auto* record = static_cast<const TTaileFileRecord*>(lists_[t].GetObject(line));
            TTailChain& chain = chains[static_cast<size_t>(line)];
            const wchar_t* const endingEnd = std::find(std::begin(record->Ending), std::end(record->Ending), L'\0');
            chain.Ending = std::wstring_view(record->Ending, static_cast<size_t>(endingEnd - record->Ending));
            chain.Part = part;
            for (int i = 0; i < 4 && record->Ids[i] >= 1; ++i) {
                const TTaileRule* rule = ResolveRule(rules, record->Ids, i);
                if (rule == nullptr) {
                    break; // an id the table lacks ends the chain
                }
                chain.Rules[chain.Count++] = rule;
            }
            for (size_t i = 0; i < chain.Count && chain.Rules[i]->RuleId < kAffixCount; ++i) {
                chain.Records.push_back(RecordOf(*chain.Rules[i], part));
            }
        }
    }
}

void TTableTailes::BuildEnds() {
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
    anyEnd_ = TTailEnd{1, 0, 0xFF};
    // Sized by the tails the endings share, not by their letters, so that the table stays small.
    std::vector<uint64_t> tails;
    tails.reserve(letters);
    for (const std::vector<TTailChain>& chains : chains_) {
        for (const TTailChain& chain : chains) {
            uint64_t state = EndStart();
            for (size_t k = chain.Ending.size(); k > 0; --k) {
                state = EndBack(state, chain.Ending[k - 1]);
                tails.push_back(state | 1);
            }
        }
    }
    std::sort(tails.begin(), tails.end());
    const auto distinct = static_cast<size_t>(std::unique(tails.begin(), tails.end()) - tails.begin());
    size_t size = 16;
    while (4 * size < 5 * distinct) {
        size *= 2;
    }
    ends_.assign(size, TTailEnd{});
    endMask_ = size - 1;
    endRows_.clear();
    rowsExact_ = true;
    auto slotOf = [this](uint64_t state) -> TTailEnd& {
        const uint64_t key = state | 1;
        for (uint64_t at = Spread(key) & endMask_;; at = (at + 1) & endMask_) {
            if (ends_[at].Key == 0 || ends_[at].Key == key) {
                ends_[at].Key = key;
                return ends_[at];
            }
        }
    };
    for (int t = 0; t < kInflectingParts; ++t) {
        for (size_t line = 0; line < chains_[t].size(); ++line) {
            const std::wstring_view ending = chains_[t][line].Ending;
            uint64_t state = EndStart();
            for (size_t k = ending.size(); k > 0; --k) {
                state = EndBack(state, ending[k - 1]);
                slotOf(state).Holds |= k > 1 ? kLongerEnding : static_cast<uint8_t>(1u << t);
            }
            TTailEnd& end = slotOf(state);
            if (end.Row == 0) {
                endRows_.emplace_back();
                endRows_.back().fill(-1);
                end.Row = static_cast<uint32_t>(endRows_.size());
            }
            int32_t& row = endRows_[end.Row - 1][static_cast<size_t>(t)];
            if (row < 0) {
                row = static_cast<int32_t>(line);
            } else if (chains_[t][static_cast<size_t>(row)].Ending != ending) {
                rowsExact_ = false; // two endings of one table on one state: found by the search
            }
        }
    }
}

const TTailEnd* TTableTailes::FindEnd(uint64_t state) const {
    if (endsAnyhow_) {
        return &anyEnd_;
    }
    if (ends_.empty()) {
        return nullptr;
    }
    const uint64_t key = state | 1;
    for (uint64_t at = Spread(key) & endMask_;; at = (at + 1) & endMask_) {
        if (ends_[at].Key == key) {
            return &ends_[at];
        }
        if (ends_[at].Key == 0) {
            return nullptr;
        }
    }
}

const TCustTableTailes& TTableTailes::List(TPartOfSpeech part) const {
    static const TCustTableTailes none;
    const int index = InflectingPartIndex(part);
    return index < 0 ? none : lists_[index];
}

const TTailChain* TTableTailes::Find(std::wstring_view ending, TPartOfSpeech part) const {
    const int index = InflectingPartIndex(part);
    int line;
    if (index < 0 || !lists_[index].FindLine(ending, line)) {
        return nullptr;
    }
    return &chains_[index][static_cast<size_t>(line)];
}

const TTailChain* TTableTailes::FindAtEnd(const TTailEnd& end, std::wstring_view ending, TPartOfSpeech part) const {
    const int index = InflectingPartIndex(part);
    if (index < 0) {
        return nullptr;
    }
    if (!endsAnyhow_ && rowsExact_) {
        // Of the endings of one table, only the row's has the tail's state.
        const int32_t line = end.Row != 0 ? endRows_[end.Row - 1][static_cast<size_t>(index)] : -1;
        if (line >= 0 && chains_[index][static_cast<size_t>(line)].Ending == ending) {
            return &chains_[index][static_cast<size_t>(line)];
        }
        // Small letters equal to no ending are none; capital letters are asked of the search.
        if (IsPlainSmallCyrillic(ending.data(), ending.size())) {
            return nullptr;
        }
    }
    return Find(ending, part);
}

void TTableTailes::FreeTables() {
    ends_.clear();
    endRows_.clear();
    for (int t = 0; t < kInflectingParts; ++t) {
        chains_[t].clear();
        lists_[t].FreeRecords();
    }
}

bool LookupTaileChain(const wchar_t* tail, size_t /*length*/, TPartOfSpeech part) {
    return LookupTaileChain(std::wstring_view(tail), part);
}

bool LookupTaileChain(std::wstring_view tail, TPartOfSpeech part) {
    const TTailChain* chain = TableTailes.Find(tail, part);
    if (chain == nullptr) {
        return false;
    }
    CurrentTaile.insert(CurrentTaile.end(), chain->Records.begin(), chain->Records.end());
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
    // A front stem in и takes the possessives of "I", "you", "we" and "you all" as after a
    // consonant: әнием, әниең, әниебез, әниегез.
    const bool personal = formCode == 7 || formCode == 8 || formCode == 10 || formCode == 11;
    return part == posNoun && personal && last == L'и' && (flagsA & kConsonant) != 0 &&
           TatWordHarmony(stem) == kFrontHarmony;
}

bool TatTailFitsStem(std::wstring_view stem, std::wstring_view tail, const TTaile& chain) {
    if (chain.empty()) {
        return TatEndingFitsStem(stem, tail);
    }
    const TTaileRec& first = *chain.front();
    return TatFirstSuffixFits(stem, tail, first.PartOfSpeech, first.RuleId, first.FormCode, first.FlagsA);
}

bool TatSmallLetters(std::wstring_view text, wchar_t* out) {
    // The small letter of each weight of the alphabet.
    static const std::array<wchar_t, 39> small = [] {
        std::array<wchar_t, 39> letters{};
        for (wchar_t c = 0x400; c < 0x4EA; ++c) {
            const unsigned place = TatWeight(c) - TatWeight(L'а');
            if (place < letters.size() && IsPlainSmallCyrillic(&c, 1)) {
                letters[place] = c;
            }
        }
        return letters;
    }();
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned place = TatWeight(text[i]) - TatWeight(L'а');
        if (place >= small.size()) {
            return false;
        }
        out[i] = small[place];
    }
    return true;
}
