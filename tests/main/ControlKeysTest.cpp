#include "main/controls/ControlKeys.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(ControlKeys, VirtualKeysBecomeTheControlsKeyCodes) {
    struct TCase {
        UINT VirtualKey;
        bool Extended;
        bool Shifted;
        TKeyCode Code;
    };
    const TCase cases[] = {
        {'C', false, false, 0x43},           {'7', false, false, 0x37},
        {VK_NUMPAD5, false, false, L'5'},    {VK_RETURN, false, false, keyReturn},
        {VK_RETURN, true, false, keyEnter},  {VK_TAB, false, false, keyTab},
        {VK_TAB, false, true, keyBacktab},   {VK_F12, false, false, 0x103B},
        {VK_DELETE, true, false, keyDelete}, {VK_SPACE, false, false, L' '},
        {VK_PRIOR, true, false, keyPageUp},  {VK_CONTROL, false, false, keyControl},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(KeyCodeFromVirtualKey(c.VirtualKey, c.Extended, c.Shifted), c.Code) << "virtual key " << c.VirtualKey;
    }
}

TEST(ControlKeys, ShiftStateFollowsTheThreadsKeyboardState) {
    BYTE state[256] = {};
    state[VK_CONTROL] = 0x80;
    state[VK_SHIFT] = 0x80;
    SetKeyboardState(state);
    EXPECT_EQ(CurrentShiftState(), ssCtrl | ssShift);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    EXPECT_EQ(CurrentShiftState(), 0);
}
