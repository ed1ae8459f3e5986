#pragma once
// Display scale: the DPI of the monitor a window is on (96 is 100 %), sizes given for 96 DPI
// turned into pixels at another, and the system's interface font at a DPI. Tests set the DPI that
// every window reports, so that one run checks each scale.

#include <windows.h>

constexpr int kDesignDpi = 96;

// The override when one is set; else the window's monitor (the system's DPI where the platform
// cannot tell per monitor).
int WindowDpi(HWND window);
int SystemDpi();
// Every window reports this DPI from now on; 0 gives them the platform's again.
void SetDpiOverride(int dpi);

// A length for 96 DPI at dpi, rounded.
int ScaleToDpi(int value, int dpi);

// The interface font of the system (message boxes, dialogs) with its height for dpi.
LOGFONTW MessageFontForDpi(int dpi);

// The size of a small icon (the tray's) at dpi.
int SmallIconSize(int dpi);
// An icon resource at that size (the image nearest to it, scaled); kept for the run.
HICON LoadSmallIcon(HINSTANCE module, const wchar_t* name, int dpi);

// The rectangle WM_DPICHANGED suggests (lParam) applied to the window.
void MoveToSuggestedRect(HWND window, LPARAM suggested);
