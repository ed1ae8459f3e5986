#include "tools/ParadigmSource.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "core/win32/SystemText.h"
#include "tools/DictSource.h"
#include "tools/SourceFile.h"

std::vector<Paradigm> ParseParadigmSource(std::string_view utf8, const std::string& sourceName) {
    std::vector<Paradigm> paradigms;
    std::set<std::wstring> names;
    size_t lineNumber = 0;
    auto fail = [&](const std::string& message) {
        throw DictSourceError(SourcePlace(sourceName, lineNumber) + message);
    };
    // The table's own separators cannot stand inside an ending or prefix.
    auto piece = [&](std::string_view text, const char* what) {
        std::wstring wide =
            text == "_" ? std::wstring() : SourceField(text, SourcePlace(sourceName, lineNumber), what, kMaxSourceWord);
        if (wide.find_first_of(L"-/+_\t ") != std::wstring::npos) {
            fail(std::string(what) + " " + QuoteField(text) + " holds a character that is not allowed");
        }
        return wide;
    };
    for (const auto& [number, line] : SourceLines(utf8)) {
        lineNumber = number;
        const auto fields = SplitText(line, '\t');
        if (fields.size() != 3) {
            fail("expected 3 tab-separated fields (name, lemma ending, forms), found " + std::to_string(fields.size()));
        }
        Paradigm paradigm;
        paradigm.Name =
            SourceField(fields[0], SourcePlace(sourceName, lineNumber), "the paradigm name", kMaxSourceWord);
        if (paradigm.Name.empty() || !names.insert(paradigm.Name).second) {
            fail("the paradigm name " + QuoteField(fields[0]) + " is empty or used twice");
        }
        if (fields[1].empty()) {
            fail("the lemma ending is empty (write _ for none)");
        }
        paradigm.LemmaEnding = piece(fields[1], "the lemma ending");
        for (const std::string_view item : SplitText(fields[2], ' ')) {
            if (item.empty()) {
                continue;
            }
            const size_t plus = item.find('+');
            Inflection form;
            if (plus != std::string_view::npos) {
                form.Prefix = piece(item.substr(0, plus), "the prefix");
                form.Ending = piece(item.substr(plus + 1), "the ending");
            } else {
                form.Ending = piece(item, "the ending");
            }
            const bool known = std::any_of(paradigm.Forms.begin(), paradigm.Forms.end(), [&](const Inflection& f) {
                return f.Prefix == form.Prefix && f.Ending == form.Ending;
            });
            if (!known) {
                paradigm.Forms.push_back(form);
            }
        }
        if (paradigm.Forms.empty()) {
            fail("the paradigm has no forms");
        }
        paradigms.push_back(std::move(paradigm));
    }
    return paradigms;
}

std::vector<Inflection> TableForms(const Paradigm& paradigm) {
    std::vector<Inflection> forms;
    auto add = [&forms](const Inflection& form) {
        const bool known = std::any_of(forms.begin(), forms.end(), [&](const Inflection& f) {
            return f.Prefix == form.Prefix && f.Ending == form.Ending;
        });
        if (!known) {
            forms.push_back(form);
        }
    };
    for (const Inflection& form : paradigm.Forms) {
        add(form);
        std::vector<size_t> yo;
        for (size_t i = 0; i < form.Ending.size(); ++i) {
            if (form.Ending[i] == L'ё') {
                yo.push_back(i);
            }
        }
        // Each choice of the ё that are written е; an ending holds one or two of them.
        for (uint32_t choice = 1; yo.size() < 32 && choice < (1u << yo.size()); ++choice) {
            Inflection spelled = form;
            for (size_t bit = 0; bit < yo.size(); ++bit) {
                if ((choice >> bit) & 1u) {
                    spelled.Ending[yo[bit]] = L'е';
                }
            }
            add(spelled);
        }
    }
    return forms;
}

std::vector<std::wstring> DirectParadigmLines(const std::vector<Paradigm>& paradigms) {
    std::vector<std::wstring> lines;
    for (const Paradigm& p : paradigms) {
        std::wstring line = p.LemmaEnding + L"--/";
        for (const Inflection& form : TableForms(p)) {
            line += form.Ending + L"-" + form.Prefix + L"-/";
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> ReciprocalParadigmLines(const std::vector<Paradigm>& paradigms) {
    struct Record {
        std::wstring Ending, Prefix;
        std::vector<std::wstring> Alternatives;
    };
    std::vector<Record> records;
    std::map<std::pair<std::wstring, std::wstring>, size_t> index;
    for (const Paradigm& p : paradigms) {
        for (const Inflection& form : TableForms(p)) {
            auto [at, added] = index.emplace(std::make_pair(form.Ending, form.Prefix), records.size());
            if (added) {
                records.push_back({form.Ending, form.Prefix, {}});
            }
            auto& alternatives = records[at->second].Alternatives;
            if (std::find(alternatives.begin(), alternatives.end(), p.LemmaEnding) == alternatives.end()) {
                alternatives.push_back(p.LemmaEnding);
            }
        }
    }
    std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
        const int c = SystemCompareIgnoreCase(a.Ending.c_str(), b.Ending.c_str());
        return c != 0 ? c < 0 : a.Ending < b.Ending; // exact-equal endings stay adjacent
    });
    std::vector<std::wstring> lines;
    for (const Record& r : records) {
        std::wstring line = r.Ending + L"-" + r.Prefix + L"-/";
        for (const std::wstring& alternative : r.Alternatives) {
            line += alternative + L"-/";
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> ParadigmForms(const Paradigm& paradigm, const std::wstring& lemma) {
    std::vector<std::wstring> forms;
    if (lemma.size() < paradigm.LemmaEnding.size() ||
        lemma.compare(lemma.size() - paradigm.LemmaEnding.size(), std::wstring::npos, paradigm.LemmaEnding) != 0) {
        return forms;
    }
    const std::wstring stem = lemma.substr(0, lemma.size() - paradigm.LemmaEnding.size());
    for (const Inflection& form : paradigm.Forms) {
        forms.push_back(form.Prefix + stem + form.Ending);
    }
    return forms;
}
