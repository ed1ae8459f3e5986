#pragma once
// The settings window: scanning, Shift-only scanning, one card window or several, and the line
// limits of cards and of the tray popup. Every change goes to the shared block at once; the tray
// program keeps them in its settings file.

#include <windows.h>

#include <cstdint>

#include "main/Forms.h"

// A number field with up and down arrows that takes only values in its range: a typed value
// outside it is corrected when the field is left.
class TSpinEdit {
public:
    TSpinEdit() = default;
    void Create(HWND parent, int x, int y, int width, int height, int id, int32_t minimum, int32_t maximum);
    HWND Edit() const { return edit_; }
    int32_t Value() const { return value_; }
    // Clamped into the range; shown at once.
    void SetValue(int32_t value);
    // The field's text changed: true, with the value, when it is a number in the range.
    bool TextChanged();
    // The field was left: its text becomes the value (the nearest in range, or the last one).
    void Leave();
    // The field with its arrows in rect (parent's client pixels).
    void Place(const RECT& rect);

    int32_t Minimum = 0;
    int32_t Maximum = 0;

private:
    bool Parse(int64_t& number) const;

    HWND edit_ = nullptr;
    HWND arrows_ = nullptr;
    int32_t value_ = 0;
};

class TForm4 : public TForm {
public:
    TForm4();
    ~TForm4() override;

    // Captions of the interface language; the window's caption and OK keep theirs.
    void LocalizeCaptions(int language);

    void chbScanClick();
    void chbScanShiftClick();
    void rb_panCard_MonoClick();
    void rb_panCard_PolyClick();
    void se_TrayPopupChanged(int32_t value);
    void se_CardChanged(int32_t value);
    void Button1Click();

    HWND panScan = nullptr;
    HWND chbScan = nullptr;
    HWND chbScanShift = nullptr;
    HWND panPopup = nullptr;
    HWND lb_panPopup = nullptr;
    TSpinEdit se_Popup;
    HWND panCard = nullptr;
    HWND rb_panCard_Poly = nullptr;
    HWND rb_panCard_Mono = nullptr;
    HWND lb_panCard = nullptr;
    TSpinEdit se_Card;
    HWND Button1 = nullptr;

    enum : int { idchbScan = 100, idchbScanShift, idPoly, idMono, idse_Popup, idse_Card, idButton1 };

protected:
    void OnCommand(int id, int code, HWND control) override;
    void OnCloseQuery() override;
    // Loads the controls from the block.
    void OnShow() override;

private:
    // A value still being typed is corrected and written before the window goes.
    void LeaveFields();
    void AddToDesign();
};

extern TForm4* Form4;
