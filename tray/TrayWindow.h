#pragma once
// The tray program's hidden tray window: its class, the tray icon with its menu, and the hot key
// Ctrl+F12. Every message that reaches the tray program from outside arrives here: the capture's
// reports, the icon's mouse events, the popups' close notices and the main program's request to
// end both programs (WM_DESTROY).

#include <windows.h>

#include "display/win32/OwnedHandle.h"

extern const wchar_t* const TrayWindowClass; // "PopupWindow_Jyx"

constexpr int kTrayHotKey = 1; // Ctrl+F12

// Posted to the tray window to build the next dictionary's headword fingerprints after the start,
// one dictionary per message, so that the window answers in between.
constexpr UINT WM_TRAY_COMPLETE_DICTS = WM_APP + 1;

// The menu's command ids.
enum TTrayCommand : UINT { tcExit = 0, tcScan = 1, tcMainWindow = 4, tcCancel = 5 };

// Registers the tray window's class and the popup's (raises EOSError when it cannot).
void TrayWindowInit();

// The hidden tray window with its hot key and tray icon; failures of those two are ignored, as
// the program runs on without them. Raises EOSError when the window cannot be created. The window
// then completes the shared dictionaries in its message loop.
HWND CreateTrayWindow();

// Removes the icon the window added.
void RemoveTrayIcon(HWND window);

// The icon's menu, captions in the interface language of the shared block, scanning checked
// while it is on.
TOwnedMenu CreateTrayMenu();
// Shows the menu at the cursor, its owner brought to the front first so that a click elsewhere
// closes it; the chosen item comes to the owner as WM_COMMAND.
void ShowTrayMenu(HWND owner);
