#include "main/controls/UndoHistory.h"

#include <utility>

void TUndoHistory::SetDepth(int depth) {
    depth_ = depth < 0 ? 0 : depth;
    Trim();
}

void TUndoHistory::Record(const std::wstring& before) {
    if (depth_ == 0) {
        return;
    }
    undo_.push_back(before);
    redo_.clear();
    Trim();
}

std::wstring TUndoHistory::Undo(const std::wstring& current) {
    if (undo_.empty()) {
        return current;
    }
    std::wstring text = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(current);
    return text;
}

std::wstring TUndoHistory::Redo(const std::wstring& current) {
    if (redo_.empty()) {
        return current;
    }
    std::wstring text = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(current);
    Trim();
    return text;
}

void TUndoHistory::Clear() {
    undo_.clear();
    redo_.clear();
}

void TUndoHistory::Trim() {
    const size_t depth = static_cast<size_t>(depth_);
    while (undo_.size() > depth) {
        undo_.pop_front();
    }
    while (redo_.size() > depth) {
        redo_.pop_front();
    }
}
