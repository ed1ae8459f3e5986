#include "main/Main.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/GlobalCustoms.h"
#include "display/CardWindow.h"
#include "display/win32/Dpi.h"
#include "display/win32/WindowKit.h"
#include "main/About.h"
#include "main/Adjustment.h"
#include "main/GP.h"
#include "main/Help.h"
#include "main/MainDictHandler.h"
#include "main/InterfaceStrings.h"
#include "tests/main/ControlsTestSupport.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

// Two Tatar dictionaries and one Russian, a block of the test's own, and the main window.
class MainTest : public ::testing::Test {
protected:
    void SetUp() override {
        first_ = &dicts_.Open(TestDictImage(TatarEntries(), langTatar, L"Беренче"));
        second_ = &dicts_.Open(TestDictImage(TatarEntries(), langTatar, L"Икенче"));
        russian_ = &dicts_.Open(TestDictImage(RussianEntries(), langRussian, L"Урысча"));
        customs_->CurDict = 0;
        customs_->CurEntry = 0;
    }
    void TearDown() override { form_.reset(); }

    TForm1& Form() {
        if (!form_) {
            form_ = std::make_unique<TForm1>();
        }
        return *form_;
    }
    std::vector<std::wstring> ComboItems() {
        std::vector<std::wstring> items;
        for (int i = 0; i < Form().CB->Items().Count(); ++i) {
            items.push_back(Form().CB->Items().Get(i));
        }
        return items;
    }
    std::wstring CurrentHeadword() { return Form().Handler.Headword(Form().Handler.Current); }
    bool MenuEnabled(UINT id) {
        return !(GetMenuState(GetMenu(Form().Handle()), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }

    TTestCustoms customs_;
    TOpenDictionaries dicts_;
    TDictHandle* first_ = nullptr;
    TDictHandle* second_ = nullptr;
    TDictHandle* russian_ = nullptr;
    std::unique_ptr<TForm1> form_;
};

TEST_F(MainTest, CreationShowsTheBlocksDirectionDictionaryAndEntry) {
    customs_->CurDict = 1;
    customs_->CurEntry = EntryOf(*second_, L"ак", 2);
    TForm1& form = Form();
    EXPECT_EQ(ComboItems(), (std::vector<std::wstring>{L"Беренче", L"Икенче"}));
    EXPECT_EQ(form.CB->ItemIndex(), 1);
    EXPECT_EQ(form.Handler.Dict, second_);
    // The entry itself, not the first homonym the search finds for its headword.
    EXPECT_EQ(form.Handler.Current, EntryOf(*second_, L"ак", 2));
    EXPECT_EQ(form.Edit1->Text(), L"ак");
    EXPECT_EQ(form.TB.Text(), L"ак\rтечь");
    EXPECT_EQ(WindowText(form.lbOrigLang), L"Тат");
    EXPECT_EQ(WindowText(form.lbTransLang), L"Рус");
    EXPECT_TRUE(IsWindowEnabled(form.btnGP));
    EXPECT_TRUE(IsWindowEnabled(form.btnLang));
    EXPECT_EQ(customs_->CurDict, 1);
}

TEST_F(MainTest, ARussianSourceDisablesTheGenerator) {
    customs_->SourceLang = langRussian;
    customs_->TargetLang = langTatar;
    TForm1& form = Form();
    EXPECT_EQ(ComboItems(), std::vector<std::wstring>{L"Урысча"});
    EXPECT_EQ(WindowText(form.lbOrigLang), L"Рус");
    EXPECT_EQ(WindowText(form.lbTransLang), L"Тат");
    EXPECT_FALSE(IsWindowEnabled(form.btnGP));
    EXPECT_FALSE(MenuEnabled(TForm1::idMMTrans_GP));
}

TEST_F(MainTest, CaptionsFollowTheInterfaceLanguage) {
    struct Case {
        uint8_t Language;
        const wchar_t* Help;
        const wchar_t* Exit;
        const wchar_t* Copy;
        const wchar_t* Undo;
        UINT Checked;
    } cases[] = {
        {langRussian, L"Справка ТИРЕЛ", L"Выход\tCtrl+F12", L"Копировать", L"Отменить",
         TForm1::idMMService_OrigLang_Rus},
        {langTatar, L"Белешмә ТИРЕЛ", L"Чыгу\tCtrl+F12", L"Күчерме ясау", L"Кире кагу",
         TForm1::idMMService_OrigLang_Tat},
    };
    TForm1& form = Form();
    const HMENU menu = GetMenu(form.Handle());
    for (const Case& c : cases) {
        c.Language == langTatar ? form.MMService_ILang_TatClick() : form.MMService_ILang_RusClick();
        const int l = c.Language;
        EXPECT_EQ(customs_->UILanguage, c.Language);
        EXPECT_TRUE(MainWordChanged);
        EXPECT_EQ(MenuText(menu, TForm1::idMMHelp_Help), c.Help);
        EXPECT_EQ(MenuText(menu, TForm1::idMMTrans_Exit), c.Exit);
        EXPECT_EQ(MenuText(menu, 0, true), sTranslate[l]);
        EXPECT_EQ(MenuText(menu, 1, true), sService[l]);
        EXPECT_EQ(MenuText(menu, 2, true), sHelp[l]);
        EXPECT_EQ(MenuText(GetSubMenu(menu, 1), 0, true), sInterfaceLanguage[l]);
        EXPECT_EQ(MenuText(menu, TForm1::idMMService_DictMan), sDictionaries[l]);
        EXPECT_EQ(MenuText(menu, TForm1::idMMHelp_About), sAbout[l]);
        EXPECT_TRUE(GetMenuState(menu, c.Checked, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_EQ(WindowText(form.btnTrans), sTranslate[l]);
        EXPECT_EQ(WindowText(form.btnClose), sClose[l]);
        EXPECT_EQ(form.PM_TB[0].Caption, c.Copy);
        EXPECT_EQ(form.PM_TB[1].Caption, sSelectAll[l]);
        EXPECT_EQ((*form.Edit1->ContextMenuList)[0].Caption, c.Undo);
        EXPECT_EQ((*form.Edit1->ContextMenuList)[8].Caption, sSelectAll[l]);
        EXPECT_EQ((*form.Edit1->ContextMenuList)[2].Caption, L"-");
        EXPECT_EQ(form.Caption(), L"ТИРЕЛ");
    }
}

TEST_F(MainTest, SwappingTheDirectionRelabelsAndKeepsEachDirectionsDictionary) {
    TForm1& form = Form();
    form.CB->SetItemIndex(1);
    form.CBOnClick(nullptr);
    EXPECT_EQ(customs_->CurDict, 1);
    form.Edit1->SetText(L"акча");
    form.btnLangClick();
    EXPECT_EQ(customs_->SourceLang, langRussian);
    EXPECT_EQ(customs_->TargetLang, langTatar);
    EXPECT_EQ(WindowText(form.lbOrigLang), L"Рус");
    EXPECT_EQ(ComboItems(), std::vector<std::wstring>{L"Урысча"});
    EXPECT_EQ(form.Handler.Dict, russian_);
    EXPECT_EQ(customs_->CurDict, 0);
    EXPECT_FALSE(IsWindowEnabled(form.btnGP));
    form.btnLangClick();
    EXPECT_EQ(customs_->SourceLang, langTatar);
    EXPECT_EQ(form.CB->ItemIndex(), 1); // the dictionary last chosen for Tatar in this run
    EXPECT_EQ(form.Handler.Dict, second_);
    EXPECT_EQ(CurrentHeadword(), L"акча"); // with its own current entry
    EXPECT_TRUE(IsWindowEnabled(form.btnGP));
    EXPECT_TRUE(MenuEnabled(TForm1::idMMTrans_GP));
}

TEST_F(MainTest, ChoosingADictionaryKeepsTheWordAndShowsItsOwnEntry) {
    second_->CurEntry = EntryOf(*second_, L"ту");
    TForm1& form = Form();
    form.Edit1->SetText(L"абв");
    form.CB->SetItemIndex(1);
    form.CBOnClick(nullptr);
    EXPECT_EQ(customs_->CurDict, 1);
    EXPECT_EQ(CurrentHeadword(), L"ту");
    EXPECT_EQ(MainWord, L"ту");
    EXPECT_EQ(second_->CurFlags, posNoun);
}

// Enter in the word field does what the Translation button does; blanks around the word, as a
// pasted word brings them, are no part of it for the list or the card.
TEST_F(MainTest, EnterOpensTheCardOfTheWordWithoutTheBlanksAroundIt) {
    CardWindowInit();
    const struct TCardClass {
        ~TCardClass() { CardWindowDone(); }
    } cardClass;
    TForm1& form = Form();
    form.Edit1->SetText(L" абв\t ");
    EXPECT_EQ(CurrentHeadword(), L"абв");
    EXPECT_EQ(form.Edit1->Text(), L" абв\t "); // the text stays as typed
    const HWND before = CardWindow_LastCard();
    PressKey(form.Edit1->Handle(), VK_RETURN);
    const HWND card = CardWindow_LastCard();
    EXPECT_NE(card, before);
    if (CardWindow_IsCard(card)) {
        EXPECT_EQ(KitObject<TWindowData>(card)->Result[langTatar].Word, L"абв");
        DestroyWindow(card);
    } else {
        ADD_FAILURE() << "no card";
    }
}

// The focused control hands the wheel to the form, which scrolls what is under the cursor.
TEST_F(MainTest, TheWheelScrollsTheListOrTheArticleUnderTheCursor) {
    TForm1& form = Form();
    const int32_t current = form.Handler.Current;
    const int32_t first = form.Handler.Rows.front().Entry;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    RECT area = {};
    GetWindowRect(form.GroupBox1, &area);
    SendMessageW(form.Edit1->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(area.left + 20, area.top + 20));
    EXPECT_EQ(form.Handler.Rows.front().Entry, first + static_cast<int32_t>(lines));
    EXPECT_EQ(GetScrollPos(form.SB, SB_CTL), first + static_cast<int32_t>(lines));
    EXPECT_EQ(form.Handler.Current, current);

    std::wstring html = L"<HTML>";
    for (int k = 0; k < 100; ++k) {
        html += L"строка " + std::to_wstring(k) + L"<BR>";
    }
    form.TB.SetHtml(html + L"</HTML>");
    GetWindowRect(form.TB.Window(), &area);
    SendMessageW(form.Edit1->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(area.left + 20, area.top + 20));
    const LRESULT articleLine = SendMessageW(form.TB.Window(), EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(articleLine, 0);
    EXPECT_EQ(form.Handler.Rows.front().Entry, first + static_cast<int32_t>(lines));

    // The focused article hands on a wheel over the list.
    GetWindowRect(form.GroupBox1, &area);
    SendMessageW(form.TB.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(area.left + 20, area.top + 20));
    EXPECT_EQ(form.Handler.Rows.front().Entry, first);
    EXPECT_EQ(SendMessageW(form.TB.Window(), EM_GETFIRSTVISIBLELINE, 0, 0), articleLine);
}

TEST_F(MainTest, ResyncTakesOnlyValuesThatNameAnEntryOfTheShownDirection) {
    TForm1& form = Form();
    const int32_t last = second_->EntryCount - 1;
    struct Case {
        uint8_t Source;
        int32_t Dict;
        int32_t Entry;
        int32_t ShownDict; // -1: unchanged
        int32_t ShownEntry;
    } cases[] = {
        {langTatar, 1, EntryOf(*second_, L"ак", 3), 1, EntryOf(*second_, L"ак", 3)},
        {langTatar, 0, 7, 0, 7},
        {langTatar, 2, 3, -1, 7}, // no third Tatar dictionary
        {langTatar, -1, 3, -1, 7},
        {langTatar, 1, 1000000, 1, last}, // clamped
        {langRussian, 0, 2, -1, last},    // not the direction the window shows
        {7, 0, 2, -1, last},              // no language at all
        {langTatar, 0, -5, 0, 7},         // the dictionary's own entry
    };
    for (const Case& c : cases) {
        const int32_t dictBefore = form.Handler.DictIndex;
        const int32_t entryBefore = form.Handler.Current;
        customs_->SourceLang = c.Source;
        customs_->CurDict = c.Dict;
        customs_->CurEntry = c.Entry;
        form.ResyncFromShared();
        const int32_t dict = c.ShownDict < 0 ? dictBefore : c.ShownDict;
        EXPECT_EQ(form.Handler.DictIndex, dict) << c.Dict << " " << c.Entry;
        EXPECT_EQ(form.CB->ItemIndex(), dict);
        EXPECT_EQ(form.Handler.Current, c.ShownDict < 0 ? entryBefore : c.ShownEntry) << c.Dict << " " << c.Entry;
    }
}

TEST_F(MainTest, AnInterfaceLanguageOutOfRangeReadsAsRussian) {
    customs_->UILanguage = 9;
    TForm1& form = Form();
    EXPECT_EQ(MenuText(GetMenu(form.Handle()), TForm1::idMMHelp_Help), L"Справка ТИРЕЛ");
    EXPECT_EQ(WindowText(form.btnClose), L"Закрыть");
}

TEST_F(MainTest, FormsHaveAtLeastTheirScaledSizesAsClientAreasAndAreCentredWhole) {
    TForm3 dictionaries;
    TForm4 settings;
    TForm6 help;
    TForm7 about;
    struct Case {
        const TForm& Form;
        int Width;
        int Height;
    } cases[] = {
        {Form(), 655, 469}, {dictionaries, 559, 433}, {settings, 345, 379}, {help, 757, 520}, {about, 488, 229}};
    TUnitScale scale;
    scale.Units = MeasureFontUnits(FormFont(SystemDpi()));
    for (const Case& c : cases) {
        RECT client = {};
        GetClientRect(c.Form.Handle(), &client);
        EXPECT_GE(client.right, scale.X(c.Width));
        EXPECT_GE(client.bottom, scale.Y(c.Height));
        RECT outer = {};
        GetWindowRect(c.Form.Handle(), &outer);
        const POINT centred = CentredOnDesktop(outer.right - outer.left, outer.bottom - outer.top);
        EXPECT_EQ(outer.left, centred.x) << c.Width;
        EXPECT_EQ(outer.top, centred.y) << c.Width;
    }
}

TEST_F(MainTest, TheWordOfTheEntryGoesToTheGenerators) {
    TForm1& form = Form();
    MainWordChanged = false;
    form.Edit1->SetText(L"абага");
    EXPECT_EQ(MainWord, L"абага");
    EXPECT_TRUE(MainWordChanged);
}

TEST_F(MainTest, GeneratorWindowsFollowTheLanguageAndTheDirection) {
    customs_->UILanguage = langRussian;
    TForm1& form = Form();
    CreateParadigmGenerators();
    form.LocalizeCaptions();
    EXPECT_EQ(WindowText(Form5->btnClose()), L"Выход");
    form.btnGPClick();
    ASSERT_TRUE(Form5->Showing());
    SetWindowPos(Form5->Handle(), nullptr, 30, 40, 700, 450, SWP_NOZORDER);
    form.MMService_ILang_TatClick();
    EXPECT_FALSE(Form5->Showing());
    ASSERT_TRUE(GP_tat->Showing());
    RECT bounds = {};
    GetWindowRect(GP_tat->Handle(), &bounds);
    EXPECT_EQ(bounds.left, 30);
    EXPECT_EQ(bounds.top, 40);
    EXPECT_EQ(bounds.right - bounds.left, 700);
    EXPECT_EQ(bounds.bottom - bounds.top, 450);
    form.btnLangClick();
    EXPECT_FALSE(GP_tat->Showing());
    EXPECT_FALSE(Form5->Showing());
    FreeParadigmGenerators();
}

} // namespace
