#include <gtest/gtest.h>

#include "main/controls/QStdCtrls_Qel.h"
#include "tests/main/ControlsTestSupport.h"

namespace {

class ComboBoxTest : public TControlTest {
protected:
    ComboBoxTest() : combo(host.Window()) {
        combo.SetBounds(10, 10, 200, 0);
        combo.OnChange = [this](TObject*) { events.push_back("change"); };
        combo.OnClick = [this](TObject*) { events.push_back("click"); };
        combo.OnSelect = [this](TObject*, int index) { events.push_back("select " + std::to_string(index)); };
        combo.OnKeyPress = [this](TObject*, wchar_t&) { events.push_back("press"); };
    }

    void Fill(std::initializer_list<const wchar_t*> texts) {
        TListObject object = nullptr;
        for (const wchar_t* text : texts) {
            combo.Items().AddObject(text, object = static_cast<char*>(object) + 1);
        }
    }
    std::wstring Joined() const {
        std::wstring joined;
        for (int i = 0; i < combo.Items().Count(); ++i) {
            joined += (i ? L"," : L"") + combo.Items()[i];
        }
        return joined;
    }

    TComboBox_Qel combo;
    std::vector<std::string> events;
};

std::wstring ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EStringListError& e) {
        return e.Message();
    }
    return L"";
}

} // namespace

TEST_F(ComboBoxTest, AddingBeyondMaxItemsFailsAndAddsNothing) {
    combo.SetMaxItems(3);
    Fill({L"a", L"b", L"c"});
    EXPECT_EQ(ErrorOf([&] { combo.Items().Add(L"d"); }), L"List capacity out of bounds (3)");
    EXPECT_EQ(Joined(), L"a,b,c");
    combo.SetMaxItems(0);
    combo.Items().Clear();
    EXPECT_NE(ErrorOf([&] { combo.Items().Add(L"a"); }), L"");
    EXPECT_EQ(combo.Items().Count(), 0);
    combo.SetMaxItems(-1);
    for (int i = 0; i < 40; ++i) {
        combo.Items().Add(std::to_wstring(i));
    }
    EXPECT_EQ(combo.Items().Count(), 40);
}

TEST_F(ComboBoxTest, DuplicatesFollowThePolicy) {
    struct TCase {
        TDuplicates Policy;
        const wchar_t* Error;
        const wchar_t* Items;
    };
    const TCase cases[] = {
        {dupIgnore, L"", L"alpha"},
        {dupError, L"String list does not allow duplicates", L"alpha"},
        {dupAccept, L"", L"alpha,ALPHA"},
    };
    for (const TCase& c : cases) {
        combo.Items().Clear();
        combo.SetDuplicates(c.Policy);
        Fill({L"alpha"});
        EXPECT_EQ(ErrorOf([&] { combo.Items().Add(L"ALPHA"); }), c.Error);
        EXPECT_EQ(Joined(), c.Items);
    }
}

// Replacing a line by a duplicate never loses the line or its object.
TEST_F(ComboBoxTest, ReplacingByADuplicateKeepsTheLineAndItsObject) {
    struct TCase {
        TDuplicates Policy;
        int Index;
        const wchar_t* Text;
        int Result;
        const wchar_t* Error;
        const wchar_t* Items;
        int ObjectAt; // where the replaced line's object ends up
    };
    const TCase cases[] = {
        {dupIgnore, 1, L"GAMMA", 2, L"", L"alpha,beta,gamma", 1},
        {dupError, 1, L"GAMMA", 0, L"String list does not allow duplicates", L"alpha,beta,gamma", 1},
        {dupIgnore, 1, L"BETA", 1, L"", L"alpha,BETA,gamma", 1},
        {dupIgnore, 0, L"zeta", 2, L"", L"beta,gamma,zeta", 2},
    };
    for (const TCase& c : cases) {
        combo.Items().Clear();
        combo.SetDuplicates(dupAccept);
        Fill({L"alpha", L"beta", L"gamma"});
        const TListObject moved = combo.Items().GetObject(c.Index);
        combo.SetDuplicates(c.Policy);
        int result = -1;
        EXPECT_EQ(ErrorOf([&] { result = combo.Items().ReplaceSorted(c.Index, c.Text); }), c.Error);
        EXPECT_EQ(Joined(), c.Items);
        EXPECT_EQ(combo.Items().IndexOfObject(moved), c.ObjectAt) << c.Text;
        if (*c.Error == 0) {
            EXPECT_EQ(result, c.Result) << c.Text;
        }
    }
    combo.SetDuplicates(dupIgnore);
    combo.Items().Put(0, L"Gamma");
    EXPECT_EQ(Joined(), L"beta,gamma,zeta");
    combo.SetMaxItems(3);
    EXPECT_NE(ErrorOf([&] { combo.Items().ReplaceSorted(-1, L"omega"); }), L"");
    EXPECT_EQ(Joined(), L"beta,gamma,zeta");
}

// Lines that change places keep their objects under every policy, and sorting sorts.
TEST_F(ComboBoxTest, ExchangeMoveAndSortKeepEachLineWithItsObject) {
    struct TCase {
        const char* What;
        std::function<void(TWideStrings&)> Action;
        const wchar_t* Items;
    };
    const TCase cases[] = {
        {"exchange", [](TWideStrings& items) { items.Exchange(0, 2); }, L"gamma,alpha,delta,beta"},
        {"move", [](TWideStrings& items) { items.Move(0, 3); }, L"alpha,gamma,beta,delta"},
        {"sort", [](TWideStrings& items) { items.Sort({}); }, L"alpha,beta,delta,gamma"},
    };
    const std::wstring filled[] = {L"delta", L"alpha", L"gamma", L"beta"}; // objects 1..4
    for (const TDuplicates policy : {dupIgnore, dupAccept, dupError}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(c.What) + " under policy " + std::to_string(policy));
            combo.Items().Clear();
            Fill({L"delta", L"alpha", L"gamma", L"beta"});
            combo.SetDuplicates(policy);
            combo.SetItemIndex(1);
            EXPECT_EQ(ErrorOf([&] { c.Action(combo.Items()); }), L"");
            EXPECT_EQ(Joined(), c.Items);
            for (int i = 0; i < combo.Items().Count(); ++i) {
                const auto object = reinterpret_cast<intptr_t>(combo.Items().GetObject(i));
                ASSERT_TRUE(object >= 1 && object <= 4);
                EXPECT_EQ(combo.Items()[i], filled[object - 1]);
            }
            EXPECT_EQ(combo.ItemIndex(), 1);
            combo.SetDuplicates(dupAccept);
        }
    }
    EXPECT_NE(ErrorOf([&] { combo.Items().Move(0, 4); }), L"");
    EXPECT_EQ(Joined(), L"alpha,beta,delta,gamma");
}

TEST_F(ComboBoxTest, DeletingKeepsTheCurrentItemWhereItCan) {
    struct TCase {
        int Current, Deleted;
        int Index;
        const wchar_t* Text;
    };
    const TCase cases[] = {{2, 0, 1, L"c"}, {2, 2, 2, L"d"}, {4, 4, -1, L""}, {1, 3, 1, L"b"}, {-1, 0, -1, L""}};
    for (const TCase& c : cases) {
        combo.Items().Clear();
        Fill({L"a", L"b", L"c", L"d", L"e"});
        combo.SetItemIndex(c.Current);
        combo.Items().Delete(c.Deleted);
        EXPECT_EQ(combo.ItemIndex(), c.Index) << c.Current << " " << c.Deleted;
        EXPECT_EQ(combo.Text(), c.Text) << c.Current << " " << c.Deleted;
    }
    combo.Items().Put(1, L"zz");
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(ErrorOf([&] { combo.Items()[7]; }), L"List index out of bounds (7)");
}

TEST_F(ComboBoxTest, EnterStoresTheEditedTextAtItsSortedPlace) {
    Fill({L"alpha", L"beta", L"gamma"});
    TypeText(combo.EditField(), L"delta");
    PressKey(combo.EditField(), VK_RETURN);
    EXPECT_EQ(Joined(), L"alpha,beta,delta,gamma");
    EXPECT_EQ(combo.ItemIndex(), 2);

    combo.SetItemIndex(1); // beta, with its object
    const TListObject object = combo.Items().GetObject(1);
    combo.SelectAll();
    TypeText(combo.EditField(), L"zeta");
    PressKey(combo.EditField(), VK_RETURN);
    EXPECT_EQ(Joined(), L"alpha,delta,gamma,zeta");
    EXPECT_EQ(combo.ItemIndex(), 3);
    EXPECT_EQ(combo.Items().GetObject(3), object);
    EXPECT_EQ(std::count(events.begin(), events.end(), "press"), 9); // Enter never reaches the key events
}

TEST_F(ComboBoxTest, ChangeIsRaisedOncePerNewText) {
    combo.SetText(L"new");
    combo.SetText(L"new");
    TypeText(combo.EditField(), L"ab");
    EXPECT_EQ(std::count(events.begin(), events.end(), "change"), 3);
    EXPECT_EQ(combo.Text(), L"newab");
    Fill({L"one"});
    events.clear();
    combo.SetText(L"ONE"); // an item's text makes it current
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(events, std::vector<std::string>{"change"});
}

TEST_F(ComboBoxTest, ChoosingFromADropDownListClicksChangesAndSelects) {
    combo.SetStyle(csDropDownList);
    Fill({L"one", L"two"});
    combo.SetItemIndex(0);
    events.clear();
    PressKey(combo.Handle(), VK_DOWN);
    const std::vector<std::string> expected = {"click", "change", "select 1"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(combo.Text(), L"two");
}

// A mouse choice from the dropped list: one round of events, every one with the new index.
TEST_F(ComboBoxTest, AMouseChoiceFromTheDroppedListRaisesItsEventsOnce) {
    combo.SetStyle(csDropDownList);
    Fill({L"one", L"two", L"three"});
    combo.SetItemIndex(0);
    combo.OnClick = [this](TObject*) { events.push_back("click " + std::to_string(combo.ItemIndex())); };
    combo.OnChange = [this](TObject*) { events.push_back("change " + std::to_string(combo.ItemIndex())); };
    events.clear();
    combo.SetDroppedDown(true);
    Pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo.Handle(), &info));
    const int height = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    ClickMouse(info.hwndList, {5, height * 2 + height / 2}, false);
    const std::vector<std::string> expected = {"click 2", "change 2", "select 2"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(combo.Text(), L"three");
}

TEST_F(ComboBoxTest, HotKeysAndTheCaseFilterWorkOnTheEditField) {
    combo.CharCase = ecUpperCase;
    PressKey(combo.EditField(), 'X', ssCtrl); // empty: disabled, and swallowed
    TypeText(combo.EditField(), L"q5");
    EXPECT_EQ(combo.Text(), L"Q5");
    EXPECT_EQ(std::count(events.begin(), events.end(), "press"), 2);
    combo.SelectAll();
    PressKey(combo.EditField(), 'X', ssCtrl);
    EXPECT_EQ(combo.Text(), L"");
    EXPECT_EQ(ClipboardText(), L"Q5");
}

TEST_F(ComboBoxTest, AutoCompleteOffersTheFirstItemThatBeginsWithTheTypedText) {
    Fill({L"beta", L"Alphabet", L"alpha"});
    combo.AutoComplete = true;
    TypeText(combo.EditField(), L"al");
    EXPECT_EQ(combo.Text(), L"alphabet");
    EXPECT_EQ(EditSelectedText(combo.EditField()), L"phabet");
    combo.AutoComplete = false;
    combo.SetText(L"");
    TypeText(combo.EditField(), L"al");
    EXPECT_EQ(combo.Text(), L"al");
}

TEST_F(ComboBoxTest, PasteEmptiesTheClipboardOrLeavesWhatDidNotFit) {
    PutClipboardText(L"word");
    PressKey(combo.EditField(), 'V', ssCtrl);
    EXPECT_EQ(combo.Text(), L"word");
    EXPECT_EQ(ClipboardText(), L"");
    combo.SetMaxLength(6);
    PutClipboardText(L"1234");
    combo.PasteFromClipboard();
    EXPECT_EQ(combo.Text(), L"word12");
    EXPECT_EQ(ClipboardText(), L"34");
}

TEST_F(ComboBoxTest, MenuEntriesAreEnabledAsTheStateAllows) {
    EXPECT_EQ(EnabledPattern(*combo.ContextMenuList, "XCVL-A"), "....-.");
    Fill({L"one"});
    combo.SetText(L"ab");
    PutClipboardText(L"x");
    EXPECT_EQ(EnabledPattern(*combo.ContextMenuList, "XCVL-A"), "XCVL-A");
    TMenuRecorder menus;
    menus.Choose = L"Очистить";
    ClickMouse(combo.EditField(), {5, 5});
    EXPECT_EQ(menus.Shown, 1);
    EXPECT_EQ(combo.Text(), L"");
    EXPECT_EQ(combo.Items().Count(), 1);

    combo.SetStyle(csDropDownList); // no edit field: no menu, no hot keys
    Fill({L"one"});
    combo.SetItemIndex(0);
    ClickMouse(combo.Handle(), {5, 5});
    EXPECT_EQ(menus.Shown, 1);
    EXPECT_EQ(EnabledPattern(*combo.ContextMenuList, "XCVL-A"), ".C.L-.");
}

TEST_F(ComboBoxTest, ANewStyleRecreatesTheWidgetWithoutItsItems) {
    Fill({L"a", L"b"});
    combo.SetMaxLength(7);
    combo.CharCase = ecLowerCase;
    combo.SetDuplicates(dupError);
    combo.SetText(L"сүз");
    combo.SetStyle(csOwnerDrawFixed);
    EXPECT_EQ(combo.EditField(), nullptr);
    EXPECT_EQ(combo.Items().Count(), 0);
    combo.SetStyle(csDropDown);
    ASSERT_NE(combo.EditField(), nullptr);
    EXPECT_EQ(combo.MaxLength(), 7);
    EXPECT_EQ(combo.CharCase, ecLowerCase);
    EXPECT_EQ(combo.Duplicates(), dupError);
    EXPECT_EQ(combo.Left(), 10);
    EXPECT_EQ(combo.Width(), 200);
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheEvents) {
    combo.SetStyle(csOwnerDrawVariable);
    combo.SetItemHeight(20);
    EXPECT_EQ(combo.Height(), 26);
    combo.OnMeasureItem = [](TObject*, int index, int& height) { height = 10 + index; };
    Fill({L"a", L"b", L"c"});
    EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETITEMHEIGHT, 2, 0), 12);

    std::vector<int> drawn;
    HDC canvas = nullptr;
    combo.OnDrawItem = [&](TObject*, int index, RECT, TOwnerDrawState) {
        drawn.push_back(index);
        canvas = combo.Canvas();
    };
    TOwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    DRAWITEMSTRUCT item{ODT_COMBOBOX, 0, 1, ODA_DRAWENTIRE, 0, combo.Handle(), dc.Get(), {0, 0, 50, 12}, 0};
    SendMessageW(host.Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(drawn, std::vector<int>{1});
    EXPECT_EQ(canvas, dc.Get());
    EXPECT_EQ(combo.Canvas(), nullptr);
}
