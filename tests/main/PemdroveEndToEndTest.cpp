// Pemdrove as its own process under the test in the tray program's role.

#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include "main/Main.h"
#include "tests/main/MainTestSupport.h"
#include "tests/main/PemdroveSession.h"

namespace {

class PemdroveTest : public ::testing::Test {
protected:
    // A started main program with the Tatar test dictionary and the Russian one.
    HWND StartWithDictionaries() {
        session_.CreateBlock(rsLaunchRequested);
        session_.Share(TestDictImage(TatarEntries(), langTatar, L"Татарча"));
        session_.Share(TestDictImage(RussianEntries(), langRussian, L"Русский"));
        if (!session_.Start()) {
            return nullptr;
        }
        return session_.WaitForMainWindow();
    }

    TPemdroveSession session_;
};

TEST_F(PemdroveTest, WithoutALaunchRequestTheProgramEndsAtOnce) {
    ASSERT_TRUE(session_.Start()); // no block at all
    ASSERT_TRUE(session_.WaitForExit());
    EXPECT_EQ(session_.ExitCode(), 0u);
}

TEST_F(PemdroveTest, OnlyRunStateTwoStartsIt) {
    for (const uint8_t state : {rsNotRunning, rsRunning}) {
        TPemdroveSession session;
        session.CreateBlock(state);
        ASSERT_TRUE(session.Start());
        ASSERT_TRUE(session.WaitForExit()) << int(state);
        EXPECT_EQ(session.ExitCode(), 0u);
        EXPECT_EQ(session.Block()->RunState, state);
        EXPECT_EQ(session.Block()->MainMesgWindow, 0);
    }
}

TEST_F(PemdroveTest, RunsWithStateThreeAndEndsOn1528WithStateOne) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(session_.Block()->RunState, rsRunning);
    const HWND mesg = session_.MesgWindow();
    ASSERT_NE(mesg, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(mesg, name, 64);
    EXPECT_STREQ(name, L"QuorvaMainMesgHandler");
    SendMessageW(mesg, WM_MAIN_QUIT, 0, 0);
    ASSERT_TRUE(session_.WaitForExit());
    EXPECT_EQ(session_.Block()->RunState, rsNotRunning);
    EXPECT_EQ(session_.Block()->MainMesgWindow, 0);
    EXPECT_EQ(session_.TrayDestroys(), 0);
}

TEST_F(PemdroveTest, TheListFollowsTypingAndKeys) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    const TMainWindowView view(main);
    ASSERT_NE(view.Edit1, nullptr);
    ASSERT_NE(view.KeyEdit, nullptr);
    SendMessageW(view.Edit1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    struct Typed {
        wchar_t Char;
        const wchar_t* Article;
    } typed[] = {{L'а', L"а\rah"}, {L'б', L"аб\rab"}, {L'в', L"абв\rabv <a> & b"}, {L'я', L"абв\rabv <a> & b"}};
    for (const Typed& t : typed) {
        view.TypeChar(t.Char);
        EXPECT_EQ(view.Article(), t.Article) << char(t.Char & 0x7F);
    }
    EXPECT_EQ(view.Word(), L"абвя");
    // The headword is bold and blue; the article follows in the control's colour.
    DWORD effects = 0;
    COLORREF colour = 0;
    ASSERT_TRUE(view.ArticleFormat(session_.ProcessId(), 0, effects, colour));
    EXPECT_TRUE(effects & CFE_BOLD);
    EXPECT_EQ(colour, RGB(0, 0, 255));
    ASSERT_TRUE(view.ArticleFormat(session_.ProcessId(), 5, effects, colour));
    EXPECT_FALSE(effects & CFE_BOLD);

    const std::wstring rows = view.Row(4) + L"|" + view.Row(5) + L"|" + view.Row(6);
    EXPECT_EQ(rows, L" ак I| ак II| ак III");
    struct Key {
        UINT VirtualKey;
        const wchar_t* Headword;
    } keys[] = {{VK_HOME, L"а"},  {VK_UP, L"а"},     {VK_DOWN, L"аб"}, {VK_END, L"ху"},
                {VK_DOWN, L"ху"}, {VK_PRIOR, L"му"}, {VK_NEXT, L"ху"}};
    for (const Key& k : keys) {
        view.ListKey(k.VirtualKey);
        EXPECT_EQ(view.Article().substr(0, view.Article().find(L'\r')), k.Headword) << k.VirtualKey;
        EXPECT_EQ(view.Word(), k.Headword);
    }
    EXPECT_EQ(view.Row(17), L" ху");
    EXPECT_EQ(session_.Block()->CurEntry, 47);
}

TEST_F(PemdroveTest, LanguageAndDirectionRelabelAndSwitchTheDictionary) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    const TMainWindowView view(main);
    EXPECT_EQ(WindowTextOf(view.Close), L"Закрыть");
    view.Command(TForm1::idMMService_OrigLang_Tat);
    EXPECT_EQ(WindowTextOf(view.Close), L"Ябу");
    EXPECT_EQ(session_.Block()->UILanguage, langTatar);
    view.Command(TForm1::idbtnLang);
    EXPECT_EQ(session_.Block()->SourceLang, langRussian);
    EXPECT_EQ(view.Row(0), L" белый");
    EXPECT_EQ(view.Row(5), L"");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, TForm1::idbtnGP)));
    view.Command(TForm1::idbtnLang);
    EXPECT_EQ(view.Row(0), L" а");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, TForm1::idbtnGP)));
}

TEST_F(PemdroveTest, ResyncWithValuesOutOfRangeChangesNothing) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    const TMainWindowView view(main);
    const std::wstring before = view.Article();
    struct Case {
        uint8_t Source;
        int32_t Dict;
        int32_t Entry;
    } cases[] = {{langTatar, 5, 0}, {langTatar, -1, 3}, {9, 0, 3}, {langRussian, 0, 2}, {langTatar, 0x7FFFFFFF, -9}};
    for (const Case& c : cases) {
        session_.Block()->SourceLang = c.Source;
        session_.Block()->CurDict = c.Dict;
        session_.Block()->CurEntry = c.Entry;
        SendMessageW(session_.MesgWindow(), WM_MAIN_RESYNC, 0, 0);
        ASSERT_TRUE(session_.Running());
        EXPECT_EQ(view.Article(), before);
    }
    session_.Block()->SourceLang = langTatar;
    session_.Block()->CurDict = 0;
    session_.Block()->CurEntry = 5; // the second "ак"
    SendMessageW(session_.MesgWindow(), WM_MAIN_RESYNC, 0, 0);
    EXPECT_EQ(view.Article(), L"ак\rтечь");
    session_.Block()->CurEntry = 1000;
    SendMessageW(session_.MesgWindow(), WM_MAIN_RESYNC, 0, 0);
    EXPECT_EQ(view.Article(), L"ху\rx");
}

TEST_F(PemdroveTest, AQuitDuringAModalWindowEndsTheProgram) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(TForm1::idMMService_Adjust, 0), 0);
    HWND settings = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (settings = session_.FindWindowOf(L"Настройки")) != nullptr; }));
    EXPECT_FALSE(IsWindowEnabled(main));
    SendMessageW(session_.MesgWindow(), WM_MAIN_QUIT, 0, 0);
    ASSERT_TRUE(session_.WaitForExit());
    EXPECT_EQ(session_.Block()->RunState, rsNotRunning);
    EXPECT_EQ(session_.Block()->MainMesgWindow, 0);
}

TEST_F(PemdroveTest, TheCloseButtonEndsOnlyTheMainProgram) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(session_.WaitForExit());
    EXPECT_EQ(session_.Block()->RunState, rsNotRunning);
    EXPECT_EQ(session_.TrayDestroys(), 0);
}

TEST_F(PemdroveTest, ExitEndsTheTrayProgramThenItself) {
    const HWND main = StartWithDictionaries();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(TForm1::idMMTrans_Exit, 0), 0);
    ASSERT_TRUE(session_.WaitForExit());
    EXPECT_EQ(session_.TrayDestroys(), 1);
    EXPECT_EQ(session_.ExitCode(), 0u);
    EXPECT_EQ(session_.Block()->RunState, rsRunning); // no end of the run on this way
}

TEST_F(PemdroveTest, TheTrayProgramStartsItOnTheSampleData) {
    ASSERT_TRUE(session_.StartTray());
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (main = session_.FindWindowOf(L"ТИРЕЛ")) != nullptr; }))
        << "tray running: " << session_.TrayRunning();
    const TMainWindowView view(main);
    EXPECT_FALSE(view.Row(0).empty());
    EXPECT_FALSE(view.Article().empty());
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(TForm1::idMMTrans_Exit, 0), 0);
    EXPECT_TRUE(PumpUntil([&] { return !session_.TrayRunning() && !IsWindow(main); }));
}

} // namespace
