#include <gtest/gtest.h>

#include "main/controls/QStdCtrls_Qel.h"
#include "tests/main/ControlsTestSupport.h"

namespace {

class MemoTest : public TControlTest {
protected:
    MemoTest() : memo(host.Window()) {
        memo.SetBounds(0, 0, 300, 200);
        memo.OnChange = [this](TObject*) { ++changes; };
        memo.OnKeyPress = [this](TObject*, wchar_t& key) { pressed += key; };
    }

    std::wstring Native() const { return EditText(memo.Handle()); }

    TMemo_Qel memo;
    int changes = 0;
    std::wstring pressed;
};

constexpr const char* Letters = "UR-XCVL-A";

} // namespace

TEST_F(MemoTest, ChangeIsRaisedOncePerNewTextAndNeverForTheSameText) {
    memo.SetText(L"a\nb");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(memo.Modified());
    memo.SetText(L"a\nb");
    EXPECT_EQ(changes, 1);
    memo.SetText(L"");
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(memo.Modified());
}

TEST_F(MemoTest, LinesAreReadAndWrittenThroughTheControl) {
    struct TCase {
        const wchar_t* Text;
        int Count;
        const wchar_t* ReadBack;
    };
    const TCase cases[] = {{L"a\nb\n", 2, L"a\nb"}, {L"", 0, L""}, {L"x", 1, L"x"}, {L"a\r\n\r\nb", 3, L"a\n\nb"}};
    for (const TCase& c : cases) {
        memo.SetText(c.Text);
        EXPECT_EQ(memo.Lines().Count(), c.Count) << c.Text;
        EXPECT_EQ(memo.Text(), c.ReadBack);
    }
    memo.SetText(L"a\nb");
    memo.Lines().Add(L"c");
    memo.Lines().Insert(0, L"z");
    memo.Lines().Delete(1);
    memo.Lines().Delete(9);
    EXPECT_EQ(memo.Text(), L"z\nb\nc");
    EXPECT_EQ(memo.Lines()[2], L"c");
    EXPECT_EQ(Native(), L"z\r\nb\r\nc\r\n");
}

TEST_F(MemoTest, TheClipboardGetsAndGivesLfWhileTheControlKeepsCrLf) {
    PutClipboardText(L"\xFEFF"
                     L"x\r\ny");
    PressKey(memo.Handle(), 'V', ssCtrl);
    EXPECT_EQ(memo.Text(), L"x\ny");
    EXPECT_EQ(Native(), L"x\r\ny");
    EXPECT_EQ(ClipboardText(), L"");
    EXPECT_EQ(EnabledPattern(*memo.ContextMenuList, Letters)[5], '.');
    memo.SelectAll();
    PressKey(memo.Handle(), 'C', ssCtrl);
    EXPECT_EQ(ClipboardText(), L"x\ny");
    memo.SetModified(false);
    PressKey(memo.Handle(), 'X', ssCtrl);
    EXPECT_EQ(ClipboardText(), L"x\ny");
    EXPECT_EQ(memo.Text(), L"");
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(pressed, L"");
}

TEST_F(MemoTest, OffsetsCountEveryLineBreakAsTwo) {
    memo.SetText(L"ab\ncd");
    memo.SetCaretPos({1, 1});
    EXPECT_EQ(memo.GetSelStart(), 5);
    struct TCase {
        int Offset;
        int Line, Col;
    };
    const TCase cases[] = {{5, 1, 1}, {4, 1, 0}, {1, 0, 1}, {99, 1, 2}};
    for (const TCase& c : cases) {
        memo.SetSelStart(c.Offset);
        EXPECT_EQ(memo.GetCaretPos().Line, c.Line) << c.Offset;
        EXPECT_EQ(memo.GetCaretPos().Col, c.Col) << c.Offset;
    }
    memo.SetSelStart(1);
    memo.SetSelLength(4);
    EXPECT_EQ(memo.GetSelText(), L"b\nc");
    EXPECT_EQ(memo.GetSelStart(), 1);
}

TEST_F(MemoTest, UndoAndRedoStepThroughSeveralEdits) {
    TypeText(memo.Handle(), L"ab");
    PressKey(memo.Handle(), VK_RETURN);
    TypeText(memo.Handle(), L"c");
    PressKey(memo.Handle(), 'Z', ssCtrl);
    PressKey(memo.Handle(), 'Z', ssCtrl);
    EXPECT_EQ(memo.Text(), L"ab");
    PressKey(memo.Handle(), 'B', ssCtrl);
    EXPECT_EQ(Native(), L"ab\r\n");
    EXPECT_EQ(EnabledPattern(*memo.ContextMenuList, Letters).substr(0, 2), "UR");
    memo.SetUndoLevels(0);
    EXPECT_EQ(EnabledPattern(*memo.ContextMenuList, Letters).substr(0, 2), "..");
}

TEST_F(MemoTest, MenuEntriesAreEnabledAsTheStateAllows) {
    struct TCase {
        const wchar_t* Typed;
        bool Modified;
        int SelectFrom, SelectTo; // -1: nothing selected
        bool ReadOnly;
        const wchar_t* Clipboard;
        const char* Pattern;
    };
    const TCase cases[] = {
        {L"", true, -1, -1, false, L"x", "..-..V.-."}, {L"ab", true, -1, -1, false, L"", "U.-...L-A"},
        {L"ab", true, 0, -1, false, L"", "U.-XC.L-."}, {L"ab", false, -1, -1, false, L"", "..-...L-A"},
        {L"ab", true, 0, 1, true, L"x", "..-.C..-A"},
    };
    for (const TCase& c : cases) {
        memo.SetReadOnly(false);
        memo.SetText(L"");
        TypeText(memo.Handle(), c.Typed);
        memo.SetModified(c.Modified);
        SendMessageW(memo.Handle(), EM_SETSEL, c.SelectFrom, c.SelectTo);
        memo.SetReadOnly(c.ReadOnly);
        PutClipboardText(c.Clipboard);
        EXPECT_EQ(EnabledPattern(*memo.ContextMenuList, Letters), c.Pattern) << c.Pattern;
    }
}

// The caret moves and the text can be copied, but nothing the user does changes it, and a paste
// refused leaves the clipboard as it was.
TEST_F(MemoTest, ReadOnlyWithCaretKeepsTheCaretAndChangesNothing) {
    memo.ReadOnlyWidthCaret = true;
    memo.SetText(L"abc\nde");
    memo.SetCaretPos({0, 3});
    PutClipboardText(L"z");
    TypeText(memo.Handle(), L"xy");
    PressKey(memo.Handle(), VK_BACK);
    PressKey(memo.Handle(), VK_RETURN);
    PressKey(memo.Handle(), VK_LEFT, 0, true);
    EXPECT_EQ(memo.GetCaretPos().Col, 2);
    PressKey(memo.Handle(), VK_DELETE, 0, true);
    PressKey(memo.Handle(), 'V', ssCtrl);
    PressKey(memo.Handle(), VK_INSERT, ssShift, true);
    SendMessageW(memo.Handle(), WM_PASTE, 0, 0);
    memo.SelectAll();
    PressKey(memo.Handle(), 'X', ssCtrl);
    PressKey(memo.Handle(), VK_DELETE, ssShift, true);
    SendMessageW(memo.Handle(), WM_CUT, 0, 0);
    SendMessageW(memo.Handle(), WM_CLEAR, 0, 0);
    EXPECT_EQ(memo.Text(), L"abc\nde");
    EXPECT_EQ(ClipboardText(), L"z");
    EXPECT_EQ(EnabledPattern(*memo.ContextMenuList, Letters), "..-.C..-.");
    PressKey(memo.Handle(), 'C', ssCtrl);
    EXPECT_EQ(ClipboardText(), L"abc\nde");
    EXPECT_EQ(pressed, L""); // no typed character came this far
}

TEST_F(MemoTest, WithoutWantReturnsOnlyCtrlReturnBreaksTheLine) {
    memo.SetWantReturns(false);
    memo.SetText(L"ab");
    memo.SetCaretPos({0, 1});
    PressKey(memo.Handle(), VK_RETURN);
    EXPECT_EQ(memo.Text(), L"ab");
    PressKey(memo.Handle(), VK_RETURN, ssCtrl);
    EXPECT_EQ(memo.Text(), L"a\nb");
    memo.SetWantReturns(true);
    PressKey(memo.Handle(), VK_RETURN);
    EXPECT_EQ(memo.Text(), L"a\n\nb");
}

TEST_F(MemoTest, LineFeedIsRaisedWhenTheCaretReachesAnotherLine) {
    memo.SetText(L"a\nb\nc\nd");
    memo.SetCaretPos({0, 0});
    std::vector<std::pair<int, int>> feeds;
    memo.OnLineFeed = [&](TObject*, int newLine, int oldLine) { feeds.emplace_back(newLine, oldLine); };
    PressKey(memo.Handle(), VK_HOME);
    feeds.clear();
    for (int i = 0; i < 3; ++i) {
        PressKey(memo.Handle(), VK_DOWN);
    }
    PressKey(memo.Handle(), VK_RIGHT);
    const std::vector<std::pair<int, int>> expected = {{1, 0}, {2, 1}, {3, 2}};
    EXPECT_EQ(feeds, expected);
}

TEST_F(MemoTest, WithoutItsOwnMenuTheFormsMenuShows) {
    TMenuRecorder menus;
    memo.SetText(L"abc");
    ClickMouse(memo.Handle(), {10, 10});
    EXPECT_EQ(menus.Entries.size(), 9u);
    memo.SetContextMenuList(nullptr);
    ClickMouse(memo.Handle(), {10, 10});
    EXPECT_EQ(menus.Shown, 1);
    TMenuList formMenu;
    formMenu.Add(NewMenuRec(L"copy", 0, nullptr, nullptr, nullptr));
    memo.PopupMenu = &formMenu;
    ClickMouse(memo.Handle(), {10, 10});
    EXPECT_EQ(menus.Shown, 2);
    EXPECT_EQ(menus.Entries.size(), 1u);
}

// The lines are never narrowed to an 8-bit code page, whatever re-creates the control.
TEST_F(MemoTest, ARecreatedWidgetKeepsItsUtf16LinesAndState) {
    memo.SetText(L"әҗ\nүңһө");
    memo.SetSelStart(1);
    memo.SetSelLength(5);
    const std::wstring selected = memo.GetSelText();
    HWND before = memo.Handle();
    memo.SetWordWrap(false);
    EXPECT_NE(memo.Handle(), before);
    before = memo.Handle();
    memo.SetAlignment(taRightJustify);
    EXPECT_NE(memo.Handle(), before);
    EXPECT_EQ(memo.Text(), L"әҗ\nүңһө");
    EXPECT_EQ(memo.GetSelText(), selected);
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(memo.Alignment(), taRightJustify);
    EXPECT_EQ(changes, 1);
}

TEST_F(MemoTest, MaxLengthCountsALineBreakAsOne) {
    memo.SetText(L"ab\ncd");
    memo.SetMaxLength(4);
    EXPECT_EQ(memo.Text(), L"ab\nc");
    memo.SetCaretPos({1, 1});
    TypeText(memo.Handle(), L"x");
    EXPECT_EQ(memo.Text(), L"ab\nc");
    memo.SetText(L"ab");
    memo.SetCaretPos({0, 2});
    PutClipboardText(L"xyz");
    memo.PasteFromClipboard();
    EXPECT_EQ(memo.Text(), L"abxy");
    EXPECT_EQ(ClipboardText(), L"z");
}

// The limit never leaves half of a surrogate pair, whether it is set, typed against or pasted to.
TEST_F(MemoTest, MaxLengthSplitsNoSurrogatePair) {
    const std::wstring pair = L"\xD83D\xDE00";
    memo.SetText(L"ab" + pair);
    memo.SetMaxLength(3);
    EXPECT_EQ(Native(), L"ab");
    memo.SetCaretPos({0, 2});
    TypeText(memo.Handle(), pair); // a pair comes as two characters
    EXPECT_EQ(Native(), L"ab");
    memo.SetMaxLength(4);
    TypeText(memo.Handle(), pair);
    EXPECT_EQ(Native(), L"ab" + pair);
    memo.SetText(L"ab");
    memo.SetMaxLength(3);
    memo.SetCaretPos({0, 2});
    PutClipboardText(pair + L"c");
    memo.PasteFromClipboard();
    EXPECT_EQ(Native(), L"ab");
    EXPECT_EQ(ClipboardText(), pair + L"c");
}

TEST_F(MemoTest, ScrollBarsAsNeededComeAndGoWithTheText) {
    std::wstring many;
    for (int i = 0; i < 40; ++i) {
        many += L"line\n";
    }
    struct TCase {
        TScrollStyle Bars;
        bool Wrap;
        DWORD Bar;
        std::wstring Short, Long;
    };
    const TCase cases[] = {
        {ssAutoVertical, true, WS_VSCROLL, L"a\nb", many},
        {ssAutoHorizontal, false, WS_HSCROLL, L"a", std::wstring(200, L'w')},
        {ssAutoBoth, true, WS_HSCROLL, L"a", std::wstring(200, L'w')}, // wrapped text needs no sideways bar
    };
    for (const TCase& c : cases) {
        memo.SetWordWrap(c.Wrap);
        memo.SetScrollBars(c.Bars);
        const auto shown = [&] { return (GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & c.Bar) != 0; };
        memo.SetText(c.Short);
        EXPECT_FALSE(shown()) << c.Bars;
        memo.SetText(c.Long);
        EXPECT_EQ(shown(), c.Bar == WS_VSCROLL || !c.Wrap) << c.Bars;
        memo.Clear();
        EXPECT_FALSE(shown()) << c.Bars;
    }
}

TEST_F(MemoTest, LinesSortAndTextIsFound) {
    memo.SetText(L"гөл\nалма\nбакча");
    memo.SortLines({});
    EXPECT_EQ(memo.Text(), L"алма\nбакча\nгөл");
    memo.SetCaretPos({0, 0});
    EXPECT_TRUE(memo.Search(L"БАКЧА", false));
    EXPECT_EQ(memo.GetSelText(), L"бакча");
    EXPECT_FALSE(memo.Search(L"алма", true)); // only after the caret
}

TEST_F(MemoTest, TabMovesTheFocusUnlessTheMemoWantsTabs) {
    TEdit_Qel next(host.Window());
    next.SetBounds(0, 220, 100, 24);
    ShowWindow(host.Window(), SW_SHOW);
    memo.SetFocus();
    PressKey(memo.Handle(), VK_TAB);
    EXPECT_EQ(GetFocus(), next.Handle());
    EXPECT_EQ(memo.Text(), L"");
    memo.WantTabs = true;
    memo.SetFocus();
    PressKey(memo.Handle(), VK_TAB);
    EXPECT_EQ(GetFocus(), memo.Handle());
    EXPECT_EQ(memo.Text(), L"\t");
}
