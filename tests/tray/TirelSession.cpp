#include "tests/tray/TirelSession.h"

#include <shellapi.h>

#include "core/DictImage.h"
#include "core/SysUtils_Qel.h"
#include "tests/support/BuiltData.h"
#include "tests/support/TopWindows.h"

namespace {

const wchar_t* const kTables[] = {L"atailes.bin", L"ntailes.bin",    L"dtailes.bin",
                                  L"vtailes.bin", L"recip_para.rtb", L"direct_para.rtb"};

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

TProgramFolder::TProgramFolder() {
    AddBuiltFile(L"Tirel.exe");
    AddBuiltFile(L"TextOutSpy.dll"); // bound by import: Tirel does not start without it
    for (const wchar_t* table : kTables) {
        AddBuiltFile(table);
    }
}

void TProgramFolder::AddMainProgram() const {
    CopyFileW((GetProgramFolder() + L"tray_fake_main.exe").c_str(), File(L"Pemdrove.exe").c_str(), FALSE);
}

void TProgramFolder::AddSampleDictionaries() const {
    AddBuiltFile(L"tatrus.dict");
    AddBuiltFile(L"rustat.dict");
}

void TProgramFolder::AddBuiltFile(const std::wstring& name) const {
    CopyFileW(BuiltPath(name).c_str(), File(name).c_str(), FALSE);
}

std::vector<std::string> TProgramFolder::MainLog() const {
    // Read with every sharing allowed, so the main program can always append meanwhile.
    std::vector<unsigned char> bytes;
    const HANDLE file =
        CreateFileW(File(L"main_log.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        bytes.resize(GetFileSize(file, nullptr));
        DWORD done = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        bytes.resize(done);
        CloseHandle(file);
    }
    std::vector<std::string> lines;
    std::string line;
    for (const unsigned char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += static_cast<char>(c);
        }
    }
    return lines;
}

int TProgramFolder::MainLogCount(const std::string& line) const {
    int count = 0;
    for (const std::string& logged : MainLog()) {
        count += logged == line || logged.rfind(line + " ", 0) == 0 ? 1 : 0;
    }
    return count;
}

void TProgramFolder::StopMainProgram() const {
    for (const std::string& line : MainLog()) {
        if (line.rfind("start ", 0) != 0) {
            continue;
        }
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                           static_cast<DWORD>(std::stoul(line.substr(6))));
        if (process == nullptr) {
            continue;
        }
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const bool ours =
            QueryFullProcessImageNameW(process, 0, image, &size) && _wcsicmp(image, File(L"Pemdrove.exe").c_str()) == 0;
        if (ours && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 10000);
        }
        CloseHandle(process);
    }
}

TTirelProcess::TTirelProcess(const TempFolder& folder) {
    std::wstring command = L"\"" + folder.File(L"Tirel.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(), &startup,
                        &process_)) {
        process_ = {};
    }
}

TTirelProcess::~TTirelProcess() {
    if (process_.hProcess == nullptr) {
        return;
    }
    if (Running()) {
        // A failed test leaves no tray program behind to disturb the next.
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool TTirelProcess::Running() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TTirelProcess::WaitForExit(DWORD limitMs) const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, limitMs) == WAIT_OBJECT_0;
}

DWORD TTirelProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool TBlockView::Open() {
    Close();
    mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, GlobalCustomsName);
    if (mapping_ == nullptr) {
        return false;
    }
    block_ = static_cast<TGlobalCustoms*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TGlobalCustoms)));
    return block_ != nullptr;
}

bool TBlockView::WaitOpen() {
    return WaitUntil([this] { return Open(); });
}

void TBlockView::Close() {
    if (block_ != nullptr) {
        UnmapViewOfFile(block_);
        block_ = nullptr;
    }
    if (mapping_ != nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
    }
}

bool MappingExists(const std::string& name) {
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping != nullptr) {
        CloseHandle(mapping);
    }
    return mapping != nullptr;
}

bool DictMappingExists(int number) {
    return MappingExists(DictObjectPrefix + std::to_string(number));
}

std::wstring SharedPathSlot(int number) {
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, (DictObjectPrefix + std::to_string(number)).c_str());
    if (mapping == nullptr) {
        return std::wstring();
    }
    std::wstring slot;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, DictLayout::HeaderSize)) {
        const auto* units = reinterpret_cast<const wchar_t*>(static_cast<const char*>(view) + DictLayout::PathOffset);
        slot.assign(units, DictLayout::PathUnits);
        slot.resize(slot.find(L'\0') == std::wstring::npos ? slot.size() : slot.find(L'\0'));
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return slot;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    for (HWND window : TopWindows(processId)) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (ClassNameOf(window) == className && (caption == nullptr || caption == std::wstring(text))) {
            return window;
        }
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256); // the box's static text
    return text;
}

bool Settle(const TBlockView& block) {
    const uint8_t before = block->ScanEnabled;
    PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0);
    if (!WaitUntil([&] { return block->ScanEnabled != before; })) {
        return false;
    }
    PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0);
    return WaitUntil([&] { return block->ScanEnabled == before; });
}

void PressCtrlF12() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, VK_F12, VK_F12, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

bool HotKeyFree() {
    if (!RegisterHotKey(nullptr, 0x7001, MOD_CONTROL, VK_F12)) {
        return false;
    }
    UnregisterHotKey(nullptr, 0x7001);
    return true;
}

bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NIF_TIP;
    lstrcpyW(data.szTip, L"ТИРЕЛ");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}
