#include "display/TextFormat.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "core/UILanguage.h"
#include "display/win32/SystemCase.h"

const TExternalStyles ExternalStyles;

const TLineStyle LineStyles[6] = {
    {Rgb(0, 0, 255), fsBold, 0},  // word
    {Rgb(0, 64, 255), fsBold, 0}, // analysis
    {Rgb(0, 0, 128), 0, 1},       // dictionary title
    {Rgb(0, 0, 255), 0, 2},       // headword
    {Rgb(0, 0, 0), 0, 3},         // article chunk
    {Rgb(0, 64, 255), 0, 4},      // grammar-note chunk
};

const wchar_t* const LayoutCutTexts[kLanguageCount] = {L"(калганы күрсәтелми: текст бик озын)",
                                                       L"(остальное не показано: текст слишком длинный)"};

namespace {

static_assert(kMaxLayoutLines >= 2, "room for the word line and the line that says the text was cut");

// Continuation chunks of a grammar note sit this many average widths further in.
constexpr int32_t kNoteContinuationIndent = 3;

} // namespace

bool IsStyleOn(wchar_t c) {
    return c == mkQuoteOn || c == mkBoldOn || c == mkBraceOn;
}

bool IsStyleOff(wchar_t c) {
    return c == mkQuoteOff || c == mkBoldOff || c == mkBraceOff;
}

bool IsLinkOpen(wchar_t c) {
    return c == mkLinkOn || c == mkUnderlineOn;
}

bool IsLinkClose(wchar_t c) {
    return c == mkLinkOff || c == mkUnderlineOff;
}

bool IsStyleMarker(wchar_t c) {
    return IsStyleOn(c) || IsStyleOff(c) || IsLinkOpen(c) || IsLinkClose(c);
}

bool IsBreakChar(wchar_t c) {
    if (c >= 256) {
        return false;
    }
    return c == L' ' || c == mkLinkOff || c == mkLinkOn || c == mkQuoteOff || c == mkQuoteOn || c == mkBraceOn ||
           c == mkBraceOff;
}

const wchar_t* TExternalStyles::TagFor(wchar_t c) const {
    switch (c) {
    case mkLinkOn:
        return L"<U>";
    case mkLinkOff:
        return L"</U>";
    case mkQuoteOn:
    case mkBraceOn:
        return L"<I>";
    case mkQuoteOff:
    case mkBraceOff:
        return L"</I>";
    case mkBoldOn:
        return L"<B>";
    case mkBoldOff:
        return L"</B>";
    default:
        return L"";
    }
}

int32_t TExternalStyles::StyleBitFor(wchar_t c) const {
    switch (c) {
    case mkQuoteOn:
    case mkQuoteOff:
        return QuoteStyle;
    case mkBraceOn:
    case mkBraceOff:
        return BraceStyle;
    case mkBoldOn:
    case mkBoldOff:
        return BoldStyle;
    default:
        return 0;
    }
}

std::wstring StripAmpersands(std::wstring_view text) {
    std::wstring result(text);
    std::replace(result.begin(), result.end(), L'&', L' ');
    return result;
}

void StripAmpersandsInPlace(wchar_t* buffer, int32_t count) {
    if (buffer == nullptr) {
        return;
    }
    for (int32_t i = 0; count < 0 ? buffer[i] != 0 : i < count; ++i) {
        if (buffer[i] == L'&') {
            buffer[i] = L' ';
        }
    }
}

std::wstring MarkersToTags(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size() + text.size() / 2);
    for (const wchar_t c : text) {
        if (IsStyleMarker(c)) {
            result += L' ';
            result += ExternalStyles.TagFor(c);
        } else {
            result += c;
        }
    }
    return result;
}

std::wstring StripMarkers(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && IsStyleMarker(result.back())) {
        result.pop_back();
    }
    std::replace_if(result.begin(), result.end(), IsStyleMarker, L' ');
    return result;
}

void FindLineBreak(int32_t minimum, const wchar_t*& text, int32_t& length, int32_t maximum) {
    maximum = std::max(maximum, 1);
    minimum = std::min(minimum, maximum);
    while (*text == L' ') {
        ++text;
    }
    const wchar_t* const start = text;
    const wchar_t* cut = start;
    const wchar_t* q = start;
    while (q - start < maximum && *q != 0) {
        ++q;
        if (*q == 0 || IsBreakChar(*q)) {
            cut = q;
        } else if (q - start >= minimum && cut == start) {
            cut = q;
        }
    }
    length = static_cast<int32_t>(cut - start);
}

namespace {

// Builds the lines in one pass; the line array is sized afterwards from what was built, so the
// count of lines and of grammar-note chunks always agrees with the lines themselves. Past
// kMaxLayoutLines nothing more is built and the last line says so.
class TLayoutBuilder {
public:
    explicit TLayoutBuilder(int32_t width) : width_(width) {}

    bool Cut() const { return cut_; }

    // None once the layout is full.
    TDisplayLine* Add(uint8_t kind, const wchar_t* text, size_t length) {
        if (Room() <= 0) {
            cut_ = true;
            return nullptr;
        }
        lines_.emplace_back();
        TDisplayLine& line = lines_.back();
        line.Length = static_cast<int32_t>(std::min(length, static_cast<size_t>(kMaxLineLength)));
        std::wmemcpy(line.Text, text, line.Length);
        line.Kind = kind;
        line.Colour = LineStyles[kind].Colour;
        line.Style = LineStyles[kind].Style;
        line.Indent = LineStyles[kind].Indent;
        return &line;
    }

    void AddEmptyWordLine() { lines_.emplace_back(); }

    // The wrapped chunks of every grammar note of an analysis, under its row.
    void AttachNotes(TDisplayLine& row, const TMorphs& notes) {
        std::vector<TSubLine> chunks;
        for (const std::wstring& note : notes) {
            int32_t indent = LineStyles[lkGrammarNote].Indent;
            const wchar_t* p = note.c_str();
            while (*p != 0 && !cut_) {
                if (static_cast<int64_t>(chunks.size()) >= Room()) {
                    cut_ = true;
                    break;
                }
                int32_t length = 0;
                FindLineBreak(width_ - indent, p, length, width_);
                TSubLine& chunk = chunks.emplace_back();
                std::wmemcpy(chunk.Text, p, length);
                chunk.Length = length;
                chunk.Kind = lkGrammarNote;
                chunk.Colour = LineStyles[lkGrammarNote].Colour;
                chunk.Style = LineStyles[lkGrammarNote].Style;
                chunk.Indent = indent;
                p += length;
                indent = LineStyles[lkGrammarNote].Indent + kNoteContinuationIndent;
            }
        }
        if (chunks.empty()) {
            return;
        }
        row.SubCount = static_cast<int32_t>(chunks.size());
        row.SubLines = std::make_unique<TSubLine[]>(chunks.size());
        std::copy(chunks.begin(), chunks.end(), row.SubLines.get());
        subLineTotal_ += row.SubCount;
    }

    void AddArticle(const wchar_t* article, int32_t tag) {
        const wchar_t* p = article;
        while (*p != 0) {
            int32_t length = 0;
            FindLineBreak(width_ - LineStyles[lkArticle].Indent, p, length, width_);
            TDisplayLine* line = Add(lkArticle, p, length);
            if (line == nullptr) {
                return;
            }
            line->Tag = tag;
            p += length;
        }
    }

    void MoveInto(TLineLayout& layout) {
        if (cut_) {
            MakeLayoutCutLine(lines_.emplace_back());
        }
        layout.SubLineTotal = subLineTotal_;
        layout.Capacity = static_cast<int32_t>(lines_.size()) + subLineTotal_;
        layout.Lines = std::make_unique<TDisplayLine[]>(layout.Capacity);
        std::move(lines_.begin(), lines_.end(), layout.Lines.get());
        layout.LineCount = static_cast<int32_t>(lines_.size());
    }

private:
    // Lines and chunks that may still be built, keeping one for the line that says the text was cut.
    int64_t Room() const { return int64_t(kMaxLayoutLines) - 1 - static_cast<int64_t>(lines_.size()) - subLineTotal_; }

    int32_t width_;
    int32_t subLineTotal_ = 0;
    bool cut_ = false;
    std::vector<TDisplayLine> lines_;
};

const wchar_t* TextOrEmpty(const wchar_t* text) {
    return text != nullptr ? text : L"";
}

} // namespace

bool LayoutSearchResult(TLineLayout& layout, const TLangSearchResult& result, int32_t width) {
    layout = TLineLayout();
    if (result.Results.empty()) {
        return false;
    }
    TLayoutBuilder builder(std::clamp(width, 1, kMaxLineLength));
    int32_t tag = 0;

    if (!result.Word.empty()) {
        const std::wstring upper = SystemUpperCase(result.Word.substr(0, kWordSlots - 1));
        std::wmemcpy(layout.Word, upper.data(), upper.size());
        builder.Add(lkWord, upper.data(), upper.size())->Tag = tag++;
    } else {
        builder.AddEmptyWordLine();
    }

    for (const TBaseSearchResult& analysis : result.Results) {
        if (!analysis.SplitForm.empty()) {
            const std::wstring upper = SystemUpperCase(analysis.SplitForm);
            if (TDisplayLine* row = builder.Add(lkAnalysis, upper.data(), upper.size())) {
                row->Tag = tag++;
                // Notes go only under a row of their own, where expanding can show them.
                builder.AttachNotes(*row, analysis.Morphs);
            }
        }
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            const wchar_t* title = TextOrEmpty(dict.Title);
            if (*title != 0) {
                if (TDisplayLine* line = builder.Add(lkTitle, title, std::wcslen(title))) {
                    line->Dict = dict.DictIndex;
                    line->Entry = -1;
                    line->Tag = -1;
                }
            }
            for (const TDictItem& item : dict.Items) {
                if (builder.Cut()) {
                    break;
                }
                const wchar_t* headword = TextOrEmpty(item.Headword);
                if (*headword != 0) {
                    if (TDisplayLine* line = builder.Add(lkHeadword, headword, std::wcslen(headword))) {
                        line->Dict = dict.DictIndex;
                        line->Entry = static_cast<int32_t>(item.Entry);
                        line->Tag = tag;
                    }
                }
                builder.AddArticle(TextOrEmpty(item.Article), tag);
                ++tag;
            }
        }
        if (builder.Cut()) {
            break;
        }
    }
    builder.MoveInto(layout);
    return true;
}

void MakeLayoutCutLine(TDisplayLine& line) {
    const wchar_t* text = LayoutCutTexts[CurrentUILanguage()];
    line = TDisplayLine();
    line.Length = static_cast<int32_t>(std::wcslen(text));
    std::wmemcpy(line.Text, text, line.Length);
    line.Kind = lkArticle;
    line.Colour = LineStyles[lkArticle].Colour;
    line.Style = fsItalic;
    line.Indent = LineStyles[lkArticle].Indent;
    line.Tag = -1; // belongs to no entry
}

void MeasureLine(ITextMeasurer& measurer, TDisplayLine& line, int32_t x) {
    const int32_t length = std::clamp(line.Length, 0, kMaxLineLength);
    wchar_t blanked[kLineSlots] = {};
    for (int32_t i = 0; i < length; ++i) {
        blanked[i] = IsStyleMarker(line.Text[i]) ? L' ' : line.Text[i];
    }
    line.CharX[0] = static_cast<uint16_t>(x);
    int32_t height = 0;
    for (int32_t i = 0; i < length; ++i) {
        const wchar_t c = line.Text[i];
        if (IsStyleOff(c)) {
            measurer.SetStyle(measurer.Style() & ~ExternalStyles.StyleBitFor(c));
        }
        const TTextExtent extent = measurer.Extent(blanked + i, 1);
        if (IsStyleOn(c)) {
            measurer.SetStyle(measurer.Style() | ExternalStyles.StyleBitFor(c));
        }
        line.CharX[i + 1] = static_cast<uint16_t>(line.CharX[i] + extent.Width);
        height = extent.Height;
    }
    line.ExtentRight = line.CharX[length];
    line.ExtentHeight = height;
}

TTextExtent MeasureLines(TWindowData& window, ITextMeasurer& measurer, int32_t left, int32_t top) {
    TLineLayout& layout = window.Layout;
    if (window.PageLines > layout.LineCount) {
        window.PageLines = layout.LineCount;
    }
    measurer.SetStyle(0);
    TFontMetrics metrics = measurer.Metrics();
    layout.TextHeight = metrics.Height;

    TTextExtent content;
    int32_t y = top;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        TDisplayLine& line = layout.Line(i);
        // Compared with the font as the previous line left it, so that a marker left open there
        // does not carry over: every line starts in its own style.
        if (measurer.Style() != line.Style) {
            measurer.SetStyle(line.Style);
            metrics = measurer.Metrics();
        }
        line.Rect.Left = left + line.Indent * metrics.AveCharWidth;
        line.Rect.Top = y;
        MeasureLine(measurer, line, line.Rect.Left);
        line.Rect.Right = line.ExtentRight;
        line.Rect.Bottom = y + line.ExtentHeight;
        y = line.Rect.Bottom;
        content.Width = std::max(content.Width, line.ExtentRight);
        if (i + 1 == window.PageLines) {
            content.Height = y;
        }
    }
    window.ContentWidth = content.Width;
    window.ContentHeight = y;
    return content;
}

bool HitTestLink(TWindowData& window, int32_t line, int32_t x, wchar_t& marker, int32_t& length,
                 const wchar_t*& text) {
    window.LinkChar = -1;
    window.LinkLine = -1;
    marker = 0;
    length = 0;
    text = nullptr;
    if (!window.Layout.HasLine(line)) {
        return false;
    }
    const TDisplayLine& row = window.Layout.Line(line);
    const int32_t count = std::clamp(row.Length, 0, kMaxLineLength);
    int32_t i = 0;
    while (i < count - 1 && row.CharX[i + 1] < x) {
        ++i;
    }
    // Links are spans from an opening marker to its own closing one ('@' to '$', U+0402 to
    // U+0403); inside a span other markers are plain text. The opening marker belongs to the
    // link, the closing one does not.
    int32_t open = -1;
    wchar_t close = 0;
    for (int32_t k = 0; k <= i && k < count; ++k) {
        const wchar_t c = row.Text[k];
        if (open < 0 && IsLinkOpen(c)) {
            open = k;
            close = c == mkLinkOn ? mkLinkOff : mkUnderlineOff;
        } else if (open >= 0 && c == close) {
            open = -1;
        }
    }
    if (open < 0) {
        return false;
    }
    int32_t end = open + 1;
    while (end < count && row.Text[end] != close) {
        ++end;
    }
    marker = row.Text[open];
    text = row.Text + open + 1;
    length = end - open - 1;
    window.LinkLine = line;
    window.LinkChar = open;
    return true;
}
