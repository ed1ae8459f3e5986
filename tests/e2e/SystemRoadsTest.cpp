// The roads of the system as the user walks them, with real mouse input: a popup's headword line
// opens a card, whose headword line makes the main program show the entry; a change of direction
// or interface language in the main program reaches the next popup; and words captured in quick
// succession show one popup at a time and leave no GDI or USER objects behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "capture/TextOutSpyBlock.h"
#include "core/GP_DATA.h"
#include "display/CardWindow.h"
#include "display/TextFormat.h"
#include "main/Main.h"
#include "tests/e2e/GuiObjectCount.h"
#include "tests/e2e/SystemSession.h"
#include "tests/main/PemdroveSession.h"
#include "tests/support/TextWindow.h"
#include "tests/support/TopWindows.h"
#include "tests/support/UserInput.h"

namespace {

const wchar_t kPopupClass[] = L"NewPopupWindow_Jyx"; // the tray program's

HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
    const HWND window = FindProcessWindow(processId, className, nullptr);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND WaitForWindowOf(DWORD processId, const wchar_t* className) {
    HWND window = nullptr;
    PumpUntil([&] { return (window = VisibleWindowOf(processId, className)) != nullptr; });
    return window;
}

// Rows of a window's pixels on the screen that hold a colour, in runs of rows a line of text
// makes (gaps of up to two rows inside a run), in screen coordinates.
struct TBand {
    LONG Top, Bottom, Left, Right;
    POINT Middle() const { return {(Left + Right) / 2, (Top + Bottom) / 2}; }
};

std::vector<TBand> ColourBands(HWND window, COLORREF colour) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<TBand> bands;
    if (width <= 0 || height <= 0) {
        return bands;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[y * width + x] & 0xFFFFFF) != wanted) {
                continue;
            }
            const LONG sx = rect.left + x, sy = rect.top + y;
            if (bands.empty() || sy > bands.back().Bottom + 3) {
                bands.push_back({sy, sy, sx, sx});
            }
            TBand& band = bands.back();
            band.Bottom = sy;
            band.Left = std::min(band.Left, sx);
            band.Right = std::max(band.Right, sx);
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bands;
}

// The lines drawn in the colour once at least that many show; none when they do not come.
std::vector<TBand> WaitForLines(HWND window, COLORREF colour, size_t atLeast) {
    std::vector<TBand> bands;
    PumpUntil([&] { return (bands = ColourBands(window, colour)).size() >= atLeast; });
    return bands.size() >= atLeast ? bands : std::vector<TBand>();
}

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = units;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

void ExitFromTray(TSystemRun& run) {
    PostMessageW(run.Block().TrayWindow(), WM_COMMAND, 0, 0); // the menu's Exit
    EXPECT_TRUE(run.Tirel().WaitForExit());
    EXPECT_TRUE(run.WaitForMainExit());
}

class SystemRoads : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run_.Start());
        run_.Block()->ScanEnabled = 1;
        run_.Block()->ScanWithShift = 0;
        tirel_ = run_.Tirel().Id();
    }

    // Rests the cursor on the character; the popup once it shows.
    HWND PopupOver(const TTextWindow& text, int index) const {
        const POINT onWord = text.OnCharacter(index);
        SetCursorPos(onWord.x, onWord.y);
        return WaitForWindowOf(tirel_, kPopupClass);
    }

    // Clicks the line; the tray program's card once it shows.
    HWND ClickForCard(const TBand& line) const {
        ClickAt(line.Middle());
        return WaitForWindowOf(tirel_, CardWindowClass);
    }

    TSystemFolder folder_;
    TSystemRun run_{folder_};
    DWORD tirel_ = 0;
};

} // namespace

// A headword line of a result with one hit is the last line in the headword colour: the word
// line above it has that colour too, and the sample article of китап has no underlined link.
TEST_F(SystemRoads, APopupsHeadwordOpensACardWhoseHeadwordTheMainProgramShows) {
    const TMainWindowView view(run_.MainWindow());
    ASSERT_NE(view.Word(), L"китап");
    const TTextWindow text(L"Без китапларны укыйбыз");
    const HWND popup = PopupOver(text, 6);
    ASSERT_NE(popup, nullptr) << "no popup came up";
    std::vector<TBand> headwords = WaitForLines(popup, LineStyles[lkHeadword].Colour, 2);
    ASSERT_FALSE(headwords.empty()) << "the popup shows no headword";
    const HWND card = ClickForCard(headwords.back());
    ASSERT_NE(card, nullptr) << "the click on the popup's headword opened no card";
    EXPECT_EQ(run_.Block()->CurDict, 0);
    EXPECT_EQ(run_.Block()->CurEntry, SampleEntry(L"китап", "tatrus.dict"));

    headwords = WaitForLines(card, LineStyles[lkHeadword].Colour, 2);
    ASSERT_FALSE(headwords.empty()) << "the card shows no headword";
    ClickAt(headwords.back().Middle());
    EXPECT_TRUE(PumpUntil([&] { return view.Word() == L"китап"; })) << "the main program shows " << view.Word();
    EXPECT_NE(view.Article().find(L"книга"), std::wstring::npos);
    EXPECT_EQ(run_.Block()->CurEntry, SampleEntry(L"китап", "tatrus.dict"));
    ExitFromTray(run_);
}

TEST_F(SystemRoads, ADirectionChangeInTheMainProgramReachesTheNextPopup) {
    ClickAt(CentreOf(GetDlgItem(run_.MainWindow(), TForm1::idbtnLang)));
    ASSERT_TRUE(PumpUntil([&] { return run_.Block()->SourceLang == langRussian; })) << "the direction stayed";
    const TTextWindow text(L"Я читаю книгу");
    ASSERT_NE(PopupOver(text, 9), nullptr) << "the Russian word found nothing";
    EXPECT_EQ(run_.Block()->CurDict, 0);
    EXPECT_EQ(run_.Block()->CurEntry, SampleEntry(L"книга", "rustat.dict"));
    ExitFromTray(run_);
}

// The popup's analysis line opens a card with the popup's result, notes and all; a click on the
// card's analysis row shows the notes, and the card copies what it shows.
TEST_F(SystemRoads, AnInterfaceLanguageChangeInTheMainProgramReachesTheNextPopupsGrammarNotes) {
    // The item of the main menu's interface language list, as the menu sends it.
    PostMessageW(run_.MainWindow(), WM_COMMAND, MAKEWPARAM(TForm1::idMMService_OrigLang_Tat, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return run_.Block()->UILanguage == langTatar; })) << "the language stayed";
    const TTextWindow text(L"Без китапларны укыйбыз");
    const HWND popup = PopupOver(text, 6);
    ASSERT_NE(popup, nullptr) << "no popup came up";
    std::vector<TBand> analyses = WaitForLines(popup, LineStyles[lkAnalysis].Colour, 1);
    ASSERT_FALSE(analyses.empty()) << "the popup shows no analysis";
    const HWND card = ClickForCard(analyses.front());
    ASSERT_NE(card, nullptr) << "the click on the popup's analysis opened no card";
    analyses = WaitForLines(card, LineStyles[lkAnalysis].Colour, 1);
    ASSERT_FALSE(analyses.empty()) << "the card shows no analysis";
    ClickAt(analyses.front().Middle());
    const std::wstring plural = CategoryNames[langTatar][0];
    EXPECT_TRUE(PumpUntil([&] {
        SendMessageW(card, WM_COMMAND, 1, 0); // select all
        SendMessageW(card, WM_COMMAND, 0, 0); // copy
        return ClipboardText().find(plural) != std::wstring::npos;
    })) << "the card's notes are not in Tatar";
    EXPECT_EQ(ClipboardText().find(CategoryNames[langRussian][0]), std::wstring::npos);
    ExitFromTray(run_);
}

namespace {

// This process in the capture library's place: it writes the word into the library's block and
// reports it to the window the block names, as the library does when the mouse rests on a word.
class TCaptureReports {
public:
    TCaptureReports() {
        mapping_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, TextOutSpyBlockName);
        if (mapping_ != nullptr) {
            block_ = static_cast<TTextOutSpyBlock*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        }
    }
    ~TCaptureReports() {
        if (block_ != nullptr) {
            UnmapViewOfFile(block_);
        }
        if (mapping_ != nullptr) {
            CloseHandle(mapping_);
        }
    }
    TCaptureReports(const TCaptureReports&) = delete;
    TCaptureReports& operator=(const TCaptureReports&) = delete;

    bool Open() const { return block_ != nullptr && block_->TargetWindow != 0; }
    void Report(const std::string& utf8Word) {
        block_->TextBytes = static_cast<int32_t>(utf8Word.size());
        std::memset(block_->Text, 0, sizeof block_->Text);
        std::memcpy(block_->Text, utf8Word.data(), utf8Word.size());
        block_->CursorOffset = 2; // inside the first letter's two bytes
        SendMessageW(TextOutSpyFieldWindow(block_->TargetWindow), TextOutSpyMessage, 0, 0);
    }

private:
    HANDLE mapping_ = nullptr;
    TTextOutSpyBlock* block_ = nullptr;
};

int VisiblePopups(DWORD processId) {
    int count = 0;
    for (HWND window : TopWindows(processId)) {
        count += IsWindowVisible(window) && ClassNameOf(window) == kPopupClass ? 1 : 0;
    }
    return count;
}

// Watches from a thread of its own, as often as it can, for the most popups shown at once.
class TPopupWatch {
public:
    explicit TPopupWatch(DWORD processId)
        : thread_([this, processId] {
              while (!stop_) {
                  most_ = std::max(most_.load(), VisiblePopups(processId));
                  ++looks_;
              }
          }) {}
    ~TPopupWatch() { Stop(); }
    TPopupWatch(const TPopupWatch&) = delete;
    TPopupWatch& operator=(const TPopupWatch&) = delete;
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    int Most() const { return most_; }
    long Looks() const { return looks_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> most_{0};
    std::atomic<long> looks_{0};
    std::thread thread_;
};

// Words of the sample dictionary, each found; one differs from the next, so that none is taken
// for a repeat of the last.
const char* const kCapturedWords[] = {"китапларны", "урамда", "китапханә", "эне", "өй", "бала", "мәктәп"};
constexpr int kQuickCaptures = 200;
// A popup's fonts, caret and paint surface are made and freed with it, and the font table keeps
// what it made once: nothing may grow with the number of popups. The tolerance is for objects
// the system makes or frees on its own time (a device context cached by the window surface,
// a cursor or bitmap loaded once); a leak of one object per popup would show as 200.
constexpr long kObjectTolerance = 10;

void ExpectNoGrowth(const TGuiObjects& before, const TGuiObjects& after, const char* program) {
    SCOPED_TRACE(program);
    ASSERT_GE(before.Gdi, 0);
    ASSERT_GE(before.User, 0);
    EXPECT_LE(std::labs(after.Gdi - before.Gdi), kObjectTolerance) << before.Gdi << " -> " << after.Gdi;
    EXPECT_LE(std::labs(after.User - before.User), kObjectTolerance) << before.User << " -> " << after.User;
}

} // namespace

TEST_F(SystemRoads, WordsCapturedInQuickSuccessionShowOnePopupAtATimeAndLeaveNoObjectsBehind) {
    DWORD pemdrove = 0;
    GetWindowThreadProcessId(run_.MainWindow(), &pemdrove);
    // The pointer rests on an empty field of this process, where the library itself reads
    // nothing, and the popups open beside it.
    const TTextWindow rest(L"", 100, 500, 300);
    SetCursorPos(CentreOf(rest.Window()).x, CentreOf(rest.Window()).y);
    TCaptureReports capture;
    ASSERT_TRUE(capture.Open());
    const auto awayAndClosed = [&] {
        SetCursorPos(1200, 1000);
        return PumpUntil([&] { return VisiblePopups(tirel_) == 0; });
    };

    for (const char* word : kCapturedWords) { // whatever is made once is made here
        capture.Report(word);
    }
    ASSERT_TRUE(awayAndClosed());
    SetCursorPos(CentreOf(rest.Window()).x, CentreOf(rest.Window()).y);
    const TGuiObjects trayBefore = CountGuiObjects(tirel_);
    const TGuiObjects mainBefore = CountGuiObjects(pemdrove);

    TPopupWatch watch(tirel_);
    int shownAfterReport = 0;
    for (int k = 0; k < kQuickCaptures; ++k) {
        capture.Report(kCapturedWords[k % std::size(kCapturedWords)]);
        shownAfterReport += VisiblePopups(tirel_) == 1 ? 1 : 0;
    }
    watch.Stop();
    EXPECT_EQ(shownAfterReport, kQuickCaptures) << "a report showed no popup or more than one";
    EXPECT_LE(watch.Most(), 1) << "popups shown at once, in " << watch.Looks() << " looks";

    ASSERT_TRUE(awayAndClosed());
    ExpectNoGrowth(trayBefore, CountGuiObjects(tirel_), "Tirel");
    ExpectNoGrowth(mainBefore, CountGuiObjects(pemdrove), "Pemdrove");
    ExitFromTray(run_);
}
