#include "main/controls/NativeEdit.h"

#include <algorithm>

std::wstring EditText(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

int EditLength(HWND edit) {
    return GetWindowTextLengthW(edit);
}

void EditGetSelection(HWND edit, int& start, int& end) {
    DWORD first = 0, last = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void EditSetSelection(HWND edit, int anchor, int caret) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(anchor), static_cast<LPARAM>(caret));
}

int EditCaret(HWND edit) {
    int start, end;
    EditGetSelection(edit, start, end);
    if (start == end || GetFocus() != edit) {
        return end;
    }
    // Only the caret itself tells which end it is at.
    POINT caret;
    if (GetCaretPos(&caret)) {
        const LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(start), 0);
        if (at != -1 && static_cast<short>(LOWORD(at)) == caret.x && static_cast<short>(HIWORD(at)) == caret.y) {
            return start;
        }
    }
    return end;
}

std::wstring EditSelectedText(HWND edit) {
    int start, end;
    EditGetSelection(edit, start, end);
    if (start >= end) {
        return L"";
    }
    return EditText(edit).substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

void EditDeselect(HWND edit) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void EditReplaceSelection(HWND edit, const std::wstring& text, bool honourLimit) {
    if (honourLimit) {
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    const LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
}

void EditReplaceAll(HWND edit, const std::wstring& text) {
    EditSetSelection(edit, 0, -1);
    EditReplaceSelection(edit, text, false);
}

int LfLength(const std::wstring& text) {
    int length = static_cast<int>(text.size());
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'\r' && text[i + 1] == L'\n') {
            --length;
        }
    }
    return length;
}

size_t FittingLength(const std::wstring& text, size_t room) {
    if (text.size() <= room) {
        return text.size();
    }
    size_t length = room;
    if (length > 0 && IS_HIGH_SURROGATE(text[length - 1])) {
        --length;
    } else if (length > 0 && text[length - 1] == L'\r' && text[length] == L'\n') {
        --length;
    }
    return length;
}

// ---- TEditHistory --------------------------------------------------------------------------

void TEditHistory::TextChanged(HWND edit) {
    std::wstring now = EditText(edit);
    if (resetting_) {
        history_.Clear();
    } else if (!restoring_ && now != last_) {
        history_.Record(last_);
    }
    last_ = std::move(now);
}

void TEditHistory::EndReset(HWND edit) {
    resetting_ = false;
    Forget(edit);
}

void TEditHistory::Forget(HWND edit) {
    history_.Clear();
    last_ = EditText(edit);
}

void TEditHistory::Undo(HWND edit) {
    if (history_.CanUndo()) {
        Restore(edit, history_.Undo(EditText(edit)));
    }
}

void TEditHistory::Redo(HWND edit) {
    if (history_.CanRedo()) {
        Restore(edit, history_.Redo(EditText(edit)));
    }
}

void TEditHistory::Restore(HWND edit, const std::wstring& target) {
    const std::wstring current = EditText(edit);
    size_t prefix = 0;
    while (prefix < current.size() && prefix < target.size() && current[prefix] == target[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < current.size() - prefix && suffix < target.size() - prefix &&
           current[current.size() - 1 - suffix] == target[target.size() - 1 - suffix]) {
        ++suffix;
    }
    const int start = static_cast<int>(prefix);
    restoring_ = true;
    try {
        EditSetSelection(edit, start, static_cast<int>(current.size() - suffix));
        EditReplaceSelection(edit, target.substr(prefix, target.size() - prefix - suffix), false);
    } catch (...) {
        restoring_ = false;
        throw;
    }
    restoring_ = false;
    last_ = EditText(edit);
    EditSetSelection(edit, start, static_cast<int>(target.size() - suffix));
}
