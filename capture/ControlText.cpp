// The text of a standard control under a screen point and the index of the character there.
// Every number a control gives is another program's word: each is bounded before it sizes a
// buffer, and only the line around the cursor is read. Messages that carry a pointer reach other
// processes only where the system copies their data (WM_GETTEXT, EM_GETLINE, LB_GETTEXT) or
// through memory allocated in the control's process.

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "capture/ControlQuery.h"

namespace {

// Characters read on either side of the cursor; the block holds at most 255 bytes on either side.
constexpr size_t ContextUnits = 256;
// How far into its line the cursor may be: a standard edit gives a line only from its start.
// Lines are rarely longer than a screen shows; the rest of a longer one is left alone.
constexpr size_t MaxLineOffset = 2048 - ContextUnits;
// A standard edit's line that ends within this many characters of the text's start is read with
// WM_GETTEXT, which every system copies between processes; a line further on with EM_GETLINE.
constexpr size_t MaxTextStartRead = size_t(1) << 17;
constexpr size_t MaxShortText = 4096; // statics and list items longer than this are left alone
constexpr int EndOfLineSlack = 2;     // pixels past a line's last character still on it
constexpr int ListTextMargin = 2;     // where list boxes start an item's text

bool IsLineEnd(wchar_t unit) {
    return unit == L'\r' || unit == L'\n' || unit == L'\v';
}

// Up to `limit` characters of a window's text from its start.
bool ReadWindowText(HWND window, size_t limit, std::wstring& text) {
    LRESULT length = 0;
    if (!Query(window, WM_GETTEXTLENGTH, 0, 0, length) || length < 0) {
        return false;
    }
    text.assign(std::min(static_cast<size_t>(length), limit) + 1, L'\0');
    LRESULT copied = 0;
    if (!Query(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) {
        return false;
    }
    text.resize(std::min(static_cast<size_t>(std::max<LRESULT>(copied, 0)), text.size() - 1));
    return true;
}

// A piece of a control's text: the characters from First on.
struct TTextPiece {
    size_t First = 0;
    std::wstring Text;
};

// The two edit kinds differ in how positions and text are asked for, not in what is done with them.
class TTextBox {
public:
    explicit TTextBox(HWND window) : window_(window) {}
    virtual ~TTextBox() = default;
    virtual bool CharFromPos(POINT client, size_t& index) = 0;
    virtual bool PosFromChar(size_t index, POINT& pos) = 0;
    virtual bool LineFromChar(size_t index, size_t& line) = 0;
    // Where reading may start for a cursor `index` on a line starting at `lineStart`.
    virtual size_t ReadFrom(size_t lineStart, size_t index) const = 0;
    // Characters first to end of the line; fewer when the control gives fewer.
    virtual bool ReadLine(size_t line, size_t first, size_t end, std::wstring& text) = 0;
    HWND Window() const { return window_; }

protected:
    HWND window_;
};

class TEditBox : public TTextBox {
public:
    using TTextBox::TTextBox;
    bool CharFromPos(POINT client, size_t& index) override {
        LRESULT hit = 0;
        if (!Query(window_, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y), hit) || hit == -1 ||
            (LOWORD(hit) == 0xFFFF && HIWORD(hit) == 0xFFFF)) {
            return false;
        }
        // Both halves of the answer are 16 bits wide: beyond 65535 they are taken relative to
        // what is shown, the first visible line (or character, in a single-line edit). These
        // only guess where to look: the line read is checked against them below.
        index = LOWORD(hit);
        LRESULT length = 0;
        LRESULT first = 0;
        if (!Query(window_, WM_GETTEXTLENGTH, 0, 0, length) || (length >= 0 && length <= 0xFFFF)) {
            return true;
        }
        if (!Query(window_, EM_GETFIRSTVISIBLELINE, 0, 0, first)) {
            return false;
        }
        if ((GetWindowLongW(window_, GWL_STYLE) & ES_MULTILINE) == 0) {
            index = Unwrap16(static_cast<size_t>(first), LOWORD(hit));
            return true;
        }
        LRESULT lineStart = 0;
        const size_t line = Unwrap16(static_cast<size_t>(first), HIWORD(hit));
        if (!Query(window_, EM_LINEINDEX, line, 0, lineStart) || lineStart < 0) {
            return false;
        }
        index = Unwrap16(static_cast<size_t>(lineStart), LOWORD(hit));
        return true;
    }
    bool PosFromChar(size_t index, POINT& pos) override {
        LRESULT packed = 0;
        if (!Query(window_, EM_POSFROMCHAR, index, 0, packed) || packed == -1) {
            return false;
        }
        pos = Unpack(packed);
        return true;
    }
    bool LineFromChar(size_t index, size_t& line) override {
        LRESULT answer = 0;
        if (!Query(window_, EM_LINEFROMCHAR, index, 0, answer) || answer < 0) {
            return false;
        }
        line = static_cast<size_t>(answer);
        return true;
    }
    size_t ReadFrom(size_t lineStart, size_t) const override { return lineStart; }
    bool ReadLine(size_t line, size_t first, size_t end, std::wstring& text) override {
        if (end <= MaxTextStartRead) {
            if (!ReadWindowText(window_, end, text) || text.size() < first) {
                return false;
            }
            text.erase(0, first);
            return true;
        }
        // EM_GETLINE gives the line from its start into a buffer whose first unit holds its size;
        // a count other than the one asked for is no line (Wine's copy between processes fails so).
        const size_t size = end - first;
        text.assign(size, L'\0');
        if (size == 0) {
            return true;
        }
        text[0] = static_cast<wchar_t>(size);
        LRESULT copied = 0;
        if (!Query(window_, EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()), copied) ||
            copied != static_cast<LRESULT>(size)) {
            text.clear();
            return false;
        }
        return true;
    }
};

// Rich edits take and give POINTL and TEXTRANGEW through pointers, so these live in the control's
// process. Their positions count a paragraph end as one character, as EM_GETTEXTRANGE gives it.
class TRichEditBox : public TTextBox {
public:
    using TTextBox::TTextBox;
    bool CharFromPos(POINT client, size_t& index) override {
        TRemoteMemory memory(window_, sizeof(POINTL));
        const POINTL point = {client.x, client.y};
        LRESULT answer = 0;
        if (!memory.Valid() || !memory.Write(0, &point, sizeof point) ||
            !Query(window_, EM_CHARFROMPOS, 0, static_cast<LPARAM>(memory.At(0)), answer) || answer < 0 ||
            answer > MAXLONG) {
            return false;
        }
        index = static_cast<size_t>(answer);
        return true;
    }
    bool PosFromChar(size_t index, POINT& pos) override {
        TRemoteMemory memory(window_, sizeof(POINTL));
        POINTL point = {LONG_MIN, LONG_MIN};
        LRESULT ignored = 0;
        if (index > MAXLONG || !memory.Valid() || !memory.Write(0, &point, sizeof point) ||
            !Query(window_, EM_POSFROMCHAR, memory.At(0), static_cast<LPARAM>(index), ignored) ||
            !memory.Read(0, &point, sizeof point) || point.x == LONG_MIN) {
            return false;
        }
        pos = {point.x, point.y};
        return true;
    }
    bool LineFromChar(size_t index, size_t& line) override {
        LRESULT answer = 0;
        if (index > MAXLONG || !Query(window_, EM_EXLINEFROMCHAR, 0, static_cast<LPARAM>(index), answer) ||
            answer < 0) {
            return false;
        }
        line = static_cast<size_t>(answer);
        return true;
    }
    size_t ReadFrom(size_t lineStart, size_t index) const override {
        return index - std::min(index - lineStart, ContextUnits);
    }
    bool ReadLine(size_t, size_t first, size_t end, std::wstring& text) override {
        // TEXTRANGEW as the control's process lays it out.
        struct TTextRange32 {
            LONG Min, Max;
            DWORD Text;
        };
        constexpr size_t TextAt = 64;
        const size_t size = end - first;
        text.clear();
        if (size == 0) {
            return true;
        }
        TRemoteMemory memory(window_, TextAt + (size + 1) * sizeof(wchar_t));
        if (!memory.Valid() || end > MAXLONG) {
            return false;
        }
        const LONG min = static_cast<LONG>(first);
        const LONG max = static_cast<LONG>(end);
        const TTextRange32 small = {min, max, static_cast<DWORD>(memory.At(TextAt))};
        const TEXTRANGEW large = {{min, max}, reinterpret_cast<LPWSTR>(memory.At(TextAt))};
        const bool written =
            memory.Is32Bit() ? memory.Write(0, &small, sizeof small) : memory.Write(0, &large, sizeof large);
        LRESULT copied = 0;
        if (!written || !Query(window_, EM_GETTEXTRANGE, 0, static_cast<LPARAM>(memory.At(0)), copied) ||
            copied < 0) {
            return false;
        }
        text.assign(std::min(static_cast<size_t>(copied), size), L'\0');
        return memory.Read(TextAt, text.data(), text.size() * sizeof(wchar_t));
    }
};

// Where the text of the line ending at `index` ends. A single-line edit gives no place for the
// end of its text: then the last character's place and its width in the control's font.
bool LineEndX(TTextBox& box, size_t index, const TTextPiece& piece, LONG& x) {
    POINT pos = {};
    if (box.PosFromChar(index, pos)) {
        x = pos.x;
        return true;
    }
    SIZE size = {};
    if (index <= piece.First || index - piece.First > piece.Text.size()) {
        return false;
    }
    const wchar_t& last = piece.Text[index - 1 - piece.First];
    if (IsLineEnd(last) || !box.PosFromChar(index - 1, pos)) {
        return false;
    }
    TControlFontDC font(box.Window());
    if (!font.Valid() || !GetTextExtentPoint32W(font.Dc(), &last, 1, &size)) {
        return false;
    }
    x = pos.x + size.cx;
    return true;
}

// The nearest character is reported even for a point past the end of a line or below the last
// line: only a point on the text itself counts.
bool OnText(TTextBox& box, POINT client, size_t index, const TTextPiece& piece) {
    const size_t at = index - piece.First;
    LONG lineEnd = 0;
    if ((at >= piece.Text.size() || IsLineEnd(piece.Text[at])) && LineEndX(box, index, piece, lineEnd) &&
        client.x > lineEnd + EndOfLineSlack) {
        return false;
    }
    LRESULT lines = 0;
    LRESULT start = 0;
    size_t line = 0;
    POINT top = {};
    if (!Query(box.Window(), EM_GETLINECOUNT, 0, 0, lines) || !box.LineFromChar(index, line) || lines < 0 ||
        line + 1 < static_cast<size_t>(lines) || !Query(box.Window(), EM_LINEINDEX, line, 0, start) || start < 0 ||
        !box.PosFromChar(static_cast<size_t>(start), top)) {
        return true;
    }
    // On the last line: its height is the distance from the line above it, else the font's.
    LONG height = 0;
    LRESULT above = 0;
    POINT upper = {};
    TEXTMETRICW metrics = {};
    if (line > 0 && Query(box.Window(), EM_LINEINDEX, line - 1, 0, above) && above >= 0 &&
        box.PosFromChar(static_cast<size_t>(above), upper)) {
        height = top.y - upper.y;
    } else if (TControlFontDC font(box.Window()); font.Valid() && GetTextMetricsW(font.Dc(), &metrics)) {
        height = metrics.tmHeight;
    }
    return height <= 0 || client.y < top.y + height;
}

// The line around the character under the point, up to ContextUnits past it, when the control's
// answers about that line agree with each other.
bool ReadTextBox(TTextBox& box, POINT client, std::wstring& text, size_t& cursor) {
    size_t index = 0;
    size_t line = 0;
    LRESULT lineStart = 0;
    LRESULT lineLength = 0;
    if (!box.CharFromPos(client, index) || !box.LineFromChar(index, line) ||
        !Query(box.Window(), EM_LINEINDEX, line, 0, lineStart) || lineStart < 0 ||
        static_cast<size_t>(lineStart) > index || index - static_cast<size_t>(lineStart) > MaxLineOffset ||
        !Query(box.Window(), EM_LINELENGTH, index, 0, lineLength) || lineLength < 0 ||
        static_cast<size_t>(lineLength) < index - static_cast<size_t>(lineStart)) {
        return false;
    }
    const size_t start = static_cast<size_t>(lineStart);
    const size_t end = start + std::min(static_cast<size_t>(lineLength), index - start + ContextUnits);
    TTextPiece piece;
    piece.First = box.ReadFrom(start, index);
    if (!box.ReadLine(line, piece.First, end, piece.Text) || !OnText(box, client, index, piece)) {
        return false;
    }
    text = std::move(piece.Text);
    cursor = std::min(index - piece.First, text.size());
    return true;
}

// A static shows its text on one line when it has no line breaks or tabs and either does not
// wrap or fits; '&' marks the next character as its mnemonic unless SS_NOPREFIX.
bool ReadStatic(HWND control, POINT client, std::wstring& text, size_t& cursor) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG type = style & SS_TYPEMASK;
    const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    std::wstring source;
    if ((!wraps && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) ||
        !ReadWindowText(control, MaxShortText + 1, source) || source.size() > MaxShortText ||
        source.find_first_of(L"\r\n\t") != std::wstring::npos) {
        return false;
    }
    text.clear();
    for (size_t i = 0; i < source.size(); ++i) {
        if ((style & SS_NOPREFIX) == 0 && source[i] == L'&' && ++i == source.size()) {
            break;
        }
        text += source[i];
    }
    TControlFontDC font(control);
    std::vector<int> edges;
    TEXTMETRICW metrics = {};
    RECT area = {};
    if (!CharacterEdges(font, text, edges) || !GetTextMetricsW(font.Dc(), &metrics) || !GetClientRect(control, &area)) {
        return false;
    }
    const int width = edges.back();
    if (wraps && width > area.right) {
        return false;
    }
    const int left = type == SS_CENTER ? (area.right - width) / 2 : type == SS_RIGHT ? area.right - width : 0;
    const int top = (style & SS_CENTERIMAGE) != 0 ? (area.bottom - metrics.tmHeight) / 2 : 0;
    return client.y >= top && client.y < top + metrics.tmHeight && CharacterAtX(edges, client.x - left, cursor);
}

// Items drawn by the list's owner are left alone: where their characters stand is unknown.
bool ReadListBox(HWND list, POINT client, std::wstring& text, size_t& cursor) {
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    LRESULT hit = 0;
    LRESULT top = 0;
    LRESULT height = 0;
    LRESULT count = 0;
    if ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_MULTICOLUMN)) != 0 ||
        !Query(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y), hit) || HIWORD(hit) != 0 ||
        !Query(list, LB_GETTOPINDEX, 0, 0, top) || !Query(list, LB_GETITEMHEIGHT, 0, 0, height) ||
        !Query(list, LB_GETCOUNT, 0, 0, count) || top < 0 || height <= 0 || count <= 0) {
        return false;
    }
    // The item index is 16 bits wide; the first shown item is at most 65535 above it.
    const size_t item = Unwrap16(static_cast<size_t>(top), LOWORD(hit));
    const LONG itemTop = static_cast<LONG>((static_cast<LRESULT>(item) - top) * height);
    LRESULT length = 0;
    if (static_cast<LRESULT>(item) >= count || client.y < itemTop || client.y >= itemTop + height ||
        !Query(list, LB_GETTEXTLEN, item, 0, length) || length <= 0 || static_cast<size_t>(length) > MaxShortText) {
        return false;
    }
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Query(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()), copied) || copied <= 0) {
        return false;
    }
    text.resize(std::min(static_cast<size_t>(copied), text.size() - 1));
    TControlFontDC font(list);
    std::vector<int> edges;
    return text.find(L'\t') == std::wstring::npos && CharacterEdges(font, text, edges) &&
           CharacterAtX(edges, client.x - ListTextMargin, cursor);
}

enum class TControlKind { Other, Edit, RichEdit, Static, ListBox };

TControlKind KindOf(HWND window) {
    struct TKnownClass {
        const wchar_t* Name;
        TControlKind Kind;
    };
    static const TKnownClass Known[] = {
        {L"Edit", TControlKind::Edit},
        {L"RICHEDIT50W", TControlKind::RichEdit},
        {L"RichEdit20W", TControlKind::RichEdit},
        {L"RichEdit20A", TControlKind::RichEdit},
        {L"Static", TControlKind::Static},
        {L"ListBox", TControlKind::ListBox},
        {L"ComboLBox", TControlKind::ListBox},
    };
    // The system class under a superclass of it, else the window's own class.
    wchar_t name[64] = {};
    if (RealGetWindowClassW(window, name, ARRAYSIZE(name)) == 0) {
        return TControlKind::Other;
    }
    for (const TKnownClass& known : Known) {
        if (CompareStringOrdinal(name, -1, known.Name, -1, TRUE) == CSTR_EQUAL) {
            return known.Kind;
        }
    }
    return TControlKind::Other;
}

// WindowFromPoint passes over statics, which answer HTTRANSPARENT; their parent then holds the point.
HWND ControlAt(POINT screen) {
    HWND window = WindowFromPoint(screen);
    for (int depth = 0; window != nullptr && depth < 8; ++depth) {
        POINT client = screen;
        ScreenToClient(window, &client);
        HWND child = RealChildWindowFromPoint(window, client);
        if (child == nullptr || child == window) {
            break;
        }
        window = child;
    }
    return window;
}

// ReadTextUnderCursor without its guard.
bool ReadControlText(POINT screen, DWORD skippedProcess, std::wstring& text, size_t& cursor) {
    HWND control = ControlAt(screen);
    DWORD process = 0;
    POINT client = screen;
    RECT area = {};
    if (control == nullptr || GetWindowThreadProcessId(control, &process) == 0 || process == skippedProcess ||
        !ScreenToClient(control, &client) || !GetClientRect(control, &area) || !PtInRect(&area, client)) {
        return false;
    }
    switch (KindOf(control)) {
    case TControlKind::Edit: {
        TEditBox box(control);
        return ReadTextBox(box, client, text, cursor);
    }
    case TControlKind::RichEdit: {
        TRichEditBox box(control);
        return ReadTextBox(box, client, text, cursor);
    }
    case TControlKind::Static:
        return ReadStatic(control, client, text, cursor);
    case TControlKind::ListBox:
        return ReadListBox(control, client, text, cursor);
    case TControlKind::Other:
        break;
    }
    return false;
}

} // namespace

// The text of the control under `screen` and the cursor's index in it, unless the control
// belongs to `skippedProcess` or shows no text there.
bool ReadTextUnderCursor(POINT screen, DWORD skippedProcess, std::wstring& text, size_t& cursor) {
    try {
        return ReadControlText(screen, skippedProcess, text, cursor);
    } catch (...) {
        return false; // no room for the text: nothing read
    }
}
