#pragma once
// Ownership of kernel objects: one move-only holder with a deleter per kind of handle. Portable
// code may hold these (a dictionary handle owns its file, mapping and view), so this header does
// not include <windows.h>; the deleters are defined beside it.

#include <utility>

template <typename Handle, typename Deleter>
class TOwned {
public:
    TOwned() = default;
    explicit TOwned(Handle handle, Deleter deleter = Deleter()) : handle_(handle), deleter_(deleter) {}
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;
    TOwned(TOwned&& other) noexcept : handle_(other.handle_), deleter_(other.deleter_) { other.handle_ = Handle(); }
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Handle());
            deleter_ = other.deleter_;
        }
        return *this;
    }
    ~TOwned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle(); }
    Handle Release() { return std::exchange(handle_, Handle()); }
    void Reset(Handle handle = Handle()) {
        if (handle_ != Handle()) {
            deleter_(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = Handle();
    Deleter deleter_ = Deleter();
};

// Files, mappings, mutexes and events: CloseHandle.
struct KernelHandleDeleter {
    void operator()(void* handle) const;
};
// Mapped views: UnmapViewOfFile.
struct ViewDeleter {
    void operator()(void* view) const;
};
// A held mutex is released before it is closed.
struct HeldMutexDeleter {
    void operator()(void* mutex) const;
};

using TOwnedHandle = TOwned<void*, KernelHandleDeleter>;
using TOwnedFile = TOwnedHandle;
using TOwnedMapping = TOwnedHandle;
using TOwnedEvent = TOwnedHandle;
using TOwnedMutex = TOwnedHandle;
using TOwnedHeldMutex = TOwned<void*, HeldMutexDeleter>;
using TOwnedView = TOwned<void*, ViewDeleter>;

// CreateFileW answers INVALID_HANDLE_VALUE, not null, when it fails: an owner of that holds nothing.
TOwnedFile OwnFile(void* handle);
