#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "core/Classes_Qel.h"
#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/UFileStream.h"
#include "tests/support/TempFolder.h"

using Bytes = std::vector<unsigned char>;

namespace {

std::vector<std::wstring> Lines(const TWideStrings& list) {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.Count(); ++i) {
        out.push_back(list.Get(i));
    }
    return out;
}

std::vector<std::wstring> Load(const TempFolder& temp, const Bytes& bytes) {
    temp.Write(L"in.txt", bytes);
    TWideStringList list;
    list.LoadFromFile(temp.File(L"in.txt"));
    return Lines(list);
}

} // namespace

TEST(ListText, JoinsLinesWithPairsAndNoFinalBreak) {
    TWideStringList list;
    EXPECT_EQ(list.GetTextStr(), L"");
    list.Add(L"");
    EXPECT_EQ(list.GetTextStr(), L"");
    list.Add(L"");
    EXPECT_EQ(list.GetTextStr(), L"\r\n");

    TWideStringList bom;
    bom.WriteBOM = true;
    bom.Add(L"a");
    EXPECT_EQ(bom.GetTextStr(), L"\xFEFF" L"a");
}

TEST(ListText, SplitsOnEveryKindOfLineEnd) {
    TWideStringList list;
    list.SetTextStr(L"a\r\nb\rc\nd");
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    list.SetTextStr(L"a\n\rb\r\rc\r\n");
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"", L"b", L"", L"c"}));
    list.SetTextStr(L"\xFEFF\xFEFFx");
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"\xFEFFx"}));
    list.SetTextStr(L"");
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListText, SetTextSendsOneEventPair) {
    TWideStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TWideStrings*) { ++changing; };
    list.OnChange = [&](TWideStrings*) { ++changed; };
    list.SetTextStr(L"a\nb\nc");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
}

TEST(ListFiles, SaveWritesMarkAndEveryLineWithItsPair) {
    TempFolder temp;
    TWideStringList list;
    list.Add(L"a");
    list.Add(L"b");
    list.SaveToFile(temp.File(L"ab.txt"));
    EXPECT_EQ(temp.Read(L"ab.txt"), (Bytes{0xFF, 0xFE, 0x61, 0, 0x0D, 0, 0x0A, 0, 0x62, 0, 0x0D, 0, 0x0A, 0}));

    TWideStringList zero;
    zero.Add(std::wstring(L"a\0b", 3));
    zero.Add(L"c");
    zero.SaveToFile(temp.File(L"zero.txt"));
    EXPECT_EQ(temp.Read(L"zero.txt"), (Bytes{0xFF, 0xFE, 0x61, 0}));
}

// Whatever lines a list holds (but line breaks and U+0000 inside a line), saving and loading
// gives them back.
TEST(ListFiles, SaveThenLoadGivesTheSameLines) {
    const std::vector<std::wstring> cases[] = {
        {},
        {L""},
        {L"", L""},
        {L"a", L""},
        {L"", L"a"},
        {L"\xFEFFx"},
        {L"\xFEFF"},
        {L"\xFEFF", L""},
        {L"әңгәмә", L"  ", L"б"},
    };
    TempFolder temp;
    for (const auto& lines : cases) {
        TWideStringList list;
        for (const std::wstring& line : lines) {
            list.Add(line);
        }
        list.SaveToFile(temp.File(L"тат.txt"));
        TWideStringList back;
        back.Add(L"old");
        back.LoadFromFile(temp.File(L"тат.txt"));
        EXPECT_EQ(Lines(back), lines) << lines.size();
    }
}

TEST(ListFiles, LoadReadsEveryLineEndVariant) {
    TempFolder temp;
    const std::vector<std::wstring> ab{L"a", L"b"};
    EXPECT_EQ(Load(temp, {0xFF, 0xFE, 0x61, 0, 0x0D, 0, 0x0A, 0, 0x62, 0, 0x0D, 0, 0x0A, 0}), ab);
    EXPECT_EQ(Load(temp, {0xFF, 0xFE, 0x61, 0, 0x0D, 0, 0x62, 0, 0x0D, 0}), ab);
    EXPECT_EQ(Load(temp, {0x61, 0, 0x0A, 0, 0x62, 0, 0x0A, 0}), ab);
    EXPECT_EQ(Load(temp, {0x61, 0, 0x0A, 0, 0x0D, 0, 0x62, 0}), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(Load(temp, {0x61, 0, 0x62}), (std::vector<std::wstring>{L"ab"}));
    EXPECT_EQ(Load(temp, {0x61, 0, 0x0A, 0, 0, 0, 0x62, 0}), (std::vector<std::wstring>{L"a"}));
    EXPECT_EQ(Load(temp, {}), (std::vector<std::wstring>{}));
    EXPECT_EQ(Load(temp, {0xFF, 0xFE}), (std::vector<std::wstring>{}));
}

TEST(ListFiles, FailedLoadKeepsTheLinesAndRemembersTheName) {
    TempFolder temp;
    TWideStringList list;
    list.Add(L"old");
    int changed = 0;
    list.OnChange = [&](TWideStrings*) { ++changed; };
    EXPECT_THROW(list.LoadFromFile(temp.File(L"missing.txt")), EFOpenError);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"old"}));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(list.FileName, temp.File(L"missing.txt"));
    list.SaveToFile(L"");
    EXPECT_EQ(temp.Read(L"missing.txt"), (Bytes{0xFF, 0xFE, 'o', 0, 'l', 0, 'd', 0, 0x0D, 0, 0x0A, 0}));
}

// Two programs load one table at the same moment; a writer of it keeps readers out.
TEST(ListFiles, LoadSharesTheFileWithReadersOnly) {
    TempFolder temp;
    temp.Write(L"in.txt", {0x61, 0});
    const struct {
        uint16_t HeldMode;
        bool Loads;
    } cases[] = {
        {fmOpenRead | fmShareDenyWrite, true}, // another list loading it
        {fmOpenRead | fmShareDenyNone, true},
        {fmOpenReadWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareExclusive, false},
    };
    for (const auto& c : cases) {
        TFileHandle held = WideFileOpen(temp.File(L"in.txt"), c.HeldMode);
        ASSERT_NE(held, InvalidFileHandle());
        TWideStringList list;
        if (c.Loads) {
            EXPECT_NO_THROW(list.LoadFromFile(temp.File(L"in.txt"))) << c.HeldMode;
            EXPECT_EQ(list.Count(), 1) << c.HeldMode;
        } else {
            EXPECT_THROW(list.LoadFromFile(temp.File(L"in.txt")), EFOpenError) << c.HeldMode;
        }
        CloseHandle(held);
    }
}

TEST(ListFiles, FileTooLargeIsRefusedBeforeAllocating) {
    TempFolder temp;
    HANDLE h = CreateFileW(temp.File(L"huge.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = (int64_t(1) << 30) + 2; // sparse on the host: nothing is written
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    TWideStringList list;
    list.Add(L"kept");
    EXPECT_THROW(list.LoadFromFile(temp.File(L"huge.txt")), EFOpenError);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ListStreams, SaveToStreamWritesNoMarkAndAdjustsLineFeeds) {
    TempFolder temp;
    {
        TUFileStream out(temp.File(L"s.bin"), fmCreate);
        TWideStringList list;
        list.Add(L"a");
        list.Add(L"b");
        list.SaveToStream(out);
        TWideStringList inner;
        inner.Add(L"a\nb");
        inner.SaveToStream(out);
        TWideStringList empty;
        empty.SaveToStream(out);
    }
    EXPECT_EQ(temp.Read(L"s.bin"), (Bytes{0x61, 0, 0x0D, 0, 0x0A, 0, 0x62, 0, 0x61, 0, 0x0D, 0, 0x0A, 0, 0x62, 0}));
}

TEST(ListStreams, LoadFromStreamReadsFromThePositionToTheEnd) {
    TempFolder temp;
    temp.Write(L"s.bin", {0x78, 0, 0x61, 0, 0x0D, 0, 0x62, 0});
    TUFileStream in(temp.File(L"s.bin"), fmOpenRead);
    in.SetPosition(2);
    TWideStringList list;
    list.LoadFromStream(in);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b"}));
}
