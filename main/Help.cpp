#include "main/Help.h"

#include "core/SysUtils_Qel.h"
#include "core/UFileStream.h"
#include "main/InterfaceStrings.h"

TForm6* Form6 = nullptr;

namespace {

TFormParams HelpParams() {
    TFormParams params;
    params.Caption = L"Справка";
    params.ClientWidth = 757;
    params.ClientHeight = 520;
    params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    return params;
}

} // namespace

const wchar_t* HelpFileName(int language) {
    return language == 0 ? L"tirel_ht.htm" : L"tirel_hr.htm";
}

std::wstring DecodeHelpPage(const std::vector<char>& bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(bytes.size());
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(1251, 0, bytes.data(), length, nullptr, 0)), L'\0');
    MultiByteToWideChar(1251, 0, bytes.data(), length, text.data(), static_cast<int>(text.size()));
    return text;
}

TForm6::TForm6() : TForm(HelpParams()) {
    TB = TTextBrowser::Create(Handle(), 0, 0, 0, 0);
    Design.Add(TB.Window(), {0, 0, 757, 520}, TLayoutKind::Plain);
    PM.Add(NewMenuRec(
        L"Копировать", 0, nullptr, [this](TObject*) { N11Click(); }, nullptr));
    PM.Add(NewMenuRec(
        L"Выделить всё", 0, nullptr, [this](TObject*) { N21Click(); }, nullptr));
    ApplyLayout();
    ActiveControl = TB.Window();
    Form6 = this;
}

TForm6::~TForm6() {
    if (Form6 == this) {
        Form6 = nullptr;
    }
}

void TForm6::ShowHelp(int language) {
    std::vector<char> bytes;
    OpeningFiles([&] {
        TUFileStream stream(GetProgramFolder() + HelpFileName(language), fmOpenRead | fmShareDenyWrite);
        const int64_t size = stream.Size();
        if (size > 0) {
            bytes.resize(static_cast<size_t>(size));
            stream.ReadBuffer(bytes.data(), bytes.size());
        }
    });
    TB.SetHtml(DecodeHelpPage(bytes));
    ShowModal();
}

void TForm6::OnShow() {
    const int l = UILanguageIndex();
    PM[0].Caption = sCopy[l];
    PM[1].Caption = sSelectAll[l];
}

LRESULT TForm6::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(TB.Window(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == TB.Window()) {
            ShowContextMenu(PM, Handle(), TB.Window(), lParam);
        }
        return 0;
    default:
        return TForm::OnMessage(message, wParam, lParam);
    }
}

void TForm6::N11Click() {
    TB.Copy();
}

void TForm6::N21Click() {
    TB.SelectAll();
}
