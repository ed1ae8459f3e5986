#pragma once
// Context menus and Ctrl hot keys of the UTF-16 controls, described as lists of plain records. A
// menu is turned into a native popup menu each time it is shown, so that the enabled state of
// every entry is computed at that moment; a hot key runs the handler of the menu entry with the
// same letter, under the same enabled test.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "display/win32/OwnedHandle.h"
#include "main/controls/ControlKeys.h"

// Whatever raises an event: a control or a menu item.
class TObject {
public:
    virtual ~TObject() = default;
};

using TObjectEvent = std::function<void(TObject* sender)>;
using TEnabledTest = std::function<bool()>;

class EListError : public Exception {
public:
    using Exception::Exception;
};

// A key with its modifiers: the key code plus 0x2000 for Shift, 0x4000 for Ctrl, 0x8000 for Alt.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// 0 for a key code that cannot be encoded (only 0..255 and 0x1000..0x1058 can).
TShortCut ShortCut(TKeyCode key, TShiftState shift);
// "Ctrl+X", as a menu entry shows it.
std::wstring ShortCutToText(TShortCut shortCut);

class TMenuList;

// One context-menu entry; the caption "-" makes a separator line.
struct MenuRec {
    std::wstring Caption;
    TObjectEvent OnClick;   // receives the menu item
    TEnabledTest OnEnabled; // unassigned: always enabled
    TShortCut ShortCut = 0;
    std::unique_ptr<TMenuList> SubMenu;
};

struct HotKeyRec {
    TShortCut ShortCut = 0;
    TObjectEvent OnExecute; // receives the control
    TEnabledTest OnEnabled;
};

std::unique_ptr<MenuRec> NewMenuRec(std::wstring caption, TShortCut shortCut, std::unique_ptr<TMenuList> subMenu,
                                    TObjectEvent onClick, TEnabledTest onEnabled);
std::unique_ptr<HotKeyRec> NewHotKeyRec(TKeyCode key, TShiftState shift, TObjectEvent onExecute,
                                        TEnabledTest onEnabled);

// One entry of a shown popup menu.
class TMenuItem : public TObject {
public:
    std::wstring Caption;
    TShortCut ShortCut = 0;
    bool Enabled = true;
    TObjectEvent OnClick;
    UINT Command = 0;              // the native menu's command id; 0 for separators and submenus
    std::vector<TMenuItem*> Items; // the submenu's entries
};

// A native popup menu with its items; destroyed with this object.
class TPopupMenu {
public:
    HMENU Handle() const { return menu_.Get(); }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TMenuItem* FindCommand(UINT command) const;

private:
    friend class TMenuList;
    TMenuItem* NewItem(const MenuRec& record);
    HMENU BuildNative(const std::vector<TMenuItem*>& items);

    TOwnedMenu menu_;
    std::vector<TMenuItem*> items_;
    std::vector<std::unique_ptr<TMenuItem>> owned_;
    UINT nextCommand_ = 1;
};

// Shows a popup menu modally at a screen point and gives the chosen command, 0 for none. Tests put
// their own in, so that no test waits on a modal menu.
using TPopupRunner = std::function<UINT(const TPopupMenu& menu, POINT at, HWND owner)>;
// An empty runner puts the system's modal menu back. Gives the previous one.
TPopupRunner SetPopupRunner(TPopupRunner runner);

class TMenuList {
public:
    int Add(std::unique_ptr<MenuRec> record);
    int Count() const { return static_cast<int>(items_.size()); }
    MenuRec& operator[](int index) const;
    // Frees every record, each with its submenu, in index order.
    void Clear();

    // A new popup menu with the enabled tests evaluated now. The caller owns it.
    std::unique_ptr<TPopupMenu> BuildPopupMenu() const;
    // Shows the menu at a screen point, runs the chosen entry's handler, then destroys the menu.
    // True: the mouse event that asked for it is consumed.
    bool PopupAtCursor(HWND owner, POINT screen) const;

private:
    std::vector<std::unique_ptr<MenuRec>> items_;
};

class THotKeyList {
public:
    int Add(std::unique_ptr<HotKeyRec> record);
    int Count() const { return static_cast<int>(items_.size()); }
    HotKeyRec& operator[](int index) const;
    void Clear() { items_.clear(); }

    // The first record with the shortcut decides: its handler runs when its test passes. True when
    // a record matched, run or not, so a disabled hot key is still consumed.
    bool Dispatch(TObject* sender, TShortCut shortCut) const;

private:
    std::vector<std::unique_ptr<HotKeyRec>> items_;
};
