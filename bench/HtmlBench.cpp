// Rendering speed of the text browser: an article of 5,000 characters in the HTML the headword
// list writes, read into runs, written as RTF, and shown and painted in a rich edit control; and
// the RTF of a page whose every word has a colour of its own.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "main/html/HtmlReader.h"
#include "main/html/RtfWriter.h"
#include "main/html/TextBrowser.h"

namespace {

constexpr size_t kArticleLength = 5000;  // characters shown
constexpr uint32_t kManyColours = 37000; // distinct colours of one page
constexpr int kRounds = 5;
constexpr int kRepeats = 20; // per round, so that one round outlasts the clock's tick

const wchar_t kHead[] = L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>китап<BR></FONT></STRONG><FONT SIZE=4><BIG>";
const wchar_t kTail[] = L"</BIG></FONT></HTML>";

size_t ShownLength(const std::wstring& html) {
    size_t length = 0;
    for (const THtmlRun& run : ReadHtml(html)) {
        length += run.LineBreak ? 1 : run.Text.size();
    }
    return length;
}

// Numbered senses of words, italic grammar notes and underlined links, with the blank before each
// tag that the mark-up conversion leaves, until 5,000 characters show.
std::wstring Article() {
    static const wchar_t* const words[] = {L"китап", L"книга", L"әни",   L"мать", L"өй",   L"дом",      L"үрдәк",
                                           L"утка",  L"җил",   L"ветер", L"миң",  L"һава", L"&lt;x&gt;"};
    std::mt19937 random(2026);
    std::wstring html = kHead;
    for (int n = 1; ShownLength(html + kTail) < kArticleLength; ++n) {
        html += L" <B>" + std::to_wstring(n) + L".</B> ";
        for (int k = 0; k < 8; ++k) {
            html += words[random() % std::size(words)];
            html += L' ';
        }
        html += random() % 2 ? L" <I>кит.</I> " : L" <U>" + std::wstring(words[random() % 4]) + L" </U>";
    }
    return html + kTail;
}

// One word per colour, each colour new: the colour table grows with the page.
std::vector<THtmlRun> ColouredRuns(uint32_t colours) {
    std::vector<THtmlRun> runs;
    runs.reserve(colours);
    for (uint32_t k = 0; k < colours; ++k) {
        runs.push_back({L"слово ", {false, false, false, k * 449 % 0xFFFFFF + 1, kHtmlNormalSize}, false});
    }
    return runs;
}

// Milliseconds of one call, the best of five rounds: the machine is shared, and the best round is
// the least disturbed.
template <class F> double BestMilliseconds(F&& work) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < kRepeats; ++k) {
            work();
        }
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / kRepeats);
    }
    return best;
}

} // namespace

int main() {
    const std::wstring html = Article();
    size_t sink = 0;
    const double read = BestMilliseconds([&] { sink += ReadHtml(html).size(); });
    const std::vector<THtmlRun> runs = ReadHtml(html);
    const double rtf = BestMilliseconds([&] { sink += WriteRtf(runs).size(); });
    // Time that grows with the square of the colours shows as a ratio far above 4.
    const std::vector<THtmlRun> quarter = ColouredRuns(kManyColours / 4);
    const std::vector<THtmlRun> many = ColouredRuns(kManyColours);
    const double rtfQuarter = BestMilliseconds([&] { sink += WriteRtf(quarter).size(); });
    const double rtfMany = BestMilliseconds([&] { sink += WriteRtf(many).size(); });

    // The main window's article view: 421 x 353 pixels.
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 460, 400, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    TTextBrowser browser = TTextBrowser::Create(parent, 0, 0, 421, 353);
    const double render = BestMilliseconds([&] {
        browser.SetHtml(html);
        UpdateWindow(browser.Window());
    });
    const size_t shown = browser.Text().size();
    DestroyWindow(parent);
    if (sink == 0 || shown == 0) {
        std::printf("html_bench: nothing was rendered\n");
        return 1;
    }

    std::printf("html_article_chars: %zu\n", ShownLength(html));
    std::printf("html_source_chars: %zu\n", html.size());
    std::printf("html_read_ms: %.3f\n", read);
    std::printf("html_rtf_ms: %.3f\n", rtf);
    std::printf("html_render_ms: %.3f\n", render);
    std::printf("html_rtf_%u_colours_ms: %.3f\n", kManyColours / 4, rtfQuarter);
    std::printf("html_rtf_%u_colours_ms: %.3f\n", kManyColours, rtfMany);
    return 0;
}
