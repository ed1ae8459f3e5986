#include "main/html/HtmlTags.h"

#include "main/html/HtmlValues.h"

namespace {

constexpr TEffect Effect(bool bold, bool italic, bool underline, int size = 0, int step = 0) {
    return {bold, italic, underline, kHtmlDefaultColour, size, step, false, false};
}
constexpr TEffect kNone = Effect(false, false, false);
constexpr TEffect kBold = Effect(true, false, false);
constexpr TEffect kItalic = Effect(false, true, false);
constexpr TEffect kUnderline = Effect(false, false, true);
constexpr TEffect kHidden = {false, false, false, kHtmlDefaultColour, 0, 0, true, false};
constexpr TEffect kPreformatted = {false, false, false, kHtmlDefaultColour, 0, 0, false, true};

// The tags the programs write, and those a help page may hold; any other tag is ignored and its
// text kept.
const TTagInfo kTags[] = {
    {L"a", TTagKind::Anchor, kInline, kNone},
    {L"b", TTagKind::Style, kInline, kBold},
    {L"big", TTagKind::Style, kInline, Effect(false, false, false, 0, +1)},
    {L"blockquote", TTagKind::Block, 1, kNone},
    {L"body", TTagKind::Body, kInline, kNone},
    {L"br", TTagKind::Break, kInline, kNone},
    {L"center", TTagKind::Block, 0, kNone},
    {L"cite", TTagKind::Style, kInline, kItalic},
    {L"dd", TTagKind::Block, 0, kNone},
    {L"div", TTagKind::Block, 0, kNone},
    {L"dl", TTagKind::Block, 1, kNone},
    {L"dt", TTagKind::Block, 0, kNone},
    {L"em", TTagKind::Style, kInline, kItalic},
    {L"font", TTagKind::Font, kInline, kNone},
    {L"h1", TTagKind::Style, 1, Effect(true, false, false, 6)},
    {L"h2", TTagKind::Style, 1, Effect(true, false, false, 5)},
    {L"h3", TTagKind::Style, 1, Effect(true, false, false, 4)},
    {L"h4", TTagKind::Style, 1, Effect(true, false, false, 3)},
    {L"h5", TTagKind::Style, 1, Effect(true, false, false, 2)},
    {L"h6", TTagKind::Style, 1, Effect(true, false, false, 1)},
    {L"head", TTagKind::Style, kInline, kHidden},
    {L"hr", TTagKind::Block, 0, kNone},
    {L"i", TTagKind::Style, kInline, kItalic},
    {L"li", TTagKind::Item, 0, kNone},
    {L"ol", TTagKind::Block, 1, kNone},
    {L"p", TTagKind::Block, 1, kNone},
    {L"pre", TTagKind::Style, 1, kPreformatted},
    {L"script", TTagKind::Skipped, kInline, kNone},
    {L"small", TTagKind::Style, kInline, Effect(false, false, false, 0, -1)},
    {L"strong", TTagKind::Style, kInline, kBold},
    {L"style", TTagKind::Skipped, kInline, kNone},
    {L"table", TTagKind::Block, 0, kNone},
    {L"td", TTagKind::Cell, kInline, kNone},
    {L"th", TTagKind::Cell, kInline, kNone},
    {L"title", TTagKind::Skipped, kInline, kNone},
    {L"tr", TTagKind::Block, 0, kNone},
    {L"u", TTagKind::Style, kInline, kUnderline},
    {L"ul", TTagKind::Block, 1, kNone},
};

} // namespace

const TTagInfo* FindHtmlTag(std::wstring_view name) {
    for (const TTagInfo& tag : kTags) {
        if (HtmlSameName(name, tag.Name)) {
            return &tag;
        }
    }
    return nullptr;
}
