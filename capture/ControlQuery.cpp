// Asking a control of another process: see ControlQuery.h.

#include "capture/ControlQuery.h"

// Failure is a zero return with an error set: Wine also returns zero for an answer of zero.
bool Query(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, QueryTimeout, &answer) == 0 &&
        GetLastError() != ERROR_SUCCESS) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

POINT Unpack(LRESULT packed) {
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

size_t Unwrap16(size_t base, WORD low) {
    return base + ((low - base) & 0xFFFF);
}

TRemoteMemory::TRemoteMemory(HWND control, size_t size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(control, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION,
                           FALSE, id);
    if (process_ != nullptr) {
        BOOL wow64 = FALSE;
        is32Bit_ = IsWow64Process(process_, &wow64) && wow64;
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
}

TRemoteMemory::~TRemoteMemory() {
    if (address_ != nullptr) {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

bool TRemoteMemory::Write(size_t offset, const void* data, size_t size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
}

bool TRemoteMemory::Read(size_t offset, void* data, size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr);
}

TControlFontDC::TControlFontDC(HWND control) : dc_(CreateCompatibleDC(nullptr)) {
    DWORD process = 0;
    LOGFONTW described = {};
    if (dc_ == nullptr || GetWindowThreadProcessId(control, &process) == 0) {
        return;
    }
    if (process != GetCurrentProcessId() && ForeignControlFont(control, described)) {
        own_ = CreateFontIndirectW(&described);
    } else if (LRESULT font = 0; Query(control, WM_GETFONT, 0, 0, font)) {
        previous_ = SelectObject(dc_, font != 0 ? reinterpret_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    }
    if (Valid()) {
        return;
    }
    if (own_ == nullptr) {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            own_ = CreateFontIndirectW(&metrics.lfMessageFont);
        }
    }
    previous_ = own_ != nullptr ? SelectObject(dc_, own_) : nullptr;
}

TControlFontDC::~TControlFontDC() {
    if (Valid()) {
        SelectObject(dc_, previous_);
    }
    if (own_ != nullptr) {
        DeleteObject(own_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

bool CharacterEdges(const TControlFontDC& font, std::wstring_view line, std::vector<int>& edges) {
    edges.assign(line.size(), 0);
    SIZE size = {};
    return font.Valid() && !line.empty() &&
           GetTextExtentExPointW(font.Dc(), line.data(), static_cast<int>(line.size()), 0, nullptr, edges.data(),
                                 &size);
}

bool CharacterAtX(const std::vector<int>& edges, int x, size_t& index) {
    if (x < 0) {
        return false;
    }
    for (size_t i = 0; i < edges.size(); ++i) {
        if (x < edges[i]) {
            index = i;
            return true;
        }
    }
    return false;
}

