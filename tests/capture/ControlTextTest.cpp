// Reading the control under a point, in this process: controls whose window procedure gives huge
// answers about their text, and an honest long text read at its end, are read with a few
// kilobytes at most and without an exception.

#include <windows.h>
#include <richedit.h>

#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include <gtest/gtest.h>

// Defined in capture/ControlText.cpp, which this test compiles.
bool ReadTextUnderCursor(POINT screen, DWORD skippedProcess, std::wstring& text, size_t& cursor);

namespace {

// The largest single allocation while counting.
bool g_counting = false;
size_t g_largest = 0;

} // namespace

void* operator new(size_t size) {
    if (g_counting && size > g_largest) {
        g_largest = size;
    }
    if (void* memory = std::malloc(size != 0 ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}

namespace {

constexpr LRESULT Huge = LRESULT(1) << 62;
constexpr size_t FewKilobytes = 8192;

std::map<UINT, LRESULT> g_answers; // messages the control answers falsely
WNDPROC g_original = nullptr;

LRESULT CALLBACK HostileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto answer = g_answers.find(message);
    if (answer != g_answers.end()) {
        // Still copies the text where it is asked for, and then claims far more.
        if (message == EM_GETLINE || message == WM_GETTEXT || message == EM_GETTEXTRANGE) {
            CallWindowProcW(g_original, window, message, wParam, lParam);
        }
        return answer->second;
    }
    return CallWindowProcW(g_original, window, message, wParam, lParam);
}

struct THostileCase {
    const char* Name;
    const wchar_t* Class;
    DWORD Style;
    std::map<UINT, LRESULT> Answers;
};

HWND MakeControl(const THostileCase& c, const std::wstring& text) {
    HWND control = CreateWindowExW(WS_EX_TOPMOST, c.Class, text.c_str(), WS_POPUP | WS_VISIBLE | WS_BORDER | c.Style,
                                   60, 600, 700, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageW(control, c.Class[0] == L'R' ? EM_EXLIMITTEXT : EM_SETLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return control;
}

// A screen point a little inside the character.
POINT OnCharacter(HWND control, bool rich, size_t index) {
    POINT point = {};
    if (rich) {
        POINTL where = {};
        SendMessageW(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), static_cast<LPARAM>(index));
        point = {where.x + 2, where.y + 5};
    } else {
        const LRESULT packed = SendMessageW(control, EM_POSFROMCHAR, index, 0);
        point = {static_cast<short>(LOWORD(packed)) + 2, static_cast<short>(HIWORD(packed)) + 5};
    }
    ClientToScreen(control, &point);
    return point;
}

// A text of more than 131072 characters in many lines; the word to find is the last one.
constexpr size_t LongLines = 6000;
std::wstring LongText(size_t lines) {
    std::wstring text;
    for (size_t i = 0; i < lines; ++i) {
        text += L"Без татарча сөйләшәбез\r\n";
    }
    return text + L"китапларны";
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

} // namespace

TEST(ReadTextUnderCursor, ReadsABoundedLineWhateverTheControlAnswers) {
    LoadLibraryW(L"msftedit.dll");
    constexpr DWORD Multi = ES_MULTILINE | WS_VSCROLL;
    const LRESULT Ffff = 0xFFFFFFFF;
    const THostileCase cases[] = {
        {"honest edit, cursor at the end of a long text", L"EDIT", Multi, {}},
        {"honest rich edit, cursor at the end of a long text", L"RICHEDIT50W", Multi, {}},
        {"edit: huge length, first visible line -1", L"EDIT", Multi,
         {{WM_GETTEXTLENGTH, Huge}, {EM_GETFIRSTVISIBLELINE, Ffff}}},
        {"single-line edit: huge length, first visible character -1", L"EDIT", ES_AUTOHSCROLL,
         {{WM_GETTEXTLENGTH, Huge}, {EM_GETFIRSTVISIBLELINE, Ffff}}},
        {"edit: huge line start, length and copies", L"EDIT", Multi,
         {{WM_GETTEXTLENGTH, Huge}, {EM_LINEINDEX, Huge}, {EM_LINELENGTH, Huge}, {EM_GETLINE, Huge},
          {WM_GETTEXT, Huge}}},
        {"edit: line length and copies huge", L"EDIT", Multi,
         {{EM_LINELENGTH, Huge}, {EM_GETLINE, Huge}, {WM_GETTEXT, Huge}}},
        {"rich edit: huge lengths and copies", L"RICHEDIT50W", Multi,
         {{WM_GETTEXTLENGTH, Huge},
          {EM_GETTEXTLENGTHEX, Huge},
          {EM_GETTEXTEX, Huge},
          {EM_LINELENGTH, Huge},
          {EM_GETTEXTRANGE, Huge},
          {EM_GETFIRSTVISIBLELINE, Ffff}}},
        {"rich edit: huge line start", L"RICHEDIT50W", Multi, {{EM_LINEINDEX, Huge}, {EM_CHARFROMPOS, Huge}}},
    };
    for (const THostileCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const bool rich = c.Class[0] == L'R';
        const bool single = (c.Style & ES_MULTILINE) == 0;
        const std::wstring text = single ? L"Без китапларны укыйбыз" : LongText(LongLines);
        const HWND control = MakeControl(c, text);
        ASSERT_NE(control, nullptr);
        // The а of китапларны; a rich edit counts a line end as one character.
        const size_t word = single ? 6 : text.size() - 4 - (rich ? LongLines : 0);
        SendMessageW(control, EM_SETSEL, word, word);
        SendMessageW(control, EM_SCROLLCARET, 0, 0);
        Pump();
        const POINT point = OnCharacter(control, rich, word);
        g_answers = c.Answers;
        g_original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostileProc)));

        std::wstring read;
        size_t cursor = 0;
        g_largest = 0;
        g_counting = true;
        bool found = false;
        EXPECT_NO_THROW(found = ReadTextUnderCursor(point, 0, read, cursor));
        g_counting = false;
        EXPECT_LE(g_largest, FewKilobytes);
        if (c.Answers.empty()) {
            ASSERT_TRUE(found);
            EXPECT_EQ(read, L"китапларны");
            EXPECT_EQ(cursor, 6u);
        } else if (found) {
            EXPECT_LE(read.size(), 1024u);
            EXPECT_LE(cursor, read.size());
        }
        g_answers.clear();
        DestroyWindow(control);
    }
}
