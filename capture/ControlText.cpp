// The text of a standard control under a screen point and the index of the character there.
// Every question goes through SendMessageTimeoutW with a short timeout, so a hung program never
// holds the capture; messages that carry a pointer reach other processes only where the system
// copies their data (WM_GETTEXT, LB_GETTEXT) or through memory allocated in the control's process.

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr UINT QueryTimeout = 200; // milliseconds per message
// Characters read past the cursor; the block holds at most 255 bytes on either side.
constexpr size_t ContextUnits = 256;
constexpr size_t MaxShortText = 4096; // statics and list items longer than this are left alone
constexpr int EndOfLineSlack = 2;     // pixels past a line's last character still on it
constexpr int ListTextMargin = 2;     // where list boxes start an item's text

// Failure is a zero return with an error set: Wine also returns zero for an answer of zero.
bool Query(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, QueryTimeout, &answer) == 0 &&
        GetLastError() != ERROR_SUCCESS) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

POINT Unpack(LRESULT packed) {
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

// A 16-bit index from a control, widened with a known index at most 65535 below the true one.
size_t Unwrap16(size_t base, WORD low) {
    return base + ((low - base) & 0xFFFF);
}

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

// Memory in the process of a control, for messages whose pointers the system does not copy.
class TRemoteMemory {
public:
    TRemoteMemory(HWND control, size_t size) : size_(size) {
        DWORD id = 0;
        GetWindowThreadProcessId(control, &id);
        process_ = OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (process_ != nullptr) {
            BOOL wow64 = FALSE;
            is32Bit_ = IsWow64Process(process_, &wow64) && wow64;
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~TRemoteMemory() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    TRemoteMemory(const TRemoteMemory&) = delete;
    TRemoteMemory& operator=(const TRemoteMemory&) = delete;

    bool Valid() const { return address_ != nullptr; }
    bool Is32Bit() const { return is32Bit_; }
    uintptr_t At(size_t offset) const { return reinterpret_cast<uintptr_t>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
    bool is32Bit_ = false;
};

// A memory device context with the control's font. Another process's font cannot be selected
// here; the message font, which dialogs commonly use, stands in for it then.
class TControlFontDC {
public:
    explicit TControlFontDC(HWND control) : dc_(CreateCompatibleDC(nullptr)) {
        LRESULT font = 0;
        if (dc_ == nullptr || !Query(control, WM_GETFONT, 0, 0, font)) {
            return;
        }
        HGDIOBJ chosen = font != 0 ? reinterpret_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
        previous_ = SelectObject(dc_, chosen);
        if (previous_ == nullptr || previous_ == HGDI_ERROR) {
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof metrics;
            if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
                standIn_ = CreateFontIndirectW(&metrics.lfMessageFont);
            }
            previous_ = standIn_ != nullptr ? SelectObject(dc_, standIn_) : nullptr;
        }
    }
    ~TControlFontDC() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
        if (standIn_ != nullptr) {
            DeleteObject(standIn_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    TControlFontDC(const TControlFontDC&) = delete;
    TControlFontDC& operator=(const TControlFontDC&) = delete;

    bool Valid() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
    HFONT standIn_ = nullptr;
};

// Where one line of text drawn from x = 0 puts each character's right edge.
bool CharacterEdges(const TControlFontDC& font, std::wstring_view line, std::vector<int>& edges) {
    edges.assign(line.size(), 0);
    SIZE size = {};
    return font.Valid() && !line.empty() &&
           GetTextExtentExPointW(font.Dc(), line.data(), static_cast<int>(line.size()), 0, nullptr, edges.data(),
                                 &size);
}

bool CharacterAtX(const std::vector<int>& edges, int x, size_t& index) {
    if (x < 0) {
        return false;
    }
    for (size_t i = 0; i < edges.size(); ++i) {
        if (x < edges[i]) {
            index = i;
            return true;
        }
    }
    return false;
}

// The two edit kinds differ in how positions and text are asked for, not in what is done with them.
class TTextBox {
public:
    explicit TTextBox(HWND window) : window_(window) {}
    virtual ~TTextBox() = default;
    virtual bool CharFromPos(POINT client, size_t& index) = 0;
    virtual bool PosFromChar(size_t index, POINT& pos) = 0;
    virtual bool LineFromChar(size_t index, size_t& line) = 0;
    // The first `limit` characters (fewer at the end of the text), indexed as the control counts.
    virtual bool ReadText(size_t limit, std::wstring& text) = 0;
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
        // what is shown, the first visible line (or character, in a single-line edit).
        index = LOWORD(hit);
        LRESULT length = 0;
        LRESULT first = 0;
        if (!Query(window_, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0xFFFF) {
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
    bool ReadText(size_t limit, std::wstring& text) override { return ReadWindowText(window_, limit, text); }
};

// Rich edits take and give POINTL and GETTEXTEX through pointers, so these live in the control's
// process. EM_GETTEXTEX in UTF-16 counts a paragraph end as one character, as positions do.
class TRichEditBox : public TTextBox {
public:
    using TTextBox::TTextBox;
    bool CharFromPos(POINT client, size_t& index) override {
        TRemoteMemory memory(window_, sizeof(POINTL));
        const POINTL point = {client.x, client.y};
        LRESULT answer = 0;
        if (!memory.Valid() || !memory.Write(0, &point, sizeof point) ||
            !Query(window_, EM_CHARFROMPOS, 0, static_cast<LPARAM>(memory.At(0)), answer) || answer < 0) {
            return false;
        }
        index = static_cast<size_t>(answer);
        return true;
    }
    bool PosFromChar(size_t index, POINT& pos) override {
        TRemoteMemory memory(window_, sizeof(POINTL));
        POINTL point = {LONG_MIN, LONG_MIN};
        LRESULT ignored = 0;
        if (!memory.Valid() || !memory.Write(0, &point, sizeof point) ||
            !Query(window_, EM_POSFROMCHAR, memory.At(0), static_cast<LPARAM>(index), ignored) ||
            !memory.Read(0, &point, sizeof point) || point.x == LONG_MIN) {
            return false;
        }
        pos = {point.x, point.y};
        return true;
    }
    bool LineFromChar(size_t index, size_t& line) override {
        LRESULT answer = 0;
        if (!Query(window_, EM_EXLINEFROMCHAR, 0, static_cast<LPARAM>(index), answer) || answer < 0) {
            return false;
        }
        line = static_cast<size_t>(answer);
        return true;
    }
    bool ReadText(size_t limit, std::wstring& text) override {
        // GETTEXTEX as the control's process lays it out; its pointers stay null for UTF-16.
        struct TGetTextEx32 {
            DWORD cb, flags, codepage, defaultChar, usedDefChar;
        };
        constexpr size_t TextAt = 64;
        const size_t bytes = (limit + 1) * sizeof(wchar_t);
        TRemoteMemory memory(window_, TextAt + bytes);
        if (!memory.Valid()) {
            return false;
        }
        const DWORD cb = static_cast<DWORD>(bytes);
        const TGetTextEx32 small = {cb, GT_DEFAULT, 1200, 0, 0};
        const GETTEXTEX large = {cb, GT_DEFAULT, 1200, nullptr, nullptr};
        const bool written =
            memory.Is32Bit() ? memory.Write(0, &small, sizeof small) : memory.Write(0, &large, sizeof large);
        LRESULT copied = 0;
        if (!written || !Query(window_, EM_GETTEXTEX, memory.At(0), static_cast<LPARAM>(memory.At(TextAt)), copied) ||
            copied < 0) {
            return false;
        }
        text.assign(std::min(static_cast<size_t>(copied), limit), L'\0');
        return memory.Read(TextAt, text.data(), text.size() * sizeof(wchar_t));
    }
};

// Where the text of the line ending at `index` ends. A single-line edit gives no place for the
// end of its text: then the last character's place and its width in the control's font.
bool LineEndX(TTextBox& box, size_t index, std::wstring_view text, LONG& x) {
    POINT pos = {};
    if (box.PosFromChar(index, pos)) {
        x = pos.x;
        return true;
    }
    SIZE size = {};
    if (index == 0 || index > text.size() || IsLineEnd(text[index - 1]) || !box.PosFromChar(index - 1, pos)) {
        return false;
    }
    TControlFontDC font(box.Window());
    if (!font.Valid() || !GetTextExtentPoint32W(font.Dc(), &text[index - 1], 1, &size)) {
        return false;
    }
    x = pos.x + size.cx;
    return true;
}

// The nearest character is reported even for a point past the end of a line or below the last
// line: only a point on the text itself counts.
bool OnText(TTextBox& box, POINT client, size_t index, std::wstring_view text) {
    LONG lineEnd = 0;
    if ((index >= text.size() || IsLineEnd(text[index])) && LineEndX(box, index, text, lineEnd) &&
        client.x > lineEnd + EndOfLineSlack) {
        return false;
    }
    LRESULT lines = 0;
    LRESULT start = 0;
    size_t line = 0;
    POINT top = {};
    if (!Query(box.Window(), EM_GETLINECOUNT, 0, 0, lines) || !box.LineFromChar(index, line) ||
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

bool ReadTextBox(TTextBox& box, POINT client, std::wstring& text, size_t& cursor) {
    size_t index = 0;
    if (!box.CharFromPos(client, index) || !box.ReadText(index + ContextUnits, text) || index > text.size() ||
        !OnText(box, client, index, text)) {
        return false;
    }
    cursor = index;
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

} // namespace

// The text of the control under `screen` and the cursor's index in it, unless the control
// belongs to `skippedProcess` or shows no text there.
bool ReadTextUnderCursor(POINT screen, DWORD skippedProcess, std::wstring& text, size_t& cursor) {
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
