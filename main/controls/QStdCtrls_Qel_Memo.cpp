// The multi-line edit over the native multi-line EDIT, which breaks its lines at CR LF: the text
// goes in and out as LF alone.

#include "main/controls/QStdCtrls_Qel.h"

#include <algorithm>

#include "display/PlovaClipbrd.h"

namespace {

int CALLBACK BreakAnywhere(LPWSTR, int current, int, int code) {
    return code == WB_ISDELIMITER ? FALSE : current;
}

} // namespace

TCustomMemo_Qel::TCustomMemo_Qel(HWND parent) : TNativeEditControl(parent) {
    BuildContextMenu();
    BuildHotKeys();
    lines_ = std::make_unique<TMemoStrings_Qel>(*this);
    SetTabStop(true);
    CreateHandle();
}

TCustomMemo_Qel::~TCustomMemo_Qel() {
    lines_.reset();
}

TEditActions TCustomMemo_Qel::EditActions() {
    TEditActions a = EditActionHandlers();
    a.CanUndo = [this] { return !Locked() && Modified() && CanUndo() && undoLevels_ != 0; };
    a.CanRedo = [this] { return !Locked() && Modified() && CanRedo() && undoLevels_ != 0; };
    a.CanCut = [this] { return !Locked() && GetSelLength() > 0; };
    a.CanCopy = [this] { return GetSelLength() > 0; };
    a.CanPaste = [this] { return !Locked() && ClipboardHasText(); };
    a.CanClear = [this] { return !Locked() && !Text().empty(); };
    a.CanSelectAll = [this] {
        const std::wstring text = Text();
        return !text.empty() && GetSelLength() < static_cast<int>(text.size());
    };
    return a;
}

// ---- widget steps ----------------------------------------------------------------------------

bool TCustomMemo_Qel::NativeWraps() const {
    return wordWrap_ && wrapMode_ != wmNone;
}

TWidgetControl::TCreateParams TCustomMemo_Qel::CreateParams() const {
    TCreateParams params;
    params.ClassName = L"EDIT";
    params.Style = ES_MULTILINE | ES_AUTOVSCROLL | AlignmentStyle(alignment_) | (wantReturns_ ? ES_WANTRETURN : 0);
    // The native edit wraps at its width exactly when it may not scroll sideways.
    if (!NativeWraps()) {
        params.Style |= ES_AUTOHSCROLL;
        if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
            params.Style |= WS_HSCROLL;
        }
    }
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
        params.Style |= WS_VSCROLL;
    }
    if (borderStyle_ == bsSingle) {
        params.Style |= WS_BORDER;
    }
    params.ExStyle = borderStyle_ == bsSunken3d ? WS_EX_CLIENTEDGE : 0;
    params.Width = 185;
    params.Height = 89;
    return params;
}

void TCustomMemo_Qel::InitWidget() {
    HWND edit = Handle();
    // No native limit: MaxLength counts a line break as one, which the native limit cannot.
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(hMargin_, hMargin_));
    SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    if (wrapBreak_ == wbAnywhere) {
        SendMessageW(edit, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(BreakAnywhere));
    }
    nativeBars_ = CreateParams().Style & (WS_VSCROLL | WS_HSCROLL);
    shownBars_ = 0;
    history_.SetDepth(undoLevels_);
    if (!Recreating()) {
        history_.Forget(edit);
    }
    Relayout();
}

void TCustomMemo_Qel::RestoreWidgetState() {
    if (const std::unique_ptr<TSavedState> saved = RestoreEditState()) {
        SendMessageW(Handle(), EM_LINESCROLL, 0, saved->FirstLine);
        Relayout();
    }
}

// ---- text and state --------------------------------------------------------------------------

std::wstring TCustomMemo_Qel::Text() const {
    std::wstring text = WideCRLFToLF(EditText(Handle()));
    if (!text.empty() && text.back() == L'\n') {
        text.pop_back();
    }
    return text;
}

void TCustomMemo_Qel::SetText(const std::wstring& text) {
    if (text != Text()) {
        lines_->SetTextStr(text);
    }
}

void TCustomMemo_Qel::ModifiedChanged(bool modified) {
    lines_->Modified = modified;
}

void TCustomMemo_Qel::SetMaxLength(int maxLength) {
    if (maxLength == maxLength_) {
        return;
    }
    maxLength_ = maxLength < 0 ? -1 : maxLength;
    std::wstring text = EditText(Handle());
    if (maxLength_ >= 0 && LfLength(text) > maxLength_) {
        const TCaretPos caret = GetCaretPos();
        // Each CR LF kept counts as one unit, so each CR kept makes room for one more; the cut
        // splits no pair.
        text.resize(FittingLength(text, static_cast<size_t>(maxLength_ + CountLineBreaks(text, maxLength_))));
        SetText(text);
        SetCaretPos(caret);
    }
}

void TCustomMemo_Qel::SetUndoLevels(int levels) {
    if (levels != undoLevels_) {
        undoLevels_ = levels;
        history_.SetDepth(levels);
    }
}

void TCustomMemo_Qel::SetWantReturns(bool wantReturns) {
    wantReturns_ = wantReturns;
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, wantReturns ? (style | ES_WANTRETURN) : (style & ~ES_WANTRETURN));
}

void TCustomMemo_Qel::SetHMargin(int margin) {
    if (margin != hMargin_) {
        hMargin_ = margin;
        SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
        Relayout();
    }
}

void TCustomMemo_Qel::SetBorderStyle(TBorderStyle borderStyle) {
    if (borderStyle != borderStyle_) {
        borderStyle_ = borderStyle;
        RecreateWidget();
    }
}

void TCustomMemo_Qel::SetWordWrap(bool wordWrap) {
    if (wordWrap != wordWrap_) {
        wordWrap_ = wordWrap;
        ApplyWrapMode(wordWrap ? wrapMode_ : wmNone);
    }
}

void TCustomMemo_Qel::SetWrapMode(TWrapMode wrapMode) {
    if (wrapMode != wrapMode_) {
        wrapMode_ = wrapMode;
        if (wordWrap_) {
            ApplyWrapMode(wrapMode);
        }
    }
}

void TCustomMemo_Qel::ApplyWrapMode(TWrapMode mode) {
    if (mode > wmColumn) {
        return;
    }
    const bool wraps = (GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_AUTOHSCROLL) == 0;
    if (wraps != (mode != wmNone)) {
        RecreateWidget();
    }
    SetScrollBars(scrollBars_);
}

void TCustomMemo_Qel::SetWrapAtValue(int value) {
    if (value != wrapAtValue_) {
        wrapAtValue_ = value;
        Relayout();
    }
}

void TCustomMemo_Qel::SetWrapBreak(TWrapBreak wrapBreak) {
    if (wrapBreak == wrapBreak_ || wrapBreak > wbAnywhere) {
        return;
    }
    wrapBreak_ = wrapBreak;
    SendMessageW(Handle(), EM_SETWORDBREAKPROC, 0,
                 wrapBreak == wbAnywhere ? reinterpret_cast<LPARAM>(BreakAnywhere) : 0);
    Relayout();
}

void TCustomMemo_Qel::SetScrollBars(TScrollStyle scrollBars) {
    scrollBars_ = scrollBars;
    // Fixed bars are the native edit's own, taken at its creation; the bars shown as needed are
    // ours.
    if ((CreateParams().Style & (WS_VSCROLL | WS_HSCROLL)) != nativeBars_) {
        RecreateWidget();
    }
    Relayout();
}

// ---- selection and editing -------------------------------------------------------------------

TCaretPos TCustomMemo_Qel::GetCaretPos() const {
    return PositionOf(EditCaret(Handle()));
}

void TCustomMemo_Qel::SetCaretPos(TCaretPos position) {
    const int index = CharIndex(position);
    EditSetSelection(Handle(), index, index);
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

std::wstring TCustomMemo_Qel::GetSelText() const {
    return WideCRLFToLF(EditSelectedText(Handle()));
}

void TCustomMemo_Qel::SetSelText(const std::wstring& text) {
    const std::wstring native = WideLFToCRLF(text);
    int start, end;
    EditGetSelection(Handle(), start, end);
    EditReplaceSelection(Handle(), native, false);
    EditSetSelection(Handle(), start, start + static_cast<int>(native.size()));
}

int TCustomMemo_Qel::GetSelLength() const {
    return static_cast<int>(GetSelText().size());
}

int TCustomMemo_Qel::GetSelStart() const {
    int start, end;
    EditGetSelection(Handle(), start, end);
    return OffsetOf(PositionOf(start != end ? start : EditCaret(Handle())));
}

void TCustomMemo_Qel::SetSelStart(int offset) {
    const int count = LineCount();
    int line = 0;
    int sum = 0;
    while (line < count && sum + LineLength(line) + 2 <= offset) {
        sum += LineLength(line) + 2;
        ++line;
    }
    // Past the end of the text the caret stops at the end of the last line.
    if (line >= count) {
        line = count - 1;
        SetCaretPos({line, LineLength(line)});
        return;
    }
    SetCaretPos({line, offset - sum});
}

void TCustomMemo_Qel::SetSelLength(int length) {
    const int target = GetSelStart() + length;
    const int count = lines_->GetCount();
    int line = -1;
    int sum = 0;
    int previous = 0;
    do {
        ++line;
        const int extent = line < count ? LineLength(line) + 2 : previous;
        sum += previous;
        if (sum + extent >= target) {
            break;
        }
        previous = extent;
    } while (line < count);
    const int anchor = EditCaret(Handle());
    EditSetSelection(Handle(), anchor, CharIndex({line, target - sum}));
}

void TCustomMemo_Qel::Clear() {
    lines_->Clear();
}

void TCustomMemo_Qel::CutToClipboard() {
    if (Locked()) {
        return;
    }
    CopyToClipboard();
    EditReplaceSelection(Handle(), L"", false);
    SetModified(true);
}

void TCustomMemo_Qel::PasteFromClipboard() {
    if (Locked()) {
        return;
    }
    const std::wstring text = WideCRLFToLF(Clipboard().GetWideText());
    size_t fitting = text.size();
    if (maxLength_ >= 0) {
        const int kept = LfLength(EditText(Handle())) - static_cast<int>(GetSelText().size());
        fitting = FittingLength(text, static_cast<size_t>(std::max(maxLength_ - kept, 0)));
    }
    if (fitting > 0) {
        EditReplaceSelection(Handle(), WideLFToCRLF(text.substr(0, fitting)), false);
    }
    KeepRestOnClipboard(text, fitting);
    SetModified(true);
}

void TCustomMemo_Qel::SortLines(TWideCompare compare) {
    lines_->CustomSort(compare);
}

bool TCustomMemo_Qel::Search(const std::wstring& text, bool matchCase) {
    std::wstring native = EditText(Handle());
    std::wstring wanted = WideLFToCRLF(text);
    if (wanted.empty()) {
        return false;
    }
    if (!matchCase) {
        CharLowerBuffW(native.data(), static_cast<DWORD>(native.size()));
        CharLowerBuffW(wanted.data(), static_cast<DWORD>(wanted.size()));
    }
    int start, end;
    EditGetSelection(Handle(), start, end);
    const size_t found = native.find(wanted, static_cast<size_t>(end));
    if (found == std::wstring::npos) {
        return false;
    }
    EditSetSelection(Handle(), static_cast<int>(found), static_cast<int>(found + wanted.size()));
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
    return true;
}
