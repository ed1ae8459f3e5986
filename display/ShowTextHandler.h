#pragma once
// The view engine of cards and popups: scrolling by whole lines, a logical caret, a selection in
// text order, painting of coloured runs with in-line styles and links, the line under the mouse,
// and caret keys. The window procedures call these; lines are in content coordinates (line 0 at
// y 0), and subtracting FirstPixel gives client coordinates.

#include <cstdint>

#include "core/CommonTypes.h"
#include "display/TextCanvas.h"
#include "display/WindowData.h"

// Scroll codes (the low 16 bits of a WM_VSCROLL wParam).
constexpr int32_t scLineUp = 0;
constexpr int32_t scLineDown = 1;
constexpr int32_t scPageUp = 2;
constexpr int32_t scPageDown = 3;
constexpr int32_t scThumbPosition = 4;
constexpr int32_t scThumbTrack = 5;

constexpr TColour SelectionBackground = Rgb(96, 96, 255);
constexpr TColour SelectionText = Rgb(255, 255, 255);

struct TClientPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// Comparison bits of two (char, line) points.
constexpr int32_t cpLineBefore = 1;
constexpr int32_t cpLineAfter = 2;
constexpr int32_t cpCharBefore = 4;
constexpr int32_t cpCharAfter = 8;

// argument: the scroll code in the low 16 bits, the position in the high 16 bits. True when the
// view moved (or was set); the scroll bar and the window are then updated.
bool ShowText_Scroll(TWindowHandle window, uint32_t argument);
void ShowText_Invalidate(TWindowData& window, bool erase);
int32_t ShowText_CurrentEntryLine(const TWindowData& window);
bool ShowText_ScrollToEntry(TWindowData& window);
bool ShowText_ScrollToTag(TWindowData& window, int32_t tag);
bool ShowText_PointInRect(const TRect& rect, TClientPoint point, int32_t shiftY);
int32_t ShowText_NearestLine(const TLineLayout& layout, TClientPoint point);
int32_t ShowText_LineAtPoint(const TWindowData& window, TClientPoint point);
int32_t ShowText_CharAtX(const TWindowData& window, int32_t line);
// Moves the caret; gives the first line to scroll to so that the caret line shows, or -1.
int32_t ShowText_SetCaret(TWindowData& window, int32_t character, int32_t line, bool takeX);
// A focused window's system caret goes where the caret is: just left of the caret character, on
// its line as scrolled now. Done by SetCaret and by painting.
void ShowText_PlaceCaret(const TWindowData& window);
// The same for a window that is not focused but owns the thread's caret (a popup keeps a hidden
// one); does nothing when another window owns it.
void ShowText_CaretHook(const TWindowData& window);
int32_t ShowText_ComparePoints(TCharPoint a, TCharPoint b);
void ShowText_StartSelection(TWindowData& window, TCharPoint point);
void ShowText_ExtendSelection(TWindowData& window, TCharPoint point);
// Paints on the window's own device context.
void ShowText_Paint(TWindowData& window, int32_t backgroundMode);
// Paints on any canvas, a memory bitmap as well as the window.
void ShowText_PaintWith(TWindowData& window, ITextPainter& painter, int32_t backgroundMode);
bool ShowText_IsClickableLine(const TWindowData& window, int32_t line);
void ShowText_SetHotLine(TWindowData& window, int32_t line, int32_t fallback);
int32_t ShowText_NextEntryLine(const TWindowData& window, int32_t step);
void ShowText_KeyDown(TWindowData& window, uint32_t key);
void ShowText_KeyDown(TWindowData& window, uint32_t key, bool control);
