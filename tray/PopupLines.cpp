#include "tray/PopupLines.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "display/TextFormat.h"
#include "display/win32/SystemCase.h"

namespace {

// The translation of a hit cut into pieces of at most width units, at most budget of them.
template <typename OnPiece> void ForEachPiece(const wchar_t* article, int32_t width, int32_t budget, OnPiece onPiece) {
    if (article == nullptr) {
        return;
    }
    const wchar_t* p = article;
    const int32_t minimum = width - LineStyles[lkArticle].Indent;
    for (int32_t k = 0; *p != L'\0' && k < budget; ++k) {
        int32_t length = 0;
        FindLineBreak(minimum, p, length, width);
        if (length <= 0) {
            return; // only blanks were left
        }
        onPiece(p, length);
        p += length;
    }
}

bool HasText(const wchar_t* text) {
    return text != nullptr && *text != L'\0';
}

// A fresh line of a kind with its text, cut to a line's room.
TDisplayLine& NewLine(TLineLayout& layout, int32_t index, uint8_t kind, const wchar_t* text, size_t length) {
    TDisplayLine& line = layout.Line(index);
    line = TDisplayLine();
    const size_t kept = std::min(length, static_cast<size_t>(kMaxLineLength));
    std::copy(text, text + kept, line.Text);
    line.Length = static_cast<int32_t>(kept);
    line.Kind = kind;
    line.Colour = LineStyles[kind].Colour;
    line.Style = LineStyles[kind].Style;
    line.Indent = LineStyles[kind].Indent;
    return line;
}

} // namespace

int32_t LinesPerEntry(int32_t hits) {
    return std::max(kPopupTextLines / std::max(hits, 1), 1);
}

int32_t CountResultEntries(const TLangSearchResult& result) {
    int32_t hits = 0;
    for (const TBaseSearchResult& analysis : result.Results) {
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            hits += static_cast<int32_t>(dict.Items.size());
        }
    }
    return hits;
}

int32_t CountPopupLines(const TLangSearchResult& result, int32_t width, int32_t& linesPerEntry) {
    linesPerEntry = LinesPerEntry(CountResultEntries(result));
    int32_t lines = 1; // the word line
    for (const TBaseSearchResult& analysis : result.Results) {
        lines += analysis.SplitForm.empty() ? 0 : 1;
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            for (const TDictItem& item : dict.Items) {
                lines += HasText(item.Headword) ? 1 : 0;
                ForEachPiece(item.Article, width, linesPerEntry, [&](const wchar_t*, int32_t) { ++lines; });
            }
        }
    }
    return lines;
}

bool BuildPopupLines(TLineLayout& layout, const TLangSearchResult& result, int32_t width) {
    layout = TLineLayout();
    if (result.Results.empty()) {
        return false;
    }
    int32_t linesPerEntry = 0;
    const int32_t count = CountPopupLines(result, width, linesPerEntry);
    layout.Lines = std::make_unique<TDisplayLine[]>(static_cast<size_t>(count));
    layout.Capacity = count;
    layout.LineCount = count;

    int32_t index = 0;
    int32_t tag = 0;
    NewLine(layout, 0, lkWord, L"", 0);
    if (!result.Word.empty()) {
        const std::wstring word = SystemUpperCase(result.Word).substr(0, kWordSlots - 1);
        std::copy(word.begin(), word.end(), layout.Word);
        NewLine(layout, 0, lkWord, word.c_str(), word.size());
        ++tag;
    }
    for (const TBaseSearchResult& analysis : result.Results) {
        if (!analysis.SplitForm.empty()) {
            const std::wstring split = SystemUpperCase(analysis.SplitForm);
            NewLine(layout, ++index, lkAnalysis, split.c_str(), split.size()).Tag = tag++;
        }
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            for (const TDictItem& item : dict.Items) {
                const auto mark = [&](TDisplayLine& line) {
                    line.Dict = dict.DictIndex;
                    line.Entry = static_cast<int32_t>(item.Entry);
                    line.Tag = tag;
                };
                if (HasText(item.Headword)) {
                    mark(NewLine(layout, ++index, lkHeadword, item.Headword, std::wcslen(item.Headword)));
                }
                ForEachPiece(item.Article, width, linesPerEntry, [&](const wchar_t* piece, int32_t length) {
                    mark(NewLine(layout, ++index, lkArticle, piece, static_cast<size_t>(length)));
                });
                ++tag;
            }
        }
    }
    layout.LineCount = index + 1;
    return true;
}
