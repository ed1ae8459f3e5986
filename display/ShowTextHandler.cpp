#include "display/ShowTextHandler.h"

#include <algorithm>
#include <cstdlib>

#include "core/GlobalCustoms.h"
#include "display/win32/ViewWindow.h"

namespace {

// Virtual keys.
constexpr uint32_t vkPageUp = 0x21;
constexpr uint32_t vkPageDown = 0x22;
constexpr uint32_t vkEnd = 0x23;
constexpr uint32_t vkHome = 0x24;
constexpr uint32_t vkLeft = 0x25;
constexpr uint32_t vkUp = 0x26;
constexpr uint32_t vkRight = 0x27;
constexpr uint32_t vkDown = 0x28;

int32_t LineLength(const TDisplayLine& line) {
    return std::clamp(line.Length, 0, kMaxLineLength);
}

void ClearLineSelection(TLineLayout& layout) {
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        TDisplayLine& line = layout.Line(i);
        line.SelStart = 0;
        line.SelCount = 0;
        line.SelX = 0;
    }
}

void SelectPart(TDisplayLine& line, int32_t start, int32_t count) {
    line.SelStart = start;
    line.SelCount = count;
    line.SelX = line.CharX[start];
}

TCharPoint ClampPoint(const TLineLayout& layout, TCharPoint point) {
    point.Line = std::clamp(point.Line, 0, layout.LineCount - 1);
    point.Char = std::clamp(point.Char, 0, LineLength(layout.Line(point.Line)));
    return point;
}

} // namespace

bool ShowText_Scroll(TWindowHandle window, uint32_t argument) {
    TWindowData* data = ViewWindowData(window);
    if (data == nullptr) {
        return false;
    }
    TWindowData& w = *data;
    const int32_t code = static_cast<int32_t>(argument & 0xFFFF);
    const int32_t position = static_cast<int32_t>(argument >> 16);
    switch (code) {
    case scLineUp:
        if (w.ScrollPos < 1) {
            return false;
        }
        --w.ScrollPos;
        break;
    case scLineDown:
        if (w.ScrollPos >= w.ScrollMax) {
            return false;
        }
        ++w.ScrollPos;
        break;
    case scPageUp:
        w.ScrollPos = std::max(w.ScrollPos - w.PageLines, 0);
        break;
    case scPageDown:
        w.ScrollPos = std::min(w.ScrollPos + w.PageLines, w.ScrollMax);
        break;
    case scThumbPosition:
    case scThumbTrack:
        w.ScrollPos = std::min(position, w.ScrollMax);
        break;
    default:
        return false;
    }
    ViewSetScrollPos(w.Window, w.ScrollPos);
    ShowText_Invalidate(w, true);
    return true;
}

void ShowText_Invalidate(TWindowData& window, bool erase) {
    ViewInvalidate(window.Window, window.ClientRect, erase);
}

int32_t ShowText_CurrentEntryLine(const TWindowData& window) {
    const TLineLayout& layout = window.Layout;
    int32_t found = layout.LineCount;
    if (const TGlobalCustoms* block = SharedCustoms()) {
        for (int32_t i = 0; i < layout.LineCount; ++i) {
            const TDisplayLine& line = layout.Line(i);
            if (line.Dict == block->CurDict && line.Entry == block->CurEntry) {
                found = i;
                break;
            }
        }
    }
    return std::min(found, window.ScrollMax);
}

bool ShowText_ScrollToEntry(TWindowData& window) {
    const uint32_t line = static_cast<uint32_t>(ShowText_CurrentEntryLine(window));
    return ShowText_Scroll(window.Window, scThumbTrack | (line << 16));
}

bool ShowText_ScrollToTag(TWindowData& window, int32_t tag) {
    const TLineLayout& layout = window.Layout;
    int32_t found = layout.LineCount;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        if (layout.Line(i).Tag >= 0 && layout.Line(i).Tag == tag) {
            found = i;
            break;
        }
    }
    const uint32_t line = static_cast<uint32_t>(std::min(found, window.ScrollMax));
    return ShowText_Scroll(window.Window, scThumbTrack | (line << 16));
}

bool ShowText_PointInRect(const TRect& rect, TClientPoint point, int32_t shiftY) {
    return rect.Left <= point.X && point.X <= rect.Right && rect.Top <= point.Y + shiftY &&
           point.Y + shiftY <= rect.Bottom;
}

int32_t ShowText_NearestLine(const TLineLayout& layout, TClientPoint point) {
    auto distance = [&](int32_t i) {
        const TRect& r = layout.Line(i).Rect;
        return std::abs(r.Top + (r.Bottom - r.Top) / 2 - layout.FirstPixel - point.Y);
    };
    if (layout.LineCount <= 0) {
        return 0;
    }
    int32_t i = 0;
    int32_t best = distance(0);
    // Equal distances step on: a point midway belongs to the later line.
    while (i + 1 < layout.LineCount) {
        const int32_t next = distance(i + 1);
        if (next > best) {
            break;
        }
        best = next;
        ++i;
    }
    return i;
}

int32_t ShowText_LineAtPoint(const TWindowData& window, TClientPoint point) {
    const TLineLayout& layout = window.Layout;
    for (int32_t i = std::max(window.ScrollPos, 0); i < layout.LineCount; ++i) {
        if (ShowText_PointInRect(layout.Line(i).Rect, point, layout.FirstPixel)) {
            return i;
        }
    }
    return -1;
}

int32_t ShowText_CharAtX(const TWindowData& window, int32_t line) {
    if (!window.Layout.HasLine(line)) {
        return 0;
    }
    const TDisplayLine& row = window.Layout.Line(line);
    const int32_t length = LineLength(row);
    const int32_t x = window.CaretX;
    int32_t i = 0;
    while (i < length && row.CharX[i] < x) {
        ++i;
    }
    if (i > 0 && x - row.CharX[i - 1] < row.CharX[i] - x) {
        return i - 1;
    }
    return i;
}

int32_t ShowText_SetCaret(TWindowData& window, int32_t character, int32_t line, bool takeX) {
    const TLineLayout& layout = window.Layout;
    if (layout.LineCount <= 0) {
        return -1;
    }
    int32_t l = std::clamp(line, 0, layout.LineCount - 1);
    int32_t c = character;
    if (c < 0) {
        if (l > 0) {
            --l;
            c = LineLength(layout.Line(l));
        } else {
            c = 0;
        }
    } else if (c > LineLength(layout.Line(l))) {
        if (l < layout.LineCount - 1) {
            ++l;
            c = 0;
        } else {
            c = LineLength(layout.Line(l));
        }
    }
    window.CaretLine = l;
    if (takeX) {
        window.CaretX = layout.Line(l).CharX[c] - 1;
        window.CaretChar = c;
    } else {
        window.CaretChar = ShowText_CharAtX(window, l);
    }
    ShowText_PlaceCaret(window);

    const int32_t bottom = window.ClientRect.Bottom;
    if (layout.Line(l).Rect.Bottom <= bottom) {
        return -1;
    }
    int32_t e = layout.Line(l).Rect.Bottom - layout.FirstPixel;
    int32_t i = std::max(window.ScrollPos, 0);
    while (i < l && e > bottom) {
        e -= layout.Line(i + 1).Rect.Top - layout.Line(i).Rect.Top;
        ++i;
    }
    return i;
}

void ShowText_PlaceCaret(const TWindowData& window) {
    if (window.Focused != 0) {
        ShowText_CaretHook(window);
    }
}

void ShowText_CaretHook(const TWindowData& window) {
    const TLineLayout& layout = window.Layout;
    if (!layout.HasLine(window.CaretLine)) {
        return;
    }
    const TDisplayLine& line = layout.Line(window.CaretLine);
    const int32_t x = line.CharX[std::clamp(window.CaretChar, 0, LineLength(line))] - 1;
    ViewPlaceCaret(window.Window, x, line.Rect.Top - layout.FirstPixel);
}

int32_t ShowText_ComparePoints(TCharPoint a, TCharPoint b) {
    int32_t bits = 0;
    if (a.Line < b.Line) {
        bits |= cpLineBefore;
    }
    if (a.Line > b.Line) {
        bits |= cpLineAfter;
    }
    if (a.Char < b.Char) {
        bits |= cpCharBefore;
    }
    if (a.Char > b.Char) {
        bits |= cpCharAfter;
    }
    return bits;
}

void ShowText_StartSelection(TWindowData& window, TCharPoint point) {
    window.Layout.SelAnchor = point;
    window.Layout.SelEnd = point;
    ClearLineSelection(window.Layout);
}

void ShowText_ExtendSelection(TWindowData& window, TCharPoint point) {
    TLineLayout& layout = window.Layout;
    if (layout.LineCount <= 0 || point == layout.SelEnd) {
        return;
    }
    layout.SelEnd = point;
    ClearLineSelection(layout);
    if (point == layout.SelAnchor) {
        // Dragged back to where it started: nothing is selected any more.
        window.SelVisible = 0;
        return;
    }

    TCharPoint first = ClampPoint(layout, layout.SelAnchor);
    TCharPoint last = ClampPoint(layout, point);
    const int32_t order = ShowText_ComparePoints(first, last);
    if ((order & cpLineAfter) != 0 || (order == cpCharAfter)) {
        std::swap(first, last);
    }
    if (first.Line == last.Line) {
        SelectPart(layout.Line(first.Line), first.Char, last.Char - first.Char);
    } else {
        TDisplayLine& top = layout.Line(first.Line);
        SelectPart(top, first.Char, LineLength(top) - first.Char);
        for (int32_t i = first.Line + 1; i < last.Line; ++i) {
            SelectPart(layout.Line(i), 0, LineLength(layout.Line(i)));
        }
        SelectPart(layout.Line(last.Line), 0, last.Char);
    }
    window.SelBand = window.ClientRect;
    window.SelBand.Top = layout.Line(first.Line).Rect.Top - layout.FirstPixel;
    window.SelBand.Bottom = layout.Line(last.Line).Rect.Bottom - layout.FirstPixel;
    window.SelVisible = 1;
}

bool ShowText_IsClickableLine(const TWindowData& window, int32_t line) {
    return window.Layout.HasLine(line) && window.Layout.Line(line).Kind <= lkHeadword;
}

void ShowText_SetHotLine(TWindowData& window, int32_t line, int32_t fallback) {
    if (line == -1) {
        return;
    }
    if (ShowText_IsClickableLine(window, line)) {
        window.HotLine = line;
    } else if (ShowText_IsClickableLine(window, fallback)) {
        window.HotLine = fallback;
    } else {
        window.HotLine = -1;
    }
}

int32_t ShowText_NextEntryLine(const TWindowData& window, int32_t step) {
    const TLineLayout& layout = window.Layout;
    if (layout.LineCount <= 0) {
        return 0;
    }
    int32_t l = window.CaretLine;
    if (layout.HasLine(l) && layout.Line(l).Kind == lkHeadword) {
        l += step;
    }
    while (layout.HasLine(l) && layout.Line(l).Kind != lkHeadword) {
        l += step;
    }
    return std::clamp(l, 0, layout.LineCount - 1);
}

void ShowText_KeyDown(TWindowData& window, uint32_t key) {
    ShowText_KeyDown(window, key, ViewControlDown());
}

void ShowText_KeyDown(TWindowData& window, uint32_t key, bool control) {
    const TLineLayout& layout = window.Layout;
    if (layout.LineCount <= 0) {
        return;
    }
    const int32_t lastLine = layout.LineCount - 1;
    auto lengthOf = [&](int32_t line) { return LineLength(layout.Line(std::clamp(line, 0, lastLine))); };
    int32_t target = -1;
    switch (key) {
    case vkPageUp:
        if (control) {
            target = ShowText_NextEntryLine(window, -1);
            ShowText_SetCaret(window, 0, target, true);
        } else {
            ShowText_SetCaret(window, 0, window.CaretLine - window.PageLines, false);
            target = std::max(window.ScrollPos - window.PageLines, 0);
        }
        break;
    case vkPageDown:
        if (control) {
            target = ShowText_NextEntryLine(window, 1);
            ShowText_SetCaret(window, 0, target, true);
        } else {
            ShowText_SetCaret(window, 0, window.CaretLine + window.PageLines, false);
            target = window.ScrollPos + window.PageLines;
        }
        break;
    case vkEnd:
        target = control ? ShowText_SetCaret(window, lengthOf(lastLine), lastLine, true)
                         : ShowText_SetCaret(window, lengthOf(window.CaretLine), window.CaretLine, true);
        break;
    case vkHome:
        target = ShowText_SetCaret(window, 0, control ? 0 : window.CaretLine, true);
        break;
    case vkLeft:
        target = ShowText_SetCaret(window, window.CaretChar - 1, window.CaretLine, true);
        break;
    case vkRight:
        target = ShowText_SetCaret(window, window.CaretChar + 1, window.CaretLine, true);
        break;
    // Character 0 here: the column comes from CaretX, and a character past the new line's end
    // would move the caret on to the following line.
    case vkUp:
        target = ShowText_SetCaret(window, 0, window.CaretLine - 1, false);
        break;
    case vkDown:
        target = ShowText_SetCaret(window, 0, window.CaretLine + 1, false);
        break;
    default:
        break;
    }
    if (target >= 0) {
        ViewSendScroll(window.Window, scThumbPosition, target);
    }
}
