#include "core/Streams.h"

#include <windows.h>

#include <algorithm>

#include "core/Exceptions.h"

int64_t TStream::Size() {
    const int64_t position = Position();
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (count != 0 && Read(buffer, count) != count) {
        throw EReadError(SReadError);
    }
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count != 0 && Write(buffer, count) != count) {
        throw EWriteError(SWriteError);
    }
}

// ReadFile and WriteFile take 32-bit counts: large transfers go in chunks.
constexpr size_t kChunk = 1u << 30;

size_t THandleStream::Read(void* buffer, size_t count) {
    size_t total = 0;
    while (total < count) {
        DWORD done = 0;
        const auto part = static_cast<DWORD>(std::min(count - total, kChunk));
        if (!ReadFile(handle_, static_cast<char*>(buffer) + total, part, &done, nullptr) || done == 0) {
            break;
        }
        total += done;
    }
    return total;
}

size_t THandleStream::Write(const void* buffer, size_t count) {
    size_t total = 0;
    while (total < count) {
        DWORD done = 0;
        const auto part = static_cast<DWORD>(std::min(count - total, kChunk));
        if (!WriteFile(handle_, static_cast<const char*>(buffer) + total, part, &done, nullptr) || done == 0) {
            break;
        }
        total += done;
    }
    return total;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(handle_, distance, &result, kMethods[static_cast<int>(origin)])) {
        return -1;
    }
    return result.QuadPart;
}
