#pragma once
// The window services the view engine needs, for portable code: the window data in the user
// data, the client rectangle, invalidation, the vertical scroll bar, and a canvas on the window.

#include <cstdint>
#include <memory>

#include "core/CommonTypes.h"
#include "display/TextCanvas.h"
#include "display/WindowData.h"

// The TWindowData kept in the window's user data; nullptr before it is attached.
TWindowData* ViewWindowData(TWindowHandle window);
void ViewAttachWindowData(TWindowHandle window, TWindowData* data);

TRect ViewClientRect(TWindowHandle window);
// Invalidates the rectangle (erasing the background when asked) and updates the window at once.
void ViewInvalidate(TWindowHandle window, const TRect& rect, bool erase);

void ViewSetScrollPos(TWindowHandle window, int32_t position);
void ViewSetScrollRange(TWindowHandle window, int32_t minimum, int32_t maximum);
void ViewShowScrollBar(TWindowHandle window, bool show);
// Sends the window WM_VSCROLL with this code and position.
void ViewSendScroll(TWindowHandle window, int32_t code, int32_t position);

bool ViewControlDown();

// Moves the system caret when the window owns it (another window's may be the thread's caret).
void ViewPlaceCaret(TWindowHandle window, int32_t x, int32_t y);

// A canvas on the window's device context, with the drawing font selected.
std::unique_ptr<ITextPainter> ViewOpenCanvas(TWindowHandle window);

// MeasureLines (TextFormat) on the window's device context.
TTextExtent MeasureLines(TWindowData& window, int32_t left, int32_t top);
