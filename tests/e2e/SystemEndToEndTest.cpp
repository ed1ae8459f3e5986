// Tirel and Pemdrove together as the user meets them: both come up, either's exit ends both, a
// captured word opens its popup while the main program runs, repeated runs leave nothing behind,
// a killed main program is started again by the next request, a killed tray program leaves the
// main program working for a new one to take over, and a garbled dictionary or settings file
// between two starts is skipped or replaced.

#include <gtest/gtest.h>

#include <cwchar>

#include "core/Dictionary.h"
#include "display/CardWindow.h"
#include "main/Main.h"
#include "tests/e2e/SystemSession.h"
#include "tests/main/PemdroveSession.h"
#include "tests/support/TextWindow.h"
#include "tray/TrayWindow.h"

namespace {

const std::wstring kWord = L"китап";

std::vector<unsigned char> Garbage(size_t size) {
    std::vector<unsigned char> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 37 + 11);
    }
    return bytes;
}

// The first line of the article the main window shows.
std::wstring ShownHeadword(HWND main) {
    const std::wstring article = TMainWindowView(main).Article();
    return article.substr(0, article.find(L'\r'));
}

// Types the word into the main window's empty word field; gives the headword then shown.
std::wstring LookUp(HWND main, const std::wstring& word) {
    const TMainWindowView view(main);
    SendMessageW(view.Edit1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (const wchar_t c : word) {
        view.TypeChar(c);
    }
    return ShownHeadword(main);
}

// The capture reports a cursor that comes to rest once: one left on a word before the tray
// program starts would never be reported. Nothing of the tests is in this corner.
void ParkCursor() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Rests the cursor on the character; the popup of the tray program's process once it shows.
HWND PopupOver(const TTextWindow& text, int index, DWORD tirel) {
    const POINT onWord = text.OnCharacter(index);
    SetCursorPos(onWord.x, onWord.y);
    HWND popup = nullptr;
    PumpUntil([&] {
        popup = FindProcessWindow(tirel, L"NewPopupWindow_Jyx", nullptr);
        return popup != nullptr && IsWindowVisible(popup);
    });
    return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

// Starts both programs with scanning on, without Shift.
bool StartScanning(TSystemRun& run) {
    ParkCursor();
    if (!run.Start()) {
        return false;
    }
    run.Block()->ScanEnabled = 1;
    run.Block()->ScanWithShift = 0;
    return true;
}

DWORD WindowProcess(HWND window) {
    DWORD process = 0;
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 ? process : 0;
}

void KillTray(TSystemRun& run) {
    const HANDLE tirel = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, run.Tirel().Id());
    ASSERT_NE(tirel, nullptr);
    TerminateProcess(tirel, 99);
    WaitForSingleObject(tirel, 10000);
    CloseHandle(tirel);
}

bool ProcessGone(DWORD processId) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return true;
    }
    const bool gone = WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

void ExitFromMain(TSystemRun& run) {
    PostMessageW(run.MainWindow(), WM_COMMAND, MAKEWPARAM(TForm1::idMMTrans_Exit, 0), 0);
    ASSERT_TRUE(run.WaitForMainExit());
    ASSERT_TRUE(run.Tirel().WaitForExit());
}

void ExitFromTray(TSystemRun& run) {
    PostMessageW(run.Block().TrayWindow(), WM_COMMAND, 0, 0); // the menu's Exit
    ASSERT_TRUE(run.Tirel().WaitForExit());
    ASSERT_TRUE(run.WaitForMainExit());
}

// Closes the main program alone; the tray window's item starts a new one, which opens the
// dictionaries the tray program marked; then its exit ends both.
void RestartMainThenExit(TSystemRun& run) {
    PostMessageW(run.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitForMainExit());
    PostMessageW(run.Block().TrayWindow(), WM_COMMAND, tcMainWindow, 0);
    ASSERT_TRUE(run.WaitForMain()) << "no new main program";
    EXPECT_EQ(LookUp(run.MainWindow(), kWord), kWord);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(run.MainWindow(), TForm1::idbtnLang))); // Russian ones too
    ExitFromMain(run);
}

} // namespace

TEST(SystemEndToEnd, BothProgramsComeUp) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start()) << "the programs did not come up";
    EXPECT_EQ(run.Block()->RunState, rsRunning);
    wchar_t name[64] = {};
    GetClassNameW(run.Block().MainWindow(), name, 64);
    EXPECT_STREQ(name, L"QuorvaMainMesgHandler");
    EXPECT_TRUE(IsWindowVisible(run.MainWindow()));
    EXPECT_TRUE(TrayIconPresent(run.Block().TrayWindow()));
    EXPECT_FALSE(TMainWindowView(run.MainWindow()).Row(0).empty());
    ExitFromTray(run);
}

TEST(SystemEndToEnd, TheMainProgramsExitEndsBoth) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start());
    const HWND tray = run.Block().TrayWindow();
    run.Block()->CardMaxLines = 20; // a setting made here reaches ksv.dat as Tirel ends
    ExitFromMain(run);
    const std::vector<unsigned char> saved = folder.Read(L"ksv.dat");
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[8], 20);
    EXPECT_FALSE(IsWindow(tray));
    EXPECT_FALSE(TrayIconPresent(tray)); // removed, not left to the shell to notice
    EXPECT_TRUE(HotKeyFree());
    EXPECT_EQ(run.Tirel().ExitCode(), 0u);
}

TEST(SystemEndToEnd, TheTrayProgramsExitEndsTheMainProgramFirst) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start());
    ExitFromTray(run);
    EXPECT_EQ(run.Block()->RunState, rsNotRunning); // set by the main program as it ended on 1528
    EXPECT_EQ(run.Block()->MainMesgWindow, 0);
    EXPECT_EQ(run.Tirel().ExitCode(), 0u);
}

TEST(SystemEndToEnd, ACapturedWordOpensItsPopupWhileTheMainProgramRuns) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(StartScanning(run));
    TBlockView& block = run.Block();
    const TTextWindow text(L"Без китапларны укыйбыз");
    ASSERT_NE(text.Window(), nullptr);
    ASSERT_NE(PopupOver(text, 6, run.Tirel().Id()), nullptr) << "no popup came up";
    EXPECT_EQ(block->CurDict, 0);
    EXPECT_EQ(block->CurEntry, SampleEntry(kWord));
    EXPECT_EQ(block->RunState, rsRunning);
    ExitFromTray(run);
}

// The dictionary's own windows hold no text to translate: resting on the main window's word
// field or a row of its headword list opens no popup, while a word of another window still does.
TEST(SystemEndToEnd, TheMainProgramsWindowsGetNoPopup) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(StartScanning(run));
    const HWND main = run.MainWindow();
    ASSERT_EQ(LookUp(main, kWord), kWord);
    const TMainWindowView view(main);
    const LRESULT inField = SendMessageW(view.Edit1, EM_POSFROMCHAR, 2, 0);
    const POINT onLetter = {static_cast<short>(LOWORD(inField)) + 2, static_cast<short>(HIWORD(inField)) + 5};
    struct {
        const char* What;
        HWND Control;
        POINT At; // in the control's client area
    } places[] = {
        {"the word field", view.Edit1, onLetter},
        {"a row of the headword list", GetDlgItem(main, TForm1::idFirstRow), {6, 9}},
    };
    for (auto& place : places) {
        SCOPED_TRACE(place.What);
        ASSERT_FALSE(WindowTextOf(place.Control).empty());
        ClientToScreen(place.Control, &place.At);
        ParkCursor();
        PumpUntil([] { return false; }, 300);
        SetCursorPos(place.At.x, place.At.y);
        EXPECT_FALSE(PumpUntil(
            [&] { return FindProcessWindow(run.Tirel().Id(), L"NewPopupWindow_Jyx", nullptr) != nullptr; }, 2000));
    }
    const TTextWindow text(L"Без китапларны укыйбыз", 100, 900);
    ASSERT_NE(text.Window(), nullptr);
    EXPECT_NE(PopupOver(text, 6, run.Tirel().Id()), nullptr) << "no popup came up";
    ExitFromTray(run);
}

TEST(SystemEndToEnd, RepeatedRunsLeaveNoRunStateAndNoProcessBehind) {
    TSystemFolder folder;
    for (int cycle = 0; cycle < 50; ++cycle) {
        TSystemRun run(folder);
        ASSERT_TRUE(run.Start()) << cycle << ": " << run.Why();
        const DWORD tirel = run.Tirel().Id();
        if (cycle % 2 == 0) {
            ExitFromTray(run);
            EXPECT_EQ(run.Block()->RunState, rsNotRunning) << cycle;
        } else {
            ExitFromMain(run);
        }
        EXPECT_TRUE(ProcessGone(tirel)) << cycle;
        run.Block().Close();
        EXPECT_TRUE(WaitUntil([] { return !MappingExists(GlobalCustomsName); })) << cycle;
    }
}

TEST(SystemEndToEnd, AKilledMainProgramIsStartedAgainByTheNextRequest) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start());
    const HWND deadWindow = run.Block().MainWindow();
    run.KillMain();
    EXPECT_EQ(run.Block()->RunState, rsRunning);
    EXPECT_FALSE(IsWindow(deadWindow));

    // The request to show an entry, made as the tray program's card makes it.
    wchar_t previous[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    SetCurrentDirectoryW(folder.Path().c_str());
    EXPECT_GT(RunMainProgram(*run.Block()), 32);
    SetCurrentDirectoryW(previous);
    ASSERT_TRUE(run.WaitForMain()) << "the main program was not started again";
    EXPECT_NE(run.Block().MainWindow(), deadWindow);
    ExitFromMain(run);
}

TEST(SystemEndToEnd, AKilledTrayProgramLeavesTheMainProgramWorkingAndANewOneTakesOver) {
    // Either program's exit ends both afterwards, also with a main program the new one started.
    const struct {
        const char* What;
        void (*End)(TSystemRun& run);
    } ends[] = {
        {"the new tray program's exit", ExitFromTray},
        {"the main program's exit", ExitFromMain},
        {"the main program closed, started again by the new tray program, then its exit", RestartMainThenExit},
    };
    for (const auto& end : ends) {
        SCOPED_TRACE(end.What);
        TSystemFolder folder;
        TSystemRun run(folder);
        ASSERT_TRUE(run.Start());
        const HWND main = run.MainWindow();
        const HWND mesg = run.Block().MainWindow();
        KillTray(run);

        // The main program goes on alone: it looks words up and opens its windows.
        EXPECT_EQ(LookUp(main, L"алма"), L"алма");
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(TForm1::idbtnTrans, 0), 0);
        HWND card = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] { return (card = FindProcessWindow(WindowProcess(main), CardWindowClass, nullptr)) != nullptr; }));
        PostMessageW(card, WM_CLOSE, 0, 0); // a card shows at the cursor, over the text read below
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(card); }));

        // A new tray program comes up over the block the main program holds, and keeps that main program.
        ParkCursor();
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(WaitUntil([&] { return WindowProcess(run.Block().TrayWindow()) == run.Tirel().Id(); }))
            << "the new tray program did not take over";
        ASSERT_TRUE(run.WaitForMain());
        EXPECT_EQ(run.MainWindow(), main);
        EXPECT_EQ(run.Block().MainWindow(), mesg);
        EXPECT_EQ(run.Block()->RunState, rsRunning);
        EXPECT_TRUE(TrayIconPresent(run.Block().TrayWindow()));
        // Its dictionaries are under names of its own, each marked: the main program still holds the old ones.
        int marked = 0;
        for (int number = 0; number < 256; ++number) {
            if (SharedDictIsSet(*run.Block(), number)) {
                ++marked;
                EXPECT_TRUE(DictMappingExists(number)) << number;
            }
        }
        EXPECT_EQ(marked, 2);

        // Its popup finds a word, and the entry it makes current is the one the main program shows.
        const TTextWindow text(L"Без китапларны укыйбыз");
        ASSERT_NE(text.Window(), nullptr);
        ASSERT_NE(PopupOver(text, 6, run.Tirel().Id()), nullptr) << "no popup came up";
        EXPECT_EQ(run.Block()->CurDict, 0);
        EXPECT_EQ(run.Block()->CurEntry, SampleEntry(kWord));
        EXPECT_EQ(RunMainProgram(*run.Block()), 2); // sent as the tray program's card sends it, nothing started
        EXPECT_EQ(ShownHeadword(main), kWord);

        const DWORD tirel = run.Tirel().Id();
        end.End(run);
        EXPECT_TRUE(ProcessGone(tirel));
        EXPECT_FALSE(run.MainRunning());
        EXPECT_TRUE(HotKeyFree());
        EXPECT_EQ(folder.Read(L"ksv.dat").size(), 16u);
        run.Block().Close();
        EXPECT_TRUE(WaitUntil([] { return !MappingExists(GlobalCustomsName); }));
    }
}

TEST(SystemEndToEnd, ADictionaryGarbledBetweenTwoStartsIsSkippedAndTheOtherWorks) {
    const struct {
        const wchar_t* Garbled;
        const wchar_t* Text;
        int Index;
        const char* Kept;
        const wchar_t* Headword;
    } cases[] = {
        {L"rustat.dict", L"Без китапларны укыйбыз", 6, "tatrus.dict", L"китап"},
        {L"tatrus.dict", L"Это книга", 6, "rustat.dict", L"книга"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kept: " << c.Kept);
        TSystemFolder folder;
        {
            TSystemRun first(folder);
            ASSERT_TRUE(first.Start());
            ExitFromTray(first);
        }
        folder.Write(c.Garbled, Garbage(3000));

        TSystemRun run(folder);
        ParkCursor();
        ASSERT_TRUE(run.Start()) << "the programs did not come up";
        const TTextWindow text(c.Text);
        ASSERT_NE(text.Window(), nullptr);
        ASSERT_NE(PopupOver(text, c.Index, run.Tirel().Id()), nullptr) << "no popup came up";
        EXPECT_EQ(run.Block()->CurDict, 0);
        EXPECT_EQ(run.Block()->CurEntry, SampleEntry(c.Headword, c.Kept));
        EXPECT_EQ(LookUp(run.MainWindow(), c.Headword), c.Headword);
        ExitFromMain(run);
        EXPECT_EQ(folder.Read(c.Garbled), Garbage(3000)); // skipped, not written
    }
}

TEST(SystemEndToEnd, ASettingsFileOfRandomBytesGivesTheDefaultsWrittenBackSane) {
    const std::vector<unsigned char> defaults = {1, 1, 0, 0, 1, 0, 0, 0, 32, 0, 0, 0, 32, 0, 0, 0};
    TSystemFolder folder;
    folder.Write(L"ksv.dat", Garbage(16));

    TSystemRun run(folder);
    ASSERT_TRUE(run.Start()) << "the programs did not come up";
    EXPECT_EQ(folder.Read(L"ksv.dat"), defaults);
    const TGlobalCustoms want = DefaultCustoms();
    const TGlobalCustoms& block = *run.Block();
    EXPECT_EQ(block.UILanguage, want.UILanguage);
    EXPECT_EQ(block.ScanEnabled, want.ScanEnabled);
    EXPECT_EQ(block.ScanWithShift, want.ScanWithShift);
    EXPECT_EQ(block.SourceLang, want.SourceLang);
    EXPECT_EQ(block.TargetLang, want.TargetLang);
    EXPECT_EQ(block.CardMono, want.CardMono);
    EXPECT_EQ(block.CardMaxLines, want.CardMaxLines);
    EXPECT_EQ(block.PopupMaxLines, want.PopupMaxLines);
    EXPECT_EQ(LookUp(run.MainWindow(), kWord), kWord);
    ExitFromMain(run);
    EXPECT_EQ(folder.Read(L"ksv.dat"), defaults);
}

// The help promises that the icon brings the main window back.
TEST(SystemEndToEnd, TheIconsClickAndItsMenuItemBringBackAMinimisedMainWindow) {
    TSystemFolder folder;
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start());
    const HWND main = run.MainWindow();
    const struct {
        const char* What;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
    } asks[] = {{"left click", WM_TRAY_NOTIFY, 0, WM_LBUTTONUP}, {"menu item", WM_COMMAND, tcMainWindow, 0}};
    for (const auto& ask : asks) {
        SCOPED_TRACE(ask.What);
        ShowWindow(main, SW_MINIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
        PostMessageW(run.Block().TrayWindow(), ask.Message, ask.WParam, ask.LParam);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && GetForegroundWindow() == main; }));
    }
    EXPECT_EQ(run.MainWindow(), main); // the same main program, not a second one
    ExitFromTray(run);
}

// Windows tells every top-level window, the two programs in no set order; whichever hears first,
// both end and ksv.dat holds what changed since the start.
TEST(SystemEndToEnd, TheEndOfTheSessionEndsBothAndKeepsTheSettingsChangedSinceTheStart) {
    TSystemFolder folder;
    for (const bool toTray : {true, false}) {
        SCOPED_TRACE(toTray ? "the tray program first" : "the main program first");
        TSystemRun run(folder);
        ASSERT_TRUE(run.Start());
        const int language =
            run.Block()->UILanguage == 0 ? TForm1::idMMService_OrigLang_Rus : TForm1::idMMService_OrigLang_Tat;
        const uint8_t before = run.Block()->UILanguage;
        PostMessageW(run.MainWindow(), WM_COMMAND, MAKEWPARAM(language, 0), 0);
        ASSERT_TRUE(WaitUntil([&] { return run.Block()->UILanguage != before; }));
        const uint8_t changed = run.Block()->UILanguage;
        const HWND told = toTray ? run.Block().TrayWindow() : run.Block().MainWindow();

        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(told, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer));
        EXPECT_TRUE(answer);
        SendMessageTimeoutW(told, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer);
        ASSERT_TRUE(run.Tirel().WaitForExit());
        ASSERT_TRUE(run.WaitForMainExit());
        const std::vector<unsigned char> saved = folder.Read(L"ksv.dat");
        ASSERT_EQ(saved.size(), 16u);
        EXPECT_EQ(saved[0], changed);
    }
}

// The tray program's hot key takes Ctrl+F12 from every program: with the main window in front it
// is the Exit that window's menu shows; elsewhere it still does nothing while the main program runs.
TEST(SystemEndToEnd, CtrlF12EndsBothWhenTheMainWindowIsInFront) {
    TSystemFolder folder;
    // A word's popup under a cursor left there would make its entry current and call the main
    // window to the front.
    ParkCursor();
    TSystemRun run(folder);
    ASSERT_TRUE(run.Start());
    const TTextWindow other(L"китап");
    // The main window, shown a moment ago, may still be coming to the front: the other window is
    // put there until it stays.
    const bool otherStays = WaitUntil([&] {
        SetForegroundWindow(other.Window());
        Sleep(300);
        return GetForegroundWindow() == other.Window();
    });
    ASSERT_TRUE(otherStays);
    PressCtrlF12();
    ASSERT_TRUE(Settle(run.Block()));
    // Posted behind what the tray program passed on, so handled after it: the main window comes
    // to the front, with both programs still there.
    PostMessageW(run.Block().MainWindow(), WM_MAIN_SHOW, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == run.MainWindow(); }));
    EXPECT_TRUE(run.MainRunning());
    EXPECT_TRUE(run.Tirel().Running());

    PressCtrlF12();
    ASSERT_TRUE(run.Tirel().WaitForExit());
    ASSERT_TRUE(run.WaitForMainExit());
    EXPECT_EQ(run.Tirel().ExitCode(), 0u);
    EXPECT_EQ(folder.Read(L"ksv.dat").size(), 16u);
}
