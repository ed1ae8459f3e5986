#pragma once
// A lenient reader of the HTML the main program shows (articles, paradigm forms, help pages): it
// turns the text into styled runs the way a browser would lay them out, forgiving tags that are
// left open or closed out of order. Portable: no windows here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The FONT SIZE scale: 1 smallest, 3 normal, 7 largest.
constexpr int kHtmlMinSize = 1;
constexpr int kHtmlNormalSize = 3;
constexpr int kHtmlMaxSize = 7;
// The control's own text colour; any other colour is 0xRRGGBB.
constexpr uint32_t kHtmlDefaultColour = 0xFFFFFFFFu;

struct THtmlStyle {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    uint32_t Colour = kHtmlDefaultColour;
    int Size = kHtmlNormalSize;

    bool operator==(const THtmlStyle& other) const {
        return Bold == other.Bold && Italic == other.Italic && Underline == other.Underline && Colour == other.Colour &&
               Size == other.Size;
    }
    bool operator!=(const THtmlStyle& other) const { return !(*this == other); }
};

// Text in one style, or a line break (empty text) whose style is that of the line's end.
// Neighbouring text runs always differ in style. A hard blank (&nbsp;) is U+00A0.
struct THtmlRun {
    std::wstring Text;
    THtmlStyle Style;
    bool LineBreak = false;
};

// Never reads outside the text, whatever it holds; a tag left unterminated ends the text.
std::vector<THtmlRun> ReadHtml(std::wstring_view html);
