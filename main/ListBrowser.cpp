#include "main/ListBrowser.h"

#include <algorithm>
#include <cwchar>
#include <map>

#include "core/GlobalCustoms.h"
#include "core/TatAlphabet.h"
#include "display/TextFormat.h"
#include "display/win32/Dpi.h"
#include "main/html/HtmlValues.h"

const wchar_t* const RomanNumerals[20] = {L"I",    L"II",  L"III",  L"IV",    L"V",   L"VI",   L"VII",
                                          L"VIII", L"IX",  L"X",    L"XI",    L"XII", L"XIII", L"XIV",
                                          L"XV",   L"XVI", L"XVII", L"XVIII", L"XIX", L"XX"};

namespace {

constexpr int kRowFontPoints = 11;

// Focus only moves inside a window on the screen: a hidden form is not to be activated by it.
void FocusIfShown(TWidgetControl* control) {
    if (control != nullptr && control->Handle() != nullptr &&
        IsWindowVisible(GetAncestor(control->Handle(), GA_ROOT))) {
        control->SetFocus();
    }
}

HFONT MakeRowFont(int dpi) {
    LOGFONTW font = MessageFontForDpi(dpi);
    font.lfHeight = -MulDiv(kRowFontPoints, dpi, 72);
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

} // namespace

HFONT ListRowFont(int dpi) {
    // One font per scale for the whole run: the rows keep it selected.
    static std::map<int, TOwnedFont> fonts;
    auto found = fonts.find(dpi);
    if (found == fonts.end()) {
        found = fonts.emplace(dpi, TOwnedFont(MakeRowFont(dpi))).first;
    }
    return found->second.Get();
}

std::wstring ArticleToHtml(std::wstring_view article) {
    std::wstring html;
    html.reserve(article.size() + article.size() / 2);
    for (const wchar_t c : article) {
        // Markers first: an entity written before them would have its letters taken for markers.
        if (IsStyleMarker(c)) {
            html += MarkersToTags(std::wstring_view(&c, 1));
        } else {
            AppendHtmlEscaped(html, std::wstring_view(&c, 1));
        }
    }
    return html;
}

std::wstring TrimmedWord(const std::wstring& text) {
    constexpr const wchar_t* kBlanks = L" \t\r\n\x00A0\x3000";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

THandler::THandler()
    : rowFont_(MakeRowFont(SystemDpi())), highlightBrush_(CreateSolidBrush(kRowHighlightBack)),
      rowBrush_(CreateSolidBrush(kRowBack)) {}

void THandler::AddRow(HWND label) {
    Rows.push_back({label, 0});
    SetWindowLongPtrW(label, GWL_STYLE, GetWindowLongPtrW(label, GWL_STYLE) & ~WS_TABSTOP);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont_.Get()), FALSE);
}

void THandler::AttachScrollBar(HWND scrollBar) {
    ScrollBar = scrollBar;
    SetWindowLongPtrW(scrollBar, GWL_STYLE, GetWindowLongPtrW(scrollBar, GWL_STYLE) & ~WS_TABSTOP);
}

void THandler::AttachEdit(TEdit_Qel* edit) {
    WordEdit = edit;
    edit->OnChange = [this](TObject* sender) { EditChange(sender); };
    edit->OnKeyDown = [this](TObject* sender, TKeyCode& key, TShiftState shift) { EditKeyDown(sender, key, shift); };
}

void THandler::Attach(TDictHandle& dict, int32_t index) {
    if (KeyEdit != nullptr) {
        KeyEdit->OnKeyDown = [this](TObject* sender, TKeyCode& key, TShiftState shift) { KeyDown(sender, key, shift); };
    }
    Dict = &dict;
    DictIndex = index;
    EntryCount = std::max(dict.EntryCount, 0);
    Current = -1;
    for (size_t i = 0; i < Rows.size(); ++i) {
        SetRowEntry(Rows[i], static_cast<int32_t>(i) < EntryCount ? static_cast<int32_t>(i) : -1, true);
    }
    RepaintRows();
    if (ScrollBar != nullptr) {
        // A page of RowCount: the largest position is N - RowCount, and none when all rows fit.
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = std::max(EntryCount - 1, 0);
        info.nPage = static_cast<UINT>(std::max(RowCount, 1));
        info.nPos = 0;
        SetScrollInfo(ScrollBar, SB_CTL, &info, TRUE);
    }
    if (EntryCount == 0) {
        Browser.Clear();
        return;
    }
    if (dict.CurEntry < 0) {
        dict.CurEntry = 0;
    }
    SelectEntry(dict.CurEntry);
    ShowCurrentWord();
}

void THandler::Detach() {
    Dict = nullptr;
    DictIndex = -1;
    EntryCount = 0;
    Current = -1;
    for (TRow& row : Rows) {
        SetRowEntry(row, -1, true);
    }
    Highlight(nullptr);
    if (ScrollBar != nullptr) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        SetScrollInfo(ScrollBar, SB_CTL, &info, TRUE);
    }
    Browser.Clear();
}

void THandler::SelectEntry(int32_t entry) {
    if (Dict == nullptr || EntryCount == 0 || Rows.empty()) {
        return;
    }
    Current = std::clamp(entry, 0, EntryCount - 1);
    const int32_t before = Current - Rows.front().Entry;
    const int32_t after = LastShownEntry() - Current;
    if (before < 0) {
        ScrollBy(before);
    } else if (after < 0) {
        ScrollBy(-after);
    } else {
        RepaintRows();
    }
    SyncScrollBar();
    if (FromNavigation) {
        ShowArticleAndWord();
    } else {
        ShowArticle();
    }
    Dict->CurEntry = Current;
}

int32_t THandler::ScrollBy(int32_t n) {
    if (Rows.empty() || EntryCount == 0) {
        return 0;
    }
    const int32_t first = Rows.front().Entry;
    int32_t shift = n;
    if (n > 0) {
        // Fewer entries than rows: nothing to scroll, and no row may leave the dictionary.
        shift = std::min(n, std::max(EntryCount - RowCount, 0) - first);
    } else if (n < 0) {
        shift = std::max(n, -first);
    }
    if (shift != 0) {
        for (TRow& row : Rows) {
            SetRowEntry(row, row.Entry + shift);
            if (row.Entry == Current) {
                Highlight(row.Label);
            } else if (row.Label == Highlighted) {
                Highlight(nullptr);
            }
        }
    }
    return shift;
}

void THandler::Highlight(HWND label) {
    if (label == Highlighted) {
        return;
    }
    const HWND previous = Highlighted;
    Highlighted = label;
    for (const HWND changed : {previous, label}) {
        if (changed != nullptr) {
            InvalidateRect(changed, nullptr, TRUE);
        }
    }
}

void THandler::RepaintRows() {
    bool shown = false;
    for (const TRow& row : Rows) {
        if (row.Entry >= 0 && row.Entry == Current) {
            Highlight(row.Label);
            shown = true;
        }
    }
    if (!shown && Highlighted != nullptr) {
        Highlight(nullptr);
    }
}

const wchar_t* THandler::Headword(int32_t entry) const {
    if (Dict == nullptr || entry < 0 || entry >= EntryCount) {
        return L"";
    }
    return Dict->Headword(entry);
}

std::wstring THandler::RowText(int32_t entry) const {
    std::wstring text = Headword(entry);
    if (Dict != nullptr && entry >= 0 && entry < EntryCount) {
        const int32_t homonym = Dict->Entry(entry).Homonym;
        if (homonym >= 1 && homonym <= 20) {
            text += L' ';
            text += RomanNumerals[homonym - 1];
        }
    }
    return text;
}

std::wstring THandler::ArticleHtml() const {
    const wchar_t* article = Dict != nullptr && Current >= 0 && Current < EntryCount ? Dict->Article(Current) : L"";
    std::wstring html = L"<HTML><STRONG><FONT COLOR=\"#0000FF\" SIZE=5>";
    html += EscapeHtml(Headword(Current));
    html += L"<BR></FONT></STRONG><FONT SIZE=4><BIG>";
    html += ArticleToHtml(article);
    html += L"</BIG></FONT></HTML>";
    return html;
}

void THandler::ShowArticle() {
    if (Dict == nullptr || Current < 0 || Current >= EntryCount) {
        return;
    }
    Dict->CurEntry = Current;
    Dict->CurFlags = Dict->Entry(Current).Flags;
    // The dictionary goes with the entry: an entry index alone names another dictionary's entry
    // once the tray program has made another dictionary current.
    if (TGlobalCustoms* block = SharedCustoms()) {
        block->CurDict = DictIndex;
        block->CurEntry = Current;
    }
    Browser.SetHtml(ArticleHtml());
}

void THandler::ShowArticleAndWord() {
    ShowArticle();
    if (WordEdit == nullptr || Current < 0) {
        return;
    }
    SettingWord = true;
    try {
        WordEdit->SetText(Headword(Current));
    } catch (...) {
        SettingWord = false;
        throw;
    }
    SettingWord = false;
}

void THandler::ShowCurrentWord() {
    if (WordEdit != nullptr && Current >= 0) {
        WordEdit->SetText(Headword(Current));
    }
}

void THandler::ClearEdit() {
    if (KeyEdit != nullptr) {
        FocusIfShown(KeyEdit);
        KeyEdit->SetText(std::wstring());
    }
}

int32_t THandler::FindPrefix(const std::wstring& text) const {
    int32_t result = -1;
    for (size_t k = 1; k <= text.size(); ++k) {
        int32_t index = -1;
        // A longer prefix matches only where a shorter one did.
        if (!BinarySearchPrefix(text, k, index)) {
            break;
        }
        result = index;
    }
    return result;
}

bool THandler::BinarySearchPrefix(const std::wstring& text, size_t k, int32_t& index) const {
    index = -1;
    if (EntryCount == 0) {
        return false;
    }
    uint32_t lo = 0;
    int64_t hi = EntryCount - 1;
    bool found = false;
    uint32_t mid = 0;
    while (static_cast<int64_t>(lo) <= hi && !found) {
        mid = static_cast<uint32_t>((lo + static_cast<uint32_t>(hi)) / 2);
        const int c = ComparePrefix(text, Headword(static_cast<int32_t>(mid)), k);
        if (c > 0) {
            lo = mid + 1;
        } else {
            hi = static_cast<int64_t>(mid) - 1;
            found = c == 0;
        }
    }
    if (!found) {
        return false;
    }
    while (mid > 0 && ComparePrefix(text, Headword(static_cast<int32_t>(mid - 1)), k) == 0) {
        --mid;
    }
    index = static_cast<int32_t>(mid);
    return true;
}

int THandler::ComparePrefix(const std::wstring& text, const wchar_t* headword, size_t k) const {
    k = std::min(k, text.size());
    return TatCompareText(text.c_str(), k, headword, wcsnlen(headword, k));
}

void THandler::EditChange(TObject* sender) {
    if (!SettingWord && WordEdit != nullptr) {
        const int32_t found = FindPrefix(TrimmedWord(WordEdit->Text()));
        if (found != -1) {
            SelectEntry(found);
        }
    }
    if (OnWordChange) {
        OnWordChange(sender);
    }
}

void THandler::KeyDown(TObject*, TKeyCode& key, TShiftState) {
    if (EntryCount == 0) {
        return;
    }
    // While a row shows the current entry a key moves it; otherwise the first key brings it back.
    const int32_t step = Highlighted != nullptr ? 1 : 0;
    int32_t target = 0;
    switch (key) {
    case keyHome:
        target = 0;
        break;
    case keyEnd:
        target = EntryCount - 1;
        break;
    case keyUp:
        target = Current - step;
        break;
    case keyDown:
        target = Current + step;
        break;
    case keyPageUp:
        target = Current - step * RowCount;
        break;
    case keyPageDown:
        target = Current + step * RowCount;
        break;
    default:
        return;
    }
    FromNavigation = true;
    try {
        SelectEntry(target);
    } catch (...) {
        FromNavigation = false;
        throw;
    }
    FromNavigation = false;
}

void THandler::EditKeyDown(TObject* sender, TKeyCode& key, TShiftState shift) {
    if (key == keyUp || key == keyDown || key == keyPageUp || key == keyPageDown) {
        KeyDown(sender, key, shift);
        key = 0; // the edit's caret stays where it is
    }
}

void THandler::RowClick(HWND label) {
    const int row = RowOf(label);
    if (row < 0 || Rows[static_cast<size_t>(row)].Entry < 0) {
        return;
    }
    FromNavigation = true;
    try {
        const int32_t entry = Rows[static_cast<size_t>(row)].Entry;
        if (entry != Current) {
            Highlight(label);
            Current = entry;
        }
        ShowArticleAndWord();
    } catch (...) {
        FromNavigation = false;
        throw;
    }
    FromNavigation = false;
    ClearEdit();
}

void THandler::ScrollBarScroll(int code, int32_t track) {
    if (Rows.empty()) {
        return;
    }
    switch (code) {
    case SB_LINEUP:
        ScrollBy(-1);
        break;
    case SB_LINEDOWN:
        ScrollBy(1);
        break;
    case SB_PAGEUP:
        ScrollBy(1 - RowCount);
        break;
    case SB_PAGEDOWN:
        ScrollBy(RowCount - 1);
        break;
    case SB_THUMBTRACK:
        ScrollBy(track - Rows.front().Entry);
        break;
    default:
        return;
    }
    SyncScrollBar();
}

HBRUSH THandler::RowColours(HWND label, HDC dc) const {
    if (RowOf(label) < 0) {
        return nullptr;
    }
    const bool highlighted = label == Highlighted;
    SetTextColor(dc, highlighted ? kRowHighlightText : kRowText);
    SetBkColor(dc, highlighted ? kRowHighlightBack : kRowBack);
    return highlighted ? highlightBrush_.Get() : rowBrush_.Get();
}

int THandler::RowOf(HWND label) const {
    for (size_t i = 0; i < Rows.size(); ++i) {
        if (Rows[i].Label == label) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int32_t THandler::LastShownEntry() const {
    int32_t last = -1;
    for (const TRow& row : Rows) {
        last = std::max(last, row.Entry);
    }
    return last;
}

void THandler::SetRowEntry(TRow& row, int32_t entry, bool always) {
    if (entry == row.Entry && !always) {
        return; // the caption is that entry's already
    }
    row.Entry = entry;
    const std::wstring caption = entry >= 0 ? L" " + RowText(entry) : std::wstring();
    SetWindowTextW(row.Label, caption.c_str());
}

void THandler::WheelScroll(int delta) {
    if (Rows.empty()) {
        return;
    }
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int32_t step = lines == WHEEL_PAGESCROLL ? RowCount - 1 : static_cast<int32_t>(std::min(lines, 100u));
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (notches != 0) {
        ScrollBy(-notches * step);
        SyncScrollBar();
    }
}

void THandler::SyncScrollBar() {
    if (ScrollBar != nullptr && !Rows.empty()) {
        SetScrollPos(ScrollBar, SB_CTL, std::max(Rows.front().Entry, 0), TRUE);
    }
}
