// The multi-line edit's lines, positions and layout: the lines as the native edit wraps them,
// offsets that count each line as its length plus 2, and the scroll bars shown only as needed.

#include "main/controls/QStdCtrls_Qel.h"

#include <algorithm>

// ---- lines and positions ---------------------------------------------------------------------

int TCustomMemo_Qel::LineCount() const {
    return static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
}

int TCustomMemo_Qel::LineLength(int line) const {
    const LRESULT start = SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (start < 0) {
        return 0;
    }
    return static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, static_cast<WPARAM>(start), 0));
}

int TCustomMemo_Qel::CharIndex(TCaretPos position) const {
    const int line = std::clamp(position.Line, 0, std::max(LineCount() - 1, 0));
    const int start = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    return start + std::clamp(position.Col, 0, LineLength(line));
}

TCaretPos TCustomMemo_Qel::PositionOf(int charIndex) const {
    const int line = static_cast<int>(SendMessageW(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(charIndex), 0));
    const int start = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    return {line, charIndex - start};
}

int TCustomMemo_Qel::OffsetOf(TCaretPos position) const {
    int offset = position.Col;
    for (int line = 0; line < position.Line; ++line) {
        offset += LineLength(line) + 2;
    }
    return offset;
}

// ---- layout ------------------------------------------------------------------------------------

void TCustomMemo_Qel::Relayout() {
    HWND edit = Handle();
    if (edit == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(edit, &client);
    // A resize to the same size makes the native edit wrap and lay out its text again.
    SendMessageW(edit, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ApplyWrapRect();
    UpdateScrollBars();
}

void TCustomMemo_Qel::ApplyWrapRect() {
    if (!NativeWraps() || (wrapMode_ != wmPixel && wrapMode_ != wmColumn) || wrapAtValue_ <= 0) {
        return;
    }
    int width = wrapAtValue_;
    if (wrapMode_ == wmColumn) {
        TOwnedWindowDC dc = GetOwnedWindowDC(Handle());
        TSelectObject font(dc.Get(), Font());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.Get(), &metrics);
        width = wrapAtValue_ * metrics.tmAveCharWidth;
    }
    RECT area;
    SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    area.right = area.left + width;
    SendMessageW(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&area));
}

bool TCustomMemo_Qel::AutoScroll(int bar) const {
    if (bar == SB_VERT) {
        return scrollBars_ == ssAutoVertical || scrollBars_ == ssAutoBoth;
    }
    return (scrollBars_ == ssAutoHorizontal || scrollBars_ == ssAutoBoth) && !NativeWraps();
}

SCROLLINFO TCustomMemo_Qel::BarInfo(int bar) const {
    HWND edit = Handle();
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    RECT area;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    TOwnedWindowDC dc = GetOwnedWindowDC(edit);
    TSelectObject font(dc.Get(), Font());
    const int firstLine = static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (bar == SB_VERT) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.Get(), &metrics);
        info.nMax = LineCount() - 1;
        info.nPage =
            static_cast<UINT>(std::max<LONG>((area.bottom - area.top) / std::max<LONG>(metrics.tmHeight, 1), 1));
        info.nPos = firstLine;
        return info;
    }
    const std::wstring text = EditText(edit);
    int widest = 0;
    for (int line = 0; line < LineCount(); ++line) {
        const int start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        SIZE extent{};
        GetTextExtentPoint32W(dc.Get(), text.c_str() + start, LineLength(line), &extent);
        widest = std::max<int>(widest, extent.cx);
    }
    info.nMax = widest;
    info.nPage = static_cast<UINT>(std::max<LONG>(area.right - area.left, 1));
    const LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, firstLine, 0), 0);
    info.nPos = at == -1 ? 0 : std::max(0, static_cast<int>(area.left) - static_cast<short>(LOWORD(at)));
    return info;
}

void TCustomMemo_Qel::UpdateScrollBars() {
    HWND edit = Handle();
    if (edit == nullptr || updatingBars_) {
        return;
    }
    updatingBars_ = true;
    for (const int bar : {SB_VERT, SB_HORZ}) {
        const int bit = 1 << bar;
        if (!AutoScroll(bar)) {
            if (shownBars_ & bit) {
                ShowScrollBar(edit, bar, FALSE);
                shownBars_ &= ~bit;
            }
            continue;
        }
        SCROLLINFO info = BarInfo(bar);
        const bool needed = info.nMax >= static_cast<int>(info.nPage);
        if (needed != ((shownBars_ & bit) != 0)) {
            // Showing or hiding the bar changes the room for the text: measured again.
            ShowScrollBar(edit, bar, needed);
            shownBars_ ^= bit;
            info = BarInfo(bar);
        }
        if (needed) {
            SetScrollInfo(edit, bar, &info, TRUE);
        }
    }
    updatingBars_ = false;
}

void TCustomMemo_Qel::Scroll(int bar, WORD request) {
    HWND edit = Handle();
    const SCROLLINFO info = BarInfo(bar);
    const int page = static_cast<int>(info.nPage);
    int unit = 1;
    if (bar == SB_HORZ) {
        TOwnedWindowDC dc = GetOwnedWindowDC(edit);
        TSelectObject font(dc.Get(), Font());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.Get(), &metrics);
        unit = std::max<int>(metrics.tmAveCharWidth, 1);
    }
    int target = info.nPos;
    switch (request) {
    case SB_LINEUP:
        target -= unit;
        break;
    case SB_LINEDOWN:
        target += unit;
        break;
    case SB_PAGEUP:
        target -= page;
        break;
    case SB_PAGEDOWN:
        target += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO track{sizeof(track), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(edit, bar, &track);
        target = track.nTrackPos;
        break;
    }
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = info.nMax;
        break;
    default:
        return;
    }
    target = std::clamp(target, 0, std::max(info.nMax - page + 1, 0));
    if (bar == SB_VERT) {
        SendMessageW(edit, EM_LINESCROLL, 0, target - info.nPos);
    } else {
        SendMessageW(edit, EM_LINESCROLL, (target - info.nPos) / unit, 0);
    }
    UpdateScrollBars();
}

// ---- TMemoStrings_Qel ----------------------------------------------------------------------------

std::wstring TMemoStrings_Qel::Get(int index) const {
    HWND edit = memo_.Handle();
    const LRESULT start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    if (index < 0 || start < 0) {
        return L"";
    }
    return EditText(edit).substr(static_cast<size_t>(start), static_cast<size_t>(memo_.LineLength(index)));
}

int TMemoStrings_Qel::GetCount() const {
    int count = memo_.LineCount();
    if (count > 0 && memo_.LineLength(count - 1) == 0) {
        --count;
    }
    return count;
}

std::wstring TMemoStrings_Qel::GetTextStr() const {
    const std::wstring text = memo_.Text();
    return text == L"\n" ? L"" : text;
}

void TMemoStrings_Qel::Insert(int index, const std::wstring& text) {
    HWND edit = memo_.Handle();
    const std::wstring line = WideLFToCRLF(text) + L"\r\n";
    if (index >= 0 && index < GetCount()) {
        const int start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
        memo_.EditQuietly(start, start, line);
    } else {
        const std::wstring current = EditText(edit);
        const bool open =
            current.empty() || (current.size() >= 2 && current.compare(current.size() - 2, 2, L"\r\n") == 0);
        const int end = static_cast<int>(current.size());
        memo_.EditQuietly(end, end, open ? line : L"\r\n" + line);
    }
    memo_.SetCaretPos({index + 1, 0});
    if (text.find(L'\n') != std::wstring::npos && UpdateCount == 0) {
        InvalidateRect(edit, nullptr, TRUE);
        UpdateWindow(edit);
    }
    memo_.LinesChanged();
}

int TMemoStrings_Qel::Add(const std::wstring& text) {
    Insert(-1, text);
    const int index = std::max(GetCount() - 1, 0);
    memo_.SetCaretPos({index, 0});
    return index;
}

void TMemoStrings_Qel::Delete(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    HWND edit = memo_.Handle();
    const int start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    const LRESULT next = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
    const int end = next < 0 ? EditLength(edit) : static_cast<int>(next);
    memo_.EditQuietly(start, end, L"");
    memo_.LinesChanged();
}

void TMemoStrings_Qel::Clear() {
    HWND edit = memo_.Handle();
    const bool hadText = EditLength(edit) > 0;
    memo_.history_.BeginReset();
    try {
        memo_.EditQuietly(0, -1, L"");
    } catch (...) {
        memo_.history_.EndReset(edit);
        throw;
    }
    memo_.history_.EndReset(edit);
    if (hadText) {
        memo_.LinesChanged();
    }
    memo_.SetModified(false);
}

void TMemoStrings_Qel::SetTextStr(const std::wstring& text) {
    HWND edit = memo_.Handle();
    const std::wstring native = WideLFToCRLF(WideCRLFToLF(text));
    const bool changed = native != EditText(edit);
    memo_.history_.BeginReset();
    try {
        memo_.EditQuietly(0, -1, native);
    } catch (...) {
        memo_.history_.EndReset(edit);
        throw;
    }
    memo_.history_.EndReset(edit);
    if (changed) {
        memo_.LinesChanged();
    }
    if (native.empty()) {
        memo_.SetModified(false);
    }
    memo_.Relayout();
}

void TMemoStrings_Qel::SetUpdateState(bool updating) {
    HWND edit = memo_.Handle();
    SendMessageW(edit, WM_SETREDRAW, !updating, 0);
    if (!updating) {
        RedrawWindow(edit, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME);
        if (ChangePending) {
            ChangePending = false;
            if (memo_.AutoScroll(SB_VERT) || memo_.AutoScroll(SB_HORZ)) {
                memo_.Relayout();
            }
            memo_.Change();
        }
    }
    ChangePending = false;
}
