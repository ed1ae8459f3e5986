#include "tray/TrayProgram.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

struct TSeen {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};
std::vector<TSeen> seen;

LRESULT CALLBACK KeyLogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        seen.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND KeyLogWindow() {
    static const bool registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = KeyLogProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QvTrayTestKeyLog";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, L"QvTrayTestKeyLog", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// The keyboard state of this thread with Shift down or up.
void SetShift(bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    state[VK_CONTROL] = 0;
    state[VK_CAPITAL] = 0;
    SetKeyboardState(state);
}

LPARAM KeyLParam(UINT key) {
    return static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16) | 1;
}

} // namespace

TEST(TrayProgram, KeysBecomeTheirCharactersInTheKeyboardState) {
    const struct {
        UINT Key;
        bool Shift;
        wchar_t Character;
    } cases[] = {
        {'A', false, L'a'},      {'A', true, L'A'},         {'1', false, L'1'},  {'1', true, L'!'},
        {VK_SPACE, false, L' '}, {VK_RETURN, false, L'\r'}, {VK_LEFT, false, 0}, {VK_F12, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Key << (c.Shift ? " with Shift" : ""));
        SetShift(c.Shift);
        wchar_t character = L'?';
        EXPECT_TRUE(TranslateKeyToChar(c.Key, MapVirtualKeyW(c.Key, MAPVK_VK_TO_VSC), character));
        EXPECT_EQ(character, c.Character);
    }
    SetShift(false);
}

TEST(TrayProgram, MessageLoopSendsEachKeysCharacterBeforeTheKey) {
    SetShift(false);
    const HWND window = KeyLogWindow();
    ASSERT_NE(window, nullptr);
    seen.clear();
    PostMessageW(window, WM_KEYDOWN, 'B', KeyLParam('B'));
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, KeyLParam(VK_LEFT));
    PostQuitMessage(0);
    TrayMessageLoop();
    DestroyWindow(window);

    ASSERT_EQ(seen.size(), 4u);
    const TSeen want[] = {{WM_CHAR, L'b', KeyLParam('B')},
                          {WM_KEYDOWN, 'B', KeyLParam('B')},
                          {WM_CHAR, 0, KeyLParam(VK_LEFT)},
                          {WM_KEYDOWN, VK_LEFT, KeyLParam(VK_LEFT)}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(seen[i].Message, want[i].Message) << i;
        EXPECT_EQ(seen[i].WParam, want[i].WParam) << i;
        EXPECT_EQ(seen[i].LParam, want[i].LParam) << i;
    }
}
