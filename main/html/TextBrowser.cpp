#include "main/html/TextBrowser.h"

#include <commctrl.h>
#include <richedit.h>

#include <climits>

#include "core/Exceptions.h"
#include "core/win32/SystemText.h"
#include "main/html/HtmlReader.h"
#include "main/html/RtfWriter.h"

namespace {

constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;

const wchar_t* FindClassName() {
    struct TKind {
        const wchar_t* Library;
        const wchar_t* Class;
    };
    // The library stays loaded for the process: its class serves every browser.
    for (const TKind kind : {TKind{L"Msftedit.dll", MSFTEDIT_CLASS}, TKind{L"Riched20.dll", RICHEDIT_CLASSW}}) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        if (LoadLibraryW(kind.Library) != nullptr && GetClassInfoExW(nullptr, kind.Class, &wc)) {
            return kind.Class;
        }
    }
    return nullptr;
}

constexpr UINT_PTR kWheelPasserId = 1;

// The innermost visible child of `root` at a screen point; `root` when none is there.
HWND ChildAt(HWND root, POINT screen) {
    HWND at = root;
    for (;;) {
        POINT client = screen;
        ScreenToClient(at, &client);
        const HWND child = ChildWindowFromPointEx(at, client, CWP_SKIPINVISIBLE);
        if (child == nullptr || child == at) {
            return at;
        }
        at = child;
    }
}

// A focused rich edit scrolls itself on the wheel wherever the cursor is; the wheel belongs to
// what is under the cursor, so over another part of the same window it goes there.
LRESULT CALLBACK PassWheelAway(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_MOUSEWHEEL) {
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const HWND root = GetAncestor(window, GA_ROOT);
        RECT area = {};
        if (GetWindowRect(root, &area) && PtInRect(&area, at)) {
            if (const HWND under = ChildAt(root, at); under != window) {
                return SendMessageW(under, message, wParam, lParam);
            }
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

const wchar_t* TextBrowserClassName() {
    static const wchar_t* const name = FindClassName();
    return name;
}

TTextBrowser TTextBrowser::Create(HWND parent, int x, int y, int width, int height, int id) {
    const wchar_t* className = TextBrowserClassName();
    if (className == nullptr) {
        throw EOSError(ERROR_MOD_NOT_FOUND,
                       L"Cannot create the text browser. " + SystemErrorMessage(ERROR_MOD_NOT_FOUND));
    }
    const HWND window =
        CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", kStyle, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        const DWORD error = GetLastError();
        throw EOSError(error, L"Cannot create the text browser. " + SystemErrorMessage(error));
    }
    SetWindowSubclass(window, PassWheelAway, kWheelPasserId, 0);
    // Help pages run past the default limit of 64K characters.
    SendMessageW(window, EM_EXLIMITTEXT, 0, INT_MAX);
    SendMessageW(window, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    // Every run keeps the document's one font, whatever script its letters are in.
    const LRESULT options = SendMessageW(window, EM_GETLANGOPTIONS, 0, 0);
    SendMessageW(window, EM_SETLANGOPTIONS, 0, options & ~static_cast<LRESULT>(IMF_AUTOFONT | IMF_DUALFONT));
    return TTextBrowser(window);
}

void TTextBrowser::SetHtml(std::wstring_view html) {
    if (window_ == nullptr) {
        return;
    }
    const std::string rtf = WriteRtf(ReadHtml(html));
    SETTEXTEX settings = {ST_DEFAULT, CP_ACP};
    SendMessageW(window_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&settings), reinterpret_cast<LPARAM>(rtf.c_str()));
    ScrollToTop();
}

void TTextBrowser::Clear() {
    if (window_ == nullptr) {
        return;
    }
    SETTEXTEX settings = {ST_DEFAULT, 1200};
    SendMessageW(window_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&settings), reinterpret_cast<LPARAM>(L""));
}

std::wstring TTextBrowser::Text() const {
    if (window_ == nullptr) {
        return std::wstring();
    }
    GETTEXTLENGTHEX lengthQuery = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT length = SendMessageW(window_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    query.flags = GT_DEFAULT;
    query.codepage = 1200;
    const LRESULT copied =
        SendMessageW(window_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void TTextBrowser::SelectAll() {
    if (window_ != nullptr) {
        SendMessageW(window_, EM_SETSEL, 0, -1);
    }
}

void TTextBrowser::Copy() {
    if (window_ == nullptr) {
        return;
    }
    // The control would put an empty text on the clipboard over what the user had there.
    CHARRANGE selection = {};
    SendMessageW(window_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (selection.cpMin != selection.cpMax) {
        SendMessageW(window_, WM_COPY, 0, 0);
    }
}

void TTextBrowser::ScrollToTop() {
    if (window_ != nullptr) {
        SendMessageW(window_, EM_SETSEL, 0, 0);
        SendMessageW(window_, WM_VSCROLL, SB_TOP, 0);
    }
}

void TTextBrowser::SetFocus() {
    if (window_ != nullptr) {
        ::SetFocus(window_);
    }
}
