#include "tests/tray/TrayTestSupport.h"

#include <shellapi.h>

#include <map>

#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"
#include "tools/DictWriter.h"
#include "tray/DictionarySharing.h"
#include "tray/TextOutSpy.h"
#include "tray/TrayProgram.h"
#include "tray/TrayWindow.h"

namespace {

TTrayRecord record;

std::map<UINT, int> received;
HWND trayToDestroy = nullptr;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MAIN_QUIT && trayToDestroy != nullptr) {
        SendMessageW(trayToDestroy, WM_DESTROY, 0, 0);
    }
    if (message >= WM_MAIN_QUIT && message <= WM_MAIN_EXIT_KEY) {
        ++received[message];
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TTrayRecord& TrayRecord() {
    return record;
}

void PrepareTrayTests() {
    static bool prepared = false;
    if (prepared) {
        return;
    }
    prepared = true;
    SetTrayProcessEnd([](UINT) { ++record.Ends; });
    SetTrayMessageBox([](const wchar_t* text, const wchar_t* caption) { record.Messages.emplace_back(text, caption); });
    // No watcher in the tests' process: the capture library would report other tests' windows.
    SetCaptureActivation([](int) {});
    TrayWindowInit();
}

TWorkingFolder::TWorkingFolder() {
    wchar_t current[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, current);
    previous_ = current;
    SetCurrentDirectoryW(Path().c_str());
}

TWorkingFolder::~TWorkingFolder() {
    SetCurrentDirectoryW(previous_.c_str());
}

std::vector<unsigned char> TrayTestImage(int32_t id, TLanguage direction) {
    DictSource source;
    source.Title = L"Сынау";
    source.Authors = L"Авторлар";
    source.Version = L"1.0";
    source.Direction = direction;
    source.Id = id;
    source.Entries.push_back({direction == 0 ? L"китап" : L"книга", 1, 0, -1, L"x"});
    return BuildDictImage(source);
}

TStartedTray::TStartedTray(const TWorkingFolder& folder) {
    PrepareTrayTests();
    folder.Write(L"t.dict", TrayTestImage(1, langTatar));
    started_ = TrayStartup();
}

TStartedTray::~TStartedTray() {
    if (started_ && IsWindow(TrayWindowHandle())) {
        DestroyWindow(TrayWindowHandle());
    }
    UnshareAllDictionaries();
}

HWND TStartedTray::Window() const {
    return TrayWindowHandle();
}

TMainWindowStandIn::TMainWindowStandIn() {
    static const bool registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = StandInProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QvTrayTestMainStandIn";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    received.clear();
    trayToDestroy = nullptr;
    window_ = CreateWindowExW(0, L"QvTrayTestMainStandIn", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

TMainWindowStandIn::~TMainWindowStandIn() {
    trayToDestroy = nullptr;
    DestroyWindow(window_);
}

int TMainWindowStandIn::Received(UINT message) const {
    const auto found = received.find(message);
    return found != received.end() ? found->second : 0;
}

void TMainWindowStandIn::DestroyTrayOnQuit(HWND tray) {
    trayToDestroy = tray;
}

bool HotKeyTaken() {
    if (!RegisterHotKey(nullptr, 0x7002, MOD_CONTROL, VK_F12)) {
        return true;
    }
    UnregisterHotKey(nullptr, 0x7002);
    return false;
}

bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uFlags = NIF_TIP;
    lstrcpyW(data.szTip, L"ТИРЕЛ");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}
