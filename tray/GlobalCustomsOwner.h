#pragma once
// The tray program's side of the shared settings block: it creates the block, fills it from the
// settings file ksv.dat (or with the defaults) and writes the kept settings back at exit. The
// main program only opens the block.

#include <cstdint>

#include "core/GlobalCustoms.h"

extern const wchar_t* const SettingsFileName;     // "ksv.dat", in the working folder
extern const wchar_t* const SettingsTempFileName; // beside it, while a save is under way

#pragma pack(push, 1)
// The one record of ksv.dat, in the file's own field order (not the block's).
struct TSettingsRecord {
    uint8_t UILanguage;
    uint8_t ScanEnabled;
    uint8_t ScanWithShift;
    uint8_t SourceLang;
    uint8_t TargetLang;
    uint8_t CardMono;
    uint8_t Padding[2]; // written 0, never read
    int32_t CardMaxLines;
    int32_t PopupMaxLines;
};
#pragma pack(pop)
static_assert(sizeof(TSettingsRecord) == 16, "ksv.dat is a file format");

// Creates the named block (or opens one left by another process) and makes it this process's
// shared block. A block left by a killed tray program with its main program still running (run
// state 3, a live message window) is taken over: the tray window and the shared-dictionary bits
// are cleared, the rest stays. Any other block is zeroed. Raises EOSError when it cannot be
// created or mapped.
void CreateGlobalCustoms();

// Run state 1; the settings from ksv.dat, or the defaults, which are written to ksv.dat at once;
// the direction fixed against the shared dictionaries; current dictionary and entry 0. A main
// program still running keeps run state 3 and the block's settings when they would pass as a
// record of ksv.dat (flags made 0 or 1).
void InitCustoms();

// True when ksv.dat holds a valid record, whose settings are then in the block (flags as 0 or 1).
// A missing, short or unreadable file, a language outside 0..1 or a line count below 1 gives
// false and leaves the block as it was.
bool LoadCustoms();

// Writes the block's kept settings to ksv.dat, which holds the old record or the new one at every
// moment: WriteSettingsTempFile, then ReplaceSettingsFile. Raises EFCreateError or EWriteError.
void SaveCustoms();
// The record in the temporary file beside ksv.dat, flushed to the disk; on failure the temporary
// file is removed.
void WriteSettingsTempFile(const TSettingsRecord& record);
// The temporary file put in ksv.dat's place in one step.
void ReplaceSettingsFile();

// Makes the source language one that has dictionaries: when its group is empty, the languages
// are swapped.
void FixDirection();

// Unmaps the block; this process has no shared block afterwards.
void ReleaseGlobalCustoms();
