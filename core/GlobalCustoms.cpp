#include "core/GlobalCustoms.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "core/Dictionary.h"


const char* const GlobalCustomsName = "GlobalCustomsForQuorva";
const char* const DictObjectPrefix = "Quorva_Object_ID_";
const char* const TrayMutexName = "Quorva_Mutex_Name";
const char* const MainProgramFile = "Pemdrove.exe";

void* HandCursor = nullptr;
void* ArrowCursor = nullptr;
void* IBeamCursor = nullptr;

namespace {

TGlobalCustoms* sharedCustoms = nullptr;

constexpr size_t kSharedDictsOffset = offsetof(TGlobalCustoms, SharedDicts);

uint32_t SharedWord(const TGlobalCustoms& block, int word) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&block) + kSharedDictsOffset + 4 * word;
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void SetSharedWord(TGlobalCustoms& block, int word, uint32_t value) {
    auto* bytes = reinterpret_cast<unsigned char*>(&block) + kSharedDictsOffset + 4 * word;
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// The size of a mapped view: the main program has no file to ask.
size_t ViewSize(const void* view) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(view, &info, sizeof info) == 0) {
        return 0;
    }
    return info.RegionSize - (static_cast<const char*>(view) - static_cast<const char*>(info.BaseAddress));
}

} // namespace

TGlobalCustoms* SharedCustoms() {
    return sharedCustoms;
}

void SetSharedCustoms(TGlobalCustoms* block) {
    sharedCustoms = block;
}

TGlobalCustoms DefaultCustoms() {
    TGlobalCustoms block{};
    block.UILanguage = langRussian;
    block.ScanEnabled = 1;
    block.SourceLang = langTatar;
    block.TargetLang = langRussian;
    block.RunState = rsNotRunning;
    block.CardMaxLines = 32;
    block.PopupMaxLines = 32;
    return block;
}

const TGlobalCustoms& SharedCustomsOrDefaults() {
    static const TGlobalCustoms defaults = DefaultCustoms();
    return sharedCustoms != nullptr ? *sharedCustoms : defaults;
}

bool SharedDictIsSet(const TGlobalCustoms& block, int number) {
    if (number < 0 || number > 255) {
        return false;
    }
    return (SharedWord(block, number / 32) >> (number % 32)) & 1;
}

void SetSharedDict(TGlobalCustoms& block, int number, bool shared) {
    if (number < 0 || number > 255) {
        return;
    }
    const uint32_t bit = uint32_t(1) << (number % 32);
    const uint32_t word = SharedWord(block, number / 32);
    SetSharedWord(block, number / 32, shared ? word | bit : word & ~bit);
}

bool MainProgramRunning(const TGlobalCustoms& block) {
    // A main program ended without its clean exit leaves state 3 behind with its window gone:
    // that is a program no longer running, to be started again.
    return block.RunState == rsRunning && IsWindow(static_cast<HWND>(LongToHandle(block.MainMesgWindow)));
}

int32_t RunMainProgram(TGlobalCustoms& customs) {
    TGlobalCustoms* block = &customs;
    int32_t result = 2;
    if (block->RunState == rsRunning && !MainProgramRunning(*block)) {
        block->RunState = rsNotRunning;
    }
    if (block->RunState == rsNotRunning) {
        block->RunState = rsLaunchRequested;
        const HINSTANCE started = ShellExecuteA(static_cast<HWND>(LongToHandle(block->TrayWindow)), nullptr,
                                                MainProgramFile, nullptr, nullptr, SW_SHOWNORMAL);
        result = static_cast<int32_t>(reinterpret_cast<INT_PTR>(started));
    }
    if (block->RunState == rsRunning) {
        SendMessageA(static_cast<HWND>(LongToHandle(block->MainMesgWindow)), WM_MAIN_RESYNC, 0, 0);
    }
    return result;
}

void* OpenDictionaryMapping(uint8_t number) {
    const std::string name = DictObjectPrefix + std::to_string(number);
    // Opened, never created: an unshared number leaves nothing behind. Read-only, so that the
    // image checked here is the image searched: nothing in this process can write it.
    TOwnedMapping mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    if (!mapping) {
        return nullptr;
    }
    TOwnedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    // The image comes from another process and a file on disk: check it before any search.
    if (!view || CheckDictImage(view.Get(), ViewSize(view.Get())) != TDictCheck::dcOk) {
        return nullptr;
    }
    try {
        TDictHandle dict = MakeDictHandle(view.Get());
        dict.MapHandle = std::move(mapping);
        dict.MappedView = std::move(view);
        TLangGroup& group = LangGroups[DictImageDirection(dict.View)];
        group.push_back(std::move(dict));
        return group.back().View;
    } catch (...) {
        return nullptr;
    }
}

void GlobalCustomsInit() {
    HandCursor = LoadCursorW(nullptr, IDC_HAND);
    ArrowCursor = LoadCursorW(nullptr, IDC_ARROW);
    IBeamCursor = LoadCursorW(nullptr, IDC_IBEAM);
}

void GlobalCustomsDone() {
    for (TLangGroup& group : LangGroups) {
        group.clear();
    }
}
