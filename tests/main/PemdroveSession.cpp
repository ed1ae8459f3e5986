#include "tests/main/PemdroveSession.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "main/Main.h"
#include "tests/support/BuiltData.h"
#include "tests/support/TopWindows.h"

namespace {

const wchar_t* const kTrayRoleClass = L"MainE2eTrayRole";
int trayDestroys = 0;

LRESULT CALLBACK TrayRoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++trayDestroys; // the main program's request to end both programs; the window stays
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* const kProgramFiles[] = {L"Pemdrove.exe", L"atailes.bin",    L"ntailes.bin",     L"dtailes.bin",
                                        L"vtailes.bin",  L"recip_para.rtb", L"direct_para.rtb", L"tirel_ht.htm",
                                        L"tirel_hr.htm", L"tirel_abt.dat",  L"tirel_abr.dat"};

// An edit of the main window: the word entry, or the one-pixel keyboard target of the list (the
// layout scales the entry's place with the font, not the target's).
HWND EditChild(HWND main, bool keyTarget) {
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        RECT rect = {};
        GetWindowRect(child, &rect);
        if (lstrcmpiW(name, L"Edit") == 0 && (rect.right - rect.left == 1) == keyTarget) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

std::wstring WindowTextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (GetTickCount64() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TPemdroveSession::TPemdroveSession() {
    for (const wchar_t* name : kProgramFiles) {
        CopyFileW(BuiltPath(name).c_str(), folder_.File(name).c_str(), FALSE);
    }
}

TPemdroveSession::~TPemdroveSession() {
    for (PROCESS_INFORMATION* process : {&tray_, &process_}) {
        if (process->hProcess == nullptr) {
            continue;
        }
        if (WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process->hProcess, 99); // a failed test leaves nothing running
            WaitForSingleObject(process->hProcess, 10000);
        }
        CloseHandle(process->hProcess);
        CloseHandle(process->hThread);
    }
    for (const HANDLE mapping : dictMappings_) {
        CloseHandle(mapping);
    }
    if (block_ != nullptr) {
        UnmapViewOfFile(block_);
        CloseHandle(blockMapping_);
    }
    if (trayWindow_ != nullptr) {
        DestroyWindow(trayWindow_);
    }
}

void TPemdroveSession::CreateBlock(uint8_t runState) {
    static const bool registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = TrayRoleProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kTrayRoleClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    trayWindow_ = CreateWindowExW(0, kTrayRoleClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    trayDestroys = 0;
    blockMapping_ =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TGlobalCustoms), GlobalCustomsName);
    block_ = static_cast<TGlobalCustoms*>(MapViewOfFile(blockMapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    *block_ = DefaultCustoms();
    block_->RunState = runState;
    block_->TrayWindow = HandleToLong(trayWindow_);
}

void TPemdroveSession::Share(const std::vector<unsigned char>& image) {
    const auto number = static_cast<int>(dictMappings_.size());
    const std::string name = DictObjectPrefix + std::to_string(number);
    const HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              static_cast<DWORD>(image.size()), name.c_str());
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    std::memcpy(view, image.data(), image.size());
    UnmapViewOfFile(view);
    dictMappings_.push_back(mapping);
    SetSharedDict(*block_, number, true);
}

bool TPemdroveSession::Start() {
    std::wstring command = L"\"" + folder_.File(L"Pemdrove.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(),
                          &startup, &process_) != FALSE;
}

bool TPemdroveSession::StartTray() {
    for (const wchar_t* name : {L"Tirel.exe", L"TextOutSpy.dll", L"tatrus.dict", L"rustat.dict"}) {
        CopyFileW(BuiltPath(name).c_str(), folder_.File(name).c_str(), FALSE);
    }
    std::wstring command = L"\"" + folder_.File(L"Tirel.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(),
                          &startup, &tray_) != FALSE;
}

bool TPemdroveSession::TrayRunning() const {
    return tray_.hProcess != nullptr && WaitForSingleObject(tray_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TPemdroveSession::Running() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TPemdroveSession::WaitForExit(DWORD limitMs) const {
    return PumpUntil([this] { return !Running(); }, limitMs);
}

DWORD TPemdroveSession::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND TPemdroveSession::WaitForMainWindow() {
    HWND main = nullptr;
    PumpUntil([&] { return !Running() || (main = FindWindowOf(L"ТИРЕЛ")) != nullptr; });
    return main;
}

HWND TPemdroveSession::FindWindowOf(const wchar_t* caption) const {
    // Started by the tray program, it is any process's window of the class.
    for (HWND window : TopWindows(process_.hProcess != nullptr ? process_.dwProcessId : 0)) {
        if (IsWindowVisible(window) && ClassNameOf(window) == TForm::ClassName &&
            (caption == nullptr || WindowTextOf(window) == caption)) {
            return window;
        }
    }
    return nullptr;
}

int TPemdroveSession::TrayDestroys() const {
    return trayDestroys;
}

TMainWindowView::TMainWindowView(HWND main) : Main(main) {
    Edit1 = EditChild(main, false);
    KeyEdit = EditChild(main, true);
    Browser = GetDlgItem(main, TForm1::idTB);
    Close = GetDlgItem(main, TForm1::idbtnClose);
}

std::wstring TMainWindowView::Row(int k) const {
    return WindowTextOf(GetDlgItem(Main, TForm1::idFirstRow + k));
}

std::wstring TMainWindowView::Word() const {
    return WindowTextOf(Edit1);
}

std::wstring TMainWindowView::Article() const {
    std::wstring text = WindowTextOf(Browser);
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    return text;
}

bool TMainWindowView::ArticleFormat(DWORD processId, int position, DWORD& effects, COLORREF& colour) const {
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    void* remote = VirtualAllocEx(process, nullptr, sizeof format, MEM_COMMIT, PAGE_READWRITE);
    bool done = remote != nullptr && WriteProcessMemory(process, remote, &format, sizeof format, nullptr);
    if (done) {
        SendMessageW(Browser, EM_SETSEL, position, position + 1);
        SendMessageW(Browser, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(remote));
        done = ReadProcessMemory(process, remote, &format, sizeof format, nullptr) != FALSE;
    }
    if (remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    effects = format.dwEffects;
    colour = format.crTextColor;
    return done;
}

void TMainWindowView::TypeChar(wchar_t c) const {
    SendMessageW(Edit1, WM_CHAR, c, 1);
}

void TMainWindowView::ListKey(UINT virtualKey) const {
    const LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16) | (1 << 24);
    SendMessageW(KeyEdit, WM_KEYDOWN, virtualKey, data);
    SendMessageW(KeyEdit, WM_KEYUP, virtualKey, data | (3u << 30));
}

void TMainWindowView::Command(int id) const {
    SendMessageW(Main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
