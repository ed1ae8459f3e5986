// dict_share_helper FILE NUMBER: shares a dictionary file under its share number the way the
// tray program does, signals "<name>_ready", and holds it until "<name>_quit" is signalled.

#include <windows.h>

#include <string>

#include "core/GlobalCustoms.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::string name = DictObjectPrefix + std::to_string(_wtoi(argv[2]));
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, name.c_str());
    if (mapping == nullptr) {
        return 4;
    }
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (name + "_ready").c_str());
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, (name + "_quit").c_str());
    SetEvent(ready);
    WaitForSingleObject(quit, 30000);
    CloseHandle(mapping);
    CloseHandle(file);
    return 0;
}
