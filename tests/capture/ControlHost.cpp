// capture_host READY_EVENT: shows the capture tests' standard text controls in a process of its
// own, signals READY_EVENT, tells where a character of a control is drawn (WM_HOST_CHAR_POINT),
// and ends on WM_CLOSE or after two minutes, should the test be gone.

#include <windows.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "tests/capture/ControlHost.h"

namespace {

constexpr UINT_PTR LifetimeTimer = 1;
constexpr UINT Lifetime = 120000;

struct TChild {
    TControlId Id;
    const wchar_t* Class;
    DWORD Style;
    RECT Place; // left, top, width, height
    bool GuiFont;
};

// The first static and the list box keep the system font, the labels have the GUI font: Wine
// answers WM_GETFONT from another process with NULL, so the capture asks in this process.
const TChild Children[] = {
    {IdEdit, L"EDIT", WS_BORDER | ES_AUTOHSCROLL, {10, 10, 860, 26}, true},
    {IdMultiEdit, L"EDIT", WS_BORDER | WS_VSCROLL | ES_MULTILINE, {10, 46, 860, 120}, true},
    {IdRichEdit, L"RICHEDIT50W", WS_BORDER | ES_MULTILINE, {10, 176, 860, 100}, true},
    {IdStatic, L"STATIC", SS_LEFT, {10, 286, 860, 24}, false},
    {IdList, L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {10, 320, 860, 180}, false},
    {IdLabel, L"STATIC", SS_LEFT, {10, 510, 600, 24}, true},
    {IdLabelCentre, L"STATIC", SS_CENTER, {10, 540, 600, 24}, true},
    {IdLabelRight, L"STATIC", SS_RIGHT, {10, 570, 600, 24}, true},
};

// Right edges of each character of one line in the control's font, and the line's height.
std::vector<int> Edges(HWND control, const std::wstring& line, int& height) {
    std::vector<int> edges(line.size() + 1, 0);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SIZE size = {};
    GetTextExtentExPointW(dc, line.c_str(), static_cast<int>(line.size()), 0, nullptr, edges.data(), &size);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    height = metrics.tmHeight;
    SelectObject(dc, previous);
    DeleteDC(dc);
    return edges;
}

int Middle(const std::vector<int>& edges, size_t index) {
    return ((index == 0 ? 0 : edges[index - 1]) + edges[index]) / 2;
}

bool EditCharPoint(HWND edit, size_t index, bool rich, POINT& point) {
    auto position = [&](size_t at, POINT& out) {
        if (rich) {
            POINTL where = {LONG_MIN, LONG_MIN};
            SendMessageW(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), static_cast<LPARAM>(at));
            out = {where.x, where.y};
            return where.x != LONG_MIN;
        }
        const LRESULT packed = SendMessageW(edit, EM_POSFROMCHAR, at, 0);
        out = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
        return packed != -1;
    };
    POINT next = {};
    if (!position(index, point)) {
        return false;
    }
    int height = 0;
    Edges(edit, L"x", height);
    point.x = position(index + 1, next) && next.y == point.y && next.x > point.x ? (point.x + next.x) / 2 : point.x + 2;
    point.y += height / 2;
    return true;
}

// The static's text as shown: '&' marks the next character and is not drawn; the line is placed
// in the client area by the static's alignment.
bool StaticCharPoint(HWND control, size_t index, POINT& point) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, ARRAYSIZE(text));
    std::wstring shown;
    size_t shownIndex = std::wstring::npos;
    for (size_t i = 0; text[i] != 0; ++i) {
        if (text[i] == L'&' && text[++i] == 0) {
            break;
        }
        if (i == index) {
            shownIndex = shown.size();
        }
        shown += text[i];
    }
    if (shownIndex >= shown.size()) {
        return false;
    }
    int height = 0;
    const std::vector<int> edges = Edges(control, shown, height);
    RECT area = {};
    GetClientRect(control, &area);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    const int width = edges[shown.size() - 1];
    const int left = type == SS_CENTER ? (area.right - width) / 2 : type == SS_RIGHT ? area.right - width : 0;
    point = {left + Middle(edges, shownIndex), height / 2};
    return true;
}

bool ListCharPoint(HWND list, int item, size_t index, POINT& point) {
    RECT rect = {};
    wchar_t text[512] = {};
    if (SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect)) == LB_ERR ||
        SendMessageW(list, LB_GETTEXTLEN, item, 0) >= static_cast<LRESULT>(ARRAYSIZE(text))) {
        return false;
    }
    SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text));
    if (index >= wcslen(text)) {
        return false;
    }
    int height = 0;
    const std::vector<int> edges = Edges(list, text, height);
    // List boxes start an item's text two pixels in.
    point = {rect.left + 2 + Middle(edges, index), (rect.top + rect.bottom) / 2};
    return true;
}

LRESULT CharPoint(HWND host, WPARAM which, LPARAM index) {
    HWND control = GetDlgItem(host, LOWORD(which));
    const size_t at = static_cast<size_t>(index);
    POINT point = {};
    bool found = false;
    switch (LOWORD(which)) {
    case IdEdit:
    case IdMultiEdit:
        found = EditCharPoint(control, at, false, point);
        break;
    case IdRichEdit:
        found = EditCharPoint(control, at, true, point);
        break;
    case IdStatic:
    case IdLabel:
    case IdLabelCentre:
    case IdLabelRight:
        found = StaticCharPoint(control, at, point);
        break;
    case IdList:
        found = ListCharPoint(control, HIWORD(which), at, point);
        break;
    default:
        break;
    }
    if (!found || !ClientToScreen(control, &point)) {
        return -1;
    }
    return MAKELRESULT(point.x, point.y);
}

void CreateChildren(HWND host) {
    for (const TChild& child : Children) {
        HWND control = CreateWindowExW(0, child.Class, L"", WS_CHILD | WS_VISIBLE | child.Style, child.Place.left,
                                       child.Place.top, child.Place.right, child.Place.bottom, host,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.Id)), nullptr, nullptr);
        if (child.GuiFont) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        }
    }
    SendMessageW(GetDlgItem(host, IdEdit), EM_SETLIMITTEXT, 0, 0);
    SendMessageW(GetDlgItem(host, IdMultiEdit), EM_SETLIMITTEXT, 0, 0);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_CREATE:
            CreateChildren(window);
            SetTimer(window, LifetimeTimer, Lifetime, nullptr);
            return 0;
        case WM_HOST_CHAR_POINT:
            return CharPoint(window, wParam, lParam);
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
        }
    } catch (...) {
        return -1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR ready, int) {
    LoadLibraryW(L"msftedit.dll");
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ControlHostClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    HWND host =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ControlHostClass, L"", WS_POPUP | WS_VISIBLE, ControlHostLeft,
                        ControlHostTop, ControlHostWidth, ControlHostHeight, nullptr, nullptr, instance, nullptr);
    if (host == nullptr) {
        return 1;
    }
    HANDLE readyEvent = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
    if (readyEvent != nullptr) {
        SetEvent(readyEvent);
        CloseHandle(readyEvent);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
