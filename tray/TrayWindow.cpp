#include "tray/TrayWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "core/Exceptions.h"
#include "core/GlobalCustoms.h"
#include "core/win32/SystemText.h"
#include "display/TextFormat.h"
#include "display/win32/Dpi.h"
#include "display/win32/WindowKit.h"
#include "tray/DictionarySharing.h"
#include "tray/PopupWindow.h"
#include "tray/TextOutSpy.h"
#include "tray/TrayProgram.h"

const wchar_t* const TrayWindowClass = L"PopupWindow_Jyx";

namespace {

struct TTrayWindow {
    NOTIFYICONDATAW IconData; // kept for the removal at exit
};

struct TTrayMenuItem {
    UINT Id;
    const wchar_t* Text[kLanguageCount]; // Tatar, Russian; null for a separator
};

const TTrayMenuItem kTrayMenu[] = {
    {tcMainWindow, {L"Баш тәрәзә", L"Главное окно"}},
    {tcScan, {L"Сканлаштыру", L"Сканировать"}},
    {0, {nullptr, nullptr}},
    {tcExit, {L"Чыгу", L"Выход"}},
    {0, {nullptr, nullptr}},
    {tcCancel, {L"Бетерү", L"Отменить"}},
};

const wchar_t kTrayTip[] = L"ТИРЕЛ";

void ToggleScanning(TGlobalCustoms& block) {
    // Any value but 0 counts as on, so the item always switches scanning off.
    block.ScanEnabled = block.ScanEnabled != 0 ? 0 : 1;
    if (block.ScanEnabled == 0) {
        block.ScanWithShift = 0;
    }
}

// The shell's message to every top-level window when the taskbar comes back after a restart.
UINT taskbarCreated = 0;

HWND MainMesgWindowOf(const TGlobalCustoms& block) {
    return static_cast<HWND>(LongToHandle(block.MainMesgWindow));
}

// Starts the main program, or brings a running one's window back. The click gave this process the
// right to put a window in front; the main program needs it to raise its own.
void OpenMainWindow(TGlobalCustoms& block) {
    if (!MainProgramRunning(block)) {
        RunMainProgram(block);
        return;
    }
    DWORD process = 0;
    if (GetWindowThreadProcessId(MainMesgWindowOf(block), &process) != 0) {
        AllowSetForegroundWindow(process);
    }
    PostMessageW(MainMesgWindowOf(block), WM_MAIN_SHOW, 0, 0);
}

void OnTrayCommand(UINT id) {
    TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr) {
        return;
    }
    switch (id) {
    case tcExit:
        TrayExit();
        break;
    case tcScan:
        ToggleScanning(*block);
        break;
    case tcMainWindow:
        OpenMainWindow(*block);
        break;
    default:
        break; // tcCancel only closes the menu
    }
}

// While the main program runs, the key is its Exit shortcut: it decides whether its window is in
// front.
void OnTrayHotKey(WPARAM id) {
    const TGlobalCustoms* block = SharedCustoms();
    if (id != kTrayHotKey || block == nullptr) {
        return;
    }
    if (MainProgramRunning(*block)) {
        PostMessageW(MainMesgWindowOf(*block), WM_MAIN_EXIT_KEY, 0, 0);
    } else {
        TrayExit();
    }
}

// A session that ends ends the program as its Exit does, so that ksv.dat is written.
void OnEndSession(WPARAM ending) {
    if (ending) {
        TrayExit();
    }
}

void OnTaskbarCreated(HWND window) {
    if (TTrayWindow* tray = KitObject<TTrayWindow>(window)) {
        Shell_NotifyIconW(NIM_ADD, &tray->IconData);
    }
}

void OnTrayNotify(HWND window, LPARAM mouseMessage) {
    TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr) {
        return;
    }
    if (mouseMessage == WM_LBUTTONUP) {
        OpenMainWindow(*block);
    } else if (mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu(window);
    }
}

void OnCompleteDictionaries(HWND window) {
    if (CompleteNextDictionary()) {
        PostMessageW(window, WM_TRAY_COMPLETE_DICTS, 0, 0);
    }
}

LRESULT TrayWndProc(TTrayWindow&, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            OnTrayCommand(LOWORD(wParam));
        }
        return 0;
    case WM_DESTROY:
        TrayExit();
        return 0;
    case WM_HOTKEY:
        OnTrayHotKey(wParam);
        return 0;
    case WM_SPY_TEXT:
        HandleSpyText(window);
        return 0;
    case WM_POPUP_CLOSED:
        HandlePopupClosed(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(window, lParam);
        return 0;
    case WM_TRAY_COMPLETE_DICTS:
        OnCompleteDictionaries(window);
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam);
        return 0;
    default:
        if (message == taskbarCreated && taskbarCreated != 0) {
            OnTaskbarCreated(window);
            return 0;
        }
        return KitDefault(window, message, wParam, lParam);
    }
}

NOTIFYICONDATAW MakeIconData(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = LoadSmallIcon(GetModuleHandleW(nullptr), L"BOOKSS", WindowDpi(window));
    static_assert(sizeof kTrayTip <= sizeof data.szTip, "the tip fits its field");
    std::copy(std::begin(kTrayTip), std::end(kTrayTip), data.szTip);
    return data;
}

} // namespace

void TrayWindowInit() {
    TKitClass windowClass;
    windowClass.Name = TrayWindowClass;
    windowClass.Style = CS_HREDRAW | CS_VREDRAW;
    windowClass.Cursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.Background = CreateSolidBrush(PopupBackground);
    KitRegister<TTrayWindow, TrayWndProc>(windowClass);
    taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    PopupWindowInit();
}

HWND CreateTrayWindow() {
    TKitWindowParams params;
    params.ClassName = TrayWindowClass;
    params.Style = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_THICKFRAME;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.X = 100;
    params.Y = 200;
    params.Width = 300;
    params.Height = 400;
    const HWND window = KitCreateWindow(params, std::make_unique<TTrayWindow>());
    if (window == nullptr) {
        const DWORD error = GetLastError();
        throw EOSError(error, L"Cannot create the tray window. " + SystemErrorMessage(error));
    }
    RegisterHotKey(window, kTrayHotKey, MOD_CONTROL, VK_F12);
    TTrayWindow& tray = *KitObject<TTrayWindow>(window);
    tray.IconData = MakeIconData(window);
    Shell_NotifyIconW(NIM_ADD, &tray.IconData);
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->Reserved04 = 0;
    }
    PostMessageW(window, WM_TRAY_COMPLETE_DICTS, 0, 0);
    return window;
}

void RemoveTrayIcon(HWND window) {
    if (TTrayWindow* tray = KitObject<TTrayWindow>(window)) {
        Shell_NotifyIconW(NIM_DELETE, &tray->IconData);
    }
}

TOwnedMenu CreateTrayMenu() {
    const TGlobalCustoms& block = SharedCustomsOrDefaults();
    const TLanguage language = LanguageOf(block.UILanguage);
    TOwnedMenu menu(CreatePopupMenu());
    for (const TTrayMenuItem& item : kTrayMenu) {
        if (item.Text[language] == nullptr) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, L"");
            continue;
        }
        const UINT checked = item.Id == tcScan && block.ScanEnabled != 0 ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu.Get(), MF_STRING | checked, item.Id, item.Text[language]);
    }
    return menu;
}

void ShowTrayMenu(HWND owner) {
    const TOwnedMenu menu = CreateTrayMenu();
    POINT at = {};
    GetCursorPos(&at);
    // A menu whose owner is not in front stays open when the user clicks elsewhere; the null
    // message after it lets a second click on the icon open it again.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu.Get(), TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}
