#pragma once
// The system clipboard for UTF-16 text: nested opening, one emptying per opening.

#include <cstddef>
#include <string>

#include "core/Exceptions.h"

class EClipboardError : public Exception {
public:
    using Exception::Exception;
};

class TClipboard {
public:
    TClipboard() = default;
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;
    virtual ~TClipboard();

    // The first open opens the system clipboard (raises "Cannot open clipboard" when it cannot);
    // the last close closes it.
    virtual void Open();
    virtual void Close();
    virtual void Clear();
    void SetBuffer(unsigned format, const void* data, size_t size);
    // The text with its terminating zero, as CF_UNICODETEXT.
    void SetWideText(const std::wstring& text);
    // The clipboard's CF_UNICODETEXT, empty when it holds none.
    std::wstring GetWideText();

    int OpenCount() const { return openCount_; }

private:
    int openCount_ = 0;
    void* ownerWindow_ = nullptr; // HWND
    bool windowAllocated_ = false;
    bool emptied_ = false;
};

// The process's clipboard object, made on first use.
TClipboard& Clipboard();
void PlovaClipbrdDone();
