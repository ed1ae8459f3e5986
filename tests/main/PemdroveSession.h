#pragma once
// The main program as another process, with this test process in the tray program's role: it
// holds the named settings block, shares dictionary images under their names, owns a window that
// counts the WM_DESTROY it receives, and starts Pemdrove.exe in a folder of its own. Waits pump
// this thread's messages, so that the main program's sent messages reach that window.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/GlobalCustoms.h"
#include "tests/support/TempFolder.h"

// Polls every 10 ms, dispatching this thread's messages; false when the limit passed first.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = 20000);

class TPemdroveSession {
public:
    // A folder with Pemdrove.exe, its tables, help pages and about texts. No block yet.
    TPemdroveSession();
    ~TPemdroveSession();
    TPemdroveSession(const TPemdroveSession&) = delete;
    TPemdroveSession& operator=(const TPemdroveSession&) = delete;

    // The named block with the defaults, the run state and the tray-role window.
    void CreateBlock(uint8_t runState);
    TGlobalCustoms* Block() const { return block_; }
    // Shares an image under the next number and marks it in the block.
    void Share(const std::vector<unsigned char>& image);

    bool Start();
    // The tray program itself with the sample dictionaries, in place of this test's role; it
    // starts the main program. Ended with the session.
    bool StartTray();
    bool TrayRunning() const;
    bool Running() const;
    bool WaitForExit(DWORD limitMs = 20000) const;
    DWORD ExitCode() const;
    DWORD ProcessId() const { return process_.dwProcessId; }

    // The main window once it is on the screen; null when it does not come.
    HWND WaitForMainWindow();
    // A visible top-level window of the process with that caption; null when none.
    HWND FindWindowOf(const wchar_t* caption) const;
    HWND MesgWindow() const { return static_cast<HWND>(LongToHandle(block_->MainMesgWindow)); }

    // WM_DESTROY messages the tray-role window received.
    int TrayDestroys() const;

private:
    TempFolder folder_;
    HANDLE blockMapping_ = nullptr;
    TGlobalCustoms* block_ = nullptr;
    std::vector<HANDLE> dictMappings_;
    HWND trayWindow_ = nullptr;
    PROCESS_INFORMATION process_{};
    PROCESS_INFORMATION tray_{};
};

// The main window's controls, found from outside by their ids and places.
struct TMainWindowView {
    explicit TMainWindowView(HWND main);
    std::wstring Row(int k) const;
    std::wstring Word() const;
    // Lines end in CR alone, as in the control.
    std::wstring Article() const;
    // The character format of the article at a position, read through the other process's memory.
    bool ArticleFormat(DWORD processId, int position, DWORD& effects, COLORREF& colour) const;
    void TypeChar(wchar_t c) const;
    // A key to the list's keyboard edit.
    void ListKey(UINT virtualKey) const;
    void Command(int id) const;

    HWND Main;
    HWND Edit1 = nullptr;
    HWND KeyEdit = nullptr;
    HWND Browser = nullptr;
    HWND Close = nullptr;
};

std::wstring WindowTextOf(HWND window);
