#include "core/UFileStream.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/win32/SystemText.h"

namespace {

std::wstring FullPath(const std::wstring& name) {
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return name;
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return full.empty() ? name : full;
}

} // namespace

TUFileStream::TUFileStream(const std::wstring& fileName, uint16_t mode) : TUFileStream(fileName, 0, mode) {}

TUFileStream::TUFileStream(const std::wstring& fileName, int rights, uint16_t mode)
    : THandleStream(mode == fmCreate ? WideFileCreate(fileName, rights) : WideFileOpen(fileName, mode)) {
    if (handle_ == INVALID_HANDLE_VALUE) {
        const std::wstring reason = SystemErrorMessage(GetLastError());
        if (mode == fmCreate) {
            throw EFCreateError(FormatMessageText(SFCreateErrorEx, FullPath(fileName), reason));
        }
        throw EFOpenError(FormatMessageText(SFOpenErrorEx, FullPath(fileName), reason), FullPath(fileName));
    }
}

TUFileStream::~TUFileStream() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
    }
}
