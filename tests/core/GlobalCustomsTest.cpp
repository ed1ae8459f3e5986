#include "core/GlobalCustoms.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "core/Dictionary.h"
#include "core/SysUtils_Qel.h"
#include "tests/core/DictTestImages.h"
#include "tests/support/TempFolder.h"

TEST(SharedBlock, FieldsSitAtTheirOffsets) {
    TGlobalCustoms block{};
    auto* bytes = reinterpret_cast<unsigned char*>(&block);
    block.UILanguage = 1;
    block.ScanEnabled = 2;
    block.ScanSuppressed = 3;
    block.ScanWithShift = 4;
    block.TrayWindow = 0x11223344;
    block.MainMesgWindow = 0x55667788;
    block.SourceLang = 5;
    block.TargetLang = 6;
    block.CurDict = 0x01020304;
    block.CurEntry = -2;
    block.RunState = rsRunning;
    block.CardMono = 7;
    block.CardMaxLines = 32;
    block.PopupMaxLines = 0x0A0B0C0D;
    EXPECT_EQ(bytes[0x00], 1);
    EXPECT_EQ(bytes[0x01], 2);
    EXPECT_EQ(bytes[0x02], 3);
    EXPECT_EQ(bytes[0x03], 4);
    EXPECT_EQ(bytes[0x08], 0x44);
    EXPECT_EQ(bytes[0x0B], 0x11);
    EXPECT_EQ(bytes[0x0C], 0x88);
    EXPECT_EQ(bytes[0x10], 5);
    EXPECT_EQ(bytes[0x11], 6);
    EXPECT_EQ(bytes[0x14], 0x04);
    EXPECT_EQ(bytes[0x18], 0xFE);
    EXPECT_EQ(bytes[0x1B], 0xFF);
    EXPECT_EQ(bytes[0x1C], 3);
    EXPECT_EQ(bytes[0x3D], 7);
    EXPECT_EQ(bytes[0x40], 32);
    EXPECT_EQ(bytes[0x44], 0x0D);
    EXPECT_EQ(bytes[0x47], 0x0A);
}

TEST(SharedBlock, SharedDictionaryBits) {
    TGlobalCustoms block{};
    auto* bytes = reinterpret_cast<unsigned char*>(&block);
    SetSharedDict(block, 0, true);
    EXPECT_EQ(bytes[0x1D], 0x01);
    SetSharedDict(block, 255, true);
    EXPECT_EQ(bytes[0x3C], 0x80);
    SetSharedDict(block, 33, true); // word 1, bit 1 = byte 0x1D + 4, bit 1
    EXPECT_EQ(bytes[0x21], 0x02);
    EXPECT_TRUE(SharedDictIsSet(block, 33));
    EXPECT_FALSE(SharedDictIsSet(block, 32));
    SetSharedDict(block, 0, false);
    EXPECT_EQ(bytes[0x1D], 0x00);
    EXPECT_TRUE(SharedDictIsSet(block, 255));
    EXPECT_FALSE(SharedDictIsSet(block, 256));
    EXPECT_FALSE(SharedDictIsSet(block, -1));
    EXPECT_EQ(bytes[0x3D], 0); // the neighbours are untouched
    EXPECT_EQ(bytes[0x1C], 0);
}

namespace {

struct ResyncCounter {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MAIN_RESYNC) {
            ++count;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static int count;
};
int ResyncCounter::count = 0;

HWND MakeMessageWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ResyncCounter::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvTestResyncCounter";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(RunState, RunMainProgramByState) {
    TGlobalCustoms block{};
    HWND window = MakeMessageWindow();
    ASSERT_NE(window, nullptr);
    block.MainMesgWindow = HandleToLong(window);

    ResyncCounter::count = 0;
    block.RunState = rsRunning;
    EXPECT_EQ(RunMainProgram(block), 2);
    EXPECT_EQ(ResyncCounter::count, 1);

    block.RunState = rsLaunchRequested;
    EXPECT_EQ(RunMainProgram(block), 2);
    EXPECT_EQ(ResyncCounter::count, 1);

    TempFolder temp; // no Pemdrove.exe in it
    wchar_t previous[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    SetCurrentDirectoryW(temp.Path().c_str());
    block.RunState = rsNotRunning;
    EXPECT_EQ(RunMainProgram(block), 2);
    EXPECT_EQ(block.RunState, rsLaunchRequested);
    EXPECT_EQ(ResyncCounter::count, 1);

    // State 3 with a window that no longer exists: started again, nothing sent.
    DestroyWindow(window);
    block.RunState = rsRunning;
    EXPECT_EQ(RunMainProgram(block), 2);
    EXPECT_EQ(block.RunState, rsLaunchRequested);
    EXPECT_EQ(ResyncCounter::count, 1);
    SetCurrentDirectoryW(previous);
}

namespace {

// Shares a file from another process, as the tray program does, for as long as it lives.
class SharedFromOtherProcess {
public:
    // raw: the file is mapped unchecked, as a broken sharer would.
    SharedFromOtherProcess(const std::wstring& file, int number, bool raw = false) {
        const std::string name = DictObjectPrefix + std::to_string(number);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, (name + "_ready").c_str());
        quit_ = CreateEventA(nullptr, TRUE, FALSE, (name + "_quit").c_str());
        std::wstring command = L"\"" + GetProgramFolder() + L"dict_share_helper.exe\" \"" + file + L"\" " +
                               std::to_wstring(number) + (raw ? L" raw" : L"");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != 0;
        if (started_) {
            HANDLE both[] = {ready_, process_.hProcess};
            started_ = WaitForMultipleObjects(2, both, FALSE, 30000) == WAIT_OBJECT_0;
        }
    }
    ~SharedFromOtherProcess() {
        SetEvent(quit_);
        if (process_.hProcess) {
            WaitForSingleObject(process_.hProcess, 30000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        CloseHandle(ready_);
        CloseHandle(quit_);
    }
    bool Started() const { return started_; }

private:
    HANDLE ready_ = nullptr, quit_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

void WriteImage(const TempFolder& temp, const std::wstring& name, const std::vector<unsigned char>& image) {
    temp.Write(name, image);
}

bool MappingExists(int number) {
    const std::string name = DictObjectPrefix + std::to_string(number);
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (h) {
        CloseHandle(h);
    }
    return h != nullptr;
}

} // namespace

TEST(SharedDictionaries, OpensWhatTheOtherProcessShared) {
    TempFolder temp;
    WriteImage(temp, L"r.dict", MakeImage({Entry(L"стол", posNoun, 0, L"өстәл")}, langRussian));
    SharedFromOtherProcess shared(temp.File(L"r.dict"), 17);
    ASSERT_TRUE(shared.Started());

    void* view = OpenDictionaryMapping(17);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(LangGroups[langRussian].size(), 1u);
    EXPECT_TRUE(LangGroups[langTatar].empty());
    TDictHandle& dict = LangGroups[langRussian][0];
    EXPECT_EQ(dict.View, view);
    EXPECT_EQ(dict.CurEntry, -1);
    EXPECT_FALSE(dict.FileHandle);
    EXPECT_TRUE(dict.MapHandle);
    EXPECT_EQ(dict.MappedView.Get(), view);
    EXPECT_EQ(DictFindWord(L"стол", 4, dict), 0);
    EXPECT_STREQ(dict.Article(0), L"өстәл");

    GlobalCustomsDone();
    EXPECT_TRUE(LangGroups[langRussian].empty());
}

TEST(SharedDictionaries, UnsharedNumberLeavesNothingBehind) {
    ASSERT_FALSE(MappingExists(18));
    EXPECT_EQ(OpenDictionaryMapping(18), nullptr);
    EXPECT_FALSE(MappingExists(18));
    EXPECT_TRUE(LangGroups[langTatar].empty() && LangGroups[langRussian].empty());
}

TEST(SharedDictionaries, CorruptSharedImageIsSkipped) {
    TempFolder temp;
    std::vector<unsigned char> image = MakeImage({Entry(L"алма", posNoun)});
    image[DictLayout::DirectionOffset] = 2;
    WriteImage(temp, L"bad.dict", image);
    std::vector<unsigned char> truncated = MakeImage({Entry(L"алма", posNoun), Entry(L"бал", posNoun)});
    int32_t count = 5000;
    std::memcpy(truncated.data() + DictLayout::CountOffset, &count, 4);
    WriteImage(temp, L"short.dict", truncated);

    SharedFromOtherProcess bad(temp.File(L"bad.dict"), 19, true);
    SharedFromOtherProcess shortImage(temp.File(L"short.dict"), 20, true);
    ASSERT_TRUE(bad.Started() && shortImage.Started());
    EXPECT_EQ(OpenDictionaryMapping(19), nullptr);
    EXPECT_EQ(OpenDictionaryMapping(20), nullptr);
    EXPECT_TRUE(LangGroups[langTatar].empty() && LangGroups[langRussian].empty());
}

// The image checked at opening is the image searched: this process cannot write it.
TEST(SharedDictionaries, SharedImagesAreMappedReadOnly) {
    TempFolder temp;
    WriteImage(temp, L"t.dict", MakeImage({Entry(L"алма", posNoun, 0, L"яблоко")}));
    SharedFromOtherProcess shared(temp.File(L"t.dict"), 21);
    ASSERT_TRUE(shared.Started());

    void* view = OpenDictionaryMapping(21);
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(view, &info, sizeof info), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
    // Nor can a writable view be taken through the handle kept with it.
    void* writable = MapViewOfFile(LangGroups[langTatar].at(0).MapHandle.Get(), FILE_MAP_WRITE, 0, 0, 0);
    EXPECT_EQ(writable, nullptr);
    if (writable != nullptr) {
        UnmapViewOfFile(writable);
    }
    GlobalCustomsDone();
}
