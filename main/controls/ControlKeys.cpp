#include "main/controls/ControlKeys.h"

#include <windows.h>

namespace {

struct TKeyMapping {
    unsigned VirtualKey;
    TKeyCode Code;
};

// Every virtual key that does not stand for its own character.
constexpr TKeyMapping SpecialKeys[] = {
    {VK_ESCAPE, keyEscape},    {VK_TAB, keyTab},           {VK_BACK, keyBackspace}, {VK_RETURN, keyReturn},
    {VK_INSERT, keyInsert},    {VK_DELETE, keyDelete},     {VK_PAUSE, keyPause},    {VK_SNAPSHOT, keyPrint},
    {VK_HOME, keyHome},        {VK_END, keyEnd},           {VK_LEFT, keyLeft},      {VK_UP, keyUp},
    {VK_RIGHT, keyRight},      {VK_DOWN, keyDown},         {VK_PRIOR, keyPageUp},   {VK_NEXT, keyPageDown},
    {VK_SHIFT, keyShift},      {VK_LSHIFT, keyShift},      {VK_RSHIFT, keyShift},   {VK_CONTROL, keyControl},
    {VK_LCONTROL, keyControl}, {VK_RCONTROL, keyControl},  {VK_LWIN, keyMeta},      {VK_RWIN, keyMeta},
    {VK_MENU, keyAlt},         {VK_LMENU, keyAlt},         {VK_RMENU, keyAlt},      {VK_CAPITAL, keyCapsLock},
    {VK_NUMLOCK, keyNumLock},  {VK_SCROLL, keyScrollLock}, {VK_APPS, keyMenu},      {VK_HELP, keyHelp},
    {VK_SPACE, L' '},          {VK_MULTIPLY, L'*'},        {VK_ADD, L'+'},          {VK_SUBTRACT, L'-'},
    {VK_DECIMAL, L'.'},        {VK_DIVIDE, L'/'},
};

} // namespace

TKeyCode KeyCodeFromVirtualKey(unsigned virtualKey, bool extended, bool shifted) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
        return static_cast<TKeyCode>(virtualKey);
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return static_cast<TKeyCode>(L'0' + (virtualKey - VK_NUMPAD0));
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24) {
        return static_cast<TKeyCode>(keyF1 + (virtualKey - VK_F1));
    }
    if (virtualKey == VK_RETURN && extended) {
        return keyEnter;
    }
    if (virtualKey == VK_TAB && shifted) {
        return keyBacktab;
    }
    for (const TKeyMapping& mapping : SpecialKeys) {
        if (mapping.VirtualKey == virtualKey) {
            return mapping.Code;
        }
    }
    // Punctuation keys: the character of the current layout, upper-cased like the letters.
    const UINT character = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR) & 0x7FFF;
    if (character == 0) {
        return 0;
    }
    wchar_t unit = static_cast<wchar_t>(character);
    CharUpperBuffW(&unit, 1);
    return static_cast<TKeyCode>(unit);
}

TShiftState CurrentShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) {
        shift |= ssShift;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= ssAlt;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        shift |= ssCtrl;
    }
    return shift;
}
