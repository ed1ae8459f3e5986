// The font a control of another process draws with. A font handle means nothing outside its
// process (Wine even answers WM_GETFONT from another process with none), so the question is
// asked inside it: a message hook of this library, set on the control's thread for one
// message, answers a registered message there with the font's LOGFONTW in a small named block.

#include <windows.h>

#include <cstdint>

#include "capture/ControlQuery.h"

namespace {

constexpr wchar_t ProbeBlockName[] = L"QvTextOutSpyFontProbe";
constexpr LONG MaxFontSize = 1000; // pixels; a larger answer is no control's font

struct TFontProbeBlock {
    uint64_t Control; // the control asked about
    uint32_t Done;    // 1 once Font holds its font
    LOGFONTW Font;
};

UINT ProbeMessage() {
    static const UINT message = RegisterWindowMessageW(L"QvTextOutSpyFontProbe");
    return message;
}

// Runs in the control's process, on its thread. A system that cannot load this library there
// calls the hook in the asking process instead, where the control's font handle means nothing.
void AnswerProbe(HWND control) {
    DWORD process = 0;
    if (GetWindowThreadProcessId(control, &process) == 0 || process != GetCurrentProcessId()) {
        return;
    }
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, ProbeBlockName);
    if (mapping == nullptr) {
        return;
    }
    auto* block = static_cast<TFontProbeBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(TFontProbeBlock)));
    if (block != nullptr && block->Control == reinterpret_cast<uintptr_t>(control)) {
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
        LOGFONTW described = {};
        if (GetObjectW(font != nullptr ? font : GetStockObject(SYSTEM_FONT), sizeof described, &described) ==
            sizeof described) {
            block->Font = described;
            block->Done = 1;
        }
    }
    if (block != nullptr) {
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
}

LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call != nullptr && call->message == ProbeMessage() && call->message != 0) {
        AnswerProbe(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

bool ForeignControlFont(HWND control, LOGFONTW& font) {
    HMODULE module = nullptr;
    const DWORD thread = GetWindowThreadProcessId(control, nullptr);
    if (thread == 0 || ProbeMessage() == 0 ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ProbeHook), &module)) {
        return false;
    }
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TFontProbeBlock),
                                        ProbeBlockName);
    auto* block = mapping != nullptr ? static_cast<TFontProbeBlock*>(
                                           MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TFontProbeBlock)))
                                     : nullptr;
    bool found = false;
    if (block != nullptr) {
        block->Control = reinterpret_cast<uintptr_t>(control);
        block->Done = 0;
        if (HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, ProbeHook, module, thread)) {
            LRESULT ignored = 0;
            Query(control, ProbeMessage(), 0, 0, ignored);
            UnhookWindowsHookEx(hook);
        }
        // The other process wrote it: copied once, its name ended within its field.
        const LOGFONTW answer = block->Font;
        font = answer;
        font.lfFaceName[LF_FACESIZE - 1] = L'\0';
        found = block->Done == 1 && font.lfHeight >= -MaxFontSize && font.lfHeight <= MaxFontSize &&
                font.lfWidth >= 0 && font.lfWidth <= MaxFontSize;
        UnmapViewOfFile(block);
    }
    if (mapping != nullptr) {
        CloseHandle(mapping);
    }
    return found;
}
