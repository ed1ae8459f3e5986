#pragma once
// The GDI and USER objects a process holds, for checks that repeated work leaves none behind.
// GetGuiResources answers where the system has it; Wine has it only as a stub that answers 0, so
// there the GDI objects are counted in the process's own GDI handle table (the table the
// process's block names, as on Windows) and the USER objects as the windows the process owns.

#include <windows.h>

struct TGuiObjects {
    long Gdi = -1;
    long User = -1;
};

// -1 in a field that could not be counted.
TGuiObjects CountGuiObjects(DWORD processId);
