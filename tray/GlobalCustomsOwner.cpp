#include "tray/GlobalCustomsOwner.h"

#include <windows.h>

#include "core/Dictionary.h"
#include "core/Exceptions.h"
#include "core/SysUtils_Qel.h"
#include "core/UFileStream.h"
#include "core/win32/OwnedHandle.h"
#include "core/win32/SystemText.h"

const wchar_t* const SettingsFileName = L"ksv.dat";

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

void ApplyDefaults(TGlobalCustoms& block) {
    const TGlobalCustoms defaults = DefaultCustoms();
    block.UILanguage = defaults.UILanguage;
    block.ScanEnabled = defaults.ScanEnabled;
    block.ScanWithShift = defaults.ScanWithShift;
    block.SourceLang = defaults.SourceLang;
    block.TargetLang = defaults.TargetLang;
    block.CardMono = defaults.CardMono;
    block.CardMaxLines = defaults.CardMaxLines;
    block.PopupMaxLines = defaults.PopupMaxLines;
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
    TOwnedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) {
        RaiseBlockError(L"Cannot map the shared block");
    }
    auto* block = static_cast<TGlobalCustoms*>(view.Get());
    *block = TGlobalCustoms{};
    blockMapping = std::move(mapping);
    blockView = std::move(view);
    SetSharedCustoms(block);
}

void InitCustoms() {
    Block().RunState = rsNotRunning;
    if (!LoadCustoms()) {
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
    TGlobalCustoms& block = Block();
    block.UILanguage = record.UILanguage;
    block.ScanEnabled = Flag(record.ScanEnabled);
    block.ScanWithShift = Flag(record.ScanWithShift);
    block.SourceLang = record.SourceLang;
    block.TargetLang = record.TargetLang;
    block.CardMono = Flag(record.CardMono);
    block.CardMaxLines = record.CardMaxLines;
    block.PopupMaxLines = record.PopupMaxLines;
    return true;
}

void SaveCustoms() {
    const TGlobalCustoms& block = Block();
    TSettingsRecord record{};
    record.UILanguage = block.UILanguage;
    record.ScanEnabled = block.ScanEnabled;
    record.ScanWithShift = block.ScanWithShift;
    record.SourceLang = block.SourceLang;
    record.TargetLang = block.TargetLang;
    record.CardMono = block.CardMono;
    record.CardMaxLines = block.CardMaxLines;
    record.PopupMaxLines = block.PopupMaxLines;
    TUFileStream file(SettingsFileName, fmCreate);
    file.WriteBuffer(&record, sizeof record);
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
