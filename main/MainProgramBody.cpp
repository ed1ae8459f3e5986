#include "main/MainProgramBody.h"

#include <atomic>
#include <memory>

#include "core/GlobalCustoms.h"
#include "core/TableTailes.h"
#include "core/UILanguage.h"
#include "core/Units.h"
#include "display/CardWindow.h"
#include "display/PlovaFonts.h"
#include "display/win32/ErrorReport.h"
#include "display/win32/WindowKit.h"
#include "main/About.h"
#include "main/Adjustment.h"
#include "main/Help.h"
#include "main/Main.h"
#include "main/MainDictHandler.h"

const wchar_t* const MainMesgClassName = L"QuorvaMainMesgHandler";

namespace {

// Kept for the whole run: the view is the block every window reads.
HANDLE blockMapping = nullptr;
HWND mesgWindow = nullptr;

std::unique_ptr<TForm1> mainForm;
std::unique_ptr<TForm3> dictForm;
std::unique_ptr<TForm4> settingsForm;
std::unique_ptr<TForm6> helpForm;
std::unique_ptr<TForm7> aboutForm;

void StartUnits() {
    UnitsInit({
        {GlobalCustomsInit, GlobalCustomsDone},
        {[] { OpeningFiles([] { TableTailesInit(); }); }, TableTailesDone},
        {PlovaFontsInit, PlovaFontsDone},
        {CardWindowInit, CardWindowDone},
        {FormsInit, FormsDone},
        {MainMesgInit, MainMesgDone},
    });
}

// A form whose creation fails is reported; the start goes on without it.
template <typename Form> void CreateForm(std::unique_ptr<Form>& form) {
    Guarded([&] { form = std::make_unique<Form>(); });
}

bool IsFormWindow(HWND window) {
    wchar_t name[32] = {};
    return window != nullptr && GetClassNameW(window, name, 32) > 0 && lstrcmpW(name, TForm::ClassName) == 0;
}

// The tray icon asks for the main window: restored when minimised, and in front.
void ShowMainWindow() {
    if (Form1 == nullptr) {
        return;
    }
    const HWND main = Form1->Handle();
    if (IsIconic(main)) {
        ShowWindow(main, SW_RESTORE);
    }
    SetForegroundWindow(main);
}

// Ctrl+F12, taken by the tray program's hot key: the Exit shortcut the main window shows, when
// that window is in front.
void OnExitKey() {
    if (Form1 != nullptr && GetForegroundWindow() == Form1->Handle()) {
        Form1->MMTrans_ExitClick();
    }
}

// The end of the session ends both programs as Exit does, so that the tray program writes ksv.dat
// whichever of them hears of it first.
void OnEndSession(WPARAM ending) {
    if (ending && Form1 != nullptr) {
        Form1->MMTrans_ExitClick();
    }
}

} // namespace

int MainProgramBody() {
    try {
        StartUnits();
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
    if (!MainStartup()) {
        UnitsDone();
        return 0;
    }
    CreateMainForms();
    if (Form1 != nullptr) {
        Form1->Show();
        MainMessageLoop();
    }
    MainEndOfRun();
    FreeMainForms();
    UnitsDone();
    return 0;
}

bool MainStartup() {
    SetLastError(ERROR_SUCCESS);
    const HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TGlobalCustoms), GlobalCustomsName);
    // Only the tray program makes the block: a new one means it is not running.
    if (mapping == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        if (mapping != nullptr) {
            CloseHandle(mapping);
        }
        return false;
    }
    auto* block = static_cast<TGlobalCustoms*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    // Started by the tray program, which asked for it: any other state is a second copy or a
    // start nobody expects.
    if (block == nullptr || block->RunState != rsLaunchRequested) {
        if (block != nullptr) {
            UnmapViewOfFile(block);
        }
        CloseHandle(mapping);
        return false;
    }
    blockMapping = mapping;
    SetSharedCustoms(block);
    block->RunState = rsRunning;
    block->ScanSuppressed = 0;
    TKitWindowParams params;
    params.ClassName = MainMesgClassName;
    params.X = params.Y = params.Width = params.Height = 0;
    mesgWindow = KitCreateWindow(params, std::make_unique<TMainMesgState>());
    block->MainMesgWindow = HandleToLong(mesgWindow);
    return true;
}

void CreateMainForms() {
    CreateForm(mainForm);
    CreateForm(dictForm);
    CreateForm(settingsForm);
    CreateForm(helpForm);
    CreateForm(aboutForm);
    Guarded([] { CreateGeneratorForms(); });
}

void FreeMainForms() {
    FreeGeneratorForms();
    aboutForm.reset();
    helpForm.reset();
    settingsForm.reset();
    dictForm.reset();
    mainForm.reset();
}

void MainMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        // The main menu's shortcut belongs to the main window.
        if (Form1 != nullptr && root == Form1->Handle() &&
            TranslateAcceleratorW(root, Form1->Accelerators(), &message)) {
            continue;
        }
        // Tab and the arrows move the focus inside a form as in a dialog.
        if (IsFormWindow(root) && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void MainEndOfRun() {
    TGlobalCustoms* block = SharedCustoms();
    if (mesgWindow != nullptr) {
        DestroyWindow(mesgWindow);
        mesgWindow = nullptr;
    }
    if (block == nullptr) {
        return;
    }
    // The handle goes first: a copy started once the state is 1 puts its own handle there.
    block->MainMesgWindow = 0;
    std::atomic_thread_fence(std::memory_order_release); // in this order for the other process too
    block->RunState = rsNotRunning;
    block->ScanSuppressed = 0;
}

void EndMainProcess() {
    UnitsDone();
    ExitProcess(0);
}

void MainMesgInit() {
    TKitClass windowClass;
    windowClass.Name = MainMesgClassName;
    try {
        KitRegister<TMainMesgState, MainMesgWndProc>(windowClass);
    } catch (...) {
        // Not detected by the program: without the window the tray program cannot reach it.
    }
}

void MainMesgDone() {
    KitUnregisterClass(MainMesgClassName);
}

HWND MainMesgWindow() {
    return mesgWindow;
}

LRESULT MainMesgWndProc(TMainMesgState&, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = KitDefault(window, message, wParam, lParam);
    switch (message) {
    case WM_MAIN_QUIT:
        PostQuitMessage(0);
        break;
    case WM_MAIN_RESYNC:
        if (Form1 != nullptr) {
            Form1->ResyncFromShared();
        }
        break;
    case WM_MAIN_SHOW:
        ShowMainWindow();
        break;
    case WM_MAIN_EXIT_KEY:
        OnExitKey();
        break;
    case WM_ENDSESSION:
        OnEndSession(wParam);
        break;
    default:
        break;
    }
    return result;
}
