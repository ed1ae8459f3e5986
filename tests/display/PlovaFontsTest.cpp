#include "display/PlovaFonts.h"

#include <cstdio>
#include <cwchar>
#include <string>

#include <gtest/gtest.h>

#include "display/win32/OwnedHandle.h"

namespace {

class PlovaFontsTest : public testing::Test {
protected:
    void SetUp() override {
        PlovaFontsDone();
        PlovaFontsInit();
    }
    void TearDown() override {
        PlovaFontsDone();
        PlovaFontsInit();
    }
};

} // namespace

TEST_F(PlovaFontsTest, BothEntriesStartWithTheInitialDescription) {
    for (int index = 0; index < kFontEntryCount; ++index) {
        const LOGFONTW& font = FontDescription(index);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfHeight, 14);
        EXPECT_EQ(font.lfWidth, 0);
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_EQ(font.lfItalic, 0);
        EXPECT_EQ(font.lfUnderline, 0);
        EXPECT_EQ(font.lfStrikeOut, 0);
        EXPECT_EQ(font.lfCharSet, 1);
        EXPECT_EQ(font.lfOutPrecision, 0);
        EXPECT_EQ(font.lfClipPrecision, 0);
        EXPECT_EQ(font.lfQuality, 2);
        EXPECT_EQ(font.lfPitchAndFamily, 2);
        EXPECT_EQ(GetObjectType(FontHandle(index)), static_cast<DWORD>(OBJ_FONT));
    }
}

TEST_F(PlovaFontsTest, BoldOnAFreshEntry) {
    EXPECT_EQ(SetFontStyle(1, fsBold), 0);
    EXPECT_EQ(FontDescription(1).lfWeight, 800);
    EXPECT_EQ(GetFontStyle(1), fsBold);
    EXPECT_EQ(GetFontStyle(0), 0); // the other entry is untouched
}

TEST_F(PlovaFontsTest, StyleBitsMapToTheDescription) {
    struct Case {
        int32_t Bits;
        BYTE Italic;
        BYTE Underline;
        LONG Weight;
    };
    const Case cases[] = {
        {0, 0, 0, 400}, {1, 1, 0, 400}, {2, 0, 1, 400}, {3, 1, 1, 400},
        {4, 0, 0, 800}, {5, 1, 0, 800}, {6, 0, 1, 800}, {7, 1, 1, 800},
    };
    for (const Case& c : cases) {
        CreateFontEntry(1, 0, c.Bits);
        const LOGFONTW& font = FontDescription(1);
        EXPECT_EQ(font.lfItalic, c.Italic) << c.Bits;
        EXPECT_EQ(font.lfUnderline, c.Underline) << c.Bits;
        EXPECT_EQ(font.lfWeight, c.Weight) << c.Bits;
        EXPECT_EQ(GetFontStyle(1), c.Bits);
        LOGFONTW made = {};
        ASSERT_EQ(GetObjectW(FontHandle(1), sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfWeight, c.Weight) << c.Bits;
        EXPECT_EQ(made.lfUnderline, c.Underline) << c.Bits;
    }
}

TEST_F(PlovaFontsTest, HeightAndStyleChangeIndependently) {
    CreateFontEntry(1, 20, -1);
    EXPECT_EQ(FontDescription(1).lfHeight, 20);
    EXPECT_EQ(GetFontStyle(1), 0);
    CreateFontEntry(1, 0, fsItalic);
    EXPECT_EQ(FontDescription(1).lfHeight, 20);
    CreateFontEntry(1, -5, -1);
    EXPECT_EQ(FontDescription(1).lfHeight, 20);
    EXPECT_EQ(SetFontStyle(1, 0), fsItalic);
}

TEST_F(PlovaFontsTest, WeightAboveBoldIsNotBold) {
    // Only a weight in (400, 800] reads as bold.
    const struct {
        LONG Weight;
        int32_t Style;
    } cases[] = {{400, 0}, {401, fsBold}, {700, fsBold}, {800, fsBold}, {801, 0}, {900, 0}};
    for (const auto& c : cases) {
        LOGFONTW font = FontDescription(1);
        font.lfWeight = c.Weight;
        SetFontDescription(1, font);
        EXPECT_EQ(GetFontStyle(1), c.Style) << c.Weight;
        LOGFONTW made = {};
        ASSERT_EQ(GetObjectW(FontHandle(1), sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfWeight, c.Weight);
    }
}

TEST_F(PlovaFontsTest, SwitchingStyleNeverDeletesAFontInUse) {
    TOwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HFONT plain = FontHandle(1);
    {
        TSelectObject selection(dc.Get(), plain);
        SetFontStyle(1, fsBold);
        SetFontStyle(1, fsItalic);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), plain);
        EXPECT_EQ(GetObjectType(plain), static_cast<DWORD>(OBJ_FONT));
    }
    // Deselected now: a font deleted while in use would be gone at this point.
    EXPECT_EQ(GetObjectType(plain), static_cast<DWORD>(OBJ_FONT));
    SetFontStyle(1, 0);
    EXPECT_EQ(FontHandle(1), plain); // one object per style, made once
}

// The face is whatever the system maps "Tahoma" to; it must be able to show Tatar text.
TEST_F(PlovaFontsTest, DrawingFontHasTheTatarLetters) {
    TOwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    TSelectObject selection(dc.Get(), FontHandle(1));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    std::wstring letters = L"әөүҗңһӘӨҮҖҢҺ";
    WORD glyphs[16] = {};
    ASSERT_EQ(GetGlyphIndicesW(dc.Get(), letters.c_str(), static_cast<int>(letters.size()), glyphs,
                               GGI_MARK_NONEXISTING_GLYPHS),
              static_cast<DWORD>(letters.size()));
    std::string missing;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (glyphs[i] == 0xFFFF) {
            char code[16];
            std::snprintf(code, sizeof code, " U+%04X", static_cast<unsigned>(letters[i]));
            missing += code;
        }
    }
    char faceUtf8[LF_FACESIZE * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, face, -1, faceUtf8, sizeof faceUtf8, nullptr, nullptr);
    std::printf("Drawing font face: %s; Tatar letters without a glyph:%s\n", faceUtf8,
                missing.empty() ? " none" : missing.c_str());
    EXPECT_TRUE(missing.empty()) << "no glyph for" << missing;
}
