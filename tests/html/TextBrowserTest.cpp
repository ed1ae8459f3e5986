#include "main/html/TextBrowser.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/PlovaClipbrd.h"
#include "tests/html/HtmlTestSupport.h"

namespace {

constexpr wchar_t kParentClass[] = L"TextBrowserTestParent_Jyx";
HWND contextMenuFrom = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) {
        contextMenuFrom = reinterpret_cast<HWND>(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t kArticle[] = L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>сүз<BR></FONT></STRONG><FONT SIZE=4><BIG>"
                           L" 1. әни <U>өй </U>x <I>кит.</I> <B>&lt;a&amp;b&gt;</B></BIG></FONT></HTML>";
const wchar_t kArticleText[] = L"сүз\r1. әни өй x кит. <a&b>";

// A hidden parent: showing and destroying visible windows costs seconds under Wine.
class TextBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = kParentClass;
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        parent_ = CreateWindowExW(0, kParentClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        browser_ = TTextBrowser::Create(parent_, 0, 0, 420, 350, 7);
    }
    void TearDown() override { DestroyWindow(parent_); }

    CHARFORMAT2W FormatAt(int position) {
        SendMessageW(browser_.Window(), EM_SETSEL, position, position + 1);
        CHARFORMAT2W format = {};
        format.cbSize = sizeof format;
        SendMessageW(browser_.Window(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    int FirstVisibleLine() { return static_cast<int>(SendMessageW(browser_.Window(), EM_GETFIRSTVISIBLELINE, 0, 0)); }

    HWND parent_ = nullptr;
    TTextBrowser browser_;
};

TEST_F(TextBrowserTest, IsAReadOnlyRichEditChild) {
    ASSERT_NE(browser_.Window(), nullptr);
    wchar_t className[64] = {};
    GetClassNameW(browser_.Window(), className, 64);
    EXPECT_EQ(lstrcmpiW(className, TextBrowserClassName()), 0) << Narrow(className);
    EXPECT_EQ(GetParent(browser_.Window()), parent_);
    EXPECT_EQ(GetDlgCtrlID(browser_.Window()), 7);
    const LONG_PTR style = GetWindowLongPtrW(browser_.Window(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    browser_.SetHtml(L"text");
    SendMessageW(browser_.Window(), EM_SETSEL, 0, 0);
    SendMessageW(browser_.Window(), WM_CHAR, L'x', 0);
    EXPECT_EQ(browser_.Text(), L"text");
}

TEST_F(TextBrowserTest, ShowsTheTextOfTheHtml) {
    browser_.SetHtml(kArticle);
    EXPECT_EQ(browser_.Text(), kArticleText);
    browser_.SetHtml(L"<b>әөүҗңһ</b> &amp; {\\par} &#x4D8;");
    EXPECT_EQ(browser_.Text(), L"әөүҗңһ & {\\par} Ә");
    browser_.Clear();
    EXPECT_EQ(browser_.Text(), L"");
    browser_.SetHtml(L"");
    EXPECT_EQ(browser_.Text(), L"");
}

TEST_F(TextBrowserTest, CharacterFormats) {
    browser_.SetHtml(kArticle);
    const std::wstring text = browser_.Text();
    struct TFormatCase {
        wchar_t Char;
        bool Bold;
        bool Italic;
        bool Underline;
        COLORREF Colour; // CLR_INVALID: the control's own
        LONG Twips;
    };
    const TFormatCase cases[] = {
        {L'с', true, false, false, RGB(0, 0, 255), 300}, {L'ә', false, false, false, CLR_INVALID, 300},
        {L'ө', false, false, true, CLR_INVALID, 300},    {L'x', false, false, false, CLR_INVALID, 300},
        {L'к', false, true, false, CLR_INVALID, 300},    {L'<', true, false, false, CLR_INVALID, 300},
    };
    for (const TFormatCase& c : cases) {
        const size_t position = text.find(c.Char);
        ASSERT_NE(position, std::wstring::npos);
        const CHARFORMAT2W format = FormatAt(static_cast<int>(position));
        SCOPED_TRACE(testing::Message() << "character " << position);
        EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, c.Bold);
        EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, c.Italic);
        EXPECT_EQ((format.dwEffects & CFE_UNDERLINE) != 0, c.Underline);
        if (c.Colour == CLR_INVALID) {
            EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
        } else {
            EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
            EXPECT_EQ(format.crTextColor, c.Colour);
        }
        EXPECT_EQ(format.yHeight, c.Twips);
        EXPECT_STREQ(format.szFaceName, L"Tahoma");
    }
}

TEST_F(TextBrowserTest, TakesPagesPastTheDefaultLimit) {
    std::wstring html;
    for (int line = 0; line < 3000; ++line) {
        html += L"<b>строка</b> " + std::to_wstring(line) + L" әйе әйе әйе әйе әйе<br>";
    }
    browser_.SetHtml(html);
    const std::wstring text = browser_.Text();
    EXPECT_GT(text.size(), 70000u);
    EXPECT_EQ(text.substr(text.size() - 31), L"строка 2999 әйе әйе әйе әйе әйе");
}

TEST_F(TextBrowserTest, NewTextShowsFromTheTop) {
    std::wstring html;
    for (int line = 0; line < 200; ++line) {
        html += L"line " + std::to_wstring(line) + L"<br>";
    }
    browser_.SetHtml(html);
    SendMessageW(browser_.Window(), WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_GT(FirstVisibleLine(), 0);
    browser_.SetHtml(html);
    EXPECT_EQ(FirstVisibleLine(), 0);
    DWORD start = 1;
    DWORD end = 1;
    SendMessageW(browser_.Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
}

TEST_F(TextBrowserTest, SelectAllAndCopyPutTheTextOnTheClipboard) {
    browser_.SetHtml(kArticle);
    Clipboard().SetWideText(L"before");
    SendMessageW(browser_.Window(), EM_SETSEL, 2, 2);
    browser_.Copy();
    EXPECT_EQ(Clipboard().GetWideText(), L"before");

    SendMessageW(browser_.Window(), EM_SETSEL, 4, 11);
    browser_.Copy();
    EXPECT_EQ(Clipboard().GetWideText(), L"1. әни ");

    browser_.SelectAll();
    browser_.Copy();
    EXPECT_EQ(Clipboard().GetWideText(), L"сүз\r\n1. әни өй x кит. <a&b>");
}

TEST_F(TextBrowserTest, RightClickGoesToTheParent) {
    contextMenuFrom = nullptr;
    SendMessageW(browser_.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(browser_.Window()), MAKELPARAM(10, 10));
    EXPECT_EQ(contextMenuFrom, browser_.Window());
}

TEST(TextBrowserWithoutWindow, DoesNothing) {
    TTextBrowser browser;
    browser.SetHtml(L"<b>x</b>");
    browser.SelectAll();
    browser.Copy();
    browser.ScrollToTop();
    EXPECT_EQ(browser.Text(), L"");
}

} // namespace
