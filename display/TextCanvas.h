#pragma once
// What layout and painting need from a device context: the drawing font's style, its metrics,
// text extents and, for painting, coloured text output. GDI implements both (win32/GdiCanvas.h);
// tests may record the calls instead.

#include <cstdint>

#include "display/WindowData.h"

struct TTextExtent {
    int32_t Width = 0;
    int32_t Height = 0;
};

struct TFontMetrics {
    int32_t Height = 0;
    int32_t AveCharWidth = 0;
};

class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // Style bits of the drawing font now selected.
    virtual int32_t Style() = 0;
    // Switches the drawing font to these style bits and selects it.
    virtual void SetStyle(int32_t style) = 0;
    virtual TFontMetrics Metrics() = 0;
    virtual TTextExtent Extent(const wchar_t* text, int32_t count) = 0;
};

// Background modes of the paint routine (the system's TRANSPARENT and OPAQUE).
constexpr int32_t bmTransparent = 1;
constexpr int32_t bmOpaque = 2;

class ITextPainter : public ITextMeasurer {
public:
    virtual void SetColours(TColour text, TColour background, int32_t backgroundMode) = 0;
    // Draws count units at (x, y), unit k in the cell from boundaries[k] to boundaries[k + 1].
    virtual void DrawRun(int32_t x, int32_t y, const wchar_t* text, int32_t count, const uint16_t* boundaries) = 0;
};
