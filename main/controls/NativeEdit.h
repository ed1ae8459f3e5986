#pragma once
// Plain operations on a native EDIT window, shared by the line edit, the multi-line edit and the
// combo box's edit field; and the undo history that replaces the native single undo level.

#include <windows.h>

#include <string>

#include "main/controls/UndoHistory.h"

std::wstring EditText(HWND edit);
int EditLength(HWND edit);
void EditGetSelection(HWND edit, int& start, int& end);
// The caret may stand at either end: EM_SETSEL keeps the anchor first.
void EditSetSelection(HWND edit, int anchor, int caret);
// Where the caret stands: the end of the selection it sits at.
int EditCaret(HWND edit);
std::wstring EditSelectedText(HWND edit);
// Drops the selection and leaves the caret where it is.
void EditDeselect(HWND edit);
// Replaces the selection; the native limit holds unless lifted for text set by the program.
void EditReplaceSelection(HWND edit, const std::wstring& text, bool honourLimit = true);
void EditReplaceAll(HWND edit, const std::wstring& text);
// The length of a multi-line edit's text with every CR LF counted as one.
int LfLength(const std::wstring& text);
// The largest leading part of text not above room units that splits no surrogate pair and no
// CR LF pair.
size_t FittingLength(const std::wstring& text, size_t room);

// Whole-text undo and redo of one EDIT window, fed by its change notifications.
class TEditHistory {
public:
    explicit TEditHistory(int depth = 256) : history_(depth) {}

    // Every EN_CHANGE: the text before it becomes an undo step, unless the change was an undo,
    // a redo or a reset.
    void TextChanged(HWND edit);
    // Forgets the steps; the text after the next change (or now, when none follows) is the base.
    void BeginReset() { resetting_ = true; }
    void EndReset(HWND edit);
    void Forget(HWND edit);
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // Changes only what differs and leaves the restored part selected.
    void Undo(HWND edit);
    void Redo(HWND edit);
    void SetDepth(int depth) { history_.SetDepth(depth); }
    bool Restoring() const { return restoring_; }

private:
    void Restore(HWND edit, const std::wstring& target);

    TUndoHistory history_;
    std::wstring last_;
    bool restoring_ = false;
    bool resetting_ = false;
};
