#include "main/Adjustment.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "core/GlobalCustoms.h"
#include "main/InterfaceStrings.h"

TForm4* Form4 = nullptr;

namespace {

constexpr int32_t kPopupLinesMin = 8, kPopupLinesMax = 32;
constexpr int32_t kCardLinesMin = 8, kCardLinesMax = 64;

TFormParams SettingsParams() {
    TFormParams params;
    params.Caption = L"Настройки";
    params.ClientWidth = 345;
    params.ClientHeight = 379;
    params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    return params;
}

bool Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND box, bool checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

void TSpinEdit::Create(HWND parent, int x, int y, int width, int height, int id, int32_t minimum, int32_t maximum) {
    static const bool classes = [] {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)classes;
    Minimum = minimum;
    Maximum = maximum;
    value_ = minimum;
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER, x, y, width,
                            height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    arrows_ =
        CreateWindowExW(0, UPDOWN_CLASSW, L"",
                        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
                        0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
    SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void TSpinEdit::Place(const RECT& rect) {
    MoveWindow(edit_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    // The arrows take their place inside the field again, at its new right edge.
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
}

void TSpinEdit::SetValue(int32_t value) {
    value_ = std::clamp(value, Minimum, Maximum);
    SendMessageW(arrows_, UDM_SETPOS32, 0, static_cast<LPARAM>(value_));
    const std::wstring text = std::to_wstring(value_);
    SetWindowTextW(edit_, text.c_str());
}

bool TSpinEdit::Parse(int64_t& number) const {
    wchar_t text[16] = {};
    const int length = GetWindowTextW(edit_, text, 16);
    if (length <= 0 || length > 9) {
        return false;
    }
    number = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return false;
        }
        number = number * 10 + (text[i] - L'0');
    }
    return true;
}

bool TSpinEdit::TextChanged() {
    int64_t number = 0;
    if (!Parse(number) || number < Minimum || number > Maximum) {
        return false; // typing may pass through such values; corrected on leaving
    }
    value_ = static_cast<int32_t>(number);
    SendMessageW(arrows_, UDM_SETPOS32, 0, static_cast<LPARAM>(value_));
    return true;
}

void TSpinEdit::Leave() {
    int64_t number = 0;
    if (Parse(number)) {
        value_ = static_cast<int32_t>(std::clamp<int64_t>(number, Minimum, Maximum));
    }
    SetValue(value_);
}

TForm4::TForm4() : TForm(SettingsParams()) {
    panScan = AddChild(L"BUTTON", L"Сканирование", BS_GROUPBOX, 0, 0, 0, 0, 0);
    chbScan = AddChild(L"BUTTON", L"Сканировать", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0, idchbScan);
    chbScanShift =
        AddChild(L"BUTTON", L"Сканировать при нажатом Shift", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0, idchbScanShift);
    SetChecked(chbScan, true);
    panPopup = AddChild(L"BUTTON", L"Всплывающее окно", BS_GROUPBOX, 0, 0, 0, 0, 0);
    lb_panPopup = AddChild(L"STATIC", L"Максимальное число строк", SS_LEFTNOWORDWRAP, 0, 0, 0, 0, 0);
    se_Popup.Create(Handle(), 0, 0, 0, 0, idse_Popup, kPopupLinesMin, kPopupLinesMax);
    se_Popup.SetValue(32);
    panCard = AddChild(L"BUTTON", L"Карточка перевода", BS_GROUPBOX, 0, 0, 0, 0, 0);
    rb_panCard_Poly = AddChild(L"BUTTON", L"Показывать в отдельных окнах", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                               0, 0, 0, 0, idPoly);
    rb_panCard_Mono = AddChild(L"BUTTON", L"Показывать в одном окне", BS_AUTORADIOBUTTON, 0, 0, 0, 0, idMono);
    SetChecked(rb_panCard_Poly, true);
    lb_panCard = AddChild(L"STATIC", L"Максимальное число строк", WS_GROUP | SS_LEFTNOWORDWRAP, 0, 0, 0, 0, 0);
    se_Card.Create(Handle(), 0, 0, 0, 0, idse_Card, kCardLinesMin, kCardLinesMax);
    se_Card.SetValue(32);
    Button1 = AddChild(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, idButton1);
    AddToDesign();
    ApplyLayout();
    ActiveControl = rb_panCard_Poly;
    Form4 = this;
}

// The labels take the width their text needs, up to the number fields; the radio buttons stand
// in the card frame without being its children.
void TForm4::AddToDesign() {
    using K = TLayoutKind;
    const int scan = Design.Add(panScan, {24, 16, 297, 89}, K::GroupBox);
    Design.Add(chbScan, {40, 32, 101, 31}, K::CheckBox, scan);
    Design.Add(chbScanShift, {40, 60, 265, 31}, K::CheckBox, scan);
    const int popup = Design.Add(panPopup, {25, 111, 297, 66}, K::GroupBox);
    Design.Add(lb_panPopup, {40, 143, 141, 13}, K::Label, popup);
    const int popupField = Design.Add(se_Popup.Edit(), {200, 141, 101, 21}, K::Plain, popup);
    Design.SetBoundsSetter(popupField, [this](const RECT& rect) { se_Popup.Place(rect); });
    const int card = Design.Add(panCard, {25, 183, 297, 129}, K::GroupBox);
    Design.Add(rb_panCard_Poly, {40, 208, 193, 17}, K::CheckBox, card);
    Design.Add(rb_panCard_Mono, {40, 230, 193, 17}, K::CheckBox, card);
    Design.Add(lb_panCard, {48, 263, 141, 13}, K::Label, card);
    const int cardField = Design.Add(se_Card.Edit(), {208, 261, 101, 21}, K::Plain, card);
    Design.SetBoundsSetter(cardField, [this](const RECT& rect) { se_Card.Place(rect); });
    Design.Add(Button1, {246, 328, 75, 25}, K::Button);
}

TForm4::~TForm4() {
    if (Form4 == this) {
        Form4 = nullptr;
    }
}

void TForm4::LocalizeCaptions(int language) {
    SetWindowTextW(panCard, sTranslationCard[language]);
    SetWindowTextW(lb_panCard, sMaxLines[language]);
    SetWindowTextW(panPopup, sPopupWindow[language]);
    SetWindowTextW(lb_panPopup, sMaxLines[language]);
    SetWindowTextW(rb_panCard_Mono, sOneWindow[language]);
    SetWindowTextW(rb_panCard_Poly, sSeparateWindows[language]);
    SetWindowTextW(panScan, sScan[language]);
    SetWindowTextW(chbScan, sScan[language]);
    SetWindowTextW(chbScanShift, sScanWithShift[language]);
    ApplyLayout();
}

void TForm4::OnShow() {
    LocalizeCaptions(UILanguageIndex());
    TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr) {
        return;
    }
    // The values the fields can take go back to the block, as the fields would write them.
    se_Card.SetValue(block->CardMaxLines);
    se_Popup.SetValue(block->PopupMaxLines);
    block->CardMaxLines = se_Card.Value();
    block->PopupMaxLines = se_Popup.Value();
    const bool scan = block->ScanEnabled != 0;
    const bool shift = scan && block->ScanWithShift != 0;
    SetChecked(chbScan, scan);
    SetChecked(chbScanShift, shift);
    EnableWindow(chbScanShift, scan);
    block->ScanEnabled = scan;
    block->ScanWithShift = shift;
    SetChecked(rb_panCard_Mono, block->CardMono != 0);
    SetChecked(rb_panCard_Poly, block->CardMono == 0);
}

void TForm4::OnCommand(int id, int code, HWND) {
    switch (id) {
    case idchbScan:
        chbScanClick();
        break;
    case idchbScanShift:
        chbScanShiftClick();
        break;
    case idMono:
        rb_panCard_MonoClick();
        break;
    case idPoly:
        rb_panCard_PolyClick();
        break;
    case idse_Popup:
    case idse_Card: {
        TSpinEdit& field = id == idse_Popup ? se_Popup : se_Card;
        if (code == EN_KILLFOCUS) {
            field.Leave();
        }
        if ((code == EN_CHANGE || code == EN_KILLFOCUS) && field.TextChanged()) {
            id == idse_Popup ? se_TrayPopupChanged(field.Value()) : se_CardChanged(field.Value());
        }
        break;
    }
    case idButton1:
    case IDOK:
        Button1Click();
        break;
    case IDCANCEL:
        OnCloseQuery();
        break;
    default:
        break;
    }
}

void TForm4::chbScanClick() {
    TGlobalCustoms* block = SharedCustoms();
    if (!Showing() || block == nullptr) {
        return;
    }
    const bool scan = Checked(chbScan);
    EnableWindow(chbScanShift, scan);
    if (!scan) {
        SetChecked(chbScanShift, false);
        chbScanShiftClick();
    }
    block->ScanEnabled = scan;
}

void TForm4::chbScanShiftClick() {
    if (TGlobalCustoms* block = SharedCustoms(); block != nullptr && Showing()) {
        block->ScanWithShift = Checked(chbScanShift);
    }
}

void TForm4::rb_panCard_MonoClick() {
    if (TGlobalCustoms* block = SharedCustoms(); block != nullptr && Showing()) {
        block->CardMono = Checked(rb_panCard_Mono) ? 1 : 0;
    }
}

void TForm4::rb_panCard_PolyClick() {
    if (TGlobalCustoms* block = SharedCustoms(); block != nullptr && Showing()) {
        block->CardMono = Checked(rb_panCard_Poly) ? 0 : 1;
    }
}

void TForm4::se_TrayPopupChanged(int32_t value) {
    if (TGlobalCustoms* block = SharedCustoms(); block != nullptr && Showing()) {
        block->PopupMaxLines = value;
    }
}

void TForm4::se_CardChanged(int32_t value) {
    if (TGlobalCustoms* block = SharedCustoms(); block != nullptr && Showing()) {
        block->CardMaxLines = value;
    }
}

void TForm4::Button1Click() {
    LeaveFields();
    Close();
}

void TForm4::OnCloseQuery() {
    LeaveFields();
    Close();
}

void TForm4::LeaveFields() {
    se_Popup.Leave();
    se_TrayPopupChanged(se_Popup.Value());
    se_Card.Leave();
    se_CardChanged(se_Card.Value());
}
