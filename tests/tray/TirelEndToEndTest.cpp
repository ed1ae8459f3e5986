// The tray program as the user starts it, each run in a fresh working folder with a copy of the
// program, its tables and chosen dictionaries, and a test program in the role of the main one.
// Observed from outside: the named block and mappings, the windows, ksv.dat and the main
// program's log.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>

#include "core/DictImage.h"
#include "tests/tray/TirelSession.h"
#include "tools/DictWriter.h"

namespace {

using TBytes = std::vector<unsigned char>;

const TBytes kDefaultSettings = {1, 1, 0, 0, 1, 0, 0, 0, 32, 0, 0, 0, 32, 0, 0, 0};

TBytes TestImage(int32_t id, TLanguage direction) {
    DictSource source;
    source.Title = L"Сынау";
    source.Direction = direction;
    source.Id = id;
    source.Entries.push_back({direction == 0 ? L"китап" : L"книга", 1, 0, -1, L"x"});
    return BuildDictImage(source);
}

TBytes Garbage() {
    TBytes bytes(2000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i * 37 + 11);
    }
    return bytes;
}

std::wstring SlotOnDisk(const TBytes& image) {
    if (image.size() < DictLayout::HeaderSize) {
        return L"?";
    }
    std::wstring slot(reinterpret_cast<const wchar_t*>(image.data() + DictLayout::PathOffset), DictLayout::PathUnits);
    return slot.substr(0, slot.find(L'\0'));
}

std::vector<std::wstring> DictionaryNamesInOrder(const TempFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(folder.File(L"*.dict").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.emplace_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return names;
}

// Starts the tray program and waits until its tray window is in the block and the main program,
// when the folder has one, runs.
std::unique_ptr<TTirelProcess> StartReady(const TProgramFolder& folder, TBlockView& block, bool withMain = true) {
    auto tirel = std::make_unique<TTirelProcess>(folder);
    EXPECT_TRUE(tirel->Started());
    EXPECT_TRUE(WaitUntil([&] {
        return block.Open() && block->TrayWindow != 0 &&
               FindProcessWindow(tirel->Id(), L"PopupWindow_Jyx", L"") == block.TrayWindow() &&
               (!withMain ||
                (block->RunState == rsRunning && block->MainMesgWindow != 0 && folder.MainLogCount("start") > 0));
    })) << "the tray program did not come up";
    return tirel;
}

bool MainProgramEnded(const TProgramFolder& folder) {
    return WaitUntil([&] { return folder.MainLogCount("end") == folder.MainLogCount("start"); });
}

// Ends the tray program from its menu and waits for it and for the main program.
void ExitFromMenu(const TProgramFolder& folder, TTirelProcess& tirel, const TBlockView& block) {
    PostMessageW(block.TrayWindow(), WM_COMMAND, 0, 0);
    ASSERT_TRUE(tirel.WaitForExit());
    EXPECT_EQ(tirel.ExitCode(), 0u);
    EXPECT_TRUE(MainProgramEnded(folder));
}

HWND WaitForBox(const TTirelProcess& tirel, const wchar_t* caption) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindProcessWindow(tirel.Id(), L"#32770", caption)) != nullptr; });
    return box;
}

} // namespace

TEST(TirelEndToEnd, FirstStartWritesTheDefaultSettingsAndExitsFromTheMenu) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    TBlockView block;
    auto tirel = StartReady(folder, block);
    ASSERT_TRUE(tirel->Running());

    EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
    EXPECT_EQ(block->UILanguage, 1);
    EXPECT_EQ(block->ScanEnabled, 1);
    EXPECT_EQ(block->ScanWithShift, 0);
    EXPECT_EQ(block->SourceLang, 0);
    EXPECT_EQ(block->TargetLang, 1);
    EXPECT_EQ(block->CardMono, 0);
    EXPECT_EQ(block->CardMaxLines, 32);
    EXPECT_EQ(block->PopupMaxLines, 32);
    EXPECT_EQ(block->CurDict, 0);
    EXPECT_EQ(block->CurEntry, 0);
    EXPECT_TRUE(SharedDictIsSet(*block, 0));
    EXPECT_TRUE(SharedDictIsSet(*block, 1));
    EXPECT_FALSE(SharedDictIsSet(*block, 2));
    EXPECT_EQ(folder.MainLogCount("start"), 1);

    const HWND tray = block.TrayWindow();
    EXPECT_FALSE(IsWindowVisible(tray));
    EXPECT_TRUE(GetWindowLongPtrW(tray, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(TrayIconPresent(tray));
    EXPECT_FALSE(HotKeyFree());

    ExitFromMenu(folder, *tirel, block);
    EXPECT_EQ(folder.MainLogCount("1528"), 1);
    EXPECT_EQ(folder.MainLogCount("1529"), 0);
    EXPECT_EQ(block->RunState, rsNotRunning); // set by the main program as it ended
    EXPECT_TRUE(HotKeyFree());
    EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
}

TEST(TirelEndToEnd, UnusableSettingsFileGivesTheDefaultsAndIsRewritten) {
    const struct {
        const char* What;
        TBytes File;
    } cases[] = {
        {"15 bytes", TBytes(kDefaultSettings.begin(), kDefaultSettings.end() - 1)},
        {"interface language 2", {2, 1, 0, 0, 1, 0, 0, 0, 32, 0, 0, 0, 32, 0, 0, 0}},
        {"no popup lines", {0, 0, 1, 1, 0, 1, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TProgramFolder folder;
        folder.AddSampleDictionaries();
        folder.AddMainProgram();
        folder.Write(L"ksv.dat", c.File);
        TBlockView block;
        auto tirel = StartReady(folder, block);
        EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
        EXPECT_EQ(block->UILanguage, 1);
        EXPECT_EQ(block->ScanEnabled, 1);
        EXPECT_EQ(block->ScanWithShift, 0);
        EXPECT_EQ(block->SourceLang, 0);
        EXPECT_EQ(block->CardMono, 0);
        EXPECT_EQ(block->CardMaxLines, 32);
        EXPECT_EQ(block->PopupMaxLines, 32);
        ExitFromMenu(folder, *tirel, block);
    }
}

TEST(TirelEndToEnd, SettingsAreReadWithFlagsAsOnOrOffAndTheScanningItemSwitchesThemOff) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    const TBytes file = {0, 5, 7, 1, 0, 9, 0xEE, 0xEE, 12, 0, 0, 0, 40, 0, 0, 0};
    folder.Write(L"ksv.dat", file);
    TBlockView block;
    auto tirel = StartReady(folder, block);
    EXPECT_EQ(block->UILanguage, 0);
    EXPECT_EQ(block->ScanEnabled, 1);
    EXPECT_EQ(block->ScanWithShift, 1);
    EXPECT_EQ(block->SourceLang, 1);
    EXPECT_EQ(block->TargetLang, 0);
    EXPECT_EQ(block->CardMono, 1);
    EXPECT_EQ(block->CardMaxLines, 12);
    EXPECT_EQ(block->PopupMaxLines, 40);
    EXPECT_EQ(folder.Read(L"ksv.dat"), file); // read, not rewritten

    // Off clears Shift-only scanning; on again leaves it off.
    PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return block->ScanEnabled == 0; }));
    EXPECT_EQ(block->ScanWithShift, 0);
    PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return block->ScanEnabled == 1; }));
    EXPECT_EQ(block->ScanWithShift, 0);
    PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return block->ScanEnabled == 0; }));

    ExitFromMenu(folder, *tirel, block);
    EXPECT_EQ(folder.Read(L"ksv.dat"), (TBytes{0, 0, 0, 1, 0, 1, 0, 0, 12, 0, 0, 0, 40, 0, 0, 0}));
}

TEST(TirelEndToEnd, SecondCopyEndsSilentlyWhileTheFirstRuns) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    TBlockView block;
    auto first = StartReady(folder, block);
    const int32_t trayWindow = block->TrayWindow;

    TTirelProcess second(folder);
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(first->Running());
    // The second copy stopped before it touched anything the first one owns.
    EXPECT_EQ(block->TrayWindow, trayWindow);
    EXPECT_EQ(block->RunState, rsRunning);
    EXPECT_TRUE(SharedDictIsSet(*block, 0));
    EXPECT_EQ(folder.MainLogCount("start"), 1);
    EXPECT_EQ(FindProcessWindow(second.Id(), L"#32770", nullptr), nullptr);

    ExitFromMenu(folder, *first, block);
}

TEST(TirelEndToEnd, ACopyStartedWhileTheLastOneEndsTakesOverOnceItIsGone) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    // A copy in its exit still holds the mutex; the system abandons it as that process ends.
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE gone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread ending([&] {
        const HANDLE mutex = CreateMutexA(nullptr, TRUE, TrayMutexName);
        SetEvent(taken);
        WaitForSingleObject(gone, INFINITE);
        CloseHandle(mutex); // still owned: abandoned as the thread ends
    });
    WaitForSingleObject(taken, INFINITE);
    TTirelProcess tirel(folder);
    Sleep(1500); // meanwhile the new copy finds the mutex held, and waits longer than this
    SetEvent(gone);
    ending.join();
    CloseHandle(taken);
    CloseHandle(gone);

    TBlockView block;
    ASSERT_TRUE(WaitUntil([&] {
        return !tirel.Running() || (block.Open() && block->RunState == rsRunning && folder.MainLogCount("start") > 0);
    }));
    ASSERT_TRUE(tirel.Running()) << "the new copy gave up";
    EXPECT_EQ(block.TrayWindow(), FindProcessWindow(tirel.Id(), L"PopupWindow_Jyx", L""));
    ExitFromMenu(folder, tirel, block);
}

TEST(TirelEndToEnd, WithoutUsableDictionariesTheMessageIsShownAndTheSettingsFileLeftAlone) {
    const struct {
        const char* What;
        bool Garbage;
    } cases[] = {{"no dictionary file", false}, {"only an unusable one", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TProgramFolder folder;
        folder.AddMainProgram();
        if (c.Garbage) {
            folder.Write(L"broken.dict", Garbage());
        }
        const TBytes settings = {0, 0, 1, 1, 0, 1, 0, 0, 12, 0, 0, 0, 40, 0, 0, 0};
        folder.Write(L"ksv.dat", settings);
        TTirelProcess tirel(folder);
        const HWND box = WaitForBox(tirel, L"ТИРЕЛ: Ошибка загрузки");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"Не найдены файлы словарей");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(tirel.WaitForExit());
        EXPECT_EQ(tirel.ExitCode(), 1u);
        EXPECT_EQ(folder.Read(L"ksv.dat"), settings);
        EXPECT_TRUE(folder.MainLog().empty());
    }
}

TEST(TirelEndToEnd, AMissingTableIsReportedByItsNameInTheInterfaceLanguage) {
    for (const wchar_t* table : {L"vtailes.bin", L"direct_para.rtb"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(table)));
        TProgramFolder folder;
        folder.AddMainProgram();
        folder.AddSampleDictionaries();
        ASSERT_TRUE(DeleteFileW(folder.File(table).c_str()));
        TTirelProcess tirel(folder);
        const HWND box = WaitForBox(tirel, L"Tirel");
        ASSERT_NE(box, nullptr);
        const std::wstring text = MessageBoxText(box);
        EXPECT_EQ(text.rfind(L"Не удалось открыть файл \"", 0), 0u) << testing::PrintToString(text);
        EXPECT_NE(text.find(table), std::wstring::npos);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(tirel.WaitForExit());
        EXPECT_TRUE(folder.MainLog().empty());
    }
}

TEST(TirelEndToEnd, MissingMainProgramIsReportedAndTheNextStartReadsScanningAsOff) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    {
        TTirelProcess tirel(folder);
        const HWND box = WaitForBox(tirel, L"Ошибка загрузки");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"Файл Pemdrove.exe не найден");
        TBlockView block;
        ASSERT_TRUE(block.Open());
        EXPECT_EQ(block->ScanEnabled, 0);
        EXPECT_EQ(block->RunState, rsLaunchRequested);
        block.Close();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(tirel.WaitForExit());
        EXPECT_EQ(tirel.ExitCode(), 0u);
    }
    const TBytes saved = folder.Read(L"ksv.dat");
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[1], 0);

    folder.AddMainProgram();
    TBlockView block;
    auto tirel = StartReady(folder, block);
    EXPECT_EQ(block->ScanEnabled, 0);
    ExitFromMenu(folder, *tirel, block);
}

TEST(TirelEndToEnd, OfOneIdAndDirectionOnlyTheFirstFileIsSharedUnderItsBareName) {
    TProgramFolder folder;
    folder.AddMainProgram();
    folder.Write(L"a.dict", TestImage(5, langTatar));
    folder.Write(L"b.dict", TestImage(5, langTatar));
    folder.Write(L"c.dict", TestImage(5, langRussian)); // the same id in the other direction
    std::wstring kept, dropped;
    for (const std::wstring& name : DictionaryNamesInOrder(folder)) {
        if (name != L"c.dict") {
            (kept.empty() ? kept : dropped) = name;
        }
    }
    ASSERT_FALSE(dropped.empty());

    TBlockView block;
    auto tirel = StartReady(folder, block);
    EXPECT_TRUE(SharedDictIsSet(*block, 0));
    EXPECT_TRUE(SharedDictIsSet(*block, 1));
    EXPECT_FALSE(SharedDictIsSet(*block, 2));
    EXPECT_FALSE(DictMappingExists(2));
    EXPECT_EQ((std::set<std::wstring>{SharedPathSlot(0), SharedPathSlot(1)}),
              (std::set<std::wstring>{kept, L"c.dict"}));
    ExitFromMenu(folder, *tirel, block);

    EXPECT_EQ(SlotOnDisk(folder.Read(kept)), kept);
    EXPECT_EQ(SlotOnDisk(folder.Read(L"c.dict")), L"c.dict");
    EXPECT_EQ(SlotOnDisk(folder.Read(dropped)), L"");
}

TEST(TirelEndToEnd, UnusableDictionaryIsSkippedAndTheDirectionFollowsTheDictionaries) {
    TProgramFolder folder;
    folder.AddMainProgram();
    folder.AddBuiltFile(L"tatrus.dict");
    folder.Write(L"broken.dict", Garbage());
    const TBytes russianFirst = {1, 1, 0, 1, 0, 0, 0, 0, 32, 0, 0, 0, 32, 0, 0, 0};
    folder.Write(L"ksv.dat", russianFirst);

    TBlockView block;
    auto tirel = StartReady(folder, block);
    // The broken file's number stays taken; only the good file has a mapping.
    EXPECT_TRUE(SharedDictIsSet(*block, 0));
    EXPECT_TRUE(SharedDictIsSet(*block, 1));
    EXPECT_NE(DictMappingExists(0), DictMappingExists(1));
    EXPECT_EQ(SharedPathSlot(DictMappingExists(0) ? 0 : 1), L"tatrus.dict");
    // Only Tatar headwords are there: the source becomes Tatar; the file keeps the old direction
    // until the exit writes the block.
    EXPECT_EQ(block->SourceLang, 0);
    EXPECT_EQ(block->TargetLang, 1);
    EXPECT_EQ(folder.Read(L"ksv.dat"), russianFirst);
    ExitFromMenu(folder, *tirel, block);
    EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
}

TEST(TirelEndToEnd, MainWindowItemClickAndHotKeyFollowTheRunState) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    TBlockView block;
    auto tirel = StartReady(folder, block);
    const HWND tray = block.TrayWindow();
    const LPARAM ctrlF12 = MAKELPARAM(MOD_CONTROL, VK_F12);

    // While the main program runs, the item and the click ask it for its window, and the hot key
    // is passed on to it.
    PostMessageW(tray, WM_COMMAND, 4, 0);
    PostMessageW(tray, WM_TRAY_NOTIFY, 0, WM_LBUTTONUP);
    PostMessageW(tray, WM_HOTKEY, 1, ctrlF12);
    ASSERT_TRUE(Settle(block));
    EXPECT_TRUE(WaitUntil([&] { return folder.MainLogCount("1532") == 2 && folder.MainLogCount("1533") == 1; }));
    EXPECT_TRUE(tirel->Running());
    EXPECT_EQ(folder.MainLogCount("start"), 1);
    EXPECT_EQ(folder.MainLogCount("1529"), 0);

    // Once the main program's close button has ended it, the item and the click start it again.
    const struct {
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
    } starts[] = {{WM_COMMAND, 4, 0}, {WM_TRAY_NOTIFY, 0, WM_LBUTTONUP}};
    int started = 1;
    for (const auto& start : starts) {
        PostMessageW(block.MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return folder.MainLogCount("end") == started; }));
        EXPECT_EQ(block->RunState, rsNotRunning);
        PostMessageW(tray, start.Message, start.WParam, start.LParam);
        ++started;
        EXPECT_TRUE(WaitUntil([&] {
            return folder.MainLogCount("start") == started && block->RunState == rsRunning && block->MainMesgWindow;
        }));
    }

    PostMessageW(block.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return folder.MainLogCount("end") == started; }));
    // With no main program running, the hot key ends the tray program.
    PressCtrlF12();
    ASSERT_TRUE(tirel->WaitForExit());
    EXPECT_EQ(tirel->ExitCode(), 0u);
    EXPECT_EQ(folder.MainLogCount("1528"), 0);
    EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
}

TEST(TirelEndToEnd, MainProgramEndingBothProgramsMeetsOneExit) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    // The main program answers the quit message by asking the tray program to end once more.
    folder.Write(L"main_mode.txt", {'d', 'e', 's', 't', 'r', 'o', 'y', '-', 'o', 'n', '-', 'q', 'u', 'i', 't'});
    TBlockView block;
    auto tirel = StartReady(folder, block);

    // As the main program's Exit item does.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(block.TrayWindow(), WM_DESTROY, 0, 0, SMTO_NORMAL, 20000, &answer);
    ASSERT_TRUE(tirel->WaitForExit());
    EXPECT_EQ(tirel->ExitCode(), 0u);
    EXPECT_TRUE(MainProgramEnded(folder));
    EXPECT_EQ(folder.MainLogCount("1528"), 1);
    EXPECT_EQ(folder.Read(L"ksv.dat"), kDefaultSettings);
}

TEST(TirelEndToEnd, RightClickMenuSwitchesScanningAndExits) {
    TProgramFolder folder;
    folder.AddSampleDictionaries();
    folder.AddMainProgram();
    TBlockView block;
    auto tirel = StartReady(folder, block);
    const HWND tray = block.TrayWindow();
    // The menu's own loop takes the keys posted behind the click: down to an item, and choose it.
    const auto choose = [&](int downs) {
        PostMessageW(tray, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
        for (int i = 0; i < downs; ++i) {
            PostMessageW(tray, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(tray, WM_KEYDOWN, VK_RETURN, 0);
    };
    choose(2); // the scanning item
    EXPECT_TRUE(WaitUntil([&] { return block->ScanEnabled == 0; }));
    choose(3); // the exit item, past the separator
    ASSERT_TRUE(tirel->WaitForExit());
    EXPECT_EQ(tirel->ExitCode(), 0u);
    EXPECT_TRUE(MainProgramEnded(folder));
    EXPECT_EQ(folder.MainLogCount("1528"), 1);
    const TBytes saved = folder.Read(L"ksv.dat");
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[1], 0);
}
