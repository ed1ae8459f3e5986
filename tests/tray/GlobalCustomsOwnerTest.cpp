#include "tray/GlobalCustomsOwner.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/OpenDictionaries.h"
#include "tests/tray/TrayTestSupport.h"

namespace {

using TBytes = std::vector<unsigned char>;

TBytes RecordBytes(uint8_t ui, uint8_t scan, uint8_t shift, uint8_t source, uint8_t target, uint8_t mono,
                   int32_t cardLines, int32_t popupLines) {
    TBytes bytes = {ui, scan, shift, source, target, mono, 0xEE, 0xEE};
    for (const int32_t value : {cardLines, popupLines}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i)));
        }
    }
    return bytes;
}

TBytes Longer(TBytes bytes) {
    bytes.push_back(9);
    return bytes;
}

class GlobalCustomsOwner : public ::testing::Test {
protected:
    void SetUp() override { CreateGlobalCustoms(); }
    void TearDown() override { ReleaseGlobalCustoms(); }
    TGlobalCustoms& Block() { return *SharedCustoms(); }

    TWorkingFolder folder;
};

} // namespace

TEST(GlobalCustomsBlock, CreationZeroesABlockLeftByAnotherHolderAndReleaseForgetsIt) {
    const HANDLE other = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 72, GlobalCustomsName);
    auto* seen = static_cast<unsigned char*>(MapViewOfFile(other, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(seen, nullptr);
    std::memset(seen, 0xAB, 72);

    CreateGlobalCustoms();
    ASSERT_NE(SharedCustoms(), nullptr);
    EXPECT_EQ(TBytes(seen, seen + 72), TBytes(72, 0));
    SharedCustoms()->RunState = rsRunning;
    EXPECT_EQ(seen[0x1C], rsRunning); // one block, seen through both views
    ReleaseGlobalCustoms();
    EXPECT_EQ(SharedCustoms(), nullptr);

    UnmapViewOfFile(seen);
    CloseHandle(other);
}

TEST(GlobalCustomsBlock, ABlockLeftWithItsMainProgramRunningIsTakenOverWithThatProgramAndItsSettings) {
    TWorkingFolder folder;
    const TBytes fileSettings = RecordBytes(1, 1, 0, 0, 1, 0, 32, 32);
    const TMainWindowStandIn main;
    TOpenDictionaries dictionaries; // both directions: the direction stays as set
    dictionaries.Open(TrayTestImage(1, langTatar));
    dictionaries.Open(TrayTestImage(2, langRussian));
    const struct {
        const char* What;
        uint8_t RunState;
        bool LiveWindow;
        uint8_t UILanguage;
        bool TakenOver;
        bool SettingsKept;
    } cases[] = {
        {"running, valid settings", rsRunning, true, 0, true, true},
        {"running, settings no record would hold", rsRunning, true, 7, true, false},
        {"state 3 with its window gone", rsRunning, false, 0, false, false},
        {"a start asked for", rsLaunchRequested, true, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        folder.Write(SettingsFileName, fileSettings);
        const HANDLE other =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 72, GlobalCustomsName);
        auto* left = static_cast<TGlobalCustoms*>(MapViewOfFile(other, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        ASSERT_NE(left, nullptr);
        std::memset(left, 0xFF, sizeof *left);
        left->UILanguage = c.UILanguage;
        left->ScanEnabled = 9;
        left->ScanWithShift = 1;
        left->SourceLang = langRussian;
        left->TargetLang = langTatar;
        left->CardMono = 1;
        left->CardMaxLines = 5;
        left->PopupMaxLines = 6;
        left->RunState = c.RunState;
        left->MainMesgWindow = c.LiveWindow ? HandleToLong(main.Window()) : 0;

        CreateGlobalCustoms();
        if (!c.TakenOver) {
            EXPECT_EQ(TBytes(reinterpret_cast<unsigned char*>(left), reinterpret_cast<unsigned char*>(left + 1)),
                      TBytes(72, 0));
        } else {
            EXPECT_EQ(left->TrayWindow, 0);
            EXPECT_EQ(TBytes(left->SharedDicts, left->SharedDicts + 32), TBytes(32, 0));
            EXPECT_EQ(left->CurDict, -1); // until the start sets it
        }
        InitCustoms();
        EXPECT_EQ(left->RunState, c.TakenOver ? rsRunning : rsNotRunning);
        EXPECT_EQ(left->MainMesgWindow, c.TakenOver ? HandleToLong(main.Window()) : 0);
        EXPECT_EQ(left->CurDict, 0);
        if (c.SettingsKept) {
            EXPECT_EQ(left->UILanguage, c.UILanguage);
            EXPECT_EQ(left->ScanEnabled, 1); // made 0 or 1
            EXPECT_EQ(left->SourceLang, langRussian);
            EXPECT_EQ(left->CardMaxLines, 5);
            EXPECT_EQ(left->PopupMaxLines, 6);
        } else {
            EXPECT_EQ(left->UILanguage, fileSettings[0]);
            EXPECT_EQ(left->SourceLang, fileSettings[3]);
            EXPECT_EQ(left->CardMaxLines, 32);
        }
        EXPECT_EQ(folder.Read(SettingsFileName), fileSettings); // read or kept, never rewritten
        ReleaseGlobalCustoms();
        UnmapViewOfFile(left);
        CloseHandle(other);
    }
}

TEST_F(GlobalCustomsOwner, LoadTakesValidRecordsAndRefusesTheRest) {
    const struct {
        const char* What;
        TBytes File;
        bool Loaded;
    } cases[] = {
        {"all fields", RecordBytes(0, 1, 1, 1, 0, 1, 5, 7), true},
        {"lowest line counts", RecordBytes(1, 0, 0, 0, 1, 0, 1, 1), true},
        {"flags other than 0 and 1", RecordBytes(1, 2, 255, 0, 1, 9, 32, 32), true},
        {"longer file", Longer(RecordBytes(0, 0, 0, 1, 0, 0, 3, 4)), true},
        {"15 bytes", TBytes(15, 0), false},
        {"no file", TBytes(), false},
        {"empty", TBytes(), false},
        {"interface language 2", RecordBytes(2, 1, 0, 0, 1, 0, 32, 32), false},
        {"source language 2", RecordBytes(1, 1, 0, 2, 1, 0, 32, 32), false},
        {"target language 255", RecordBytes(1, 1, 0, 0, 255, 0, 32, 32), false},
        {"no card lines", RecordBytes(1, 1, 0, 0, 1, 0, 0, 32), false},
        {"negative popup lines", RecordBytes(1, 1, 0, 0, 1, 0, 32, -1), false},
        {"lowest int card lines", RecordBytes(1, 1, 0, 0, 1, 0, INT_MIN, 32), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (std::string(c.What) == "no file") {
            DeleteFileW(SettingsFileName);
        } else {
            folder.Write(SettingsFileName, c.File);
        }
        std::memset(&Block(), 0x5C, sizeof(TGlobalCustoms));
        const TGlobalCustoms before = Block();
        ASSERT_EQ(LoadCustoms(), c.Loaded);
        if (!c.Loaded) {
            EXPECT_EQ(std::memcmp(&before, &Block(), sizeof before), 0);
            continue;
        }
        const TBytes& f = c.File;
        EXPECT_EQ(Block().UILanguage, f[0]);
        EXPECT_EQ(Block().ScanEnabled, f[1] != 0);
        EXPECT_EQ(Block().ScanWithShift, f[2] != 0);
        EXPECT_EQ(Block().SourceLang, f[3]);
        EXPECT_EQ(Block().TargetLang, f[4]);
        EXPECT_EQ(Block().CardMono, f[5] != 0);
        EXPECT_EQ(std::memcmp(&Block().CardMaxLines, &f[8], 4), 0);
        EXPECT_EQ(std::memcmp(&Block().PopupMaxLines, &f[12], 4), 0);
        // Nothing else of the block is taken from the file.
        EXPECT_EQ(Block().ScanSuppressed, 0x5C);
        EXPECT_EQ(Block().RunState, 0x5C);
        EXPECT_EQ(Block().SharedDicts[0], 0x5C);
    }
}

TEST_F(GlobalCustomsOwner, FixDirectionSwapsOnlyWhenTheSourceHasNoDictionaries) {
    // A source with dictionaries stays, whatever the target; else the pair is swapped (a target
    // equal to the source becomes the other language).
    const struct {
        uint8_t Source, Target;
        bool Tatar, Russian; // dictionaries of each direction
        uint8_t WantSource, WantTarget;
    } cases[] = {
        {0, 1, true, false, 0, 1}, {0, 1, false, true, 1, 0}, {1, 0, true, false, 0, 1}, {1, 0, false, true, 1, 0},
        {0, 1, true, true, 0, 1},  {1, 0, true, true, 1, 0},  {1, 1, true, false, 0, 1}, {0, 0, true, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Source) << int(c.Target) << c.Tatar << c.Russian);
        TOpenDictionaries dictionaries;
        if (c.Tatar) {
            dictionaries.Open(TrayTestImage(1, langTatar));
        }
        if (c.Russian) {
            dictionaries.Open(TrayTestImage(2, langRussian));
        }
        Block().SourceLang = c.Source;
        Block().TargetLang = c.Target;
        FixDirection();
        EXPECT_EQ(Block().SourceLang, c.WantSource);
        EXPECT_EQ(Block().TargetLang, c.WantTarget);
    }
}

TEST_F(GlobalCustomsOwner, ASaveStoppedBeforeTheReplaceLeavesTheOldRecordAndTheNextSaveTheNew) {
    const TBytes old = RecordBytes(0, 1, 0, 0, 1, 0, 5, 7);
    folder.Write(SettingsFileName, old);
    TSettingsRecord record{};
    record.UILanguage = 1;
    record.CardMaxLines = 9;
    record.PopupMaxLines = 9;

    // As a kill or a power loss would leave it: the new record beside the old one.
    WriteSettingsTempFile(record);
    EXPECT_EQ(folder.Read(SettingsFileName), old);
    ASSERT_TRUE(LoadCustoms());
    EXPECT_EQ(Block().CardMaxLines, 5);

    // A half-written temporary file of an earlier save is written over.
    folder.Write(SettingsTempFileName, TBytes(3, 0xEE));
    Block().CardMaxLines = 12;
    SaveCustoms();
    const TBytes saved = folder.Read(SettingsFileName);
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[8], 12);
    EXPECT_EQ(GetFileAttributesW(SettingsTempFileName), INVALID_FILE_ATTRIBUTES);
}
