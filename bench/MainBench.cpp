// The main window's headword list under typing, with a synthetic dictionary of 200,000 headwords:
// each key runs the prefix search, moves the rows and renders the article. And the article view
// with an article of 5,000 characters.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/SyntheticWords.h"
#include "core/Dictionary.h"
#include "main/ListBrowser.h"
#include "tools/DictWriter.h"

namespace {

constexpr int kEntries = 200000;
constexpr int kRows = 18;
constexpr int kWords = 200; // typed letter by letter in each round
constexpr int kRounds = 5;
constexpr size_t kArticleLength = 5000;

// Senses with the article mark-up: bold numbers, italic notes, links.
std::wstring LongArticle() {
    std::wstring article;
    // The mark-up and the blanks HTML folds show a little less than the article holds.
    for (int n = 1; article.size() < kArticleLength + kArticleLength / 8; ++n) {
        article += L"z" + std::to_wstring(n) + L".g китап әни өй {кит.} @үрдәк$ җил & <миң> һава; ";
    }
    return article;
}

HWND MakeHost() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MainBenchHost";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 700, 500, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main() {
    std::mt19937 random(2026);
    const std::set<std::wstring> words = RandomTatarWords(kEntries, random);
    DictSource source = NounsSource(words, L"тәрҗемә {кит.} zсүзg");
    source.Title = L"bench";
    source.Entries.front().Article = LongArticle();
    std::vector<unsigned char> image = BuildDictImage(source);
    LangGroups[langTatar].push_back(MakeDictHandle(image.data()));
    TDictHandle& dict = LangGroups[langTatar].back();

    // The list's controls as the main window lays them out, on a window that is not shown.
    const HWND host = MakeHost();
    THandler handler;
    for (int k = 0; k < kRows; ++k) {
        handler.AddRow(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 2, 2 + 18 * k, 190, 18,
                                       host, nullptr, nullptr, nullptr));
    }
    handler.RowCount = kRows;
    handler.AttachScrollBar(CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 191, 2, 18, 322,
                                            host, nullptr, nullptr, nullptr));
    handler.Browser = TTextBrowser::Create(host, 220, 0, 421, 353);
    TEdit_Qel word(host);
    TEdit_Qel key(host);
    handler.AttachEdit(&word);
    handler.KeyEdit = &key;
    handler.Attach(dict, 0);

    const std::vector<std::wstring> all(words.begin(), words.end());
    std::vector<std::wstring> typed;
    for (int i = 0; i < kWords; ++i) {
        typed.push_back(all[random() % all.size()]);
    }
    double bestMean = 1e9;
    double bestWorst = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        double total = 0;
        double worst = 0;
        int keys = 0;
        for (const std::wstring& w : typed) {
            word.SetText(std::wstring());
            for (size_t k = 1; k <= w.size(); ++k) {
                const auto start = std::chrono::steady_clock::now();
                word.SetText(w.substr(0, k));
                const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
                total += ms;
                worst = std::max(worst, ms);
                ++keys;
            }
        }
        bestMean = std::min(bestMean, total / keys);
        bestWorst = std::min(bestWorst, worst);
    }

    int32_t longest = 0;
    for (int32_t i = 0; i < dict.EntryCount; ++i) {
        longest = wcslen(dict.Article(i)) > wcslen(dict.Article(longest)) ? i : longest;
    }
    double bestArticle = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        handler.SelectEntry(longest + 1);
        const auto start = std::chrono::steady_clock::now();
        handler.SelectEntry(longest);
        bestArticle = std::min(bestArticle, Milliseconds(std::chrono::steady_clock::now() - start));
    }

    std::printf("main_list_headwords: %d\n", dict.EntryCount);
    std::printf("main_list_key_ms_mean: %.3f\n", bestMean);
    std::printf("main_list_key_ms_worst: %.3f\n", bestWorst);
    std::printf("main_article_chars: %zu\n", handler.Browser.Text().size());
    std::printf("main_article_5000_ms: %.3f\n", bestArticle);
    DestroyWindow(host);
    return 0;
}
