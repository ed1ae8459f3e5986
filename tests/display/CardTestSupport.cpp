#include "tests/display/CardTestSupport.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "core/TableTailes.h"
#include "core/Translator.h"
#include "core/UILanguage.h"
#include "core/Utf8.h"
#include "display/CardWindow.h"
#include "display/ViewMouse.h"
#include "display/win32/ErrorReport.h"
#include "display/win32/ViewWindow.h"
#include "tests/support/BuiltData.h"
#include "tests/support/DpiOverride.h"
#include "tests/support/OpenDictionaries.h"

namespace {

// The sample dictionaries, the suffix tables and the Russian paradigm table, as the programs
// load them, and the card class.
class TSampleData : public ::testing::Environment {
public:
    void SetUp() override {
        dictionaries_.Open(ReadBuiltFile("tatrus.dict"));
        dictionaries_.Open(ReadBuiltFile("rustat.dict"));
        const std::wstring folder = Utf8ToWide(QV_BIN_DIR) + L"\\";
        TableTailesInit(folder);
        CreateParadigmTable(folder);
        GlobalCustomsInit();
        CardWindowInit();
    }
    void TearDown() override {
        CardWindowDone();
        FreeParadigmTable();
        TableTailesDone();
        dictionaries_.Close();
    }

private:
    TOpenDictionaries dictionaries_;
};

const auto* const sampleData = ::testing::AddGlobalTestEnvironment(new TSampleData);

void RecordReport(const std::wstring& text) {
    CardTestReports().push_back(text);
}

int resyncs = 0;

LRESULT CALLBACK MainMessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MAIN_RESYNC) {
        ++resyncs;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK CollectCard(HWND window, LPARAM list) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == CardWindowClass) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<std::wstring>& CardTestReports() {
    static std::vector<std::wstring> reports;
    return reports;
}

void CardTest::SetUp() {
    block_.UILanguage = langRussian;
    block_.SourceLang = langTatar;
    block_.TargetLang = langRussian;
    block_.RunState = rsLaunchRequested; // RunMainProgram does nothing
    block_.CardMaxLines = 32;
    block_.PopupMaxLines = 32;
    SetSharedCustoms(&block_);
    CardTestReports().clear();
    SetErrorReport(RecordReport);
    ASSERT_TRUE(OpenCards().empty());
    ASSERT_EQ(CardWindow_LastCard(), GetDesktopWindow());
}

void CardTest::TearDown() {
    ViewStopDragTimer();
    for (HWND card : OpenCards()) {
        DestroyWindow(card);
    }
    Pump();
    SetErrorReport(nullptr);
    SetSharedCustoms(nullptr);
}

TWindowData& CardTest::Data(HWND card) {
    TWindowData* data = ViewWindowData(card);
    if (data == nullptr) {
        throw std::runtime_error("not a card");
    }
    return *data;
}

RECT CardTest::ScreenRect(HWND card) {
    RECT rect = {};
    GetWindowRect(card, &rect);
    return rect;
}

std::vector<HWND> CardTest::OpenCards() {
    std::vector<HWND> cards;
    EnumThreadWindows(GetCurrentThreadId(), CollectCard, reinterpret_cast<LPARAM>(&cards));
    return cards;
}

int32_t CardTest::FindLine(HWND card, uint8_t kind, int32_t from) {
    const TLineLayout& layout = Data(card).Layout;
    for (int32_t i = std::max(from, 0); i < layout.LineCount; ++i) {
        if (layout.Line(i).Kind == kind) {
            return i;
        }
    }
    return -1;
}

int32_t CardTest::FindText(HWND card, const std::wstring& part) {
    const TLineLayout& layout = Data(card).Layout;
    for (int32_t i = 0; i < layout.LineCount; ++i) {
        if (LineText(card, i).find(part) != std::wstring::npos) {
            return i;
        }
    }
    return -1;
}

std::wstring CardTest::LineText(HWND card, int32_t line) {
    const TDisplayLine& record = Data(card).Layout.Line(line);
    return std::wstring(record.Text, static_cast<size_t>(record.Length));
}

void CardTest::ExpectLineHeightFor(const TWindowData& w, int dpi, int32_t& atDesign) {
    ASSERT_GT(w.Layout.LineCount, 1);
    atDesign = atDesign == 0 ? w.Layout.TextHeight : atDesign;
    EXPECT_NEAR(w.Layout.TextHeight, MulDiv(atDesign, dpi, 96), 2);
    EXPECT_GE(w.Layout.Line(1).Rect.Top - w.Layout.Line(0).Rect.Top, w.Layout.TextHeight);
}

void CardTest::ExpectRefitOnDpiChange(HWND window) {
    const TWindowData& w = Data(window);
    const int32_t lineHeight = w.Layout.TextHeight;
    RECT before = {};
    GetWindowRect(window, &before);
    const TDpiOverride scale(144);
    RECT suggested = {50, 60, 300, 400};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT after = {};
    GetWindowRect(window, &after);
    EXPECT_NEAR(w.Layout.TextHeight, lineHeight * 3 / 2, 2);
    EXPECT_EQ(after.left, 50);
    EXPECT_EQ(after.top, 60);
    EXPECT_GT(after.right - after.left, (before.right - before.left) * 5 / 4);
    EXPECT_EQ(w.Width, after.right - after.left);
}

POINT CardTest::CharPoint(HWND card, int32_t line, int32_t character) {
    const TWindowData& w = Data(card);
    const TDisplayLine& record = w.Layout.Line(line);
    POINT point = {record.CharX[character], (record.Rect.Top + record.Rect.Bottom) / 2 - w.Layout.FirstPixel};
    ClientToScreen(card, &point);
    return point;
}

void CardTest::MoveCursor(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    PumpFor(30);
}

void CardTest::MoveCursorTo(HWND card, int32_t line, int32_t character) {
    MoveCursor(CharPoint(card, line, character));
}

void CardTest::Click(HWND card) {
    SendMessageW(card, WM_MOUSEMOVE, 0, 0);
    SendMessageW(card, WM_LBUTTONUP, 0, 0);
}

void CardTest::Drag(HWND card, int32_t fromLine, int32_t fromChar, int32_t toLine, int32_t toChar) {
    const POINT to = CharPoint(card, toLine, toChar);
    MoveCursorTo(card, fromLine, fromChar);
    SendMessageW(card, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    MoveCursor(to);
    SendMessageW(card, WM_MOUSEMOVE, MK_LBUTTON, 0);
    SendMessageW(card, WM_LBUTTONUP, 0, 0);
}

void CardTest::Copy(HWND card) {
    SendMessageW(card, WM_COMMAND, MAKEWPARAM(0, 0), 0);
}

void CardTest::SelectAll(HWND card) {
    SendMessageW(card, WM_COMMAND, MAKEWPARAM(1, 0), 0);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds, const TMessageObserver& observer) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (!(done && done()) && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (observer) {
                observer(message);
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done && done()) {
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds, const TMessageObserver& observer) {
    PumpUntil(nullptr, milliseconds, observer);
}

void Pump() {
    PumpFor(0);
}

void TLeftButton::Press() {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof input);
    down_ = true;
    PumpFor(20);
}

void TLeftButton::Release() {
    if (!down_) {
        return;
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    down_ = false;
    PumpFor(20);
}

TControlKey::TControlKey() {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    state[VK_CONTROL] = 0x80;
    state[VK_LCONTROL] = 0x80;
    SetKeyboardState(state);
}

TControlKey::~TControlKey() {
    SetKeyboardState(saved_);
}

TMainMessageWindow::TMainMessageWindow() {
    static const bool registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = MainMessageProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CardTestMainMessages";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExW(0, L"CardTestMainMessages", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    resyncs = 0;
}

TMainMessageWindow::~TMainMessageWindow() {
    DestroyWindow(window_);
}

int TMainMessageWindow::Resyncs() const {
    return resyncs;
}
