#include "tray/DictionarySharing.h"

#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"
#include "tests/tray/TrayTestSupport.h"
#include "tray/GlobalCustomsOwner.h"

namespace {

using TBytes = std::vector<unsigned char>;

std::wstring Slot(const void* image) {
    const auto* units = reinterpret_cast<const wchar_t*>(static_cast<const char*>(image) + DictLayout::PathOffset);
    std::wstring slot(units, DictLayout::PathUnits);
    return slot.substr(0, slot.find(L'\0'));
}

bool SlotZeroAfter(const void* image, size_t units) {
    const auto* slot = reinterpret_cast<const wchar_t*>(static_cast<const char*>(image) + DictLayout::PathOffset);
    for (size_t i = units; i < DictLayout::PathUnits; ++i) {
        if (slot[i] != 0) {
            return false;
        }
    }
    return true;
}

std::wstring MappedSlot(int number) {
    const std::string name = DictObjectPrefix + std::to_string(number);
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping == nullptr) {
        return L"(none)";
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    const std::wstring slot = view != nullptr ? Slot(view) : L"(unmapped)";
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return slot;
}

class DictionarySharing : public ::testing::Test {
protected:
    void SetUp() override { CreateGlobalCustoms(); }
    void TearDown() override {
        UnshareAllDictionaries();
        ReleaseGlobalCustoms();
    }
    TGlobalCustoms& Block() { return *SharedCustoms(); }
    bool Bit(int number) { return SharedDictIsSet(Block(), number); }

    TWorkingFolder folder;
};

} // namespace

TEST_F(DictionarySharing, FilesWithTheirOwnIdsGetNumbersInTheOrderFound) {
    folder.Write(L"x.dict", TrayTestImage(1, langTatar));
    folder.Write(L"y.dict", TrayTestImage(2, langTatar));
    folder.Write(L"z.txt", TrayTestImage(3, langTatar));
    TNameFileDicts names;
    ASSERT_EQ(FindDictionaryFiles(names), 2);
    ASSERT_EQ(LoadDictionaryFiles(names), 2);

    ASSERT_EQ(LangGroups[langTatar].size(), 2u);
    EXPECT_TRUE(LangGroups[langRussian].empty());
    for (int i = 0; i < 2; ++i) {
        const TDictHandle& dict = LangGroups[langTatar][i];
        EXPECT_TRUE(Bit(i));
        EXPECT_EQ(MappedSlot(i), names[i]); // mapping i is the file found i-th
        EXPECT_EQ(Slot(dict.View), names[i]);
        EXPECT_TRUE(dict.FileHandle);
        EXPECT_TRUE(dict.MapHandle);
        EXPECT_EQ(dict.MappedView.Get(), dict.View);
        EXPECT_EQ(dict.CurEntry, -1);
        EXPECT_EQ(DictFindWord(L"китап", 5, dict), 0);
    }
    EXPECT_FALSE(Bit(2));
}

TEST_F(DictionarySharing, DuplicateIdInItsDirectionIsDroppedAndFreesItsNumber) {
    const TBytes duplicate = TrayTestImage(5, langTatar);
    folder.Write(L"a.dict", TrayTestImage(5, langTatar));
    folder.Write(L"b.dict", duplicate);
    folder.Write(L"c.dict", TrayTestImage(6, langTatar));
    folder.Write(L"d.dict", TrayTestImage(5, langRussian));

    EXPECT_EQ(ShareDictionaryFile(L"a.dict"), TShareResult::srShared);
    EXPECT_EQ(ShareDictionaryFile(L"b.dict"), TShareResult::srDuplicate);
    EXPECT_TRUE(LoadDictionaryFile(L"b.dict")); // a duplicate still counts
    EXPECT_FALSE(Bit(1));
    EXPECT_EQ(MappedSlot(1), L"(none)");
    EXPECT_EQ(ShareDictionaryFile(L"c.dict"), TShareResult::srShared);
    EXPECT_EQ(ShareDictionaryFile(L"d.dict"), TShareResult::srShared); // same id, other direction

    EXPECT_EQ(MappedSlot(0), L"a.dict");
    EXPECT_EQ(MappedSlot(1), L"c.dict");
    EXPECT_EQ(MappedSlot(2), L"d.dict");
    EXPECT_EQ(LangGroups[langTatar].size(), 2u);
    EXPECT_EQ(LangGroups[langRussian].size(), 1u);
    EXPECT_TRUE(IsDictionaryShared(5, langTatar));
    EXPECT_TRUE(IsDictionaryShared(5, langRussian));
    EXPECT_FALSE(IsDictionaryShared(6, langRussian));
    EXPECT_EQ(folder.Read(L"b.dict"), duplicate); // closed again, and not written
}

TEST_F(DictionarySharing, LockedFileIsSkippedAndKeepsItsNumber) {
    folder.Write(L"locked.dict", TrayTestImage(1, langTatar));
    folder.Write(L"free.dict", TrayTestImage(2, langTatar));
    const TOwnedFile lock = OpenFileExclusive(folder.File(L"locked.dict"), false);
    ASSERT_TRUE(lock);
    EXPECT_FALSE(OpenFileExclusive(L"locked.dict", false)); // no sharing

    EXPECT_EQ(ShareDictionaryFile(L"locked.dict"), TShareResult::srFailed);
    EXPECT_TRUE(Bit(0));
    EXPECT_EQ(ShareDictionaryFile(L"free.dict"), TShareResult::srShared);
    EXPECT_EQ(MappedSlot(1), L"free.dict");
}

TEST_F(DictionarySharing, UnusableImagesAreClosedUnwrittenAndSkipped) {
    TBytes badDirection = TrayTestImage(1, langTatar);
    badDirection[DictLayout::DirectionOffset] = 2;
    TBytes poolOutside = TrayTestImage(1, langTatar);
    poolOutside[DictLayout::PoolOffsetOffset + 3] = 0x40;
    const TBytes good = TrayTestImage(1, langTatar);
    TBytes garbage(3000);
    for (size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    }
    const struct {
        const char* What;
        TBytes Image;
    } cases[] = {
        {"garbage", garbage},
        {"empty file", TBytes()},
        {"half a header", TBytes(good.begin(), good.begin() + 400)},
        {"cut short", TBytes(good.begin(), good.end() - 4)},
        {"direction 2", badDirection},
        {"pool past the end", poolOutside},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        folder.Write(L"bad.dict", c.Image);
        EXPECT_EQ(ShareDictionaryFile(L"bad.dict"), TShareResult::srFailed);
        EXPECT_TRUE(Bit(number++)); // the number stays taken
        EXPECT_TRUE(LangGroups[0].empty() && LangGroups[1].empty());
        EXPECT_EQ(folder.Read(L"bad.dict"), c.Image);
        EXPECT_TRUE(OpenFileExclusive(L"bad.dict", true)); // closed again
    }
}

TEST_F(DictionarySharing, PathSlotHoldsAtMost255UnitsAndAZero) {
    // Long names only come as paths; the \\?\ form takes them past MAX_PATH.
    const std::wstring longFolder = L"\\\\?\\" + folder.Path() + std::wstring(150, L'd');
    ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr));
    const struct {
        const char* What;
        std::wstring Name;
    } cases[] = {
        {"short name", L"s.dict"},
        {"255 units", longFolder + L"\\" + std::wstring(255 - longFolder.size() - 6, L'n') + L".dict"},
        {"300 units", longFolder + L"\\" + std::wstring(300 - longFolder.size() - 6, L'n') + L".dict"},
    };
    int32_t id = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TBytes image = TrayTestImage(id++, langTatar);
        auto* slot = reinterpret_cast<wchar_t*>(image.data() + DictLayout::PathOffset);
        std::fill(slot, slot + DictLayout::PathUnits, L'Z'); // what was there before goes
        const HANDLE file = CreateFileW(c.Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr);
        CloseHandle(file);

        ASSERT_EQ(ShareDictionaryFile(c.Name), TShareResult::srShared);
        const void* view = LangGroups[0].back().View;
        const size_t kept = std::min<size_t>(c.Name.size(), 255);
        EXPECT_EQ(Slot(view), c.Name.substr(0, kept));
        EXPECT_TRUE(SlotZeroAfter(view, kept));
        EXPECT_STREQ(DictImageTitle(view), L"Сынау"); // the field after the slot is whole
    }
    UnshareAllDictionaries();
    for (const auto& c : cases) {
        DeleteFileW(c.Name.c_str());
    }
    RemoveDirectoryW(longFolder.c_str());
}

TEST_F(DictionarySharing, WithEveryNumberTakenNothingIsSharedAndNoByteBeyondTheSetChanges) {
    folder.Write(L"one.dict", TrayTestImage(1, langTatar));
    std::memset(&Block(), 0xA5, sizeof(TGlobalCustoms));
    for (int number = 0; number < 256; ++number) {
        SetSharedDict(Block(), number, true);
    }
    const TGlobalCustoms before = Block();

    EXPECT_EQ(ShareDictionaryFile(L"one.dict"), TShareResult::srFailed);
    EXPECT_EQ(std::memcmp(&before, &Block(), sizeof before), 0);
    EXPECT_TRUE(LangGroups[0].empty());
    EXPECT_EQ(MappedSlot(256), L"(none)");
    EXPECT_TRUE(OpenFileExclusive(L"one.dict", true));
}

TEST_F(DictionarySharing, ANameHeldByAnotherMappingIsPassedOverUnreadAndLeftUnmarked) {
    // A leftover of that name is not this file; its bytes are not looked at.
    const HANDLE stranger = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                               (std::string(DictObjectPrefix) + "0").c_str());
    ASSERT_NE(stranger, nullptr);
    auto* strangerBytes = static_cast<unsigned char*>(MapViewOfFile(stranger, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(strangerBytes, nullptr);
    std::memset(strangerBytes, 0x5A, 4096);
    folder.Write(L"one.dict", TrayTestImage(1, langTatar));
    folder.Write(L"two.dict", TrayTestImage(2, langTatar));

    EXPECT_EQ(ShareDictionaryFile(L"one.dict"), TShareResult::srShared);
    EXPECT_EQ(ShareDictionaryFile(L"two.dict"), TShareResult::srShared);
    EXPECT_FALSE(Bit(0));
    EXPECT_EQ(MappedSlot(1), L"one.dict");
    EXPECT_EQ(MappedSlot(2), L"two.dict");
    EXPECT_EQ(TBytes(strangerBytes, strangerBytes + 4096), TBytes(4096, 0x5A));

    // With the numbers after it all taken, nothing is marked for the file.
    std::memset(Block().SharedDicts, 0xFF, sizeof Block().SharedDicts);
    SetSharedDict(Block(), 0, false);
    folder.Write(L"three.dict", TrayTestImage(3, langTatar));
    EXPECT_EQ(ShareDictionaryFile(L"three.dict"), TShareResult::srFailed);
    EXPECT_FALSE(Bit(0));
    UnmapViewOfFile(strangerBytes);
    CloseHandle(stranger);
}

TEST_F(DictionarySharing, AFileMappedByARunningMainProgramIsSharedOnlyWhileThatProgramRuns) {
    // What a main program that outlived its tray program holds: the mapping, and through it the file.
    folder.Write(L"a.dict", TrayTestImage(1, langTatar));
    const HANDLE file = CreateFileW(folder.File(L"a.dict").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const HANDLE held =
        CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, (std::string(DictObjectPrefix) + "0").c_str());
    CloseHandle(file);
    ASSERT_NE(held, nullptr);
    ASSERT_FALSE(OpenFileExclusive(L"a.dict", true)) << "the system lets a mapped file be opened alone";

    EXPECT_EQ(ShareDictionaryFile(L"a.dict"), TShareResult::srFailed);
    std::memset(Block().SharedDicts, 0, sizeof Block().SharedDicts);
    const TMainWindowStandIn main;
    Block().RunState = rsRunning;
    Block().MainMesgWindow = HandleToLong(main.Window());
    EXPECT_EQ(ShareDictionaryFile(L"a.dict"), TShareResult::srShared);
    EXPECT_FALSE(Bit(0));
    EXPECT_EQ(MappedSlot(1), L"a.dict");
    UnshareAllDictionaries();
    CloseHandle(held);
}

TEST_F(DictionarySharing, HeadwordSetsAreBuiltAfterwardsOneDictionaryAtATime) {
    folder.Write(L"t.dict", TrayTestImage(1, langTatar));
    folder.Write(L"r.dict", TrayTestImage(2, langRussian));
    ASSERT_EQ(LoadAllDictionaries(), 2);
    TDictHandle& tatar = LangGroups[langTatar][0];
    TDictHandle& russian = LangGroups[langRussian][0];
    EXPECT_FALSE(tatar.Headwords);
    EXPECT_EQ(DictFindWord(L"китап", 5, tatar), 0); // found without them

    EXPECT_TRUE(CompleteNextDictionary());
    EXPECT_TRUE(tatar.Headwords);
    EXPECT_FALSE(russian.Headwords);
    EXPECT_TRUE(CompleteNextDictionary());
    ASSERT_TRUE(russian.Headwords);
    EXPECT_TRUE(russian.Headwords->MayHold(L"книга", 5));
    EXPECT_FALSE(CompleteNextDictionary());
    EXPECT_EQ(DictFindWord(L"книга", 5, russian), 0);
}

TEST_F(DictionarySharing, LoadAllCountsWhatWasSharedOrDropped) {
    EXPECT_EQ(LoadAllDictionaries(), 0);
    folder.Write(L"bad.dict", TBytes(100, 1));
    EXPECT_EQ(LoadAllDictionaries(), 0);
    folder.Write(L"a.dict", TrayTestImage(1, langTatar));
    folder.Write(L"b.dict", TrayTestImage(1, langTatar));
    std::memset(Block().SharedDicts, 0, sizeof Block().SharedDicts);
    EXPECT_EQ(LoadAllDictionaries(), 2); // one shared, one dropped as a duplicate
    EXPECT_EQ(LangGroups[0].size(), 1u);
}
