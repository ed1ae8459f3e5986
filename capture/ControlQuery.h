#pragma once
// Asking a control of another process: messages with a short timeout, memory in the control's
// process for messages whose pointers the system does not copy, and the control's font in a
// device context of ours for measuring its text.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Every question waits at most this long, so a hung program never holds the capture.
constexpr UINT QueryTimeout = 200; // milliseconds per message

// False when the message was not answered; the answer is another process's word, unchecked.
bool Query(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

POINT Unpack(LRESULT packed);

// A 16-bit index from a control, widened with a known index at most 65535 below the true one.
size_t Unwrap16(size_t base, WORD low);

// Memory in the process of a control, for messages whose pointers the system does not copy.
class TRemoteMemory {
public:
    TRemoteMemory(HWND control, size_t size);
    ~TRemoteMemory();
    TRemoteMemory(const TRemoteMemory&) = delete;
    TRemoteMemory& operator=(const TRemoteMemory&) = delete;

    bool Valid() const { return address_ != nullptr; }
    bool Is32Bit() const { return is32Bit_; }
    uintptr_t At(size_t offset) const { return reinterpret_cast<uintptr_t>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const;
    bool Read(size_t offset, void* data, size_t size) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
    bool is32Bit_ = false;
};

// The font a control of another process draws with, asked in that process (FontProbe.cpp).
bool ForeignControlFont(HWND control, LOGFONTW& font);

// A memory device context with the control's font: for another process's control as that process
// describes it; else the font it names, and the message font, which dialogs commonly use, when
// that cannot be selected here.
class TControlFontDC {
public:
    explicit TControlFontDC(HWND control);
    ~TControlFontDC();
    TControlFontDC(const TControlFontDC&) = delete;
    TControlFontDC& operator=(const TControlFontDC&) = delete;

    bool Valid() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
    HFONT own_ = nullptr; // made here, deleted with the device context
};

// Where one line of text drawn from x = 0 puts each character's right edge.
bool CharacterEdges(const TControlFontDC& font, std::wstring_view line, std::vector<int>& edges);
// The character whose cell holds x.
bool CharacterAtX(const std::vector<int>& edges, int x, size_t& index);
