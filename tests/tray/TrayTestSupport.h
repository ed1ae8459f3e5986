#pragma once
// The tray program's units inside a test: the process's end and the message boxes recorded
// instead of done, a temporary working folder, and a started tray (block, dictionaries, settings,
// tray window) for the life of an object.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Codes.h"
#include "core/GlobalCustoms.h"
#include "tests/support/TempFolder.h"

struct TTrayRecord {
    int Ends = 0;
    std::vector<std::pair<std::wstring, std::wstring>> Messages; // text, caption
};
TTrayRecord& TrayRecord();

// Puts the recorders in and registers the tray class, once per process.
void PrepareTrayTests();

// A temporary folder as the working folder, for the life of the object.
class TWorkingFolder : public TempFolder {
public:
    TWorkingFolder();
    ~TWorkingFolder();

private:
    std::wstring previous_;
};

// A small valid dictionary image.
std::vector<unsigned char> TrayTestImage(int32_t id, TLanguage direction);

// A dictionary file in the working folder and the tray brought up over it; destroying the tray
// window at the end runs the exit (recorded, not ending the process) and drops the dictionaries.
class TStartedTray {
public:
    explicit TStartedTray(const TWorkingFolder& folder);
    ~TStartedTray();
    TStartedTray(const TStartedTray&) = delete;
    TStartedTray& operator=(const TStartedTray&) = delete;

    bool Started() const { return started_; }
    HWND Window() const;

private:
    bool started_ = false;
};

// A message-only window that counts the main program's messages (1528 to 1533); on 1528 it can
// end the tray program once more, as a main program that ends both does.
class TMainWindowStandIn {
public:
    TMainWindowStandIn();
    ~TMainWindowStandIn();
    HWND Window() const { return window_; }
    int Received(UINT message) const; // of the main program's messages
    int Quits() const { return Received(WM_MAIN_QUIT); }
    int Resyncs() const { return Received(WM_MAIN_RESYNC); }
    void DestroyTrayOnQuit(HWND tray);

private:
    HWND window_ = nullptr;
};

bool HotKeyTaken();
// Whether the window's tray icon is there (asks to change its tip).
bool TrayIconPresent(HWND window);
