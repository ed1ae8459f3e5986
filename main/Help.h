#pragma once
// The help window: the help page of the interface language, an HTML file in the program's folder.

#include <string>
#include <vector>

#include "main/Forms.h"
#include "main/controls/Menus_Qel.h"
#include "main/html/TextBrowser.h"

// The help file of a language: "tirel_ht.htm" (Tatar), "tirel_hr.htm" (Russian).
const wchar_t* HelpFileName(int language);
// Help pages are 8-bit text in code page 1251; letters outside it are character references.
std::wstring DecodeHelpPage(const std::vector<char>& bytes);

class TForm6 : public TForm {
public:
    TForm6();
    ~TForm6() override;

    // Reads the language's page (raising the file error when it cannot) and shows it modally.
    void ShowHelp(int language);
    void N11Click();
    void N21Click();

    TTextBrowser TB;
    TMenuList PM;

protected:
    void OnShow() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TForm6* Form6;
