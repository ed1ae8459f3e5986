#include "tools/SourceFile.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "tools/DictSource.h"
#include "tools/ParadigmSource.h"
#include "tools/TailGenerator.h"
#include "tools/TextConv.h"

namespace {

// One field of each builder's sources, put where the builder reads a word or an ending.
struct TFieldReader {
    const char* Place; // of the field: "file:line: " and what it is
    std::function<void(const std::string& field)> Read;
};

const TFieldReader kReaders[] = {
    {"d.txt:6: the headword",
     [](const std::string& field) {
         ParseDictSource(
             "@title\tt\n@authors\ta\n@version\t1\n@direction\t0\n@id\t1\n" + field + "\tnoun\t0\t0\t-1\tя\n", "d.txt");
     }},
    {"p.txt:2: the ending",
     [](const std::string& field) { ParseParadigmSource("a\t_\tы\nb\t_\tу " + field + "\n", "p.txt"); }},
    {"p.txt:1: the lemma ending",
     [](const std::string& field) { ParseParadigmSource("a\t" + field + "\tы\n", "p.txt"); }},
    {"s.txt:1: the word",
     [](const std::string& field) {
         TailSources sources;
         ParseTailStems("verb\tбар " + field + "\n", "s.txt", sources);
     }},
    {"e.txt:2: the ending",
     [](const std::string& field) {
         TailSources sources;
         ParseTailExtras("# extra\nnoun\t" + field + "\t22\n", "e.txt", sources);
     }},
};

std::string ErrorOf(const TFieldReader& reader, const std::string& field) {
    try {
        reader.Read(field);
    } catch (const DictSourceError& e) {
        return e.what();
    }
    return "(accepted)";
}

} // namespace

// Every builder checks its words and endings alike, names the line and quotes a bounded part of
// the field: invalid UTF-8 would become endings that never match, a U+0000 or CR would be dropped
// or break the written table, and a word of a million letters would keep the generator busy.
TEST(SourceField, EveryBuilderRefusesTheSameFields) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string Field;
        std::string Error; // after the place
    } cases[] = {
        {"га\xFFр", " is not valid UTF-8: \"га" + replacement + "р\""},
        {"га\xD0", " is not valid UTF-8: \"га" + replacement + "\""},
        {"га\rр", " holds the control character U+000D: \"га" + replacement + "р\""},
        {std::string("га\0р", 7), " holds the control character U+0000: \"га" + replacement + "р\""},
        {"га\x7Fр", " holds the control character U+007F: \"га" + replacement + "р\""},
        {std::string(64, 'a'), " is longer than 63 characters: \"" + std::string(60, 'a') + "...\""},
    };
    std::string huge; // a verb of a million letters
    for (int i = 0; i < 1000000; ++i) {
        huge += "ә";
    }
    for (const TFieldReader& reader : kReaders) {
        for (const auto& c : cases) {
            EXPECT_EQ(ErrorOf(reader, c.Field), reader.Place + c.Error) << reader.Place;
        }
        const std::string error = ErrorOf(reader, huge);
        EXPECT_EQ(error.rfind(std::string(reader.Place) + " is longer than 63 characters: \"әәә", 0), 0u) << error;
        EXPECT_LT(error.size(), 200u);
    }
    // A valid U+FFFD and a word of exactly 63 letters are fields like any other.
    EXPECT_EQ(SourceField("a" + replacement, "x:1: ", "the word", 63), L"a\xFFFD");
    EXPECT_EQ(SourceField(std::string(63, 'a'), "x:1: ", "the word", 63), std::wstring(63, L'a'));
}

// The help and about sources: every kind of line end is one, so the about window finds its
// sections; a control character (U+0080..U+009F would read as code page 1252) stops the build at
// its line, and a missing source says so.
TEST(SourceField, TheTextConverterEndsEveryLineAndRefusesControlCharacters) {
    const struct {
        std::string Source;
        std::wstring Text; // when converted
        std::string Error; // else
    } cases[] = {
        {"a\r\nb\nc\rd", L"a\r\nb\r\nc\r\nd", ""},
        {"\xEF\xBB\xBF[s]\r\r\n\n", L"[s]\r\n\r\n\r\n", ""},
        {"\r", L"\r\n", ""},
        {"", L"", ""},
        {"a\rb\r\xC2\x80", L"", "t.txt:3: the line holds the control character U+0080: \"\xEF\xBF\xBD\""},
        {"a\r\nb\xC2\x9F", L"", "t.txt:2: the line holds the control character U+009F: \"b\xEF\xBF\xBD\""},
        {"a\nb\t", L"", "t.txt:2: the line holds the control character U+0009: \"b\xEF\xBF\xBD\""},
        {"a\n\n\xD0", L"", "t.txt:3: the line is not valid UTF-8: \"\xEF\xBF\xBD\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Source);
        try {
            EXPECT_EQ(TextSourceText(c.Source, "t.txt"), c.Text);
            EXPECT_EQ(c.Error, "");
        } catch (const DictSourceError& e) {
            EXPECT_EQ(e.what(), c.Error);
        }
    }
    EXPECT_EQ(ToHtml1251(L"Ә ж\r\n"), "&#1240; \xE6\r\n");
    try {
        ReadTextSource(L"no such source.txt");
        ADD_FAILURE() << "a missing source was read";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "no such source.txt: cannot open");
    }
}
