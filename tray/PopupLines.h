#pragma once
// The popup's compact lines of one language's search result: the word, each analysis, and each
// hit's headword with only a few lines of its translation, fewer the more hits there are. The
// same line records as the card's layout, measured and painted by the view engine.

#include <cstdint>

#include "core/CommonTypes.h"
#include "display/WindowData.h"

// The popup wraps its translations at this many units.
constexpr int32_t kPopupLineWidth = 63;
// Translation lines of a result with a single hit.
constexpr int32_t kPopupTextLines = 16;

// 16 div the number of hits, at least 1; a result without hits counts as one.
int32_t LinesPerEntry(int32_t hits);
// The hits over all analyses and dictionaries.
int32_t CountResultEntries(const TLangSearchResult& result);
// The lines BuildPopupLines makes, with the translation budget of each hit.
int32_t CountPopupLines(const TLangSearchResult& result, int32_t width, int32_t& linesPerEntry);
// Fills the layout (emptied first); false, with no line array, when the result has no analysis.
// Like the card, it stops at kMaxLayoutLines, the last of them saying the rest was cut.
bool BuildPopupLines(TLineLayout& layout, const TLangSearchResult& result, int32_t width);
