#include "tray/TrayWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"
#include "tests/support/TestCustoms.h"
#include "tests/tray/TrayTestSupport.h"
#include "tray/GlobalCustomsOwner.h"
#include "tray/TextOutSpy.h"
#include "tray/TrayProgram.h"

namespace {

TGlobalCustoms& Block() {
    return *SharedCustoms();
}

// Handles what was posted to this thread, as the message loop would.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

struct TMenuItemSeen {
    UINT Id;
    std::wstring Text;
    bool Separator;
    bool Checked;
};

std::vector<TMenuItemSeen> ItemsOf(HMENU menu) {
    std::vector<TMenuItemSeen> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 64;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        items.push_back({info.wID, text, (info.fType & MFT_SEPARATOR) != 0, (info.fState & MFS_CHECKED) != 0});
    }
    return items;
}

} // namespace

TEST(TrayWindow, ClassHasThePopupBackgroundAndTheArrow) {
    PrepareTrayTests();
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"PopupWindow_Jyx", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    LOGBRUSH brush = {};
    ASSERT_TRUE(GetObjectW(info.hbrBackground, sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, RGB(235, 232, 215));
}

TEST(TrayWindow, MessagesActByTheRunState) {
    enum TWant { wNothing, wScanOff, wLaunch, wExit };
    const struct {
        const char* What;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        uint8_t RunState;
        TWant Want;
        UINT Told = 0; // posted to the running main program
    } cases[] = {
        {"scanning item", WM_COMMAND, tcScan, 0, rsRunning, wScanOff},
        {"main window item", WM_COMMAND, tcMainWindow, 0, rsNotRunning, wLaunch},
        {"main window item, launch pending", WM_COMMAND, tcMainWindow, 0, rsLaunchRequested, wNothing},
        {"main window item, running", WM_COMMAND, tcMainWindow, 0, rsRunning, wNothing, WM_MAIN_SHOW},
        {"left click", WM_TRAY_NOTIFY, 0, WM_LBUTTONUP, rsNotRunning, wLaunch},
        {"left click, running", WM_TRAY_NOTIFY, 0, WM_LBUTTONUP, rsRunning, wNothing, WM_MAIN_SHOW},
        {"left button down", WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN, rsNotRunning, wNothing},
        {"cancel item", WM_COMMAND, tcCancel, 0, rsNotRunning, wNothing},
        {"exit from a control", WM_COMMAND, tcExit, 1, rsNotRunning, wNothing},
        {"exit as an accelerator", WM_COMMAND, MAKEWPARAM(tcExit, 1), 0, rsNotRunning, wNothing},
        {"exit item", WM_COMMAND, tcExit, 0, rsRunning, wExit},
        {"destroy", WM_DESTROY, 0, 0, rsRunning, wExit},
        {"hot key", WM_HOTKEY, kTrayHotKey, 0, rsNotRunning, wExit},
        {"hot key, launch pending", WM_HOTKEY, kTrayHotKey, 0, rsLaunchRequested, wExit},
        {"hot key, running", WM_HOTKEY, kTrayHotKey, 0, rsRunning, wNothing, WM_MAIN_EXIT_KEY},
        {"other hot key", WM_HOTKEY, 2, 0, rsNotRunning, wNothing},
        {"session asked to end", WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, rsRunning, wNothing},
        {"session goes on", WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, rsRunning, wNothing},
        {"session ends", WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, rsRunning, wExit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TWorkingFolder folder; // no main program file in it
        TStartedTray tray(folder);
        ASSERT_TRUE(tray.Started());
        TMainWindowStandIn main;
        Block().MainMesgWindow = HandleToLong(main.Window());
        Block().RunState = c.RunState;
        const int ends = TrayRecord().Ends;

        const LRESULT answer = SendMessageW(tray.Window(), c.Message, c.WParam, c.LParam);
        Pump();

        EXPECT_EQ(TrayRecord().Ends - ends, c.Want == wExit ? 1 : 0);
        EXPECT_EQ(main.Resyncs(), 0);
        EXPECT_EQ(main.Received(WM_MAIN_SHOW), c.Told == WM_MAIN_SHOW ? 1 : 0);
        EXPECT_EQ(main.Received(WM_MAIN_EXIT_KEY), c.Told == WM_MAIN_EXIT_KEY ? 1 : 0);
        if (c.Message == WM_QUERYENDSESSION) {
            EXPECT_TRUE(answer); // the session may end
        }
        if (c.Want == wExit) {
            EXPECT_EQ(main.Quits(), c.RunState == rsRunning ? 1 : 0);
            EXPECT_EQ(SharedCustoms(), nullptr);
            continue;
        }
        EXPECT_EQ(Block().ScanEnabled, c.Want == wScanOff ? 0 : 1);
        EXPECT_EQ(Block().RunState, c.Want == wLaunch ? uint8_t(rsLaunchRequested) : c.RunState);
        EXPECT_EQ(main.Quits(), 0);
        Block().RunState = rsNotRunning; // the exit at the end tells no one
    }
}

TEST(TrayWindow, ExitTellsTheRunningMainProgramOnceThenSavesAndReleases) {
    TWorkingFolder folder;
    TStartedTray tray(folder);
    ASSERT_TRUE(tray.Started());
    TMainWindowStandIn main;
    main.DestroyTrayOnQuit(tray.Window()); // a second end arrives while the first waits
    Block().MainMesgWindow = HandleToLong(main.Window());
    Block().RunState = rsRunning;
    Block().ScanEnabled = 0;
    Block().CardMaxLines = 5;
    const int ends = TrayRecord().Ends;
    EXPECT_TRUE(TrayIconPresent(tray.Window()));

    SendMessageW(tray.Window(), WM_COMMAND, tcExit, 0);

    EXPECT_EQ(main.Quits(), 1);
    EXPECT_EQ(TrayRecord().Ends - ends, 1);
    EXPECT_EQ(SharedCustoms(), nullptr);
    EXPECT_FALSE(HotKeyTaken());
    EXPECT_FALSE(TrayIconPresent(tray.Window()));
    const std::vector<unsigned char> saved = folder.Read(L"ksv.dat");
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[1], 0);
    EXPECT_EQ(saved[8], 5);
}

// A shell that restarts has lost the icon and announces its new taskbar to every window.
TEST(TrayWindow, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    TWorkingFolder folder;
    TStartedTray tray(folder);
    ASSERT_TRUE(tray.Started());
    RemoveTrayIcon(tray.Window());
    ASSERT_FALSE(TrayIconPresent(tray.Window()));
    SendMessageW(tray.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TrayIconPresent(tray.Window()));
}

// Wine closes a menu on a click elsewhere anyway; Windows only when the menu's owner is in front.
TEST(TrayWindow, TheMenuOpensWithItsOwnerInFrontAndLeavesANullMessageBehind) {
    PrepareTrayTests();
    static HWND inFront = nullptr;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_INITMENUPOPUP) {
            inFront = GetForegroundWindow();
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QvTrayTestMenuOwner";
    RegisterClassW(&windowClass);
    // Hidden, as the tray window; another window is in front, as when the user clicks the icon.
    const HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr, windowClass.hInstance, nullptr);
    const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                       windowClass.hInstance, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);

    PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0); // taken by the menu's own loop: it closes
    ShowTrayMenu(owner);

    EXPECT_EQ(inFront, owner);
    bool nullPosted = false;
    MSG message;
    while (PeekMessageW(&message, owner, 0, 0, PM_REMOVE)) {
        nullPosted = nullPosted || message.message == WM_NULL;
    }
    EXPECT_TRUE(nullPosted);
    DestroyWindow(other);
    DestroyWindow(owner);
}

TEST(TrayWindow, MenuCaptionsFollowTheInterfaceLanguageAndScanningIsChecked) {
    const struct {
        uint8_t Language;
        uint8_t Scan;
        const wchar_t* Texts[4]; // items 4, 1, 0, 5
    } cases[] = {
        {0, 1, {L"Баш тәрәзә", L"Сканлаштыру", L"Чыгу", L"Бетерү"}},
        {1, 0, {L"Главное окно", L"Сканировать", L"Выход", L"Отменить"}},
        {7, 2, {L"Главное окно", L"Сканировать", L"Выход", L"Отменить"}},
    };
    TTestCustoms block;
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Language));
        block->UILanguage = c.Language;
        block->ScanEnabled = c.Scan;
        const TOwnedMenu menu = CreateTrayMenu();
        const std::vector<TMenuItemSeen> items = ItemsOf(menu.Get());
        ASSERT_EQ(items.size(), 6u);
        const UINT ids[] = {tcMainWindow, tcScan, 0, tcExit, 0, tcCancel};
        int text = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const bool separator = i == 2 || i == 4;
            EXPECT_EQ(items[i].Separator, separator) << i;
            EXPECT_EQ(items[i].Checked, i == 1 && c.Scan != 0) << i;
            if (!separator) {
                EXPECT_EQ(items[i].Id, ids[i]);
                EXPECT_EQ(items[i].Text, c.Texts[text++]);
            }
        }
    }
}

TEST(TrayWindow, ReportsGoToTheCaptureAndTheCurrentPopupsCloseClearsTheLastWord) {
    TWorkingFolder folder;
    TStartedTray tray(folder);
    ASSERT_TRUE(tray.Started());
    TTextOutSpyBlock hook = {};
    const std::string text = "китап";
    std::copy(text.begin(), text.end(), hook.Text);
    hook.TextBytes = static_cast<int32_t>(text.size());
    hook.CursorOffset = 2;
    TTextOutSpyBlock* const opened = HookBlock();
    SetHookBlock(&hook);
    SendMessageW(tray.Window(), WM_SPY_TEXT, 0, 0);
    SetHookBlock(opened);
    const HWND popup = TrayCurrentPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(LastCapturedWord(), L"китап");
    SendMessageW(tray.Window(), WM_POPUP_CLOSED, 0x1234, 0); // another window: nothing changes
    EXPECT_EQ(LastCapturedWord(), L"китап");
    DestroyWindow(popup); // its notice reaches the tray window
    EXPECT_EQ(LastCapturedWord(), L"");
}

TEST(TrayWindow, ItsLoopCompletesTheSharedDictionariesAfterTheStart) {
    TWorkingFolder folder;
    folder.Write(L"second.dict", TrayTestImage(2, langTatar));
    TStartedTray tray(folder);
    ASSERT_TRUE(tray.Started());
    ASSERT_EQ(LangGroups[langTatar].size(), 2u);
    EXPECT_FALSE(LangGroups[langTatar][0].Headwords);
    Pump();
    EXPECT_TRUE(LangGroups[langTatar][0].Headwords);
    EXPECT_TRUE(LangGroups[langTatar][1].Headwords);
}
