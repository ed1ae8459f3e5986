#include "main/MainDictHandler.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "core/DictImage.h"
#include "core/SysUtils_Qel.h"
#include "main/InterfaceStrings.h"

TForm3* Form3 = nullptr;

namespace {

constexpr int kPanelHeight = 49;

// The field labels, stored in code page 1251.
const char* const kTitleLabel = "\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF1\xEB\xEE\xE2\xE0\xF0\xFF: \t";
const char* const kCountLabel = "\xD7\xE8\xF1\xEB\xEE \xF1\xEB\xEE\xE2: \t\t";
const char* const kAuthorsLabel = "\xC0\xE2\xF2\xEE\xF0\xFB: \t\t";
const char* const kVersionLabel = "\xC2\xE5\xF0\xF1\xE8\xFF: \t\t";
const wchar_t* const kFileLabel = L"Файл словаря: \t";

TFormParams DictionariesParams() {
    TFormParams params;
    params.Caption = L"Словари";
    params.ClientWidth = 559;
    params.ClientHeight = 433;
    params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    params.Maximized = true;
    return params;
}

// A header text field: at most its 64 units, the checked image has a zero within them.
std::wstring HeaderText(const wchar_t* field) {
    return std::wstring(field, wcsnlen(field, DictLayout::TextFieldUnits));
}

// The path slot, read up to its 256 units whether or not a zero ends it.
std::wstring PathSlot(const void* view) {
    const auto* slot = reinterpret_cast<const wchar_t*>(static_cast<const char*>(view) + DictLayout::PathOffset);
    return std::wstring(slot, wcsnlen(slot, DictLayout::PathUnits));
}

} // namespace

std::wstring DecodeCp1251(const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (length == 0) {
        return std::wstring();
    }
    std::wstring result(static_cast<size_t>(MultiByteToWideChar(1251, 0, text, length, nullptr, 0)), L'\0');
    MultiByteToWideChar(1251, 0, text, length, result.data(), static_cast<int>(result.size()));
    return result;
}

std::wstring DictionaryListing(const TDictHandle& dict) {
    std::wstring lines;
    lines += DecodeCp1251(kTitleLabel) + HeaderText(DictImageTitle(dict.View)) + L"\n";
    lines += DecodeCp1251(kCountLabel) + std::to_wstring(DictImageCount(dict.View)) + L"\n";
    lines += DecodeCp1251(kAuthorsLabel) + HeaderText(DictImageAuthors(dict.View)) + L"\n";
    lines += DecodeCp1251(kVersionLabel) + HeaderText(DictImageVersion(dict.View)) + L"\n";
    lines += kFileLabel + WideExtractFileName(PathSlot(dict.View), true) + L"\n";
    lines += L"\n";
    return lines;
}

std::wstring DictionariesListing() {
    std::wstring text;
    for (const TLangGroup& group : LangGroups) {
        for (const TDictHandle& dict : group) {
            text += DictionaryListing(dict);
        }
    }
    return text;
}

TForm3::TForm3() : TForm(DictionariesParams()) {
    Memo = std::make_unique<TMemo_Qel>(Handle());
    Memo->ReadOnlyWidthCaret = true;
    Memo->SetScrollBars(ssAutoBoth);
    Memo->SetContextMenuList(nullptr);
    Memo->PopupMenu = &PM;
    PM.Add(NewMenuRec(
        L"Копировать", 0, nullptr, [this](TObject*) { N11Click(); }, nullptr));
    PM.Add(NewMenuRec(
        L"Выделить всё", 0, nullptr, [this](TObject*) { N21Click(); }, nullptr));
    Panel1 = AddChild(L"STATIC", L"", SS_ETCHEDFRAME, 0, 0, 0, 0, 0);
    btnClose = AddButton(sClose[UILanguageIndex()], 0, 0, 0, 0, idbtnClose);
    AddToDesign(*Memo, {0, 0, 559, 384});
    const int panel = Design.Add(Panel1, {0, 384, 559, kPanelHeight}, TLayoutKind::Frame);
    closeItem_ = Design.Add(btnClose, {456, 384 + 14, 75, 25}, TLayoutKind::Button, panel);
    ApplyLayout();
    Memo->Lines().Clear();
    Memo->SetText(DictionariesListing());
    Memo->SetSelStart(0);
    ActiveControl = btnClose;
    Form3 = this;
}

TForm3::~TForm3() {
    if (Form3 == this) {
        Form3 = nullptr;
    }
}

void TForm3::OnShow() {
    const int l = UILanguageIndex();
    SetWindowTextW(btnClose, sClose[l]);
    PM[0].Caption = sCopy[l];
    PM[1].Caption = sSelectAll[l];
    ApplyLayout();
}

void TForm3::OnCommand(int id, int, HWND) {
    if (id == idbtnClose || id == IDCANCEL || id == IDOK) {
        btnCloseClick();
    }
}

LRESULT TForm3::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        Layout();
        return 0;
    }
    return TForm::OnMessage(message, wParam, lParam);
}

// The memo fills what the button panel at the bottom leaves; the button keeps its place in the
// panel as the layout gave it.
void TForm3::Layout() {
    if (closeItem_ < 0) {
        return;
    }
    RECT client = {};
    GetClientRect(Handle(), &client);
    const RECT button = Design.Placed(closeItem_);
    const int panelHeight = Design.Scale().Y(kPanelHeight);
    const int panelTop = std::max(static_cast<int>(client.bottom) - panelHeight, 0);
    Memo->SetBounds(0, 0, client.right, panelTop);
    MoveWindow(Panel1, 0, panelTop, client.right, panelHeight, TRUE);
    MoveWindow(btnClose, button.left, panelTop + Design.Scale().Y(14), button.right - button.left,
               button.bottom - button.top, TRUE);
}

void TForm3::btnCloseClick() {
    Close();
}

void TForm3::N11Click() {
    Memo->CopyToClipboard();
}

void TForm3::N21Click() {
    Memo->SelectAll();
}
