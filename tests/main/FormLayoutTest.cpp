// Every window of the main program in both interface languages at 100, 125 and 150 %: each
// caption fits its control with the control's own font, sibling controls overlap only where one
// holds the other, and the form holds its controls. The list's rows hold their font.

#include "main/FormLayout.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/GlobalCustoms.h"
#include "display/win32/Dpi.h"
#include "display/win32/OwnedHandle.h"
#include "main/About.h"
#include "main/Adjustment.h"
#include "main/GP.h"
#include "main/Help.h"
#include "main/Main.h"
#include "main/MainDictHandler.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/DpiOverride.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Holds(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The text's extent with the control's font, lines split at line ends; empty for none.
SIZE TextExtent(HWND control, int& lines) {
    const std::wstring text = WindowText(control);
    const TOwnedWindowDC dc = GetOwnedWindowDC(control);
    TSelectObject select(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    SIZE extent = {0, 0};
    lines = 0;
    for (size_t start = 0; start < text.size(); ++lines) {
        size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        const size_t stop = end > start && text[end - 1] == L'\r' ? end - 1 : end;
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), text.c_str() + start, static_cast<int>(stop - start), &size);
        extent.cx = std::max(extent.cx, size.cx);
        start = end + 1;
    }
    extent.cy = metrics.tmHeight * lines;
    return extent;
}

// The least room the system draws beside a caption: the mark of a check box or radio button
// (13 pixels at 96 DPI), a push button's edges, a group box's corners.
int Beside(HWND control, int dpi) {
    if (ClassOf(control) != L"Button") {
        return 0;
    }
    switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return 4;
    case BS_GROUPBOX:
        return 2 * ScaleToDpi(4, dpi);
    default:
        return ScaleToDpi(13, dpi);
    }
}

void CheckCaption(HWND control, int dpi, const std::string& where) {
    const std::wstring name = ClassOf(control);
    if (name != L"Button" && name != L"Static") {
        return;
    }
    int lines = 0;
    const SIZE text = TextExtent(control, lines);
    if (lines == 0) {
        return;
    }
    RECT client = {};
    GetClientRect(control, &client);
    const bool groupBox = (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && name == L"Button";
    EXPECT_LE(text.cx + Beside(control, dpi), client.right) << where << " \"" << WindowText(control) << "\"";
    if (!groupBox) {
        EXPECT_LE(text.cy, client.bottom) << where << " \"" << WindowText(control) << "\"";
    }
}

// The up-down arrows belong to their number field.
bool PartOf(HWND a, HWND b) {
    return ClassOf(a) == L"msctls_updown32" && reinterpret_cast<HWND>(SendMessageW(a, UDM_GETBUDDY, 0, 0)) == b;
}

void CheckChildren(HWND parent, int dpi, const std::string& where) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    RECT client = {};
    GetClientRect(parent, &client);
    for (size_t i = 0; i < children.size(); ++i) {
        const HWND a = children[i];
        CheckCaption(a, dpi, where);
        CheckChildren(a, dpi, where);
        if (!(GetWindowLongPtrW(a, GWL_STYLE) & WS_VISIBLE)) {
            continue;
        }
        const RECT ra = RectIn(a, parent);
        // A maximised window is as large as the screen lets it be.
        if (!IsZoomed(parent)) {
            EXPECT_TRUE(Holds(client, ra)) << where << " outside its parent: " << GetDlgCtrlID(a);
        }
        for (size_t j = i + 1; j < children.size(); ++j) {
            const HWND b = children[j];
            if (!(GetWindowLongPtrW(b, GWL_STYLE) & WS_VISIBLE) || PartOf(a, b) || PartOf(b, a)) {
                continue;
            }
            const RECT rb = RectIn(b, parent);
            RECT common = {};
            if (IntersectRect(&common, &ra, &rb) && !Holds(ra, rb) && !Holds(rb, ra)) {
                ADD_FAILURE() << where << " controls " << GetDlgCtrlID(a) << " and " << GetDlgCtrlID(b) << " overlap: ("
                              << ra.left << "," << ra.top << "," << ra.right << "," << ra.bottom << ") ("
                              << rb.left << "," << rb.top << "," << rb.right << "," << rb.bottom << ")";
            }
        }
    }
}

class FormLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        dicts_.Open(TestDictImage(TatarEntries(), langTatar, L"Беренче"));
        dicts_.Open(TestDictImage(RussianEntries(), langRussian, L"Урысча"));
        customs_->CurDict = 0;
        customs_->CurEntry = 0;
    }

    TTestCustoms customs_;
    TOpenDictionaries dicts_;
};

} // namespace

TEST_F(FormLayoutTest, EveryCaptionFitsAndNoControlsOverlapAtEachScale) {
    for (const int dpi : kTestDpis) {
        const TDpiOverride scale(dpi);
        for (const uint8_t language : {langTatar, langRussian}) {
            customs_->UILanguage = language;
            TForm1 main;
            TForm3 dictionaries;
            TForm4 settings;
            settings.LocalizeCaptions(language);
            TForm6 help;
            TForm7 about;
            {
                const TWorkingFolder working(BuiltFolder());
                about.FillAbout(language);
            }
            TGP_Form generator(static_cast<TLanguage>(language));
            const std::pair<const char*, HWND> windows[] = {
                {"main", main.Handle()},         {"dictionaries", dictionaries.Handle()},
                {"settings", settings.Handle()}, {"help", help.Handle()},
                {"about", about.Handle()},       {"generator", generator.Handle()},
            };
            for (const auto& [name, window] : windows) {
                CheckChildren(window, dpi, std::string(name) + " " + std::to_string(dpi) + " dpi, language " +
                                               std::to_string(language));
            }
        }
    }
}

TEST_F(FormLayoutTest, ListRowsHoldTheirFontAtEachScale) {
    LONG atDesign = 0;
    for (const int dpi : kTestDpis) {
        const TDpiOverride scale(dpi);
        TForm1 main;
        const HWND row = main.Rows[0];
        const TOwnedWindowDC dc = GetOwnedWindowDC(row);
        TSelectObject select(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(row, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc.Get(), &metrics);
        atDesign = atDesign == 0 ? metrics.tmHeight : atDesign;
        EXPECT_NEAR(metrics.tmHeight, MulDiv(atDesign, dpi, kDesignDpi), 2) << dpi; // the font follows the scale
        for (const HWND each : main.Rows) {
            RECT client = {};
            GetClientRect(each, &client);
            EXPECT_GE(client.bottom, metrics.tmAscent + metrics.tmDescent) << dpi;
        }
        RECT first = RectIn(main.Rows[0], main.Handle()), second = RectIn(main.Rows[1], main.Handle());
        EXPECT_GE(second.top, first.bottom) << dpi;
    }
}

TEST_F(FormLayoutTest, ADpiChangeLaysTheWindowOutAgainAtTheSuggestedPlace) {
    TForm4 settings;
    RECT before = {};
    GetClientRect(settings.Handle(), &before);
    const TDpiOverride scale(144);
    RECT suggested = {40, 30, 500, 600};
    SendMessageW(settings.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer = {}, client = {};
    GetWindowRect(settings.Handle(), &outer);
    GetClientRect(settings.Handle(), &client);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_GT(client.right, before.right * 5 / 4);
    EXPECT_GT(client.bottom, before.bottom * 5 / 4);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(settings.Button1, WM_GETFONT, 0, 0)), FormFont(144));
}
