#pragma once
// The base of the main program's UTF-16 controls: a native control whose windows are subclassed,
// so that every key and mouse message passes the control's event filter before the native
// procedure sees it, and whose parent's notifications (WM_COMMAND, colours, owner drawing) are
// reflected back to the control. Every message handler runs behind the exception barrier.

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "display/win32/OwnedHandle.h"
#include "main/controls/ControlKeys.h"
#include "main/controls/Menus_Qel.h"

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

using TKeyEvent = std::function<void(TObject* sender, TKeyCode& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// Which of a control's windows a message came to.
enum TWidgetPart : UINT_PTR { wpMain = 1, wpEditField = 2, wpList = 3 };

enum TWidgetEventKind : uint8_t {
    weOther,
    weKeyPress,
    weKeyRelease,
    weChar,
    weMousePress,
    weMouseRelease,
    weMouseMove,
    weDoubleClick,
};

// One message to one of the control's windows, with its key or mouse data unpacked.
struct TWidgetEvent {
    TWidgetPart Part = wpMain;
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    TWidgetEventKind Kind = weOther;
    TKeyCode Key = 0;
    TShiftState Shift = 0;
    wchar_t Char = 0; // a filter may replace it
    TMouseButton Button = mbLeft;
    POINT Position{}; // in the control's client coordinates
    bool Forwarded = false;
    LRESULT Result = 0;
};

class TWidgetControl : public TObject {
public:
    ~TWidgetControl() override;
    TWidgetControl(const TWidgetControl&) = delete;
    TWidgetControl& operator=(const TWidgetControl&) = delete;

    // The native control; null once its parent has destroyed it.
    HWND Handle() const { return handle_; }
    HWND ParentWindow() const { return parent_; }

    int Left() const;
    int Top() const;
    int Width() const;
    virtual int Height() const;
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Not owned; the stock interface font unless set.
    HFONT Font() const { return font_; }
    void SetFont(HFONT font);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor);
    virtual bool Focused() const;
    void SetFocus();

    // The form's context menu, shown when the control shows none of its own; not owned.
    TMenuList* PopupMenu = nullptr;

    TObjectEvent OnClick;
    TObjectEvent OnDblClick;
    TObjectEvent OnEnter;
    TObjectEvent OnExit;
    TObjectEvent OnMouseEnter;
    TObjectEvent OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    explicit TWidgetControl(HWND parent);

    struct TCreateParams {
        const wchar_t* ClassName = nullptr;
        DWORD Style = 0;
        DWORD ExStyle = 0;
        int Width = 0;
        int Height = 0;
    };
    // The native control to create (the widget step "create").
    virtual TCreateParams CreateParams() const = 0;
    // After creation: subclass further windows, then set the widget's defaults.
    virtual void HookEvents() {}
    virtual void InitWidget() {}
    // Around a re-creation, which keeps position, font, colour, focus and the base settings.
    virtual void SaveWidgetState() {}
    virtual void RestoreWidgetState() {}
    virtual void FontChanged() {}

    // Concrete controls call it at the end of their constructor; a re-creation gives the bounds.
    void CreateHandle(const RECT* bounds = nullptr);
    // For settings the native control takes only at creation.
    void RecreateWidget();
    bool Recreating() const { return recreating_; }
    void Subclass(HWND window, TWidgetPart part);

    // Every key and mouse event of the control's windows; true consumes it. The default is the
    // base filter.
    virtual bool EventFilter(TWidgetEvent& event) { return BaseFilter(event); }
    // The standard events: OnKeyDown, OnKeyPress, OnKeyUp, the mouse events, OnClick, OnDblClick.
    // A key set to 0 is consumed.
    bool BaseFilter(TWidgetEvent& event);
    virtual void KeyDown(TKeyCode& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void KeyUp(TKeyCode& key, TShiftState shift);
    virtual void Click();
    // Whether the control takes Tab and Backtab itself; otherwise they move the focus.
    virtual bool WantKey(TKeyCode key) const;
    // The answer to the dialog manager's WM_GETDLGCODE for a key message, given the native one.
    virtual LRESULT DialogCode(const MSG& message, LRESULT code) const;

    // Other messages of the control's windows, before the base's own handling; no value sends
    // the message on.
    virtual std::optional<LRESULT> WidgetMessage(TWidgetEvent& event);
    // Messages the parent received from the control: WM_COMMAND, WM_CTLCOLOR*, WM_DRAWITEM,
    // WM_MEASUREITEM.
    virtual std::optional<LRESULT> Notification(UINT message, WPARAM wParam, LPARAM lParam);

    // Delivers the event to the native procedure now (once) and gives its answer.
    LRESULT Forward(TWidgetEvent& event);
    // Removes the character message that TranslateMessage queued for a consumed key press.
    static void DropQueuedChar(const TWidgetEvent& event);
    // Shows a menu list at a point of the control's client area.
    bool PopupMenuAt(const TMenuList* menu, POINT client);

    // The combo box raises OnClick from its notifications and OnEnter/OnExit from those of its
    // edit field.
    bool ClickEvents = true;
    bool FocusFromNotifications = false;

private:
    // Names the control that owns a subclassed window, for the parent's reflection.
    static const wchar_t* const ControlProperty;
    // Owner-drawn controls ask for their item height while they are being created, before their
    // window handle is known.
    static thread_local TWidgetControl* Creating;

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR part,
                                         DWORD_PTR control);
    static LRESULT CALLBACK ReflectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);
    static TWidgetControl* FromWindow(HWND window);
    bool Dispatch(TWidgetEvent& event);
    void Unpack(TWidgetEvent& event) const;
    std::optional<LRESULT> CommonMessage(TWidgetEvent& event);
    std::optional<LRESULT> ColourMessage(HDC dc);
    void MoveFocus(bool backwards);
    void DestroyHandle();
    void Detach(HWND window);

    HWND parent_;
    HWND handle_ = nullptr;
    int id_;
    std::vector<std::pair<HWND, TWidgetPart>> subclassed_;
    bool enabled_ = true;
    bool visible_ = true;
    bool tabStop_ = false;
    HFONT font_;
    COLORREF color_;
    TOwnedBrush brush_;
    HCURSOR cursor_ = nullptr;
    bool recreating_ = false;
    bool pressed_ = false;
    bool tracking_ = false;
};
