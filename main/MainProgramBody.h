#pragma once
// The main program's body: the handshake with the tray program through the shared block, the
// hidden message window through which the tray program reaches it, the creation of its windows,
// the message loop and the end of the run.

#include <windows.h>

// The class of the message window, "QuorvaMainMesgHandler".
extern const wchar_t* const MainMesgClassName;

// The whole program; gives the exit code.
int MainProgramBody();

// Opens the block the tray program made and takes the launch it asked for: true when the block
// existed with run state 2, which is then 3, the message window made and its handle in the block.
// False (nothing touched, the mapping closed) otherwise.
bool MainStartup();
// The seven windows in their order; the main one last shown.
void CreateMainForms();
void FreeMainForms();
// Until WM_QUIT.
void MainMessageLoop();
// The message window gone and its handle cleared, then run state 1.
void MainEndOfRun();
// Ends the process at once with the units finished, without the end of the run.
[[noreturn]] void EndMainProcess();

// Registers the message window's class (a failure is ignored), and unregisters it.
void MainMesgInit();
void MainMesgDone();
// The message window of this run; null before the start and after the end.
HWND MainMesgWindow();

// The window procedure of the message window: the default answer, and 1528 ends the run, 1529
// shows the block's dictionary and entry, 1532 brings the main window back, 1533 (Ctrl+F12) and
// the end of the session end both programs as the Exit item does.
struct TMainMesgState {};
LRESULT MainMesgWndProc(TMainMesgState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
