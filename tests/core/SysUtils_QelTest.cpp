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

// This program is built into a folder whose path is longer than MAX_PATH (tests/core/CMakeLists.txt):
// the folder must come back whole, not cut at the first buffer's end.
TEST(FileNames, ProgramFolderHoldsTheRunningProgramBeyondMaxPath) {
    const std::wstring folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_GT(folder.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(folder.back(), L'\\');
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
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

namespace {

// The working folder for the life of the object; a folder that is some process's working folder
// cannot be removed.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH + 1, previous_);
        SetCurrentDirectoryW(folder.c_str());
    }
    ~WorkingFolder() { SetCurrentDirectoryW(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    wchar_t previous_[MAX_PATH + 1] = {};
};

} // namespace

TEST(FileStream, MissingFileRaisesOpenErrorNamingTheFullPath) {
    TempFolder temp;
    const WorkingFolder working(temp.Path());
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

// Names longer than MAX_PATH: with the \\?\\ prefix the files are made, opened and read; without it
// the open fails, and the error names the whole full path.
TEST(FileStream, NamesBeyondMaxPath) {
    TempFolder temp;
    std::wstring relative;
    while (temp.Path().size() + relative.size() <= MAX_PATH) {
        relative += std::wstring(40, L'ә') + L"\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + temp.File(relative)).c_str(), nullptr));
    }
    const std::wstring name = L"\\\\?\\" + temp.File(relative + L"x.bin");
    {
        TUFileStream out(name, fmCreate);
        out.WriteBuffer("abc", 3);
    }
    TFileHandle in = WideFileOpen(name, fmOpenRead | fmShareDenyNone);
    ASSERT_NE(in, InvalidFileHandle());
    char buffer[4] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(in, buffer, 3, &read, nullptr));
    EXPECT_STREQ(buffer, "abc");
    CloseHandle(in);

    const WorkingFolder working(temp.Path());
    try {
        TUFileStream stream(relative + L"missing.txt", fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"\"" + temp.File(relative + L"missing.txt") + L"\""), std::wstring::npos)
            << e.what();
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
