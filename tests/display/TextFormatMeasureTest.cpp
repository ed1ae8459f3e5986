// Measuring and link hit testing, on a real window's device context and on a recording canvas.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/TextFormat.h"
#include "display/win32/ViewWindow.h"
#include "tests/display/DisplayTestSupport.h"

namespace {

int32_t Width(const TDisplayLine& line, int32_t unit) {
    return line.CharX[unit + 1] - line.CharX[unit];
}

int32_t Middle(const TDisplayLine& line, int32_t unit) {
    return (line.CharX[unit] + line.CharX[unit + 1]) / 2;
}

} // namespace

TEST(MeasureLines, MarkersMeasureAsBlanks) {
    TTestView view;
    std::vector<TTestLine> lines = {{L"x x", 4}};
    const std::wstring markers = L"@$\x0402\x0403`^{}zg";
    for (const wchar_t m : markers) {
        lines.push_back({std::wstring(L"x") + m + L"x", 4});
    }
    view.SetLines(lines);
    const int32_t blank = Width(view.Layout().Line(0), 1);
    ASSERT_GT(blank, 0);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(Width(view.Layout().Line(static_cast<int32_t>(i)), 1), blank) << static_cast<int>(markers[i - 1]);
    }
}

TEST(MeasureLines, GeometryFollowsTheLines) {
    TTestView view;
    view.SetLines({{L"СҮЗ", 0}, {L"СҮЗ/ЛӘР", 1}, {L"Татарча", 2}, {L"сүз", 3}, {L"слово {сл.} zрусg", 4}, {L"", 4},
                   {L"ещё", 4}});
    TWindowData& w = view.Data();
    const TLineLayout& layout = w.Layout;
    EXPECT_GT(layout.TextHeight, 0);
    int32_t widest = 0;
    int32_t y = 0;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        const TDisplayLine& line = layout.Line(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(line.Rect.Top, y);
        EXPECT_EQ(line.Rect.Bottom, y + line.ExtentHeight);
        EXPECT_EQ(line.ExtentRight, line.CharX[line.Length]);
        EXPECT_EQ(line.Rect.Right, line.ExtentRight);
        EXPECT_EQ(line.CharX[0], line.Rect.Left);
        for (int32_t k = 0; k < line.Length; ++k) {
            EXPECT_GT(Width(line, k), 0) << k;
        }
        y = line.Rect.Bottom;
        widest = std::max(widest, line.ExtentRight);
    }
    // Indents are whole average widths: title 1, headword 2, article 3.
    const int32_t average = layout.Line(2).Rect.Left - 10;
    EXPECT_GT(average, 0);
    EXPECT_EQ(layout.Line(0).Rect.Left, 10);
    EXPECT_EQ(layout.Line(3).Rect.Left - 10, 2 * average);
    EXPECT_EQ(layout.Line(4).Rect.Left - 10, 3 * average);
    // An empty line has its left boundary only, and no height.
    EXPECT_EQ(layout.Line(5).ExtentHeight, 0);
    EXPECT_EQ(layout.Line(5).ExtentRight, layout.Line(5).Rect.Left);
    EXPECT_EQ(w.ContentWidth, widest);
    EXPECT_EQ(w.ContentHeight, y);
}

TEST(MeasureLines, ContentHeightStopsAtThePageAndPageLinesNeverRises) {
    TRecordingCanvas canvas;
    TTestView view;
    view.SetLines({{L"a", 4}, {L"b", 4}, {L"c", 4}, {L"d", 4}});
    TWindowData& w = view.Data();
    w.PageLines = 2;
    TTextExtent size = MeasureLines(w, canvas, 10, 5);
    EXPECT_EQ(size.Height, 5 + 2 * 16);
    EXPECT_EQ(w.ContentHeight, 5 + 4 * 16);
    EXPECT_EQ(w.PageLines, 2);
    EXPECT_EQ(size.Width, 10 + 3 * 10 + 10);
    w.PageLines = 9;
    size = MeasureLines(w, canvas, 10, 0);
    EXPECT_EQ(w.PageLines, 4);
    EXPECT_EQ(size.Height, 4 * 16);
}

TEST(MeasureLines, StylesSwitchAtMarkersAndNeverCarryToTheNextLine) {
    // The wrapped continuation of a marker opened on the line before starts in its own style.
    TLangSearchResult result;
    TBaseSearchResult analysis;
    TDictSearchResult dict;
    dict.Items = {{1, L"", L"{aaa bbb ccc}", 0, 0}};
    analysis.Dictionaries = {dict};
    result.Results = {analysis};
    TWindowData w;
    ASSERT_TRUE(LayoutSearchResult(w.Layout, result, 5));
    ASSERT_EQ(w.Layout.LineCount, 4);
    EXPECT_EQ(std::wstring(w.Layout.Line(1).Text), L"{aaa");
    EXPECT_EQ(std::wstring(w.Layout.Line(2).Text), L"bbb");
    EXPECT_EQ(std::wstring(w.Layout.Line(3).Text), L"ccc}");
    TRecordingCanvas canvas;
    MeasureLines(w, canvas, 0, 0);
    // Line 0 (empty word) measures nothing; then {aaa, bbb, ccc}.
    const std::vector<int32_t> styles = {0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(canvas.MeasuredStyles, styles);
}

TEST(MeasureLines, TwoMarkersInARowBothSwitch) {
    TWindowData w;
    w.Layout.Lines = std::make_unique<TDisplayLine[]>(1);
    w.Layout.Capacity = w.Layout.LineCount = 1;
    TDisplayLine& line = w.Layout.Line(0);
    const std::wstring text = L"z`ab^gc";
    std::copy(text.begin(), text.end(), line.Text);
    line.Length = static_cast<int32_t>(text.size());
    TRecordingCanvas canvas;
    MeasureLines(w, canvas, 0, 0);
    const std::vector<int32_t> styles = {0, 4, 5, 5, 4, 0, 0};
    EXPECT_EQ(canvas.MeasuredStyles, styles);
}

TEST(HitTestLink, FindsTheLinkUnderX) {
    struct Case {
        std::wstring Text;
        int32_t Unit;
        bool Found;
        wchar_t Marker;
        std::wstring Link;
        int32_t LinkChar;
    };
    const Case cases[] = {
        {L"see @word$ here", 6, true, L'@', L"word", 4},
        {L"see @word$ here", 4, true, L'@', L"word", 4},   // on the opening marker
        {L"see @word$ here", 9, false, 0, L"", -1},        // on the closing marker
        {L"see @word$ here", 12, false, 0, L"", -1},
        {L"see @word$ here", 1, false, 0, L"", -1},
        {L"\x0402" L"abc\x0403", 2, true, L'\x0402', L"abc", 0},
        {L"\x0402" L"a$b\x0403 c", 3, true, L'\x0402', L"a$b", 0}, // runs to its own closing marker
        {L"@a \x0403 b$ c", 5, true, L'@', L"a \x0403 b", 0},
        {L"x @to the end", 6, true, L'@', L"to the end", 2},      // closed on a later line
        {L"a$ @b$", 4, true, L'@', L"b", 3},                      // a stray closing marker
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Unit);
        TTestView view;
        view.SetLines({{c.Text, 4}});
        TWindowData& w = view.Data();
        const TDisplayLine& line = w.Layout.Line(0);
        wchar_t marker = L'?';
        int32_t length = -1;
        const wchar_t* text = nullptr;
        EXPECT_EQ(HitTestLink(w, 0, Middle(line, c.Unit), marker, length, text), c.Found);
        EXPECT_EQ(marker, c.Marker);
        EXPECT_EQ(w.LinkChar, c.LinkChar);
        EXPECT_EQ(w.LinkLine, c.Found ? 0 : -1);
        if (c.Found) {
            EXPECT_EQ(std::wstring(text, length), c.Link);
        } else {
            EXPECT_EQ(text, nullptr);
            EXPECT_EQ(length, 0);
        }
    }
}

TEST(HitTestLink, NoLineNoLink) {
    TTestView view;
    view.SetLines({{L"@a$", 4}});
    TWindowData& w = view.Data();
    w.LinkChar = 5;
    w.LinkLine = 5;
    wchar_t marker = 0;
    int32_t length = 0;
    const wchar_t* text = nullptr;
    EXPECT_FALSE(HitTestLink(w, -1, 20, marker, length, text));
    EXPECT_EQ(w.LinkChar, -1);
    EXPECT_EQ(w.LinkLine, -1);
    EXPECT_FALSE(HitTestLink(w, 1, 20, marker, length, text));
}
