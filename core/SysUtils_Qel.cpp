#include "core/SysUtils_Qel.h"

#include <windows.h>

TFileHandle InvalidFileHandle() {
    return INVALID_HANDLE_VALUE;
}

std::wstring GetProgramFolder() {
    // Grow the buffer until the whole path fits: a path cut at the buffer's end would name
    // a wrong folder.
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return WideExtractFilePath(path, true);
}

std::wstring WideAdjustLineBreaks(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            out += L"\r\n";
            ++i;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

TFileHandle WideFileCreate(const std::wstring& name) {
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TFileHandle WideFileCreate(const std::wstring& name, int /*rights*/) {
    return WideFileCreate(name);
}

TFileHandle WideFileOpen(const std::wstring& name, uint16_t mode) {
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    const unsigned access = mode & 3;
    const unsigned share = (mode >> 4) & 0xF;
    if (access == 3 || share > 4) {
        // The system is not called; say why, so the caller's message is not some earlier error.
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(name.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

std::wstring WideExtractFileName(std::wstring_view name, bool keepExtension) {
    if (name.empty()) {
        return std::wstring();
    }
    size_t start = name.size() - 1;
    while (start > 0 && name[start - 1] != L'\\') {
        --start;
    }
    std::wstring result(name.substr(start));
    if (!keepExtension) {
        const auto dot = result.rfind(L'.');
        if (dot != std::wstring::npos) {
            result.resize(dot);
        }
    }
    return result;
}

std::wstring WideExtractFilePath(std::wstring_view name, bool keepBackslash) {
    if (name.empty()) {
        return std::wstring();
    }
    size_t i = name.size() - 1;
    while (i > 0 && name[i] != L'\\') {
        --i;
    }
    if (i == 0) {
        return std::wstring();
    }
    return std::wstring(name.substr(0, keepBackslash ? i + 1 : i));
}
