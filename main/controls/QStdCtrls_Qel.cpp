#include "main/controls/QStdCtrls_Qel.h"

#include "display/PlovaClipbrd.h"

const wchar_t* const SListCapacityError = L"List capacity out of bounds (%d)";

// ---- utility routines ------------------------------------------------------------------------

std::wstring WideCRLFToLF(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    size_t i = (!text.empty() && text[0] == 0xFEFF) ? 1 : 0;
    for (; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

std::wstring WideLFToCRLF(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            result += L'\r';
        }
        result += text[i];
    }
    return result;
}

int CountLineBreaks(const std::wstring& text, int limit) {
    const long long bound = limit < 0 ? static_cast<long long>(text.size()) : limit;
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r') {
            continue;
        }
        if (static_cast<long long>(i) >= bound + count) {
            break;
        }
        ++count;
    }
    return count;
}

TAlignment AlignmentFromStyle(DWORD style) {
    if (style & ES_CENTER) {
        return taCenter;
    }
    if (style & ES_RIGHT) {
        return taRightJustify;
    }
    return taLeftJustify;
}

DWORD AlignmentStyle(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return ES_RIGHT;
    case taCenter:
        return ES_CENTER;
    default:
        return ES_LEFT;
    }
}

bool ApplyCharCaseToKey(wchar_t& key, TEditCharCase charCase) {
    if (charCase == ecNormal || key == 0) {
        return false;
    }
    wchar_t converted = key;
    if (charCase == ecUpperCase) {
        CharUpperBuffW(&converted, 1);
    } else {
        CharLowerBuffW(&converted, 1);
    }
    if (converted == key) {
        return false;
    }
    key = converted;
    return true;
}

// ---- the edits' menu and hot keys ------------------------------------------------------------

namespace {

constexpr const wchar_t* Separator = L"-";

void AddEntry(TMenuList& list, const wchar_t* caption, TKeyCode letter, const TObjectEvent& onClick,
              const TEnabledTest& onEnabled) {
    list.Add(NewMenuRec(caption, letter != 0 ? ShortCut(letter, ssCtrl) : 0, nullptr, onClick, onEnabled));
}

} // namespace

void FillEditContextMenu(TMenuList& list, const TEditActions& a) {
    AddEntry(list, EditCaptions::Undo, 'Z', a.Undo, a.CanUndo);
    AddEntry(list, EditCaptions::Redo, 'B', a.Redo, a.CanRedo);
    AddEntry(list, Separator, 0, nullptr, nullptr);
    AddEntry(list, EditCaptions::Cut, 'X', a.Cut, a.CanCut);
    AddEntry(list, EditCaptions::Copy, 'C', a.Copy, a.CanCopy);
    AddEntry(list, EditCaptions::Paste, 'V', a.Paste, a.CanPaste);
    AddEntry(list, EditCaptions::Clear, 0, a.Clear, a.CanClear);
    AddEntry(list, Separator, 0, nullptr, nullptr);
    AddEntry(list, EditCaptions::SelectAll, 'M', a.SelectAll, a.CanSelectAll);
}

void FillEditHotKeys(THotKeyList& list, const TEditActions& a) {
    list.Add(NewHotKeyRec('C', ssCtrl, a.Copy, a.CanCopy));
    list.Add(NewHotKeyRec('V', ssCtrl, a.Paste, a.CanPaste));
    list.Add(NewHotKeyRec('X', ssCtrl, a.Cut, a.CanCut));
    list.Add(NewHotKeyRec('Z', ssCtrl, a.Undo, a.CanUndo));
    list.Add(NewHotKeyRec('B', ssCtrl, a.Redo, a.CanRedo));
    list.Add(NewHotKeyRec('M', ssCtrl, a.SelectAll, a.CanSelectAll));
}

bool ClipboardHasText() {
    return !Clipboard().GetWideText().empty();
}

void CopyTextToClipboard(const std::wstring& text) {
    if (!text.empty()) {
        Clipboard().SetWideText(text);
    }
}

void KeepRestOnClipboard(const std::wstring& text, size_t used) {
    if (used < text.size()) {
        Clipboard().SetWideText(text.substr(used));
    } else {
        Clipboard().Clear();
    }
}

TKeyCode NativeEditingKey(TKeyCode key, TShiftState modifiers) {
    if (key == keyInsert && modifiers == ssShift) {
        return 'V';
    }
    if (key == keyInsert && modifiers == ssCtrl) {
        return 'C';
    }
    if (key == keyDelete && modifiers == ssShift) {
        return 'X';
    }
    if (key == keyBackspace && modifiers == ssAlt) {
        return 'Z';
    }
    return 0;
}

bool IsNativeEditingChar(wchar_t key) {
    return key == 0x03 || key == 0x16 || key == 0x18 || key == 0x1A;
}

// ---- TCustomListBoxStrings_Qel ---------------------------------------------------------------

std::wstring TCustomListBoxStrings_Qel::Get(int index) const {
    std::wstring text;
    if (!ItemText(index, text)) {
        Error(SListIndexError, index);
    }
    return text;
}

int TCustomListBoxStrings_Qel::GetCount() const {
    return ItemCount();
}

void TCustomListBoxStrings_Qel::Put(int index, const std::wstring& text) {
    const int current = CurrentItem();
    TWideStrings::Put(index, text);
    SetCurrentItem(current);
}

int TCustomListBoxStrings_Qel::Add(const std::wstring& text) {
    const int index = GetCount();
    Insert(index, text);
    return index;
}

void TCustomListBoxStrings_Qel::Clear() {
    RemoveAllItems();
    SetCurrentItem(-1);
}

void TCustomListBoxStrings_Qel::Delete(int index) {
    RemoveItem(index);
}

// Exchange and Move work on the native items: the duplicates policy and the item limit judge new
// lines, and a line that only changes places is none.
void TCustomListBoxStrings_Qel::Exchange(int index1, int index2) {
    const std::wstring text1 = Get(index1);
    const std::wstring text2 = Get(index2);
    if (index1 == index2) {
        return;
    }
    const TListObject object1 = GetObject(index1);
    const TListObject object2 = GetObject(index2);
    const int current = CurrentItem();
    PlaceItem(index1, index1, text2, object2);
    PlaceItem(index2, index2, text1, object1);
    SetCurrentItem(current);
}

void TCustomListBoxStrings_Qel::PlaceItem(int from, int to, const std::wstring& text, TListObject object) {
    RemoveItem(from);
    InsertItem(to >= GetCount() ? -1 : to, text);
    PutObject(to, object);
}

void TCustomListBoxStrings_Qel::Insert(int index, const std::wstring& text) {
    InsertItem(index >= GetCount() ? -1 : index, text);
}

void TCustomListBoxStrings_Qel::Move(int currentIndex, int newIndex) {
    const std::wstring text = Get(currentIndex);
    if (newIndex < 0 || newIndex >= GetCount()) {
        Error(SListIndexError, newIndex);
    }
    if (currentIndex == newIndex) {
        return;
    }
    const int current = CurrentItem();
    PlaceItem(currentIndex, newIndex, text, GetObject(currentIndex));
    SetCurrentItem(current);
}

// ---- TComboBoxStrings_Qel --------------------------------------------------------------------

int TComboBoxStrings_Qel::ItemCount() const {
    const LRESULT count = SendMessageW(comboBox_.Handle(), CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

bool TComboBoxStrings_Qel::ItemText(int index, std::wstring& text) const {
    HWND combo = comboBox_.Handle();
    if (index < 0 || index >= ItemCount()) {
        return false;
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return false;
    }
    text.assign(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return true;
}

void TComboBoxStrings_Qel::InsertItem(int index, const std::wstring& text) {
    SendMessageW(comboBox_.Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
    comboBox_.ItemInserted(index);
}

void TComboBoxStrings_Qel::RemoveItem(int index) {
    SendMessageW(comboBox_.Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TComboBoxStrings_Qel::RemoveAllItems() {
    SendMessageW(comboBox_.Handle(), CB_RESETCONTENT, 0, 0);
    InvalidateRect(comboBox_.Handle(), nullptr, TRUE);
}

int TComboBoxStrings_Qel::CurrentItem() const {
    return comboBox_.CurrentIndex();
}

void TComboBoxStrings_Qel::SetCurrentItem(int index) {
    comboBox_.SetCurrentIndex(index);
}

TListObject TComboBoxStrings_Qel::GetObject(int index) const {
    if (index < 0 || index >= ItemCount()) {
        return nullptr;
    }
    const LRESULT data = SendMessageW(comboBox_.Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<TListObject>(data);
}

void TComboBoxStrings_Qel::PutObject(int index, TListObject object) {
    if (index >= 0 && index < ItemCount()) {
        SendMessageW(comboBox_.Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    }
    Modified = true;
}

int TComboBoxStrings_Qel::IndexOfOther(const std::wstring& text, int except) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (i != except && CompareStrings(Get(i), text) == 0) {
            return i;
        }
    }
    return -1;
}

void TComboBoxStrings_Qel::CheckRoom(int count) const {
    if (static_cast<unsigned>(count) >= static_cast<unsigned>(comboBox_.MaxItems())) {
        throw EStringListError(FormatMessageText(SListCapacityError, comboBox_.MaxItems()));
    }
}

void TComboBoxStrings_Qel::Put(int index, const std::wstring& text) {
    if (Duplicates != dupAccept && IndexOfOther(text, index) >= 0) {
        if (Duplicates == dupError) {
            Error(SDuplicateString, 0);
        }
        return;
    }
    TCustomListBoxStrings_Qel::Put(index, text);
    SetCurrentItem(index);
}

void TComboBoxStrings_Qel::Insert(int index, const std::wstring& text) {
    CheckRoom(GetCount());
    if (Duplicates != dupAccept && IndexOf(text) >= 0) {
        if (Duplicates == dupError) {
            Error(SDuplicateString, 0);
        }
        return;
    }
    TCustomListBoxStrings_Qel::Insert(index, text);
}

int TComboBoxStrings_Qel::ReplaceSorted(int index, const std::wstring& text, TWideCompare compare) {
    const bool replacing = index >= 0 && index < GetCount();
    if (Duplicates != dupAccept) {
        const int equal = IndexOfOther(text, replacing ? index : -1);
        if (equal >= 0) {
            if (Duplicates == dupError) {
                Error(SDuplicateString, 0);
            }
            return equal;
        }
    }
    CheckRoom(GetCount() - (replacing ? 1 : 0));
    return TWideStrings::ReplaceSorted(index, text, compare);
}

void TComboBoxStrings_Qel::Clear() {
    SetCurrentItem(-1);
    TCustomListBoxStrings_Qel::Clear();
}

void TComboBoxStrings_Qel::Delete(int index) {
    int current = CurrentItem();
    if (index <= current) {
        if (index < current) {
            --current;
        }
        SetCurrentItem(-1);
    }
    TCustomListBoxStrings_Qel::Delete(index);
    SetCurrentItem(current);
}

// ---- TNativeEditControl ----------------------------------------------------------------------

TNativeEditControl::~TNativeEditControl() {
    ContextMenuList.reset();
    HotKeyList.reset();
}

bool TNativeEditControl::Modified() const {
    return SendMessageW(Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TNativeEditControl::SetModified(bool modified) {
    if (modified != Modified()) {
        SendMessageW(Handle(), EM_SETMODIFY, modified, 0);
        ModifiedChanged(modified);
    }
}

bool TNativeEditControl::ReadOnly() const {
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

void TNativeEditControl::SetReadOnly(bool readOnly) {
    if (readOnly != ReadOnly()) {
        SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
    }
}

TAlignment TNativeEditControl::Alignment() const {
    return AlignmentFromStyle(static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)));
}

void TNativeEditControl::SetAlignment(TAlignment alignment) {
    if (alignment != Alignment()) {
        // The native edit takes its alignment only when it is created; the re-creation keeps the
        // text and the caret.
        alignment_ = alignment;
        RecreateWidget();
    }
}

void TNativeEditControl::SelectAll() {
    EditSetSelection(Handle(), 0, -1);
}

void TNativeEditControl::CopyToClipboard() {
    CopyTextToClipboard(GetSelText());
}

void TNativeEditControl::Undo() {
    if (!Locked()) {
        history_.Undo(Handle());
    }
}

void TNativeEditControl::Redo() {
    if (!Locked()) {
        history_.Redo(Handle());
    }
}

TEditActions TNativeEditControl::EditActionHandlers() {
    TEditActions a;
    a.Undo = [this](TObject*) { Undo(); };
    a.Redo = [this](TObject*) { Redo(); };
    a.Cut = [this](TObject*) { CutToClipboard(); };
    a.Copy = [this](TObject*) { CopyToClipboard(); };
    a.Paste = [this](TObject*) { PasteFromClipboard(); };
    a.Clear = [this](TObject*) { Clear(); };
    a.SelectAll = [this](TObject*) { SelectAll(); };
    return a;
}

void TNativeEditControl::BuildContextMenu() {
    ContextMenuList = std::make_unique<TMenuList>();
    FillEditContextMenu(*ContextMenuList, EditActions());
}

void TNativeEditControl::BuildHotKeys() {
    HotKeyList = std::make_unique<THotKeyList>();
    FillEditHotKeys(*HotKeyList, EditActions());
}

bool TNativeEditControl::HotKeyPressed(const TWidgetEvent& event) {
    return HotKeyList->Dispatch(this, ShortCut(event.Key, event.Shift & ssModifiers));
}

bool TNativeEditControl::NativeEditingKeyPressed(const TWidgetEvent& event) {
    const TKeyCode letter = NativeEditingKey(event.Key, event.Shift & ssModifiers);
    if (letter == 0) {
        return false;
    }
    HotKeyList->Dispatch(this, ShortCut(letter, ssCtrl));
    return true;
}

void TNativeEditControl::EditQuietly(int start, int end, const std::wstring& text) {
    quiet_ = true;
    try {
        EditSetSelection(Handle(), start, end);
        EditReplaceSelection(Handle(), text, false);
    } catch (...) {
        quiet_ = false;
        throw;
    }
    quiet_ = false;
}

void TNativeEditControl::SaveWidgetState() {
    saved_ = std::make_unique<TSavedState>();
    saved_->Text = EditText(Handle());
    EditGetSelection(Handle(), saved_->SelStart, saved_->SelEnd);
    saved_->FirstLine = static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    saved_->Modified = Modified();
    saved_->ReadOnly = ReadOnly();
}

std::unique_ptr<TNativeEditControl::TSavedState> TNativeEditControl::RestoreEditState() {
    std::unique_ptr<TSavedState> saved = std::move(saved_);
    if (saved) {
        EditQuietly(0, -1, saved->Text);
        EditSetSelection(Handle(), saved->SelStart, saved->SelEnd);
        SendMessageW(Handle(), EM_SETMODIFY, saved->Modified, 0);
        SendMessageW(Handle(), EM_SETREADONLY, saved->ReadOnly, 0);
    }
    return saved;
}

std::optional<LRESULT> TNativeEditControl::WidgetMessage(TWidgetEvent& event) {
    switch (event.Message) {
    case WM_UNDO:
    case EM_UNDO:
        Undo();
        return TRUE;
    case EM_CANUNDO:
        return CanUndo() && !Locked();
    case WM_CLEAR:
        if (Locked()) {
            return 0;
        }
        return std::nullopt;
    case EM_EMPTYUNDOBUFFER:
        history_.Forget(Handle());
        return 0;
    default:
        return ClipboardMessage(*this, event.Message);
    }
}
