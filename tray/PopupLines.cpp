#include "tray/PopupLines.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "display/TextFormat.h"
#include "display/win32/SystemCase.h"

namespace {

// The translation of a hit cut into pieces of at most width units, at most budget of them, while
// onPiece wants more.
template <typename OnPiece> void ForEachPiece(const wchar_t* article, int32_t width, int32_t budget, OnPiece onPiece) {
    if (article == nullptr) {
        return;
    }
    const wchar_t* p = article;
    const int32_t minimum = width - LineStyles[lkArticle].Indent;
    for (int32_t k = 0; *p != L'\0' && k < budget; ++k) {
        int32_t length = 0;
        FindLineBreak(minimum, p, length, width);
        if (length <= 0 || !onPiece(p, length)) {
            return; // only blanks were left, or no room
        }
        p += length;
    }
}

bool HasText(const wchar_t* text) {
    return text != nullptr && *text != L'\0';
}

struct TPopupLine {
    uint8_t Kind;
    const wchar_t* Text;
    size_t Length;
    int32_t Tag;
    const TDictSearchResult* Dict; // the hit of a headword or translation line
    const TDictItem* Item;
};

// Every line after the word line, in order, as the card stops: at most kMaxLayoutLines with the
// word line and a last line saying the rest was cut. True when lines were left out.
template <typename OnLine>
bool ForEachLine(const TLangSearchResult& result, int32_t width, int32_t linesPerEntry, OnLine onLine) {
    int32_t room = kMaxLayoutLines - 2;
    const auto add = [&](const TPopupLine& line) {
        if (room <= 0) {
            return false;
        }
        --room;
        onLine(line);
        return true;
    };
    int32_t tag = result.Word.empty() ? 0 : 1;
    for (const TBaseSearchResult& analysis : result.Results) {
        const std::wstring& split = analysis.SplitForm;
        if (!split.empty() && !add({lkAnalysis, split.c_str(), split.size(), tag++, nullptr, nullptr})) {
            return true;
        }
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            for (const TDictItem& item : dict.Items) {
                if (HasText(item.Headword) &&
                    !add({lkHeadword, item.Headword, std::wcslen(item.Headword), tag, &dict, &item})) {
                    return true;
                }
                bool fits = true;
                ForEachPiece(item.Article, width, linesPerEntry, [&](const wchar_t* piece, int32_t length) {
                    fits = add({lkArticle, piece, static_cast<size_t>(length), tag, &dict, &item});
                    return fits;
                });
                if (!fits) {
                    return true;
                }
                ++tag;
            }
        }
    }
    return false;
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
    if (ForEachLine(result, width, linesPerEntry, [&](const TPopupLine&) { ++lines; })) {
        ++lines;
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

    NewLine(layout, 0, lkWord, L"", 0);
    if (!result.Word.empty()) {
        const std::wstring word = SystemUpperCase(result.Word).substr(0, kWordSlots - 1);
        std::copy(word.begin(), word.end(), layout.Word);
        NewLine(layout, 0, lkWord, word.c_str(), word.size());
    }
    int32_t index = 0;
    const bool cut = ForEachLine(result, width, linesPerEntry, [&](const TPopupLine& piece) {
        TDisplayLine* line = nullptr;
        if (piece.Kind == lkAnalysis) {
            const std::wstring split = SystemUpperCase(std::wstring(piece.Text, piece.Length));
            line = &NewLine(layout, ++index, piece.Kind, split.c_str(), split.size());
        } else {
            line = &NewLine(layout, ++index, piece.Kind, piece.Text, piece.Length);
            line->Dict = piece.Dict->DictIndex;
            line->Entry = static_cast<int32_t>(piece.Item->Entry);
        }
        line->Tag = piece.Tag;
    });
    if (cut) {
        MakeLayoutCutLine(layout.Line(++index));
    }
    layout.LineCount = index + 1;
    return true;
}
