#include "main/GP.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include "main/Main.h"
#include "tests/main/ControlsTestSupport.h"
#include "tests/main/GPTestSupport.h"

namespace {

using C = TGP_Control;

std::vector<bool> EnabledOf(const TGP_Form& form, std::initializer_list<C> controls) {
    std::vector<bool> enabled;
    for (C control : controls) {
        enabled.push_back(IsEnabled(form, control));
    }
    return enabled;
}

constexpr std::initializer_list<C> kVerbCategoryButtons = {
    C::VerbTime_Present, C::VerbTime_PastDef, C::VerbTime_PastUnDef, C::VerbTime_FutureDef, C::VerbTime_FutureUndef,
    C::VerbFace_Prim,    C::VerbFace_Sec,     C::VerbFace_Tret,      C::VerbNum_Single,     C::VerbNum_Plural,
};

} // namespace

TEST_F(GPWindow, AfterCreationTheNounPanelShowsWithTheFirstButtonOfEveryGroupChecked) {
    EXPECT_EQ(ShownPanel(form), C::NounsPanel);
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        if (row.Kind == TGP_Kind::RadioButton) {
            EXPECT_EQ(IsChecked(form, row.Id), row.Checked) << static_cast<int>(row.Id);
        }
    }
    EXPECT_EQ(CheckedAmong(form, kVerbCategoryButtons), std::vector<C>());
    for (C control : kVerbCategoryButtons) {
        EXPECT_FALSE(IsEnabled(form, control)) << static_cast<int>(control);
    }
    EXPECT_EQ(EnabledOf(form, {C::GB_Verb_Time, C::GB_Verb_Face, C::GB_Verb_Num, C::GB_Verb_Kind, C::VerbAbsent}),
              std::vector<bool>({false, false, false, true, true}));
    EXPECT_EQ(form.Remembered(C::GB_Verb_Time), C::VerbTime_Present);
    EXPECT_EQ(form.Remembered(C::GB_Verb_Face), C::VerbFace_Prim);
    EXPECT_EQ(form.Remembered(C::GB_Verb_Num), C::VerbNum_Single);
    EXPECT_EQ(form.edBase().Text(), L"");
    EXPECT_EQ(form.TB().Text(), L"");
    EXPECT_EQ(recorder.Take(), TCalls());
    EXPECT_FALSE(form.Showing());
    EXPECT_EQ(
        std::vector<int>({form.PartOfSpeechCode(), form.NounCaseCode(), form.NounPossessorCode(), form.NounNumberCode(),
                          form.AdjDegreeCode(), form.DigCaseCode(), form.DigKindCode(), form.VerbKindCode(),
                          form.VerbTenseCode(), form.VerbPersonCode(), form.VerbNumberCode(), form.VerbNegation()}),
        std::vector<int>({1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0}));
}

TEST_F(GPWindow, AGroupWithNoButtonCheckedReadsAsNoneAndNothingIsBuilt) {
    struct TCase {
        C Group;
        uint8_t (TGP_Form::*Reader)() const;
        uint8_t None;
    };
    const TCase cases[] = {
        {C::GB_Main, &TGP_Form::PartOfSpeechCode, 16},
        {C::GB_Nouns_Pad, &TGP_Form::NounCaseCode, 0},
        {C::GB_Nouns_Face, &TGP_Form::NounPossessorCode, 0},
        {C::GB_Nouns_Num, &TGP_Form::NounNumberCode, 0},
        {C::GB_Adj, &TGP_Form::AdjDegreeCode, 0},
        {C::GB_Dig_Pad, &TGP_Form::DigCaseCode, 0},
        {C::GB_Dig_Kind, &TGP_Form::DigKindCode, 0},
        {C::GB_Verb_Kind, &TGP_Form::VerbKindCode, 0},
    };
    for (const TCase& c : cases) {
        for (size_t i = 0; i < GP_ControlCount; ++i) {
            if (GP_Controls[i].Parent == c.Group && GP_Controls[i].Kind == TGP_Kind::RadioButton) {
                SendMessageW(form.Control(GP_Controls[i].Id), BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
        EXPECT_EQ((form.*c.Reader)(), c.None) << static_cast<int>(c.Group);
    }
    form.edBase().SetText(L"китап");
    EXPECT_EQ(recorder.Take(), TCalls());
    EXPECT_EQ(form.TB().Text(), L"");
}

TEST_F(GPWindow, VerbKindsDisableAndBringBackTensePersonAndNumber) {
    form.Show();
    form.edBase().SetText(L"бару");
    recorder.Take();
    struct TStep {
        C Button;
        TCalls Calls;
        std::vector<bool> Enabled; // tense, person, number
        std::vector<C> Checked;    // among the tense, person and number buttons
    };
    const std::vector<bool> none = {false, false, false}, all = {true, true, true}, notTense = {false, true, true};
    const TStep steps[] = {
        {C::GB_Main_Verb, {L"verb бару 1 0 0 0 0"}, none, {}},
        {C::VerbKind_Appear,
         {L"verb бару 5 1 0 0 0", L"verb бару 5 1 1 0 0", L"verb бару 5 1 1 1 0", L"verb бару 5 1 1 1 0"},
         all,
         {C::VerbTime_Present, C::VerbFace_Prim, C::VerbNum_Single}},
        {C::VerbTime_PastDef,
         {L"verb бару 5 2 1 1 0"},
         all,
         {C::VerbTime_PastDef, C::VerbFace_Prim, C::VerbNum_Single}},
        {C::VerbFace_Tret, {L"verb бару 5 2 3 1 0"}, all, {C::VerbTime_PastDef, C::VerbFace_Tret, C::VerbNum_Single}},
        {C::VerbNum_Plural, {L"verb бару 5 2 3 2 0"}, all, {C::VerbTime_PastDef, C::VerbFace_Tret, C::VerbNum_Plural}},
        {C::VerbKind_NameAction, {L"verb бару 2 0 0 0 0"}, none, {}},
        {C::VerbKind_Appear,
         {L"verb бару 5 2 0 0 0", L"verb бару 5 2 3 0 0", L"verb бару 5 2 3 2 0", L"verb бару 5 2 3 2 0"},
         all,
         {C::VerbTime_PastDef, C::VerbFace_Tret, C::VerbNum_Plural}},
        {C::VerbKind_Stimulate, {L"verb бару 3 0 3 2 0"}, notTense, {C::VerbFace_Tret, C::VerbNum_Plural}},
        {C::VerbKind_Infinitive, {L"verb бару 1 0 0 0 0"}, none, {}},
        {C::VerbKind_Condition,
         {L"verb бару 4 0 3 0 0", L"verb бару 4 0 3 2 0", L"verb бару 4 0 3 2 0"},
         notTense,
         {C::VerbFace_Tret, C::VerbNum_Plural}},
        {C::VerbAbsent, {L"verb бару 4 0 3 2 1"}, notTense, {C::VerbFace_Tret, C::VerbNum_Plural}},
        {C::VerbKind_Infinitive, {L"verb бару 1 0 0 0 1"}, none, {}},
        {C::VerbKind_Infinitive, {L"verb бару 1 0 0 0 1"}, none, {}},
    };
    for (const TStep& step : steps) {
        Click(form, step.Button);
        EXPECT_EQ(recorder.Take(), step.Calls) << static_cast<int>(step.Button);
        EXPECT_EQ(EnabledOf(form, {C::GB_Verb_Time, C::GB_Verb_Face, C::GB_Verb_Num}), step.Enabled)
            << static_cast<int>(step.Button);
        EXPECT_EQ(EnabledOf(form, {C::VerbTime_Present, C::VerbFace_Prim, C::VerbNum_Single}), step.Enabled)
            << static_cast<int>(step.Button);
        EXPECT_EQ(CheckedAmong(form, kVerbCategoryButtons), step.Checked) << static_cast<int>(step.Button);
        EXPECT_TRUE(IsEnabled(form, C::VerbAbsent));
        if (GP_Row(step.Button).Parent == C::GB_Verb_Kind) {
            EXPECT_EQ(GetFocus(), form.Control(step.Button)) << static_cast<int>(step.Button);
        }
    }
    EXPECT_EQ(ShownPanel(form), C::VerbPanel);
}

TEST_F(GPWindow, NumeralCasesOtherThanTheBaseCaseAllowOnlyCardinalAndOrdinal) {
    form.Show();
    form.edBase().SetText(L"ике");
    recorder.Take();
    struct TStep {
        C Button;
        TCalls Calls;
        std::vector<bool> KindsEnabled;
        C CheckedKind;
    };
    const std::vector<bool> all(5, true), two = {true, true, false, false, false};
    const TStep steps[] = {
        {C::GB_Main_Dig, {L"num ике 1 1"}, all, C::DigKind_Count},
        {C::DigKind_Coll, {L"num ике 1 4"}, all, C::DigKind_Coll},
        {C::DigPad_Dir, {L"num ике 3 1", L"num ике 3 1"}, two, C::DigKind_Count},
        {C::DigKind_Num, {L"num ике 3 2"}, two, C::DigKind_Num},
        {C::DigPad_Vin, {L"num ике 4 2"}, two, C::DigKind_Num},
        {C::DigPad_Base, {L"num ике 1 2"}, all, C::DigKind_Num},
        {C::DigKind_Sep, {L"num ике 1 5"}, all, C::DigKind_Sep},
        {C::DigPad_Time, {L"num ике 6 1", L"num ике 6 1"}, two, C::DigKind_Count},
        {C::DigPad_Base, {L"num ике 1 1"}, all, C::DigKind_Count},
    };
    for (const TStep& step : steps) {
        Click(form, step.Button);
        EXPECT_EQ(recorder.Take(), step.Calls) << static_cast<int>(step.Button);
        EXPECT_EQ(
            EnabledOf(form, {C::DigKind_Count, C::DigKind_Num, C::DigKind_Aprox, C::DigKind_Coll, C::DigKind_Sep}),
            step.KindsEnabled)
            << static_cast<int>(step.Button);
        EXPECT_EQ(
            CheckedAmong(form, {C::DigKind_Count, C::DigKind_Num, C::DigKind_Aprox, C::DigKind_Coll, C::DigKind_Sep}),
            std::vector<C>({step.CheckedKind}))
            << static_cast<int>(step.Button);
        if (GP_Row(step.Button).Parent == C::GB_Dig_Pad) {
            EXPECT_EQ(GetFocus(), form.Control(step.Button)) << static_cast<int>(step.Button);
        }
    }
}

TEST_F(GPWindow, PartOfSpeechButtonsShowTheirPanelAndBuildEveryClick) {
    form.edBase().SetText(L"китап");
    EXPECT_EQ(recorder.Take(), TCalls({L"noun китап 1 0 1"}));
    struct TStep {
        C Button;
        C Panel;
        const wchar_t* Call;
    };
    const TStep steps[] = {
        {C::GB_Main_Adj, C::AdjPanel, L"adj китап 1"},
        {C::GB_Main_Dig, C::DigPanel, L"num китап 1 1"},
        {C::GB_Main_Verb, C::VerbPanel, L"verb китап 1 0 0 0 0"},
        {C::GB_Main_Nouns, C::NounsPanel, L"noun китап 1 0 1"},
        {C::GB_Main_Nouns, C::NounsPanel, L"noun китап 1 0 1"},
        {C::NounsNum_Plural, C::NounsPanel, L"noun китап 1 0 2"},
        {C::NounsFace_Sec, C::NounsPanel, L"noun китап 1 2 2"},
        {C::NounsPad_Time, C::NounsPanel, L"noun китап 6 2 2"},
        {C::GB_Main_Adj, C::AdjPanel, L"adj китап 1"},
        {C::Adj_Compare, C::AdjPanel, L"adj китап 2"},
    };
    for (const TStep& step : steps) {
        Click(form, step.Button);
        EXPECT_EQ(recorder.Take(), TCalls({step.Call})) << static_cast<int>(step.Button);
        EXPECT_EQ(ShownPanel(form), step.Panel) << static_cast<int>(step.Button);
        EXPECT_EQ(form.PartOfSpeechCode(), GP_Row(step.Panel == C::NounsPanel ? C::GB_Main_Nouns
                                                  : step.Panel == C::AdjPanel ? C::GB_Main_Adj
                                                  : step.Panel == C::DigPanel ? C::GB_Main_Dig
                                                                              : C::GB_Main_Verb)
                                               .Code);
    }
}

TEST_F(GPWindow, TheWordIsBuiltLowerCasedWhateverTheEditHolds) {
    Click(form, C::GB_Main_Adj);
    EXPECT_EQ(recorder.Take(), TCalls());
    form.edBase().SetText(L"АК");
    EXPECT_EQ(form.edBase().Text(), L"АК");
    EXPECT_EQ(recorder.Take(), TCalls({L"adj ак 1"}));
    form.edBase().SetText(L"АК");
    EXPECT_EQ(recorder.Take(), TCalls());
    Click(form, C::Adj_Compare);
    EXPECT_EQ(recorder.Take(), TCalls({L"adj ак 2"}));
    EXPECT_EQ(BrowserLines(form).at(0), L"аграк");
}

TEST_F(GPWindow, AnEmptyWordShowsAnEmptyResultNotThePreviousForm) {
    struct TCase {
        C Part;
        const wchar_t* Word;
        C Later; // a click after the word is gone
    };
    const TCase cases[] = {
        {C::GB_Main_Nouns, L"китап", C::NounsPad_Dir},
        {C::GB_Main_Adj, L"ак", C::Adj_Compare},
        {C::GB_Main_Dig, L"ике", C::DigKind_Num},
        {C::GB_Main_Verb, L"бару", C::VerbKind_Appear},
    };
    for (const TCase& c : cases) {
        Click(form, c.Part);
        form.edBase().SetText(c.Word);
        EXPECT_EQ(recorder.Take().size(), 1u);
        EXPECT_FALSE(form.TB().Text().empty());
        form.edBase().SetText(L"");
        Click(form, c.Later);
        EXPECT_EQ(recorder.Take(), TCalls()) << c.Word;
        EXPECT_EQ(form.TB().Text(), L"") << c.Word;
        EXPECT_EQ(form.ParadigmRec().Form, L"") << c.Word;
        EXPECT_TRUE(form.ParadigmRec().Affixes.empty()) << c.Word;
    }
}

TEST_F(GPWindow, TheWordsMarkUpCharactersAreShownAsTyped) {
    form.edBase().SetText(L"<b>&amp;</b>");
    EXPECT_EQ(BrowserLines(form), std::vector<std::wstring>({L"<b>&amp;</b>"}));
    Click(form, C::GB_Main_Adj);
    Click(form, C::Adj_Compare);
    EXPECT_EQ(BrowserLines(form).at(0), L"<b>&amp;</b>рак");
}

TEST_F(GPWindow, TheBrowserShowsTheFormItsSplitAndEveryAffixWithItsName) {
    form.edBase().SetText(L"китап");
    Click(form, C::NounsPad_Sour);
    Click(form, C::NounsFace_Tret);
    const TGP_Proc_Rec& rec = form.ParadigmRec();
    ASSERT_EQ(rec.Affixes.size(), 3u);
    std::vector<std::wstring> expected = {L"китабыннан", L"китаб/ы/н/нан"};
    for (const TAffixInfo& affix : rec.Affixes) {
        ASSERT_NE(affix.FormName, nullptr);
        EXPECT_NE(affix.FormName[0], L'\0');
        expected.push_back(std::wstring(affix.AffixText) + L" - " + affix.FormName);
    }
    EXPECT_EQ(expected[2].substr(0, 4), L"ы - ");
    EXPECT_EQ(BrowserLines(form), expected);
}

TEST_F(GPWindow, CloseButtonAndCloseBoxOnlyHide) {
    for (bool box : {false, true}) {
        form.Show();
        form.edBase().SetText(box ? L"ак" : L"китап");
        const std::wstring shown = form.TB().Text();
        if (box) {
            SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
        } else {
            Click(form, C::btnClose);
        }
        EXPECT_FALSE(form.Showing());
        EXPECT_TRUE(IsWindow(form.Handle()));
        EXPECT_EQ(form.TB().Text(), shown);
    }
}

TEST_F(GPWindow, BrowserMenuCopiesTheSelectionAndSelectsAll) {
    form.edBase().SetText(L"китап");
    Click(form, C::NounsPad_Dir);
    const std::wstring text = form.TB().Text();
    const HWND browser = form.TB().Window();
    TMenuRecorder menu;
    menu.Choose = L"Выделить всё";
    SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(browser), MAKELPARAM(10, 10));
    ASSERT_EQ(menu.Shown, 1);
    ASSERT_EQ(menu.Entries.size(), 2u);
    EXPECT_EQ(menu.Entries[0].Caption, L"Копировать");
    EXPECT_EQ(menu.Entries[1].Caption, L"Выделить всё");
    CHARRANGE selection = {};
    SendMessageW(browser, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, 0);
    EXPECT_GE(selection.cpMax, static_cast<LONG>(text.size())); // the control may count its closing mark

    PutClipboardText(L"before");
    SendMessageW(browser, EM_SETSEL, 0, 4);
    menu.Choose = L"Копировать";
    SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(browser), -1);
    EXPECT_EQ(ClipboardText(), text.substr(0, 4));

    // Another child's menu is not the browser's.
    SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Control(C::btnClose)), -1);
    EXPECT_EQ(menu.Shown, 2);
}

TEST(GPWindows, CreatedHiddenAndFoundByInterfaceLanguage) {
    CreateParadigmGenerators();
    ASSERT_NE(Form5, nullptr);
    ASSERT_NE(GP_tat, nullptr);
    EXPECT_EQ(Form5->Language(), langRussian);
    EXPECT_EQ(GP_tat->Language(), langTatar);
    EXPECT_FALSE(Form5->Showing());
    EXPECT_FALSE(GP_tat->Showing());
    EXPECT_EQ(ParadigmGenerator(langTatar), GP_tat);
    EXPECT_EQ(ParadigmGenerator(langRussian), Form5);
    EXPECT_EQ(ParadigmGenerator(2), nullptr);
    EXPECT_EQ(ParadigmGenerator(-1), nullptr);
    FreeParadigmGenerators();
    EXPECT_EQ(Form5, nullptr);
    EXPECT_EQ(GP_tat, nullptr);
}

// The main window swaps the windows by copying the bounds of the one it hides onto the other; the
// Tatar window, which opens maximized, shows at those bounds.
TEST(GPWindows, TheOtherWindowShowsWhereTheFirstWasAndBothHide) {
    MainWordChanged = false;
    CreateParadigmGenerators();
    Form5->Show();
    SetWindowPos(Form5->Handle(), nullptr, 40, 30, 820, 450, SWP_NOZORDER);
    for (TGP_Form* shown : {GP_tat, Form5, GP_tat}) {
        TGP_Form* hidden = shown == GP_tat ? Form5 : GP_tat;
        RECT place = {};
        GetWindowRect(hidden->Handle(), &place);
        SetWindowPos(shown->Handle(), nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        hidden->Hide();
        shown->Show();
        RECT now = {};
        GetWindowRect(shown->Handle(), &now);
        EXPECT_EQ(std::vector<long>({now.left, now.top, now.right, now.bottom}),
                  std::vector<long>({place.left, place.top, place.right, place.bottom}));
        EXPECT_TRUE(shown->Showing());
        EXPECT_FALSE(hidden->Showing());
    }
    Form5->Show();
    for (TGP_Form* form : {Form5, GP_tat}) {
        form->Hide();
    }
    EXPECT_FALSE(Form5->Showing());
    EXPECT_FALSE(GP_tat->Showing());
    FreeParadigmGenerators();
}
