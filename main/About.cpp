#include "main/About.h"

#include <shellapi.h>

#include "main/InterfaceStrings.h"

TForm7* Form7 = nullptr;

namespace {

TFormParams AboutParams() {
    TFormParams params;
    params.Caption = L"О Программе";
    params.ClientWidth = 488;
    params.ClientHeight = 229;
    params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    params.Maximized = true;
    return params;
}

void ShellOpen(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TAddressOpener addressOpener = ShellOpen;

std::wstring FirstLine(const TSectionList& sections, const wchar_t* name) {
    const TSectionObj* section = sections.FindSection(name);
    return section != nullptr && section->Count() > 0 ? section->Get(0) : std::wstring();
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    const size_t length = wcslen(prefix);
    return text.size() > length && CompareStringOrdinal(text.c_str(), static_cast<int>(length), prefix,
                                                        static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

std::unique_ptr<TEdit_Qel> AddressField(HWND parent) {
    auto field = std::make_unique<TEdit_Qel>(parent);
    field->SetAutoSize(false);
    field->SetBorderStyle(bsNone);
    field->SetReadOnly(true);
    field->SetCursor(LoadCursorW(nullptr, IDC_HAND));
    field->SetTabStop(true);
    return field;
}

} // namespace

const wchar_t* AboutFileName(int language) {
    return language == 0 ? L"tirel_abt.dat" : L"tirel_abr.dat";
}

TAboutTexts AboutTexts(const TSectionList& sections) {
    TAboutTexts texts;
    if (const TSectionObj* about = sections.FindSection(L"about")) {
        for (int i = 0; i < about->Count(); ++i) {
            texts.About += (i > 0 ? L"\r\n" : L"") + about->Get(i);
        }
    }
    texts.Copyright = FirstLine(sections, L"copyright");
    texts.EMail = FirstLine(sections, L"e-mail");
    texts.Www = FirstLine(sections, L"www");
    return texts;
}

bool IsOpenableAddress(const std::wstring& address) {
    for (const wchar_t* scheme : {L"http://", L"https://", L"mailto:"}) {
        if (StartsWithNoCase(address, scheme)) {
            return true;
        }
    }
    return false;
}

TAddressOpener SetAddressOpener(TAddressOpener opener) {
    TAddressOpener previous = std::move(addressOpener);
    addressOpener = opener ? std::move(opener) : TAddressOpener(ShellOpen);
    return previous;
}

bool OpenAddress(const std::wstring& address) {
    if (!IsOpenableAddress(address)) {
        return false;
    }
    addressOpener(address);
    return true;
}

TForm7::TForm7() : TForm(AboutParams()) {
    using K = TLayoutKind;
    Panel1 = AddChild(L"STATIC", L"", SS_ETCHEDFRAME, 0, 0, 0, 0, 0);
    Image1 = AddChild(L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, 0, 0, 0, 0, 0);
    SendMessageW(Image1, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(GetModuleHandleW(nullptr), L"BOOKSS")), 0);
    lbAbout = AddChild(L"STATIC", L"", SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, 0);
    lbCopyright = AddChild(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0);
    lbEMail_Title = AddChild(L"STATIC", L"E-MAIL:", SS_LEFTNOWORDWRAP, 0, 0, 0, 0, 0);
    edEmail = AddressField(Handle());
    edEmail->OnClick = [this](TObject*) { ed2OnClick(); };
    Label1 = AddLabel(L"WWW:", 0, 0, 0, 0);
    edHTTP = AddressField(Handle());
    edHTTP->OnClick = [this](TObject*) { ed1OnClick(); };
    btnOK = AddChild(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, idbtnOK);
    SetWindowPos(Panel1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The panel's contents are the form's children, placed inside it.
    const int panel = Design.Add(Panel1, {10, 8, 473, 177}, K::Frame);
    Design.Add(Image1, {18, 16, 41, 41}, K::Plain, panel);
    Design.Add(lbAbout, {74, 20, 385, 33}, K::Label, panel);
    Design.Add(lbCopyright, {18, 88, 163, 13}, K::Label, panel);
    Design.Add(lbEMail_Title, {18, 113, 41, 13}, K::Label, panel);
    AddToDesign(*edEmail, {59, 109, 392, 21}, panel);
    Design.Add(Label1, {18, 138, 36, 13}, K::Label, panel);
    AddToDesign(*edHTTP, {58, 134, 401, 21}, panel);
    Design.Add(btnOK, {208, 196, 75, 25}, K::Button);
    ApplyLayout();
    ActiveControl = edHTTP->Handle();
    Form7 = this;
}

TForm7::~TForm7() {
    if (Form7 == this) {
        Form7 = nullptr;
    }
}

void TForm7::ShowAbout(int language) {
    FillAbout(language);
    ShowModal();
}

void TForm7::FillAbout(int language) {
    TSectionList sections;
    OpeningFiles([&] { sections.LoadFromFile(AboutFileName(language)); });
    const TAboutTexts texts = AboutTexts(sections);
    SetWindowTextW(lbAbout, texts.About.c_str());
    SetWindowTextW(lbCopyright, texts.Copyright.c_str());
    edEmail->SetText(texts.EMail);
    edHTTP->SetText(texts.Www);
    ApplyLayout();
}

void TForm7::ed1OnClick() {
    OpenAddress(edHTTP->Text());
}

void TForm7::ed2OnClick() {
    OpenAddress(L"mailto:" + edEmail->Text());
}

void TForm7::btnOKClick() {
    Close();
}

void TForm7::OnCommand(int id, int, HWND) {
    if (id == idbtnOK || id == IDOK || id == IDCANCEL) {
        btnOKClick();
    }
}
