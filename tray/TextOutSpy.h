#pragma once
// The screen-text capture: the binding of TextOutSpy.dll, its hook block as the tray program uses
// it, and a report turned into the word under the cursor (UTF-8 to UTF-16, lower case, the
// letters around the cursor, legacy font letters made Tatar), which then goes to a popup unless
// it is the word shown last.

#include <windows.h>

#include <string>
#include <string_view>

#include "capture/TextOutSpyBlock.h"

// Switches the capture on (ActivateTextOutSpying(1), bound by import), opens its hook block and
// writes the companion module's name into it. Gives the block, or nullptr when it cannot be
// opened: reports are then ignored.
void* StartTextCapture();

// The hook block with the whole layout mapped; nullptr when it cannot be opened or is too small.
TTextOutSpyBlock* OpenHookBlock();
// Unmaps what OpenHookBlock mapped; the program itself keeps the block to its end.
void CloseHookBlock();
// The hook block the handling of WM_SPY_TEXT reads; tests put their own in.
TTextOutSpyBlock* HookBlock();
void SetHookBlock(TTextOutSpyBlock* block);

// How the capture is switched on; tests put in their own so that no watcher runs in them. Gives
// the previous one; nullptr puts the library's export back.
TActivateTextOutSpying SetCaptureActivation(TActivateTextOutSpying activate);

// The folder of the program's file with "TextOutHook.DLL", cut to the field with its zero.
void WriteCompanionFileName(TTextOutSpyBlock& block, std::string_view programFile);

// The buffer's bytes up to the first zero (or its size) as UTF-8, at most 254 UTF-16 units; a
// malformed sequence ends the text (the units before it stay).
std::wstring CaptureBufferToWide(const char* buffer, size_t size);

// The word at the cursor of the block's report; true when there is one and it is not lastWord.
// The report comes from another process: a byte count or cursor offset out of bounds gives no word.
bool ExtractCapturedWord(const TTextOutSpyBlock& block, const std::wstring& lastWord, std::wstring& newWord);

// WM_SPY_TEXT: a report waits in the hook block; shows its word in a popup.
void HandleSpyText(HWND trayWindow);
// WM_POPUP_CLOSED: the tray's current popup closed, so its word may show again.
void HandlePopupClosed(HWND popup);

// The tray's part of the capture state: the last word shown, the current popup and whether the
// next popup is the first since the start.
const std::wstring& LastCapturedWord();
HWND TrayCurrentPopup();
void ResetCaptureState();
