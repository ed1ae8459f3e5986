#include "display/PlovaClipbrd.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<TClipboard> Instance;

// Clipboard ownership needs a window; a message-only one serves when none is given.
HWND MakeOwnerWindow() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

TClipboard::~TClipboard() {
    while (openCount_ > 0) {
        Close();
    }
}

void TClipboard::Open() {
    if (openCount_ == 0) {
        HWND owner = MakeOwnerWindow();
        windowAllocated_ = owner != nullptr;
        if (!OpenClipboard(owner)) {
            if (owner) {
                DestroyWindow(owner);
            }
            windowAllocated_ = false;
            throw EClipboardError(L"Cannot open clipboard");
        }
        ownerWindow_ = owner;
        emptied_ = false;
    }
    ++openCount_;
}

void TClipboard::Close() {
    if (openCount_ == 0) {
        return;
    }
    if (--openCount_ == 0) {
        CloseClipboard();
        if (windowAllocated_) {
            DestroyWindow(static_cast<HWND>(ownerWindow_));
        }
        windowAllocated_ = false;
        ownerWindow_ = nullptr;
    }
}

void TClipboard::Clear() {
    Open();
    EmptyClipboard();
    Close();
}

void TClipboard::SetBuffer(unsigned format, const void* data, size_t size) {
    Open();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    void* target = block ? GlobalLock(block) : nullptr;
    if (target == nullptr) {
        if (block) {
            GlobalFree(block);
        }
        Close();
        throw EClipboardError(L"Out of memory while copying to the clipboard");
    }
    std::memcpy(target, data, size);
    GlobalUnlock(block);
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
    if (SetClipboardData(format, block) == nullptr) {
        GlobalFree(block); // the clipboard did not take it
    }
    Close();
}

void TClipboard::SetWideText(const std::wstring& text) {
    SetBuffer(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::wstring TClipboard::GetWideText() {
    Open();
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Bounded by the block's size: another program's text need not be terminated.
            const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            text.assign(units, std::find(units, units + capacity, L'\0'));
            GlobalUnlock(data);
        }
    }
    Close();
    return text;
}

TClipboard& Clipboard() {
    if (!Instance) {
        Instance = std::make_unique<TClipboard>();
    }
    return *Instance;
}

void PlovaClipbrdDone() {
    Instance.reset();
}
