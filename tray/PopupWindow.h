#pragma once
// The scanning popup: a small top-most window of the class "NewPopupWindow_Jyx" with the
// translations of the word under the mouse, in the compact lines of PopupLines, driven by the view
// engine like a card. It opens beside the cursor without taking the focus, closes itself when the
// mouse leaves it, and turns clicks on its lines and links into cards or further popups.

#include <windows.h>

#include <cstdint>

#include "core/CommonTypes.h"
#include "display/WindowData.h"

extern const wchar_t* const PopupWindowClass; // "NewPopupWindow_Jyx"

constexpr int32_t kPopupCursorDistance = 5;
constexpr int32_t kPopupLeaveMargin = 16;
constexpr UINT_PTR kPopupLeaveTimer = 1;
constexpr UINT kPopupLeaveInterval = 100; // ms

// Registers the popup class (raises EOSError when it cannot).
void PopupWindowInit();
void PopupWindowDone();

// Analyses the word in the source language of the shared block, makes its first hit the current
// entry and opens a popup for it; null when nothing is found. A captured word's popup takes the
// place of the popups still open: they close just before it shows, so that one shows at a time.
HWND PopupWindow_Show(const wchar_t* word);
// The same for a link's word, over the popups still open.
HWND PopupWindow_ShowOver(const wchar_t* word);
// A popup with its window data, not yet shown; it becomes the current popup. Null when the
// window cannot be created.
HWND PopupWindow_Create();
// Lays out, sizes, places and shows the popup and starts its leave check; false when there is
// nothing to show (exceptions count as that).
bool PopupWindow_Fill(TWindowData& window);
void PopupWindow_FitSize(TWindowData& window);
// Moved to a monitor of another scale: at the suggested place, sized for its lines again.
void PopupWindow_DpiChanged(TWindowData& window, LPARAM suggested);
// The top-left corner beside the cursor: right of and below it, or left of and above it where the
// desktop ends, never off the desktop's top or left.
POINT PopupWindow_Placement(const RECT& desktop, POINT cursor, int32_t width, int32_t height);
// Whether the cursor is still within the leave margin around the popup's rectangle.
bool PopupWindow_KeepsCursor(const RECT& window, POINT cursor);
// A tick of the leave check: destroys the popup once the cursor has left it.
void PopupWindow_LeaveCheck(TWindowData& window);
// WM_DESTROY: stops the timers and tells the tray window (WM_POPUP_CLOSED). A card the popup
// opened stays open.
void PopupWindow_Release(TWindowData& window);
// The class cursor by the kind of the line under the mouse.
void PopupWindow_SetRowCursor(TWindowData& window, int32_t line);
// Lines of kinds 0 to 3 are clickable; sets LinkChar and LinkLine to (0, line) for them, else -1.
bool HitTestLineKind(TWindowData& window, int32_t line, uint8_t& kind);
// A card for a copy of the result; in one-window mode (cardMode not 0) the last card closes
// first. Null when it cannot be filled.
HWND CardWindow_OpenForEntry(const TSearchResult& result, uint8_t cardMode, bool placeAtPrevious);

// The click state shared by all popups back to its start: no card to close on the next click, no
// hit position remembered.
void PopupWindow_ArmClicks();

// The popup created last that is still open (or the one before it); null when none.
HWND PopupWindow_Current();
// True while the handle names a popup of this process that has not been destroyed.
bool PopupWindow_IsPopup(HWND window);

// The popup class's handler in the window kit.
LRESULT PopupWindow_WndProc(TWindowData& data, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
