#include "main/html/HtmlReader.h"

#include <algorithm>

#include "main/html/HtmlTags.h"
#include "main/html/HtmlValues.h"

namespace {

constexpr wchar_t kBullet = 0x2022;
constexpr uint32_t kLinkColour = 0x0000FF;
// Open elements beyond this depth are ignored, so that hostile nesting costs no more than deep nesting.
constexpr size_t kMaxOpen = 256;
constexpr size_t npos = std::wstring_view::npos;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Characters that go into the text as they stand.
bool IsPlain(wchar_t c) {
    return c >= 0x20 && c != L'<' && c != L'&' && c != L' ';
}

THtmlStyle Apply(THtmlStyle style, const TEffect& effect) {
    style.Bold = style.Bold || effect.Bold;
    style.Italic = style.Italic || effect.Italic;
    style.Underline = style.Underline || effect.Underline;
    if (effect.Colour != kHtmlDefaultColour) {
        style.Colour = effect.Colour;
    }
    if (effect.Size != 0) {
        style.Size = effect.Size;
    }
    style.Size = std::clamp(style.Size + effect.SizeStep, kHtmlMinSize, kHtmlMaxSize);
    return style;
}

struct TOpen {
    const TTagInfo* Tag;
    TEffect Own;
    THtmlStyle Style; // of this element and every one below it
    bool Hidden;
    bool Preformatted;
};

struct TAttribute {
    std::wstring_view Name;
    std::wstring_view Value;
};

class TReader {
public:
    explicit TReader(std::wstring_view html) : html_(html) {}
    std::vector<THtmlRun> Read();

private:
    size_t ReadMarkup(size_t p);
    size_t ReadStartTag(size_t p);
    size_t ReadEndTag(size_t p);
    size_t ReadEntity(size_t p);
    size_t ReadBlanks(size_t p);
    void PreformattedBlank(wchar_t c);
    size_t SkipPast(size_t p, std::wstring_view end) const;

    void StartTag(const TTagInfo& tag);
    void EndTag(const TTagInfo& tag);
    TEffect FontEffect() const;
    bool HasAttribute(std::wstring_view name) const;
    void Push(const TTagInfo& tag, const TEffect& effect);
    void Close(const TTagInfo& tag);

    void Character(uint32_t codePoint);
    void Text(std::wstring_view text);
    void Blank();
    void Break();
    void Block(int blankLines);
    void FlushBlock();
    void Append(std::wstring_view text, const THtmlStyle& style);
    void AppendBreak(const THtmlStyle& style);

    const THtmlStyle& Style() const { return open_.empty() ? kDefault : open_.back().Style; }
    bool Hidden() const { return !open_.empty() && open_.back().Hidden; }
    bool Preformatted() const { return !open_.empty() && open_.back().Preformatted; }

    static const THtmlStyle kDefault;

    std::wstring_view html_;
    std::vector<THtmlRun> runs_;
    std::vector<TOpen> open_;
    std::vector<TAttribute> attributes_;
    bool anyText_ = false;      // something is on the page
    bool lineHasText_ = false;  // something is on the current line
    bool blankPending_ = false; // a collapsed blank, shown only when text follows on the line
    THtmlStyle blankStyle_;
    int blockPending_ = kInline; // a block boundary, laid out when text follows
};

const THtmlStyle TReader::kDefault{};

std::vector<THtmlRun> TReader::Read() {
    size_t p = 0;
    while (p < html_.size()) {
        const wchar_t c = html_[p];
        if (c == L'<') {
            p = ReadMarkup(p);
        } else if (c == L'&') {
            p = ReadEntity(p);
        } else if (IsBlank(c)) {
            p = ReadBlanks(p);
        } else if (c < 0x20) {
            ++p; // control characters show nothing
        } else {
            size_t end = p + 1;
            while (end < html_.size() && IsPlain(html_[end])) {
                ++end;
            }
            Text(html_.substr(p, end - p));
            p = end;
        }
    }
    // A break that ends the page opens no empty line.
    if (!runs_.empty() && runs_.back().LineBreak) {
        runs_.pop_back();
    }
    return std::move(runs_);
}

// Past the first occurrence of end (ASCII, any case), or the end of the text.
size_t TReader::SkipPast(size_t p, std::wstring_view end) const {
    for (; p + end.size() <= html_.size(); ++p) {
        if (HtmlSameName(html_.substr(p, end.size()), end)) {
            return p + end.size();
        }
    }
    return html_.size();
}

size_t TReader::ReadMarkup(size_t p) {
    const size_t next = p + 1;
    if (next < html_.size()) {
        const wchar_t c = html_[next];
        if (IsAsciiLetter(c)) {
            return ReadStartTag(next);
        }
        if (c == L'/') {
            if (next + 1 < html_.size() && IsAsciiLetter(html_[next + 1])) {
                return ReadEndTag(next + 1);
            }
            return SkipPast(next, L">");
        }
        if (c == L'!') {
            return html_.substr(next, 3) == L"!--" ? SkipPast(next + 3, L"-->") : SkipPast(next, L">");
        }
        if (c == L'?') {
            return SkipPast(next, L">");
        }
    }
    Text(L"<");
    return next;
}

// p stands on the name's first letter. A tag that never ends swallows the rest of the text.
size_t TReader::ReadStartTag(size_t p) {
    const size_t n = html_.size();
    const auto endsName = [&](size_t at) { return IsBlank(html_[at]) || html_[at] == L'/' || html_[at] == L'>'; };
    const size_t nameStart = p;
    while (p < n && !endsName(p)) {
        ++p;
    }
    const std::wstring_view name = html_.substr(nameStart, p - nameStart);
    attributes_.clear();
    for (;;) {
        while (p < n && (IsBlank(html_[p]) || html_[p] == L'/')) {
            ++p;
        }
        if (p >= n) {
            return n;
        }
        if (html_[p] == L'>') {
            ++p;
            break;
        }
        const size_t attributeStart = p++;
        while (p < n && !endsName(p) && html_[p] != L'=') {
            ++p;
        }
        TAttribute attribute{html_.substr(attributeStart, p - attributeStart), {}};
        size_t q = p;
        while (q < n && IsBlank(html_[q])) {
            ++q;
        }
        if (q < n && html_[q] == L'=') {
            p = q + 1;
            while (p < n && IsBlank(html_[p])) {
                ++p;
            }
            if (p >= n) {
                return n;
            }
            const wchar_t quote = html_[p];
            if (quote == L'"' || quote == L'\'') {
                const size_t close = html_.find(quote, p + 1);
                if (close == npos) {
                    return n;
                }
                attribute.Value = html_.substr(p + 1, close - p - 1);
                p = close + 1;
            } else {
                const size_t valueStart = p;
                while (p < n && !IsBlank(html_[p]) && html_[p] != L'>') {
                    ++p;
                }
                attribute.Value = html_.substr(valueStart, p - valueStart);
            }
        }
        attributes_.push_back(attribute);
    }
    const TTagInfo* tag = FindHtmlTag(name);
    if (tag == nullptr) {
        return p;
    }
    if (tag->Kind == TTagKind::Skipped) {
        return SkipPast(SkipPast(p, std::wstring(L"</") + std::wstring(tag->Name)), L">");
    }
    StartTag(*tag);
    // As in a browser, a line end right after PRE's start tag is not shown.
    if (tag->Effect.Preformatted) {
        if (p < n && html_[p] == L'\r') {
            ++p;
        }
        if (p < n && html_[p] == L'\n') {
            ++p;
        }
    }
    return p;
}

size_t TReader::ReadEndTag(size_t p) {
    const size_t nameStart = p;
    while (p < html_.size() && !IsBlank(html_[p]) && html_[p] != L'/' && html_[p] != L'>') {
        ++p;
    }
    const std::wstring_view name = html_.substr(nameStart, p - nameStart);
    p = html_.find(L'>', p);
    if (p == npos) {
        return html_.size();
    }
    if (const TTagInfo* tag = FindHtmlTag(name)) {
        EndTag(*tag);
    }
    return p + 1;
}

// A reference that does not parse is an ampersand of the text.
size_t TReader::ReadEntity(size_t p) {
    const size_t n = html_.size();
    size_t q = p + 1;
    if (q < n && html_[q] == L'#') {
        ++q;
        const bool hex = q < n && (html_[q] == L'x' || html_[q] == L'X');
        if (hex) {
            ++q;
        }
        const size_t digitsStart = q;
        uint32_t value = 0;
        for (int digit; q < n && (digit = HtmlDigitValue(html_[q], hex ? 16 : 10)) >= 0; ++q) {
            // Held just past the last code point, however long the number.
            value = std::min<uint32_t>(value * (hex ? 16 : 10) + static_cast<uint32_t>(digit), 0x110000);
        }
        if (q == digitsStart) {
            Text(L"&");
            return p + 1;
        }
        if (q < n && html_[q] == L';') {
            ++q;
        }
        Character(value);
        return q;
    }
    while (q < n && (IsAsciiLetter(html_[q]) || IsAsciiDigit(html_[q]))) {
        ++q;
    }
    const wchar_t c = HtmlEntityCharacter(html_.substr(p + 1, q - p - 1));
    if (c == 0) {
        Text(L"&");
        return p + 1;
    }
    if (q < n && html_[q] == L';') {
        ++q;
    }
    Character(c);
    return q;
}

size_t TReader::ReadBlanks(size_t p) {
    if (!Preformatted()) {
        while (p < html_.size() && IsBlank(html_[p])) {
            ++p;
        }
        Blank();
        return p;
    }
    // CR LF is one line end: the line feed makes the break.
    if (!(html_[p] == L'\r' && p + 1 < html_.size() && html_[p + 1] == L'\n')) {
        PreformattedBlank(html_[p]);
    }
    return p + 1;
}

void TReader::PreformattedBlank(wchar_t c) {
    if (c == L'\r' || c == L'\n') {
        Break();
    } else {
        Text(c == L'\t' ? L"\t" : L" ");
    }
}

void TReader::StartTag(const TTagInfo& tag) {
    switch (tag.Kind) {
    case TTagKind::Style:
        Block(tag.BlankLines);
        Push(tag, tag.Effect);
        break;
    case TTagKind::Font:
        Push(tag, FontEffect());
        break;
    case TTagKind::Anchor: {
        // Pushed even when it is no link, so that its end tag closes it and nothing else.
        TEffect link;
        if (HasAttribute(L"href")) {
            link.Underline = true;
            link.Colour = kLinkColour;
        }
        Push(tag, link);
        break;
    }
    case TTagKind::Block:
        Block(tag.BlankLines);
        break;
    case TTagKind::Item:
        Block(tag.BlankLines);
        Text(std::wstring_view(&kBullet, 1));
        Blank();
        break;
    case TTagKind::Cell:
        Blank();
        break;
    case TTagKind::Break:
        Break();
        break;
    case TTagKind::Body:
        if (const TTagInfo* head = FindHtmlTag(L"head")) {
            Close(*head);
        }
        break;
    case TTagKind::Skipped:
        break;
    }
}

void TReader::EndTag(const TTagInfo& tag) {
    switch (tag.Kind) {
    case TTagKind::Style:
    case TTagKind::Font:
    case TTagKind::Anchor:
        Close(tag);
        Block(tag.BlankLines);
        break;
    case TTagKind::Block:
    case TTagKind::Item:
        Block(tag.BlankLines);
        break;
    case TTagKind::Cell:
        Blank();
        break;
    case TTagKind::Break:
        Break(); // as browsers read </BR>
        break;
    case TTagKind::Body:
    case TTagKind::Skipped:
        break;
    }
}

bool TReader::HasAttribute(std::wstring_view name) const {
    return std::any_of(attributes_.begin(), attributes_.end(),
                       [&](const TAttribute& a) { return HtmlSameName(a.Name, name); });
}

// The first COLOR and the first SIZE count; values that do not parse change nothing.
TEffect TReader::FontEffect() const {
    TEffect effect;
    bool colourSeen = false;
    bool sizeSeen = false;
    for (const TAttribute& a : attributes_) {
        if (!colourSeen && HtmlSameName(a.Name, L"color")) {
            colourSeen = true;
            effect.Colour = HtmlParseColour(a.Value);
        } else if (!sizeSeen && HtmlSameName(a.Name, L"size")) {
            sizeSeen = true;
            effect.Size = HtmlParseFontSize(a.Value);
        }
    }
    return effect;
}

void TReader::Push(const TTagInfo& tag, const TEffect& effect) {
    if (open_.size() >= kMaxOpen) {
        return;
    }
    open_.push_back(
        {&tag, effect, Apply(Style(), effect), Hidden() || effect.Hidden, Preformatted() || effect.Preformatted});
}

// The nearest open element of the tag ends; those opened after it stay open, as in a browser.
void TReader::Close(const TTagInfo& tag) {
    size_t k = open_.size();
    while (k > 0 && open_[k - 1].Tag != &tag) {
        --k;
    }
    if (k == 0) {
        return;
    }
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(k - 1));
    for (size_t i = k - 1; i < open_.size(); ++i) {
        const TOpen* below = i > 0 ? &open_[i - 1] : nullptr;
        TOpen& o = open_[i];
        o.Style = Apply(below != nullptr ? below->Style : kDefault, o.Own);
        o.Hidden = (below != nullptr && below->Hidden) || o.Own.Hidden;
        o.Preformatted = (below != nullptr && below->Preformatted) || o.Own.Preformatted;
    }
}

void TReader::Character(uint32_t codePoint) {
    codePoint = HtmlCharacterReference(codePoint);
    if (codePoint > 0xFFFF) {
        const uint32_t v = codePoint - 0x10000;
        const wchar_t pair[2] = {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
        Text(std::wstring_view(pair, 2));
    } else if (IsBlank(static_cast<wchar_t>(codePoint))) {
        if (Preformatted()) {
            PreformattedBlank(static_cast<wchar_t>(codePoint));
        } else {
            Blank();
        }
    } else if (codePoint >= 0x20) {
        const wchar_t c = static_cast<wchar_t>(codePoint);
        Text(std::wstring_view(&c, 1));
    }
}

void TReader::Text(std::wstring_view text) {
    if (Hidden()) {
        return;
    }
    FlushBlock();
    if (blankPending_) {
        blankPending_ = false;
        Append(L" ", blankStyle_);
    }
    Append(text, Style());
    lineHasText_ = true;
    anyText_ = true;
}

void TReader::Blank() {
    if (Hidden() || !lineHasText_ || blankPending_ || blockPending_ != kInline) {
        return;
    }
    blankPending_ = true;
    blankStyle_ = Style();
}

void TReader::Break() {
    if (Hidden()) {
        return;
    }
    FlushBlock();
    blankPending_ = false;
    AppendBreak(Style());
    lineHasText_ = false;
    anyText_ = true;
}

void TReader::Block(int blankLines) {
    if (Hidden() || blankLines == kInline) {
        return;
    }
    blankPending_ = false;
    blockPending_ = std::max(blockPending_, blankLines);
}

// A block at the top of the page opens no empty lines.
void TReader::FlushBlock() {
    if (blockPending_ == kInline) {
        return;
    }
    if (anyText_) {
        const THtmlStyle style = runs_.back().Style;
        for (int k = blockPending_ + (lineHasText_ ? 1 : 0); k > 0; --k) {
            AppendBreak(style);
        }
    }
    blockPending_ = kInline;
    lineHasText_ = false;
}

void TReader::Append(std::wstring_view text, const THtmlStyle& style) {
    if (runs_.empty() || runs_.back().LineBreak || runs_.back().Style != style) {
        runs_.push_back({std::wstring(), style, false});
    }
    runs_.back().Text.append(text);
}

void TReader::AppendBreak(const THtmlStyle& style) {
    runs_.push_back({std::wstring(), style, true});
}

} // namespace

std::vector<THtmlRun> ReadHtml(std::wstring_view html) {
    return TReader(html).Read();
}
