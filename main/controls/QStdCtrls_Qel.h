#pragma once
// The main program's UTF-16 controls over the native EDIT and COMBOBOX: the line edit, the
// multi-line edit and the combo box, each with its own context menu and Ctrl hot keys, and the
// string lists through which the combo box's items and the multi-line edit's lines are read and
// written. Paste takes the clipboard's text and empties the clipboard; the multi-line edit gives
// and takes LF alone on the clipboard and keeps CR LF in the control.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "core/Classes_Qel.h"
#include "main/controls/Menus_Qel.h"
#include "main/controls/NativeEdit.h"
#include "main/controls/WidgetControl.h"

enum TEditCharCase : uint8_t { ecNormal = 0, ecUpperCase = 1, ecLowerCase = 2 };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TEchoMode : uint8_t { emNormal = 0, emNone = 1, emPassword = 2 };
// The line edit takes the first two.
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSunken3d };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth, ssAutoHorizontal, ssAutoVertical, ssAutoBoth };
enum TWrapMode : uint8_t { wmNone, wmWidth, wmPixel, wmColumn };
enum TWrapBreak : uint8_t { wbWhitespace, wbAnywhere };
enum TComboBoxStyle : uint8_t { csDropDown = 0, csDropDownList = 1, csOwnerDrawFixed = 2, csOwnerDrawVariable = 3 };
enum TInsertMode : uint8_t { ciNone, ciAtTop, ciAtCurrent, ciAtBottom, ciAfterCurrent, ciBeforeCurrent };

// ---- utility routines ------------------------------------------------------------------------

// Drops a leading U+FEFF and the CR of every CR LF pair; a lone CR stays.
std::wstring WideCRLFToLF(const std::wstring& text);
// Every LF not already preceded by CR gets one: the native multi-line edit breaks lines at CR LF.
std::wstring WideLFToCRLF(const std::wstring& text);
// The CRs that fall inside the first limit units, each making room for one more (a negative
// limit means the whole text).
int CountLineBreaks(const std::wstring& text, int limit);
// The alignment of a native edit's ES_LEFT, ES_CENTER or ES_RIGHT style, and back.
TAlignment AlignmentFromStyle(DWORD style);
DWORD AlignmentStyle(TAlignment alignment);
// The case filter of typed characters: the system's upper- or lower-case of the character.
// True when it changed it.
bool ApplyCharCaseToKey(wchar_t& key, TEditCharCase charCase);

// The text of the error raised when a combo box's list is full.
extern const wchar_t* const SListCapacityError; // "List capacity out of bounds (%d)"

// The captions the controls give their menu entries; forms relabel them by index.
namespace EditCaptions {
inline constexpr const wchar_t* Undo = L"Отменить";
inline constexpr const wchar_t* Redo = L"Восстановить";
inline constexpr const wchar_t* Cut = L"Вырезать";
inline constexpr const wchar_t* Copy = L"Копировать";
inline constexpr const wchar_t* Paste = L"Вставить";
inline constexpr const wchar_t* Clear = L"Очистить";
inline constexpr const wchar_t* SelectAll = L"Выделить всё";
} // namespace EditCaptions

// The entries and hot keys that the line edit and the multi-line edit share: one handler and one
// enabled test per letter.
struct TEditActions {
    TObjectEvent Undo, Redo, Cut, Copy, Paste, Clear, SelectAll;
    TEnabledTest CanUndo, CanRedo, CanCut, CanCopy, CanPaste, CanClear, CanSelectAll;
};
void FillEditContextMenu(TMenuList& list, const TEditActions& actions);
void FillEditHotKeys(THotKeyList& list, const TEditActions& actions);
// Whether the clipboard holds text, for the paste entries.
bool ClipboardHasText();
// Puts the copied text on the clipboard; nothing copied leaves the clipboard as it was.
void CopyTextToClipboard(const std::wstring& text);
// After a paste that took the first used units of text: what the limit kept out stays on the
// clipboard, and a whole paste empties it.
void KeepRestOnClipboard(const std::wstring& text, size_t used);
// The native clipboard messages, answered by the control's own clipboard routines.
template <class TControl> std::optional<LRESULT> ClipboardMessage(TControl& control, UINT message) {
    switch (message) {
    case WM_PASTE:
        control.PasteFromClipboard();
        return 0;
    case WM_COPY:
        control.CopyToClipboard();
        return 0;
    case WM_CUT:
        control.CutToClipboard();
        return 0;
    default:
        return std::nullopt;
    }
}
// The native edit's own clipboard and undo keys (Shift+Insert, Ctrl+Insert, Shift+Delete,
// Alt+Backspace): the letter of the hot key that stands for them, 0 for any other key.
TKeyCode NativeEditingKey(TKeyCode key, TShiftState modifiers);
// The control characters the native edit turns into copy, paste, cut and undo.
bool IsNativeEditingChar(wchar_t key);

class TCustomComboBox_Qel;
class TCustomMemo_Qel;

// ---- string adapters -------------------------------------------------------------------------

// The items of a control's list; they live in the native control alone.
class TCustomListBoxStrings_Qel : public TWideStrings {
public:
    std::wstring Get(int index) const override;
    int GetCount() const override;
    void Put(int index, const std::wstring& text) override;
    int Add(const std::wstring& text) override;
    void Clear() override;
    void Delete(int index) override;
    void Exchange(int index1, int index2) override;
    void Insert(int index, const std::wstring& text) override;
    void Move(int currentIndex, int newIndex) override;

protected:
    // The native list's operations.
    virtual int ItemCount() const = 0;
    virtual bool ItemText(int index, std::wstring& text) const = 0;
    virtual void InsertItem(int index, const std::wstring& text) = 0; // -1 appends
    virtual void RemoveItem(int index) = 0;
    virtual void RemoveAllItems() = 0;
    virtual int CurrentItem() const = 0;
    virtual void SetCurrentItem(int index) = 0;

private:
    // Takes the item at from out and puts text with object in at to.
    void PlaceItem(int from, int to, const std::wstring& text, TListObject object);
};

class TComboBoxStrings_Qel : public TCustomListBoxStrings_Qel {
public:
    explicit TComboBoxStrings_Qel(TCustomComboBox_Qel& comboBox) : comboBox_(comboBox) {}

    TListObject GetObject(int index) const override;
    void PutObject(int index, TListObject object) override;
    void Put(int index, const std::wstring& text) override;
    void Insert(int index, const std::wstring& text) override;
    void Clear() override;
    void Delete(int index) override;

    // The list's own, except that a duplicate under dupIgnore or dupError, or a full list, leaves
    // the line and its object where they were: dupIgnore gives the index of the equal line,
    // dupError and a full list raise before anything changes.
    int ReplaceSorted(int index, const std::wstring& text, TWideCompare compare = {});

    TDuplicates Duplicates = dupAccept;

protected:
    int ItemCount() const override;
    bool ItemText(int index, std::wstring& text) const override;
    void InsertItem(int index, const std::wstring& text) override;
    void RemoveItem(int index) override;
    void RemoveAllItems() override;
    int CurrentItem() const override;
    void SetCurrentItem(int index) override;

private:
    // Another line than except that equals text by the list's compare; -1 for none.
    int IndexOfOther(const std::wstring& text, int except) const;
    // Raises when count lines leave no room under the owner's MaxItems.
    void CheckRoom(int count) const;

    TCustomComboBox_Qel& comboBox_;
};

// The lines of a multi-line edit as the native control wraps them; a trailing empty line is not
// counted. The lines keep no objects.
class TMemoStrings_Qel : public TWideStrings {
public:
    explicit TMemoStrings_Qel(TCustomMemo_Qel& memo) : memo_(memo) {}

    std::wstring Get(int index) const override;
    int GetCount() const override;
    std::wstring GetTextStr() const override;
    void SetTextStr(const std::wstring& text) override;
    void SetUpdateState(bool updating) override;
    int Add(const std::wstring& text) override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::wstring& text) override;

    // A change came while the lines were being updated; reported when the update ends.
    bool ChangePending = false;
    // Set while the memo clears the text or reports a change: no nested change report.
    bool InChange = false;

private:
    TCustomMemo_Qel& memo_;
};

// ---- what the two edits share -----------------------------------------------------------------

// The line edit and the multi-line edit over their native EDIT: the flags the native control
// keeps, the undo history, the clipboard and undo messages, the menu and hot keys, and the state
// carried across a re-creation.
class TNativeEditControl : public TWidgetControl {
public:
    explicit TNativeEditControl(HWND parent) : TWidgetControl(parent) {}
    ~TNativeEditControl() override;

    bool Modified() const;
    void SetModified(bool modified);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // No edit of the user's may change the text: read-only, or another mode of the control's.
    virtual bool Locked() const { return ReadOnly(); }
    int MaxLength() const { return maxLength_; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);

    virtual std::wstring GetSelText() const = 0;
    virtual void Clear() = 0;
    void SelectAll();
    virtual void CopyToClipboard();
    virtual void CutToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;
    virtual void Undo();
    virtual void Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }

    TObjectEvent OnChange;
    TObjectEvent OnReturnPressed;
    // Public, so that a form can relabel the entries by index.
    std::unique_ptr<TMenuList> ContextMenuList;
    std::unique_ptr<THotKeyList> HotKeyList;

protected:
    virtual void BuildContextMenu();
    virtual void BuildHotKeys();
    // The entries' handlers, for each control to add its own enabled tests to.
    TEditActions EditActionHandlers();
    virtual TEditActions EditActions() = 0;
    // After SetModified changed the native flag.
    virtual void ModifiedChanged(bool) {}
    // A hot key of the list, with the modifiers held; true when one ran.
    bool HotKeyPressed(const TWidgetEvent& event);
    // The native clipboard and undo keys run the hot keys of their letters; true when the key was
    // one of them.
    bool NativeEditingKeyPressed(const TWidgetEvent& event);
    // Edits the native text without a change report of its own.
    void EditQuietly(int start, int end, const std::wstring& text);

    struct TSavedState {
        std::wstring Text; // UTF-16 as the control held it
        int SelStart = 0;
        int SelEnd = 0;
        int FirstLine = 0;
        bool Modified = false;
        bool ReadOnly = false;
    };
    void SaveWidgetState() override;
    // Puts back the text, the selection and the flags; null when nothing was saved.
    std::unique_ptr<TSavedState> RestoreEditState();
    std::optional<LRESULT> WidgetMessage(TWidgetEvent& event) override;

    int maxLength_ = -1;
    TAlignment alignment_ = taLeftJustify;
    TEditHistory history_;
    bool quiet_ = false; // a re-creation puts the text back without a change report

private:
    std::unique_ptr<TSavedState> saved_;
};

// ---- the line edit -----------------------------------------------------------------------------

class TCustomEdit_Qel : public TNativeEditControl {
public:
    explicit TCustomEdit_Qel(HWND parent);

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void SetMaxLength(int maxLength);
    TEditCharCase CharCase = ecNormal;
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle borderStyle);
    TEchoMode EchoMode() const { return echoMode_; }
    void SetEchoMode(TEchoMode echoMode);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hideSelection);

    virtual int GetSelStart() const;
    virtual void SetSelStart(int start);
    virtual int GetSelLength() const;
    virtual void SetSelLength(int length);
    std::wstring GetSelText() const override;
    virtual void SetSelText(const std::wstring& text);
    virtual void SetCursorPosition(int position);
    void Clear() override;
    virtual void ClearSelection();
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    virtual void Beep();
    void AdjustHeight();

protected:
    virtual void Change();
    virtual void ReturnPressed(bool& handled);

    TCreateParams CreateParams() const override;
    void InitWidget() override;
    void RestoreWidgetState() override;
    void FontChanged() override;
    bool EventFilter(TWidgetEvent& event) override;
    void KeyDown(TKeyCode& key, TShiftState shift) override;
    std::optional<LRESULT> WidgetMessage(TWidgetEvent& event) override;
    std::optional<LRESULT> Notification(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TEditActions EditActions() override;
    void TextChanged();
    bool KeyPressFilter(TWidgetEvent& event);

    bool autoSelect_ = true;
    bool autoSize_ = true;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    TEchoMode echoMode_ = emNormal;
};

class TEdit_Qel : public TCustomEdit_Qel {
public:
    using TCustomEdit_Qel::TCustomEdit_Qel;
};

// ---- the multi-line edit -----------------------------------------------------------------------

struct TCaretPos {
    int Line = 0;
    int Col = 0;
};

using TLineFeedEvent = std::function<void(TObject* sender, int newLine, int oldLine)>;

class TCustomMemo_Qel : public TNativeEditControl {
public:
    explicit TCustomMemo_Qel(HWND parent);
    ~TCustomMemo_Qel() override;

    // The lines joined by LF, less one LF at the very end.
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    TMemoStrings_Qel& Lines() const { return *lines_; }
    void SetLines(const TWideStrings& lines) { lines_->Assign(lines); }
    void SetMaxLength(int maxLength);
    int UndoLevels() const { return undoLevels_; }
    void SetUndoLevels(int levels);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool wantReturns);
    bool WantTabs = false;
    // Caret, selection and copying as ever, but no key, cut, paste or clear changes the text.
    bool ReadOnlyWidthCaret = false;
    bool Locked() const override { return ReadOnly() || ReadOnlyWidthCaret; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    TWrapMode WrapMode() const { return wrapMode_; }
    void SetWrapMode(TWrapMode wrapMode);
    int WrapAtValue() const { return wrapAtValue_; }
    void SetWrapAtValue(int value);
    TWrapBreak WrapBreak() const { return wrapBreak_; }
    void SetWrapBreak(TWrapBreak wrapBreak);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);
    int HMargin() const { return hMargin_; }
    void SetHMargin(int margin);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle borderStyle);

    virtual TCaretPos GetCaretPos() const;
    void SetCaretPos(TCaretPos position);
    std::wstring GetSelText() const override;
    virtual void SetSelText(const std::wstring& text);
    virtual int GetSelLength() const;
    // Offsets count every line as its length plus 2.
    virtual int GetSelStart() const;
    virtual void SetSelStart(int offset);
    virtual void SetSelLength(int length);
    void Clear() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    // Takes the list over; nil leaves the memo without a menu of its own.
    void SetContextMenuList(std::unique_ptr<TMenuList> list) { ContextMenuList = std::move(list); }
    virtual void SortLines(TWideCompare compare);
    // Finds text after the caret and selects it.
    virtual bool Search(const std::wstring& text, bool matchCase);
    // Lays the text out again for the control's size.
    void Relayout();

    TLineFeedEvent OnLineFeed;

protected:
    virtual void Change();
    virtual void ReturnPressed();
    void CheckLineChange();
    void ModifiedChanged(bool modified) override;

    TCreateParams CreateParams() const override;
    void InitWidget() override;
    void RestoreWidgetState() override;
    bool EventFilter(TWidgetEvent& event) override;
    bool WantKey(TKeyCode key) const override;
    LRESULT DialogCode(const MSG& message, LRESULT code) const override;
    std::optional<LRESULT> WidgetMessage(TWidgetEvent& event) override;
    std::optional<LRESULT> Notification(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TMemoStrings_Qel;
    TEditActions EditActions() override;
    void TextChanged();
    // A change by the lines: reported now, or when their update ends.
    void LinesChanged();
    bool KeyPressFilter(TWidgetEvent& event);
    bool CharFilter(TWidgetEvent& event);
    // The unit before the caret or selection is the first half of a surrogate pair.
    bool AfterHighSurrogate() const;
    int LineLength(int line) const;
    int LineCount() const;
    int CharIndex(TCaretPos position) const;
    TCaretPos PositionOf(int charIndex) const;
    int OffsetOf(TCaretPos position) const;
    void ApplyWrapMode(TWrapMode mode);
    void ApplyWrapRect();
    bool NativeWraps() const;
    void UpdateScrollBars();
    bool AutoScroll(int bar) const;
    SCROLLINFO BarInfo(int bar) const;
    void Scroll(int bar, WORD request);

    std::unique_ptr<TMemoStrings_Qel> lines_;
    int undoLevels_ = 256;
    bool wantReturns_ = true;
    bool wordWrap_ = true;
    TWrapMode wrapMode_ = wmWidth;
    int wrapAtValue_ = -1;
    TWrapBreak wrapBreak_ = wbWhitespace;
    TScrollStyle scrollBars_ = ssNone;
    int hMargin_ = 3;
    TBorderStyle borderStyle_ = bsSunken3d;
    int lastLine_ = 0;
    DWORD nativeBars_ = 0; // the fixed bars the native edit was created with
    int shownBars_ = 0;    // the bars shown as needed, as 1 << SB_HORZ and 1 << SB_VERT
    bool updatingBars_ = false;
};

class TMemo_Qel : public TCustomMemo_Qel {
public:
    using TCustomMemo_Qel::TCustomMemo_Qel;
};

// ---- the combo box -----------------------------------------------------------------------------

// The ODS_ bits of the native owner-drawing.
using TOwnerDrawState = UINT;
using TIndexEvent = std::function<void(TObject* sender, int index)>;
using TDrawItemEvent = std::function<void(TObject* control, int index, RECT rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TObject* control, int index, int& height)>;

class TCustomComboBox_Qel : public TWidgetControl {
public:
    explicit TCustomComboBox_Qel(HWND parent);
    ~TCustomComboBox_Qel() override;

    TComboBoxStrings_Qel& Items() const { return *items_; }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    int ItemIndex() const;
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    TEditCharCase CharCase = ecNormal;
    int MaxItems() const { return maxItems_; }
    void SetMaxItems(int maxItems) { maxItems_ = maxItems; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    TDuplicates Duplicates() const { return items_->Duplicates; }
    void SetDuplicates(TDuplicates duplicates) { items_->Duplicates = duplicates; }
    bool AutoComplete = false;
    int DropDownCount = 8;
    TInsertMode InsertMode = ciNone; // Enter stores the text itself, so no policy ever applies
    int ItemHeight() const;
    void SetItemHeight(int height);
    int Height() const override;
    void SetBounds(int left, int top, int width, int height) override;
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool dropped);
    // The combo's edit field; null for every style but csDropDown.
    HWND EditField() const { return editField_; }
    // The surface of OnDrawItem, valid while it runs.
    HDC Canvas() const { return canvas_; }

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void ClearText();
    void SelectAll();

    TObjectEvent OnChange;
    TIndexEvent OnHighlighted;
    TIndexEvent OnSelect;
    TObjectEvent OnDropDown;
    TObjectEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    std::unique_ptr<TMenuList> ContextMenuList;
    std::unique_ptr<THotKeyList> HotKeyList;

protected:
    virtual void BuildContextMenu();
    virtual void BuildHotKeys();
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();

    TCreateParams CreateParams() const override;
    void HookEvents() override;
    void InitWidget() override;
    void SaveWidgetState() override;
    void RestoreWidgetState() override;
    void FontChanged() override;
    bool EventFilter(TWidgetEvent& event) override;
    std::optional<LRESULT> WidgetMessage(TWidgetEvent& event) override;
    std::optional<LRESULT> Notification(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TComboBoxStrings_Qel;
    // The current item. With an edit field it is ours: typing clears the native one, but the
    // edited text still belongs to the item that was current.
    int CurrentIndex() const;
    void SetCurrentIndex(int index);
    void ItemInserted(int index);
    bool EditFieldFilter(TWidgetEvent& event);
    void StoreEditedText();
    void AutoCompleteText();
    // The text-changed report: once per change of Text.
    void TextChanged();
    void Activated(int index);
    LRESULT MeasureItem(MEASUREITEMSTRUCT& item);
    LRESULT DrawItem(const DRAWITEMSTRUCT& item);
    int FieldHeight() const;
    // The window's height: the field and below it the room of the dropped list.
    int WindowHeight() const;
    void ApplyHeights();
    bool OwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }

    std::unique_ptr<TComboBoxStrings_Qel> items_;
    TComboBoxStyle style_ = csDropDown;
    int maxItems_ = -1;
    int maxLength_ = -1;
    int itemHeight_ = 16;
    int highlighted_ = -1;
    int current_ = -1;
    int chosenFromList_ = -1; // reported at the list's close; its late selection change is not new
    bool dropped_ = false;
    bool destroying_ = false;
    HWND editField_ = nullptr;
    HWND list_ = nullptr;
    HDC canvas_ = nullptr;
    std::wstring lastText_;

    struct TSavedState {
        std::wstring Text;
    };
    std::unique_ptr<TSavedState> saved_;
};

class TComboBox_Qel : public TCustomComboBox_Qel {
public:
    using TCustomComboBox_Qel::TCustomComboBox_Qel;
};
