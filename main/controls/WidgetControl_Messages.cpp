// The control's window procedures: the subclass procedure of its own windows and the reflecting
// subclass of its parent, both behind the exception barrier.

#include "main/controls/WidgetControl.h"

#include <commctrl.h>

#include "display/win32/ErrorReport.h"

namespace {

TShiftState MouseShiftState(WPARAM flags) {
    TShiftState shift = 0;
    if (flags & MK_SHIFT) {
        shift |= ssShift;
    }
    if (flags & MK_CONTROL) {
        shift |= ssCtrl;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= ssAlt;
    }
    if (flags & MK_LBUTTON) {
        shift |= ssLeft;
    }
    if (flags & MK_RBUTTON) {
        shift |= ssRight;
    }
    if (flags & MK_MBUTTON) {
        shift |= ssMiddle;
    }
    return shift;
}

} // namespace

// ---- message plumbing ----------------------------------------------------------------------

LRESULT TWidgetControl::Forward(TWidgetEvent& event) {
    if (!event.Forwarded) {
        event.Forwarded = true;
        event.Result = DefSubclassProc(event.Window, event.Message, event.WParam, event.LParam);
    }
    return event.Result;
}

void TWidgetControl::DropQueuedChar(const TWidgetEvent& event) {
    // Only the character of this very key: the same scan code in the same window.
    const LPARAM scanCode = event.LParam & 0x00FF0000;
    const UINT ranges[][2] = {{WM_CHAR, WM_DEADCHAR}, {WM_SYSCHAR, WM_SYSDEADCHAR}};
    for (const auto& range : ranges) {
        MSG queued;
        if (PeekMessageW(&queued, event.Window, range[0], range[1], PM_NOREMOVE) &&
            (queued.lParam & 0x00FF0000) == scanCode) {
            PeekMessageW(&queued, event.Window, range[0], range[1], PM_REMOVE);
            return;
        }
    }
}

bool TWidgetControl::PopupMenuAt(const TMenuList* menu, POINT client) {
    if (menu == nullptr) {
        return false;
    }
    ClientToScreen(handle_, &client);
    return menu->PopupAtCursor(handle_, client);
}

void TWidgetControl::MoveFocus(bool backwards) {
    HWND root = GetAncestor(handle_, GA_ROOT);
    HWND next = GetNextDlgTabItem(root, handle_, backwards);
    if (next != nullptr && next != handle_) {
        ::SetFocus(next);
    }
}

std::optional<LRESULT> TWidgetControl::WidgetMessage(TWidgetEvent&) {
    return std::nullopt;
}

std::optional<LRESULT> TWidgetControl::Notification(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        return ColourMessage(reinterpret_cast<HDC>(wParam));
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> TWidgetControl::ColourMessage(HDC dc) {
    if (!brush_) {
        brush_.Reset(CreateSolidBrush(color_));
    }
    SetBkColor(dc, color_);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(brush_.Get());
}

void TWidgetControl::Unpack(TWidgetEvent& event) const {
    switch (event.Message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        event.Kind = (event.Message == WM_KEYDOWN || event.Message == WM_SYSKEYDOWN) ? weKeyPress : weKeyRelease;
        event.Shift = CurrentShiftState();
        event.Key = KeyCodeFromVirtualKey(static_cast<unsigned>(event.WParam), (event.LParam & (1 << 24)) != 0,
                                          (event.Shift & ssShift) != 0);
        return;
    case WM_CHAR:
        event.Kind = weChar;
        event.Char = static_cast<wchar_t>(event.WParam);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        event.Kind = weMousePress;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        event.Kind = weMouseRelease;
        break;
    case WM_LBUTTONDBLCLK:
        event.Kind = weDoubleClick;
        break;
    case WM_MOUSEMOVE:
        event.Kind = weMouseMove;
        break;
    default:
        event.Kind = weOther;
        return;
    }
    switch (event.Message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        event.Button = mbRight;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        event.Button = mbMiddle;
        break;
    default:
        event.Button = mbLeft;
    }
    event.Shift = MouseShiftState(event.WParam);
    event.Position = {static_cast<short>(LOWORD(event.LParam)), static_cast<short>(HIWORD(event.LParam))};
    if (event.Window != handle_) {
        MapWindowPoints(event.Window, handle_, &event.Position, 1);
    }
}

std::optional<LRESULT> TWidgetControl::CommonMessage(TWidgetEvent& event) {
    switch (event.Message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (event.Part == wpMain && !FocusFromNotifications) {
            Forward(event);
            const TObjectEvent& handler = event.Message == WM_SETFOCUS ? OnEnter : OnExit;
            if (handler) {
                handler(this);
            }
            return event.Result;
        }
        return std::nullopt;
    case WM_SETCURSOR:
        if (cursor_ != nullptr && LOWORD(event.LParam) == HTCLIENT) {
            ::SetCursor(cursor_);
            return TRUE;
        }
        return std::nullopt;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (OnMouseLeave) {
            OnMouseLeave(this);
        }
        return std::nullopt;
    case WM_CONTEXTMENU: {
        // The native edit's own menu would bypass the clipboard rules of ours: never shown.
        POINT at{static_cast<short>(LOWORD(event.LParam)), static_cast<short>(HIWORD(event.LParam))};
        if (PopupMenu != nullptr) {
            if (at.x == -1 && at.y == -1) {
                at = {0, 0};
                ClientToScreen(handle_, &at);
            }
            PopupMenu->PopupAtCursor(handle_, at);
        }
        return 0;
    }
    case WM_GETDLGCODE: {
        const LRESULT code = Forward(event);
        const MSG* message = reinterpret_cast<const MSG*>(event.LParam);
        return message != nullptr ? DialogCode(*message, code) : code;
    }
    default:
        return std::nullopt;
    }
}

bool TWidgetControl::Dispatch(TWidgetEvent& event) {
    if (event.Message == WM_NCDESTROY) {
        Forward(event);
        Detach(event.Window);
        return true;
    }
    Unpack(event);
    if (event.Kind == weOther) {
        std::optional<LRESULT> answer = WidgetMessage(event);
        if (!answer) {
            answer = CommonMessage(event);
        }
        if (answer) {
            event.Result = *answer;
            return true;
        }
        return event.Forwarded;
    }
    if (event.Kind == weKeyPress && (event.Key == keyTab || event.Key == keyBacktab) &&
        (event.Shift & (ssCtrl | ssAlt)) == 0 && !WantKey(event.Key)) {
        DropQueuedChar(event);
        MoveFocus(event.Key == keyBacktab);
        return true;
    }
    if (event.Kind == weMouseMove && !tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, event.Window, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
        if (OnMouseEnter) {
            OnMouseEnter(this);
        }
    }
    const wchar_t typed = event.Char;
    if (EventFilter(event)) {
        if (event.Kind == weKeyPress) {
            DropQueuedChar(event);
        }
        if (!event.Forwarded) {
            event.Result = 0;
        }
        return true;
    }
    if (event.Forwarded) {
        return true;
    }
    if (event.Kind == weChar && event.Char != typed) {
        event.WParam = event.Char;
        Forward(event);
        return true;
    }
    return false;
}

TWidgetControl* TWidgetControl::FromWindow(HWND window) {
    return window != nullptr ? static_cast<TWidgetControl*>(GetPropW(window, ControlProperty)) : nullptr;
}

LRESULT CALLBACK TWidgetControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR part,
                                              DWORD_PTR control) {
    TWidgetEvent event;
    event.Part = static_cast<TWidgetPart>(part);
    event.Window = window;
    event.Message = message;
    event.WParam = wParam;
    event.LParam = lParam;
    auto* self = reinterpret_cast<TWidgetControl*>(control);
    const bool done = Guarded([&] { return self->Dispatch(event); }, false);
    if (done || event.Forwarded) {
        return event.Result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK TWidgetControl::ReflectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR) {
    TWidgetControl* control = nullptr;
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, ReflectProc, id);
        break;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        control = FromWindow(reinterpret_cast<HWND>(lParam));
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) {
            control = FromWindow(item->hwndItem);
        }
        break;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) {
            control = (Creating != nullptr && static_cast<UINT>(Creating->id_) == item->CtlID)
                          ? Creating
                          : FromWindow(GetDlgItem(window, static_cast<int>(item->CtlID)));
        }
        break;
    }
    default:
        break;
    }
    if (control != nullptr) {
        const std::optional<LRESULT> answer =
            Guarded([&] { return control->Notification(message, wParam, lParam); }, std::optional<LRESULT>());
        if (answer) {
            return *answer;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
