// Tirel and Pemdrove together as the user meets them: both come up, either's exit ends both, a
// captured word opens its popup while the main program runs, repeated runs leave nothing behind,
// and a killed main program is started again by the next request.

#include <gtest/gtest.h>

#include <cwchar>

#include "core/Dictionary.h"
#include "main/Main.h"
#include "tests/e2e/SystemSession.h"
#include "tests/main/PemdroveSession.h"
#include "tests/support/BuiltData.h"

namespace {

const std::wstring kWord = L"китап";

class TTextWindow {
public:
    explicit TTextWindow(const wchar_t* text) {
        edit_ = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", text, WS_POPUP | WS_VISIBLE | WS_BORDER | ES_LEFT, 100, 100,
                                700, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TTextWindow() { DestroyWindow(edit_); }
    TTextWindow(const TTextWindow&) = delete;
    TTextWindow& operator=(const TTextWindow&) = delete;
    HWND Window() const { return edit_; }
    POINT OnCharacter(int index) const {
        const LRESULT at = SendMessageW(edit_, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        POINT point = {static_cast<short>(LOWORD(at)) + 2, static_cast<short>(HIWORD(at)) + 5};
        ClientToScreen(edit_, &point);
        return point;
    }

private:
    HWND edit_ = nullptr;
};

int32_t SampleEntry(const std::wstring& headword) {
    std::vector<unsigned char> image = ReadBuiltFile("tatrus.dict");
    const TDictHandle dict = MakeDictHandle(image.data());
    return DictFindWord(headword.c_str(), headword.size(), dict);
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
    ASSERT_TRUE(run.Start());
    TBlockView& block = run.Block();
    block->ScanEnabled = 1;
    block->ScanWithShift = 0;
    const TTextWindow text(L"Без китапларны укыйбыз");
    ASSERT_NE(text.Window(), nullptr);
    const POINT onWord = text.OnCharacter(6);
    SetCursorPos(onWord.x, onWord.y);
    HWND popup = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        popup = FindProcessWindow(run.Tirel().Id(), L"NewPopupWindow_Jyx", nullptr);
        return popup != nullptr && IsWindowVisible(popup);
    })) << "no popup came up";
    EXPECT_EQ(block->CurDict, 0);
    EXPECT_EQ(block->CurEntry, SampleEntry(kWord));
    EXPECT_EQ(block->RunState, rsRunning);
    ExitFromTray(run);
}

TEST(SystemEndToEnd, RepeatedRunsLeaveNoRunStateAndNoProcessBehind) {
    TSystemFolder folder;
    for (int cycle = 0; cycle < 20; ++cycle) {
        TSystemRun run(folder);
        ASSERT_TRUE(run.Start()) << cycle;
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

