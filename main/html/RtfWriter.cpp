#include "main/html/RtfWriter.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace {

// A colour's number in the document's colour table; \cf0 is the control's own colour.
using TColourIndex = std::unordered_map<uint32_t, long>;

// Sizes 1..7 as a browser scales them against its normal size: 3/4, 8/9, 1, 6/5, 3/2, 2, 3.
constexpr int kHalfPoints[kHtmlMaxSize] = {15, 18, 20, 24, 30, 40, 60};

void AppendNumber(std::string& out, long value) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%ld", value);
    out.append(digits, static_cast<size_t>(length));
}

void AppendText(std::string& out, const std::wstring& text) {
    for (const wchar_t c : text) {
        if (c == L'\\' || c == L'{' || c == L'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == L'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x80) {
            out += static_cast<char>(c);
        } else if (c >= 0x80) {
            // \u takes a signed 16-bit number.
            out += "\\u";
            AppendNumber(out, static_cast<long>(static_cast<int16_t>(static_cast<uint16_t>(c))));
            out += '?';
        }
    }
}

// Opens the run's group: its character format over the document's default. A blank ends the
// control words; with none, a blank would be text.
void AppendStyle(std::string& out, const THtmlStyle& style, const TColourIndex& colours) {
    out += '{';
    const size_t start = out.size();
    if (style.Bold) {
        out += "\\b";
    }
    if (style.Italic) {
        out += "\\i";
    }
    if (style.Underline) {
        out += "\\ul";
    }
    if (style.Colour != kHtmlDefaultColour) {
        out += "\\cf";
        AppendNumber(out, colours.at(style.Colour));
    }
    if (style.Size != kHtmlNormalSize) {
        out += "\\fs";
        AppendNumber(out, RtfHalfPoints(style.Size));
    }
    if (out.size() > start) {
        out += ' ';
    }
}

} // namespace

int RtfHalfPoints(int htmlSize) {
    return kHalfPoints[std::clamp(htmlSize, kHtmlMinSize, kHtmlMaxSize) - 1];
}

std::string WriteRtf(const std::vector<THtmlRun>& runs) {
    std::vector<uint32_t> colours; // in the order of first use
    TColourIndex index;
    size_t textLength = 0;
    for (const THtmlRun& run : runs) {
        textLength += run.Text.size();
        if (run.Style.Colour != kHtmlDefaultColour &&
            index.emplace(run.Style.Colour, static_cast<long>(colours.size()) + 1).second) {
            colours.push_back(run.Style.Colour);
        }
    }
    std::string out;
    out.reserve(128 + colours.size() * 32 + runs.size() * 16 + textLength * 2);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset1 ";
    out += kRtfFontName;
    out += ";}}{\\colortbl;";
    for (const uint32_t rgb : colours) {
        out += "\\red";
        AppendNumber(out, (rgb >> 16) & 0xFF);
        out += "\\green";
        AppendNumber(out, (rgb >> 8) & 0xFF);
        out += "\\blue";
        AppendNumber(out, rgb & 0xFF);
        out += ';';
    }
    out += "}\\pard\\plain\\f0\\fs";
    AppendNumber(out, RtfHalfPoints(kHtmlNormalSize));
    out += ' ';
    for (const THtmlRun& run : runs) {
        AppendStyle(out, run.Style, index);
        if (run.LineBreak) {
            out += "\\par";
        } else {
            AppendText(out, run.Text);
        }
        out += '}';
    }
    out += '}';
    return out;
}
