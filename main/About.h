#pragma once
// The about window: what the program is, its copyright, and a mail and a web address that open
// in the user's own programs, from the sectioned text file of the interface language in the
// working folder.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/SectionList.h"
#include "main/Forms.h"
#include "main/controls/QStdCtrls_Qel.h"

// The about file of a language: "tirel_abt.dat" (Tatar), "tirel_abr.dat" (Russian).
const wchar_t* AboutFileName(int language);

// The fields of the about box from a loaded file; a section that is missing or empty gives an
// empty field.
struct TAboutTexts {
    std::wstring About; // every line of "about", joined by CR LF
    std::wstring Copyright;
    std::wstring EMail;
    std::wstring Www;
};
TAboutTexts AboutTexts(const TSectionList& sections);

// Only web and mail addresses are handed to the shell: http, https and mailto.
bool IsOpenableAddress(const std::wstring& address);
// Opens an address in the user's default program; tests put their own in. Gives the previous.
using TAddressOpener = std::function<void(const std::wstring& address)>;
TAddressOpener SetAddressOpener(TAddressOpener opener);
// Opens the address when it is openable; true when it was handed on.
bool OpenAddress(const std::wstring& address);

class TForm7 : public TForm {
public:
    TForm7();
    ~TForm7() override;

    // Fills the box from the language's file (raising the file error when it cannot be read) and
    // shows it modally.
    void ShowAbout(int language);
    // The texts of the language's file, laid out; the window is not shown.
    void FillAbout(int language);
    void ed1OnClick();
    void ed2OnClick();
    void btnOKClick();

    HWND Panel1 = nullptr;
    HWND Image1 = nullptr;
    HWND lbAbout = nullptr;
    HWND lbCopyright = nullptr;
    HWND lbEMail_Title = nullptr;
    std::unique_ptr<TEdit_Qel> edEmail;
    HWND Label1 = nullptr;
    std::unique_ptr<TEdit_Qel> edHTTP;
    HWND btnOK = nullptr;

    enum : int { idbtnOK = 100 };

protected:
    void OnCommand(int id, int code, HWND control) override;
};

extern TForm7* Form7;
