#pragma once
// Translation cards: small top-most tool windows of the class "CardWindow_Jyx" that show what
// word-form analysis found for one word, driven by the view engine. A click on a link opens a
// card for the link's word, a click on an analysis row shows or hides its grammar notes, and a
// click on a dictionary title or headword asks the main program to show it.

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/CommonTypes.h"
#include "display/WindowData.h"
#include "display/win32/OwnedHandle.h"

extern const wchar_t* const CardWindowClass; // "CardWindow_Jyx"

// Registers the card class (raises EOSError when it cannot) and makes the desktop window the last
// card.
void CardWindowInit();
// Stops a running drag timer and unregisters the class; cards still open are left to the caller.
void CardWindowDone();

// Analyses the word in the source language of the shared block and opens a card for it; null
// when nothing is found. closePrevious first destroys the card created last (one-window mode);
// placeAtPrevious puts the card 10 pixels right of and below that card, else beside the cursor.
HWND CardWindow_Show(const wchar_t* word, bool closePrevious, bool placeAtPrevious);
// A card with its window data, not yet shown; it becomes the last card. Null when the window
// cannot be created.
HWND CardWindow_Create(const TRect& rect);
// Lays the result out, sizes, places and shows the card. False when the result has no analysis.
bool CardWindow_Fill(TWindowData& window, const TSearchResult& result, bool placeAtPrevious);
void CardWindow_FitSize(TWindowData& window, bool setHeight);
// Moved to another monitor's scale: the card takes the system's rectangle and fits its lines again.
void CardWindow_DpiChanged(TWindowData& window, LPARAM suggested);
// The first line with that dictionary and entry, 0 when none.
int32_t CardWindow_FindEntryLine(const TWindowData& window, int32_t dict, int32_t entry);
void CardWindow_UpdateGeometry(TWindowData& window);
// WM_DESTROY: the card leaves the chain and stops its drag timer. When it was the last card, the
// newest card still open becomes the last card (else the desktop window). The window kit frees
// the window data after WM_NCDESTROY.
void CardWindow_Release(TWindowData& window);

// The card created last (after the one-window rule and closed cards), or the desktop window.
HWND CardWindow_LastCard();
// True while the handle names a card of this process that has not been destroyed.
bool CardWindow_IsCard(HWND window);

// The card class's handler in the window kit.
LRESULT CardWindow_WndProc(TWindowData& data, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void CardWindow_ExpandRow(TWindowData& window, int32_t row);
void CardWindow_CollapseRow(TWindowData& window, int32_t row);
void CardWindow_SelectAll(TWindowData& window);
// Puts the selected text on the clipboard; raises "Cannot open clipboard" when it cannot.
void CardWindow_Copy(TWindowData& window);
// The context menu's two items (0 copy, 1 select all) in the interface language.
TOwnedMenu CardWindow_CreateMenu();
void CardWindow_ContextMenu(TWindowData& window);
void CardWindow_SetRowCursor(TWindowData& window, int32_t line);
