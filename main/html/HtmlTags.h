#pragma once
// The tags the reader knows and what each does. Portable.

#include <cstdint>
#include <string_view>

#include "main/html/HtmlReader.h"

// A block's blank lines: none (inline), 0 on lines of its own, 1 with a blank line around.
constexpr int kInline = -1;

// What an element does to the text inside it.
struct TEffect {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    uint32_t Colour = kHtmlDefaultColour; // unchanged
    int Size = 0;                         // absolute, 0 unchanged
    int SizeStep = 0;                     // then a step up or down
    bool Hidden = false;
    bool Preformatted = false;
};

enum class TTagKind {
    Style,   // an effect on its content: kept on the stack of open elements
    Font,    // an effect from COLOR and SIZE
    Anchor,  // a link when it has HREF
    Block,   // on lines of its own
    Item,    // a block with a bullet
    Cell,    // a blank between table cells
    Break,   // BR
    Body,    // ends HEAD
    Skipped, // its content up to its closing tag is dropped
};

struct TTagInfo {
    std::wstring_view Name; // lower case
    TTagKind Kind;
    int BlankLines;
    TEffect Effect;
};

// The tag of a name in any case, or null for a tag the reader ignores (its text is kept).
const TTagInfo* FindHtmlTag(std::wstring_view name);
