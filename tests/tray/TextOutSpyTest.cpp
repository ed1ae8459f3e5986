// The capture's binding and word extraction: reports turned into the word at the cursor, reports
// with values out of bounds, UTF-8 decoding, the companion module's name and a hook block that
// cannot be opened.

#include "tray/TextOutSpy.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/GlobalCustoms.h"
#include "tests/tray/TrayTestSupport.h"
#include "tray/TrayProgram.h"

namespace {

TTextOutSpyBlock Report(const std::string& text, int32_t cursor, int32_t count = -1) {
    TTextOutSpyBlock block = {};
    std::memcpy(block.Text, text.data(), std::min(text.size(), sizeof block.Text));
    block.TextBytes = count >= 0 ? count : static_cast<int32_t>(text.size());
    block.CursorOffset = cursor;
    return block;
}

std::wstring WordOf(const TTextOutSpyBlock& block) {
    std::wstring word;
    ExtractCapturedWord(block, L"", word);
    return word;
}

int32_t Bytes(const char* text) {
    return static_cast<int32_t>(std::strlen(text));
}

} // namespace

TEST(ExtractCapturedWord, CutsTheWordAroundTheCursor) {
    const struct {
        std::string Text;
        int32_t Cursor;
        std::wstring Word;
    } cases[] = {
        {"Kazan-da", 2, L"kazan-da"},                                // letters left, letters and hyphens right
        {"Kazan-da", 5, L"kazan-da"},                                // on the hyphen: from the first letter again
        {"ab-cd", 3, L"cd"},                                         // a hyphen left of the cursor ends the word
        {"ab cd", 3, L"cd"},                                         // after a blank, before a letter
        {"ab  cd", 3, L""},                                          // between two blanks
        {"ab cd", 2, L"ab"},                                         // after a letter, before a blank
        {"-ab", 0, L"-ab"},                                          // a word may begin with a hyphen
        {"китап- укы", Bytes("ки"), L"китап"},                       // a hyphen that ends the word is dropped
        {"китап--", Bytes("китап"), L"китап"},                       // on the hyphens
        {"a -- b", 2, L""},                                          // hyphens alone are no word
        {"", 0, L""},                                                // nothing captured
        {"Без китапларны укыйбыз", Bytes("Без кит"), L"китапларны"}, // byte offsets of Cyrillic
        {"Без китапларны укыйбыз", Bytes("Без "), L"китапларны"},
        {"ЯЗУ", Bytes("Я"), L"язу"},
        {"\xD1\x92ни", 1 * 2, L"әни"},           // ђ
        {"\xD0\x82ни", 1 * 2, L"әни"},           // Ђ: lower-cased to ђ first
        {"\xD1\x9C\xD0\xB8\xD1\x80", 2, L"җир"}, // ќир
        {"\xD1\x9F\xD0\xB0", 2, L"һа"},          // џа
        {"\xD1\x99\xD1\x9B\xD1\x9A", 2, L"өңү"}, // љћњ
        {"\xD2\x91\xD1\x96", 2, L"ә\x04B9"},     // ґі: і stays small
        {"\xD0\x86\xD0\xB0", 2, L"\x04B9а"},     // І: lower-cased to і first
        {"а\xC2\xACб", 0, L"а"},                 // ¬ is no letter: it ends the word
        {"китап\xFFлар", 2, L"китап"},           // a malformed byte ends the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text + " @" + std::to_string(c.Cursor));
        EXPECT_EQ(WordOf(Report(c.Text, c.Cursor)), c.Word);
    }
}

TEST(ExtractCapturedWord, TheLastWordIsNoNewWord) {
    std::wstring word;
    EXPECT_FALSE(ExtractCapturedWord(Report("китап", 2), L"китап", word));
    EXPECT_TRUE(ExtractCapturedWord(Report("китап", 2), L"китапны", word));
    EXPECT_EQ(word, L"китап");
    EXPECT_FALSE(ExtractCapturedWord(Report("  ", 1), L"", word));
}

TEST(ExtractCapturedWord, ValuesOutOfBoundsGiveNoWord) {
    const std::string letters(256, 'a');
    const struct {
        int32_t Count;
        int32_t Cursor;
        size_t Word; // letters in the word, 0: none
    } cases[] = {
        {1000, 2, 0},    // more than the text field holds
        {-1, 0, 0},      // a negative count
        {10, -1, 0},     // a negative cursor
        {10, 11, 0},     // the cursor past the count
        {256, 0, 0},     // 256 bytes after the cursor do not fit a work buffer with its zero
        {256, 256, 0},   // nor before it
        {510, 255, 0},   // each part fits, but together they run past the text field
        {256, 1, 255},   // no zero byte anywhere: each part fits with its own (254 units after)
        {255, 128, 255}, // the largest text that keeps its zero
        {10, 10, 10},    // the cursor at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Count) + " @" + std::to_string(c.Cursor));
        std::wstring word = L"old";
        EXPECT_EQ(ExtractCapturedWord(Report(letters, c.Cursor, c.Count), L"", word), c.Word != 0);
        EXPECT_EQ(word, std::wstring(c.Word, L'a'));
    }
}

TEST(CaptureBufferToWide, DecodesWholeSequencesAndStopsAtTheFirstFault) {
    const struct {
        std::string Bytes;
        std::wstring Text;
    } cases[] = {
        {"a\xD3\x99z", L"a\x04D9z"},               // two bytes
        {"\xE2\x80\x94", L"\x2014"},               // three bytes
        {"a\xF0\x9F\x98\x80z", L"a\xD83D\xDE00z"}, // four bytes: a surrogate pair
        {"ab\xC3", L"ab"},                         // cut short
        {"ab\x80zz", L"ab"},                       // a lone continuation byte
        {"ab\xC3(cd", L"ab"},                      // a lead byte without its continuation
        {"\xC0\xAF", L""},                         // overlong
        {"a\xED\xA0\x80", L"a"},                   // a surrogate written as UTF-8
        {"a\xF4\x90\x80\x80", L"a"},               // past U+10FFFF
        {"a\xF8\x88\x80\x80\x80", L"a"},           // five bytes
        {std::string("ab\0cd", 5), L"ab"},         // up to the first zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureBufferToWide(c.Bytes.data(), c.Bytes.size()), c.Text);
    }
}

TEST(CaptureBufferToWide, KeepsAtMost254UnitsAndReadsNoFurtherThanItsSize) {
    const std::string many(300, 'a');
    EXPECT_EQ(CaptureBufferToWide(many.data(), many.size()), std::wstring(254, L'a'));
    EXPECT_EQ(CaptureBufferToWide(many.data(), 3), L"aaa");
    const std::string pairs = "a" + std::string(253, 'b') + "\xF0\x9F\x98\x80"; // the pair would be unit 255
    EXPECT_EQ(CaptureBufferToWide(pairs.data(), pairs.size()), L"a" + std::wstring(253, L'b'));
}

TEST(WriteCompanionFileName, ItIsTheProgramsFolderCutToTheFieldWithItsZero) {
    const std::string longFolder = "C:\\" + std::string(300, 'x') + "\\";
    const struct {
        std::string Program;
        std::string Field;
    } cases[] = {
        {"C:\\Tirel\\Tirel.exe", "C:\\Tirel\\TextOutHook.DLL"},
        {"Tirel.exe", "TextOutHook.DLL"},
        {longFolder + "Tirel.exe", (longFolder + "TextOutHook.DLL").substr(0, 255)},
    };
    for (const auto& c : cases) {
        TTextOutSpyBlock block = {};
        std::memset(block.CompanionFileName, '#', sizeof block.CompanionFileName);
        WriteCompanionFileName(block, c.Program);
        EXPECT_EQ(std::string(block.CompanionFileName, strnlen(block.CompanionFileName, 256)), c.Field);
        // Zero-filled after the name, the last byte included.
        EXPECT_TRUE(std::all_of(block.CompanionFileName + c.Field.size(), std::end(block.CompanionFileName),
                                [](char b) { return b == 0; }));
    }
}

TEST(StartTextCapture, SwitchesTheCaptureOnAndTheBlockNamesTheTrayWindow) {
    static int activations;
    static int argument;
    activations = argument = 0;
    PrepareTrayTests();
    const TActivateTextOutSpying previous = SetCaptureActivation([](int on) {
        ++activations;
        argument = on;
    });
    TWorkingFolder folder;
    TStartedTray tray(folder);
    SetCaptureActivation(previous);
    ASSERT_TRUE(tray.Started());
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(argument, 1);
    // Seen through a mapping of its own, as the library sees it.
    const HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, TextOutSpyBlockName);
    ASSERT_NE(mapping, nullptr);
    const auto* seen = static_cast<const TTextOutSpyBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(TextOutSpyFieldWindow(seen->TargetWindow), tray.Window());
    const std::string companion(seen->CompanionFileName, strnlen(seen->CompanionFileName, 256));
    EXPECT_GT(companion.size(), std::strlen("\\TextOutHook.DLL"));
    EXPECT_EQ(companion.substr(companion.size() - std::strlen("\\TextOutHook.DLL")), "\\TextOutHook.DLL");
    UnmapViewOfFile(seen);
    CloseHandle(mapping);
}

TEST(StartTextCapture, ABlockThatCannotBeOpenedLeavesReportsUnread) {
    // Another kind of object holds the block's name, so no mapping can take it.
    CloseHookBlock();
    const HANDLE squatter = CreateEventW(nullptr, TRUE, FALSE, TextOutSpyBlockName);
    ASSERT_NE(squatter, nullptr);
    EXPECT_EQ(OpenHookBlock(), nullptr);
    TWorkingFolder folder;
    TStartedTray tray(folder);
    ASSERT_TRUE(tray.Started()); // the program runs on without its captures
    EXPECT_EQ(HookBlock(), nullptr);
    SendMessageW(tray.Window(), WM_SPY_TEXT, 0, 0);
    EXPECT_EQ(TrayCurrentPopup(), nullptr);
    CloseHandle(squatter);
}
