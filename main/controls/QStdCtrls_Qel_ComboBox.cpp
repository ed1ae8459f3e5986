// The combo box over the native COMBOBOX: items in the native list, a context menu and Ctrl hot
// keys on the edit field, the case filter, and Enter storing the edited text at its sorted place.

#include "main/controls/QStdCtrls_Qel.h"

#include <algorithm>

#include "display/PlovaClipbrd.h"

namespace {

int LineHeight(HFONT font) {
    TOwnedWindowDC dc = GetOwnedWindowDC(nullptr);
    TSelectObject selected(dc.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

int TextHeight(HFONT font, const wchar_t* text) {
    TOwnedWindowDC dc = GetOwnedWindowDC(nullptr);
    TSelectObject selected(dc.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &extent);
    return extent.cy;
}

} // namespace

TCustomComboBox_Qel::TCustomComboBox_Qel(HWND parent) : TWidgetControl(parent) {
    items_ = std::make_unique<TComboBoxStrings_Qel>(*this);
    BuildContextMenu();
    BuildHotKeys();
    ClickEvents = false;
    FocusFromNotifications = true;
    SetTabStop(true);
    CreateHandle();
}

TCustomComboBox_Qel::~TCustomComboBox_Qel() {
    destroying_ = true;
    items_.reset();
    ContextMenuList.reset();
    HotKeyList.reset();
}

void TCustomComboBox_Qel::BuildContextMenu() {
    const TObjectEvent cut = [this](TObject*) { CutToClipboard(); };
    const TObjectEvent copy = [this](TObject*) { CopyToClipboard(); };
    const TObjectEvent paste = [this](TObject*) { PasteFromClipboard(); };
    const TObjectEvent selectAll = [this](TObject*) { SelectAll(); };
    ContextMenuList = std::make_unique<TMenuList>();
    ContextMenuList->Add(NewMenuRec(EditCaptions::Cut, ShortCut('X', ssCtrl), nullptr, cut,
                                    [this] { return editField_ != nullptr && !Text().empty(); }));
    ContextMenuList->Add(
        NewMenuRec(EditCaptions::Copy, ShortCut('C', ssCtrl), nullptr, copy, [this] { return !Text().empty(); }));
    ContextMenuList->Add(NewMenuRec(EditCaptions::Paste, ShortCut('V', ssCtrl), nullptr, paste,
                                    [this] { return editField_ != nullptr && ClipboardHasText(); }));
    ContextMenuList->Add(NewMenuRec(
        EditCaptions::Clear, 0, nullptr, [this](TObject*) { ClearText(); },
        [this] { return items_->GetCount() >= 1; }));
    ContextMenuList->Add(NewMenuRec(L"-", 0, nullptr, nullptr, nullptr));
    ContextMenuList->Add(NewMenuRec(EditCaptions::SelectAll, ShortCut('M', ssCtrl), nullptr, selectAll,
                                    [this] { return editField_ != nullptr && !Text().empty(); }));
}

void TCustomComboBox_Qel::BuildHotKeys() {
    HotKeyList = std::make_unique<THotKeyList>();
    // The menu's handlers and tests, letter by letter.
    for (const TKeyCode letter : {'C', 'V', 'X', 'M'}) {
        for (int i = 0; i < ContextMenuList->Count(); ++i) {
            const MenuRec& entry = (*ContextMenuList)[i];
            if (entry.ShortCut == ShortCut(letter, ssCtrl)) {
                HotKeyList->Add(NewHotKeyRec(letter, ssCtrl, entry.OnClick, entry.OnEnabled));
            }
        }
    }
}

// ---- widget steps ----------------------------------------------------------------------------

TWidgetControl::TCreateParams TCustomComboBox_Qel::CreateParams() const {
    TCreateParams params;
    params.ClassName = L"COMBOBOX";
    params.Style = WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (style_) {
    case csDropDown:
        params.Style |= CBS_DROPDOWN;
        break;
    case csDropDownList:
        params.Style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case csOwnerDrawVariable:
        params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
        break;
    }
    params.Width = 140;
    params.Height = WindowHeight();
    return params;
}

void TCustomComboBox_Qel::HookEvents() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(Handle(), &info);
    editField_ = style_ == csDropDown ? info.hwndItem : nullptr;
    list_ = info.hwndList;
    Subclass(editField_, wpEditField);
    Subclass(list_, wpList);
}

void TCustomComboBox_Qel::InitWidget() {
    if (!Recreating()) {
        itemHeight_ = TextHeight(Font(), L"Pq");
    }
    if (editField_ != nullptr) {
        SendMessageW(Handle(), CB_LIMITTEXT, maxLength_ < 0 ? 0 : maxLength_, 0);
    }
    ApplyHeights();
    SetCurrentIndex(-1);
    highlighted_ = -1;
    dropped_ = false;
    lastText_ = Text();
}

void TCustomComboBox_Qel::SaveWidgetState() {
    saved_ = std::make_unique<TSavedState>();
    saved_->Text = Text();
    editField_ = nullptr;
    list_ = nullptr;
}

void TCustomComboBox_Qel::RestoreWidgetState() {
    if (!saved_) {
        return;
    }
    const std::unique_ptr<TSavedState> saved = std::move(saved_);
    // The items are not kept: the text comes back as the edit field's, where there is one.
    if (editField_ != nullptr) {
        lastText_ = saved->Text;
        SetWindowTextW(editField_, saved->Text.c_str());
    }
}

void TCustomComboBox_Qel::FontChanged() {
    ApplyHeights();
}

int TCustomComboBox_Qel::FieldHeight() const {
    return OwnerDrawn() ? itemHeight_ + 6 : LineHeight(Font()) + 8;
}

int TCustomComboBox_Qel::WindowHeight() const {
    return FieldHeight() + std::max(DropDownCount, 1) * ItemHeight() + 2;
}

void TCustomComboBox_Qel::ApplyHeights() {
    HWND combo = Handle();
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FieldHeight() - 6);
    if (style_ == csOwnerDrawFixed) {
        SendMessageW(combo, CB_SETITEMHEIGHT, 0, itemHeight_);
    }
    SetWindowPos(combo, nullptr, 0, 0, Width(), WindowHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- properties ------------------------------------------------------------------------------

std::wstring TCustomComboBox_Qel::Text() const {
    return EditText(Handle());
}

void TCustomComboBox_Qel::SetText(const std::wstring& text) {
    if (text == Text()) {
        return;
    }
    const int index = items_->IndexOf(text);
    if (index >= 0) {
        SetItemIndex(index);
    } else if (editField_ != nullptr) {
        SetWindowTextW(editField_, text.c_str());
        EditSetSelection(editField_, static_cast<int>(text.size()), static_cast<int>(text.size()));
        TextChanged();
    }
}

int TCustomComboBox_Qel::ItemIndex() const {
    return dropped_ ? highlighted_ : CurrentIndex();
}

void TCustomComboBox_Qel::SetItemIndex(int index) {
    SetCurrentIndex(index);
    TextChanged();
}

int TCustomComboBox_Qel::CurrentIndex() const {
    return editField_ != nullptr ? current_ : static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox_Qel::SetCurrentIndex(int index) {
    chosenFromList_ = -1;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    current_ = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox_Qel::ItemInserted(int index) {
    if (index >= 0 && index <= current_) {
        ++current_;
    }
}

void TCustomComboBox_Qel::SetStyle(TComboBoxStyle style) {
    if (style != style_) {
        // The native combo box takes its kind only when it is created.
        style_ = style;
        RecreateWidget();
    }
}

void TCustomComboBox_Qel::SetMaxLength(int maxLength) {
    if (maxLength == maxLength_) {
        return;
    }
    maxLength_ = maxLength < 0 ? -1 : maxLength;
    if (editField_ != nullptr) {
        SendMessageW(Handle(), CB_LIMITTEXT, maxLength_ < 0 ? 0 : maxLength_, 0);
    }
}

int TCustomComboBox_Qel::ItemHeight() const {
    return OwnerDrawn() ? itemHeight_ : FieldHeight() - 6;
}

void TCustomComboBox_Qel::SetItemHeight(int height) {
    if (height != itemHeight_) {
        itemHeight_ = height;
        ApplyHeights();
    }
}

int TCustomComboBox_Qel::Height() const {
    return FieldHeight();
}

void TCustomComboBox_Qel::SetBounds(int left, int top, int width, int) {
    MoveWindow(Handle(), left, top, width, WindowHeight(), TRUE);
}

void TCustomComboBox_Qel::SetDroppedDown(bool dropped) {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, dropped, 0);
}

// ---- edit operations -------------------------------------------------------------------------

void TCustomComboBox_Qel::CopyToClipboard() {
    if (editField_ == nullptr) {
        return;
    }
    CopyTextToClipboard(EditSelectedText(editField_));
}

void TCustomComboBox_Qel::CutToClipboard() {
    if (editField_ != nullptr) {
        CopyToClipboard();
        EditReplaceSelection(editField_, L"");
    }
}

void TCustomComboBox_Qel::PasteFromClipboard() {
    if (editField_ == nullptr) {
        return;
    }
    const std::wstring text = Clipboard().GetWideText();
    size_t fitting = text.size();
    if (maxLength_ >= 0) {
        const int kept = EditLength(editField_) - static_cast<int>(EditSelectedText(editField_).size());
        fitting = FittingLength(text, static_cast<size_t>(std::max(maxLength_ - kept, 0)));
    }
    if (fitting > 0) {
        EditReplaceSelection(editField_, text.substr(0, fitting));
    }
    KeepRestOnClipboard(text, fitting);
}

void TCustomComboBox_Qel::ClearText() {
    if (editField_ != nullptr) {
        SetWindowTextW(editField_, L"");
        TextChanged();
    }
}

void TCustomComboBox_Qel::SelectAll() {
    if (editField_ != nullptr) {
        EditSetSelection(editField_, 0, -1);
    }
}

void TCustomComboBox_Qel::StoreEditedText() {
    const std::wstring text = Text();
    const int stored = items_->ReplaceSorted(ItemIndex(), text);
    SetItemIndex(stored);
    SelectAll();
}

void TCustomComboBox_Qel::AutoCompleteText() {
    int start, end;
    EditGetSelection(editField_, start, end);
    const std::wstring typed = EditText(editField_);
    if (typed.empty() || start != end || end != static_cast<int>(typed.size())) {
        return;
    }
    const int length = static_cast<int>(typed.size());
    for (int i = 0; i < items_->GetCount(); ++i) {
        const std::wstring item = items_->Get(i);
        if (item.size() > typed.size() && CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, item.c_str(), length,
                                                         typed.c_str(), length) == CSTR_EQUAL) {
            EditReplaceSelection(editField_, item.substr(typed.size()));
            EditSetSelection(editField_, length, static_cast<int>(item.size()));
            return;
        }
    }
}
