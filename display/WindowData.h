#pragma once
// The state of a card or popup window and its laid-out lines. In-memory records: handles are the
// system's (kept as void* so that portable code can hold them), colours are COLORREF values.

#include <cstdint>
#include <memory>

#include "core/CommonTypes.h"

using TWindowHandle = void*; // HWND
using TMenuHandle = void*;   // HMENU
using TColour = uint32_t;    // COLORREF: 0x00BBGGRR

constexpr TColour Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColour>(r) | (static_cast<TColour>(g) << 8) | (static_cast<TColour>(b) << 16);
}

// A line's text has 128 slots, but holds at most 127 units: CharX needs one boundary more than
// the text has units, and the paint walk reads the unit after the last.
constexpr int32_t kLineSlots = 128;
constexpr int32_t kMaxLineLength = kLineSlots - 1;
constexpr int32_t kWordSlots = 64;

// Line kinds.
constexpr uint8_t lkWord = 0;
constexpr uint8_t lkAnalysis = 1;
constexpr uint8_t lkTitle = 2;
constexpr uint8_t lkHeadword = 3;
constexpr uint8_t lkArticle = 4;
constexpr uint8_t lkGrammarNote = 5;

struct TCharPoint {
    int32_t Char = 0;
    int32_t Line = 0;
    bool operator==(const TCharPoint& other) const { return Char == other.Char && Line == other.Line; }
    bool operator!=(const TCharPoint& other) const { return !(*this == other); }
};

struct TSubLine {
    wchar_t Text[kLineSlots] = {};
    int32_t Length = 0;
    uint8_t Kind = lkGrammarNote;
    TColour Colour = 0;
    uint8_t Style = 0;
    int32_t Indent = 0;
};

struct TDisplayLine {
    wchar_t Text[kLineSlots] = {};
    int32_t Length = 0;
    // The first selected unit. Worked out from SelStart, so it stays right when rows expanding
    // or collapsing move whole line records.
    const wchar_t* SelText() const { return SelCount > 0 ? Text + SelStart : nullptr; }
    int32_t SelX = 0;
    int32_t SelStart = 0;
    int32_t SelCount = 0;
    uint8_t Kind = 0;
    int32_t Tag = 0;
    int32_t Dict = 0;
    int32_t Entry = 0;
    int32_t ExtentRight = 0;
    int32_t ExtentHeight = 0;
    TRect Rect = {};
    uint16_t CharX[kLineSlots] = {};
    int32_t SubCount = 0;
    std::unique_ptr<TSubLine[]> SubLines; // kind 1 rows only
    uint8_t Expanded = 0;
    int32_t ExpandFirst = 0;
    int32_t ExpandLast = 0;
    TColour Colour = 0;
    uint8_t Style = 0;
    int32_t Indent = 0;
};

struct TLineLayout {
    wchar_t Word[kWordSlots] = {};
    int32_t LineCount = 0;
    int32_t SubLineTotal = 0;
    int32_t Capacity = 0;
    int32_t TextHeight = 0;
    TCharPoint SelAnchor;
    TCharPoint SelEnd;
    int32_t FirstPixel = 0;
    std::unique_ptr<TDisplayLine[]> Lines; // Capacity records

    TDisplayLine& Line(int32_t index) { return Lines[index]; }
    const TDisplayLine& Line(int32_t index) const { return Lines[index]; }
    bool HasLine(int32_t index) const { return index >= 0 && index < LineCount; }
};

struct TWindowData {
    TWindowHandle Window = nullptr;
    TWindowHandle PopupCard = nullptr;
    int32_t LinkChar = 0;
    int32_t LinkLine = 0;
    TColour Background = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t Focused = 0;
    int32_t FrameHeight = 0;
    TRect WindowRect = {};
    TWindowHandle PrevWindow = nullptr;
    TSearchResult Result;
    TLineLayout Layout;
    int32_t ContentWidth = 0;
    int32_t ContentHeight = 0;
    TRect ClientRect = {};
    int32_t MouseLine = 0;
    int32_t HotLine = 0;
    int32_t CaretChar = 0;
    int32_t CaretLine = 0;
    int32_t CaretX = 0;
    int32_t ScrollMax = 0;
    int32_t ScrollMin = 0;
    int32_t ScrollPos = 0;
    int32_t PageLines = 0;
    int32_t PaintedCount = 0;
    TRect SelBand = {};
    uint8_t SelVisible = 0;
    TMenuHandle PopupMenu = nullptr;
    uint8_t ScrollBarShown = 0;
    uint8_t LeaveTimer = 0;
    uint8_t Painting = 0;
};
