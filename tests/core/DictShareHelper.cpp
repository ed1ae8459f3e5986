// dict_share_helper FILE NUMBER [raw]: shares a dictionary file under the share number as the
// tray program does, with its own sharing unit; with "raw", maps the file unchecked, as a hostile
// or broken sharer would. Signals "<name>_ready" and holds the file until "<name>_quit".

#include <windows.h>

#include <string>

#include "core/GlobalCustoms.h"
#include "core/win32/OwnedHandle.h"
#include "tray/DictionarySharing.h"

namespace {

// The tray's sharing takes the lowest free number: the ones below are marked taken first.
bool ShareAsTheTrayDoes(const std::wstring& path, int number, TGlobalCustoms& block) {
    for (int taken = 0; taken < number; ++taken) {
        SetSharedDict(block, taken, true);
    }
    SetSharedCustoms(&block);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && !SetCurrentDirectoryW(path.substr(0, slash).c_str())) {
        return false;
    }
    return ShareDictionaryFile(path.substr(slash + 1)) == TShareResult::srShared;
}

bool ShareRaw(const std::wstring& path, const std::string& name, TOwnedFile& file, TOwnedMapping& mapping) {
    file = OwnFile(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return false;
    }
    mapping.Reset(CreateFileMappingA(file.Get(), nullptr, PAGE_READWRITE, 0, 0, name.c_str()));
    return static_cast<bool>(mapping);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    const int number = _wtoi(argv[2]);
    const bool raw = argc > 3 && std::wstring(argv[3]) == L"raw";
    const std::string name = DictObjectPrefix + std::to_string(number);
    TGlobalCustoms block{};
    TOwnedFile file;
    TOwnedMapping mapping;
    if (raw ? !ShareRaw(argv[1], name, file, mapping) : !ShareAsTheTrayDoes(argv[1], number, block)) {
        return 3;
    }
    TOwnedEvent ready(CreateEventA(nullptr, TRUE, FALSE, (name + "_ready").c_str()));
    TOwnedEvent quit(CreateEventA(nullptr, TRUE, FALSE, (name + "_quit").c_str()));
    SetEvent(ready.Get());
    WaitForSingleObject(quit.Get(), 30000);
    return 0;
}
