#include "tray/GlobalCustomsOwner.h"

#include <windows.h>

#include <cstring>

#include "core/Dictionary.h"
#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/UFileStream.h"
#include "core/win32/OwnedHandle.h"
#include "core/win32/SystemText.h"

const wchar_t* const SettingsFileName = L"ksv.dat";
const wchar_t* const SettingsTempFileName = L"ksv.dat.new";

namespace {

TOwnedMapping blockMapping;
TOwnedView blockView;

// A byte that means on or off is kept as 0 or 1, so that switching it over always works.
uint8_t Flag(uint8_t value) {
    return value != 0 ? 1 : 0;
}

bool IsValidRecord(const TSettingsRecord& record) {
    return IsLanguage(record.UILanguage) && IsLanguage(record.SourceLang) && IsLanguage(record.TargetLang) &&
           record.CardMaxLines >= 1 && record.PopupMaxLines >= 1;
}

TSettingsRecord RecordOf(const TGlobalCustoms& block) {
    TSettingsRecord record{};
    record.UILanguage = block.UILanguage;
    record.ScanEnabled = block.ScanEnabled;
    record.ScanWithShift = block.ScanWithShift;
    record.SourceLang = block.SourceLang;
    record.TargetLang = block.TargetLang;
    record.CardMono = block.CardMono;
    record.CardMaxLines = block.CardMaxLines;
    record.PopupMaxLines = block.PopupMaxLines;
    return record;
}

void ApplyRecord(const TSettingsRecord& record, TGlobalCustoms& block) {
    block.UILanguage = record.UILanguage;
    block.ScanEnabled = Flag(record.ScanEnabled);
    block.ScanWithShift = Flag(record.ScanWithShift);
    block.SourceLang = record.SourceLang;
    block.TargetLang = record.TargetLang;
    block.CardMono = Flag(record.CardMono);
    block.CardMaxLines = record.CardMaxLines;
    block.PopupMaxLines = record.PopupMaxLines;
}

// The settings a main program left running shows are the latest: kept when they are valid.
bool KeepRunningMainSettings(TGlobalCustoms& block) {
    const TSettingsRecord record = RecordOf(block);
    if (!IsValidRecord(record)) {
        return false;
    }
    ApplyRecord(record, block);
    return true;
}

// Field by field: the main program may read the block meanwhile.
void TakeOverFromRunningMain(TGlobalCustoms& block) {
    block.TrayWindow = 0;
    std::memset(block.SharedDicts, 0, sizeof block.SharedDicts);
}

void ApplyDefaults(TGlobalCustoms& block) {
    ApplyRecord(RecordOf(DefaultCustoms()), block);
}

[[noreturn]] void RaiseBlockError(const wchar_t* what) {
    const DWORD error = GetLastError();
    throw EOSError(error, std::wstring(what) + L" \"GlobalCustomsForQuorva\". " + SystemErrorMessage(error));
}

TGlobalCustoms& Block() {
    return *SharedCustoms();
}

} // namespace

void CreateGlobalCustoms() {
    TOwnedMapping mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TGlobalCustoms),
                                             GlobalCustomsName));
    if (!mapping) {
        RaiseBlockError(L"Cannot create the shared block");
    }
    const bool leftBehind = GetLastError() == ERROR_ALREADY_EXISTS;
    TOwnedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) {
        RaiseBlockError(L"Cannot map the shared block");
    }
    auto* block = static_cast<TGlobalCustoms*>(view.Get());
    // A main program whose tray program was killed holds the block: it goes on running.
    if (leftBehind && MainProgramRunning(*block)) {
        TakeOverFromRunningMain(*block);
    } else {
        *block = TGlobalCustoms{};
    }
    blockMapping = std::move(mapping);
    blockView = std::move(view);
    SetSharedCustoms(block);
}

void InitCustoms() {
    const bool mainRunning = MainProgramRunning(Block());
    if (!mainRunning) {
        Block().RunState = rsNotRunning;
    }
    if (!(mainRunning && KeepRunningMainSettings(Block())) && !LoadCustoms()) {
        ApplyDefaults(Block());
        SaveCustoms();
    }
    FixDirection();
    Block().CurDict = 0;
    Block().CurEntry = 0;
}

bool LoadCustoms() {
    TSettingsRecord record{};
    try {
        TUFileStream file(SettingsFileName, fmOpenRead | fmShareDenyWrite);
        file.ReadBuffer(&record, sizeof record);
    } catch (const Exception&) {
        return false;
    }
    if (!IsValidRecord(record)) {
        return false;
    }
    ApplyRecord(record, Block());
    return true;
}

void SaveCustoms() {
    WriteSettingsTempFile(RecordOf(Block()));
    ReplaceSettingsFile();
}

void WriteSettingsTempFile(const TSettingsRecord& record) {
    try {
        TUFileStream file(SettingsTempFileName, fmCreate);
        file.WriteBuffer(&record, sizeof record);
        // On the disk before it takes ksv.dat's place: a power loss must not leave an empty record.
        if (!FlushFileBuffers(file.Handle())) {
            const DWORD error = GetLastError();
            throw EWriteError(L"Cannot write \"" + std::wstring(SettingsTempFileName) + L"\". " +
                              SystemErrorMessage(error));
        }
    } catch (...) {
        DeleteFileW(SettingsTempFileName); // a full disk leaves no half record behind
        throw;
    }
}

void ReplaceSettingsFile() {
    if (!MoveFileExW(SettingsTempFileName, SettingsFileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        throw EWriteError(L"Cannot replace \"" + std::wstring(SettingsFileName) + L"\". " + SystemErrorMessage(error));
    }
}

void FixDirection() {
    TGlobalCustoms& block = Block();
    if (!IsLanguage(block.SourceLang) || !LangGroups[block.SourceLang].empty()) {
        return;
    }
    const TLanguage source = block.SourceLang == langTatar ? langRussian : langTatar;
    block.SourceLang = source;
    block.TargetLang = source == langTatar ? langRussian : langTatar;
}

void ReleaseGlobalCustoms() {
    SetSharedCustoms(nullptr);
    blockView.Reset();
    blockMapping.Reset();
}
