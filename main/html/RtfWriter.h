#pragma once
// The runs of the HTML reader as one RTF document for a rich edit control to take in one go.
// Portable: no windows here.

#include <string>
#include <vector>

#include "main/html/HtmlReader.h"

// The one font of the document.
constexpr char kRtfFontName[] = "Tahoma";

// Half-points of a size on the FONT SIZE scale: 3, the normal size, is 10 points, and the others
// keep a browser's proportions to it.
int RtfHalfPoints(int htmlSize);

// ASCII only: every other UTF-16 unit is written as \uN with '?' for readers without Unicode.
std::string WriteRtf(const std::vector<THtmlRun>& runs);
