// The line edit over the native single-line EDIT.

#include "main/controls/QStdCtrls_Qel.h"

#include "display/PlovaClipbrd.h"

namespace {

// The native limit that stands for no limit of ours.
constexpr int UnlimitedLength = 0x7FFF;
// Drawn for every character when nothing may be seen, not even the text's length.
constexpr wchar_t NoEchoChar = 0x200B;

} // namespace

TCustomEdit_Qel::TCustomEdit_Qel(HWND parent) : TNativeEditControl(parent) {
    BuildContextMenu();
    BuildHotKeys();
    SetTabStop(true);
    CreateHandle();
}

TEditActions TCustomEdit_Qel::EditActions() {
    TEditActions a = EditActionHandlers();
    a.CanUndo = [this] { return !ReadOnly() && CanUndo(); };
    a.CanRedo = [this] { return !ReadOnly() && CanRedo(); };
    a.CanCut = [this] { return !ReadOnly() && !GetSelText().empty(); };
    a.CanCopy = [this] { return !GetSelText().empty(); };
    a.CanPaste = [this] { return ClipboardHasText() && !ReadOnly(); };
    a.CanClear = [this] { return !ReadOnly() && !Text().empty(); };
    a.CanSelectAll = [this] { return !Text().empty(); };
    return a;
}

// ---- widget steps ----------------------------------------------------------------------------

TWidgetControl::TCreateParams TCustomEdit_Qel::CreateParams() const {
    TCreateParams params;
    params.ClassName = L"EDIT";
    params.Style = ES_AUTOHSCROLL | AlignmentStyle(alignment_) | (hideSelection_ ? 0 : ES_NOHIDESEL);
    params.ExStyle = borderStyle_ == bsSingle ? WS_EX_CLIENTEDGE : 0;
    return params;
}

void TCustomEdit_Qel::InitWidget() {
    SendMessageW(Handle(), EM_SETLIMITTEXT, maxLength_ < 0 ? UnlimitedLength : maxLength_, 0);
    SetSelStart(0);
    if (!Recreating()) {
        history_.Forget(Handle());
    }
    AdjustHeight();
}

void TCustomEdit_Qel::RestoreWidgetState() {
    if (!RestoreEditState()) {
        return;
    }
    const TEchoMode echo = std::exchange(echoMode_, emNormal);
    SetEchoMode(echo);
}

void TCustomEdit_Qel::FontChanged() {
    AdjustHeight();
}

void TCustomEdit_Qel::AdjustHeight() {
    if (!autoSize_ || Handle() == nullptr) {
        return;
    }
    TOwnedWindowDC dc = GetOwnedWindowDC(Handle());
    TSelectObject font(dc.Get(), Font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    SetBounds(Left(), Top(), Width(), metrics.tmHeight + metrics.tmExternalLeading + 8);
}

// ---- text and state --------------------------------------------------------------------------

std::wstring TCustomEdit_Qel::Text() const {
    return EditText(Handle());
}

void TCustomEdit_Qel::SetText(const std::wstring& text) {
    if (text == Text()) {
        return;
    }
    history_.BeginReset();
    try {
        EditReplaceAll(Handle(), text);
    } catch (...) {
        history_.EndReset(Handle());
        throw;
    }
    history_.EndReset(Handle());
    EditDeselect(Handle());
}

void TCustomEdit_Qel::SetMaxLength(int maxLength) {
    if (maxLength == maxLength_) {
        return;
    }
    maxLength_ = maxLength < 0 ? -1 : maxLength;
    SendMessageW(Handle(), EM_SETLIMITTEXT, maxLength_ < 0 ? UnlimitedLength : maxLength_, 0);
}

void TCustomEdit_Qel::SetAutoSize(bool autoSize) {
    if (autoSize != autoSize_) {
        autoSize_ = autoSize;
        AdjustHeight();
    }
}

void TCustomEdit_Qel::SetBorderStyle(TBorderStyle borderStyle) {
    if (borderStyle == borderStyle_) {
        return;
    }
    borderStyle_ = borderStyle;
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                      borderStyle == bsSingle ? (style | WS_EX_CLIENTEDGE) : (style & ~WS_EX_CLIENTEDGE));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void TCustomEdit_Qel::SetEchoMode(TEchoMode echoMode) {
    if (echoMode == echoMode_) {
        return;
    }
    echoMode_ = echoMode;
    const wchar_t shown = echoMode == emPassword ? L'*' : echoMode == emNone ? NoEchoChar : 0;
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, shown, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomEdit_Qel::SetHideSelection(bool hideSelection) {
    if (hideSelection != hideSelection_) {
        hideSelection_ = hideSelection;
        RecreateWidget();
    }
}

// ---- selection and editing -------------------------------------------------------------------

int TCustomEdit_Qel::GetSelStart() const {
    int start, end;
    EditGetSelection(Handle(), start, end);
    return start;
}

void TCustomEdit_Qel::SetSelStart(int start) {
    if (start != GetSelStart()) {
        EditSetSelection(Handle(), start, start);
    }
}

int TCustomEdit_Qel::GetSelLength() const {
    return static_cast<int>(GetSelText().size());
}

void TCustomEdit_Qel::SetSelLength(int length) {
    const int start = GetSelStart();
    if (start + length < 0) {
        length = -start;
    }
    EditSetSelection(Handle(), start, start + length);
    InvalidateRect(Handle(), nullptr, FALSE);
}

std::wstring TCustomEdit_Qel::GetSelText() const {
    return EditSelectedText(Handle());
}

void TCustomEdit_Qel::SetSelText(const std::wstring& text) {
    EditReplaceSelection(Handle(), text);
}

void TCustomEdit_Qel::SetCursorPosition(int position) {
    EditSetSelection(Handle(), position, position);
}

void TCustomEdit_Qel::Clear() {
    EditReplaceAll(Handle(), L"");
}

void TCustomEdit_Qel::ClearSelection() {
    if (!ReadOnly()) {
        EditReplaceSelection(Handle(), L"");
    }
}

void TCustomEdit_Qel::CutToClipboard() {
    if (ReadOnly()) {
        return;
    }
    CopyToClipboard();
    EditReplaceSelection(Handle(), L"");
}

void TCustomEdit_Qel::PasteFromClipboard() {
    if (ReadOnly()) {
        return;
    }
    const std::wstring text = Clipboard().GetWideText();
    const int limit = maxLength_ < 0 ? UnlimitedLength : maxLength_;
    const int kept = EditLength(Handle()) - GetSelLength();
    const size_t fitting = FittingLength(text, static_cast<size_t>(std::max(limit - kept, 0)));
    if (fitting > 0) {
        EditReplaceSelection(Handle(), text.substr(0, fitting), false);
    }
    EditDeselect(Handle());
    KeepRestOnClipboard(text, fitting);
}

void TCustomEdit_Qel::Beep() {
    MessageBeep(MB_OK);
}

void TCustomEdit_Qel::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomEdit_Qel::ReturnPressed(bool&) {
    if (OnReturnPressed) {
        OnReturnPressed(this);
    }
}

// ---- events ----------------------------------------------------------------------------------

void TCustomEdit_Qel::TextChanged() {
    if (quiet_) {
        return;
    }
    history_.TextChanged(Handle());
    if (!history_.Restoring()) {
        EditDeselect(Handle());
    }
    SetModified(true);
    Change();
}

void TCustomEdit_Qel::KeyDown(TKeyCode& key, TShiftState shift) {
    TWidgetControl::KeyDown(key, shift);
    if (key == keyReturn || key == keyEnter) {
        bool handled = false;
        ReturnPressed(handled);
        if (handled) {
            key = 0;
        }
    }
    if ((shift & (ssAlt | ssCtrl)) == 0 && key >= 32 && key <= 255 && maxLength_ >= 0 &&
        EditLength(Handle()) >= maxLength_ && GetSelLength() == 0) {
        key = 0;
        Beep();
    }
}

bool TCustomEdit_Qel::KeyPressFilter(TWidgetEvent& event) {
    if (HotKeyPressed(event) || NativeEditingKeyPressed(event)) {
        return true;
    }
    return BaseFilter(event);
}

bool TCustomEdit_Qel::EventFilter(TWidgetEvent& event) {
    switch (event.Kind) {
    case weMousePress:
    case weDoubleClick:
        if (event.Button == mbRight) {
            // The widget never sees a right press: the caret and the selection stay.
            BaseFilter(event);
            return true;
        }
        // The widget first, so that the mouse events see the caret where the press put it.
        Forward(event);
        BaseFilter(event);
        return true;
    case weMouseRelease:
        if (BaseFilter(event)) {
            return true;
        }
        return event.Button == mbRight && PopupMenuAt(ContextMenuList.get(), event.Position);
    case weKeyPress:
        return KeyPressFilter(event);
    case weKeyRelease:
        if (event.Key == keyTab || event.Key == keyBacktab) {
            return false;
        }
        Forward(event);
        BaseFilter(event);
        return true;
    case weChar:
        if (IsNativeEditingChar(event.Char)) {
            return true;
        }
        ApplyCharCaseToKey(event.Char, CharCase);
        return BaseFilter(event);
    default:
        return BaseFilter(event);
    }
}

std::optional<LRESULT> TCustomEdit_Qel::WidgetMessage(TWidgetEvent& event) {
    if (event.Message == WM_SETFOCUS) {
        // Focus that comes by the keyboard selects the whole text; a click places the caret.
        Forward(event);
        if (autoSelect_ && GetKeyState(VK_LBUTTON) >= 0) {
            SelectAll();
        }
        return std::nullopt;
    }
    if (event.Message == WM_MOUSEWHEEL) {
        // One line has nothing to scroll: the wheel goes on to the parent, which may have.
        return SendMessageW(GetParent(Handle()), WM_MOUSEWHEEL, event.WParam, event.LParam);
    }
    return TNativeEditControl::WidgetMessage(event);
}

std::optional<LRESULT> TCustomEdit_Qel::Notification(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        TextChanged();
        return 0;
    }
    return TWidgetControl::Notification(message, wParam, lParam);
}
