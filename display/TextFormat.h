#pragma once
// Article mark-up (links, italics, bold inside article texts), its conversions to HTML and to
// plain text, and the layout of one language's search result into display lines: wrapping,
// colours, styles and indents per line kind, pixel measuring and link hit testing.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CommonTypes.h"
#include "display/FontStyle.h"
#include "display/TextCanvas.h"
#include "display/WindowData.h"

// Mark-up characters.
constexpr wchar_t mkLinkOn = L'@';
constexpr wchar_t mkLinkOff = L'$';
constexpr wchar_t mkUnderlineOn = L'\x0402';
constexpr wchar_t mkUnderlineOff = L'\x0403';
constexpr wchar_t mkQuoteOn = L'`';
constexpr wchar_t mkQuoteOff = L'^';
constexpr wchar_t mkBraceOn = L'{';
constexpr wchar_t mkBraceOff = L'}';
constexpr wchar_t mkBoldOn = L'z';
constexpr wchar_t mkBoldOff = L'g';

bool IsStyleMarker(wchar_t c);
bool IsStyleOn(wchar_t c);
bool IsStyleOff(wchar_t c);
bool IsLinkOpen(wchar_t c);
bool IsLinkClose(wchar_t c);
bool IsBreakChar(wchar_t c);

class TExternalStyles {
public:
    int32_t BraceStyle = fsItalic;
    int32_t BoldStyle = fsBold;
    int32_t QuoteStyle = fsItalic;

    // The HTML tag of a marker; empty for the underline markers and any other character.
    const wchar_t* TagFor(wchar_t c) const;
    // The font style bits a marker switches; 0 for the link markers and any other character.
    int32_t StyleBitFor(wchar_t c) const;
};
extern const TExternalStyles ExternalStyles;

struct TLineStyle {
    TColour Colour;
    uint8_t Style;
    int32_t Indent; // in average character widths
};
extern const TLineStyle LineStyles[6]; // by line kind

constexpr TColour LinkColour = Rgb(0, 128, 255);
constexpr TColour UnderlineColour = Rgb(0, 0, 255);
constexpr int32_t UnderlineStyle = fsUnderline;
constexpr TColour PopupBackground = Rgb(235, 232, 215);
constexpr TColour CardBackground = Rgb(255, 255, 255);

std::wstring StripAmpersands(std::wstring_view text);
// count -1: up to the terminating zero.
void StripAmpersandsInPlace(wchar_t* buffer, int32_t count);

// Every marker becomes a blank followed by its HTML tag.
std::wstring MarkersToTags(std::wstring_view text);
// Every marker becomes a blank, except a marker in the last place, which is dropped.
std::wstring StripMarkers(std::wstring_view text);

// One wrapped chunk: skips the blanks at text (moving the caller's pointer), then gives in length
// the chunk's units, at most maximum. It ends at the last break character (or the text's end)
// within reach, which starts the next chunk; a word too long for that is cut after minimum units.
// Length 0 only when nothing but blanks remained.
void FindLineBreak(int32_t minimum, const wchar_t*& text, int32_t& length, int32_t maximum);

// At most this many lines and grammar-note chunks: far above any card's line limit (64), so only a
// runaway result reaches it. Its last line is then LayoutCutTexts of the interface language.
constexpr int32_t kMaxLayoutLines = 2000;
extern const wchar_t* const LayoutCutTexts[kLanguageCount]; // Tatar first
// The last line of a layout cut at kMaxLayoutLines: LayoutCutTexts of the interface language.
void MakeLayoutCutLine(TDisplayLine& line);

// Fills the layout with the lines of one language's result, wrapped at width units (cards use 63).
// False, with an empty layout, when the result has no analysis.
bool LayoutSearchResult(TLineLayout& layout, const TLangSearchResult& result, int32_t width);

// Pixel geometry of one line starting at x.
void MeasureLine(ITextMeasurer& measurer, TDisplayLine& line, int32_t x);

// Pixel geometry of every line, line 0 at top; gives the widest right edge and the bottom of the
// PageLines-th line.
TTextExtent MeasureLines(TWindowData& window, ITextMeasurer& measurer, int32_t left, int32_t top);

// The link under x on a line: its marker, and where its text starts and how long it is.
bool HitTestLink(TWindowData& window, int32_t line, int32_t x, wchar_t& marker, int32_t& length,
                 const wchar_t*& text);
