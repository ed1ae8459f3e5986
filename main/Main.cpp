#include "main/Main.h"

#include <windowsx.h>

#include <algorithm>

#include "core/GlobalCustoms.h"
#include "core/Translator.h"
#include "display/CardWindow.h"
#include "display/win32/Dpi.h"
#include "display/win32/ErrorReport.h"
#include "main/About.h"
#include "main/Adjustment.h"
#include "main/GP.h"
#include "main/Help.h"
#include "main/InterfaceStrings.h"
#include "main/MainDictHandler.h"
#include "main/MainProgramBody.h"

std::wstring MainWord;
bool MainWordChanged = false;
TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 655;
constexpr int kClientHeight = 469;
constexpr DWORD kRowStyle = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOTIFY | SS_NOPREFIX;

// The menu exists before the window, so that the window's client area is measured below it.
HMENU BuildMainMenu() {
    HMENU trans = CreatePopupMenu();
    AppendMenuW(trans, MF_STRING, TForm1::idMMTrans_Trans, L"Перевод");
    AppendMenuW(trans, MF_STRING, TForm1::idMMTrans_GP, L"Генератор парадигмы");
    AppendMenuW(trans, MF_STRING, TForm1::idMMTrans_Exit, L"Выход\tCtrl+F12");
    HMENU language = CreatePopupMenu();
    AppendMenuW(language, MF_STRING, TForm1::idMMService_OrigLang_Rus, L"Русский");
    AppendMenuW(language, MF_STRING, TForm1::idMMService_OrigLang_Tat, L"Татарский");
    HMENU service = CreatePopupMenu();
    AppendMenuW(service, MF_POPUP, reinterpret_cast<UINT_PTR>(language), L"Язык интерфейса");
    AppendMenuW(service, MF_STRING, TForm1::idMMService_DictMan, L"Словари");
    AppendMenuW(service, MF_STRING, TForm1::idMMService_Adjust, L"Настройки");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, TForm1::idMMHelp_Help, L"Справка ТИРЕЛ");
    AppendMenuW(help, MF_STRING, TForm1::idMMHelp_About, L"О программе");
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(trans), L"Перевод");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(service), L"Сервис");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Справка");
    return menu;
}

TFormParams MainParams() {
    TFormParams params;
    params.Caption = L"ТИРЕЛ";
    params.ClientWidth = kClientWidth;
    params.ClientHeight = kClientHeight;
    params.Menu = BuildMainMenu();
    return params;
}

// Two arrows, one each way: the glyph of the direction button, drawn for the DPI.
HBITMAP DrawSwapGlyph(int dpi) {
    const int w = ScaleToDpi(24, dpi), h = ScaleToDpi(16, dpi);
    const HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    TOwnedMemoryDC dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr || !dc) {
        return bitmap;
    }
    TOwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    TSelectObject select(dc.Get(), bitmap);
    const RECT all = {0, 0, w, h};
    FillRect(dc.Get(), &all, face.Get());
    TOwned<HPEN, GdiObjectDeleter> pen(CreatePen(PS_SOLID, std::max(ScaleToDpi(1, dpi), 1), RGB(0, 0, 0)));
    select.Select(pen.Get());
    POINT right[] = {{2, 4}, {21, 4}, {17, 0}, {21, 4}, {17, 8}};
    POINT left[] = {{21, 11}, {2, 11}, {6, 7}, {2, 11}, {6, 15}};
    for (POINT* line : {right, left}) {
        for (int i = 0; i < 5; ++i) {
            line[i] = {ScaleToDpi(line[i].x, dpi), ScaleToDpi(line[i].y, dpi)};
        }
        Polyline(dc.Get(), line, 5);
    }
    select.Select(GetStockObject(BLACK_PEN));
    return bitmap;
}

// A panel or frame: drawn beneath the controls it holds.
HWND SendToBack(HWND frame) {
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return frame;
}

} // namespace

TForm* GeneratorForm(int language) {
    return ParadigmGenerator(language);
}

void CreateGeneratorForms() {
    CreateParadigmGenerators();
}

void FreeGeneratorForms() {
    FreeParadigmGenerators();
}

TForm1::TForm1() : TForm(MainParams()) {
    mainMenu_ = GetMenu(Handle());
    transMenu_ = GetSubMenu(mainMenu_, 0);
    serviceMenu_ = GetSubMenu(mainMenu_, 1);
    languageMenu_ = GetSubMenu(serviceMenu_, 0);
    helpMenu_ = GetSubMenu(mainMenu_, 2);
    ACCEL exit = {FCONTROL | FVIRTKEY, VK_F12, idMMTrans_Exit};
    accelerators_ = CreateAcceleratorTableW(&exit, 1);
    CreateControls();

    MainWordChanged = false;
    Handler.KeyEdit = ed.get();
    for (const HWND row : Rows) {
        Handler.AddRow(row);
    }
    Handler.RowCount = kRowCount;
    Handler.AttachScrollBar(SB);
    Handler.Browser = TB;
    Handler.AttachEdit(Edit1.get());
    Handler.OnWordChange = [this](TObject* sender) { EditOnChange(sender); };
    Edit1->OnReturnPressed = [this](TObject*) { btnTransClick(); };
    // Without the tables only Russian words go unanalysed; the window is still of use.
    Guarded([] { OpeningFiles([] { CreateParadigmTable(); }); });
    OpenDictionarySet();
    direction_ = LanguageOf(SharedCustomsOrDefaults().SourceLang);
    EnableWindow(btnLang, !LangGroups[OtherDirection()].empty());
    ShowDirectionLabels();
    FillDictionaryCombo();
    LocalizeCaptions();
    EnableGenerator();
    FirstShowDone = false;
    Handler.ClearEdit();
    ActiveControl = Edit1->Handle();
    Form1 = this;
}

TForm1::~TForm1() {
    FreeParadigmTable();
    if (accelerators_ != nullptr) {
        DestroyAcceleratorTable(accelerators_);
    }
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::CreateControls() {
    using K = TLayoutKind;
    Edit1 = std::make_unique<TEdit_Qel>(Handle());
    Edit1->SetAutoSize(false);
    Edit1->SetTabStop(true);

    lbOrigLang = AddChild(L"STATIC", L"Рус", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0, 0);
    btnLang = AddChild(L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP, 0, 0, 0, 0, idbtnLang);
    lbTransLang = AddChild(L"STATIC", L"Тат", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0, 0);
    Panel2 = SendToBack(AddChild(L"STATIC", L"", SS_SUNKEN | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0));
    const int panel = Design.Add(Panel2, {8, 5, 137, 24}, K::Frame);
    Design.Add(lbOrigLang, {10, 9, 32, 17}, K::Label, panel);
    Design.Add(btnLang, {48, 5, 49, 24}, K::Plain, panel);
    Design.Add(lbTransLang, {102, 9, 32, 17}, K::Label, panel);

    CB = std::make_unique<TComboBox_Qel>(Handle());
    CB->SetStyle(csDropDownList);
    CB->SetTabStop(true);
    CB->OnClick = [this](TObject* sender) { CBOnClick(sender); };
    AddToDesign(*CB, {220, 5, 421, 24});

    TB = TTextBrowser::Create(Handle(), 0, 0, 0, 0, idTB);
    Design.Add(TB.Window(), {220, 32, 421, 353}, K::Plain);
    PM_TB.Add(NewMenuRec(
        L"Копировать", 0, nullptr, [this](TObject*) { N11Click(); }, nullptr));
    PM_TB.Add(NewMenuRec(
        L"Выделить всё", 0, nullptr, [this](TObject*) { N21Click(); }, nullptr));

    GroupBox1 = AddChild(L"STATIC", L"", SS_SUNKEN | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0);
    const int list = Design.Add(GroupBox1, {8, 32, 211, 326}, K::Frame);
    for (int k = 0; k < kRowCount; ++k) {
        Rows[k] = AddChild(L"STATIC", L"", kRowStyle, 0, 0, 0, 0, idFirstRow + k);
        Design.Add(Rows[k], {10, 34 + 18 * k, 190, 18}, K::Row, list, ListRowFont);
    }
    SB = AddChild(L"SCROLLBAR", L"", SBS_VERT, 0, 0, 0, 0, idSB);
    sbItem_ = Design.Add(SB, {199, 34, 18, 322}, K::Plain, list);
    SendToBack(GroupBox1);
    AddToDesign(*Edit1, {8, 360, 209, 24});

    ed = std::make_unique<TEdit_Qel>(Handle());
    ed->SetAutoSize(false);
    ed->SetBorderStyle(bsNone);
    ed->SetBounds(160, 1, 1, 1);
    ed->SetReadOnly(true);
    ed->SetAutoSelect(false);
    ed->SetText(L"ed");

    btnTrans = AddButton(L"Перевод", 0, 0, 0, 0, idbtnTrans);
    btnGP = AddButton(L"Генератор парадигмы", 0, 0, 0, 0, idbtnGP);
    btnClose = AddButton(L"Закрыть", 0, 0, 0, 0, idbtnClose);
    Design.Add(btnTrans, {8, 400, 75, 25}, K::Button);
    Design.Add(btnGP, {96, 400, 137, 25}, K::Button);
    Design.Add(btnClose, {560, 400, 75, 25}, K::Button);
}

// The list's scroll bar runs along its rows, which are as high as their font; the article view
// ends with the word entry; the combo's items are as high as its text.
void TForm1::Arrange(int dpi) {
    RECT first = {}, last = {}, bar = {};
    GetWindowRect(Rows[0], &first);
    GetWindowRect(Rows[kRowCount - 1], &last);
    bar = Design.Placed(sbItem_);
    MoveWindow(SB, bar.left, bar.top, bar.right - bar.left, last.bottom - first.top, TRUE);
    RECT browser = {}, entry = {};
    GetWindowRect(TB.Window(), &browser);
    GetWindowRect(Edit1->Handle(), &entry);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&browser), 2);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&entry), 2);
    MoveWindow(TB.Window(), browser.left, browser.top, browser.right - browser.left,
               std::max(entry.bottom + Design.Scale().Y(1), browser.bottom) - browser.top, TRUE);
    CB->SetItemHeight(std::max(Design.Scale().Y(18), static_cast<int>(MeasureFontUnits(CB->Font()).Height) + 2));
    // The button lets go of the old glyph before it is deleted.
    TOwnedBitmap glyph(DrawSwapGlyph(dpi));
    SendMessageW(btnLang, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph.Get()));
    langGlyph_ = std::move(glyph);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (const HBRUSH brush = Handler.RowColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        return TForm::OnMessage(message, wParam, lParam);
    case WM_VSCROLL: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(SB, SB_CTL, &info);
        Handler.ScrollBarScroll(LOWORD(wParam), info.nTrackPos);
        return 0;
    }
    case WM_MOUSEWHEEL:
        if (MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            return 0;
        }
        return TForm::OnMessage(message, wParam, lParam);
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == TB.Window()) {
            ShowContextMenu(PM_TB, Handle(), TB.Window(), lParam);
        }
        return 0;
    default:
        return TForm::OnMessage(message, wParam, lParam);
    }
}

// The wheel comes to the focused control, which hands it on to the form: it scrolls the list or
// the article under the cursor.
bool TForm1::MouseWheel(int delta, POINT at) {
    RECT area = {};
    if (GetWindowRect(GroupBox1, &area) && PtInRect(&area, at)) {
        Handler.WheelScroll(delta);
        return true;
    }
    if (!wheelToArticle_ && GetWindowRect(TB.Window(), &area) && PtInRect(&area, at)) {
        // A view with nothing to scroll may hand the wheel back.
        wheelToArticle_ = true;
        SendMessageW(TB.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(at.x, at.y));
        wheelToArticle_ = false;
        return true;
    }
    return false;
}

void TForm1::OnCommand(int id, int code, HWND control) {
    if (id >= idFirstRow && id < idFirstRow + kRowCount) {
        if (code == STN_CLICKED || code == STN_DBLCLK) {
            Handler.RowClick(control);
        }
        return;
    }
    switch (id) {
    case idMMTrans_Trans:
    case idbtnTrans:
        btnTransClick();
        break;
    case idMMTrans_GP:
    case idbtnGP:
        btnGPClick();
        break;
    case idMMTrans_Exit:
        MMTrans_ExitClick();
        break;
    case idMMService_OrigLang_Rus:
        MMService_ILang_RusClick();
        break;
    case idMMService_OrigLang_Tat:
        MMService_ILang_TatClick();
        break;
    case idMMService_DictMan:
        MMService_DictManClick();
        break;
    case idMMService_Adjust:
        MMService_AdjustClick();
        break;
    case idMMHelp_Help:
        MMHelp_HelpClick();
        break;
    case idMMHelp_About:
        MMHelp_AboutClick();
        break;
    case idbtnLang:
        btnLangClick();
        break;
    case idbtnClose:
        btnExitClick();
        break;
    default:
        break;
    }
}

void TForm1::OnCloseQuery() {
    btnExitClick(); // the close button ends the main program, not only the window
}

void TForm1::OnShow() {
    if (!FirstShowDone) {
        SwapGeneratorForms();
        FirstShowDone = true;
    }
}

void TForm1::OnShown() {
    // Open generator windows stay in front of the main window.
    for (const int language : {0, 1}) {
        if (TForm* generator = GeneratorForm(language); generator != nullptr && generator->Showing()) {
            SetWindowPos(generator->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    Edit1->SetFocus();
}

void TForm1::Activated(bool active) {
    if (active) {
        FormActivate();
    } else {
        TForm::Activated(active);
    }
}

void TForm1::FormActivate() {
    Edit1->SetFocus();
}

void TForm1::EditOnChange(TObject*) {
    MainWord = Edit1->Text();
    MainWordChanged = true;
}

void TForm1::btnTransClick() {
    const TGlobalCustoms& block = SharedCustomsOrDefaults();
    CardWindow_Show(TrimmedWord(Edit1->Text()).c_str(), block.CardMono != 0, true);
}

void TForm1::btnGPClick() {
    if (TForm* generator = GeneratorForm(UILanguageIndex())) {
        generator->Show();
    }
}

void TForm1::btnExitClick() {
    PostQuitMessage(0);
}

void TForm1::MMTrans_ExitClick() {
    if (const TGlobalCustoms* block = SharedCustoms()) {
        SendMessageA(static_cast<HWND>(LongToHandle(block->TrayWindow)), WM_DESTROY, 0, 0);
    }
    // Both programs end: the tray program, which owns the block, has gone already.
    EndMainProcess();
}

void TForm1::MMService_ILang_RusClick() {
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->UILanguage = langRussian;
    }
    MainWordChanged = true;
    LocalizeCaptions();
    SwapGeneratorForms();
}

void TForm1::MMService_ILang_TatClick() {
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->UILanguage = langTatar;
    }
    MainWordChanged = true;
    LocalizeCaptions();
    SwapGeneratorForms();
}

void TForm1::MMService_AdjustClick() {
    if (Form4 != nullptr) {
        Form4->ShowModal();
    }
}

void TForm1::MMService_DictManClick() {
    if (Form3 != nullptr) {
        Form3->ShowModal();
    }
}

void TForm1::MMHelp_HelpClick() {
    if (Form6 != nullptr) {
        Form6->ShowHelp(UILanguageIndex());
    }
}

void TForm1::MMHelp_AboutClick() {
    if (Form7 != nullptr) {
        Form7->ShowAbout(UILanguageIndex());
    }
}

void TForm1::N11Click() {
    TB.Copy();
}

void TForm1::N21Click() {
    TB.SelectAll();
}
