#pragma once
// What the two programs share at run time: the 72-byte settings block (a cross-process format),
// the names of the kernel objects they meet through, the window messages between them, and the
// run state that orders the start and end of the main program.

#include <cstddef>
#include <cstdint>

#include "core/Codes.h"

#pragma pack(push, 1)
struct TGlobalCustoms {
    uint8_t UILanguage;      // 0 Tatar, 1 Russian
    uint8_t ScanEnabled;
    uint8_t ScanSuppressed;
    uint8_t ScanWithShift;
    uint8_t Reserved04;
    uint8_t Padding05[3];
    int32_t TrayWindow;      // window handles in 32-bit slots (HandleToLong / LongToHandle)
    int32_t MainMesgWindow;
    uint8_t SourceLang;
    uint8_t TargetLang;
    uint8_t Padding12[2];
    int32_t CurDict;
    int32_t CurEntry;
    uint8_t RunState;        // see TRunState
    uint8_t SharedDicts[32]; // share numbers 0..255; read as unaligned little-endian words
    uint8_t CardMono;
    uint8_t Padding3E[2];
    int32_t CardMaxLines;
    int32_t PopupMaxLines;
};
#pragma pack(pop)

static_assert(sizeof(TGlobalCustoms) == 72, "TGlobalCustoms is shared between processes");
static_assert(offsetof(TGlobalCustoms, ScanEnabled) == 0x01 && offsetof(TGlobalCustoms, ScanSuppressed) == 0x02 &&
                  offsetof(TGlobalCustoms, ScanWithShift) == 0x03 && offsetof(TGlobalCustoms, Reserved04) == 0x04 &&
                  offsetof(TGlobalCustoms, TrayWindow) == 0x08 && offsetof(TGlobalCustoms, MainMesgWindow) == 0x0C &&
                  offsetof(TGlobalCustoms, SourceLang) == 0x10 && offsetof(TGlobalCustoms, TargetLang) == 0x11 &&
                  offsetof(TGlobalCustoms, CurDict) == 0x14 && offsetof(TGlobalCustoms, CurEntry) == 0x18 &&
                  offsetof(TGlobalCustoms, RunState) == 0x1C && offsetof(TGlobalCustoms, SharedDicts) == 0x1D &&
                  offsetof(TGlobalCustoms, CardMono) == 0x3D && offsetof(TGlobalCustoms, CardMaxLines) == 0x40 &&
                  offsetof(TGlobalCustoms, PopupMaxLines) == 0x44,
              "TGlobalCustoms is shared between processes");

enum TRunState : uint8_t { rsUninitialised = 0, rsNotRunning = 1, rsLaunchRequested = 2, rsRunning = 3 };

// This process's block: the tray program creates it, the main program opens it; nullptr before.
TGlobalCustoms* SharedCustoms();
void SetSharedCustoms(TGlobalCustoms* block);
// For code that only reads the block and also runs without one: the block, or the defaults of a
// first start (Russian interface, scanning on, Tatar to Russian, several cards, 32 lines).
const TGlobalCustoms& SharedCustomsOrDefaults();
TGlobalCustoms DefaultCustoms();

bool SharedDictIsSet(const TGlobalCustoms& block, int number);
void SetSharedDict(TGlobalCustoms& block, int number, bool shared);

extern const char* const GlobalCustomsName;  // "GlobalCustomsForQuorva"
extern const char* const DictObjectPrefix;   // "Quorva_Object_ID_"
extern const char* const TrayMutexName;      // "Quorva_Mutex_Name"
extern const char* const MainProgramFile;    // "Pemdrove.exe"

// Window messages between the programs and their windows.
constexpr unsigned WM_SPY_TEXT = 1324;
constexpr unsigned WM_POPUP_CLOSED = 1525;
constexpr unsigned WM_TRAY_NOTIFY = 1526;
constexpr unsigned WM_MAIN_QUIT = 1528;
constexpr unsigned WM_MAIN_RESYNC = 1529;
constexpr unsigned WM_CARD_SCROLL_TO_ENTRY = 1530;
constexpr unsigned WM_CARD_SCROLL_TO_TAG = 1531;
// To the running main program: bring the main window back (restored, in front), asked by the
// tray icon's click and menu item; and Ctrl+F12, which the tray program's hot key takes.
constexpr unsigned WM_MAIN_SHOW = 1532;
constexpr unsigned WM_MAIN_EXIT_KEY = 1533;

// Run state 3 with a live message window: state 3 alone may be left by a main program that was
// killed.
bool MainProgramRunning(const TGlobalCustoms& block);

// Starts the main program (run state 1) or asks the running one to show the current entry
// (run state 3). Gives the shell's result when it started the file, else 2.
int32_t RunMainProgram(TGlobalCustoms& block);

// Opens the dictionary the tray program shared under this number and appends it to the group
// of its direction. nullptr when nothing is shared under the number or the image is unusable.
void* OpenDictionaryMapping(uint8_t number);

// Mouse cursors of the card and popup windows (HCURSOR), loaded by GlobalCustomsInit.
extern void* HandCursor;
extern void* ArrowCursor;
extern void* IBeamCursor;

void GlobalCustomsInit();
void GlobalCustomsDone();
