// Pemdrove, the main program; the tray program starts it.

#include <windows.h>

#include "main/MainProgramBody.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return MainProgramBody();
}
