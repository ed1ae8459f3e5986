#include "main/controls/Menus_Qel.h"

#include <gtest/gtest.h>

#include "tests/main/ControlsTestSupport.h"

TEST(ShortCut, EncodesKeyAndModifiersAndRefusesOtherCodes) {
    struct TCase {
        TKeyCode Key;
        TShiftState Shift;
        TShortCut Expected;
        const wchar_t* Text;
    };
    const TCase cases[] = {
        {'C', ssCtrl, 0x4043, L"Ctrl+C"},
        {'V', ssCtrl, 0x4056, L"Ctrl+V"},
        {'X', ssCtrl, 0x4058, L"Ctrl+X"},
        {'Z', ssCtrl, 0x405A, L"Ctrl+Z"},
        {'B', ssCtrl, 0x4042, L"Ctrl+B"},
        {'M', ssCtrl, 0x404D, L"Ctrl+M"},
        {keyF1 + 11, ssCtrl, 20539, L"Ctrl+F12"},
        {keyDelete, ssShift | ssAlt, 0x1007 | 0x2000 | 0x8000, L"Shift+Alt+Del"},
        {0x1059, ssCtrl, 0, L""},
        {0x0100, 0, 0, L""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ShortCut(c.Key, c.Shift), c.Expected) << c.Key;
        EXPECT_EQ(ShortCutToText(c.Expected), c.Text) << c.Key;
    }
}

TEST(HotKeyList, TheFirstMatchingRecordDecidesAndADisabledOneIsStillConsumed) {
    std::vector<std::string> ran;
    THotKeyList keys;
    keys.Add(NewHotKeyRec(
        'C', ssCtrl, [&](TObject*) { ran.push_back("copy"); }, [] { return false; }));
    keys.Add(NewHotKeyRec(
        'C', ssCtrl, [&](TObject*) { ran.push_back("second copy"); }, nullptr));
    keys.Add(NewHotKeyRec(
        'V', ssCtrl, [&](TObject*) { ran.push_back("paste"); }, nullptr));
    keys.Add(NewHotKeyRec('X', ssCtrl, nullptr, [] { return true; }));
    struct TCase {
        TShortCut Key;
        bool Consumed;
        std::vector<std::string> Ran;
    };
    const TCase cases[] = {
        {0x4043, true, {}}, {0x4056, true, {"paste"}}, {0x4058, true, {}}, {0x405A, false, {}}, {0x0056, false, {}},
    };
    for (const TCase& c : cases) {
        ran.clear();
        EXPECT_EQ(keys.Dispatch(nullptr, c.Key), c.Consumed) << c.Key;
        EXPECT_EQ(ran, c.Ran) << c.Key;
    }
}

TEST(MenuList, BuildsTheMenuWithTheEnabledTestsOfThisMoment) {
    bool canPaste = false;
    auto sub = std::make_unique<TMenuList>();
    sub->Add(NewMenuRec(L"inner", 0, nullptr, nullptr, [] { return false; }));
    TMenuList list;
    list.Add(NewMenuRec(L"Вставить", ShortCut('V', ssCtrl), nullptr, nullptr, [&] { return canPaste; }));
    list.Add(NewMenuRec(L"-", 0, nullptr, nullptr, nullptr));
    list.Add(NewMenuRec(L"always", 0, nullptr, nullptr, nullptr));
    list.Add(NewMenuRec(L"more", 0, std::move(sub), nullptr, nullptr));
    const auto first = list.BuildPopupMenu();
    canPaste = true;
    const auto second = list.BuildPopupMenu();
    ASSERT_EQ(first->Items().size(), 4u);
    EXPECT_FALSE(first->Items()[0]->Enabled);
    EXPECT_TRUE(second->Items()[0]->Enabled);
    EXPECT_TRUE(first->Items()[2]->Enabled);
    ASSERT_EQ(first->Items()[3]->Items.size(), 1u);
    EXPECT_FALSE(first->Items()[3]->Items[0]->Enabled);
    EXPECT_EQ(GetMenuItemCount(first->Handle()), 4);
    EXPECT_EQ(GetMenuState(first->Handle(), 0, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(first->Handle(), 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

TEST(MenuList, RunsTheChosenEntryAndDestroysTheMenuOnceItCloses) {
    TTestHost host;
    TMenuRecorder menus;
    menus.Choose = L"second";
    const TMenuItem* sender = nullptr; // gone with the menu: only compared, never read
    int clicks = 0;
    TMenuList list;
    list.Add(NewMenuRec(
        L"first", 0, nullptr, [&](TObject*) { clicks += 10; }, nullptr));
    list.Add(NewMenuRec(
        L"second", 0, nullptr, [&](TObject* item) { ++clicks, sender = dynamic_cast<TMenuItem*>(item); }, nullptr));
    EXPECT_TRUE(list.PopupAtCursor(host.Window(), {20, 20}));
    EXPECT_EQ(clicks, 1);
    EXPECT_NE(sender, nullptr);
    ASSERT_EQ(menus.Menus.size(), 1u);
    EXPECT_FALSE(IsMenu(menus.Menus[0]));

    TMenuList empty;
    EXPECT_TRUE(empty.PopupAtCursor(host.Window(), {20, 20}));
    EXPECT_EQ(menus.Shown, 2);
    EXPECT_TRUE(menus.Entries.empty());
}

TEST(MenuList, ClearingFreesEveryRecordWithItsSubmenus) {
    const auto witness = std::make_shared<int>(0);
    auto sub = std::make_unique<TMenuList>();
    sub->Add(NewMenuRec(
        L"inner", 0, nullptr, [witness](TObject*) {}, nullptr));
    TMenuList list;
    list.Add(NewMenuRec(
        L"outer", 0, std::move(sub), [witness](TObject*) {}, nullptr));
    EXPECT_EQ(witness.use_count(), 3);
    list.Clear();
    EXPECT_EQ(witness.use_count(), 1);
    EXPECT_EQ(list.Count(), 0);
    try {
        list[0];
        ADD_FAILURE() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (0)");
    }
}
