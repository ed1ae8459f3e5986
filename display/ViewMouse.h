#pragma once
// The mouse over a card or popup, shared by both: the cursor in client coordinates, the class
// cursors, the link under the mouse, the caret moved to a point, and the drag selection with its
// 50 ms auto-scroll timer (one timer for all windows of the thread).

#include <windows.h>

#include <cstdint>
#include <string>

#include "display/WindowData.h"

// The cursor position in the window's client coordinates (always read from the system: timer
// moves carry no position).
POINT ViewCursorInClient(HWND window);

// The system cursors, as loaded once per process (GlobalCustomsInit), else loaded here.
HCURSOR ViewArrowCursor();
HCURSOR ViewHandCursor();
HCURSOR ViewIBeamCursor();
// The class cursor of the window's class: every window of the class shows it.
void ViewSetClassCursor(HWND window, HCURSOR cursor);

// The link found by the last mouse move. Its text is copied, because the window it was found in
// may be gone by the time of the click.
struct TViewLink {
    bool Found = false;
    wchar_t Marker = 0;
    std::wstring Text;
};
// HitTestLink at x on the line (which also sets the window's LinkChar and LinkLine).
bool ViewFindLink(TWindowData& window, int32_t line, int32_t x, TViewLink& link);

// The caret to the line nearest the point and the character boundary nearest its x.
void ViewCaretToPoint(TWindowData& window, POINT point);
// A button press: the caret to the cursor and a new selection there; a shown selection is erased.
void ViewStartSelection(TWindowData& window);

// The drag selection for a mouse move (cursor at point, in client coordinates): with the left
// button alone it follows the cursor and auto-scrolls every 50 ms; else it ends the drag.
void ViewDragSelection(TWindowData& window, WPARAM keys, POINT point);
// A tick of the drag timer (through KitTimer).
void ViewDragTick(HWND window, UINT_PTR id);
// The window whose drag timer runs; null when none.
HWND ViewDragTimerOwner();
void ViewStopDragTimer();
