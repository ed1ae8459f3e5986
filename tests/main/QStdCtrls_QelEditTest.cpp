#include <gtest/gtest.h>

#include "main/controls/QStdCtrls_Qel.h"
#include "tests/main/ControlsTestSupport.h"

namespace {

class TCountingEdit : public TCustomEdit_Qel {
public:
    using TCustomEdit_Qel::TCustomEdit_Qel;
    int Beeps = 0;
    void Beep() override { ++Beeps; }
};

class EditTest : public TControlTest {
protected:
    EditTest() : edit(host.Window()) {
        edit.SetBounds(10, 10, 200, 24);
        edit.OnChange = [this](TObject*) { ++changes; };
        edit.OnKeyDown = [this](TObject*, TKeyCode& key, TShiftState) {
            events.push_back("down " + std::to_string(key));
        };
        edit.OnKeyPress = [this](TObject*, wchar_t& key) { events.push_back("press " + std::to_string(key)); };
        edit.OnReturnPressed = [this](TObject*) { events.push_back("return"); };
    }

    TCountingEdit edit;
    int changes = 0;
    std::vector<std::string> events;
};

constexpr const char* Letters = "UR-XCVL-A";

} // namespace

TEST_F(EditTest, ChangeIsRaisedOncePerNewTextAndNeverForTheSameText) {
    edit.SetText(L"сүз");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(edit.Modified());
    edit.SetText(L"сүз");
    EXPECT_EQ(changes, 1);
    edit.SetModified(false);
    TypeText(edit.Handle(), L"ab");
    EXPECT_EQ(edit.Text(), L"сүзab");
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(edit.Modified());
}

TEST_F(EditTest, PasteInsertsTheClipboardsTextAndEmptiesIt) {
    edit.SetText(L"ab");
    edit.SetCursorPosition(1);
    PutClipboardText(L"әҗ");
    PressKey(edit.Handle(), 'V', ssCtrl);
    EXPECT_EQ(edit.Text(), L"aәҗb");
    EXPECT_EQ(ClipboardText(), L"");
    EXPECT_EQ(EnabledPattern(*edit.ContextMenuList, Letters)[5], '.');
    PressKey(edit.Handle(), 'V', ssCtrl);
    EXPECT_EQ(edit.Text(), L"aәҗb");
    EXPECT_EQ(events, std::vector<std::string>{}); // both keys consumed, characters and all
}

TEST_F(EditTest, APasteCutShortByTheLimitLeavesTheRestOnTheClipboard) {
    edit.SetMaxLength(5);
    edit.SetText(L"abc");
    edit.SetCursorPosition(3);
    PutClipboardText(L"12345");
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.Text(), L"abc12");
    EXPECT_EQ(ClipboardText(), L"345");
}

TEST_F(EditTest, ReadOnlyTakesNoPasteCutOrUndoAndTheirKeysAreSwallowed) {
    edit.SetText(L"abc");
    edit.SelectAll();
    edit.SetReadOnly(true);
    PutClipboardText(L"new");
    for (const UINT key : {'V', 'X', 'Z'}) {
        PressKey(edit.Handle(), key, ssCtrl);
    }
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.Text(), L"abc");
    EXPECT_EQ(ClipboardText(), L"new");
    EXPECT_EQ(events, std::vector<std::string>{});
}

TEST_F(EditTest, ADisabledHotKeyIsSwallowedWithItsCharacter) {
    edit.SetText(L"abc");
    PressKey(edit.Handle(), 'X', ssCtrl); // nothing selected: cut is disabled
    EXPECT_EQ(edit.Text(), L"abc");
    EXPECT_EQ(events, std::vector<std::string>{});
    PressKey(edit.Handle(), 'C', ssCtrl | ssShift); // not a hot key: goes on
    EXPECT_EQ(events.front(), "down 67");
}

TEST_F(EditTest, MenuEntriesAreEnabledAsTheStateAllows) {
    struct TCase {
        bool ReadOnly;
        const wchar_t* Typed;
        int Undos;
        bool Selection;
        const wchar_t* Clipboard;
        const char* Pattern;
    };
    const TCase cases[] = {
        {false, L"", 0, false, L"x", "..-..V.-."},
        {false, L"abc", 0, true, L"", "U.-XC.L-A"},
        {false, L"abc", 1, false, L"", "UR-...L-A"},
        {true, L"abc", 1, true, L"x", "..-.C..-A"},
    };
    for (const TCase& c : cases) {
        edit.SetReadOnly(false);
        edit.SetText(L"");
        TypeText(edit.Handle(), c.Typed);
        for (int i = 0; i < c.Undos; ++i) {
            edit.Undo();
        }
        if (c.Selection) {
            edit.SetSelStart(0);
            edit.SetSelLength(1);
        } else {
            edit.SetCursorPosition(0);
        }
        PutClipboardText(c.Clipboard);
        edit.SetReadOnly(c.ReadOnly);
        EXPECT_EQ(EnabledPattern(*edit.ContextMenuList, Letters), c.Pattern) << c.Pattern;
    }
}

TEST_F(EditTest, UndoAndRedoStepThroughSeveralEditsAndNotTheNativeSingleLevel) {
    TypeText(edit.Handle(), L"abc");
    PressKey(edit.Handle(), 'Z', ssCtrl);
    PressKey(edit.Handle(), 'Z', ssCtrl);
    EXPECT_EQ(edit.Text(), L"a");
    PressKey(edit.Handle(), 'B', ssCtrl);
    EXPECT_EQ(edit.Text(), L"ab");
    SendMessageW(edit.Handle(), EM_UNDO, 0, 0);
    EXPECT_EQ(edit.Text(), L"a");
    PressKey(edit.Handle(), VK_BACK, ssAlt);
    EXPECT_EQ(edit.Text(), L"");
    TypeText(edit.Handle(), L"x");
    EXPECT_FALSE(edit.CanRedo());
    edit.SetText(L"new"); // text set by the program starts a new history
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(EditTest, MaxLengthBeepsOnePrintableKeyTooMany) {
    edit.SetMaxLength(5);
    edit.SetText(L"abcde");
    edit.SetCursorPosition(5);
    TypeText(edit.Handle(), L"f");
    EXPECT_EQ(edit.Text(), L"abcde");
    EXPECT_EQ(edit.Beeps, 1);
    PressKey(edit.Handle(), VK_LEFT);
    EXPECT_EQ(edit.Beeps, 1);
    edit.SetSelStart(0);
    edit.SetSelLength(1);
    TypeText(edit.Handle(), L"f");
    EXPECT_EQ(edit.Text(), L"fbcde");
    EXPECT_EQ(edit.Beeps, 1);

    edit.SetMaxLength(-5);
    EXPECT_EQ(edit.MaxLength(), -1);
    EXPECT_EQ(SendMessageW(edit.Handle(), EM_GETLIMITTEXT, 0, 0), 32767);
}

TEST_F(EditTest, CharCaseAppliesToTypedLettersOnly) {
    edit.CharCase = ecLowerCase;
    TypeText(edit.Handle(), L"QW");
    TypeChar(edit.Handle(), L'\x4D8');
    PutClipboardText(L"ABC");
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.Text(), L"qw\x4D9"
                           L"ABC");
}

TEST_F(EditTest, TheRightButtonOpensTheMenuOnReleaseAndLeavesTheSelection) {
    TMenuRecorder menus;
    edit.SetText(L"abcdef");
    edit.SetSelStart(1);
    edit.SetSelLength(2);
    ClickMouse(edit.Handle(), {60, 5});
    EXPECT_EQ(menus.Shown, 1);
    EXPECT_EQ(edit.GetSelText(), L"bc");
    ASSERT_EQ(menus.Entries.size(), 9u);
    EXPECT_EQ(menus.Entries[3].Caption, L"Вырезать");
}

TEST_F(EditTest, ReturnAndKeypadEnterRaiseReturnPressedAfterKeyDown) {
    PressKey(edit.Handle(), VK_RETURN);
    PressKey(edit.Handle(), VK_RETURN, 0, true);
    const std::vector<std::string> expected = {"down 4100", "return", "press 13", "down 4101", "return", "press 13"};
    EXPECT_EQ(events, expected);
}

TEST_F(EditTest, AutoSizeFollowsTheFontAndKeepsThePlace) {
    const HFONT big = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    edit.SetFont(big);
    TOwnedWindowDC dc = GetOwnedWindowDC(edit.Handle());
    TSelectObject selected(dc.Get(), big);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    EXPECT_EQ(edit.Height(), metrics.tmHeight + metrics.tmExternalLeading + 8);
    EXPECT_EQ(edit.Left(), 10);
    EXPECT_EQ(edit.Top(), 10);
    EXPECT_EQ(edit.Width(), 200);
    edit.SetFont(nullptr);
    DeleteObject(big);
}

// The about window's address fields: read-only, no frame, a hand over them, a click opens.
TEST_F(EditTest, AReadOnlyAddressFieldShowsTheHandAndIsClicked) {
    int clicks = 0;
    edit.OnClick = [&](TObject*) { ++clicks; };
    edit.SetText(L"https://example.org");
    edit.SetReadOnly(true);
    edit.SetBorderStyle(bsNone);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    edit.SetCursor(hand);
    SendMessageW(edit.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(edit.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);
    ClickMouse(edit.Handle(), {5, 5}, false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetWindowLongPtrW(edit.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(edit.Text(), L"https://example.org");
}

TEST_F(EditTest, ARecreatedWidgetKeepsItsUtf16TextAndState) {
    edit.SetText(L"әҗүңһ");
    edit.SetCursorPosition(5);
    TypeChar(edit.Handle(), L'ө');
    edit.SetSelStart(2);
    edit.SetSelLength(2);
    const HWND before = edit.Handle();
    edit.SetAlignment(taCenter);
    EXPECT_NE(edit.Handle(), before);
    EXPECT_EQ(edit.Alignment(), taCenter);
    EXPECT_EQ(edit.Text(), L"әҗүңһө");
    EXPECT_EQ(edit.GetSelText(), L"үң");
    EXPECT_TRUE(edit.Modified());
    EXPECT_EQ(changes, 2);
    PressKey(edit.Handle(), 'Z', ssCtrl); // the history survives as well
    EXPECT_EQ(edit.Text(), L"әҗүңһ");
}
