// Start of the tray program: from the process's creation to its tray window in the shared block,
// with ten dictionaries of 100,000 headwords in the working folder, beside the start of a program
// that does nothing (Wine's own process start); and the sharing of those dictionaries alone.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "bench/SyntheticWords.h"
#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"
#include "tools/DictWriter.h"
#include "tray/DictionarySharing.h"
#include "tray/GlobalCustomsOwner.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDictionaries = 10;
constexpr int kEntries = 100000;
constexpr int kRounds = 5;
constexpr DWORD kLimitMs = 30000;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (const char c : unixPath) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    }
    return path;
}

void WriteFileBytes(const std::wstring& name, const std::vector<unsigned char>& bytes) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring MakeFolder() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base) + L"qvbench_tray_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring bin = WinePath(QV_BIN_DIR) + L"\\";
    for (const wchar_t* name : {L"Tirel.exe", L"TextOutSpy.dll", L"atailes.bin", L"ntailes.bin", L"dtailes.bin",
                                L"vtailes.bin", L"recip_para.rtb", L"direct_para.rtb"}) {
        CopyFileW((bin + name).c_str(), (folder + name).c_str(), FALSE);
    }
    std::mt19937 random(2026);
    for (int d = 0; d < kDictionaries; ++d) {
        const std::set<std::wstring> words = RandomTatarWords(kEntries, random);
        DictSource source = NounsSource(words, L"тәрҗемә");
        source.Title = L"bench " + std::to_wstring(d);
        source.Direction = d % 2 == 0 ? langTatar : langRussian;
        source.Id = d + 1;
        WriteFileBytes(folder + L"bench" + std::to_wstring(d) + L".dict", BuildDictImage(source));
    }
    return folder;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// Polls the named block until the field at byte 8 (the tray window) is set; gives it, or 0.
LONG WaitForBlockField(const char* name, HANDLE process) {
    const Clock::time_point start = Clock::now();
    while (MillisecondsSince(start) < kLimitMs && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name)) {
            const auto* block = static_cast<const volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
            const LONG value = block != nullptr ? block[2] : 0;
            UnmapViewOfFile(const_cast<LONG*>(block));
            CloseHandle(mapping);
            if (value != 0) {
                return value;
            }
        }
        Sleep(1);
    }
    return 0;
}

// Milliseconds from the process's creation to its ready block; negative when it never got there.
double TimeStart(const std::wstring& program, const std::wstring& folder, const char* blockName,
                 void (*end)(LONG field)) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return -1;
    }
    const LONG field = WaitForBlockField(blockName, process.hProcess);
    const double ms = field != 0 ? MillisecondsSince(start) : -1;
    end(field);
    if (WaitForSingleObject(process.hProcess, kLimitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ms;
}

double Best(const std::vector<double>& times) {
    double best = -1;
    for (const double t : times) {
        if (t >= 0 && (best < 0 || t < best)) {
            best = t;
        }
    }
    return best;
}

} // namespace

int main() {
    const std::wstring folder = MakeFolder();
    const std::wstring empty = WinePath(QV_BENCH_HELPERS) + L"\\tray_bench_empty.exe";
    const HANDLE quitEmpty = CreateEventA(nullptr, TRUE, FALSE, "QvBenchEmptyQuit");

    std::vector<double> emptyTimes, trayTimes, sharingTimes;
    for (int round = 0; round < kRounds; ++round) {
        ResetEvent(quitEmpty);
        emptyTimes.push_back(TimeStart(empty, folder, "QvBenchEmptyReady", [](LONG) {
            SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "QvBenchEmptyQuit"));
        }));
        // The tray program ends through its exit item (the box about the missing main program,
        // if already up, handles it in its own loop).
        trayTimes.push_back(TimeStart(folder + L"Tirel.exe", folder, GlobalCustomsName, [](LONG tray) {
            PostMessageW(static_cast<HWND>(LongToHandle(tray)), WM_COMMAND, 0, 0);
        }));
    }

    SetCurrentDirectoryW(folder.c_str());
    for (int round = 0; round < kRounds; ++round) {
        CreateGlobalCustoms();
        const Clock::time_point start = Clock::now();
        const int shared = LoadAllDictionaries();
        sharingTimes.push_back(shared == kDictionaries ? MillisecondsSince(start) : -1);
        UnshareAllDictionaries();
        ReleaseGlobalCustoms();
    }
    SetCurrentDirectoryW(L"..");
    RemoveFolder(folder);

    const double tray = Best(trayTimes), wine = Best(emptyTimes);
    std::printf("dictionaries: %d of %d headwords\n", kDictionaries, kEntries);
    std::printf("empty program start ms: %.1f\n", wine);
    std::printf("tray start ms: %.1f\n", tray);
    std::printf("tray start beyond an empty program ms: %.1f\n", tray - wine);
    std::printf("dictionary sharing ms: %.1f\n", Best(sharingTimes));
    return tray < 0 || wine < 0 ? 1 : 0;
}
