#include "core/TatAlphabet.h"

#include <gtest/gtest.h>

TEST(TatCollation, AlphabetOrderOfAllThirtyNineLetters) {
    const wchar_t* capitals = L"АӘБВГДЕЁЖҖЗИЙКЛМНҢОӨПРСТУҮФХҺЦЧШЩЪЫЬЭЮЯ";
    const wchar_t* smalls = L"аәбвгдеёжҗзийклмнңоөпрстуүфхһцчшщъыьэюя";
    for (int place = 0; place < 39; ++place) {
        EXPECT_EQ(TatWeight(capitals[place]), 1040u + place) << place;
        EXPECT_EQ(TatWeight(smalls[place]), 1040u + place) << place;
        if (place > 0) {
            const wchar_t previous[] = {smalls[place - 1], 0};
            const wchar_t current[] = {capitals[place], 0};
            EXPECT_EQ(TatCompareStr(previous, current), -1) << place;
            EXPECT_EQ(TatCompareStr(current, previous), 1) << place;
        }
    }
}

TEST(TatCollation, CaseLengthAndNeighbours) {
    EXPECT_EQ(TatCompareStr(L"әни", L"ӘНИ"), 0);
    EXPECT_EQ(TatCompareStr(L"ак", L"ака"), -1);
    EXPECT_EQ(TatCompareStr(L"", L"а"), -1);
    EXPECT_EQ(TatCompareStr(L"", L""), 0);
    EXPECT_EQ(TatCompareStr(L"ел", L"ёл"), -1);
    EXPECT_EQ(TatCompareStr(L"ёл", L"жил"), -1);
    EXPECT_EQ(TatCompareStr(L"ан", L"аң"), -1);
    EXPECT_EQ(TatCompareStr(L"аң", L"ао"), -1);
    EXPECT_EQ(TatCompareStr(L"уң", L"үң"), -1);
    EXPECT_EQ(TatCompareStr(L"үң", L"фа"), -1);
    EXPECT_EQ(TatCompareStr(L"z", L"а"), -1);
    EXPECT_EQ(TatCompareStr(L"\x0493", L"я"), 1); // ғ is not a Tatar letter
    EXPECT_EQ(TatCompareStr(L"\x0402", L"а"), -1);
    EXPECT_EQ(TatCompareStr(L"\x0452", L"\x0402"), 1); // non-Tatar capital and small differ
    EXPECT_EQ(TatCompareStr(L"\x0500", L"\x04E9"), 1); // beyond the table: own code point
}

TEST(TatCollation, CountedForms) {
    EXPECT_EQ(TatCompareStrLen(L"китап", 3, L"кит"), 0);
    EXPECT_EQ(TatCompareStrLen(L"китап", 0, L""), 0);
    EXPECT_EQ(TatCompareStrLen(L"китап", 5, L"кит"), 1);
    EXPECT_EQ(TatCompareText(L"китап", 5, L"кит", 3), 1);
    EXPECT_EQ(TatCompareText(L"китап", 3, L"китаптан", 3), 0);
    EXPECT_EQ(TatCompareText(L"КИТ", 3, L"китап", 5), -1);
}
