#pragma once
// The main program's windows: top-level windows laid out in client coordinates, created hidden
// once at start and shown modally (settings, dictionaries, help, about) or modelessly (the main
// window, the paradigm generators). Each form is the object of its kit window.

#include <windows.h>

#include <string>

#include "main/FormLayout.h"
#include "main/controls/Menus_Qel.h"

// left = round((W - width) / 2), top = round((H - height) / 2 - H / 20) on the desktop, halves to
// the even neighbour.
POINT CentredOnDesktop(int width, int height);

struct TFormParams {
    const wchar_t* Caption = L"";
    int ClientWidth = 0;
    int ClientHeight = 0;
    // No WS_CLIPCHILDREN: group boxes leave their inside to the form to paint.
    DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    DWORD ExStyle = 0;
    HMENU Menu = nullptr;   // the window's main menu; the window owns it
    bool Maximized = false; // shown maximised
};

class TForm : public TObject {
public:
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;
    ~TForm() override;

    HWND Handle() const { return window_; }
    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    // The outer window by the centring rule.
    void Centre();
    // Places the controls of Design for the window's DPI and sizes the window to hold them; the
    // window stays where it is once it has been shown, else it is centred again. Done after
    // creation and whenever captions change.
    void ApplyLayout();

    bool Showing() const;
    // Modeless.
    void Show();
    void Hide();
    // Runs until Close or ModalResult ends it, with the other windows of the program disabled;
    // a quit that arrives meanwhile ends it and is posted again for the program's own loop.
    int ShowModal();
    bool InModal() const { return modal_; }
    int ModalResult = 0;
    // Hides the window (a modal one returns); the close button does the same.
    void Close();

    // The class of every form; registered once by FormsInit.
    static const wchar_t* const ClassName;

protected:
    explicit TForm(const TFormParams& params);

    // One handler per message in the derived forms; the rest gets the default processing.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND from a menu item or a native control (buttons, radio buttons, check boxes).
    virtual void OnCommand(int id, int code, HWND control);
    // The close button; the default hides the form.
    virtual void OnCloseQuery();
    // WM_ACTIVATE: the focus goes back to ActiveControl; leaving, the focused control is kept.
    virtual void Activated(bool active);
    // Just before the form is shown, and once it is on the screen.
    virtual void OnShow() {}
    virtual void OnShown() {}
    virtual void OnHide() {}
    // The control that has the focus when the form becomes active: the first one at first, then
    // the one that had it when the form was last left.
    HWND ActiveControl = nullptr;

    // Plain native children, by client rectangle; the form owns none of their objects.
    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                  int id, DWORD exStyle = 0);
    HWND AddButton(const wchar_t* caption, int x, int y, int width, int height, int id);
    HWND AddLabel(const wchar_t* caption, int x, int y, int width, int height, int id = 0);

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // The controls in design units; ApplyLayout places them.
    TFormLayout Design;
    // A widget control into Design: its font and bounds go through the control.
    int AddToDesign(TWidgetControl& control, TDesignRect rect, int container = -1);
    // After ApplyLayout, for what the table does not place (fill-the-rest views, drawn glyphs).
    virtual void Arrange(int /*dpi*/) {}

private:
    void DpiChanged(LPARAM suggested);
    SIZE designClient_ = {};
    SIZE laidOut_ = {}; // the window's size for its controls
    bool shownOnce_ = false;
    friend LRESULT FormHandler(TForm&, HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    bool modal_ = false;
    bool maximized_ = false;
};

// Registers the form class; FormsDone unregisters it.
void FormsInit();
void FormsDone();

// WM_CONTEXTMENU of a control: the menu at the mouse, or at the control's corner when the
// keyboard asked for it.
void ShowContextMenu(const TMenuList& menu, HWND owner, HWND control, LPARAM lParam);

// The font the forms' children use (the interface font of the system) at a DPI; the system's
// DPI without one.
HFONT FormFont(int dpi);
HFONT FormFont();
