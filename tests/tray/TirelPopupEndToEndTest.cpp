// The scanning popup end to end: Tirel runs with its capture library, this process shows an edit
// control with Tatar text, the cursor rests on an inflected word, and Tirel's popup for it comes
// up with the word's entry current; it goes when the cursor leaves. Keys typed meanwhile stay
// with the edit control. A label and a rich edit in another font than the system's are read at
// the cursor.

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/Dictionary.h"
#include "tests/support/BuiltData.h"
#include "tests/support/TextWindow.h"
#include "tests/tray/TirelSession.h"

namespace {

// Waits while this thread answers what is sent to its windows: the capture reads the edit
// control by messages from Tirel's process.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = 20000) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// A key press and release as the user types it, to whatever has the keyboard.
void TypeKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Tirel's popup once it shows; null while none does.
HWND VisiblePopup(const TTirelProcess& tirel) {
    const HWND popup = FindProcessWindow(tirel.Id(), L"NewPopupWindow_Jyx", nullptr);
    return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

int32_t SampleEntry(const wchar_t* headword, const char* file = "tatrus.dict") {
    std::vector<unsigned char> image = ReadBuiltFile(file);
    const TDictHandle dict = MakeDictHandle(image.data());
    return DictFindWord(headword, std::wcslen(headword), dict);
}

// A label of this process in the GUI font, as a child of a top-level window: the system passes
// over a top-level static when it looks for the window under a point.
class TLabelWindow {
public:
    TLabelWindow(const wchar_t* text, DWORD alignment) {
        frame_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_NOTIFY,
                                 100, 100, 700, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        label_ = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | alignment, 10, 8, 600, 24, frame_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        UpdateWindow(frame_);
    }
    ~TLabelWindow() { DestroyWindow(frame_); }
    TLabelWindow(const TLabelWindow&) = delete;
    TLabelWindow& operator=(const TLabelWindow&) = delete;

    // The screen point in the middle of the character, placed as the label draws its line.
    POINT OnCharacter(const std::wstring& text, size_t index) const {
        HDC dc = GetDC(label_);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label_, WM_GETFONT, 0, 0)));
        SIZE before = {};
        SIZE through = {};
        SIZE all = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(index), &before);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(index + 1), &through);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &all);
        SelectObject(dc, previous);
        ReleaseDC(label_, dc);
        RECT area = {};
        GetClientRect(label_, &area);
        const LONG type = GetWindowLongW(label_, GWL_STYLE) & SS_TYPEMASK;
        const LONG left = type == SS_CENTER ? (area.right - all.cx) / 2 : type == SS_RIGHT ? area.right - all.cx : 0;
        POINT point = {left + (before.cx + through.cx) / 2, all.cy / 2};
        ClientToScreen(label_, &point);
        return point;
    }

private:
    HWND frame_ = nullptr;
    HWND label_ = nullptr;
};

// A rich edit of this process in the GUI font.
class TRichTextWindow {
public:
    explicit TRichTextWindow(const wchar_t* text) {
        LoadLibraryW(L"msftedit.dll");
        edit_ = CreateWindowExW(WS_EX_TOPMOST, L"RICHEDIT50W", L"", WS_POPUP | WS_VISIBLE | WS_BORDER | ES_MULTILINE,
                                100, 100, 700, 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        SetWindowTextW(edit_, text);
        UpdateWindow(edit_);
    }
    ~TRichTextWindow() { DestroyWindow(edit_); }
    TRichTextWindow(const TRichTextWindow&) = delete;
    TRichTextWindow& operator=(const TRichTextWindow&) = delete;
    HWND Window() const { return edit_; }

    // The screen point in the middle of the character, as the control places it.
    POINT OnCharacter(size_t index) const {
        POINTL at = {};
        POINTL next = {};
        SendMessageW(edit_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), static_cast<LPARAM>(index));
        SendMessageW(edit_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&next), static_cast<LPARAM>(index + 1));
        POINT point = {(at.x + next.x) / 2, at.y + 6};
        ClientToScreen(edit_, &point);
        return point;
    }

private:
    HWND edit_ = nullptr;
};

// Rests the cursor on the point, after every popup has gone, and gives the entry that the popup
// coming up there makes current (-1 when none comes up).
int32_t EntryShownAt(const TTirelProcess& tirel, TBlockView& block, POINT point) {
    SetCursorPos(1200, 1000);
    PumpUntil([&] { return FindProcessWindow(tirel.Id(), L"NewPopupWindow_Jyx", nullptr) == nullptr; });
    block->CurEntry = -1;
    SetCursorPos(point.x, point.y);
    PumpUntil([&] { return VisiblePopup(tirel) != nullptr; }, 5000);
    return block->CurEntry;
}

// Tirel with the test's main program and the sample dictionaries, come up, with the cursor away.
class TirelPopupEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        folder_.AddMainProgram();
        folder_.AddSampleDictionaries();
        SetCursorPos(1200, 1000);
        tirel_ = std::make_unique<TTirelProcess>(folder_);
        ASSERT_TRUE(tirel_->Started());
        ASSERT_TRUE(WaitUntil([&] {
            return block_.Open() && block_->TrayWindow != 0 && block_->RunState == rsRunning &&
                   block_->MainMesgWindow != 0;
        })) << "the tray program did not come up";
    }

    TProgramFolder folder_;
    TBlockView block_;
    std::unique_ptr<TTirelProcess> tirel_;
};

} // namespace

TEST_F(TirelPopupEndToEnd, RestingOnAnInflectedWordShowsItsPopupUntilTheCursorLeaves) {
    block_->CurDict = -1;
    block_->CurEntry = -1;

    const TTextWindow text(L"Без китапларны укыйбыз");
    ASSERT_NE(text.Window(), nullptr);
    const POINT onWord = text.OnCharacter(6); // the п of китапларны
    SetCursorPos(onWord.x, onWord.y);
    HWND popup = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (popup = VisiblePopup(*tirel_)) != nullptr; })) << "no popup came up";
    EXPECT_EQ(block_->CurDict, 0);
    EXPECT_EQ(block_->CurEntry, SampleEntry(L"китап"));
    RECT rect = {};
    GetWindowRect(popup, &rect);
    EXPECT_EQ(rect.left, onWord.x + 5); // beside the cursor
    EXPECT_EQ(rect.top, onWord.y + 5);

    SetCursorPos(onWord.x, rect.bottom + 200); // away from the popup and from any text
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); })) << "the popup stayed";
    EXPECT_TRUE(tirel_->Running());
}

// The first popup after the start places its caret without taking the keyboard: every key typed
// into the edit control while it comes up, and after, arrives there.
TEST_F(TirelPopupEndToEnd, KeysTypedWhileTheFirstPopupComesUpStayWithTheEdit) {

    const std::wstring sentence = L"Без китапларны укыйбыз";
    const TTextWindow text(sentence.c_str());
    ASSERT_NE(text.Window(), nullptr);
    SetForegroundWindow(text.Window());
    SetFocus(text.Window());
    SendMessageW(text.Window(), EM_SETSEL, sentence.size(), sentence.size());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == text.Window(); }, 5000));
    const POINT onWord = text.OnCharacter(6);
    SetCursorPos(onWord.x, onWord.y);
    size_t typed = 0;
    const auto typeOne = [&] {
        TypeKey('2');
        ++typed;
        return VisiblePopup(*tirel_) != nullptr;
    };
    ASSERT_TRUE(PumpUntil(typeOne)) << "no popup came up";
    for (int more = 0; more < 5; ++more) {
        typeOne();
        PumpUntil([] { return false; }, 50);
    }
    const std::wstring expected = sentence + std::wstring(typed, L'2');
    EXPECT_TRUE(PumpUntil([&] { return TextOf(text.Window()) == expected; }, 5000));
    EXPECT_EQ(TextOf(text.Window()), expected);
    EXPECT_EQ(GetForegroundWindow(), text.Window());
}

// Resting on книги in a label in the GUI font, aligned left, centred or right, makes книга
// current; so does resting on each word of a rich edit in that font, on its first letter or in
// its middle.
TEST_F(TirelPopupEndToEnd, ALabelAndARichEditInAnotherFontAreReadAtTheCursor) {
    block_->SourceLang = langRussian;

    const std::wstring text = L"Метка: Дети читали книги";
    for (const DWORD alignment : {SS_LEFT, SS_CENTER, SS_RIGHT}) {
        SCOPED_TRACE(alignment);
        const TLabelWindow label(text.c_str(), alignment);
        EXPECT_EQ(EntryShownAt(*tirel_, block_, label.OnCharacter(text, text.find(L"книги") + 2)),
                  SampleEntry(L"книга", "rustat.dict"));
    }

    const std::wstring words = L"дом окно книга вода";
    const TRichTextWindow rich(words.c_str());
    for (const wchar_t* word : {L"дом", L"окно", L"книга", L"вода"}) {
        for (const size_t into : {size_t(0), std::wcslen(word) / 2}) {
            SCOPED_TRACE(testing::Message() << "rich edit, word " << words.find(word) << " + " << into);
            EXPECT_EQ(EntryShownAt(*tirel_, block_, rich.OnCharacter(words.find(word) + into)),
                      SampleEntry(word, "rustat.dict"));
        }
    }
}
