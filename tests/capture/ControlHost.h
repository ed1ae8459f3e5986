#pragma once
// The capture tests' window of standard text controls, shown by capture_host in a process of its
// own as the programs the capture reads from are: what it holds and how to ask it.

#include <windows.h>

inline constexpr wchar_t ControlHostClass[] = L"QvCaptureControlHost";
inline constexpr int ControlHostLeft = 100;
inline constexpr int ControlHostTop = 100;
inline constexpr int ControlHostWidth = 900;
inline constexpr int ControlHostHeight = 620;

enum TControlId : int {
    IdEdit = 101, // single-line
    IdMultiEdit,  // multi-line, wrapping
    IdRichEdit,   // RICHEDIT50W
    IdStatic,     // SS_LEFT, '&' marks a mnemonic
    IdList,       // plain list box
    IdLabel,      // SS_LEFT in the GUI font
    IdLabelCentre,
    IdLabelRight,
};

// wParam: MAKEWPARAM(control id, list item); lParam: a character's index in the control's text.
// Result: the middle of that character in screen coordinates, MAKELRESULT(x, y), or -1.
inline constexpr UINT WM_HOST_CHAR_POINT = WM_APP + 1;
