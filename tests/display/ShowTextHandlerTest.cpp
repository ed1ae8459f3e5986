// The view engine's state: scrolling, caret, selection, lines under points, hot lines and keys.

#include "display/ShowTextHandler.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/GlobalCustoms.h"
#include "tests/support/TestCustoms.h"
#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"
#include "tests/display/DisplayTestSupport.h"

namespace {

constexpr uint32_t kPageUp = VK_PRIOR, kPageDown = VK_NEXT, kEnd = VK_END, kHome = VK_HOME, kLeft = VK_LEFT,
                   kUp = VK_UP, kRight = VK_RIGHT, kDown = VK_DOWN;

uint32_t ScrollArgument(int32_t code, int32_t position = 0) {
    return static_cast<uint32_t>(code) | (static_cast<uint32_t>(position) << 16);
}

std::vector<TTestLine> NumberedLines(int count) {
    std::vector<TTestLine> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back({L"строка " + std::to_wstring(i), 4});
    }
    return lines;
}

struct TSelection {
    int32_t Start, Count, X;
    bool operator==(const TSelection& o) const { return Start == o.Start && Count == o.Count && X == o.X; }
};

std::vector<TSelection> Selections(const TLineLayout& layout) {
    std::vector<TSelection> all;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        const TDisplayLine& line = layout.Line(i);
        all.push_back({line.SelCount > 0 ? line.SelStart : 0, line.SelCount, line.SelX});
    }
    return all;
}

} // namespace

TEST(ShowTextScroll, CodesAtTheLimits) {
    struct Case {
        int32_t Pos, Max, Page;
        uint32_t Argument;
        bool Moved;
        int32_t NewPos;
    };
    const Case cases[] = {
        {0, 5, 3, ScrollArgument(scLineUp), false, 0},
        {2, 5, 3, ScrollArgument(scLineUp), true, 1},
        {5, 5, 3, ScrollArgument(scLineDown), false, 5},
        {4, 5, 3, ScrollArgument(scLineDown), true, 5},
        {2, 5, 3, ScrollArgument(scPageUp), true, 0},
        {0, 5, 3, ScrollArgument(scPageUp), true, 0},
        {4, 5, 3, ScrollArgument(scPageDown), true, 5},
        {1, 5, 3, ScrollArgument(scPageDown), true, 4},
        {0, 5, 3, ScrollArgument(scThumbPosition, 9), true, 5}, // clamped to the highest position
        {0, 5, 3, ScrollArgument(scThumbTrack, 3), true, 3},
        {2, 5, 3, ScrollArgument(6, 1), false, 2},
        {2, 5, 3, ScrollArgument(8), false, 2},
    };
    TTestView view(400, 200, true); // visible, so that a repaint shows as a paint message
    view.SetLines(NumberedLines(8));
    TWindowData& w = view.Data();
    ViewSetScrollRange(w.Window, 0, 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << (c.Argument & 0xFFFF) << " from " << c.Pos);
        w.ScrollPos = c.Pos;
        w.ScrollMax = c.Max;
        w.PageLines = c.Page;
        ViewSetScrollPos(w.Window, c.Pos);
        const int paints = view.PaintMessages();
        EXPECT_EQ(ShowText_Scroll(w.Window, c.Argument), c.Moved);
        EXPECT_EQ(w.ScrollPos, c.NewPos);
        EXPECT_EQ(GetScrollPos(view.Window(), SB_VERT), c.Moved ? c.NewPos : c.Pos);
        if (c.Moved) {
            EXPECT_GT(view.PaintMessages(), paints);
        } else {
            EXPECT_EQ(view.PaintMessages(), paints); // nothing repainted
        }
    }
}

TEST(ShowTextScroll, WindowWithoutDataDoesNothing) {
    TTestView view;
    ViewAttachWindowData(view.Window(), nullptr);
    EXPECT_FALSE(ShowText_Scroll(view.Window(), ScrollArgument(scThumbTrack, 1)));
    ViewAttachWindowData(view.Window(), &view.Data());
}

TEST(ShowTextScroll, ToTagAndToTheCurrentEntry) {
    TTestView view;
    view.SetLines(NumberedLines(10));
    TWindowData& w = view.Data();
    const int32_t tags[10] = {0, 1, -1, 2, 2, 2, -1, 3, 3, 4};
    for (int32_t i = 0; i < 10; ++i) {
        w.Layout.Line(i).Tag = tags[i];
    }
    w.Layout.Line(6).Dict = 1;
    w.Layout.Line(6).Entry = -1;
    w.Layout.Line(7).Dict = 1;
    w.Layout.Line(7).Entry = 12;
    w.ScrollMax = 8;
    ViewSetScrollRange(w.Window, 0, 8);

    EXPECT_TRUE(ShowText_ScrollToTag(w, 2));
    EXPECT_EQ(w.ScrollPos, 3);
    EXPECT_TRUE(ShowText_ScrollToTag(w, 4));
    EXPECT_EQ(w.ScrollPos, 8); // line 9, at most the highest position
    EXPECT_TRUE(ShowText_ScrollToTag(w, -1));
    EXPECT_EQ(w.ScrollPos, 8); // title lines carry no tag: none found

    TTestCustoms customs;
    TGlobalCustoms& block = customs.Block();
    block.CurDict = 1;
    block.CurEntry = 12;
    EXPECT_EQ(ShowText_CurrentEntryLine(w), 7);
    EXPECT_TRUE(ShowText_ScrollToEntry(w));
    EXPECT_EQ(w.ScrollPos, 7);
    block.CurEntry = 99;
    EXPECT_EQ(ShowText_CurrentEntryLine(w), 8);
    w.ScrollMax = 20;
    EXPECT_EQ(ShowText_CurrentEntryLine(w), 10);
}

TEST(ShowTextLines, NearestLineTiesGoToTheLaterLine) {
    TLineLayout layout;
    layout.Lines = std::make_unique<TDisplayLine[]>(3);
    layout.Capacity = layout.LineCount = 3;
    for (int32_t i = 0; i < 3; ++i) {
        layout.Line(i).Rect = {0, 16 * i, 100, 16 * i + 16}; // centres 8, 24, 40
    }
    struct Case {
        int32_t FirstPixel, Y, Line;
    };
    const Case cases[] = {
        {0, -50, 0}, {0, 8, 0},  {0, 15, 0}, {0, 16, 1}, // 16 is 8 from both centres
        {0, 31, 1},  {0, 32, 2}, {0, 500, 2}, {16, 0, 1}, {16, 16, 2}, {16, -1, 0},
    };
    for (const Case& c : cases) {
        layout.FirstPixel = c.FirstPixel;
        EXPECT_EQ(ShowText_NearestLine(layout, {5, c.Y}), c.Line) << c.FirstPixel << " " << c.Y;
    }
}

TEST(ShowTextLines, LineAtPointFromTheFirstVisibleLine) {
    TTestView view;
    view.SetLines(NumberedLines(4));
    TWindowData& w = view.Data();
    const TDisplayLine& line2 = w.Layout.Line(2);
    const TClientPoint inside2 = {line2.Rect.Left + 1, line2.Rect.Top + 1};
    EXPECT_EQ(ShowText_LineAtPoint(w, inside2), 2);
    EXPECT_EQ(ShowText_LineAtPoint(w, {line2.Rect.Right, line2.Rect.Bottom}), 2); // edges belong to the first
    EXPECT_EQ(ShowText_LineAtPoint(w, {line2.Rect.Right + 1, line2.Rect.Top + 1}), -1);
    EXPECT_EQ(ShowText_LineAtPoint(w, {1, line2.Rect.Top + 1}), -1);
    w.Layout.FirstPixel = line2.Rect.Top;
    w.ScrollPos = 2;
    EXPECT_EQ(ShowText_LineAtPoint(w, {inside2.X, 1}), 2);
    w.ScrollPos = 3;
    EXPECT_EQ(ShowText_LineAtPoint(w, {inside2.X, 1}), -1); // lines above the first visible one are skipped
    EXPECT_TRUE(ShowText_PointInRect({0, 10, 5, 20}, {5, 5}, 5));
    EXPECT_FALSE(ShowText_PointInRect({0, 10, 5, 20}, {5, 16}, 5));
}

TEST(ShowTextCaret, CharAtXTakesTheNearestBoundary) {
    TTestView view;
    view.SetLines({{L"абвг", 4}});
    TWindowData& w = view.Data();
    const TDisplayLine& line = w.Layout.Line(0);
    struct Case {
        int32_t X, Char;
    };
    const int32_t b1 = line.CharX[1];
    const int32_t b2 = line.CharX[2];
    const Case cases[] = {
        {-100, 0}, {line.CharX[0], 0}, {b1, 1}, {b1 + 1, 1}, {b2 - 1, 2}, {line.CharX[4], 4}, {5000, 4},
    };
    for (const Case& c : cases) {
        w.CaretX = c.X;
        EXPECT_EQ(ShowText_CharAtX(w, 0), c.Char) << c.X;
    }
    EXPECT_EQ(ShowText_CharAtX(w, 7), 0);
}

TEST(ShowTextCaret, MovesAcrossLineEnds) {
    TTestView view;
    view.SetLines({{L"один", 4}, {L"два", 4}, {L"три", 4}, {L"четыре", 4}});
    TWindowData& w = view.Data();
    struct Case {
        int32_t Char, Line;
        uint32_t Key;
        int32_t NewChar, NewLine;
    };
    const Case cases[] = {
        {0, 3, kLeft, 3, 2},  // from the start of line 3 to the end of line 2
        {3, 2, kRight, 0, 3}, // from the end of line 2 to the start of line 3
        {6, 3, kRight, 6, 3}, // past the end of the last line: stays there
        {0, 0, kLeft, 0, 0},
        {2, 1, kHome, 0, 1},
        {1, 1, kEnd, 3, 1},
    };
    for (const Case& c : cases) {
        ShowText_SetCaret(w, c.Char, c.Line, true);
        ShowText_KeyDown(w, c.Key, false);
        EXPECT_EQ(w.CaretChar, c.NewChar) << c.Char << "," << c.Line << " key " << c.Key;
        EXPECT_EQ(w.CaretLine, c.NewLine) << c.Char << "," << c.Line << " key " << c.Key;
        EXPECT_EQ(w.CaretX, w.Layout.Line(c.NewLine).CharX[c.NewChar] - 1);
    }
    ShowText_SetCaret(w, 2, 1, true);
    ShowText_KeyDown(w, kEnd, true);
    EXPECT_EQ(w.CaretLine, 3);
    EXPECT_EQ(w.CaretChar, 6);
    ShowText_KeyDown(w, kHome, true);
    EXPECT_EQ(w.CaretLine, 0);
    EXPECT_EQ(w.CaretChar, 0);
    EXPECT_EQ(ShowText_SetCaret(w, 2, 99, true), -1);
    EXPECT_EQ(w.CaretLine, 3); // clamped to the last line
}

TEST(ShowTextCaret, UpAndDownKeepTheColumn) {
    TTestView view;
    view.SetLines({{L"abcdef", 4}, {L"ab", 4}, {L"abcdef", 4}});
    TWindowData& w = view.Data();
    ShowText_SetCaret(w, 5, 0, true);
    const int32_t column = w.CaretX;
    ShowText_KeyDown(w, kDown, false);
    EXPECT_EQ(w.CaretLine, 1);
    EXPECT_EQ(w.CaretChar, 2);
    ShowText_KeyDown(w, kDown, false);
    EXPECT_EQ(w.CaretLine, 2);
    EXPECT_EQ(w.CaretChar, 5);
    EXPECT_EQ(w.CaretX, column);
    ShowText_KeyDown(w, kUp, false);
    ShowText_KeyDown(w, kUp, false);
    EXPECT_EQ(w.CaretLine, 0);
    EXPECT_EQ(w.CaretChar, 5);
}

TEST(ShowTextCaret, ScrollTargetKeepsTheCaretLineVisible) {
    TTestView view;
    view.SetLines(NumberedLines(12));
    TWindowData& w = view.Data();
    const int32_t height = w.Layout.Line(0).ExtentHeight;
    view.SetClientHeight(4 * height + height / 2); // four whole lines
    w.ScrollMax = 8;
    ViewSetScrollRange(w.Window, 0, 8);
    EXPECT_EQ(ShowText_SetCaret(w, 0, 2, true), -1);
    EXPECT_EQ(ShowText_SetCaret(w, 0, 5, true), 2); // lines 2..5 show line 5 whole
    EXPECT_EQ(ShowText_SetCaret(w, 0, 11, true), 8);

    // Down from the last visible line scrolls by the key's own scroll message.
    ShowText_SetCaret(w, 0, 3, true);
    w.ScrollPos = 0;
    ShowText_KeyDown(w, kDown, false);
    EXPECT_EQ(w.CaretLine, 4);
    EXPECT_EQ(w.ScrollPos, 1);
}

TEST(ShowTextKeys, PagesAndEntryLines) {
    TTestView view;
    std::vector<TTestLine> lines = NumberedLines(14);
    lines[3].Kind = lkHeadword;
    lines[8].Kind = lkHeadword;
    view.SetLines(lines);
    TWindowData& w = view.Data();
    w.ScrollMax = 10;
    w.PageLines = 4;
    ViewSetScrollRange(w.Window, 0, 10);

    ShowText_SetCaret(w, 0, 0, true);
    EXPECT_EQ(ShowText_NextEntryLine(w, 1), 3);
    EXPECT_EQ(ShowText_NextEntryLine(w, -1), 0);
    ShowText_SetCaret(w, 0, 3, true);
    EXPECT_EQ(ShowText_NextEntryLine(w, 1), 8); // steps off its own headword first
    EXPECT_EQ(ShowText_NextEntryLine(w, -1), 0);
    ShowText_SetCaret(w, 0, 9, true);
    EXPECT_EQ(ShowText_NextEntryLine(w, 1), 13);
    EXPECT_EQ(ShowText_NextEntryLine(w, -1), 8);

    ShowText_SetCaret(w, 2, 0, true);
    ShowText_KeyDown(w, kPageDown, true);
    EXPECT_EQ(w.CaretLine, 3);
    EXPECT_EQ(w.CaretChar, 0);
    EXPECT_EQ(w.ScrollPos, 3);
    ShowText_KeyDown(w, kPageDown, true);
    EXPECT_EQ(w.CaretLine, 8);
    EXPECT_EQ(w.ScrollPos, 8);
    ShowText_KeyDown(w, kPageUp, true);
    EXPECT_EQ(w.CaretLine, 3);
    EXPECT_EQ(w.ScrollPos, 3);

    w.ScrollPos = 1;
    ShowText_SetCaret(w, 0, 2, true);
    ShowText_KeyDown(w, kPageDown, false);
    EXPECT_EQ(w.CaretLine, 6);
    EXPECT_EQ(w.ScrollPos, 5);
    ShowText_KeyDown(w, kPageDown, false);
    ShowText_KeyDown(w, kPageDown, false);
    EXPECT_EQ(w.CaretLine, 13);
    EXPECT_EQ(w.ScrollPos, 10);
    ShowText_KeyDown(w, kPageUp, false);
    EXPECT_EQ(w.CaretLine, 9);
    EXPECT_EQ(w.ScrollPos, 6);

    const int32_t before = w.ScrollPos;
    ShowText_KeyDown(w, 'A', false);
    EXPECT_EQ(w.ScrollPos, before);
    EXPECT_EQ(w.CaretLine, 9);
}

TEST(ShowTextSelection, ComparePointsBits) {
    struct Case {
        TCharPoint A, B;
        int32_t Bits;
    };
    const Case cases[] = {
        {{1, 1}, {1, 1}, 0},  {{1, 0}, {1, 1}, 1}, {{1, 2}, {1, 1}, 2},
        {{0, 1}, {1, 1}, 4},  {{2, 1}, {1, 1}, 8}, {{5, 0}, {1, 1}, 1 | 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowText_ComparePoints(c.A, c.B), c.Bits);
    }
}

TEST(ShowTextSelection, DraggedUpwardEqualsDraggedDownward) {
    TTestView view;
    view.SetLines({{L"первая строка", 4}, {L"вторая", 4}, {L"третья строка", 4}, {L"четвёртая", 4}});
    TWindowData& w = view.Data();
    struct Case {
        TCharPoint A, B;
    };
    const Case cases[] = {{{3, 0}, {5, 2}}, {{2, 1}, {6, 1}}, {{0, 0}, {9, 3}}, {{6, 1}, {0, 2}}};
    for (const Case& c : cases) {
        ShowText_StartSelection(w, c.A);
        ShowText_ExtendSelection(w, c.B);
        const std::vector<TSelection> down = Selections(w.Layout);
        const TRect bandDown = w.SelBand;
        ShowText_StartSelection(w, c.B);
        ShowText_ExtendSelection(w, c.A);
        EXPECT_EQ(Selections(w.Layout), down);
        EXPECT_EQ(w.SelBand.Top, bandDown.Top);
        EXPECT_EQ(w.SelBand.Bottom, bandDown.Bottom);
        EXPECT_EQ(w.SelVisible, 1);
        EXPECT_EQ(w.Layout.SelAnchor, c.B);
        EXPECT_EQ(w.Layout.SelEnd, c.A);
    }
}

TEST(ShowTextSelection, CoversTheLinesBetweenTheTwoPoints) {
    TTestView view;
    view.SetLines({{L"первая строка", 4}, {L"вторая", 4}, {L"третья строка", 4}, {L"четвёртая", 4}});
    TWindowData& w = view.Data();
    ShowText_StartSelection(w, {5, 2});
    ShowText_ExtendSelection(w, {7, 0});
    const TLineLayout& layout = w.Layout;
    const std::vector<TSelection> expected = {
        {7, 6, layout.Line(0).CharX[7]}, {0, 6, layout.Line(1).CharX[0]}, {0, 5, layout.Line(2).CharX[0]}, {0, 0, 0}};
    EXPECT_EQ(Selections(layout), expected);
    const std::wstring selected[] = {L"строка", L"вторая", L"треть"};
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(std::wstring(layout.Line(i).SelText(), layout.Line(i).SelCount), selected[i]) << i;
    }
    EXPECT_EQ(layout.Line(3).SelText(), nullptr);
    EXPECT_EQ(w.SelBand.Top, layout.Line(0).Rect.Top);
    EXPECT_EQ(w.SelBand.Bottom, layout.Line(2).Rect.Bottom);
    EXPECT_EQ(w.SelBand.Left, w.ClientRect.Left);
    EXPECT_EQ(w.SelBand.Right, w.ClientRect.Right);

    // Back at the anchor: nothing stays selected.
    ShowText_ExtendSelection(w, {5, 2});
    EXPECT_EQ(w.SelVisible, 0);
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        EXPECT_EQ(layout.Line(i).SelCount, 0);
    }

    // A new press clears the old selection.
    ShowText_ExtendSelection(w, {2, 3});
    ShowText_StartSelection(w, {1, 1});
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        EXPECT_EQ(layout.Line(i).SelCount, 0);
        EXPECT_EQ(layout.Line(i).SelText(), nullptr);
    }
}

TEST(ShowTextSelection, SelectedTextFollowsTheRecordWhenLinesMove) {
    TTestView view;
    view.SetLines({{L"заголовок", 1}, {L"статья", 4}}, 1);
    TWindowData& w = view.Data();
    ShowText_StartSelection(w, {1, 1});
    ShowText_ExtendSelection(w, {4, 1});
    // A row expands: the lines after it move down by one record.
    TLineLayout& layout = w.Layout;
    layout.Line(2) = std::move(layout.Line(1));
    layout.Line(1) = TDisplayLine();
    layout.LineCount = 3;
    ASSERT_NE(layout.Line(2).SelText(), nullptr);
    EXPECT_EQ(std::wstring(layout.Line(2).SelText(), layout.Line(2).SelCount), L"тат");
}

TEST(ShowTextLines, HotLineAndClickableKinds) {
    TTestView view;
    view.SetLines({{L"СҮЗ", 0}, {L"СҮЗ/ЛӘР", 1}, {L"Татарча", 2}, {L"сүз", 3}, {L"слово", 4}, {L"нота", 5}});
    TWindowData& w = view.Data();
    const bool clickable[6] = {true, true, true, true, false, false};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(ShowText_IsClickableLine(w, i), clickable[i]) << i;
    }
    EXPECT_FALSE(ShowText_IsClickableLine(w, -1));
    EXPECT_FALSE(ShowText_IsClickableLine(w, 6));
    struct Case {
        int32_t Before, Line, Fallback, After;
    };
    const Case cases[] = {
        {5, -1, 2, 5}, {-1, 2, 3, 2}, {-1, 4, 3, 3}, {2, 4, 5, -1}, {2, 5, -1, -1}, {-1, 0, 4, 0},
    };
    for (const Case& c : cases) {
        w.HotLine = c.Before;
        ShowText_SetHotLine(w, c.Line, c.Fallback);
        EXPECT_EQ(w.HotLine, c.After) << c.Line << " " << c.Fallback;
    }
}
