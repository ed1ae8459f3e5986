#include "core/win32/OwnedHandle.h"

#include <windows.h>

void KernelHandleDeleter::operator()(void* handle) const {
    CloseHandle(handle);
}

void ViewDeleter::operator()(void* view) const {
    UnmapViewOfFile(view);
}

void HeldMutexDeleter::operator()(void* mutex) const {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

TOwnedFile OwnFile(void* handle) {
    return TOwnedFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
