#include "display/win32/Dpi.h"

#include <gtest/gtest.h>

#include "display/PlovaFonts.h"
#include "display/win32/OwnedHandle.h"
#include "tests/support/DpiOverride.h"

namespace {

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap = {};
    GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    return bitmap.bmWidth;
}

LONG FontHeight(HFONT font) {
    const TOwnedWindowDC dc = GetOwnedWindowDC(nullptr);
    TSelectObject select(dc.Get(), font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight;
}

} // namespace

TEST(Dpi, TheOverrideIsWhatEveryWindowReports) {
    for (const int dpi : kTestDpis) {
        const TDpiOverride scale(dpi);
        EXPECT_EQ(WindowDpi(GetDesktopWindow()), dpi);
        EXPECT_EQ(WindowDpi(nullptr), dpi);
        EXPECT_EQ(SystemDpi(), dpi);
        EXPECT_EQ(ScaleToDpi(16, dpi), 16 * dpi / kDesignDpi); // 16, 20, 24
    }
    EXPECT_GT(SystemDpi(), 0);
}

TEST(Dpi, SmallIconsAndFontsGrowWithTheScale) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    for (const int dpi : kTestDpis) {
        SCOPED_TRACE(dpi);
        EXPECT_EQ(SmallIconSize(dpi), ScaleToDpi(16, dpi));
        const HICON icon = LoadSmallIcon(user32, MAKEINTRESOURCEW(32512), dpi); // the application icon
        EXPECT_EQ(IconWidth(icon), SmallIconSize(dpi));
        DestroyIcon(icon);
        const LOGFONTW description = MessageFontForDpi(dpi);
        EXPECT_EQ(description.lfHeight, MulDiv(MessageFontForDpi(kDesignDpi).lfHeight, dpi, kDesignDpi));
        EXPECT_NEAR(FontHeight(FontHandle(kDrawingFont, dpi)),
                    MulDiv(FontHeight(FontHandle(kDrawingFont)), dpi, kDesignDpi), 2);
    }
}
