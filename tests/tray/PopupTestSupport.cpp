#include "tests/tray/PopupTestSupport.h"

#include <cstring>

#include "core/Dictionary.h"
#include "display/CardWindow.h"
#include "display/win32/ViewWindow.h"
#include "tray/PopupWindow.h"
#include "tray/TextOutSpy.h"

namespace {

const wchar_t kStandInClass[] = L"PopupTestTrayStandIn";

// The tray window's handling of the capture's two messages, without the rest of the program.
LRESULT CALLBACK TrayStandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SPY_TEXT) {
        HandleSpyText(window);
        return 0;
    }
    if (message == WM_POPUP_CLOSED) {
        HandlePopupClosed(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class TPopupClass : public ::testing::Environment {
public:
    void SetUp() override {
        PopupWindowInit();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = TrayStandInProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kStandInClass;
        RegisterClassW(&windowClass);
    }
    void TearDown() override { PopupWindowDone(); }
};

const auto* const popupClass = ::testing::AddGlobalTestEnvironment(new TPopupClass);

BOOL CALLBACK CollectPopup(HWND window, LPARAM list) {
    if (PopupWindow_IsPopup(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

} // namespace

void PopupTest::SetUp() {
    CardTest::SetUp();
    ASSERT_TRUE(OpenPopups().empty());
    tray_ = CreateWindowExW(0, kStandInClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    ASSERT_NE(tray_, nullptr);
    block_.TrayWindow = HandleToLong(tray_);
    block_.ScanEnabled = 1;
    block_.CurDict = 7;
    block_.CurEntry = 7;
    SetHookBlock(&hook_);
    ResetCaptureState();
    // Away from where popups open, so that no leave check closes one before the test looks.
    SetCursorPos(400, 300);
}

void PopupTest::TearDown() {
    for (HWND popup : OpenPopups()) {
        DestroyWindow(popup);
    }
    DestroyWindow(tray_);
    SetHookBlock(nullptr);
    ResetCaptureState();
    CardTest::TearDown();
}

void PopupTest::Capture(const std::string& text, size_t cursorBytes) {
    hook_ = {};
    std::memcpy(hook_.Text, text.data(), text.size());
    hook_.TextBytes = static_cast<int32_t>(text.size());
    hook_.CursorOffset = static_cast<int32_t>(cursorBytes);
    SendMessageW(tray_, WM_SPY_TEXT, 0, 0);
}

std::vector<HWND> PopupTest::OpenPopups() {
    std::vector<HWND> popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

void PopupTest::KeepOpen(HWND popup) {
    KillTimer(popup, kPopupLeaveTimer);
    Data(popup).LeaveTimer = 0;
}

int32_t PopupTest::FindLineText(HWND popup, const std::wstring& text) {
    const TLineLayout& layout = Data(popup).Layout;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        if (LineText(popup, i) == text) {
            return i;
        }
    }
    return -1;
}

int32_t PopupTest::InsideLink(HWND popup, int32_t line, wchar_t marker) {
    return static_cast<int32_t>(LineText(popup, line).find(marker)) + 2;
}

int32_t PopupTest::TatarEntry(const wchar_t* headword) {
    const TDictHandle& dict = LangGroups[langTatar].at(0);
    return DictFindWord(headword, std::wcslen(headword), dict);
}
