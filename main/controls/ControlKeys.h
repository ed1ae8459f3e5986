#pragma once
// Key codes and shift states of the controls' key events: printable keys carry their character
// code (letters as upper-case codes), special keys lie from 0x1000 to 0x1058. The window
// procedures turn virtual keys into these codes through one table.

#include <cstdint>

using TKeyCode = uint16_t;

constexpr TKeyCode keyEscape = 0x1000;
constexpr TKeyCode keyTab = 0x1001;
constexpr TKeyCode keyBacktab = 0x1002;
constexpr TKeyCode keyBackspace = 0x1003;
constexpr TKeyCode keyReturn = 0x1004;
constexpr TKeyCode keyEnter = 0x1005; // Enter of the keypad
constexpr TKeyCode keyInsert = 0x1006;
constexpr TKeyCode keyDelete = 0x1007;
constexpr TKeyCode keyPause = 0x1008;
constexpr TKeyCode keyPrint = 0x1009;
constexpr TKeyCode keyHome = 0x1010;
constexpr TKeyCode keyEnd = 0x1011;
constexpr TKeyCode keyLeft = 0x1012;
constexpr TKeyCode keyUp = 0x1013;
constexpr TKeyCode keyRight = 0x1014;
constexpr TKeyCode keyDown = 0x1015;
constexpr TKeyCode keyPageUp = 0x1016;
constexpr TKeyCode keyPageDown = 0x1017;
constexpr TKeyCode keyShift = 0x1020;
constexpr TKeyCode keyControl = 0x1021;
constexpr TKeyCode keyMeta = 0x1022;
constexpr TKeyCode keyAlt = 0x1023;
constexpr TKeyCode keyCapsLock = 0x1024;
constexpr TKeyCode keyNumLock = 0x1025;
constexpr TKeyCode keyScrollLock = 0x1026;
constexpr TKeyCode keyF1 = 0x1030; // F1 .. F35 follow in order
constexpr TKeyCode keyMenu = 0x1055;
constexpr TKeyCode keyHelp = 0x1058;
constexpr TKeyCode keySpecialFirst = 0x1000;
constexpr TKeyCode keySpecialLast = 0x1058;

// The set of held modifiers and mouse buttons.
using TShiftState = uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;
constexpr TShiftState ssModifiers = ssShift | ssAlt | ssCtrl;

// The key code of a virtual key; extended tells the keypad's Enter from Return, shifted turns Tab
// into Backtab. 0 for a key without a code.
TKeyCode KeyCodeFromVirtualKey(unsigned virtualKey, bool extended, bool shifted);

// Shift, Alt and Ctrl as the calling thread's keyboard state holds them now.
TShiftState CurrentShiftState();
