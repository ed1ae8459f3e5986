#include "main/controls/Menus_Qel.h"

#include <utility>

namespace {

TPopupRunner CustomRunner;

UINT RunSystemMenu(const TPopupMenu& menu, POINT at, HWND owner) {
    return static_cast<UINT>(
        TrackPopupMenuEx(menu.Handle(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
}

struct TKeyName {
    TKeyCode Key;
    const wchar_t* Name;
};

constexpr TKeyName KeyNames[] = {
    {keyBackspace, L"BkSp"}, {keyTab, L"Tab"},   {keyEscape, L"Esc"},  {keyReturn, L"Enter"},
    {keyEnter, L"Enter"},    {L' ', L"Space"},   {keyPageUp, L"PgUp"}, {keyPageDown, L"PgDn"},
    {keyEnd, L"End"},        {keyHome, L"Home"}, {keyLeft, L"Left"},   {keyUp, L"Up"},
    {keyRight, L"Right"},    {keyDown, L"Down"}, {keyInsert, L"Ins"},  {keyDelete, L"Del"},
};

std::wstring KeyName(TKeyCode key) {
    for (const TKeyName& name : KeyNames) {
        if (name.Key == key) {
            return name.Name;
        }
    }
    if (key >= keyF1 && key < keyF1 + 35) {
        return L"F" + std::to_wstring(key - keyF1 + 1);
    }
    if (key > L' ' && key < 0x100) {
        return std::wstring(1, static_cast<wchar_t>(key));
    }
    return L"";
}

} // namespace

TShortCut ShortCut(TKeyCode key, TShiftState shift) {
    if (key > 0xFF && (key < keySpecialFirst || key > keySpecialLast)) {
        return 0;
    }
    TShortCut result = key;
    if (shift & ssShift) {
        result |= scShift;
    }
    if (shift & ssCtrl) {
        result |= scCtrl;
    }
    if (shift & ssAlt) {
        result |= scAlt;
    }
    return result;
}

std::wstring ShortCutToText(TShortCut shortCut) {
    const std::wstring name = KeyName(shortCut & 0x1FFF);
    if (name.empty()) {
        return L"";
    }
    std::wstring text;
    if (shortCut & scShift) {
        text += L"Shift+";
    }
    if (shortCut & scCtrl) {
        text += L"Ctrl+";
    }
    if (shortCut & scAlt) {
        text += L"Alt+";
    }
    return text + name;
}

std::unique_ptr<MenuRec> NewMenuRec(std::wstring caption, TShortCut shortCut, std::unique_ptr<TMenuList> subMenu,
                                    TObjectEvent onClick, TEnabledTest onEnabled) {
    auto record = std::make_unique<MenuRec>();
    record->Caption = std::move(caption);
    record->ShortCut = shortCut;
    record->SubMenu = std::move(subMenu);
    record->OnClick = std::move(onClick);
    record->OnEnabled = std::move(onEnabled);
    return record;
}

std::unique_ptr<HotKeyRec> NewHotKeyRec(TKeyCode key, TShiftState shift, TObjectEvent onExecute,
                                        TEnabledTest onEnabled) {
    auto record = std::make_unique<HotKeyRec>();
    record->ShortCut = ShortCut(key, shift);
    record->OnExecute = std::move(onExecute);
    record->OnEnabled = std::move(onEnabled);
    return record;
}

TPopupRunner SetPopupRunner(TPopupRunner runner) {
    return std::exchange(CustomRunner, std::move(runner));
}

// ---- TPopupMenu ----------------------------------------------------------------------------

TMenuItem* TPopupMenu::FindCommand(UINT command) const {
    for (const auto& item : owned_) {
        if (command != 0 && item->Command == command) {
            return item.get();
        }
    }
    return nullptr;
}

TMenuItem* TPopupMenu::NewItem(const MenuRec& record) {
    owned_.push_back(std::make_unique<TMenuItem>());
    TMenuItem* item = owned_.back().get();
    item->Caption = record.Caption;
    item->OnClick = record.OnClick;
    item->ShortCut = record.ShortCut;
    if (record.SubMenu) {
        for (int i = 0; i < record.SubMenu->Count(); ++i) {
            item->Items.push_back(NewItem((*record.SubMenu)[i]));
        }
    }
    return item;
}

HMENU TPopupMenu::BuildNative(const std::vector<TMenuItem*>& items) {
    TOwnedMenu menu(CreatePopupMenu());
    if (!menu) {
        throw EOSError(GetLastError(), L"Cannot create a popup menu");
    }
    for (TMenuItem* item : items) {
        const UINT state = item->Enabled ? MF_ENABLED : MF_GRAYED;
        if (item->Caption == L"-") {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        } else if (!item->Items.empty()) {
            HMENU sub = BuildNative(item->Items);
            if (!AppendMenuW(menu.Get(), MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                             item->Caption.c_str())) {
                DestroyMenu(sub);
            }
        } else {
            item->Command = nextCommand_++;
            std::wstring text = item->Caption;
            const std::wstring keys = ShortCutToText(item->ShortCut);
            if (!keys.empty()) {
                text += L"\t" + keys;
            }
            AppendMenuW(menu.Get(), MF_STRING | state, item->Command, text.c_str());
        }
    }
    return menu.Release();
}

// ---- TMenuList -----------------------------------------------------------------------------

int TMenuList::Add(std::unique_ptr<MenuRec> record) {
    items_.push_back(std::move(record));
    return Count() - 1;
}

MenuRec& TMenuList::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw EListError(FormatMessageText(SListIndexError, index));
    }
    return *items_[index];
}

void TMenuList::Clear() {
    for (auto& record : items_) {
        record.reset();
    }
    items_.clear();
}

namespace {

void ApplyEnabledTests(const TMenuList& list, const std::vector<TMenuItem*>& items) {
    for (int i = 0; i < list.Count(); ++i) {
        const MenuRec& record = list[i];
        if (record.OnEnabled) {
            items[i]->Enabled = record.OnEnabled();
        }
        if (record.SubMenu) {
            ApplyEnabledTests(*record.SubMenu, items[i]->Items);
        }
    }
}

} // namespace

std::unique_ptr<TPopupMenu> TMenuList::BuildPopupMenu() const {
    auto popup = std::make_unique<TPopupMenu>();
    for (const auto& record : items_) {
        popup->items_.push_back(popup->NewItem(*record));
    }
    ApplyEnabledTests(*this, popup->items_);
    popup->menu_.Reset(popup->BuildNative(popup->items_));
    return popup;
}

bool TMenuList::PopupAtCursor(HWND owner, POINT screen) const {
    const std::unique_ptr<TPopupMenu> popup = BuildPopupMenu();
    const UINT command = CustomRunner ? CustomRunner(*popup, screen, owner) : RunSystemMenu(*popup, screen, owner);
    if (TMenuItem* item = popup->FindCommand(command)) {
        if (item->Enabled && item->OnClick) {
            item->OnClick(item);
        }
    }
    return true;
}

// ---- THotKeyList ---------------------------------------------------------------------------

int THotKeyList::Add(std::unique_ptr<HotKeyRec> record) {
    items_.push_back(std::move(record));
    return Count() - 1;
}

HotKeyRec& THotKeyList::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw EListError(FormatMessageText(SListIndexError, index));
    }
    return *items_[index];
}

bool THotKeyList::Dispatch(TObject* sender, TShortCut shortCut) const {
    for (const auto& record : items_) {
        if (record->ShortCut == shortCut) {
            const bool enabled = record->OnExecute && (!record->OnEnabled || record->OnEnabled());
            if (enabled) {
                record->OnExecute(sender);
            }
            return true;
        }
    }
    return false;
}
