#pragma once
// Another program's windows seen from outside: the top-level windows of one process.

#include <windows.h>

#include <string>
#include <vector>

// In Z order; every process's when processId is 0.
inline std::vector<HWND> TopWindows(DWORD processId) {
    struct TCollect {
        DWORD ProcessId;
        std::vector<HWND> Found;
    } collect{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& c = *reinterpret_cast<TCollect*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (c.ProcessId == 0 || owner == c.ProcessId) {
                c.Found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.Found;
}

inline std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}
