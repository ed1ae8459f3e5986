#include "core/SysUtils_Qel.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/UFileStream.h"
#include "core/win32/SystemText.h"
#include "tests/support/TempFolder.h"

TEST(FileNames, ExtractFileNameKeepsOrDropsTheExtension) {
    EXPECT_EQ(WideExtractFileName(L"C:\\a\\b.txt", true), L"b.txt");
    EXPECT_EQ(WideExtractFileName(L"C:\\a\\b.txt", false), L"b");
    EXPECT_EQ(WideExtractFileName(L"b.tar.gz", false), L"b.tar");
    EXPECT_EQ(WideExtractFileName(L"C:\\a\\.ext", false), L"");
    EXPECT_EQ(WideExtractFileName(L"C:\\a\\", true), L"a\\");
    EXPECT_EQ(WideExtractFileName(L"C:", true), L"C:");
    EXPECT_EQ(WideExtractFileName(L"", true), L"");
    EXPECT_EQ(WideExtractFileName(L"\\", true), L"\\");
}

TEST(FileNames, ExtractFilePathWithAndWithoutBackslash) {
    EXPECT_EQ(WideExtractFilePath(L"C:\\a\\b.txt", false), L"C:\\a");
    EXPECT_EQ(WideExtractFilePath(L"C:\\a\\b.txt", true), L"C:\\a\\");
    EXPECT_EQ(WideExtractFilePath(L"b.txt", true), L"");
    EXPECT_EQ(WideExtractFilePath(L"\\b.txt", true), L"");
    EXPECT_EQ(WideExtractFilePath(L"", true), L"");
}

TEST(FileNames, AdjustLineBreaksTurnsLoneLineFeedsIntoPairs) {
    EXPECT_EQ(WideAdjustLineBreaks(L"a\nb"), L"a\r\nb");
    EXPECT_EQ(WideAdjustLineBreaks(L"a\r\nb"), L"a\r\nb");
    EXPECT_EQ(WideAdjustLineBreaks(L"a\rb"), L"a\rb");
    EXPECT_EQ(WideAdjustLineBreaks(L"\n"), L"\r\n");
    EXPECT_EQ(WideAdjustLineBreaks(L"\r"), L"\r");
    EXPECT_EQ(WideAdjustLineBreaks(L"\n\r\n\n"), L"\r\n\r\n\r\n");
    EXPECT_EQ(WideAdjustLineBreaks(L""), L"");
}

TEST(FileNames, ProgramFolderHoldsTheRunningProgram) {
    const std::wstring folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    wchar_t path[MAX_PATH + 1];
    GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    EXPECT_EQ(folder + WideExtractFileName(path, true), path);
}

TEST(FileOpen, InvalidModesFailWithoutCallingTheSystem) {
    TempFolder temp;
    temp.Write(L"x.txt", {1, 2});
    for (uint16_t mode : {0x3, 0x50, 0xF0, 0x1F2}) {
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(WideFileOpen(temp.File(L"x.txt"), mode), InvalidFileHandle()) << mode;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << mode;
    }
}

TEST(FileOpen, SharingModesGrantWhatTheyName) {
    TempFolder temp;
    temp.Write(L"x.txt", {1, 2});
    const std::wstring name = temp.File(L"x.txt");

    // 0x42: read and write, sharing read and write.
    TFileHandle both = WideFileOpen(name, 0x42);
    ASSERT_NE(both, InvalidFileHandle());
    TFileHandle second = WideFileOpen(name, 0x42);
    EXPECT_NE(second, InvalidFileHandle());
    CloseHandle(second);
    CloseHandle(both);

    // 0x100: bit 8 ignored, read access, no sharing: a second reader is refused.
    TFileHandle exclusive = WideFileOpen(name, 0x100);
    ASSERT_NE(exclusive, InvalidFileHandle());
    EXPECT_EQ(WideFileOpen(name, fmOpenRead | fmShareDenyNone), InvalidFileHandle());
    CloseHandle(exclusive);

    // 0x20: others may read but not write.
    TFileHandle denyWrite = WideFileOpen(name, fmOpenRead | fmShareDenyWrite);
    ASSERT_NE(denyWrite, InvalidFileHandle());
    TFileHandle reader = WideFileOpen(name, fmOpenRead | fmShareDenyNone);
    EXPECT_NE(reader, InvalidFileHandle());
    EXPECT_EQ(WideFileOpen(name, fmOpenWrite | fmShareDenyNone), InvalidFileHandle());
    CloseHandle(reader);
    CloseHandle(denyWrite);

    // 0x30: others may write but not read.
    TFileHandle denyRead = WideFileOpen(name, fmOpenWrite | fmShareDenyRead);
    ASSERT_NE(denyRead, InvalidFileHandle());
    EXPECT_EQ(WideFileOpen(name, fmOpenRead | fmShareDenyNone), InvalidFileHandle());
    CloseHandle(denyRead);
}

TEST(FileOpen, CreateReplacesAnExistingFileWithAnEmptyOne) {
    TempFolder temp;
    temp.Write(L"x.txt", {1, 2, 3});
    TFileHandle h = WideFileCreate(temp.File(L"x.txt"), 0777);
    ASSERT_NE(h, InvalidFileHandle());
    CloseHandle(h);
    EXPECT_TRUE(temp.Read(L"x.txt").empty());
}

TEST(FileStream, MissingFileRaisesOpenErrorNamingTheFullPath) {
    TempFolder temp;
    SetCurrentDirectoryW(temp.Path().c_str());
    try {
        TUFileStream stream(L"missing.txt", fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"Cannot open file \"" + temp.File(L"missing.txt") + L"\". "), std::wstring::npos)
            << e.what();
    }
}

TEST(FileStream, CreateInMissingFolderRaisesCreateError) {
    TempFolder temp;
    EXPECT_THROW(TUFileStream(temp.File(L"no\\such\\x.txt"), fmCreate), EFCreateError);
}

TEST(FileStream, InvalidModeRaisesOpenErrorSayingTheParameterIsWrong) {
    TempFolder temp;
    temp.Write(L"x.txt", {1});
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        TUFileStream stream(temp.File(L"x.txt"), 0x3);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(SystemErrorMessage(ERROR_INVALID_PARAMETER)), std::wstring::npos) << e.what();
        EXPECT_EQ(e.Message().find(SystemErrorMessage(ERROR_FILE_NOT_FOUND)), std::wstring::npos) << e.what();
    }
}

TEST(FileStream, ReadsWritesAndSeeksThroughItsHandle) {
    TempFolder temp;
    {
        TUFileStream out(temp.File(L"Тел.bin"), fmCreate);
        out.WriteBuffer("abcdef", 6);
        EXPECT_EQ(out.Size(), 6);
    }
    TUFileStream in(temp.File(L"Тел.bin"), fmOpenRead);
    in.SetPosition(2);
    char buffer[4] = {};
    in.ReadBuffer(buffer, 3);
    EXPECT_STREQ(buffer, "cde");
    EXPECT_EQ(in.Position(), 5);
    EXPECT_THROW(in.ReadBuffer(buffer, 2), EReadError);
}
