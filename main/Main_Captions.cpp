// The main window's captions in the interface language, and the generator window that goes with
// that language.

#include "core/GlobalCustoms.h"
#include "main/Adjustment.h"
#include "main/GP.h"
#include "main/InterfaceStrings.h"
#include "main/Main.h"

namespace {

void SetMenuText(HMENU menu, UINT item, bool byPosition, const std::wstring& text) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

} // namespace

void TForm1::LocalizeCaptions() {
    const int l = UILanguageIndex();
    SetMenuText(mainMenu_, 0, true, sTranslate[l]);
    SetMenuText(transMenu_, idMMTrans_Trans, false, sTranslate[l]);
    SetMenuText(transMenu_, idMMTrans_GP, false, sParadigmGenerator[l]);
    SetMenuText(mainMenu_, 1, true, sService[l]);
    SetMenuText(serviceMenu_, idMMService_DictMan, false, sDictionaries[l]);
    SetMenuText(serviceMenu_, idMMService_Adjust, false, sSettings[l]);
    SetMenuText(mainMenu_, 2, true, sHelp[l]);
    SetMenuText(transMenu_, idMMTrans_Exit, false, std::wstring(sExit[l]) + L"\tCtrl+F12");
    SetMenuText(serviceMenu_, 0, true, sInterfaceLanguage[l]);
    SetMenuText(languageMenu_, idMMService_OrigLang_Rus, false, sRussian[l]);
    SetMenuText(languageMenu_, idMMService_OrigLang_Tat, false, sTatar[l]);
    CheckMenuRadioItem(languageMenu_, idMMService_OrigLang_Rus, idMMService_OrigLang_Tat,
                       l == langRussian ? idMMService_OrigLang_Rus : idMMService_OrigLang_Tat, MF_BYCOMMAND);
    SetMenuText(helpMenu_, idMMHelp_About, false, sAbout[l]);
    SetMenuText(helpMenu_, idMMHelp_Help, false, std::wstring(sHelp[l]) + L" " + ProductName);
    DrawMenuBar(Handle());

    PM_TB[0].Caption = sCopy[l];
    PM_TB[1].Caption = sSelectAll[l];
    SetWindowTextW(btnTrans, sTranslate[l]);
    SetWindowTextW(btnGP, sParadigmGenerator[l]);
    SetWindowTextW(btnClose, sClose[l]);
    ApplyLayout();

    if (TMenuList* menu = Edit1->ContextMenuList.get(); menu != nullptr && menu->Count() >= 9) {
        const InterfaceStringPair* entries[] = {&sUndo,  &sRedo,  nullptr, &sCut,      &sCopy,
                                                &sPaste, &sClear, nullptr, &sSelectAll};
        for (int i = 0; i < 9; ++i) {
            if (entries[i] != nullptr) {
                (*menu)[i].Caption = (*entries[i])[l];
            }
        }
    }
    if (Form5 != nullptr) {
        SetWindowTextW(Form5->btnClose(), sExit[l]);
    }
    if (Form4 != nullptr) {
        Form4->LocalizeCaptions(l);
    }
}

void TForm1::SwapGeneratorForms() {
    const int l = UILanguageIndex();
    TForm* hide = GeneratorForm(l == langTatar ? langRussian : langTatar);
    TForm* show = GeneratorForm(l);
    if (hide == nullptr || show == nullptr || !hide->Showing()) {
        return;
    }
    RECT bounds = {};
    GetWindowRect(hide->Handle(), &bounds);
    SetWindowPos(show->Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    hide->Hide();
    show->Show();
}
