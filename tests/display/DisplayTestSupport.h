#pragma once
// A real window for the view engine's tests, with its window data attached and its lines
// measured on its own device context; and a canvas that records what it is asked to draw.

#include <windows.h>

#include <string>
#include <vector>

#include "display/TextCanvas.h"
#include "display/WindowData.h"

struct TTestLine {
    std::wstring Text;
    uint8_t Kind = 4;
};

class TTestView {
public:
    // Hidden unless asked: showing and destroying a visible window costs seconds under Wine.
    explicit TTestView(int clientWidth = 400, int clientHeight = 200, bool visible = false);
    ~TTestView();
    TTestView(const TTestView&) = delete;
    TTestView& operator=(const TTestView&) = delete;

    HWND Window() const { return window_; }
    TWindowData& Data() { return data_; }
    TLineLayout& Layout() { return data_.Layout; }

    // Lines with the style table's colour, style and indent by kind, room for extra more, measured
    // at left 10 on the window's device context.
    void SetLines(const std::vector<TTestLine>& lines, int extra = 0);
    void Measure();
    void SetClientHeight(int height);
    int PaintMessages() const;

private:
    HWND window_ = nullptr;
    TWindowData data_;
};

// Fixed cells (10 pixels wide, 16 high) and a record of every drawn unit.
class TRecordingCanvas : public ITextPainter {
public:
    struct TUnit {
        int32_t X;
        int32_t Y;
        wchar_t Char;
        int32_t Style;
        TColour Text;
        TColour Background;
        int32_t Mode;
    };
    std::vector<TUnit> Drawn;
    std::vector<int32_t> MeasuredStyles; // the style at each one-unit extent

    int32_t Style() override { return style_; }
    void SetStyle(int32_t style) override { style_ = style; }
    TFontMetrics Metrics() override { return {16, 10}; }
    TTextExtent Extent(const wchar_t*, int32_t count) override {
        if (count == 1) {
            MeasuredStyles.push_back(style_);
        }
        return {10 * count, 16};
    }
    void SetColours(TColour text, TColour background, int32_t mode) override {
        text_ = text;
        background_ = background;
        mode_ = mode;
    }
    void DrawRun(int32_t x, int32_t y, const wchar_t* text, int32_t count, const uint16_t* boundaries) override {
        for (int32_t k = 0; k < count; ++k) {
            Drawn.push_back({x + (boundaries[k] - boundaries[0]), y, text[k], style_, text_, background_, mode_});
        }
    }

private:
    int32_t style_ = 0;
    TColour text_ = 0;
    TColour background_ = 0;
    int32_t mode_ = 0;
};
