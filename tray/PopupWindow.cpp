// Popups as windows: the class, creating, filling, sizing and placing a popup, the leave check,
// the release, and cards opened for a popup.

#include "tray/PopupWindow.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include "core/GlobalCustoms.h"
#include "core/Translator.h"
#include "display/CardWindow.h"
#include "display/ShowTextHandler.h"
#include "display/TextFormat.h"
#include "display/ViewMouse.h"
#include "display/win32/Dpi.h"
#include "display/win32/ViewWindow.h"
#include "display/win32/WindowKit.h"
#include "tray/PopupLines.h"

const wchar_t* const PopupWindowClass = L"NewPopupWindow_Jyx";

namespace {

constexpr int32_t kMeasureLeft = 10;
constexpr int32_t kMeasureTop = 10;
constexpr int32_t kBottomMargin = 5;
constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kPopupExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

HWND currentPopup = nullptr;

HWND Hwnd(const TWindowData& w) {
    return static_cast<HWND>(w.Window);
}

// How much taller a popup is than its client area (a window made with size 0 is grown by the
// system to its minimum size, which is no frame).
int32_t PopupFrameHeight() {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kPopupStyle, FALSE, kPopupExStyle);
    return frame.bottom - frame.top;
}

void StopLeaveTimer(TWindowData& w) {
    if (w.LeaveTimer != 0 && KillTimer(Hwnd(w), kPopupLeaveTimer)) {
        w.LeaveTimer = 0;
    }
}

// The first hit of the first analysis becomes the current entry.
void MakeFirstHitCurrent(const TLangSearchResult& half) {
    TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr || half.Results.empty() || half.Results.front().Dictionaries.empty()) {
        return;
    }
    const TDictSearchResult& first = half.Results.front().Dictionaries.front();
    block->CurDict = first.DictIndex;
    if (!first.Items.empty()) {
        block->CurEntry = static_cast<int32_t>(first.Items.front().Entry);
    }
}

BOOL CALLBACK CollectPopup(HWND window, LPARAM lParam) {
    if (PopupWindow_IsPopup(window)) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    }
    return TRUE;
}

void CloseOtherPopups(HWND kept) {
    std::vector<HWND> popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&popups));
    for (const HWND popup : popups) {
        if (popup != kept && PopupWindow_IsPopup(popup)) {
            DestroyWindow(popup);
        }
    }
}

HWND ShowPopup(const wchar_t* word, bool replacing) {
    const HWND popup = PopupWindow_Create();
    if (popup == nullptr) {
        return nullptr;
    }
    TWindowData& w = *KitObject<TWindowData>(popup);
    w.PopupCard = nullptr;
    bool shown = false;
    try {
        const uint8_t source = SharedCustomsOrDefaults().SourceLang;
        if (AnalyzeWord(word, w.Result, source)) {
            if (replacing) {
                CloseOtherPopups(popup);
            }
            MakeFirstHitCurrent(w.Result[LanguageOf(source)]);
            shown = PopupWindow_Fill(w);
        }
    } catch (...) {
        DestroyWindow(popup);
        throw;
    }
    if (!shown) {
        DestroyWindow(popup);
        currentPopup = nullptr;
        return nullptr;
    }
    return popup;
}

void PlaceAndShow(TWindowData& w) {
    const HWND popup = Hwnd(w);
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    POINT cursor = {};
    GetCursorPos(&cursor);
    const POINT at = PopupWindow_Placement(desktop, cursor, w.Width, w.Height);
    w.WindowRect = NewRectLTWH(at.x, at.y, w.Width, w.Height);
    w.Background = PopupBackground;
    w.Painting = 0;
    SetWindowPos(popup, HWND_TOPMOST, at.x, at.y, w.Width, w.Height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    w.ClientRect = ViewClientRect(popup);
    // From here on the popup paints whenever it is asked to.
    w.Painting = 1;
}

} // namespace

void PopupWindowInit() {
    TKitClass windowClass;
    windowClass.Name = PopupWindowClass;
    windowClass.Style = CS_HREDRAW | CS_VREDRAW;
    windowClass.Cursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.Background = CreateSolidBrush(PopupBackground);
    KitRegister<TWindowData, PopupWindow_WndProc>(windowClass);
}

void PopupWindowDone() {
    KitUnregisterClass(PopupWindowClass);
}

HWND PopupWindow_Show(const wchar_t* word) {
    return ShowPopup(word, true);
}

HWND PopupWindow_ShowOver(const wchar_t* word) {
    return ShowPopup(word, false);
}

HWND PopupWindow_Create() {
    auto data = std::make_unique<TWindowData>();
    data->PrevWindow = currentPopup;
    data->HotLine = -1;
    data->LinkChar = -1;
    data->LinkLine = -1;
    // A line limit from the other program's settings is at least one line.
    data->PageLines = std::max(SharedCustomsOrDefaults().PopupMaxLines, 1);
    TKitWindowParams params;
    params.ClassName = PopupWindowClass;
    params.Style = kPopupStyle;
    params.ExStyle = kPopupExStyle;
    params.X = params.Y = params.Width = params.Height = 0;
    const HWND popup = KitCreateWindow(params, std::move(data));
    if (popup != nullptr) {
        currentPopup = popup;
    }
    return popup;
}

bool PopupWindow_Fill(TWindowData& w) {
    try {
        StopLeaveTimer(w);
        const TGlobalCustoms& block = SharedCustomsOrDefaults();
        if (!BuildPopupLines(w.Layout, w.Result[LanguageOf(block.SourceLang)], kPopupLineWidth)) {
            return false;
        }
        const HWND popup = Hwnd(w);
        w.PaintedCount = w.Layout.LineCount;
        w.FrameHeight = PopupFrameHeight();
        const int32_t entryLine = CardWindow_FindEntryLine(w, block.CurDict, block.CurEntry);
        PopupWindow_FitSize(w);
        PlaceAndShow(w);
        // A hidden caret, so that tools that follow the caret find the current entry.
        CreateCaret(popup, nullptr, 0, w.Layout.TextHeight);
        ShowText_SetCaret(w, 0, entryLine, true);
        ShowText_CaretHook(w);
        ShowText_Invalidate(w, true);
        if (SetTimer(popup, kPopupLeaveTimer, kPopupLeaveInterval, nullptr) != 0) {
            w.LeaveTimer = 1;
        }
        PopupWindow_ArmClicks();
        return true;
    } catch (...) {
        return false;
    }
}

void PopupWindow_FitSize(TWindowData& w) {
    // Margins are given for 96 DPI and grow with the text.
    const int dpi = WindowDpi(Hwnd(w));
    const TTextExtent content = MeasureLines(w, ScaleToDpi(kMeasureLeft, dpi), ScaleToDpi(kMeasureTop, dpi));
    w.ScrollMin = 0;
    w.Width = content.Width + GetSystemMetrics(SM_CXVSCROLL) + ScaleToDpi(20, dpi);
    // The margin below the last line only when that is the last of all: else it would show the top
    // of the next line.
    const bool allShown = w.PageLines >= w.Layout.LineCount;
    w.Height = w.FrameHeight + content.Height + (allShown ? ScaleToDpi(kBottomMargin, dpi) : 0);
}

void PopupWindow_DpiChanged(TWindowData& w, LPARAM suggested) {
    const HWND popup = Hwnd(w);
    MoveToSuggestedRect(popup, suggested);
    PopupWindow_FitSize(w);
    SetWindowPos(popup, nullptr, 0, 0, w.Width, w.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowText_Invalidate(w, true);
}

POINT PopupWindow_Placement(const RECT& desktop, POINT cursor, int32_t width, int32_t height) {
    const int32_t d = kPopupCursorDistance;
    POINT at;
    at.x = desktop.right < cursor.x + width + d ? cursor.x - (width + d) : cursor.x + d;
    at.y = desktop.bottom < cursor.y + height + d ? cursor.y - (height + d) : cursor.y + d;
    at.x = std::max<LONG>(at.x, 0);
    at.y = std::max<LONG>(at.y, 0);
    return at;
}

bool PopupWindow_KeepsCursor(const RECT& window, POINT cursor) {
    RECT grown = window;
    InflateRect(&grown, kPopupLeaveMargin, kPopupLeaveMargin);
    return PtInRect(&grown, cursor) != FALSE;
}

void PopupWindow_LeaveCheck(TWindowData& w) {
    RECT rect = {};
    POINT cursor = {};
    if (GetWindowRect(Hwnd(w), &rect) && GetCursorPos(&cursor) && !PopupWindow_KeepsCursor(rect, cursor)) {
        DestroyWindow(Hwnd(w));
    }
}

void PopupWindow_Release(TWindowData& w) {
    const HWND popup = Hwnd(w);
    StopLeaveTimer(w);
    if (ViewDragTimerOwner() == popup) {
        ViewStopDragTimer();
    }
    w.Layout = TLineLayout();
    if (const TGlobalCustoms* block = SharedCustoms()) {
        SendMessageW(static_cast<HWND>(LongToHandle(block->TrayWindow)), WM_POPUP_CLOSED,
                     reinterpret_cast<WPARAM>(popup), 0);
    }
    if (currentPopup == popup) {
        const HWND previous = static_cast<HWND>(w.PrevWindow);
        currentPopup = PopupWindow_IsPopup(previous) ? previous : nullptr;
    }
}

HWND CardWindow_OpenForEntry(const TSearchResult& result, uint8_t cardMode, bool placeAtPrevious) {
    if (cardMode != 0 && CardWindow_IsCard(CardWindow_LastCard())) {
        DestroyWindow(CardWindow_LastCard());
    }
    const HWND card = CardWindow_Create({0, 0, 0, 0});
    TWindowData* w = KitObject<TWindowData>(card);
    if (w == nullptr) {
        return nullptr;
    }
    if (!CardWindow_Fill(*w, result, placeAtPrevious)) {
        DestroyWindow(card);
        return nullptr;
    }
    return card;
}

HWND PopupWindow_Current() {
    return currentPopup;
}

bool PopupWindow_IsPopup(HWND window) {
    wchar_t name[32] = {};
    return window != nullptr && KitObject<TWindowData>(window) != nullptr &&
           GetClassNameW(window, name, static_cast<int>(std::size(name))) != 0 &&
           std::wstring_view(name) == PopupWindowClass;
}
