// Tirel, the tray program.

#include <windows.h>

#include "tray/TrayProgram.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return TrayMain();
}
