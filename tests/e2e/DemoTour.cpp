// A short tour of both programs for the README: Tirel starts Pemdrove in a fresh folder, a word is
// typed into the main window, a card is opened, a word of another program's edit field is pointed
// at, and the paradigm generator is opened; each step is saved as a BMP file in the folder given
// on the command line. Both programs are ended through the main program's Exit at the end.

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/GlobalCustoms.h"
#include "display/CardWindow.h"
#include "display/win32/OwnedHandle.h"
#include "main/GP_Layout.h"
#include "main/Main.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/SystemSession.h"
#include "tests/main/PemdroveSession.h"
#include "tests/support/TextWindow.h"
#include "tests/support/UserInput.h"

namespace {

const wchar_t* const kTypedWord = L"китапларны";
const wchar_t* const kBaseWord = L"китап";
const wchar_t* const kCapturedText = L"Без китапларны укыйбыз";
const int kCapturedCharacter = 12; // near the end of "китапларны": the popup opens at the pointer
const int kMargin = 8;

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

struct TFindChild {
    int Id;
    HWND Found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM lParam) {
    auto& find = *reinterpret_cast<TFindChild*>(lParam);
    if (GetDlgCtrlID(window) != find.Id) {
        return TRUE;
    }
    find.Found = window;
    return FALSE;
}

// A control at any depth: the generator's buttons sit in group boxes on panels.
HWND Descendant(HWND root, TGP_Control id) {
    TFindChild find{static_cast<int>(id), nullptr};
    EnumChildWindows(root, MatchChild, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// Keys for the characters, as a keyboard layout of the language would give them.
void TypeText(const std::wstring& text) {
    for (const wchar_t c : text) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof input[0]);
    }
}

// The keys pressed in order and released in reverse, as a chord.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (const WORD key : keys) {
        input.push_back({});
        input.back().type = INPUT_KEYBOARD;
        input.back().ki.wVk = key;
    }
    for (auto key = keys.end(); key != keys.begin();) {
        input.push_back({});
        input.back().type = INPUT_KEYBOARD;
        input.back().ki.wVk = *--key;
        input.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// The text field of "another program" (this one), in a font large enough to read in the picture.
class TOtherProgramText {
public:
    TOtherProgramText()
        : font_(CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma")),
          text_(kCapturedText, 40, 60, 420) {
        SendMessageW(text_.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    }
    const TTextWindow& Text() const { return text_; }

private:
    TOwnedFont font_; // outlives the window that uses it
    TTextWindow text_;
};

class TTour {
public:
    explicit TTour(const std::wstring& outFolder) : out_(outFolder), run_(folder_) {}
    // Prints each step; false on the first that fails. The programs still running then are
    // ended with the run.
    bool Run();

private:
    bool Step(bool done, const char* what);
    bool Save(const RECT& rect, const wchar_t* name);
    bool LookUp(const TMainWindowView& view, const std::wstring& word, const std::wstring& headword);
    bool ShowCard(const TMainWindowView& view);
    bool ShowPopup();
    bool ShowGenerator(const TMainWindowView& view);
    bool ExitBoth();

    std::wstring out_;
    TSystemFolder folder_;
    TSystemRun run_;
};

bool TTour::Step(bool done, const char* what) {
    std::printf("%s %s\n", done ? "done:" : "FAILED:", what);
    std::fflush(stdout);
    return done;
}

bool TTour::Save(const RECT& rect, const wchar_t* name) {
    const TScreenShot shot = SettledShot(rect);
    return shot.Save(out_ + L"\\" + name + L".bmp");
}

bool TTour::Run() {
    if (!Step(run_.Start(), "Tirel started, and Pemdrove with it")) {
        return false;
    }
    const TMainWindowView view(run_.MainWindow());
    if (!Step(LookUp(view, kTypedWord, kBaseWord), "a word typed into the main window") ||
        !Step(Save(AroundWindows({view.Main}, 0), L"main-window"), "the main window saved") ||
        !Step(ShowCard(view), "a translation card saved") || !Step(ShowPopup(), "a popup over an edit field saved") ||
        !Step(LookUp(view, kBaseWord, kBaseWord), "the base word typed") ||
        !Step(ShowGenerator(view), "the paradigm generator saved")) {
        return false;
    }
    return Step(ExitBoth(), "both programs ended");
}

bool TTour::LookUp(const TMainWindowView& view, const std::wstring& word, const std::wstring& headword) {
    // Tried again when the program was still busy with its first show as the keys came.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetForegroundWindow(view.Main);
        ClickAt(CentreOf(view.Edit1));
        PressKeys({VK_END});
        PressKeys({VK_SHIFT, VK_HOME});
        TypeText(word);
        // The list follows each key; the article, which begins with its headword, follows the list.
        if (WaitUntil([&] { return view.Word() == word && view.Article().rfind(headword, 0) == 0; }, 5000)) {
            return true;
        }
    }
    return false;
}

bool TTour::ShowCard(const TMainWindowView& view) {
    ClickAt(CentreOf(GetDlgItem(view.Main, TForm1::idbtnTrans)));
    HWND card = nullptr;
    if (!WaitUntil([&] {
            card = FindProcessWindow(ProcessOf(view.Main), CardWindowClass, nullptr);
            return card != nullptr && IsWindowVisible(card);
        })) {
        return false;
    }
    const bool saved = Save(AroundWindows({card}, 0), L"card");
    PostMessageW(card, WM_CLOSE, 0, 0);
    return saved && WaitUntil([&] { return !IsWindow(card); });
}

bool TTour::ShowPopup() {
    TBlockView& block = run_.Block();
    block->ScanWithShift = 0; // as the settings window sets it: no Shift needed
    if (block->ScanEnabled == 0) {
        PostMessageW(block.TrayWindow(), WM_COMMAND, 1, 0); // the tray menu's scanning item
        if (!WaitUntil([&] { return block->ScanEnabled != 0; })) {
            return false;
        }
    }
    const TOtherProgramText other;
    const TTextWindow& text = other.Text();
    MoveTo(text.OnCharacter(kCapturedCharacter));
    HWND popup = nullptr;
    if (!PumpUntil([&] {
            popup = FindProcessWindow(run_.Tirel().Id(), L"NewPopupWindow_Jyx", nullptr);
            return popup != nullptr && IsWindowVisible(popup);
        })) {
        return false;
    }
    const bool saved = Save(AroundWindows({text.Window(), popup}, kMargin), L"popup");
    // Away from the text the popup goes, before it could cover the next window.
    MoveTo({GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10});
    PumpUntil([&] { return !IsWindowVisible(popup); }, 5000);
    return saved;
}

bool TTour::ShowGenerator(const TMainWindowView& view) {
    ClickAt(CentreOf(GetDlgItem(view.Main, TForm1::idbtnGP)));
    HWND generator = nullptr;
    if (!WaitUntil([&] {
            generator =
                FindProcessWindow(ProcessOf(view.Main), TForm::ClassName, GP_Windows[run_.Block()->UILanguage].Caption);
            return generator != nullptr && IsWindowVisible(generator);
        })) {
        std::printf("the generator window did not show\n");
        return false;
    }
    // The plural of the first person's possession in the ablative: a form of several affixes.
    const HWND browser = Descendant(generator, TGP_Control::TB);
    const std::wstring before = WindowTextOf(browser);
    const TGP_Control choices[] = {TGP_Control::NounsNum_Plural, TGP_Control::NounsFace_Prim,
                                   TGP_Control::NounsPad_Sour};
    for (const TGP_Control choice : choices) {
        const HWND button = Descendant(generator, choice);
        // Clicked again when the window was still taking its first activation as the click came.
        bool checked = false;
        for (int attempt = 0; attempt < 3 && !checked; ++attempt) {
            SetForegroundWindow(generator);
            ClickAt(CentreOf(button));
            checked = WaitUntil([&] { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000);
        }
        if (!checked) {
            std::printf("a choice of the generator stayed unchecked\n");
            return false;
        }
    }
    if (!WaitUntil([&] { return WindowTextOf(browser) != before; })) {
        std::printf("the generator's result did not change\n");
        return false;
    }
    return Save(AroundWindows({generator}, 0), L"generator");
}

bool TTour::ExitBoth() {
    PostMessageW(run_.MainWindow(), WM_COMMAND, MAKEWPARAM(TForm1::idMMTrans_Exit, 0), 0);
    return run_.WaitForMainExit() && run_.Tirel().WaitForExit();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::printf("usage: demo_tour FOLDER (the screenshots go there)\n");
        return 2;
    }
    CreateDirectoryW(argv[1], nullptr);
    TTour tour(argv[1]);
    return tour.Run() ? 0 : 1;
}
