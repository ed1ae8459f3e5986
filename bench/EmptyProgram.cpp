// The start of a program that does nothing, for the tray benchmark's measure of Wine's own
// process start: it makes a named block ready and waits to be told to end.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "QvBenchEmptyQuit");
    const HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 72, "QvBenchEmptyReady");
    auto* ready = static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ready[2] = 1;
    WaitForSingleObject(quit, 10000);
    return 0;
}
