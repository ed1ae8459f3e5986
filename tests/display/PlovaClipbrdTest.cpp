#include "display/PlovaClipbrd.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(UnicodeClipboard, TatarTextRoundTrips) {
    Clipboard().SetWideText(L"әни өй үрдәк җил миң һава");
    EXPECT_EQ(Clipboard().GetWideText(), L"әни өй үрдәк җил миң һава");
    EXPECT_EQ(Clipboard().OpenCount(), 0);
}

TEST(UnicodeClipboard, NestedOpensCloseTheSystemClipboardOnce) {
    TClipboard& clipboard = Clipboard();
    clipboard.Open();
    clipboard.Open();
    EXPECT_NE(GetOpenClipboardWindow(), nullptr);
    clipboard.SetWideText(L"бер"); // opens and closes once more inside
    clipboard.Close();
    EXPECT_NE(GetOpenClipboardWindow(), nullptr);
    clipboard.Close();
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    clipboard.Close(); // one close too many does nothing
    EXPECT_EQ(clipboard.OpenCount(), 0);
    EXPECT_EQ(clipboard.GetWideText(), L"бер");
}

TEST(UnicodeClipboard, EmptyTextIsOneZeroUnit) {
    Clipboard().SetWideText(L"");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_GE(GlobalSize(data), 2u);
    EXPECT_EQ(*static_cast<const wchar_t*>(GlobalLock(data)), L'\0');
    GlobalUnlock(data);
    CloseClipboard();
}

TEST(UnicodeClipboard, OpenFailsWhileAnotherWindowHoldsIt) {
    HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    try {
        Clipboard().SetWideText(L"x");
        ADD_FAILURE() << "no exception";
    } catch (const EClipboardError& e) {
        EXPECT_EQ(e.Message(), L"Cannot open clipboard");
    }
    EXPECT_EQ(Clipboard().OpenCount(), 0);
    CloseClipboard();
    DestroyWindow(other);
}
