#include "tools/DictSource.h"

#include <charconv>

#include "core/DictImage.h"
#include "core/PartsOfSpeech.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

constexpr size_t kMaxTitle = 63;     // the header's fields hold 64 units with the zero
constexpr size_t kMaxVersion = 31;   // a later reserved field overlaps the version's tail
constexpr size_t kMaxText = 1 << 20;

class Parser {
public:
    Parser(std::string sourceName, const std::vector<Paradigm>* paradigms)
        : name_(std::move(sourceName)), paradigms_(paradigms) {}

    [[noreturn]] void Fail(const std::string& message) const {
        throw DictSourceError(SourcePlace(name_, line_) + message);
    }

    std::wstring Text(std::string_view field, const char* what, size_t maxLength) const {
        if (field.empty()) {
            Fail(std::string(what) + " is empty");
        }
        return SourceField(field, SourcePlace(name_, line_), what, maxLength);
    }

    int32_t Number(std::string_view field, const char* what, long long low, long long high) const {
        long long value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || error != std::errc() || end != field.data() + field.size()) {
            Fail(std::string(what) + " " + QuoteField(field) + " is not a whole number");
        }
        if (value < low || value > high) {
            Fail(std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) + ".." +
                 std::to_string(high));
        }
        return static_cast<int32_t>(value);
    }

    static uint8_t PartOfSpeechFlag(std::string_view name) {
        for (const TPartOfSpeechInfo& part : InflectingParts) {
            if (name == part.SourceName) {
                return part.Code;
            }
        }
        return name == "other" ? posOther : 0;
    }

    uint8_t PartsOfSpeech(std::string_view field) const {
        uint8_t flags = 0;
        for (const std::string_view part : SplitText(field, ',')) {
            const uint8_t flag = PartOfSpeechFlag(part);
            if (flag == 0) {
                Fail("unknown part of speech " + QuoteField(part) + " (noun, adj, num, verb, other)");
            }
            flags |= flag;
        }
        return flags;
    }

    void Directive(std::string_view line, DictSource& source, unsigned& seen) const {
        const auto parts = SplitText(line, '\t');
        if (parts.size() != 2) {
            Fail("a directive is a name and one value separated by a tab");
        }
        const std::string_view name = parts[0], value = parts[1];
        if (name == "@title") {
            source.Title = Text(value, "the title", kMaxTitle), seen |= 1;
        } else if (name == "@authors") {
            source.Authors = Text(value, "the authors", kMaxTitle), seen |= 2;
        } else if (name == "@version") {
            source.Version = Text(value, "the version", kMaxVersion), seen |= 4;
        } else if (name == "@direction") {
            source.Direction = LanguageOf(Number(value, "the direction", langTatar, langRussian)), seen |= 8;
        } else if (name == "@id") {
            source.Id = Number(value, "the id", INT32_MIN, INT32_MAX), seen |= 16;
        } else {
            Fail("unknown directive " + QuoteField(name));
        }
    }

    int32_t ParadigmOf(std::string_view field, const std::wstring& headword) const {
        // With the paradigm source given, a number must name one of its paradigms: any other
        // fails every inflected form of the headword at lookup.
        const long long last = paradigms_ != nullptr ? static_cast<long long>(paradigms_->size()) - 1 : INT32_MAX;
        if (paradigms_ == nullptr || field.empty() || field[0] == '-' || (field[0] >= '0' && field[0] <= '9')) {
            return Number(field, "the paradigm number", -1, last);
        }
        const std::wstring name = SourceField(field, SourcePlace(name_, line_), "the paradigm name", kMaxSourceWord);
        for (size_t i = 0; i < paradigms_->size(); ++i) {
            const Paradigm& paradigm = (*paradigms_)[i];
            if (paradigm.Name != name) {
                continue;
            }
            const std::wstring& ending = paradigm.LemmaEnding;
            if (headword.size() < ending.size() ||
                headword.compare(headword.size() - ending.size(), std::wstring::npos, ending) != 0) {
                Fail("the headword does not end with the lemma ending of the paradigm " + QuoteField(field));
            }
            return static_cast<int32_t>(i);
        }
        Fail("unknown paradigm " + QuoteField(field));
    }

    DictSourceEntry Entry(std::string_view line) const {
        const auto fields = SplitText(line, '\t');
        if (fields.size() != 6) {
            Fail("expected 6 tab-separated fields (headword, pos, exact, homonym, paradigm, article), found " +
                 std::to_string(fields.size()));
        }
        DictSourceEntry entry;
        entry.Headword = Text(fields[0], "the headword", DictLayout::MaxHeadwordUnits);
        entry.Flags = PartsOfSpeech(fields[1]);
        if (Number(fields[2], "the exact-form flag", 0, 1) == 1) {
            entry.Flags |= dfExactOnly;
        }
        entry.Homonym = Number(fields[3], "the homonym number", 0, 20);
        entry.Paradigm = ParadigmOf(fields[4], entry.Headword);
        entry.Article = Text(fields[5], "the article", kMaxText);
        return entry;
    }

    DictSource Parse(std::string_view text) {
        DictSource source;
        unsigned seen = 0;
        for (const auto& [number, line] : SourceLines(text)) {
            line_ = number;
            if (line[0] == '@') {
                Directive(line, source, seen);
            } else {
                source.Entries.push_back(Entry(line));
            }
        }
        if (seen != 31) {
            line_ = 0;
            Fail("the header needs @title, @authors, @version, @direction and @id");
        }
        return source;
    }

private:
    std::string name_;
    const std::vector<Paradigm>* paradigms_;
    size_t line_ = 0;
};

} // namespace

DictSource ParseDictSource(std::string_view utf8, const std::string& sourceName,
                           const std::vector<Paradigm>* paradigms) {
    return Parser(sourceName, paradigms).Parse(utf8);
}
