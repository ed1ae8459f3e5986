#include "display/win32/GdiCanvas.h"

#include <vector>

#include "display/PlovaFonts.h"

TGdiCanvas::TGdiCanvas(HDC dc, int dpi) : dc_(dc), dpi_(dpi), font_(dc, FontHandle(kDrawingFont, dpi)) {}

int32_t TGdiCanvas::Style() {
    return GetFontStyle(kDrawingFont);
}

void TGdiCanvas::SetStyle(int32_t style) {
    if (style != GetFontStyle(kDrawingFont)) {
        SetFontStyle(kDrawingFont, style);
    }
    font_.Select(FontHandle(kDrawingFont, dpi_));
}

TFontMetrics TGdiCanvas::Metrics() {
    TEXTMETRICW metrics = {};
    if (!GetTextMetricsW(dc_, &metrics)) {
        return {};
    }
    return {metrics.tmHeight, metrics.tmAveCharWidth};
}

TTextExtent TGdiCanvas::Extent(const wchar_t* text, int32_t count) {
    SIZE size = {};
    if (!GetTextExtentPoint32W(dc_, text, count, &size)) {
        return {};
    }
    return {size.cx, size.cy};
}

void TGdiCanvas::SetColours(TColour text, TColour background, int32_t backgroundMode) {
    SetTextColor(dc_, text);
    SetBkColor(dc_, background);
    SetBkMode(dc_, backgroundMode);
}

void TGdiCanvas::DrawRun(int32_t x, int32_t y, const wchar_t* text, int32_t count, const uint16_t* boundaries) {
    if (count <= 0) {
        return;
    }
    // Each unit goes into the cell that measuring gave it, so painting and hit testing agree.
    std::vector<INT> advances(count);
    for (int32_t k = 0; k < count; ++k) {
        advances[k] = static_cast<uint16_t>(boundaries[k + 1] - boundaries[k]);
    }
    ExtTextOutW(dc_, x, y, 0, nullptr, text, static_cast<UINT>(count), advances.data());
}
