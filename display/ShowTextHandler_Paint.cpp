// Painting of the view engine: the first visible line, coloured runs with in-line styles, links
// and the selection, and the scroll bar that follows the line count.

#include <algorithm>

#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"

namespace {

// The first line of the last page: the smallest index from which the remaining lines fit the
// client height.
int32_t LastPageFirstLine(const TWindowData& window) {
    const TLineLayout& layout = window.Layout;
    const int32_t height = window.ClientRect.Bottom - window.ClientRect.Top;
    const int32_t bottom = layout.Line(layout.LineCount - 1).Rect.Bottom;
    int32_t first = 0;
    while (first < layout.LineCount - 1 && bottom - layout.Line(first).Rect.Top > height) {
        ++first;
    }
    return first;
}

class TLinePainter {
public:
    TLinePainter(const TWindowData& window, const TDisplayLine& line, ITextPainter& painter, int32_t mode)
        : window_(window), line_(line), painter_(painter), mode_(mode), run_(line.Colour) {}

    void Paint() {
        const int32_t length = std::clamp(line_.Length, 0, kMaxLineLength);
        std::copy(line_.Text, line_.Text + length, text_);
        StripAmpersandsInPlace(text_, length);
        painter_.SetStyle(line_.Style);
        LineColours();
        y_ = line_.Rect.Top - window_.Layout.FirstPixel;
        const int32_t selFirst = line_.SelCount > 0 ? line_.SelStart : -1;
        const int32_t selEnd = line_.SelCount > 0 ? line_.SelStart + line_.SelCount : -1;

        // One pass, one look at each unit: a marker's own blank is drawn in the style and colour
        // before (opening) or after (closing) it, as measuring gave it its width; so a link's
        // underline starts at its first letter.
        for (int32_t i = 0; drawn_ < length; ++i) {
            if (i == selFirst) {
                DrawTo(i);
                if (window_.SelVisible != 0) {
                    painter_.SetColours(SelectionText, SelectionBackground, bmOpaque);
                    inSelection_ = true;
                }
            }
            if (i == selEnd) {
                DrawTo(i);
                LineColours();
            }
            if (i >= length) {
                DrawTo(i);
                break;
            }
            Mark(i);
        }
    }

private:
    void Mark(int32_t i) {
        const wchar_t c = line_.Text[i];
        if (IsStyleOn(c)) {
            text_[i] = L' ';
            DrawTo(i + 1);
            painter_.SetStyle(painter_.Style() | ExternalStyles.StyleBitFor(c));
        } else if (IsStyleOff(c)) {
            text_[i] = L' ';
            DrawTo(i);
            painter_.SetStyle(painter_.Style() & ~ExternalStyles.StyleBitFor(c));
        } else if (IsLinkOpen(c) || IsLinkClose(c)) {
            text_[i] = L' ';
            DrawTo(IsLinkOpen(c) ? i + 1 : i);
            run_ = c == mkLinkOn ? LinkColour : c == mkUnderlineOn ? UnderlineColour : line_.Colour;
            if (!inSelection_) {
                painter_.SetColours(run_, window_.Background, mode_);
            }
            if (c == mkUnderlineOn) {
                painter_.SetStyle(painter_.Style() | UnderlineStyle);
            } else if (c == mkUnderlineOff) {
                painter_.SetStyle(painter_.Style() & ~UnderlineStyle);
            }
        }
    }

    void LineColours() {
        painter_.SetColours(run_, window_.Background, mode_);
        inSelection_ = false;
    }

    void DrawTo(int32_t end) {
        if (end > drawn_) {
            painter_.DrawRun(line_.CharX[drawn_], y_, text_ + drawn_, end - drawn_, line_.CharX + drawn_);
            drawn_ = end;
        }
    }

    const TWindowData& window_;
    const TDisplayLine& line_;
    ITextPainter& painter_;
    int32_t mode_;
    TColour run_;
    bool inSelection_ = false;
    int32_t y_ = 0;
    int32_t drawn_ = 0;
    wchar_t text_[kLineSlots] = {};
};

void FollowLineCount(TWindowData& w, int32_t firstVisible) {
    const int32_t hidden = w.Layout.LineCount - w.PageLines;
    if (hidden != w.ScrollMax) {
        w.ScrollMax = hidden;
        if (hidden > 0) {
            ViewSetScrollRange(w.Window, w.ScrollMin, w.ScrollMax);
            w.ScrollPos = firstVisible;
            w.ScrollBarShown = 1;
        } else {
            w.ScrollBarShown = 0;
            w.ScrollPos = 0;
        }
        ViewSetScrollPos(w.Window, w.ScrollPos);
        ViewShowScrollBar(w.Window, w.ScrollBarShown != 0);
    }
    if (w.ScrollMax == 0) {
        w.ScrollBarShown = 0;
        w.ScrollPos = 0;
        ViewSetScrollPos(w.Window, 0);
        ViewShowScrollBar(w.Window, false);
    }
}

} // namespace

void ShowText_Paint(TWindowData& window, int32_t backgroundMode) {
    if (window.Painting == 0) {
        return;
    }
    const auto canvas = ViewOpenCanvas(window.Window);
    ShowText_PaintWith(window, *canvas, backgroundMode);
}

void ShowText_PaintWith(TWindowData& window, ITextPainter& painter, int32_t backgroundMode) {
    if (window.Painting == 0) {
        return;
    }
    TLineLayout& layout = window.Layout;
    window.ClientRect = ViewClientRect(window.Window);

    // A view scrolled to its end shows the last page, unless lines were added since the last
    // paint (a row expanded): then it keeps its first line. It never starts past the last page,
    // so a view made taller shows every line that fits, and its scroll range, at once.
    int32_t first = window.ScrollPos;
    if (layout.LineCount > 0) {
        const int32_t lastPage = LastPageFirstLine(window);
        if (window.ScrollPos >= window.ScrollMax && layout.LineCount <= window.PaintedCount &&
            !(window.ScrollPos == 0 && window.ScrollMax == 0)) {
            first = lastPage;
        }
        first = std::clamp(first, 0, lastPage);
    }
    window.PaintedCount = layout.LineCount;
    window.PageLines = 0;
    if (layout.LineCount > 0) {
        layout.FirstPixel = layout.Line(first).Rect.Top - layout.Line(0).Rect.Top;
        painter.SetStyle(layout.Line(0).Style);
    } else {
        layout.FirstPixel = 0;
    }

    for (int32_t i = 0; i < layout.LineCount; ++i) {
        const TDisplayLine& line = layout.Line(i);
        TLinePainter(window, line, painter, backgroundMode).Paint();
        if (line.Rect.Top - layout.FirstPixel >= window.ClientRect.Top &&
            line.Rect.Bottom - layout.FirstPixel <= window.ClientRect.Bottom) {
            ++window.PageLines;
        }
    }
    FollowLineCount(window, first);
    ShowText_PlaceCaret(window);
}
