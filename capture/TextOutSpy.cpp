// TextOutSpy.dll: while switched on, a background thread watches the mouse; when it rests over a
// text control of another program, the text around the character there goes into the shared
// block and WM_SPY_TEXT goes to the window whose handle the block holds.

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

#include "capture/TextOutSpyBlock.h"

// Defined in ControlText.cpp and CaptureText.cpp; the tray program shares only the block's layout.
bool ReadTextUnderCursor(POINT screen, DWORD skippedProcess, std::wstring& text, size_t& cursor);
void CutUtf8AroundCursor(std::wstring_view text, size_t cursor, size_t capacity, std::string& utf8,
                         size_t& cursorBytes);

namespace {

constexpr DWORD PollInterval = 50;  // milliseconds between looks at the cursor
constexpr DWORD RestTime = 300;     // a cursor this long at one place rests
constexpr UINT ReportTimeout = 500; // for WM_SPY_TEXT to be taken
constexpr DWORD StopTimeout = 5000; // for the watcher to end when switched off

HMODULE g_module = nullptr;
SRWLOCK g_switch = SRWLOCK_INIT; // serializes switching on and off
HANDLE g_thread = nullptr;
HANDLE g_stop = nullptr;
// Keeps the block in being, with its full size, from the first switching on to the end of the
// process, whether or not the tray program has opened it yet.
HANDLE g_keeper = nullptr;

// The shared block, made here when the tray program has not made it yet. A block made elsewhere
// that is smaller than the layout is not used at all.
class TBlockView {
public:
    TBlockView() = default;
    ~TBlockView() { Close(); }
    TBlockView(const TBlockView&) = delete;
    TBlockView& operator=(const TBlockView&) = delete;

    TTextOutSpyBlock* Open() {
        if (view_ != nullptr) {
            return view_;
        }
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TTextOutSpyBlock),
                                      TextOutSpyBlockName);
        void* view = mapping_ != nullptr ? MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
        MEMORY_BASIC_INFORMATION region = {};
        if (view != nullptr && VirtualQuery(view, &region, sizeof region) != 0 &&
            region.RegionSize >= sizeof(TTextOutSpyBlock)) {
            view_ = static_cast<TTextOutSpyBlock*>(view);
            return view_;
        }
        if (view != nullptr) {
            UnmapViewOfFile(view);
        }
        Close();
        return nullptr;
    }

private:
    void Close() {
        if (view_ != nullptr) {
            UnmapViewOfFile(view_);
            view_ = nullptr;
        }
        if (mapping_ != nullptr) {
            CloseHandle(mapping_);
            mapping_ = nullptr;
        }
    }

    HANDLE mapping_ = nullptr;
    TTextOutSpyBlock* view_ = nullptr;
};

// Says once per rest, when the cursor has stayed at one place for RestTime.
class TRestWatch {
public:
    bool Rested(POINT at, ULONGLONG now) {
        if (!seen_ || at.x != at_.x || at.y != at_.y) {
            seen_ = true;
            at_ = at;
            since_ = now;
            told_ = false;
            return false;
        }
        if (told_ || now - since_ < RestTime) {
            return false;
        }
        told_ = true;
        return true;
    }

private:
    bool seen_ = false;
    bool told_ = false;
    POINT at_ = {};
    ULONGLONG since_ = 0;
};

// Nothing happens while the block names no window. The target's own process is never read:
// the tray program's windows are not text to translate.
void Report(TTextOutSpyBlock& block, POINT at) {
    const HWND target = TextOutSpyFieldWindow(block.TargetWindow);
    DWORD owner = 0;
    if (target == nullptr || GetWindowThreadProcessId(target, &owner) == 0) {
        return;
    }
    std::wstring text;
    size_t cursor = 0;
    if (!ReadTextUnderCursor(at, owner, text, cursor)) {
        return;
    }
    std::string utf8;
    size_t cursorBytes = 0;
    CutUtf8AroundCursor(text, cursor, TextOutSpyMaxTextBytes, utf8, cursorBytes);
    if (utf8.empty()) {
        return;
    }
    std::memset(block.Text, 0, sizeof block.Text);
    std::memcpy(block.Text, utf8.data(), utf8.size());
    block.TextBytes = static_cast<int32_t>(utf8.size());
    block.CursorOffset = static_cast<int32_t>(cursorBytes);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(target, TextOutSpyMessage, 0, 0, SMTO_ABORTIFHUNG, ReportTimeout, &ignored);
}

void Watch(HANDLE stop) {
    TBlockView block;
    TRestWatch rest;
    POINT at = {};
    while (WaitForSingleObject(stop, PollInterval) == WAIT_TIMEOUT) {
        if (!GetCursorPos(&at) || !rest.Rested(at, GetTickCount64())) {
            continue;
        }
        if (TTextOutSpyBlock* view = block.Open()) {
            try {
                Report(*view, at);
            } catch (...) {
                // Out of memory for one report: the next rest tries again.
            }
        }
    }
}

// The thread holds a reference to this module, so that it cannot be unloaded under it.
DWORD WINAPI WatchThread(void* stop) {
    try {
        Watch(static_cast<HANDLE>(stop));
    } catch (...) {
        // Nothing throws outside a report; the thread must still end through its exit below.
    }
    FreeLibraryAndExitThread(g_module, 0);
}

// The watcher may be sending WM_SPY_TEXT to a window of the calling thread: take such messages
// while waiting for it to end. False when it has not ended in time.
bool AwaitEnd(HANDLE thread) {
    const ULONGLONG deadline = GetTickCount64() + StopTimeout;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(deadline - now), QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) {
            return woken == WAIT_OBJECT_0;
        }
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return false;
}

void Start() {
    if (g_thread != nullptr) {
        return;
    }
    if (g_keeper == nullptr) {
        g_keeper = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TTextOutSpyBlock),
                                      TextOutSpyBlockName);
    }
    HMODULE reference = nullptr;
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop == nullptr || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                               reinterpret_cast<LPCWSTR>(&WatchThread), &reference)) {
        if (stop != nullptr) {
            CloseHandle(stop);
        }
        return;
    }
    g_thread = CreateThread(nullptr, 0, WatchThread, stop, 0, nullptr);
    if (g_thread == nullptr) {
        FreeLibrary(reference);
        CloseHandle(stop);
        return;
    }
    g_stop = stop;
}

void Stop() {
    if (g_thread == nullptr) {
        return;
    }
    SetEvent(g_stop);
    // A watcher late in ending still waits on its stop event, which must then stay open.
    if (AwaitEnd(g_thread)) {
        CloseHandle(g_stop);
    }
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_stop = nullptr;
}

} // namespace

extern "C" void WINAPI ActivateTextOutSpying(int activate) {
    AcquireSRWLockExclusive(&g_switch);
    if (activate != 0) {
        Start();
    } else {
        Stop();
    }
    ReleaseSRWLockExclusive(&g_switch);
}

// No waiting for the watcher here, under the loader lock: it holds a reference to this module,
// so a detach while it runs is the end of the process, and it is only told to stop.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH && g_stop != nullptr) {
        SetEvent(g_stop);
    }
    return TRUE;
}
