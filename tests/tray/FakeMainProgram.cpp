// In the role of the main program for the tray program's end-to-end tests, copied beside it as
// Pemdrove.exe. It keeps the run-state handshake: it opens the shared block, goes on only when
// the block existed and asks for a launch (state 2), sets state 3 and puts its message window
// into the block; at its end it sets state 1 and clears the window. It logs to main_log.txt in
// the working folder, one line each: "start PID", "refused", "1528", "1529", "1532",
// "1533", "end".
// main_mode.txt may hold "destroy-on-quit": on 1528 it first sends WM_DESTROY to the tray window,
// as a main program that is itself ending both programs would.

#include <windows.h>

#include <fstream>
#include <string>

#include "core/GlobalCustoms.h"

namespace {

TGlobalCustoms* block = nullptr;
bool destroyOnQuit = false;

// Appends a line; the test may be reading the file at that moment, so a refused open is retried.
void Log(const std::string& line) {
    const std::string text = line + "\r\n";
    for (int attempt = 0; attempt < 500; ++attempt) {
        const HANDLE file = CreateFileW(L"main_log.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(10);
    }
}

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MAIN_QUIT:
        Log("1528");
        if (destroyOnQuit) {
            SendMessageW(static_cast<HWND>(LongToHandle(block->TrayWindow)), WM_DESTROY, 0, 0);
        }
        PostQuitMessage(0);
        return 0;
    case WM_MAIN_RESYNC:
        Log("1529");
        return 0;
    case WM_MAIN_SHOW:
        Log("1532");
        return 0;
    case WM_MAIN_EXIT_KEY:
        Log("1533");
        return 0;
    case WM_CLOSE: // the close button ends only the main program
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::string mode;
    std::ifstream("main_mode.txt") >> mode;
    destroyOnQuit = mode == "destroy-on-quit";

    const HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TGlobalCustoms), GlobalCustomsName);
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    block = static_cast<TGlobalCustoms*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (block == nullptr || !existed || block->RunState != rsLaunchRequested) {
        Log("refused");
        return 1;
    }
    block->RunState = rsRunning;
    block->ScanSuppressed = 0;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MessageWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"QuorvaMainMesgHandler";
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    block->MainMesgWindow = HandleToLong(window);
    Log("start " + std::to_string(GetCurrentProcessId()));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    block->RunState = rsNotRunning;
    DestroyWindow(window);
    block->MainMesgWindow = 0;
    block->ScanSuppressed = 0;
    Log("end");
    return 0;
}
