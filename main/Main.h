#pragma once
// The main window: the word entry, the dictionary choice of the current direction and the swap of
// direction, the headword list with the article view, translation cards, the paradigm generator,
// and the menu that opens the other windows and switches the interface language. Direction,
// dictionary and entry live in the shared block, so that both programs agree on them.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/Codes.h"
#include "display/win32/OwnedHandle.h"
#include "main/Forms.h"
#include "main/ListBrowser.h"
#include "main/controls/QStdCtrls_Qel.h"
#include "main/html/TextBrowser.h"

// The entry's text, and a flag set when it or the interface language changed; the generator
// windows read the word and clear the flag.
extern std::wstring MainWord;
extern bool MainWordChanged;

// Opens every dictionary the tray program shared (the block's set), in ascending share number.
void OpenDictionarySet();
// The direction opposite to the block's source language.
TLanguage OtherDirection();

// The paradigm generator window of an interface language (0 Tatar captions, 1 Russian); null
// while the program has none.
TForm* GeneratorForm(int language);
// Both generator windows, hidden, after the other forms; freed at the end of the run.
void CreateGeneratorForms();
void FreeGeneratorForms();

class TForm1 : public TForm {
public:
    static constexpr int kRowCount = 18;

    // Creation: the list, the paradigm table, the shared dictionaries, the current direction,
    // dictionary and entry from the block, the captions of the interface language.
    TForm1();
    ~TForm1() override;

    void EditOnChange(TObject* sender);
    void CBOnClick(TObject* sender);
    void btnLangClick();
    void btnTransClick();
    void btnGPClick();
    void btnExitClick();
    void MMTrans_ExitClick();
    void MMService_ILang_RusClick();
    void MMService_ILang_TatClick();
    void MMService_AdjustClick();
    void MMService_DictManClick();
    void MMHelp_HelpClick();
    void MMHelp_AboutClick();
    void N11Click();
    void N21Click();
    // Message 1529: the dictionary and entry of the block.
    void ResyncFromShared();

    // entry -1 keeps the dictionary's own current entry.
    void SelectDictionary(TLanguage direction, int32_t dict, int32_t entry);
    void FillDictionaryCombo();
    void RefillDictionaryCombo();
    void LocalizeCaptions();
    void SwapGeneratorForms();

    HACCEL Accelerators() const { return accelerators_; }

    // Controls, by their names in the form.
    std::unique_ptr<TEdit_Qel> Edit1;
    std::unique_ptr<TComboBox_Qel> CB;
    TTextBrowser TB;
    HWND Panel2 = nullptr;
    HWND lbOrigLang = nullptr;
    HWND btnLang = nullptr;
    HWND lbTransLang = nullptr;
    HWND GroupBox1 = nullptr;
    HWND SB = nullptr;
    HWND Rows[kRowCount] = {};
    std::unique_ptr<TEdit_Qel> ed;
    HWND btnTrans = nullptr;
    HWND btnGP = nullptr;
    HWND btnClose = nullptr;
    TMenuList PM_TB;

    THandler Handler;
    bool FirstShowDone = false;
    int32_t LastDictOfDirection[kLanguageCount] = {0, 0};

    // Command ids of the menu items and buttons.
    enum : int {
        idMMTrans_Trans = 100,
        idMMTrans_GP,
        idMMTrans_Exit,
        idMMService_OrigLang_Rus,
        idMMService_OrigLang_Tat,
        idMMService_DictMan,
        idMMService_Adjust,
        idMMHelp_Help,
        idMMHelp_About,
        idbtnLang,
        idbtnTrans,
        idbtnGP,
        idbtnClose,
        idCB,
        idTB,
        idSB,
        idFirstRow = 200,
    };

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnCloseQuery() override;
    void OnShow() override;
    void OnShown() override;
    void Activated(bool active) override;
    void Arrange(int dpi) override;

private:
    void CreateControls();
    void CreateMenu();
    void FormActivate();
    void ShowDirectionLabels();
    void EnableGenerator();
    void AddDictionaryTitles();
    // True when the wheel scrolled something of the form's.
    bool MouseWheel(int delta, POINT at);

    HMENU mainMenu_ = nullptr; // the window owns it
    HMENU transMenu_ = nullptr;
    HMENU serviceMenu_ = nullptr;
    HMENU languageMenu_ = nullptr;
    HMENU helpMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    TOwnedBitmap langGlyph_;
    int sbItem_ = -1; // the scroll bar's place in Design
    TLanguage direction_ = langTatar; // the direction the list shows: the block's, when last read
    bool wheelToArticle_ = false;
};

extern TForm1* Form1;
