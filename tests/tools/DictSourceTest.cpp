#include "tools/DictSource.h"

#include <gtest/gtest.h>

#include "core/DictImage.h"

namespace {

const std::string kHeader = "@title\tТест\n@authors\tА\n@version\t1\n@direction\t0\n@id\t3\n";

std::string ErrorOf(const std::string& text) {
    try {
        ParseDictSource(text, "t.txt");
    } catch (const DictSourceError& e) {
        return e.what();
    }
    return "(none)";
}

} // namespace

TEST(DictSourceParser, ReadsHeaderAndEntries) {
    const DictSource source = ParseDictSource("\xEF\xBB\xBF# comment\r\n" + kHeader +
                                                  "\nалма\tnoun\t0\t0\t-1\tяблоко\n"
                                                  "яшь\tnoun,adj,other\t1\t2\t5\tz1.g молодой\r\n",
                                              "t.txt");
    EXPECT_EQ(source.Title, L"Тест");
    EXPECT_EQ(source.Id, 3);
    EXPECT_EQ(source.Direction, langTatar);
    ASSERT_EQ(source.Entries.size(), 2u);
    EXPECT_EQ(source.Entries[0].Headword, L"алма");
    EXPECT_EQ(source.Entries[0].Flags, posNoun);
    EXPECT_EQ(source.Entries[1].Flags, posNoun | posAdjective | posOther | dfExactOnly);
    EXPECT_EQ(source.Entries[1].Homonym, 2);
    EXPECT_EQ(source.Entries[1].Paradigm, 5);
    EXPECT_EQ(source.Entries[1].Article, L"z1.g молодой");
}

TEST(DictSourceParser, BadLinesNameTheirLineNumber) {
    EXPECT_EQ(ErrorOf(kHeader + "алма\tnoun\t0\t0\tяблоко\n"),
              "t.txt:6: expected 6 tab-separated fields (headword, pos, exact, homonym, paradigm, article), found 5");
    EXPECT_EQ(ErrorOf(kHeader + "\n\nалма\tnoun,pron\t0\t0\t-1\tя\n"),
              "t.txt:8: unknown part of speech \"pron\" (noun, adj, num, verb, other)");
    EXPECT_EQ(ErrorOf(kHeader + "алма\tnoun\t2\t0\t-1\tя\n"), "t.txt:6: the exact-form flag 2 is outside 0..1");
    EXPECT_EQ(ErrorOf(kHeader + "алма\tnoun\t0\t21\t-1\tя\n"), "t.txt:6: the homonym number 21 is outside 0..20");
    EXPECT_EQ(ErrorOf(kHeader + "алма\tnoun\t0\tx\t-1\tя\n"), "t.txt:6: the homonym number \"x\" is not a whole number");
    EXPECT_EQ(ErrorOf(kHeader + "\tnoun\t0\t0\t-1\tя\n"), "t.txt:6: the headword is empty");
    EXPECT_EQ(ErrorOf(kHeader + "ал\xFFма\tnoun\t0\t0\t-1\tя\n"),
              "t.txt:6: the headword is not valid UTF-8: \"ал\xEF\xBF\xBDма\"");
    EXPECT_EQ(ErrorOf(kHeader + std::string(200, 'a') + "\tnoun\t0\t0\t-1\tя\n"),
              "t.txt:6: the headword is longer than 63 characters: \"" + std::string(60, 'a') + "...\"");
    EXPECT_EQ(ErrorOf("@title\tx\n@colour\tred\n"), "t.txt:2: unknown directive \"@colour\"");
    EXPECT_EQ(ErrorOf("@version\t" + std::string(32, '1') + "\n"),
              "t.txt:1: the version is longer than 31 characters: \"" + std::string(32, '1') + "\"");
    EXPECT_EQ(ErrorOf("@direction\t2\n"), "t.txt:1: the direction 2 is outside 0..1");
    EXPECT_EQ(ErrorOf("алма\tnoun\t0\t0\t-1\tя\n"), "t.txt:0: the header needs @title, @authors, @version, @direction and @id");
}
