#include "tests/html/HtmlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/Utf8.h"

namespace {

std::wstring StyleCode(const THtmlStyle& style) {
    std::wstring code;
    const auto add = [&](const std::wstring& part) { code += (code.empty() ? L"" : L" ") + part; };
    if (style.Bold) {
        add(L"b");
    }
    if (style.Italic) {
        add(L"i");
    }
    if (style.Underline) {
        add(L"u");
    }
    if (style.Colour != kHtmlDefaultColour) {
        wchar_t rgb[8];
        std::swprintf(rgb, 8, L"#%06X", static_cast<unsigned>(style.Colour));
        add(rgb);
    }
    if (style.Size != kHtmlNormalSize) {
        add(L"s" + std::to_wstring(style.Size));
    }
    return L"[" + code + L"]";
}

} // namespace

std::wstring DescribeRuns(const std::vector<THtmlRun>& runs) {
    std::wstring out;
    THtmlStyle previous;
    for (const THtmlRun& run : runs) {
        if (run.LineBreak) {
            out += L'|';
            continue;
        }
        if (run.Style != previous) {
            out += StyleCode(run.Style);
            previous = run.Style;
        }
        for (const wchar_t c : run.Text) {
            out += c == 0x00A0 ? L'~' : c;
        }
    }
    return out;
}

std::string Narrow(const std::wstring& text) {
    return WideToUtf8(text);
}

std::wstring ReadTestFile(const char* name) {
    std::ifstream in(std::string(QV_SOURCE_DIR) + "/tests/data/html/" + name, std::ios::binary);
    return Utf8ToWide(std::string(std::istreambuf_iterator<char>(in), {}));
}

void ExpectWellFormed(const std::vector<THtmlRun>& runs, size_t htmlLength) {
    size_t text = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const THtmlRun& run = runs[i];
        EXPECT_NE(run.LineBreak, !run.Text.empty()) << "run " << i << " of input length " << htmlLength;
        EXPECT_GE(run.Style.Size, kHtmlMinSize);
        EXPECT_LE(run.Style.Size, kHtmlMaxSize);
        if (i > 0 && !run.LineBreak && !runs[i - 1].LineBreak) {
            EXPECT_NE(run.Style, runs[i - 1].Style) << "run " << i << " of input length " << htmlLength;
        }
        text += run.Text.size();
    }
    EXPECT_LE(text, htmlLength);
}
