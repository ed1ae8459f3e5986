#include "tools/TailGenerator.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

#include "core/GP_PROC.h"
#include "core/TableTailes.h"
#include "core/win32/SystemText.h"
#include "tools/DictSource.h"
#include "tools/SourceFile.h"

namespace {

constexpr size_t kMaxEnding = 33;
constexpr size_t kMaxIds = 4;

// The rule id of an affix in the table; the noun step stores none, so it is found by form code and text.
int32_t RuleIdOf(const TTableView<TTaileRule>& rules, const TAffixInfo& affix) {
    if (affix.RuleId != 0 && FindRuleById(rules, affix.RuleId) != nullptr) {
        return affix.RuleId;
    }
    for (const TTaileRule& rule : rules) {
        if (rule.FormCode == affix.FormCode && std::wcsncmp(AffixTexts[rule.RuleId], affix.AffixText, kAffixCellSize) == 0) {
            return rule.RuleId;
        }
    }
    return 0;
}

bool IsPlaceholder(const TAffixInfo& affix) {
    return affix.RuleId == kPlaceholderRuleId || std::wcscmp(affix.AffixText, kPlaceholderAffix) == 0;
}

// A form on its way into a table: the stem as the form writes it, the ending after it, the ids of
// the suffixes when each has a row of the table, and the mark continuations select it by.
struct TailForm {
    std::wstring Stem;
    std::wstring Ending;
    std::vector<int32_t> Ids;
    bool Named = true;
    std::wstring Mark;
};

// The form of a builder record; false, with the reason reported, when it cannot become a record.
bool FormOf(TPartOfSpeech part, const TGP_Proc_Rec& rec, TailForm& form, TailReport& report) {
    ++report.Forms;
    const size_t stemLength = std::min(rec.SplitForm.find(L'/'), rec.SplitForm.size());
    std::wstring joined = rec.SplitForm;
    joined.erase(std::remove(joined.begin(), joined.end(), L'/'), joined.end());
    if (joined != rec.Form) {
        report.Skipped.push_back(rec.Form + L": the split form " + rec.SplitForm + L" does not spell the form");
        return false;
    }
    form = {rec.Form.substr(0, stemLength), rec.Form.substr(stemLength), {}, true, L"stem"};
    for (const TAffixInfo& affix : rec.Affixes) {
        form.Mark = std::to_wstring(affix.FormCode);
        if (IsPlaceholder(affix)) {
            continue;
        }
        const int32_t id = RuleIdOf(*RuleTableOf(part), affix);
        if (id == 0) {
            report.Skipped.push_back(rec.Form + L": the affix " + affix.AffixText + L" has no rule in its table");
            return false;
        }
        form.Ids.push_back(id);
    }
    return true;
}

// The chain of a form with an ending; false when it has none or does not fit a record.
bool ChainOf(const TailForm& form, TailChain& chain) {
    if (form.Ending.empty() || form.Ending.size() > kMaxEnding) {
        return false;
    }
    chain.Ending = form.Ending;
    chain.Ids.clear();
    if (form.Named && !form.Ids.empty() && form.Ids.size() <= kMaxIds) {
        chain.Ids = form.Ids;
    }
    return true;
}

const TailSuffix* ChooseSuffix(const std::vector<TailSuffix>& suffixes, const std::wstring& before, int harmony) {
    const uint32_t letterClass = TatLastLetterClass(before) & 0xFF;
    for (const TailSuffix& suffix : suffixes) {
        if ((suffix.Classes & letterClass) != 0 && (suffix.Harmony & harmony) != 0) {
            return &suffix;
        }
    }
    return nullptr;
}

bool IsVowelLetter(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

// The word as a stem: continuations join its suffixes as the builders would join their first one.
struct TailWord {
    TPartOfSpeech Part;
    std::wstring Word;
    TVerbStem Verb; // for verbs
    int Harmony;
};

// One suffix of the list joined to a form; false when none fits.
bool JoinSuffix(const TailWord& word, const std::vector<TailSuffix>& suffixes, const TailForm& form, TailForm& out) {
    std::wstring before = form.Stem + form.Ending;
    if (word.Part == posVerb && form.Ending.empty() && word.Verb.HiddenY) {
        before += L'й'; // ди counts as дий
    }
    const TailSuffix* suffix = ChooseSuffix(suffixes, before, word.Harmony);
    if (suffix == nullptr) {
        return false;
    }
    out = form;
    std::wstring text = suffix->Text;
    if (form.Ending.empty() && word.Part == posVerb) {
        SpellVerbStemBorder(word.Verb, out.Stem, text);
        if (out.Stem != form.Stem && !IsVowelLetter(text[0])) {
            // A voiced final said voiceless: the suffix follows the new letter (ау/ды, тап/кач).
            suffix = ChooseSuffix(suffixes, out.Stem, word.Harmony);
            if (suffix == nullptr) {
                return false;
            }
            text = suffix->Text;
        }
    } else if (form.Ending.empty() && IsVowelLetter(text[0])) {
        TGP_Proc_Rec rec{form.Stem, form.Stem, form.Stem, {}};
        AdjustStemBorder(text.c_str(), rec);
        out.Stem = rec.Form;
        if (out.Stem != form.Stem) {
            // The border may have made the last letter a vowel (туе): choose again for it.
            suffix = ChooseSuffix(suffixes, out.Stem, word.Harmony);
            if (suffix == nullptr) {
                return false;
            }
            text = suffix->Text;
        }
    } else if (!form.Ending.empty() && IsVowelLetter(text[0])) {
        wchar_t& last = out.Ending.back();
        if (last == L'к' || last == L'п') {
            last = static_cast<wchar_t>(TatLetterClass(last) >> 16); // ачак + ы: ачагы
        }
    }
    out.Ending += text;
    if (suffix->Id != 0) {
        out.Ids.push_back(suffix->Id);
    } else {
        out.Named = false;
    }
    return true;
}

// Every form the noun builder makes of the form, as continued forms of it.
void JoinNounForms(const TailWord& word, const TailForm& form, std::vector<TailForm>& out) {
    if (form.Ending.empty()) {
        return;
    }
    const TTableView<TTaileRule>& rules = *RuleTableOf(word.Part);
    for (const TGP_Proc_Rec& rec : InflectingPart(posNoun)->Forms(form.Stem + form.Ending)) {
        if (rec.Affixes.empty() || rec.Form.compare(0, form.Stem.size(), form.Stem) != 0) {
            continue;
        }
        TailForm next = form;
        next.Ending = rec.Form.substr(form.Stem.size());
        for (const TAffixInfo& affix : rec.Affixes) {
            const int32_t id = RuleIdOf(rules, affix);
            if (id == 0) {
                next.Named = false;
            }
            next.Ids.push_back(id);
        }
        out.push_back(std::move(next));
    }
}

bool Selects(const TailContinuation& continuation, const std::wstring& mark) {
    for (const std::wstring& after : continuation.After) {
        if (after == mark || after == L"any") {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<TailChain> BuilderChains(TPartOfSpeech part, const std::wstring& word, TailReport& report) {
    return TextChains(part, word, {}, report);
}

namespace {

// The builders' forms of the word and its continued forms, in the order met.
std::vector<TailForm> FormsOf(TPartOfSpeech part, const std::wstring& word,
                              const std::vector<TailContinuation>& continuations, TailReport& report) {
    std::vector<TailForm> forms;
    const TPartOfSpeechInfo* info = InflectingPart(part);
    if (info == nullptr) {
        return forms;
    }
    const TailWord tailWord{part, word, part == posVerb ? TatVerbStem(word) : TVerbStem{}, TatWordHarmony(word)};
    forms.push_back({part == posVerb ? tailWord.Verb.Stem : word, L"", {}, true, L"stem"});
    for (const TGP_Proc_Rec& rec : info->Forms(word)) {
        TailForm form;
        if (FormOf(part, rec, form, report) && form.Mark != L"stem") {
            forms.push_back(std::move(form));
        }
    }
    for (const TailContinuation& continuation : continuations) {
        const size_t count = forms.size();
        for (size_t i = 0; i < count; ++i) {
            if (!Selects(continuation, forms[i].Mark)) {
                continue;
            }
            std::vector<TailForm> added;
            if (continuation.Nouns) {
                JoinNounForms(tailWord, forms[i], added);
            } else {
                TailForm next;
                if (JoinSuffix(tailWord, continuation.Suffixes, forms[i], next)) {
                    added.push_back(std::move(next));
                }
            }
            for (TailForm& form : added) {
                form.Mark = continuation.Mark;
                forms.push_back(std::move(form));
            }
        }
    }
    return forms;
}

} // namespace

std::vector<TailChain> TextChains(TPartOfSpeech part, const std::wstring& word,
                                  const std::vector<TailContinuation>& continuations, TailReport& report) {
    std::vector<TailChain> chains;
    for (const TailForm& form : FormsOf(part, word, continuations, report)) {
        TailChain chain;
        if (ChainOf(form, chain)) {
            chains.push_back(std::move(chain));
        }
    }
    return chains;
}

std::vector<std::wstring> TextForms(TPartOfSpeech part, const std::wstring& word,
                                    const std::vector<TailContinuation>& continuations) {
    TailReport report;
    std::vector<std::wstring> words;
    for (const TailForm& form : FormsOf(part, word, continuations, report)) {
        TailChain chain;
        if (ChainOf(form, chain)) {
            words.push_back(form.Stem + form.Ending);
        }
    }
    return words;
}

std::vector<TailChain> BuildTailTable(TPartOfSpeech part, const std::vector<std::wstring>& words,
                                      const std::vector<TailChain>& extra, TailReport& report,
                                      const std::vector<TailContinuation>& continuations) {
    std::vector<TailChain> met;
    for (const std::wstring& word : words) {
        for (TailChain& chain : TextChains(part, word, continuations, report)) {
            met.push_back(std::move(chain));
        }
    }
    met.insert(met.end(), extra.begin(), extra.end());

    // A chain that names its suffixes, then the shorter one, wins.
    auto better = [](const TailChain& a, const TailChain& b) {
        if (a.Ids.empty() != b.Ids.empty()) {
            return b.Ids.empty();
        }
        return a.Ids.size() < b.Ids.size();
    };
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
        if (!kept.Ids.empty() && !chain.Ids.empty()) {
            report.Collisions.push_back(chain.Ending);
        }
        if (better(chain, kept)) {
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
        const std::string where = SourcePlace(sourceName, number);
        if (table < 0) {
            throw DictSourceError(where + "the first field names no table (noun, adj, num, verb)");
        }
        handle(table, fields, where);
    }
}

// A rule id of the table, checked; with a text, the text must be the rule's affix.
int32_t ParseRuleId(std::string_view field, const TTableView<TTaileRule>& rules, const std::string& where,
                    const std::wstring* text = nullptr) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    const TTaileRule* rule =
        error == std::errc() && end == field.data() + field.size() ? FindRuleById(rules, value) : nullptr;
    if (rule == nullptr || (text != nullptr && *text != AffixTexts[rule->RuleId])) {
        throw DictSourceError(where + QuoteField(field) + " is not a rule id of the table" +
                              (text != nullptr ? " for its suffix" : ""));
    }
    return value;
}

uint8_t ParseMask(std::string_view field, const std::string& where, const char* what) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
    if (error != std::errc() || end != field.data() + field.size() || value == 0 || value > 0xFF) {
        throw DictSourceError(where + QuoteField(field) + " is not " + what);
    }
    return static_cast<uint8_t>(value);
}

TailSuffix ParseSuffix(std::string_view field, const TTableView<TTaileRule>& rules, const std::string& where) {
    const auto parts = SplitText(field, ':');
    if (parts.size() != 3 && parts.size() != 4) {
        throw DictSourceError(where + "a suffix is text:classes:harmony[:id], not " + QuoteField(field));
    }
    TailSuffix suffix;
    suffix.Text = SourceField(parts[0], where, "the suffix", kMaxEnding);
    if (suffix.Text.empty()) {
        throw DictSourceError(where + "a suffix has a text");
    }
    suffix.Classes = ParseMask(parts[1], where, "a mask of letter classes");
    suffix.Harmony = ParseMask(parts[2], where, "a harmony (1, 4 or 7)");
    if (suffix.Harmony != 1 && suffix.Harmony != 4 && suffix.Harmony != 7) {
        throw DictSourceError(where + QuoteField(parts[2]) + " is not a harmony (1, 4 or 7)");
    }
    if (parts.size() == 4) {
        suffix.Id = ParseRuleId(parts[3], rules, where, &suffix.Text);
    }
    return suffix;
}

TailContinuation ParseContinuation(const std::vector<std::string_view>& fields, const TTableView<TTaileRule>& rules,
                                   const std::string& where) {
    if (fields.size() != 3 && fields.size() != 4) {
        throw DictSourceError(where + "expected a table name, \"after\" and marks, the suffixes and a mark");
    }
    TailContinuation continuation;
    for (std::string_view mark : SplitText(fields[1].substr(6), ',')) {
        continuation.After.push_back(SourceField(mark, where, "a mark", kMaxSourceWord));
    }
    for (std::string_view field : SplitText(fields[2], ' ')) {
        if (field == "nouns") {
            continuation.Nouns = true;
        } else if (!field.empty()) {
            continuation.Suffixes.push_back(ParseSuffix(field, rules, where));
        }
    }
    if (continuation.Nouns == !continuation.Suffixes.empty()) {
        throw DictSourceError(where + "a continuation joins either suffixes or the noun forms");
    }
    if (fields.size() == 4) {
        continuation.Mark = SourceField(fields[3], where, "the mark", kMaxSourceWord);
    }
    return continuation;
}

} // namespace

void ParseTailStems(const std::string& utf8, const std::string& sourceName, TailSources& sources) {
    ForEachLine(utf8, sourceName, [&](int table, const std::vector<std::string_view>& fields, const std::string& where) {
        if (fields.size() != 2) {
            throw DictSourceError(where + "expected a table name and a list of words");
        }
        for (std::string_view word : SplitText(fields[1], ' ')) {
            if (!word.empty()) {
                sources.Words[table].push_back(SourceField(word, where, "the word", kMaxSourceWord));
            }
        }
    });
}

void ParseTailExtras(const std::string& utf8, const std::string& sourceName, TailSources& sources) {
    ForEachLine(
        utf8, sourceName, [&](int table, const std::vector<std::string_view>& fields, const std::string& where) {
            const TTableView<TTaileRule>& rules = *RuleTableOf(InflectingParts[table].Code);
            if (fields.size() >= 2 && fields[1].substr(0, 6) == "after ") {
                sources.Continuations[table].push_back(ParseContinuation(fields, rules, where));
                return;
            }
            if (fields.size() != 3 || fields[1].empty()) {
                throw DictSourceError(where + "expected a table name, an ending and its rule ids");
            }
            std::vector<int32_t> ids;
            if (fields[2] != "-") {
                for (std::string_view id : SplitText(fields[2], ' ')) {
                    ids.push_back(ParseRuleId(id, rules, where));
                }
            }
            if (ids.size() > kMaxIds) {
                throw DictSourceError(where + "a record holds an ending of up to 33 letters and 1 to 4 rule ids");
            }
            const auto endings = SplitText(fields[1], ' ');
            if (endings.size() > 1 && !ids.empty()) {
                throw DictSourceError(where + "several endings on one line take \"-\" for an empty chain");
            }
            for (std::string_view ending : endings) {
                const std::wstring text = SourceField(ending, where, "the ending", kMaxSourceWord);
                if (text.empty() || text.size() > kMaxEnding) {
                    throw DictSourceError(where + "a record holds an ending of 1 to 33 letters");
                }
                sources.Extra[table].push_back({text, ids});
            }
        });
}
