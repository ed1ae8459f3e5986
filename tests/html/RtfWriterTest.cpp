#include "main/html/RtfWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

THtmlRun TextRun(const std::wstring& text, THtmlStyle style = {}) {
    return {text, style, false};
}

THtmlRun Break(THtmlStyle style = {}) {
    return {std::wstring(), style, true};
}

THtmlStyle Style(bool bold, bool italic, bool underline, uint32_t colour = kHtmlDefaultColour,
                 int size = kHtmlNormalSize) {
    return {bold, italic, underline, colour, size};
}

std::string Document(const std::string& colourTable, const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset1 Tahoma;}}{\\colortbl;" +
           colourTable + "}\\pard\\plain\\f0\\fs20 " + body + "}";
}

struct TRtfCase {
    const char* What;
    std::vector<THtmlRun> Runs;
    std::string ColourTable;
    std::string Body;
};

TEST(RtfWriter, Documents) {
    const std::vector<TRtfCase> cases = {
        {"nothing", {}, "", ""},
        {"plain text", {TextRun(L"word")}, "", "{word}"},
        {"escapes", {TextRun(L"a\\b{c}d")}, "", "{a\\\\b\\{c\\}d}"},
        {"tab", {TextRun(L"a\tb")}, "", "{a\\tab b}"},
        {"Tatar letters", {TextRun(L"әөүҗңһ")}, "", "{\\u1241?\\u1257?\\u1199?\\u1175?\\u1187?\\u1211?}"},
        {"Cyrillic capitals", {TextRun(L"ӘӨҮ")}, "", "{\\u1240?\\u1256?\\u1198?}"},
        {"hard blank and dash", {TextRun(L"a\x00A0\x2014")}, "", "{a\\u160?\\u8212?}"},
        {"units past 32767 are negative", {TextRun(L"\xFFFD\xD83D\xDE00")}, "", "{\\u-3?\\u-10179?\\u-8704?}"},
        {"a leading blank stays", {TextRun(L" x")}, "", "{ x}"},
        {"a leading blank after control words", {TextRun(L" x", Style(true, false, false))}, "", "{\\b  x}"},
        {"styles",
         {TextRun(L"x", Style(true, true, true, 0x0000AA, 5))},
         "\\red0\\green0\\blue170;",
         "{\\b\\i\\ul\\cf1\\fs30 x}"},
        {"colours in the order of first use",
         {TextRun(L"a", Style(false, false, false, 0x0000FF)), TextRun(L"b", Style(false, false, false, 0x123456)),
          TextRun(L"c", Style(true, false, false, 0x0000FF))},
         "\\red0\\green0\\blue255;\\red18\\green52\\blue86;",
         "{\\cf1 a}{\\cf2 b}{\\b\\cf1 c}"},
        {"a colour used again keeps its number",
         {TextRun(L"a", Style(false, false, false, 0x010203)), TextRun(L"b", Style(false, false, false, 0x0A0B0C)),
          TextRun(L"c", Style(false, false, false, 0x0000FF)), TextRun(L"d", Style(false, false, false, 0x0A0B0C)),
          TextRun(L"e"), TextRun(L"f", Style(false, false, false, 0x010203)),
          TextRun(L"g", Style(false, false, false, 0x0000FF))},
         "\\red1\\green2\\blue3;\\red10\\green11\\blue12;\\red0\\green0\\blue255;",
         "{\\cf1 a}{\\cf2 b}{\\cf3 c}{\\cf2 d}{e}{\\cf1 f}{\\cf3 g}"},
        {"breaks carry their line's format",
         {TextRun(L"a", Style(true, false, false, kHtmlDefaultColour, 6)),
          Break(Style(true, false, false, kHtmlDefaultColour, 6)), Break(), TextRun(L"b")},
         "",
         "{\\b\\fs40 a}{\\b\\fs40 \\par}{\\par}{b}"},
    };
    for (const TRtfCase& c : cases) {
        EXPECT_EQ(WriteRtf(c.Runs), Document(c.ColourTable, c.Body)) << c.What;
    }
}

TEST(RtfWriter, OutputIsAscii) {
    std::wstring all;
    for (wchar_t c = 1; c < 0xFFFF; c += 7) {
        all += c;
    }
    const std::string rtf = WriteRtf({TextRun(all)});
    for (const char c : rtf) {
        ASSERT_GE(static_cast<unsigned char>(c), 0x20) << "control byte in the document";
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

TEST(RtfWriter, SizesFollowTheBrowserScale) {
    const int expected[] = {15, 15, 18, 20, 24, 30, 40, 60, 60};
    for (int size = 0; size <= 8; ++size) {
        EXPECT_EQ(RtfHalfPoints(size), expected[size]) << "size " << size;
    }
}

} // namespace
