#include "main/controls/QStdCtrls_Qel.h"

#include <gtest/gtest.h>

TEST(QStdCtrlsRoutines, CrLfBecomesLfAndBack) {
    struct TCase {
        std::wstring Text, Lf, CrLf;
    };
    const TCase cases[] = {
        {L"\xFEFF"
         L"a\r\nb\rc\r",
         L"a\nb\rc\r", L"a\r\nb\rc\r"},
        {L"", L"", L""},
        {L"x\xFEFF\r\n\r\n", L"x\xFEFF\n\n", L"x\xFEFF\r\n\r\n"},
        {L"\n\n", L"\n\n", L"\r\n\r\n"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WideCRLFToLF(c.Text), c.Lf);
        EXPECT_EQ(WideLFToCRLF(c.Lf), c.CrLf);
    }
}

TEST(QStdCtrlsRoutines, CountLineBreaksGivesRoomForEachKeptCr) {
    const std::wstring text = L"ab\r\ncd\r\ne";
    struct TCase {
        std::wstring Text;
        int Limit, Count;
    };
    const TCase cases[] = {{text, 3, 1}, {text, 6, 2}, {text, 2, 0}, {text, -1, 2}, {L"abc", 5, 0}};
    for (const TCase& c : cases) {
        EXPECT_EQ(CountLineBreaks(c.Text, c.Limit), c.Count) << c.Limit;
    }
}

TEST(QStdCtrlsRoutines, AlignmentOfTheNativeStyle) {
    EXPECT_EQ(AlignmentFromStyle(ES_MULTILINE | ES_CENTER), taCenter);
    EXPECT_EQ(AlignmentFromStyle(ES_RIGHT), taRightJustify);
    EXPECT_EQ(AlignmentFromStyle(ES_LEFT | ES_AUTOHSCROLL), taLeftJustify);
}

// The system's case for every character: the 8-bit rule would swap the division and
// multiplication signs and miss the Tatar letters.
TEST(QStdCtrlsRoutines, CaseFilterUsesTheSystemsCaseOfEveryCharacter) {
    struct TCase {
        wchar_t Typed;
        TEditCharCase Case;
        wchar_t Result;
    };
    const TCase cases[] = {
        {L'q', ecUpperCase, L'Q'},         {L'Q', ecLowerCase, L'q'},        {L'5', ecUpperCase, L'5'},
        {L'\xF7', ecUpperCase, L'\xF7'},   {L'\xD7', ecLowerCase, L'\xD7'},  {L'\x4D9', ecUpperCase, L'\x4D8'},
        {L'\x4AE', ecLowerCase, L'\x4AF'}, {L'\xFF', ecUpperCase, L'\x178'}, {L'я', ecNormal, L'я'},
    };
    for (const TCase& c : cases) {
        wchar_t key = c.Typed;
        EXPECT_EQ(ApplyCharCaseToKey(key, c.Case), c.Result != c.Typed) << static_cast<int>(c.Typed);
        EXPECT_EQ(key, c.Result) << static_cast<int>(c.Typed);
    }
}
