// The multi-line edit's events: its change report, the line-feed event, and the filter that every
// key and mouse event of the native edit passes first.

#include "main/controls/QStdCtrls_Qel.h"

// ---- events ----------------------------------------------------------------------------------

void TCustomMemo_Qel::Change() {
    if (lines_->InChange) {
        return;
    }
    lines_->InChange = true;
    try {
        SetModified(true);
        if (OnChange) {
            OnChange(this);
        }
    } catch (...) {
        lines_->InChange = false;
        CheckLineChange();
        throw;
    }
    lines_->InChange = false;
    CheckLineChange();
}

void TCustomMemo_Qel::ReturnPressed() {
    if (OnReturnPressed) {
        OnReturnPressed(this);
    }
}

void TCustomMemo_Qel::CheckLineChange() {
    const int line = GetCaretPos().Line;
    const int previous = std::exchange(lastLine_, line);
    if (OnLineFeed && line != previous) {
        OnLineFeed(this, line, previous);
    }
}

void TCustomMemo_Qel::TextChanged() {
    history_.TextChanged(Handle());
    UpdateScrollBars();
    if (!quiet_) {
        LinesChanged();
    }
}

void TCustomMemo_Qel::LinesChanged() {
    if (lines_->UpdateCount > 0 || lines_->InChange) {
        lines_->ChangePending = true;
        return;
    }
    Change();
}

bool TCustomMemo_Qel::WantKey(TKeyCode key) const {
    return (key == keyTab || key == keyBacktab) && WantTabs;
}

LRESULT TCustomMemo_Qel::DialogCode(const MSG& message, LRESULT code) const {
    code = TWidgetControl::DialogCode(message, code);
    if ((message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.wParam == VK_RETURN && !wantReturns_ &&
        GetKeyState(VK_CONTROL) >= 0) {
        code &= ~DLGC_WANTMESSAGE;
    }
    return code;
}

bool TCustomMemo_Qel::KeyPressFilter(TWidgetEvent& event) {
    if (HotKeyPressed(event)) {
        return true;
    }
    if (ReadOnlyWidthCaret && (event.Key < keySpecialFirst || event.Key > keySpecialLast)) {
        return true;
    }
    if (NativeEditingKeyPressed(event)) {
        return true;
    }
    // Delete edits on the key itself; Backspace and Return come back as characters.
    if (ReadOnlyWidthCaret && event.Key == keyDelete) {
        return true;
    }
    const TShiftState modifiers = event.Shift & ssModifiers;
    if ((event.Key == keyReturn || event.Key == keyEnter) && !wantReturns_) {
        // Return belongs to the form; Ctrl+Return still breaks the line.
        if (modifiers == ssCtrl && !ReadOnly() &&
            (maxLength_ < 0 || LfLength(EditText(Handle())) - GetSelLength() < maxLength_)) {
            EditReplaceSelection(Handle(), L"\r\n", false);
            ReturnPressed();
        } else {
            BaseFilter(event);
        }
        return true;
    }
    return BaseFilter(event);
}

bool TCustomMemo_Qel::CharFilter(TWidgetEvent& event) {
    const wchar_t c = event.Char;
    if (IsNativeEditingChar(c) || (c == L'\t' && !WantTabs) || ReadOnlyWidthCaret) {
        return true;
    }
    const bool adds = c == L'\r' || c == L'\t' || (c >= L' ' && c != 0x7F);
    if (adds && maxLength_ >= 0 && !ReadOnly()) {
        // A typed pair comes as two characters: the first needs room for both, and the second
        // goes with it when the first found none.
        if (IS_LOW_SURROGATE(c) && !AfterHighSurrogate()) {
            return true;
        }
        const int units = IS_HIGH_SURROGATE(c) ? 2 : 1;
        if (LfLength(EditText(Handle())) - GetSelLength() + units > maxLength_) {
            return true;
        }
    }
    if (BaseFilter(event)) {
        return true;
    }
    if (event.Char == L'\r') {
        Forward(event);
        ReturnPressed();
        return true;
    }
    return false;
}

bool TCustomMemo_Qel::AfterHighSurrogate() const {
    int start, end;
    EditGetSelection(Handle(), start, end);
    const std::wstring text = EditText(Handle());
    return start > 0 && static_cast<size_t>(start) <= text.size() && IS_HIGH_SURROGATE(text[start - 1]);
}

bool TCustomMemo_Qel::EventFilter(TWidgetEvent& event) {
    switch (event.Kind) {
    case weMousePress:
    case weDoubleClick:
        if (event.Button == mbRight) {
            BaseFilter(event);
            return true;
        }
        return BaseFilter(event);
    case weMouseRelease:
        if (event.Button == mbRight) {
            if (BaseFilter(event)) {
                return true;
            }
            return ContextMenuList != nullptr && PopupMenuAt(ContextMenuList.get(), event.Position);
        }
        CheckLineChange();
        return BaseFilter(event);
    case weKeyPress:
        return KeyPressFilter(event);
    case weKeyRelease:
        CheckLineChange();
        UpdateScrollBars();
        return BaseFilter(event);
    case weChar:
        return CharFilter(event);
    default:
        return BaseFilter(event);
    }
}

std::optional<LRESULT> TCustomMemo_Qel::WidgetMessage(TWidgetEvent& event) {
    switch (event.Message) {
    case WM_SIZE:
        Forward(event);
        ApplyWrapRect();
        UpdateScrollBars();
        return event.Result;
    case WM_VSCROLL:
    case WM_HSCROLL: {
        const int bar = event.Message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        if (!AutoScroll(bar)) {
            return std::nullopt;
        }
        Scroll(bar, LOWORD(event.WParam));
        return 0;
    }
    case WM_MOUSEWHEEL:
        Forward(event);
        UpdateScrollBars();
        return event.Result;
    default:
        return TNativeEditControl::WidgetMessage(event);
    }
}

std::optional<LRESULT> TCustomMemo_Qel::Notification(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        switch (HIWORD(wParam)) {
        case EN_CHANGE:
            TextChanged();
            return 0;
        case EN_VSCROLL:
        case EN_HSCROLL:
            UpdateScrollBars();
            return 0;
        default:
            break;
        }
    }
    return TWidgetControl::Notification(message, wParam, lParam);
}
