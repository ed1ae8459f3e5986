#include "display/win32/SystemCase.h"

#include <windows.h>

std::wstring SystemUpperCase(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) {
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}
