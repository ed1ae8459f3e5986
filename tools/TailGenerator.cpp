#include "tools/TailGenerator.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

#include "core/GP_PROC.h"
#include "core/TableTailes.h"
#include "core/Utf8.h"
#include "core/win32/SystemText.h"
#include "tools/DictSource.h"
#include "tools/SourceFile.h"

namespace {

constexpr size_t kMaxEnding = 33;
constexpr size_t kMaxIds = 4;

// The rule id of an affix; the noun step stores none, so it is found by form code and text.
int32_t RuleIdOf(TPartOfSpeech part, const TAffixInfo& affix) {
    if (affix.RuleId != 0) {
        return affix.RuleId;
    }
    const TTableView<TTaileRule>* rules = RuleTableOf(part);
    for (const TTaileRule& rule : *rules) {
        if (rule.FormCode == affix.FormCode && std::wcsncmp(AffixTexts[rule.RuleId], affix.AffixText, kAffixCellSize) == 0) {
            return rule.RuleId;
        }
    }
    return 0;
}

void AddChain(TPartOfSpeech part, const TGP_Proc_Rec& rec, std::vector<TailChain>& out, TailReport& report) {
    ++report.Forms;
    const size_t stemLength = rec.SplitForm.find(L'/');
    if (stemLength == std::wstring::npos) {
        return; // the stem alone
    }
    std::wstring joined = rec.SplitForm;
    joined.erase(std::remove(joined.begin(), joined.end(), L'/'), joined.end());
    if (joined != rec.Form) {
        report.Skipped.push_back(rec.Form + L": the split form " + rec.SplitForm + L" does not spell the form");
        return;
    }
    TailChain chain{rec.Form.substr(stemLength), {}};
    for (const TAffixInfo& affix : rec.Affixes) {
        if (affix.RuleId == kPlaceholderRuleId || std::wcscmp(affix.AffixText, kPlaceholderAffix) == 0) {
            continue;
        }
        const int32_t id = RuleIdOf(part, affix);
        if (id == 0 || FindRuleById(*RuleTableOf(part), id) == nullptr) {
            report.Skipped.push_back(rec.Form + L": the affix " + affix.AffixText + L" has no rule in its table");
            return;
        }
        chain.Ids.push_back(id);
    }
    if (chain.Ids.empty() || chain.Ids.size() > kMaxIds || chain.Ending.size() > kMaxEnding) {
        report.Skipped.push_back(rec.Form + L": the ending " + chain.Ending + L" does not fit a record");
        return;
    }
    out.push_back(std::move(chain));
}

} // namespace

std::vector<TailChain> BuilderChains(TPartOfSpeech part, const std::wstring& word, TailReport& report) {
    std::vector<TailChain> chains;
    const TPartOfSpeechInfo* info = InflectingPart(part);
    if (info == nullptr) {
        return chains;
    }
    for (const TGP_Proc_Rec& rec : info->Forms(word)) {
        AddChain(part, rec, chains, report);
    }
    return chains;
}

std::vector<TailChain> BuildTailTable(TPartOfSpeech part, const std::vector<std::wstring>& words,
                                      const std::vector<TailChain>& extra, TailReport& report) {
    std::vector<TailChain> met;
    for (const std::wstring& word : words) {
        for (TailChain& chain : BuilderChains(part, word, report)) {
            met.push_back(std::move(chain));
        }
    }
    met.insert(met.end(), extra.begin(), extra.end());

    std::vector<TailChain> table;
    std::map<std::wstring, size_t> byEnding;
    for (TailChain& chain : met) {
        const auto found = byEnding.find(chain.Ending);
        if (found == byEnding.end()) {
            byEnding.emplace(chain.Ending, table.size());
            table.push_back(std::move(chain));
            continue;
        }
        TailChain& kept = table[found->second];
        if (kept.Ids == chain.Ids) {
            continue;
        }
        report.Collisions.push_back(chain.Ending);
        if (chain.Ids.size() < kept.Ids.size()) {
            kept = std::move(chain);
        }
    }
    std::stable_sort(table.begin(), table.end(), [](const TailChain& a, const TailChain& b) {
        return SystemCompareIgnoreCase(a.Ending.c_str(), b.Ending.c_str()) < 0;
    });
    // Endings that differ in text but not under the system compare cannot both be found.
    std::vector<TailChain> distinct;
    for (TailChain& chain : table) {
        if (!distinct.empty() && SystemCompareIgnoreCase(distinct.back().Ending.c_str(), chain.Ending.c_str()) == 0) {
            report.Collisions.push_back(chain.Ending);
            continue;
        }
        distinct.push_back(std::move(chain));
    }
    std::sort(report.Collisions.begin(), report.Collisions.end());
    report.Collisions.erase(std::unique(report.Collisions.begin(), report.Collisions.end()), report.Collisions.end());
    return distinct;
}

std::vector<unsigned char> TailTableBytes(const std::vector<TailChain>& table) {
    std::vector<unsigned char> bytes(table.size() * sizeof(TTaileFileRecord), 0);
    for (size_t i = 0; i < table.size(); ++i) {
        TTaileFileRecord record{};
        std::copy(table[i].Ending.begin(), table[i].Ending.end(), record.Ending);
        std::copy(table[i].Ids.begin(), table[i].Ids.end(), record.Ids);
        std::memcpy(bytes.data() + i * sizeof record, &record, sizeof record);
    }
    return bytes;
}

namespace {

int TableOf(std::string_view name) {
    for (int i = 0; i < kInflectingParts; ++i) {
        if (name == InflectingParts[i].SourceName) {
            return i;
        }
    }
    return -1;
}

template <class Handle> void ForEachLine(const std::string& utf8, const std::string& sourceName, Handle handle) {
    for (const auto& [number, line] : SourceLines(utf8)) {
        const auto fields = SplitText(line, '\t');
        const int table = TableOf(fields[0]);
        const std::string where = sourceName + ":" + std::to_string(number) + ": ";
        if (table < 0) {
            throw DictSourceError(where + "the first field names no table (noun, adj, num, verb)");
        }
        handle(table, fields, where);
    }
}

} // namespace

void ParseTailStems(const std::string& utf8, const std::string& sourceName, TailSources& sources) {
    ForEachLine(utf8, sourceName, [&](int table, const std::vector<std::string_view>& fields, const std::string& where) {
        if (fields.size() != 2) {
            throw DictSourceError(where + "expected a table name and a list of words");
        }
        for (std::string_view word : SplitText(fields[1], ' ')) {
            if (!word.empty()) {
                sources.Words[table].push_back(Utf8ToWide(word));
            }
        }
    });
}

void ParseTailExtras(const std::string& utf8, const std::string& sourceName, TailSources& sources) {
    ForEachLine(utf8, sourceName, [&](int table, const std::vector<std::string_view>& fields, const std::string& where) {
        if (fields.size() != 3 || fields[1].empty()) {
            throw DictSourceError(where + "expected a table name, an ending and its rule ids");
        }
        TailChain chain{Utf8ToWide(fields[1]), {}};
        const TTableView<TTaileRule>* rules = RuleTableOf(InflectingParts[table].Code);
        for (std::string_view id : SplitText(fields[2], ' ')) {
            int32_t value = 0;
            const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), value);
            if (error != std::errc() || end != id.data() + id.size() || FindRuleById(*rules, value) == nullptr) {
                throw DictSourceError(where + "\"" + std::string(id) + "\" is not a rule id of the table");
            }
            chain.Ids.push_back(value);
        }
        if (chain.Ids.empty() || chain.Ids.size() > kMaxIds || chain.Ending.size() > kMaxEnding) {
            throw DictSourceError(where + "a record holds an ending of up to 33 letters and 1 to 4 rule ids");
        }
        sources.Extra[table].push_back(std::move(chain));
    });
}
