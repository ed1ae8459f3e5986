// The capture library end to end, arranged as in use: this process loads TextOutSpy.dll and owns
// the window that receives WM_SPY_TEXT, as the tray program does, while capture_host shows the
// text controls in a process of its own. The cursor is moved with SetCursorPos.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capture/TextOutSpyBlock.h"
#include "tests/capture/ControlHost.h"

namespace {

constexpr DWORD ReportWait = 10000; // generous: a report comes a few hundred milliseconds after a rest
constexpr DWORD QuietRest = 1000;   // several rest times, for the cases that must stay quiet
constexpr DWORD MoveSeen = 150;     // long enough for the library to see the cursor move
constexpr UINT HostTimeout = 5000;

struct TReport {
    std::string Text;
    int32_t TextBytes;
    int32_t CursorOffset;
    bool Terminated; // a zero follows the text inside its field
};

struct TSession {
    HMODULE Library = nullptr;
    TActivateTextOutSpying Activate = nullptr;
    HANDLE Mapping = nullptr;
    TTextOutSpyBlock* Block = nullptr;
    HWND Receiver = nullptr;
    HWND OwnEdit = nullptr; // a text control of the receiver's own process
    HWND Host = nullptr;
    PROCESS_INFORMATION HostProcess = {};
    std::vector<TReport> Reports;
};

TSession g_session;

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size));
    return bytes;
}

// False when the bytes are not whole UTF-8 characters.
bool Decode(const std::string& bytes, std::wstring& text) {
    text.assign(bytes.size(), L'\0');
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                         text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(size, 0)));
    return size > 0 || bytes.empty();
}

TReport ReadReport(const TTextOutSpyBlock& block) {
    const int32_t bytes = block.TextBytes;
    const int32_t cursor = block.CursorOffset;
    const size_t kept = static_cast<size_t>(std::clamp<int32_t>(bytes, 0, TextOutSpyTextSize));
    const bool terminated = bytes >= 0 && bytes < static_cast<int32_t>(TextOutSpyTextSize) && block.Text[bytes] == 0;
    return {std::string(block.Text, kept), bytes, cursor, terminated};
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TextOutSpyMessage && g_session.Block != nullptr) {
        try {
            g_session.Reports.push_back(ReadReport(*g_session.Block));
        } catch (...) {
            ADD_FAILURE() << "report not kept";
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Takes this thread's messages for `milliseconds`, or until `done`.
bool Pump(DWORD milliseconds, const std::function<bool()>& done = nullptr) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done && done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

bool AwaitReport() {
    return Pump(ReportWait, [] { return !g_session.Reports.empty(); });
}

// From a neutral place first, so that a rest where the last one was is a new rest.
void RestAt(POINT point) {
    SetCursorPos(0, 0);
    Pump(MoveSeen);
    SetCursorPos(point.x, point.y);
}

LRESULT AskHost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, HostTimeout, &result) == 0) {
        ADD_FAILURE() << "the host did not answer message " << message; // what follows would test nothing
    }
    return static_cast<LRESULT>(result);
}

HWND HostControl(TControlId id) {
    return GetDlgItem(g_session.Host, id);
}

void SetText(TControlId id, const std::wstring& text) {
    AskHost(HostControl(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SetItems(const std::vector<std::wstring>& items) {
    AskHost(HostControl(IdList), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items) {
        AskHost(HostControl(IdList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

POINT CharPoint(TControlId id, size_t index, int item = 0) {
    const LRESULT packed =
        AskHost(g_session.Host, WM_HOST_CHAR_POINT, MAKEWPARAM(id, item), static_cast<LPARAM>(index));
    EXPECT_NE(packed, -1) << "character " << index << " of control " << id << " is not shown";
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

// The report holds `shown` whole, with the cursor within the word at `start`.
void ExpectOnWord(const TReport& report, const std::wstring& shown, size_t start, size_t length) {
    EXPECT_EQ(report.Text, Utf8(shown));
    EXPECT_EQ(report.TextBytes, static_cast<int32_t>(Utf8(shown).size()));
    EXPECT_TRUE(report.Terminated);
    EXPECT_GE(report.CursorOffset, static_cast<int32_t>(Utf8(shown.substr(0, start)).size()));
    EXPECT_LE(report.CursorOffset, static_cast<int32_t>(Utf8(shown.substr(0, start + length)).size()));
}

void StartHost() {
    const std::wstring readyName = L"QvCaptureHostReady_" + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.erase(folder.find_last_of(L"\\/") + 1);
    std::wstring command = L"\"" + folder + L"capture_host.exe\" " + readyName;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &g_session.HostProcess)) {
        HANDLE both[] = {ready, g_session.HostProcess.hProcess};
        if (WaitForMultipleObjects(2, both, FALSE, 30000) == WAIT_OBJECT_0) {
            EnumThreadWindows(
                g_session.HostProcess.dwThreadId,
                [](HWND window, LPARAM) {
                    wchar_t name[64] = {};
                    GetClassNameW(window, name, 64);
                    if (std::wstring(name) == ControlHostClass) {
                        g_session.Host = window;
                    }
                    return TRUE;
                },
                0);
        }
    }
    CloseHandle(ready);
}

void StopHost() {
    if (g_session.HostProcess.hProcess == nullptr) {
        return;
    }
    if (g_session.Host != nullptr) {
        PostMessageW(g_session.Host, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(g_session.HostProcess.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(g_session.HostProcess.hProcess, 1);
    }
    CloseHandle(g_session.HostProcess.hProcess);
    CloseHandle(g_session.HostProcess.hThread);
}

class CaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartHost();
        WNDCLASSW receiverClass = {};
        receiverClass.lpfnWndProc = ReceiverProc;
        receiverClass.hInstance = GetModuleHandleW(nullptr);
        receiverClass.lpszClassName = L"QvCaptureTestReceiver";
        RegisterClassW(&receiverClass);
        g_session.Receiver = CreateWindowExW(0, receiverClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                             receiverClass.hInstance, nullptr);
        g_session.OwnEdit = CreateWindowExW(
            WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, ControlHostLeft,
            ControlHostTop + ControlHostHeight + 40, 500, 30, nullptr, nullptr, nullptr, nullptr);
        SendMessageW(g_session.OwnEdit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);

        const std::string bin = QV_BIN_DIR;
        const std::wstring library = std::wstring(bin.begin(), bin.end()) + L"\\TextOutSpy.dll";
        g_session.Library = LoadLibraryW(library.c_str());
        if (g_session.Library != nullptr) {
            g_session.Activate = reinterpret_cast<TActivateTextOutSpying>(
                reinterpret_cast<void*>(GetProcAddress(g_session.Library, "ActivateTextOutSpying")));
        }
        if (g_session.Activate != nullptr) {
            g_session.Activate(1);
            // Switching on makes the block: it is there to be opened, not created.
            g_session.Mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, TextOutSpyBlockName);
        }
        if (g_session.Mapping != nullptr) {
            g_session.Block = static_cast<TTextOutSpyBlock*>(
                MapViewOfFile(g_session.Mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TTextOutSpyBlock)));
        }
    }

    static void TearDownTestSuite() {
        if (g_session.Activate != nullptr) {
            g_session.Activate(0);
        }
        if (g_session.Library != nullptr) {
            FreeLibrary(g_session.Library);
        }
        if (g_session.Block != nullptr) {
            UnmapViewOfFile(g_session.Block);
        }
        if (g_session.Mapping != nullptr) {
            CloseHandle(g_session.Mapping);
        }
        DestroyWindow(g_session.OwnEdit);
        DestroyWindow(g_session.Receiver);
        StopHost();
        g_session = TSession();
    }

    void SetUp() override {
        ASSERT_NE(g_session.Host, nullptr) << "capture_host did not start";
        ASSERT_NE(g_session.Activate, nullptr) << "TextOutSpy.dll or its export is missing";
        ASSERT_NE(g_session.Block, nullptr) << "switching on did not make the shared block";
        g_session.Block->TargetWindow = TextOutSpyWindowField(g_session.Receiver);
        g_session.Reports.clear();
    }

    static TTextOutSpyBlock& Block() { return *g_session.Block; }
    static const std::vector<TReport>& Reports() { return g_session.Reports; }
};

struct TWordCase {
    const char* Name;
    TControlId Control;
    std::wstring Text;  // the control's text, or the list item rested on
    std::wstring Word;  // the cursor rests in its middle
    std::wstring Shown; // the text as reported, when it is not Text: an edit's line, a static without '&'
    bool OnFirstLetter = false; // else in the word's middle
};

TEST_F(CaptureTest, ReportsTheTextAroundTheWordUnderARestingCursor) {
    std::vector<TWordCase> rows = {
        {"single-line edit", IdEdit, L"Мин Казанда яшим", L"Казанда", L""},
        {"multi-line edit, second line", IdMultiEdit, L"Әнием һөнәре бик кызык\r\nҗәй көне үрдәк йөзә", L"үрдәк",
         L"җәй көне үрдәк йөзә"},
        {"rich edit, second paragraph", IdRichEdit, L"Без татарча\rсөйләшәбез", L"сөйләшәбез", L"сөйләшәбез"},
        {"static text, shown without its mnemonic mark", IdStatic, L"Бу ки&тап минеке", L"тап", L"Бу китап минеке"},
        {"list box item", IdList, L"ике өч дүрт", L"өч", L""},
    };
    const std::wstring label = L"Метка: Дети читали книги";
    for (const TControlId id : {IdLabel, IdLabelCentre, IdLabelRight, IdRichEdit}) {
        for (const wchar_t* word : {L"Метка", L"Дети", L"читали", L"книги"}) {
            for (const bool first : {false, true}) {
                rows.push_back({"label or rich edit in the GUI font", id, label, word, id == IdRichEdit ? label : L"",
                                 first});
            }
        }
    }
    for (const TWordCase& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Name << ", control " << row.Control << ", on " << Utf8(row.Word)
                                        << (row.OnFirstLetter ? ", first letter" : ""));
        g_session.Reports.clear();
        int item = 0;
        if (row.Control == IdList) {
            SetItems({L"бер", row.Text, L"өч йөз"});
            item = 1;
        } else {
            SetText(row.Control, row.Text);
        }
        RestAt(CharPoint(row.Control, row.Text.find(row.Word) + (row.OnFirstLetter ? 0 : row.Word.size() / 2), item));
        ASSERT_TRUE(AwaitReport());
        EXPECT_EQ(Reports().size(), 1u);
        const std::wstring& shown = row.Shown.empty() ? row.Text : row.Shown;
        ExpectOnWord(Reports()[0], shown, shown.find(row.Word), row.Word.size());
    }
}

struct TQuietCase {
    const char* Name;
    std::function<POINT()> Arrange; // returns where the cursor rests
    std::function<void()> Restore;
};

TEST_F(CaptureTest, StaysQuietWhereNothingMayBeRead) {
    const std::wstring text = L"Мин Казанда яшим";
    const uint32_t receiver = Block().TargetWindow;
    auto onWord = [&] {
        SetText(IdEdit, text);
        return CharPoint(IdEdit, 6);
    };
    const TQuietCase rows[] = {
        {"an edit of the receiving window's process",
         [&] {
             SetWindowTextW(g_session.OwnEdit, text.c_str());
             const LRESULT packed = SendMessageW(g_session.OwnEdit, EM_POSFROMCHAR, 6, 0);
             POINT point = {static_cast<short>(LOWORD(packed)) + 2, static_cast<short>(HIWORD(packed)) + 6};
             ClientToScreen(g_session.OwnEdit, &point);
             return point;
         },
         nullptr},
        {"past the end of an edit's line",
         [&] {
             SetText(IdEdit, L"Мин");
             const POINT last = CharPoint(IdEdit, 2);
             return POINT{last.x + 300, last.y};
         },
         nullptr},
        {"below the last line of a multi-line edit",
         [&] {
             SetText(IdMultiEdit, text);
             const POINT word = CharPoint(IdMultiEdit, 6);
             return POINT{word.x, word.y + 50};
         },
         nullptr},
        {"below a list box's last item",
         [&] {
             SetItems({L"бер"});
             const POINT item = CharPoint(IdList, 1);
             return POINT{item.x, item.y + 60};
         },
         nullptr},
        {"no window in the block",
         [&] {
             Block().TargetWindow = 0;
             return onWord();
         },
         [&] { Block().TargetWindow = receiver; }},
        {"switched off",
         [&] {
             g_session.Activate(0);
             return onWord();
         },
         [&] { g_session.Activate(1); }},
    };
    for (const TQuietCase& row : rows) {
        SCOPED_TRACE(row.Name);
        g_session.Reports.clear();
        Block().TextBytes = -7; // a report would overwrite it
        RestAt(row.Arrange());
        Pump(QuietRest);
        EXPECT_TRUE(Reports().empty());
        EXPECT_EQ(Block().TextBytes, -7);
        if (row.Restore) {
            row.Restore();
        }
        // Still watching: the next rest on a word is reported, and first.
        RestAt(onWord());
        ASSERT_TRUE(AwaitReport());
        ExpectOnWord(Reports()[0], text, 4, 7);
    }
}

TEST_F(CaptureTest, ReportsOnlyOnceTheCursorRests) {
    const std::wstring text = L"Әнием һөнәре бик кызык\r\nҗәй көне үрдәк йөзә";
    SetText(IdMultiEdit, text);
    const POINT from = CharPoint(IdMultiEdit, 0);
    const POINT to = CharPoint(IdMultiEdit, 20);
    // Each place is held for several looks of the library, but well under the rest time.
    constexpr int Steps = 8;
    constexpr DWORD Hold = 120;
    for (int step = 0; step <= Steps; ++step) {
        SetCursorPos(from.x + (to.x - from.x) * step / Steps, from.y);
        Pump(Hold);
    }
    EXPECT_TRUE(Reports().empty());
    RestAt(CharPoint(IdMultiEdit, text.find(L"үрдәк") + 2));
    ASSERT_TRUE(AwaitReport());
    ExpectOnWord(Reports()[0], L"җәй көне үрдәк йөзә", 9, 5); // the cursor's line
}

struct TLongCase {
    const char* Name;
    TControlId Control;
    size_t Repeats;   // of "Казанда яшим ", 24 bytes of UTF-8 in 13 characters
    size_t LineBreak; // a line break after every so many repeats; 0: none
    size_t Index;   // the cursor rests on this character
};

// Only the cursor's line is read: a single-line edit's long line fills the block's room.
TEST_F(CaptureTest, CutsLongTextsAtWholeCharactersAroundTheCursor) {
    const TLongCase rows[] = {
        {"in the middle: both sides share the room", IdEdit, 60, 0, 390},
        {"near the start: the room goes after the cursor", IdEdit, 60, 0, 3},
        // Lines of 650 characters, which wrap: one line of 69,000 takes Wine seconds to wrap.
        {"beyond 65535 characters, in a line of a wrapping edit", IdMultiEdit, 5300, 50, 68000},
    };
    for (const TLongCase& row : rows) {
        SCOPED_TRACE(row.Name);
        g_session.Reports.clear();
        std::wstring text;
        for (size_t i = 0; i < row.Repeats; ++i) {
            text += L"Казанда яшим ";
            if (row.LineBreak != 0 && (i + 1) % row.LineBreak == 0) {
                text += L"\r\n";
            }
        }
        SetText(row.Control, text);
        AskHost(HostControl(row.Control), EM_SETSEL, row.Index, row.Index);
        AskHost(HostControl(row.Control), EM_SCROLLCARET, 0, 0);
        RestAt(CharPoint(row.Control, row.Index));
        ASSERT_TRUE(AwaitReport());
        const TReport& report = Reports()[0];
        const bool longLine = row.Control == IdEdit;
        EXPECT_TRUE(report.Terminated);
        EXPECT_LE(report.TextBytes, static_cast<int32_t>(TextOutSpyMaxTextBytes));
        if (longLine) {
            EXPECT_GE(report.TextBytes, static_cast<int32_t>(TextOutSpyMaxTextBytes) - 2); // the room used
        }
        ASSERT_GE(report.CursorOffset, 0);
        ASSERT_LE(report.CursorOffset, report.TextBytes);
        const size_t cursor = static_cast<size_t>(report.CursorOffset);
        std::wstring before;
        std::wstring after;
        ASSERT_TRUE(Decode(report.Text.substr(0, cursor), before));
        ASSERT_TRUE(Decode(report.Text.substr(cursor), after));
        EXPECT_GE(after.size(), 5u);
        // The cursor stands before or after the character rested on.
        bool aroundIt = false;
        for (size_t at : {row.Index, row.Index + 1}) {
            aroundIt =
                aroundIt || (at >= before.size() && text.compare(at - before.size(), before.size(), before) == 0 &&
                             text.compare(at, after.size(), after) == 0);
        }
        EXPECT_TRUE(aroundIt);
        if (longLine && row.Index > TextOutSpyMaxTextBytes) {
            EXPECT_GE(cursor, TextOutSpyMaxTextBytes / 2 - 3);
            EXPECT_GE(report.Text.size() - cursor, TextOutSpyMaxTextBytes / 2 - 3);
        }
    }
}

} // namespace
