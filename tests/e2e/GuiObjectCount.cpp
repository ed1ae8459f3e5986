#include "tests/e2e/GuiObjectCount.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace {

// One row of the GDI handle table; a free row has type 0.
struct TGdiTableRow {
    uint64_t Object;
    uint32_t Owner;
    uint32_t Unique; // bits 16..23: the object type
    uint64_t UserData;
};
static_assert(sizeof(TGdiTableRow) == 24, "a row of the 64-bit table");

constexpr size_t kGdiTableRows = 0x10000;
constexpr size_t kGdiTableInBlock = 0xF8; // the process block's GdiSharedHandleTable (64-bit)

long CountGdiRows(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG size = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &size) != 0) {
        return -1;
    }
    void* table = nullptr;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kGdiTableInBlock, &table,
                           sizeof table, nullptr) ||
        table == nullptr) {
        return -1;
    }
    std::vector<TGdiTableRow> rows(kGdiTableRows);
    if (!ReadProcessMemory(process, table, rows.data(), rows.size() * sizeof(TGdiTableRow), nullptr)) {
        return -1;
    }
    long count = 0;
    for (const TGdiTableRow& row : rows) {
        count += ((row.Unique >> 16) & 0xFF) != 0 ? 1 : 0;
    }
    return count;
}

struct TWindowCount {
    DWORD ProcessId;
    long Count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM lParam) {
    auto& count = *reinterpret_cast<TWindowCount*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    count.Count += processId == count.ProcessId ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM lParam) {
    CountChild(window, lParam);
    EnumChildWindows(window, CountChild, lParam); // all descendants
    return TRUE;
}

long CountWindows(DWORD processId) {
    TWindowCount count{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
        CountTopLevel(window, reinterpret_cast<LPARAM>(&count));
    }
    return count.Count;
}

} // namespace

TGuiObjects CountGuiObjects(DWORD processId) {
    TGuiObjects objects;
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return objects;
    }
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        objects.Gdi = static_cast<long>(gdi);
        objects.User = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    } else {
        objects.Gdi = CountGdiRows(process);
        objects.User = CountWindows(processId);
    }
    CloseHandle(process);
    return objects;
}
