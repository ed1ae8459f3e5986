#pragma once
// The dictionaries window: a read-only listing of every dictionary the program opened (title,
// number of words, authors, version, file), Tatar-headword dictionaries first. Built once, when
// the window is made, right after the main window opened the shared dictionaries.

#include <windows.h>

#include <memory>
#include <string>

#include "core/Dictionary.h"
#include "main/Forms.h"
#include "main/controls/QStdCtrls_Qel.h"

// The six lines of one dictionary: four labelled fields, the file name, an empty line.
std::wstring DictionaryListing(const TDictHandle& dict);
// Every dictionary of both directions, Tatar first.
std::wstring DictionariesListing();
// Text stored in code page 1251, decoded as such whatever the system's code page.
std::wstring DecodeCp1251(const char* text);

class TForm3 : public TForm {
public:
    TForm3();
    ~TForm3() override;

    void btnCloseClick();
    void N11Click();
    void N21Click();

    HWND Panel1 = nullptr;
    HWND btnClose = nullptr;
    std::unique_ptr<TMemo_Qel> Memo;
    TMenuList PM;

    enum : int { idbtnClose = 100 };

protected:
    void OnShow() override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    int closeItem_ = -1; // the close button's place in Design
};

extern TForm3* Form3;
