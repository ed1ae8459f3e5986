// Taking the main window's word and the part of speech of its current entry.

#include <gtest/gtest.h>

#include "main/Main.h"
#include "tests/core/DictTestImages.h"
#include "tests/main/GPTestSupport.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

using C = TGP_Control;

} // namespace

TEST_F(GPWindow, ShowingTakesTheMainWordAndTheEntrysPartOfSpeech) {
    TTestCustoms customs;
    customs->SourceLang = langTatar;
    customs->CurDict = 0;
    TOpenDictionaries dictionaries;
    TDictHandle& dict = dictionaries.Open(MakeImage({Entry(L"ак", posAdjective)}));
    dict.CurFlags = posAdjective;
    MainWord = L"Ак";
    MainWordChanged = true;
    form.Show();
    EXPECT_EQ(recorder.Take(), TCalls({L"noun ак 1 0 1", L"adj ак 1"}));
    EXPECT_EQ(form.edBase().Text(), L"ак");
    EXPECT_TRUE(IsChecked(form, C::GB_Main_Adj));
    EXPECT_EQ(ShownPanel(form), C::AdjPanel);
    EXPECT_FALSE(MainWordChanged);
    EXPECT_EQ(BrowserLines(form), std::vector<std::wstring>({L"ак"}));

    // Unchanged: showing again takes nothing, and the window keeps what it had.
    Click(form, C::Adj_Compare);
    recorder.Take();
    Click(form, C::btnClose);
    EXPECT_FALSE(form.Showing());
    MainWord = L"бару";
    form.Show();
    EXPECT_EQ(recorder.Take(), TCalls());
    EXPECT_EQ(form.edBase().Text(), L"ак");
    EXPECT_EQ(BrowserLines(form).at(0), L"аграк");
    EXPECT_TRUE(IsChecked(form, C::Adj_Compare));
}

TEST_F(GPWindow, OnlyAnEntryOfExactlyOnePartOfSpeechChangesIt) {
    TTestCustoms customs;
    customs->SourceLang = langTatar;
    customs->CurDict = 1;
    TOpenDictionaries dictionaries;
    dictionaries.Open(MakeImage({Entry(L"бару", posVerb)})).CurFlags = posVerb; // not the current one
    TDictHandle& dict = dictionaries.Open(MakeImage({Entry(L"китап", posNoun)}));
    struct TCase {
        uint32_t Flags;
        C Checked;
    };
    const TCase cases[] = {
        {0, C::GB_Main_Nouns},   {3, C::GB_Main_Nouns}, {17, C::GB_Main_Nouns},
        {128, C::GB_Main_Nouns}, {8, C::GB_Main_Verb},  {0x204, C::GB_Main_Dig},
        {4, C::GB_Main_Dig},     {1, C::GB_Main_Nouns}, {2, C::GB_Main_Adj},
    };
    for (const TCase& c : cases) {
        dict.CurFlags = c.Flags;
        form.SelectPartOfSpeechFromEntry();
        EXPECT_EQ(CheckedAmong(form, {C::GB_Main_Nouns, C::GB_Main_Adj, C::GB_Main_Dig, C::GB_Main_Verb}),
                  std::vector<C>({c.Checked}))
            << c.Flags;
    }
}

TEST_F(GPWindow, AnEntryOutsideTheDictionariesIsNotRead) {
    TOpenDictionaries dictionaries;
    dictionaries.Open(MakeImage({Entry(L"ак", posAdjective)})).CurFlags = posAdjective;
    struct TCase {
        uint8_t SourceLang;
        int32_t CurDict;
    };
    const TCase cases[] = {{langTatar, -1}, {langTatar, 1}, {langTatar, 1000}, {langRussian, 0}, {7, 0}};
    {
        TTestCustoms customs;
        for (const TCase& c : cases) {
            customs->SourceLang = c.SourceLang;
            customs->CurDict = c.CurDict;
            form.SelectPartOfSpeechFromEntry();
            EXPECT_TRUE(IsChecked(form, C::GB_Main_Nouns)) << int(c.SourceLang) << " " << c.CurDict;
        }
        customs->SourceLang = langTatar;
        customs->CurDict = 0;
        form.SelectPartOfSpeechFromEntry();
        EXPECT_TRUE(IsChecked(form, C::GB_Main_Adj));
        Click(form, C::GB_Main_Nouns);
    }
    form.SelectPartOfSpeechFromEntry(); // no settings block at all
    EXPECT_TRUE(IsChecked(form, C::GB_Main_Nouns));
}

TEST_F(GPWindow, ActivationTakesTheMainWordAgainWhileItIsMarkedChanged) {
    MainWord = L"бару";
    MainWordChanged = true;
    form.Show();
    EXPECT_EQ(form.edBase().Text(), L"бару");
    EXPECT_FALSE(MainWordChanged);
    form.edBase().SetText(L"китап");
    SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(form.edBase().Text(), L"китап");

    MainWord = L"Алма";
    MainWordChanged = true;
    for (int i = 0; i < 2; ++i) {
        form.edBase().SetText(L"китап");
        SendMessageW(form.Handle(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
        EXPECT_EQ(form.edBase().Text(), L"алма") << i;
        EXPECT_TRUE(MainWordChanged);
    }
    form.edBase().SetText(L"китап");
    SendMessageW(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(form.edBase().Text(), L"китап");
    form.Show(); // already showing: not shown anew
    EXPECT_TRUE(MainWordChanged);
    form.Hide();
    form.Show();
    EXPECT_EQ(form.edBase().Text(), L"алма");
    EXPECT_FALSE(MainWordChanged);

    // Shown by the system's call rather than the form's.
    form.Hide();
    MainWord = L"бару";
    MainWordChanged = true;
    ShowWindow(form.Handle(), SW_SHOWNA);
    EXPECT_EQ(form.edBase().Text(), L"бару");
    EXPECT_FALSE(MainWordChanged);
}

// A radio button that gets the focus unchecked reports a click (the system's buttons do so for the
// keyboard's sake); the focus the window gets back goes to the checked button instead, so it does
// not undo the part of speech the main window's entry chose.
TEST_F(GPWindow, ActivationDoesNotCheckTheButtonThatLastHadTheFocusAgain) {
    TTestCustoms customs;
    customs->SourceLang = langTatar;
    customs->CurDict = 0;
    TOpenDictionaries dictionaries;
    dictionaries.Open(MakeImage({Entry(L"ак", posAdjective)})).CurFlags = posAdjective;
    form.Show();
    form.edBase().SetText(L"ак");
    Click(form, C::GB_Main_Nouns);
    ASSERT_EQ(GetFocus(), form.Control(C::GB_Main_Nouns));
    SendMessageW(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    form.Hide();
    recorder.Take();
    MainWord = L"ак";
    MainWordChanged = true;
    form.Show();
    SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(recorder.Take(), TCalls({L"adj ак 1"}));
    EXPECT_TRUE(IsChecked(form, C::GB_Main_Adj));
    EXPECT_FALSE(IsChecked(form, C::GB_Main_Nouns));
    EXPECT_EQ(GetFocus(), form.Control(C::GB_Main_Adj));
}
