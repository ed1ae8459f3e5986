#include "display/PlovaFonts.h"

#include <cwchar>
#include <map>
#include <string>
#include <tuple>

#include "display/win32/Dpi.h"
#include "display/win32/OwnedHandle.h"

namespace {

constexpr LONG kNormalWeight = 400;
constexpr LONG kBoldWeight = 800;

// Font objects are made once per description and kept until the end: a style switch must not
// delete the object that a device context may still have selected.
using TFontKey = std::tuple<LONG, LONG, BYTE, BYTE, std::wstring>; // height, weight, italic, underline, face

struct TFontTable {
    TFontEntry Entries[kFontEntryCount];
    std::map<TFontKey, TOwnedFont> Made;
    bool Ready = false;
};

TFontTable& Table() {
    static TFontTable table;
    return table;
}

LOGFONTW InitialDescription() {
    LOGFONTW font = {};
    font.lfHeight = 14;
    font.lfWeight = kNormalWeight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    std::wcscpy(font.lfFaceName, L"Tahoma");
    return font;
}

HFONT FontFor(const LOGFONTW& description) {
    TFontTable& table = Table();
    const TFontKey key{description.lfHeight, description.lfWeight, description.lfItalic, description.lfUnderline,
                       std::wstring(description.lfFaceName, wcsnlen(description.lfFaceName, LF_FACESIZE))};
    auto found = table.Made.find(key);
    if (found == table.Made.end()) {
        found = table.Made.emplace(key, TOwnedFont(CreateFontIndirectW(&description))).first;
    }
    return found->second.Get();
}

TFontEntry& Entry(int index) {
    PlovaFontsInit();
    return Table().Entries[index == 0 ? 0 : 1];
}

} // namespace

void PlovaFontsInit() {
    TFontTable& table = Table();
    if (table.Ready) {
        return;
    }
    table.Ready = true;
    for (TFontEntry& entry : table.Entries) {
        entry.Description = InitialDescription();
        entry.Font = FontFor(entry.Description);
    }
}

void PlovaFontsDone() {
    TFontTable& table = Table();
    for (TFontEntry& entry : table.Entries) {
        entry.Font = nullptr;
    }
    table.Made.clear();
    table.Ready = false;
}

void CreateFontEntry(int index, int32_t height, int32_t style) {
    TFontEntry& entry = Entry(index);
    LOGFONTW& font = entry.Description;
    if (height > 0) {
        font.lfHeight = height;
    }
    if (style >= 0) {
        font.lfItalic = (style & fsItalic) != 0;
        font.lfUnderline = (style & fsUnderline) != 0;
        font.lfWeight = (style & fsBold) != 0 ? kBoldWeight : kNormalWeight;
    }
    entry.Font = FontFor(font);
}

void SetFontDescription(int index, const LOGFONTW& description) {
    TFontEntry& entry = Entry(index);
    entry.Description = description;
    entry.Font = FontFor(entry.Description);
}

int32_t GetFontStyle(int index) {
    const LOGFONTW& font = Entry(index).Description;
    int32_t style = 0;
    if (font.lfItalic != 0) {
        style |= fsItalic;
    }
    if (font.lfUnderline != 0) {
        style |= fsUnderline;
    }
    if (font.lfWeight > kNormalWeight && font.lfWeight <= kBoldWeight) {
        style |= fsBold;
    }
    return style;
}

int32_t SetFontStyle(int index, int32_t style) {
    const int32_t previous = GetFontStyle(index);
    CreateFontEntry(index, 0, style);
    return previous;
}

HFONT FontHandle(int index) {
    return Entry(index).Font;
}

HFONT FontHandle(int index, int dpi) {
    const TFontEntry& entry = Entry(index);
    if (dpi <= 0 || dpi == kDesignDpi) {
        return entry.Font;
    }
    LOGFONTW scaled = entry.Description;
    scaled.lfHeight = MulDiv(scaled.lfHeight, dpi, kDesignDpi);
    return FontFor(scaled);
}

const LOGFONTW& FontDescription(int index) {
    return Entry(index).Description;
}
