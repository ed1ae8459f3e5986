// The combo box's events: its notifications, the filter of its edit field, and owner drawing.

#include "main/controls/QStdCtrls_Qel.h"

#include <algorithm>
#include <utility>

// ---- events ----------------------------------------------------------------------------------

void TCustomComboBox_Qel::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomComboBox_Qel::DropDown() {
    if (OnDropDown) {
        OnDropDown(this);
    }
    const int rows = std::clamp(items_->GetCount(), 1, std::max(DropDownCount, 1));
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), FieldHeight() + rows * ItemHeight() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (items_->IndexOf(Text()) < 0) {
        SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void TCustomComboBox_Qel::CloseUp() {
    if (OnCloseUp) {
        OnCloseUp(this);
    }
}

void TCustomComboBox_Qel::TextChanged() {
    if (destroying_ || editField_ == nullptr) {
        return;
    }
    std::wstring text = Text();
    if (text == lastText_) {
        return;
    }
    lastText_ = std::move(text);
    if (AutoComplete) {
        const int index = items_->IndexOf(lastText_);
        if (!(index == highlighted_ && index >= 0)) {
            highlighted_ = index;
        }
    }
    Change();
}

void TCustomComboBox_Qel::Activated(int index) {
    TextChanged();
    Click();
    if (style_ != csDropDown) {
        Change();
    }
    if (OnSelect) {
        OnSelect(this, index);
    }
}

bool TCustomComboBox_Qel::EditFieldFilter(TWidgetEvent& event) {
    switch (event.Kind) {
    case weMousePress:
    case weDoubleClick:
        if (event.Button == mbRight) {
            return PopupMenuAt(ContextMenuList.get(), event.Position);
        }
        return BaseFilter(event);
    case weMouseRelease:
    case weMouseMove:
        return BaseFilter(event);
    case weKeyPress: {
        const TShiftState modifiers = event.Shift & ssModifiers;
        if (modifiers == ssCtrl && HotKeyList->Dispatch(this, ShortCut(event.Key, ssCtrl))) {
            return true;
        }
        // The native clipboard keys go the hot keys' way; the edit field keeps its own undo.
        const TKeyCode letter = NativeEditingKey(event.Key, modifiers);
        if (letter != 0 && letter != 'Z') {
            HotKeyList->Dispatch(this, ShortCut(letter, ssCtrl));
            return true;
        }
        if (event.Key == keyReturn || event.Key == keyEnter) {
            StoreEditedText();
            return true;
        }
        return BaseFilter(event);
    }
    case weChar:
        if (IsNativeEditingChar(event.Char) && event.Char != 0x1A) {
            return true;
        }
        ApplyCharCaseToKey(event.Char, CharCase);
        if (BaseFilter(event)) {
            return true;
        }
        if (AutoComplete && event.Char >= L' ') {
            event.WParam = event.Char;
            Forward(event);
            AutoCompleteText();
            return true;
        }
        return false;
    default:
        // Key releases in the edit field raise no OnKeyUp.
        return false;
    }
}

bool TCustomComboBox_Qel::EventFilter(TWidgetEvent& event) {
    switch (event.Part) {
    case wpEditField:
        return EditFieldFilter(event);
    case wpList:
        return false;
    default:
        return BaseFilter(event);
    }
}

std::optional<LRESULT> TCustomComboBox_Qel::WidgetMessage(TWidgetEvent& event) {
    if (event.Part != wpEditField) {
        return std::nullopt;
    }
    if (event.Message == WM_CONTEXTMENU) {
        return 0;
    }
    return ClipboardMessage(*this, event.Message);
}

std::optional<LRESULT> TCustomComboBox_Qel::Notification(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MEASUREITEM:
        return MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        break;
    default:
        return TWidgetControl::Notification(message, wParam, lParam);
    }
    const int current = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    switch (HIWORD(wParam)) {
    case CBN_EDITCHANGE:
        TextChanged();
        break;
    case CBN_SELCHANGE:
        if (dropped_) {
            highlighted_ = current;
            if (OnHighlighted) {
                OnHighlighted(this, current);
            }
        } else if (std::exchange(chosenFromList_, -1) != current) {
            current_ = current;
            Activated(current);
        }
        break;
    case CBN_SELENDOK:
        if (dropped_) {
            // A choice from the dropped list: its selection change comes after the close-up.
            current_ = current;
            highlighted_ = current;
            chosenFromList_ = current;
            Activated(current);
        }
        break;
    case CBN_DROPDOWN:
        chosenFromList_ = -1;
        dropped_ = true;
        highlighted_ = current;
        DropDown();
        break;
    case CBN_CLOSEUP:
        dropped_ = false;
        CloseUp();
        break;
    case CBN_SETFOCUS:
        SelectAll();
        if (OnEnter) {
            OnEnter(this);
        }
        break;
    case CBN_KILLFOCUS:
        if (editField_ != nullptr) {
            EditDeselect(editField_);
        }
        if (OnExit) {
            OnExit(this);
        }
        break;
    default:
        return std::nullopt;
    }
    return 0;
}

// ---- owner drawing ---------------------------------------------------------------------------

LRESULT TCustomComboBox_Qel::MeasureItem(MEASUREITEMSTRUCT& item) {
    int height = itemHeight_;
    if (style_ == csOwnerDrawVariable && item.itemID != static_cast<UINT>(-1) && OnMeasureItem) {
        OnMeasureItem(this, static_cast<int>(item.itemID), height);
    }
    item.itemHeight = static_cast<UINT>(std::max(height, 1));
    return TRUE;
}

LRESULT TCustomComboBox_Qel::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && Focused();
    TOwnedBrush own(CreateSolidBrush(Color()));
    FillRect(item.hDC, &item.rcItem, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : own.Get());
    TSelectObject font(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    if (item.itemID == static_cast<UINT>(-1)) {
        return TRUE;
    }
    canvas_ = item.hDC;
    struct TCanvasReset {
        HDC& Canvas;
        ~TCanvasReset() { Canvas = nullptr; }
    } reset{canvas_};
    if (OnDrawItem) {
        OnDrawItem(this, static_cast<int>(item.itemID), item.rcItem, item.itemState);
    } else {
        const int index = static_cast<int>(item.itemID);
        if (index < items_->GetCount()) {
            const std::wstring text = items_->Get(index);
            RECT area = item.rcItem;
            DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    }
    return TRUE;
}
