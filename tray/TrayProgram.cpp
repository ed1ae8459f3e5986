#include "tray/TrayProgram.h"

#include "core/GlobalCustoms.h"
#include "core/TableTailes.h"
#include "core/Translator.h"
#include "core/UILanguage.h"
#include "core/Units.h"
#include "display/CardWindow.h"
#include "display/PlovaFonts.h"
#include "display/win32/ErrorReport.h"
#include "tray/DictionarySharing.h"
#include "tray/GlobalCustomsOwner.h"
#include "tray/TextOutSpy.h"
#include "tray/TrayWindow.h"

const wchar_t* const NoDictionariesText = L"Не найдены файлы словарей";
const wchar_t* const NoDictionariesCaption = L"ТИРЕЛ: Ошибка загрузки";
const wchar_t* const NoMainProgramText = L"Файл Pemdrove.exe не найден";
const wchar_t* const NoMainProgramCaption = L"Ошибка загрузки";

namespace {

// The shell's answer when the main program's file is not there (SE_ERR_FNF).
constexpr int32_t kMainProgramNotFound = 2;

HWND trayWindow = nullptr;
bool exiting = false;

void ShowOkBox(const wchar_t* text, const wchar_t* caption) {
    MessageBoxW(nullptr, text, caption, MB_OK);
}

void EndProcess(UINT exitCode) {
    ExitProcess(exitCode);
}

TTrayMessageBox showMessage = ShowOkBox;
TTrayProcessEnd processEnd = EndProcess;

// Every end of the tray program: the units finish, then the process ends.
void EndTrayProcess(UINT exitCode) {
    UnitsDone();
    processEnd(exitCode);
}

void StartUnits() {
    UnitsInit({
        {GlobalCustomsInit, GlobalCustomsDone},
        {[] { OpeningFiles([] { TableTailesInit(); }); }, TableTailesDone},
        {PlovaFontsInit, PlovaFontsDone},
        {CardWindowInit, CardWindowDone},
        {TrayWindowInit, nullptr},
    });
}

// How long a copy started just after an exit waits for the ending copy to let the mutex go.
constexpr DWORD kSingleInstanceWaitMs = 2000;

// Holds the named mutex for the life of the process; false when another copy holds it beyond the
// wait, or for any other error the system reports with it.
bool TakeSingleInstance() {
    SetLastError(ERROR_SUCCESS);
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, TrayMutexName);
    const DWORD error = GetLastError();
    if (mutex != nullptr && error == ERROR_SUCCESS) {
        return true;
    }
    if (mutex != nullptr && error == ERROR_ALREADY_EXISTS) {
        // The copy that holds it may be ending: the system abandons the mutex with its process.
        const DWORD waited = WaitForSingleObject(mutex, kSingleInstanceWaitMs);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            return true;
        }
    }
    if (mutex != nullptr) {
        CloseHandle(mutex);
    }
    return false;
}

void StartMainProgram() {
    TGlobalCustoms& block = *SharedCustoms();
    if (MainProgramRunning(block)) {
        return; // it outlived the tray program before this one and goes on as it was
    }
    if (RunMainProgram(block) != kMainProgramNotFound) {
        return; // other failures leave the run state at 2, unreported
    }
    // Ends through the exit, which keeps scanning off in ksv.dat for the next start.
    block.ScanEnabled = 0;
    showMessage(NoMainProgramText, NoMainProgramCaption);
    SendMessageW(trayWindow, WM_DESTROY, 0, 0);
}

} // namespace

int TrayMain() {
    try {
        StartUnits();
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
    if (!TakeSingleInstance()) {
        EndTrayProcess(0);
        return 0;
    }
    try {
        OpeningFiles([] { CreateParadigmTable(); });
        if (!TrayStartup()) {
            EndTrayProcess(1);
            return 1;
        }
        StartMainProgram();
        TrayMessageLoop();
        FreeParadigmTable();
    } catch (...) {
        ReportCurrentException();
        EndTrayProcess(1);
        return 1;
    }
    EndTrayProcess(0);
    return 0;
}

bool TrayStartup() {
    CreateGlobalCustoms();
    if (LoadAllDictionaries() == 0) {
        showMessage(NoDictionariesText, NoDictionariesCaption);
        ReleaseGlobalCustoms();
        return false;
    }
    InitCustoms();
    trayWindow = CreateTrayWindow();
    SharedCustoms()->TrayWindow = HandleToLong(trayWindow);
    if (void* hookBlock = StartTextCapture()) {
        // The capture reports to the window named in its block's first field.
        static_cast<TTextOutSpyBlock*>(hookBlock)->TargetWindow = TextOutSpyWindowField(trayWindow);
    }
    ResetCaptureState();
    return true;
}

void TrayMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.hwnd != nullptr) {
            wchar_t character = 0;
            TranslateKeyToChar(static_cast<UINT>(message.wParam), (message.lParam >> 16) & 0xFF, character);
            SendMessageW(message.hwnd, WM_CHAR, character, message.lParam);
        }
        DispatchMessageW(&message);
    }
}

bool TranslateKeyToChar(UINT key, UINT scanCode, wchar_t& character) {
    character = 0;
    BYTE state[256];
    if (!GetKeyboardState(state)) {
        return false;
    }
    wchar_t buffer[8] = {};
    // A dead key (-1) gives its accent; no character (0) leaves the character 0.
    if (ToUnicode(key, scanCode, state, buffer, 8, 0) != 0) {
        character = buffer[0];
    }
    return true;
}

void TrayExit() {
    if (exiting) {
        return; // an end that arrived while the exit waits for the main program
    }
    exiting = true;
    if (const TGlobalCustoms* block = SharedCustoms(); block != nullptr && block->RunState == rsRunning) {
        SendMessageW(static_cast<HWND>(LongToHandle(block->MainMesgWindow)), WM_MAIN_QUIT, 0, 0);
    }
    RemoveTrayIcon(trayWindow);
    UnregisterHotKey(trayWindow, kTrayHotKey);
    if (SharedCustoms() != nullptr) {
        // A failed write is reported; the program still ends.
        Guarded([] { SaveCustoms(); });
        ReleaseGlobalCustoms();
    }
    EndTrayProcess(0);
    exiting = false; // reached only when a test's process end returns
}

HWND TrayWindowHandle() {
    return trayWindow;
}

TTrayMessageBox SetTrayMessageBox(TTrayMessageBox show) {
    const TTrayMessageBox previous = showMessage;
    showMessage = show != nullptr ? show : ShowOkBox;
    return previous;
}

TTrayProcessEnd SetTrayProcessEnd(TTrayProcessEnd end) {
    const TTrayProcessEnd previous = processEnd;
    processEnd = end != nullptr ? end : EndProcess;
    return previous;
}
