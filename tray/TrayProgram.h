#pragma once
// The tray program's body: one instance at a time, the ordered start of the shared block, the
// dictionaries, the settings, the tray window and the capture, the start of the main program,
// the message loop, and the one exit every way of ending goes through.

#include <windows.h>

// The whole program: gives the exit code when it ends without TrayExit.
int TrayMain();

// Brings up the shared block, the dictionaries, the settings, the tray window and the capture.
// False when no dictionary could be shared; the user has been told and the block released.
bool TrayStartup();

// Runs until WM_QUIT. A key-down message is preceded by a WM_CHAR with its character (0 when
// the key makes none), sent to the same window; TranslateMessage is never called.
void TrayMessageLoop();

// The character of a key in the current keyboard state; false when that state cannot be read.
bool TranslateKeyToChar(UINT key, UINT scanCode, wchar_t& character);

// Tells a running main program to quit and waits for it, removes the icon and the hot key,
// writes ksv.dat, releases the block and ends the process with the units finished. Runs once:
// a call that arrives while the exit is under way (while it waits for the main program) returns
// at once.
void TrayExit();

// The tray window, once created.
HWND TrayWindowHandle();

// The two start failures' messages.
extern const wchar_t* const NoDictionariesText;    // "Не найдены файлы словарей"
extern const wchar_t* const NoDictionariesCaption; // "ТИРЕЛ: Ошибка загрузки"
extern const wchar_t* const NoMainProgramText;     // "Файл Pemdrove.exe не найден"
extern const wchar_t* const NoMainProgramCaption;  // "Ошибка загрузки"

// Where the messages go (an OK box) and how the process ends (ExitProcess); tests put their own
// in. Each setter gives the previous one; nullptr puts the default back.
using TTrayMessageBox = void (*)(const wchar_t* text, const wchar_t* caption);
TTrayMessageBox SetTrayMessageBox(TTrayMessageBox show);
using TTrayProcessEnd = void (*)(UINT exitCode);
TTrayProcessEnd SetTrayProcessEnd(TTrayProcessEnd end);
