#include "tests/e2e/SystemSession.h"

#include "core/Dictionary.h"
#include "main/Forms.h"
#include "tests/support/BuiltData.h"

namespace {

const wchar_t* const kMainFiles[] = {L"Pemdrove.exe", L"tirel_ht.htm", L"tirel_hr.htm", L"tirel_abt.dat",
                                     L"tirel_abr.dat"};

} // namespace

TSystemFolder::TSystemFolder() {
    for (const wchar_t* name : kMainFiles) {
        AddBuiltFile(name);
    }
    AddSampleDictionaries();
}

TSystemRun::TSystemRun(const TSystemFolder& folder) : folder_(folder) {}

TSystemRun::~TSystemRun() {
    // A failed test leaves neither program behind to disturb the next.
    if (MainRunning()) {
        TerminateProcess(mainProcess_, 99);
        WaitForSingleObject(mainProcess_, 10000);
    }
    ForgetMain();
    tirel_.reset();
    block_.Close();
}

bool TSystemRun::Start() {
    tirel_ = std::make_unique<TTirelProcess>(folder_);
    if (!tirel_->Started()) {
        why_ = "Tirel did not start: error " + std::to_string(GetLastError());
        return false;
    }
    return WaitForMain();
}

bool TSystemRun::WaitForMain() {
    ForgetMain();
    DWORD processId = 0;
    const ULONGLONG start = GetTickCount64();
    const bool up = WaitUntil([&] {
        if (!block_.Open() || block_->TrayWindow == 0 || block_->RunState != rsRunning ||
            !IsWindow(block_.MainWindow())) {
            why_ = !block_.Open() ? "no shared block"
                   : block_->TrayWindow == 0 ? "no tray window in the block"
                   : block_->RunState != rsRunning ? "run state " + std::to_string(block_->RunState)
                                                   : "no main message window";
            return tirel_ && !tirel_->Running(); // no point waiting for a tray program that ended
        }
        GetWindowThreadProcessId(block_.MainWindow(), &processId);
        main_ = FindProcessWindow(processId, TForm::ClassName, L"ТИРЕЛ");
        why_ = main_ == nullptr ? "no main window" : "the main window is hidden";
        return main_ != nullptr && IsWindowVisible(main_);
    });
    if (up && main_ != nullptr) {
        mainProcess_ =
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        why_ = mainProcess_ == nullptr ? "the main process is gone: error " + std::to_string(GetLastError()) : "";
    }
    if (tirel_ && !tirel_->Running()) {
        why_ += "; Tirel ended with " + std::to_string(tirel_->ExitCode());
    }
    why_ += " after " + std::to_string(GetTickCount64() - start) + " ms";
    return up && mainProcess_ != nullptr;
}

bool TSystemRun::MainRunning() const {
    return mainProcess_ != nullptr && WaitForSingleObject(mainProcess_, 0) == WAIT_TIMEOUT;
}

bool TSystemRun::WaitForMainExit(DWORD limitMs) const {
    return mainProcess_ != nullptr && WaitForSingleObject(mainProcess_, limitMs) == WAIT_OBJECT_0;
}

void TSystemRun::KillMain() {
    TerminateProcess(mainProcess_, 99);
    WaitForSingleObject(mainProcess_, 10000);
}

void TSystemRun::ForgetMain() {
    if (mainProcess_ != nullptr) {
        CloseHandle(mainProcess_);
        mainProcess_ = nullptr;
    }
    main_ = nullptr;
}

int32_t SampleEntry(const std::wstring& headword, const char* file) {
    std::vector<unsigned char> image = ReadBuiltFile(file);
    const TDictHandle dict = MakeDictHandle(image.data());
    return DictFindWord(headword.c_str(), headword.size(), dict);
}
