#pragma once
// The headword list of the main window: 18 rows of headwords with a scroll bar, the word edit
// that searches the list while the user types, and the text browser that shows the current
// entry's article. The handler drives the controls; the main window owns them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dictionary.h"
#include "display/win32/OwnedHandle.h"
#include "main/controls/QStdCtrls_Qel.h"
#include "main/html/TextBrowser.h"

// "I" .. "XX": the homonym numbers 1 .. 20.
extern const wchar_t* const RomanNumerals[20];

// The row colours: the highlighted row, and every other one.
constexpr COLORREF kRowHighlightBack = RGB(64, 110, 200);
constexpr COLORREF kRowHighlightText = RGB(255, 255, 255);
constexpr COLORREF kRowBack = RGB(255, 255, 255);
constexpr COLORREF kRowText = RGB(0, 0, 0);

// The rows' font at a DPI (11 points of the interface face).
HFONT ListRowFont(int dpi);

// An article's text as HTML: escaped, every mark-up character turned into its tag.
std::wstring ArticleToHtml(std::wstring_view article);

// The word of an entry text without the blanks around it, which a pasted word often brings: what
// the list searches and the card looks up.
std::wstring TrimmedWord(const std::wstring& text);

class THandler : public TObject {
public:
    struct TRow {
        HWND Label;
        int32_t Entry; // -1: the dictionary has fewer entries than rows; the row stays empty
    };

    THandler();

    // Appends a row; its label gets the rows' font. Clicks reach RowClick through the form.
    void AddRow(HWND label);
    void AttachScrollBar(HWND scrollBar);
    void AttachEdit(TEdit_Qel* edit);
    // Shows the dictionary, the index-th of its direction: the rows from the top, then its own
    // current entry, then that entry's headword in the word edit (which searches again).
    void Attach(TDictHandle& dict, int32_t index);
    // Shows no dictionary: empty rows and article.
    void Detach();

    // Makes an entry current (clamped to the dictionary) and brings it into view.
    void SelectEntry(int32_t entry);
    // Shifts the rows by up to n entries within the dictionary; gives the shift applied.
    int32_t ScrollBy(int32_t n);
    void Highlight(HWND label);
    void RepaintRows();

    const wchar_t* Headword(int32_t entry) const;
    // The headword, and a homonym's Roman numeral after a blank.
    std::wstring RowText(int32_t entry) const;
    std::wstring ArticleHtml() const;
    // Publishes the current entry (the handle, the shared block) and renders its article.
    void ShowArticle();
    void ShowArticleAndWord();
    void ShowCurrentWord();
    // The keyboard goes to the list's own invisible edit.
    void ClearEdit();

    // The first entry beginning with the longest prefix of text that any headword begins with;
    // -1 for an empty text or when not even its first character matches.
    int32_t FindPrefix(const std::wstring& text) const;
    bool BinarySearchPrefix(const std::wstring& text, size_t k, int32_t& index) const;
    int ComparePrefix(const std::wstring& text, const wchar_t* headword, size_t k) const;

    // Event handlers.
    void EditChange(TObject* sender);
    void KeyDown(TObject* sender, TKeyCode& key, TShiftState shift);
    void EditKeyDown(TObject* sender, TKeyCode& key, TShiftState shift);
    void RowClick(HWND label);
    // code: the system's scroll request (SB_LINEUP ..); track: the thumb's position while dragged.
    void ScrollBarScroll(int code, int32_t track);
    // The mouse wheel over the rows (delta in WHEEL_DELTA units): scrolls as the scroll bar does.
    void WheelScroll(int delta);

    // The brush of a row label with the dictionary colours set into dc; null for any other window.
    HBRUSH RowColours(HWND label, HDC dc) const;

    TDictHandle* Dict = nullptr;
    int32_t DictIndex = -1;
    std::vector<TRow> Rows;
    HWND ScrollBar = nullptr;
    TTextBrowser Browser;
    TEdit_Qel* WordEdit = nullptr;
    TEdit_Qel* KeyEdit = nullptr;
    int32_t RowCount = 0;
    int32_t Current = -1;
    HWND Highlighted = nullptr;
    int32_t EntryCount = 0;
    bool FromNavigation = false;
    bool SettingWord = false;
    TObjectEvent OnWordChange;

private:
    int RowOf(HWND label) const;
    int32_t LastShownEntry() const;
    void SetRowEntry(TRow& row, int32_t entry, bool always = false);
    // The scroll bar's position is the first row's entry.
    void SyncScrollBar();

    TOwnedFont rowFont_;
    TOwnedBrush highlightBrush_;
    TOwnedBrush rowBrush_;
    int wheelRest_ = 0; // part of a notch not yet scrolled
};
