#pragma once
// The tray program as another process: a working folder with copies of the program, its tables
// and chosen dictionaries; the started process; the shared block as seen from outside; message
// boxes found by caption. Waits poll until a condition holds or a generous limit passes.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/GlobalCustoms.h"
#include "tests/support/TempFolder.h"

// Polls every 10 ms; false when the limit passed first.
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = 20000);

// A fresh folder holding Tirel.exe, the capture library and the suffix and paradigm tables.
class TProgramFolder : public TempFolder {
public:
    TProgramFolder();
    ~TProgramFolder() { StopMainProgram(); }
    void AddMainProgram() const; // the test's main program, as Pemdrove.exe
    void AddSampleDictionaries() const;
    void AddBuiltFile(const std::wstring& name) const;
    // The main program's log lines, oldest first.
    std::vector<std::string> MainLog() const;
    int MainLogCount(const std::string& line) const;
    // Ends a main program of this folder that a failed test left running.
    void StopMainProgram() const;
};

class TTirelProcess {
public:
    explicit TTirelProcess(const TempFolder& folder);
    ~TTirelProcess();
    TTirelProcess(const TTirelProcess&) = delete;
    TTirelProcess& operator=(const TTirelProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    bool Running() const;
    bool WaitForExit(DWORD limitMs = 20000) const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION process_{};
};

// A view of the named shared block, once it exists.
class TBlockView {
public:
    TBlockView() = default;
    ~TBlockView() { Close(); }
    TBlockView(const TBlockView&) = delete;
    TBlockView& operator=(const TBlockView&) = delete;

    bool Open();
    bool WaitOpen();
    void Close();
    TGlobalCustoms* operator->() const { return block_; }
    TGlobalCustoms& operator*() const { return *block_; }
    HWND TrayWindow() const { return static_cast<HWND>(LongToHandle(block_->TrayWindow)); }
    HWND MainWindow() const { return static_cast<HWND>(LongToHandle(block_->MainMesgWindow)); }

private:
    HANDLE mapping_ = nullptr;
    TGlobalCustoms* block_ = nullptr;
};

bool MappingExists(const std::string& name);
bool DictMappingExists(int number);
// The path slot of the image shared under the number; empty when there is none.
std::wstring SharedPathSlot(int number);

// A top-level window of the process with that class and caption; null when none.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption);
// The text of a message box.
std::wstring MessageBoxText(HWND box);

// Waits until the tray window has handled everything posted to it so far: posts the scanning
// item twice behind it and waits for both switches (posted messages are handled in order). It
// clears Shift-only scanning on the way.
bool Settle(const TBlockView& block);

// Ctrl+F12 as the user types it, to the window in front.
void PressCtrlF12();
// Whether the hot key Ctrl+F12 is free: registers it for a moment.
bool HotKeyFree();
// Whether the tray icon of the window is there.
bool TrayIconPresent(HWND window);
