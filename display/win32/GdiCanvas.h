#pragma once
// The text canvas over a GDI device context: the drawing font of the font table, text extents,
// and coloured text output in the measured cells. Works on a window's device context and on a
// memory bitmap alike.

#include <windows.h>

#include "display/TextCanvas.h"
#include "display/win32/Dpi.h"
#include "display/win32/OwnedHandle.h"

class TGdiCanvas : public ITextPainter {
public:
    // Selects the drawing font for a display of dpi into dc until the canvas ends.
    explicit TGdiCanvas(HDC dc, int dpi = kDesignDpi);

    int32_t Style() override;
    void SetStyle(int32_t style) override;
    TFontMetrics Metrics() override;
    TTextExtent Extent(const wchar_t* text, int32_t count) override;
    void SetColours(TColour text, TColour background, int32_t backgroundMode) override;
    void DrawRun(int32_t x, int32_t y, const wchar_t* text, int32_t count, const uint16_t* boundaries) override;

private:
    HDC dc_;
    int dpi_;
    TSelectObject font_;
};

struct TWindowDcHolder {
    TOwnedWindowDC Dc;
};

// A canvas on a window's own device context. The holder is the first base, so the device context
// is released only after the canvas has selected its previous font back.
class TWindowCanvas : private TWindowDcHolder, public TGdiCanvas {
public:
    explicit TWindowCanvas(HWND window)
        : TWindowDcHolder{GetOwnedWindowDC(window)}, TGdiCanvas(TWindowDcHolder::Dc.Get(), WindowDpi(window)) {}
};
