#pragma once
// Both programs as the user runs them: a folder with the built Tirel, Pemdrove, the capture
// library and the sample data; Tirel started there, which starts Pemdrove; the main program's
// process and windows found from outside through the shared block.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "tests/tray/TirelSession.h"

class TSystemFolder : public TProgramFolder {
public:
    TSystemFolder();
};

class TSystemRun {
public:
    explicit TSystemRun(const TSystemFolder& folder);
    ~TSystemRun();
    TSystemRun(const TSystemRun&) = delete;
    TSystemRun& operator=(const TSystemRun&) = delete;

    // Starts Tirel and waits for run state 3 with Pemdrove's message and main windows.
    bool Start();
    // Waits for Pemdrove (again, after a restart) and takes its process.
    bool WaitForMain();
    // What was missing when Start or WaitForMain last gave up.
    const std::string& Why() const { return why_; }
    TTirelProcess& Tirel() { return *tirel_; }
    TBlockView& Block() { return block_; }
    HWND MainWindow() const { return main_; }
    HANDLE MainProcess() const { return mainProcess_; }
    bool MainRunning() const;
    bool WaitForMainExit(DWORD limitMs = 20000) const;
    // Kills the main program without its clean exit.
    void KillMain();

private:
    void ForgetMain();

    const TSystemFolder& folder_;
    std::unique_ptr<TTirelProcess> tirel_;
    TBlockView block_;
    HANDLE mainProcess_ = nullptr;
    HWND main_ = nullptr;
    std::string why_;
};

// The entry of the headword in a sample dictionary of the build, as the programs number it.
int32_t SampleEntry(const std::wstring& headword, const char* file = "tatrus.dict");
