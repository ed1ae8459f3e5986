#include "core/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsTatarAndAstralText) {
    const std::wstring text = L"әӘөҮүҗңһ abc \xD83D\xDE00";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(L"ә"), "\xD3\x99");
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\xFFFD" L"b");
    EXPECT_EQ(Utf8ToWide("a\xD3"), L"a\xFFFD");             // truncated at the end
    EXPECT_EQ(Utf8ToWide("\xE2\x82" "x"), L"\xFFFD" L"x");  // truncated in the middle
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\xFFFD");           // overlong
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\xFFFD");       // encoded surrogate
    EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}
