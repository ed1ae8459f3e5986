#include "main/GP_Controls.h"

#include <commctrl.h>

#include <map>

#include "core/Exceptions.h"
#include "display/win32/Dpi.h"
#include "display/win32/OwnedHandle.h"
#include "main/Forms.h"

namespace {

constexpr UINT_PTR kPassCommandsId = 0x4750;

// Button notifications go to the direct parent; the window handles them all.
LRESULT CALLBACK PassCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_COMMAND) {
        return SendMessageW(GetParent(window), message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, PassCommands, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

size_t RowIndex(TGP_Control id) {
    return static_cast<size_t>(&GP_Row(id) - GP_Controls);
}

bool IsGroupBox(TGP_Control id) {
    return GP_Row(id).Kind == TGP_Kind::GroupBox;
}

} // namespace

HFONT GroupFont(int dpi) {
    // One font per scale for the whole run: the controls keep it selected.
    static std::map<int, TOwnedFont> fonts;
    auto found = fonts.find(dpi);
    if (found == fonts.end()) {
        found = fonts
                    .emplace(dpi, TOwnedFont(CreateFontW(-ScaleToDpi(14, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                                         DEFAULT_QUALITY, VARIABLE_PITCH | FF_DONTCARE,
                                                         L"MS Shell Dlg")))
                    .first;
    }
    return found->second ? found->second.Get() : FormFont(dpi);
}

TGP_Controls::TGP_Controls(HWND form, TLanguage language, TFormLayout& design) : windows_(GP_ControlCount, nullptr) {
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        const HWND parent = row.Parent == TGP_Control::Form ? form : Window(row.Parent);
        windows_[i] = Create(row, parent, language);
        if (row.Kind == TGP_Kind::RadioButton) {
            SetCaption(row.Id, row.Caption[langRussian]);
            SendMessageW(windows_[i], BM_SETCHECK, row.Checked ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        AddToDesign(row, language, design);
    }
}

void TGP_Controls::AddToDesign(const TGP_ControlRow& row, TLanguage language, TFormLayout& design) {
    using K = TLayoutKind;
    struct TKindLayout {
        K Kind;
        TFormLayout::TFontFor Font;
    };
    // By TGP_Kind: the groups and what stands in them take the group font; the word field, the
    // button and the view the form's.
    static const TKindLayout Layouts[] = {
        {K::Frame, GroupFont}, {K::GroupBox, GroupFont}, {K::CheckBox, GroupFont}, {K::CheckBox, GroupFont},
        {K::Label, GroupFont}, {K::Plain, FormFont},     {K::Button, FormFont},    {K::Plain, FormFont},
    };
    static_assert(std::size(Layouts) == static_cast<size_t>(TGP_Kind::Browser) + 1, "a layout for each kind");
    const TKindLayout& layout = Layouts[static_cast<size_t>(row.Kind)];
    TDesignRect rect = {row.Bounds[language].Left, row.Bounds[language].Top, row.Bounds[language].Width,
                        row.Bounds[language].Height};
    if (row.Kind == TGP_Kind::RadioButton) {
        // Radio button k of its group box, as wide as its caption needs.
        int place = 0;
        for (size_t i = RowIndex(row.Parent) + 1; GP_Controls[i].Id != row.Id; ++i) {
            place += GP_Controls[i].Parent == row.Parent && GP_Controls[i].Kind == TGP_Kind::RadioButton ? 1 : 0;
        }
        rect = {kRadioLeft, kRadioTop + kRadioStep * place, 0, kRadioHeight};
    }
    const int item = design.Add(Window(row.Id), rect, layout.Kind, -1, layout.Font);
    if (row.Kind == TGP_Kind::Edit) {
        design.SetWidget(item, *edit_);
    }
}

HWND TGP_Controls::Create(const TGP_ControlRow& row, HWND parent, TLanguage language) {
    TGP_Bounds b = row.Bounds[language];
    const int id = static_cast<int>(row.Id);
    if (row.Kind == TGP_Kind::Edit) {
        edit_ = std::make_unique<TEdit_Qel>(parent);
        edit_->SetBounds(b.Left, b.Top, b.Width, b.Height);
        return edit_->Handle();
    }
    if (row.Kind == TGP_Kind::Browser) {
        browser_ = TTextBrowser::Create(parent, b.Left, b.Top, b.Width, b.Height, id);
        return browser_.Window();
    }
    // The window's own resource names it, its label and its close button; the rest is localised later.
    const bool fixedCaption = row.Kind == TGP_Kind::Label || row.Kind == TGP_Kind::Button;
    const wchar_t* caption = row.Caption[fixedCaption ? language : langRussian];
    const wchar_t* className = L"BUTTON";
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    switch (row.Kind) {
    case TGP_Kind::Panel:
        className = L"STATIC";
        style |= SS_LEFT | WS_CLIPCHILDREN;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case TGP_Kind::GroupBox:
        style |= BS_GROUPBOX | WS_CLIPCHILDREN;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case TGP_Kind::RadioButton:
        style |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
    case TGP_Kind::CheckBox:
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case TGP_Kind::Label:
        className = L"STATIC";
        style |= SS_LEFT;
        break;
    default:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    }
    if (row.Visible) {
        style |= WS_VISIBLE;
    }
    HWND window =
        CreateWindowExW(exStyle, className, caption, style, b.Left, b.Top, b.Width, b.Height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw EOSError(GetLastError(), L"Cannot create control " + std::to_wstring(id));
    }
    if (row.Kind == TGP_Kind::Panel || row.Kind == TGP_Kind::GroupBox) {
        SetWindowSubclass(window, PassCommands, kPassCommandsId, 0);
    }
    return window;
}

HWND TGP_Controls::Window(TGP_Control id) const {
    return windows_[RowIndex(id)];
}

void TGP_Controls::SetCaption(TGP_Control id, const wchar_t* caption) {
    SetWindowTextW(Window(id), caption);
}

bool TGP_Controls::Checked(TGP_Control button) const {
    return SendMessageW(Window(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool TGP_Controls::Check(TGP_Control button) {
    const bool was = Checked(button);
    const TGP_Control group = GP_Row(button).Parent;
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        if (row.Parent == group && row.Kind == TGP_Kind::RadioButton && row.Id != button) {
            SendMessageW(windows_[i], BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageW(Window(button), BM_SETCHECK, BST_CHECKED, 0);
    return !was;
}

void TGP_Controls::Uncheck(TGP_Control button) {
    SendMessageW(Window(button), BM_SETCHECK, BST_UNCHECKED, 0);
}

uint8_t TGP_Controls::CheckedCode(TGP_Control group, uint8_t none) const {
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        if (row.Parent == group && row.Kind == TGP_Kind::RadioButton &&
            SendMessageW(windows_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return row.Code;
        }
    }
    return none;
}

void TGP_Controls::Enable(TGP_Control id, bool enabled) {
    EnableWindow(Window(id), enabled);
    if (!IsGroupBox(id)) {
        return;
    }
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        if (GP_Controls[i].Parent == id && GP_Controls[i].Kind == TGP_Kind::RadioButton) {
            EnableWindow(windows_[i], enabled);
        }
    }
}

bool TGP_Controls::Enabled(TGP_Control id) const {
    return IsWindowEnabled(Window(id)) != FALSE;
}

void TGP_Controls::SetVisible(TGP_Control id, bool visible) {
    ShowWindow(Window(id), visible ? SW_SHOWNA : SW_HIDE);
}

bool TGP_Controls::Visible(TGP_Control id) const {
    return (GetWindowLongPtrW(Window(id), GWL_STYLE) & WS_VISIBLE) != 0;
}
