// The text around the cursor as it goes into the shared block: whole characters, the room
// shared between both sides, characters the block's reader cannot decode replaced.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

// Defined in capture/CaptureText.cpp, which this test compiles.
void CutUtf8AroundCursor(std::wstring_view text, size_t cursor, size_t capacity, std::string& utf8,
                         size_t& cursorBytes);

namespace {

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size));
    return bytes;
}

struct TCutCase {
    const char* Name;
    std::wstring Text;
    size_t Cursor;
    size_t Capacity;
    std::wstring Before; // what must stand before the cursor
    std::wstring After;
};

const std::wstring Long(300, L'ж');

const std::vector<TCutCase> Cases = {
    {"empty text", L"", 0, 255, L"", L""},
    {"a short text whole", L"Мин Казанда яшим", 6, 255, L"Мин Ка", L"занда яшим"},
    {"a cursor past the end stands at the end", L"яшим", 9, 255, L"яшим", L""},
    {"both sides long: half the room before", L"abcdefghijklmnop", 8, 9, L"efgh", L"ijklm"},
    {"a short side after leaves its room", L"abcdefghijklmnop", 14, 9, L"hijklmn", L"op"},
    {"a short side before leaves its room", L"abcdefghijklmnop", 1, 9, L"a", L"bcdefghi"},
    {"two-byte letters are never split", L"әйберләрнең", 5, 9, L"ер", L"лә"},
    {"three-byte characters are never split", L"a\u2014b\u2014c\u2014d", 3, 7, L"b", L"\u2014c"},
    {"a pair beyond the plane becomes U+FFFD", L"x\xD83D\xDE00y", 3, 255, L"x\xFFFD", L"y"},
    {"a cursor inside a pair moves before it", L"x\xD83D\xDE00y", 2, 255, L"x", L"\xFFFDy"},
    {"lone surrogates and zeros become U+FFFD",
     {L'a', 0xDC00, L'b', L'\0', L'c'},
     2,
     255,
     {L'a', 0xFFFD},
     {L'b', 0xFFFD, L'c'}},
    {"the block's room: 255 bytes in all", std::wstring(300, L'a'), 150, 255, std::wstring(127, L'a'),
     std::wstring(128, L'a')},
    {"whole two-byte letters within 255 bytes", Long, 150, 255, std::wstring(63, L'ж'), std::wstring(64, L'ж')},
    {"one side alone takes the room, cursor at the end", Long, 300, 255, std::wstring(127, L'ж'), L""},
    {"one side alone takes the room, cursor at the start", Long, 0, 255, L"", std::wstring(127, L'ж')},
};

TEST(CaptureText, CutsAroundTheCursor) {
    for (const TCutCase& row : Cases) {
        SCOPED_TRACE(row.Name);
        std::string utf8 = "stale";
        size_t cursorBytes = 99;
        CutUtf8AroundCursor(row.Text, row.Cursor, row.Capacity, utf8, cursorBytes);
        EXPECT_EQ(utf8, Utf8(row.Before) + Utf8(row.After));
        EXPECT_EQ(cursorBytes, Utf8(row.Before).size());
        EXPECT_LE(utf8.size(), row.Capacity);
    }
}

} // namespace
