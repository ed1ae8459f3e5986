#pragma once
// Undo and redo of an edit control's text, as whole-text snapshots: the native edit keeps one
// level of undo and no redo.

#include <deque>
#include <string>

class TUndoHistory {
public:
    explicit TUndoHistory(int depth = 256) : depth_(depth) {}

    // 0 switches the history off and forgets it; a smaller depth drops the oldest steps.
    void SetDepth(int depth);
    int Depth() const { return depth_; }

    // A change happened: the text before it becomes the newest undo step; redo is forgotten.
    void Record(const std::wstring& before);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The text to go back (or forward) to; current goes to the other side.
    std::wstring Undo(const std::wstring& current);
    std::wstring Redo(const std::wstring& current);
    void Clear();

private:
    void Trim();

    int depth_;
    std::deque<std::wstring> undo_;
    std::deque<std::wstring> redo_;
};
