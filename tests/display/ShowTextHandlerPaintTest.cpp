// Painting: runs, styles and colours per unit (on a recording canvas), pixels in a memory bitmap,
// and the first visible line and scroll bar that painting settles.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/GdiCanvas.h"
#include "display/win32/OwnedHandle.h"
#include "display/win32/ViewWindow.h"
#include "tests/display/DisplayTestSupport.h"

namespace {

constexpr TColour kBlack = Rgb(0, 0, 0);
constexpr TColour kWhite = Rgb(255, 255, 255);

// One line measured and painted on the recording canvas; styles as measuring saw them.
struct TRecordedLine {
    TWindowData Window;
    TRecordingCanvas Canvas;
    std::vector<int32_t> MeasuredStyles;

    TRecordedLine(const std::wstring& text, int32_t selStart, int32_t selCount) {
        TLineLayout& layout = Window.Layout;
        layout.Lines = std::make_unique<TDisplayLine[]>(1);
        layout.Capacity = layout.LineCount = 1;
        TDisplayLine& line = layout.Line(0);
        std::copy(text.begin(), text.end(), line.Text);
        line.Length = static_cast<int32_t>(text.size());
        line.Colour = kBlack;
        Window.Background = kWhite;
        MeasureLines(Window, Canvas, 0, 0);
        MeasuredStyles = Canvas.MeasuredStyles;
        if (selCount > 0) {
            ShowText_StartSelection(Window, {selStart, 0});
            ShowText_ExtendSelection(Window, {selStart + selCount, 0});
        }
        Window.Painting = 1;
        ShowText_PaintWith(Window, Canvas, bmOpaque);
    }

    std::wstring DrawnText() const {
        std::wstring text;
        for (const auto& unit : Canvas.Drawn) {
            text += unit.Char;
        }
        return text;
    }
};

// Twelve short lines of kind 4, more than a five-line view shows.
std::vector<TTestLine> TwelveLines() {
    std::vector<TTestLine> lines;
    for (int i = 0; i < 12; ++i) {
        lines.push_back({L"строка " + std::to_wstring(i), 4});
    }
    return lines;
}

} // namespace

TEST(ShowTextPaint, EachUnitIsDrawnOnceInItsCell) {
    TRecordedLine recorded(L"a z`b^g @c$ \x0402" L"d\x0403 e&f", 0, 0);
    const TDisplayLine& line = recorded.Window.Layout.Line(0);
    ASSERT_EQ(recorded.Canvas.Drawn.size(), static_cast<size_t>(line.Length));
    for (int32_t i = 0; i < line.Length; ++i) {
        EXPECT_EQ(recorded.Canvas.Drawn[i].X, line.CharX[i]) << i;
    }
    EXPECT_EQ(recorded.DrawnText(), L"a   b    c   d  e f"); // markers and '&' as blanks
}

TEST(ShowTextPaint, PaintingAndMeasuringAgreeOnStyles) {
    const std::wstring texts[] = {L"z`ab^gc", L"{a}zb{c}g", L"zzab", L"a^b", L"@z\x0402x\x0403g$"};
    for (const std::wstring& text : texts) {
        TRecordedLine recorded(text, 0, 0);
        std::vector<int32_t> painted;
        for (const auto& unit : recorded.Canvas.Drawn) {
            painted.push_back(unit.Style & ~UnderlineStyle);
        }
        EXPECT_EQ(painted, recorded.MeasuredStyles) << text.c_str();
    }
}

TEST(ShowTextPaint, TwoMarkersInARowBothSwitch) {
    TRecordedLine recorded(L"z`ab", 0, 0);
    const std::vector<int32_t> styles = {0, fsBold, fsBold | fsItalic, fsBold | fsItalic};
    std::vector<int32_t> painted;
    for (const auto& unit : recorded.Canvas.Drawn) {
        painted.push_back(unit.Style);
    }
    EXPECT_EQ(painted, styles);
    EXPECT_EQ(recorded.DrawnText(), L"  ab");
}

TEST(ShowTextPaint, SelectionRightAfterAMarker) {
    struct Case {
        std::wstring Text;
        int32_t SelStart, SelCount;
    };
    const Case cases[] = {{L"zab", 1, 1}, {L"`abc", 1, 2}, {L"z`abc", 2, 1}, {L"ab{c}d", 3, 2}, {L"abc", 0, 3}};
    for (const Case& c : cases) {
        TRecordedLine recorded(c.Text, c.SelStart, c.SelCount);
        ASSERT_EQ(recorded.Canvas.Drawn.size(), c.Text.size());
        for (int32_t i = 0; i < static_cast<int32_t>(c.Text.size()); ++i) {
            const bool selected = i >= c.SelStart && i < c.SelStart + c.SelCount;
            const auto& unit = recorded.Canvas.Drawn[i];
            EXPECT_EQ(unit.Background, selected ? SelectionBackground : kWhite) << c.Text.c_str() << " " << i;
            EXPECT_EQ(unit.Text, selected ? SelectionText : kBlack) << c.Text.c_str() << " " << i;
            EXPECT_EQ(unit.Mode, bmOpaque);
        }
    }
}

TEST(ShowTextPaint, LinkColoursOutsideAndInsideTheSelection) {
    // An opening marker's blank goes with the text before it, a closing one's with the text after
    // it; the selection keeps its own colours.
    TRecordedLine recorded(L"a@bc$d\x0402" L"e\x0403" L"f", 2, 2);
    const TColour text[] = {kBlack, kBlack, SelectionText, SelectionText, kBlack,
                            kBlack, kBlack, UnderlineColour, kBlack, kBlack};
    const int32_t underline[] = {0, 0, 0, 0, 0, 0, 0, UnderlineStyle, 0, 0};
    const auto& drawn = recorded.Canvas.Drawn;
    ASSERT_EQ(drawn.size(), 10u);
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].Text, text[i]) << i;
        EXPECT_EQ(drawn[i].Style & UnderlineStyle, underline[i]) << i;
    }
}

TEST(ShowTextPaint, NothingUnlessPainting) {
    TRecordedLine recorded(L"abc", 0, 0);
    recorded.Canvas.Drawn.clear();
    recorded.Window.Painting = 0;
    ShowText_PaintWith(recorded.Window, recorded.Canvas, bmOpaque);
    EXPECT_TRUE(recorded.Canvas.Drawn.empty());
}

namespace {

// The view's lines painted into a 24-bit memory bitmap of the client size, white first.
class TBitmapPaint {
public:
    explicit TBitmapPaint(TTestView& view) : view_(view) {
        const TRect client = ViewClientRect(view.Window());
        width_ = client.Right;
        height_ = client.Bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc_.Reset(CreateCompatibleDC(nullptr));
        TSelectObject selection(dc_.Get(), bitmap_.Get());
        PatBlt(dc_.Get(), 0, 0, width_, height_, WHITENESS);
        {
            TGdiCanvas canvas(dc_.Get());
            view.Data().Painting = 1;
            ShowText_PaintWith(view.Data(), canvas, bmOpaque);
        }
        GdiFlush();
        pixels_.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width_ * height_);
    }

    TColour At(int x, int y) const {
        const uint32_t p = pixels_[y * width_ + x];
        return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // How many pixels of the units' cells on a line have the colour.
    int CountInCells(int32_t lineIndex, int32_t first, int32_t end, TColour colour) const {
        const TDisplayLine& line = view_.Layout().Line(lineIndex);
        const int top = line.Rect.Top - view_.Layout().FirstPixel;
        int count = 0;
        for (int y = top; y < top + line.ExtentHeight && y < height_; ++y) {
            for (int x = line.CharX[first]; x < line.CharX[end] && x < width_; ++x) {
                count += At(x, y) == colour;
            }
        }
        return count;
    }

    // A row across the units' cells wholly in the colour.
    bool RowInCells(int32_t lineIndex, int32_t first, int32_t end, TColour colour) const {
        const TDisplayLine& line = view_.Layout().Line(lineIndex);
        const int top = line.Rect.Top - view_.Layout().FirstPixel;
        for (int y = top; y < top + line.ExtentHeight && y < height_; ++y) {
            bool whole = true;
            for (int x = line.CharX[first]; x < line.CharX[end] && whole; ++x) {
                whole = At(x, y) == colour;
            }
            if (whole) {
                return true;
            }
        }
        return false;
    }

private:
    TTestView& view_;
    int width_ = 0;
    int height_ = 0;
    TOwnedBitmap bitmap_;
    TOwnedMemoryDC dc_;
    std::vector<uint32_t> pixels_;
};

} // namespace

TEST(ShowTextPaint, ColoursInAMemoryBitmap) {
    TTestView view(400, 200);
    view.SetLines({{L"ШШ @ШШШ$ ШШ", 4}, {L"ШШ \x0402ШШШ\x0403 ШШ", 4}, {L"zШШШ ШШШ", 4}});
    TWindowData& w = view.Data();
    ShowText_StartSelection(w, {1, 2});
    ShowText_ExtendSelection(w, {3, 2}); // starts right after the bold marker
    TBitmapPaint paint(view);

    // Selected cells are filled with the selection colour, from their top row on.
    EXPECT_TRUE(paint.RowInCells(2, 1, 3, SelectionBackground));
    EXPECT_EQ(paint.CountInCells(2, 0, 1, SelectionBackground), 0);
    EXPECT_EQ(paint.CountInCells(2, 4, 8, SelectionBackground), 0);
    EXPECT_GT(paint.CountInCells(2, 1, 3, SelectionText), 0);

    // Link text in the link colour, the text around it in the line's colour.
    EXPECT_GT(paint.CountInCells(0, 4, 7, LinkColour), 0);
    EXPECT_EQ(paint.CountInCells(0, 4, 7, kBlack), 0);
    EXPECT_GT(paint.CountInCells(0, 0, 2, kBlack), 0);
    EXPECT_EQ(paint.CountInCells(0, 0, 2, LinkColour), 0);

    // Underlined link: its text and an unbroken underline in the underline colour, from its first
    // letter on: the marker's blank before it stays plain.
    EXPECT_TRUE(paint.RowInCells(1, 4, 7, UnderlineColour));
    EXPECT_FALSE(paint.RowInCells(1, 3, 4, UnderlineColour));
    EXPECT_FALSE(paint.RowInCells(1, 9, 11, UnderlineColour));
    EXPECT_GT(paint.CountInCells(1, 9, 11, kBlack), 0);
}

TEST(ShowTextPaint, ScrollBarFollowsTheLineCount) {
    TTestView view;
    const std::vector<TTestLine> lines = TwelveLines();
    view.SetLines(lines, 4);
    TWindowData& w = view.Data();
    const int32_t height = w.Layout.Line(0).ExtentHeight;
    view.SetClientHeight(5 * height + height / 2);
    TRecordingCanvas canvas;
    w.Painting = 1;
    ShowText_PaintWith(w, canvas, bmOpaque);
    EXPECT_EQ(w.PageLines, 5);
    EXPECT_EQ(w.ScrollMax, 7);
    EXPECT_EQ(w.ScrollBarShown, 1);
    EXPECT_EQ(w.PaintedCount, 12);
    int minimum = -1;
    int maximum = -1;
    GetScrollRange(view.Window(), SB_VERT, &minimum, &maximum);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 7);

    // Everything fits: there is no bar and the view is back at the top.
    view.SetClientHeight(13 * height);
    w.ScrollPos = 3;
    ShowText_PaintWith(w, canvas, bmOpaque);
    EXPECT_EQ(w.PageLines, 12);
    EXPECT_EQ(w.ScrollMax, 0);
    EXPECT_EQ(w.ScrollPos, 0);
    EXPECT_EQ(w.ScrollBarShown, 0);
    EXPECT_EQ(w.Layout.FirstPixel, 0);
}

TEST(ShowTextPaint, AViewMadeTallerShowsEveryLineThatFitsInOnePaint) {
    struct Case {
        int32_t ScrollPos, Lines; // scrolled in a five-line view, then made this many lines tall
        int32_t First, ScrollMax;
    };
    const Case cases[] = {
        {3, 13, 0, 0}, {7, 13, 0, 0}, {7, 8, 4, 4}, {5, 8, 4, 4}, {2, 8, 2, 4}, {3, 5, 3, 7},
    };
    TTestView view;
    view.SetLines(TwelveLines());
    TWindowData& w = view.Data();
    const int32_t height = w.Layout.Line(0).ExtentHeight;
    TRecordingCanvas canvas;
    w.Painting = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.ScrollPos << " to " << c.Lines << " lines");
        view.SetClientHeight(5 * height + height / 2);
        ShowText_PaintWith(w, canvas, bmOpaque);
        ASSERT_TRUE(ShowText_Scroll(w.Window, scThumbTrack | (static_cast<uint32_t>(c.ScrollPos) << 16)));
        ShowText_PaintWith(w, canvas, bmOpaque);

        view.SetClientHeight(c.Lines * height + height / 2);
        ShowText_PaintWith(w, canvas, bmOpaque);
        EXPECT_EQ(w.Layout.FirstPixel, w.Layout.Line(c.First).Rect.Top);
        EXPECT_EQ(w.PageLines, std::min(c.Lines, 12));
        EXPECT_EQ(w.ScrollMax, c.ScrollMax);
        EXPECT_EQ(w.ScrollBarShown, c.ScrollMax > 0 ? 1 : 0);
        EXPECT_EQ(w.ScrollPos, c.ScrollMax > 0 ? c.First : 0);
    }
}

TEST(ShowTextPaint, ScrolledToTheEndKeepsItsPlaceWhenLinesGrow) {
    TTestView view;
    const std::vector<TTestLine> lines = TwelveLines();
    view.SetLines(lines, 3);
    TWindowData& w = view.Data();
    const int32_t height = w.Layout.Line(0).ExtentHeight;
    view.SetClientHeight(5 * height + height / 2);
    TRecordingCanvas canvas;
    w.Painting = 1;
    ShowText_PaintWith(w, canvas, bmOpaque);
    ASSERT_EQ(w.ScrollMax, 7);

    ASSERT_TRUE(ShowText_Scroll(w.Window, scThumbTrack | (7u << 16)));
    ShowText_PaintWith(w, canvas, bmOpaque);
    const int32_t endPixel = w.Layout.FirstPixel;
    EXPECT_EQ(endPixel, w.Layout.Line(7).Rect.Top);
    EXPECT_EQ(w.ScrollPos, 7);

    // Three lines appear under an expanded row: the view keeps its first line.
    TLineLayout& layout = w.Layout;
    for (int i = 0; i < 3; ++i) {
        TDisplayLine& line = layout.Line(layout.LineCount);
        line.Length = 1;
        line.Text[0] = L'x';
        ++layout.LineCount;
    }
    view.Measure();
    w.PageLines = 5;
    ShowText_PaintWith(w, canvas, bmOpaque);
    EXPECT_EQ(w.Layout.FirstPixel, endPixel);
    EXPECT_EQ(w.ScrollPos, 7);
    EXPECT_EQ(w.ScrollMax, 10);

    // At the end with no new lines: the last page shows.
    w.ScrollPos = 10;
    ShowText_PaintWith(w, canvas, bmOpaque);
    EXPECT_EQ(w.Layout.FirstPixel, w.Layout.Line(10).Rect.Top);
}

TEST(ShowTextPaint, LastPageWhenPositionIsPastTheEnd) {
    TTestView view;
    const std::vector<TTestLine> lines = TwelveLines();
    view.SetLines(lines);
    TWindowData& w = view.Data();
    const int32_t height = w.Layout.Line(0).ExtentHeight;
    view.SetClientHeight(5 * height + height / 2);
    TRecordingCanvas canvas;
    w.Painting = 1;
    ShowText_PaintWith(w, canvas, bmOpaque);
    // Position 9 is beyond the highest (7): the view shows lines 7..11 and keeps the position.
    w.ScrollPos = 9;
    ShowText_PaintWith(w, canvas, bmOpaque);
    EXPECT_EQ(w.Layout.FirstPixel, w.Layout.Line(7).Rect.Top);
    EXPECT_EQ(w.PageLines, 5);
}
