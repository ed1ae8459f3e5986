#include "core/SectionList.h"

#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "tests/support/TempFolder.h"

namespace {

void WriteLines(const TempFolder& temp, const std::wstring& name, std::initializer_list<const wchar_t*> lines) {
    TWideStringList list;
    for (const wchar_t* line : lines) {
        list.Add(line);
    }
    list.SaveToFile(temp.File(name));
}

std::vector<std::wstring> Lines(const TWideStrings& list) {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.Count(); ++i) {
        out.push_back(list.Get(i));
    }
    return out;
}

} // namespace

TEST(SectionList, SplitsAFileIntoNamedSections) {
    TempFolder temp;
    WriteLines(temp, L"about.dat", {L"intro", L"[about]", L"line 1", L"", L"line 2", L"[www]", L"site"});
    TSectionList sections;
    EXPECT_TRUE(sections.LoadFromFile(temp.File(L"about.dat")));
    ASSERT_EQ(sections.Count(), 2);
    EXPECT_EQ(sections.Items(0)->SectionName, L"about");
    EXPECT_EQ(Lines(*sections.Items(0)), (std::vector<std::wstring>{L"line 1", L"", L"line 2"}));
    EXPECT_EQ(sections.Items(1)->SectionName, L"www");
    EXPECT_EQ(Lines(*sections.Items(1)), (std::vector<std::wstring>{L"site"}));
    EXPECT_EQ(sections.FindSection(L"ABOUT"), sections.Items(0));
    EXPECT_EQ(sections.FindSection(L"e-mail"), nullptr);
}

TEST(SectionList, HeadingForms) {
    TempFolder temp;
    WriteLines(temp, L"h.dat", {L"[e-mail]x", L"a", L"[", L"[]", L" [not]", L"[a]", L"[a]", L"second", L"[ b ]"});
    TSectionList sections;
    sections.LoadFromFile(temp.File(L"h.dat"));
    ASSERT_EQ(sections.Count(), 6);
    EXPECT_EQ(sections.Items(0)->SectionName, L"e-mail");
    EXPECT_EQ(sections.Items(1)->SectionName, L"");
    EXPECT_EQ(sections.Items(2)->SectionName, L"");
    EXPECT_EQ(Lines(*sections.Items(2)), (std::vector<std::wstring>{L" [not]"}));
    EXPECT_EQ(sections.FindSection(L"a"), sections.Items(3));
    EXPECT_EQ(sections.Items(4)->Count(), 1);
    EXPECT_EQ(sections.Items(5)->SectionName, L" b ");
}

TEST(SectionList, FilesWithoutHeadingsAndSeveralFiles) {
    TempFolder temp;
    WriteLines(temp, L"none.dat", {L"just", L"text"});
    WriteLines(temp, L"one.dat", {L"[x]", L"1"});
    WriteLines(temp, L"two.dat", {L"[y]", L"2"});
    TSectionList sections;
    EXPECT_TRUE(sections.LoadFromFile(temp.File(L"none.dat")));
    EXPECT_EQ(sections.Count(), 0);
    sections.LoadFromFile(temp.File(L"one.dat"));
    sections.LoadFromFile(temp.File(L"two.dat"));
    ASSERT_EQ(sections.Count(), 2);
    EXPECT_EQ(sections.Items(1)->SectionName, L"y");
    EXPECT_THROW(sections.LoadFromFile(temp.File(L"missing.dat")), EFOpenError);
    EXPECT_EQ(sections.Count(), 2);
}
