#include "main/MainProgramBody.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "core/GlobalCustoms.h"

namespace {

// The block as the tray program holds it: named, with a run state.
class TTrayBlock {
public:
    explicit TTrayBlock(uint8_t runState) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TGlobalCustoms),
                                      GlobalCustomsName);
        block_ = static_cast<TGlobalCustoms*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        *block_ = DefaultCustoms();
        block_->RunState = runState;
        block_->ScanSuppressed = 1;
    }
    ~TTrayBlock() {
        UnmapViewOfFile(block_);
        CloseHandle(mapping_);
    }
    TGlobalCustoms* operator->() const { return block_; }

private:
    HANDLE mapping_ = nullptr;
    TGlobalCustoms* block_ = nullptr;
};

bool NamedBlockExists() {
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, GlobalCustomsName);
    if (mapping != nullptr) {
        CloseHandle(mapping);
    }
    return mapping != nullptr;
}

bool QuitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// Records the offsets of the block's bytes in the order they are written, through a guard page
// that is armed again after every access.
class TWriteRecorder {
public:
    TWriteRecorder() {
        page_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        current_ = this;
        handler_ = AddVectoredExceptionHandler(1, Handler);
    }
    ~TWriteRecorder() {
        Disarm();
        RemoveVectoredExceptionHandler(handler_);
        current_ = nullptr;
        VirtualFree(page_, 0, MEM_RELEASE);
    }
    TGlobalCustoms* Block() const { return reinterpret_cast<TGlobalCustoms*>(page_); }
    void Arm() {
        armed_ = true;
        DWORD old = 0;
        VirtualProtect(page_, 4096, PAGE_READWRITE | PAGE_GUARD, &old);
    }
    void Disarm() {
        armed_ = false;
        DWORD old = 0;
        VirtualProtect(page_, 4096, PAGE_READWRITE, &old);
    }
    const std::vector<size_t>& Writes() const { return writes_; }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) {
        TWriteRecorder* self = current_;
        const DWORD code = info->ExceptionRecord->ExceptionCode;
        if (self == nullptr) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        if (code == STATUS_GUARD_PAGE_VIOLATION) {
            const auto address = static_cast<size_t>(info->ExceptionRecord->ExceptionInformation[1]);
            if (info->ExceptionRecord->ExceptionInformation[0] == 1) {
                self->writes_.push_back(address - reinterpret_cast<size_t>(self->page_));
            }
            info->ContextRecord->EFlags |= 0x100; // one step, then the guard again
            return EXCEPTION_CONTINUE_EXECUTION;
        }
        if (code == STATUS_SINGLE_STEP && self->armed_) {
            DWORD old = 0;
            VirtualProtect(self->page_, 4096, PAGE_READWRITE | PAGE_GUARD, &old);
            return EXCEPTION_CONTINUE_EXECUTION;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline TWriteRecorder* current_ = nullptr;
    unsigned char* page_ = nullptr;
    void* handler_ = nullptr;
    bool armed_ = false;
    std::vector<size_t> writes_;
};

// Runs first: the refusals leave no block behind, and a started run holds one until the end.
TEST(MainProgramBody, WithoutTheTrayProgramTheStartIsRefusedAndLeavesNoBlock) {
    ASSERT_FALSE(NamedBlockExists());
    EXPECT_FALSE(MainStartup());
    EXPECT_FALSE(NamedBlockExists());
    EXPECT_EQ(SharedCustoms(), nullptr);
}

TEST(MainProgramBody, OnlyALaunchRequestStartsTheRun) {
    for (const uint8_t state : {rsNotRunning, rsRunning, rsUninitialised}) {
        TTrayBlock block(state);
        EXPECT_FALSE(MainStartup()) << int(state);
        EXPECT_EQ(block->RunState, state);
        EXPECT_EQ(block->MainMesgWindow, 0);
        EXPECT_EQ(block->ScanSuppressed, 1);
        EXPECT_EQ(SharedCustoms(), nullptr);
    }
}

TEST(MainProgramBody, TheRunHoldsStateThreeAndItsMessageWindowUntilItEnds) {
    TTrayBlock block(rsLaunchRequested);
    ASSERT_TRUE(MainStartup());
    EXPECT_EQ(block->RunState, rsRunning);
    EXPECT_EQ(block->ScanSuppressed, 0);
    const HWND window = static_cast<HWND>(LongToHandle(block->MainMesgWindow));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window, MainMesgWindow());
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"QuorvaMainMesgHandler");
    EXPECT_FALSE(IsWindowVisible(window));

    EXPECT_EQ(SendMessageW(window, WM_MAIN_RESYNC, 0, 0), 0); // no main window yet: nothing to move
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(SendMessageW(window, WM_USER + 7, 1, 2), 0);
    EXPECT_FALSE(QuitPosted());
    SendMessageW(window, WM_MAIN_QUIT, 0, 0);
    EXPECT_TRUE(QuitPosted());

    block->ScanSuppressed = 1;
    MainEndOfRun();
    EXPECT_EQ(block->RunState, rsNotRunning);
    EXPECT_EQ(block->MainMesgWindow, 0);
    EXPECT_EQ(block->ScanSuppressed, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MainMesgWindow(), nullptr);
    SetSharedCustoms(nullptr);
}

TEST(MainProgramBody, TheEndClearsTheWindowHandleBeforeTheRunState) {
    TWriteRecorder recorder;
    *recorder.Block() = DefaultCustoms();
    recorder.Block()->RunState = rsRunning;
    SetSharedCustoms(recorder.Block());
    recorder.Arm();
    MainEndOfRun();
    recorder.Disarm();
    SetSharedCustoms(nullptr);
    const std::vector<size_t>& writes = recorder.Writes();
    std::vector<size_t> order;
    for (const size_t offset : writes) {
        if (offset >= offsetof(TGlobalCustoms, MainMesgWindow) && offset < offsetof(TGlobalCustoms, SourceLang)) {
            order.push_back(offsetof(TGlobalCustoms, MainMesgWindow));
        } else if (offset == offsetof(TGlobalCustoms, RunState)) {
            order.push_back(offset);
        }
    }
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order.front(), offsetof(TGlobalCustoms, MainMesgWindow));
    EXPECT_EQ(order.back(), offsetof(TGlobalCustoms, RunState));
    EXPECT_EQ(recorder.Block()->RunState, rsNotRunning);
}

} // namespace
