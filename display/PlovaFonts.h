#pragma once
// The font table of cards and popups: two entries, each a logical font description and the font
// object made from it. Entry 1 is the drawing font; its style is switched per line and per
// in-line marker by re-creating it with other style bits.

#include <windows.h>

#include <cstdint>

#include "display/FontStyle.h"

struct TFontEntry {
    HFONT Font = nullptr;      // the current font object; owned by the table, not by the entry
    LOGFONTW Description = {}; // what the font object was made from
};

constexpr int kFontEntryCount = 2;
constexpr int kDrawingFont = 1;

// Height > 0 replaces the description's height; style bits >= 0 replace its italic, underline
// and weight, -1 keeps them. The entry then gets the font object for the new description.
void CreateFontEntry(int index, int32_t height, int32_t style);

// The entry takes a whole description (a font chosen in the settings) and the font object for it.
void SetFontDescription(int index, const LOGFONTW& description);

// Italic, underline, and bold for a weight above normal up to the table's bold.
int32_t GetFontStyle(int index);

// Switches the entry's style and gives the previous style bits.
int32_t SetFontStyle(int index, int32_t style);

HFONT FontHandle(int index);
// The entry's font for a display of dpi: its height, given for 96 DPI, scaled.
HFONT FontHandle(int index, int dpi);
const LOGFONTW& FontDescription(int index);

// Creates both entries with the initial description (done on first use as well).
void PlovaFontsInit();

// Deletes every font object the table made. Only when no device context holds one any more.
void PlovaFontsDone();
