#pragma once
// One layout rule for every form: rectangles are given in design units, the pixels of the
// forms' 8-point dialog font at 96 DPI, and are turned into pixels by the base units of the real
// form font at the window's DPI, as dialog units are. A control whose text would still be cut
// grows to it; what stands to its right (or below it) moves by as much, and the frame it stands in
// and the form grow to hold it.

#include <windows.h>

#include <functional>
#include <vector>

#include "main/controls/WidgetControl.h"

// Design units: left, top, width, height.
struct TDesignRect {
    int Left, Top, Width, Height;
};

// What a control needs around its text.
enum class TLayoutKind : unsigned char {
    Frame,    // a panel or bevel: holds controls, no text
    GroupBox, // its title on its top edge
    Label,
    Button,
    CheckBox, // and radio buttons: the mark before the text
    Row,      // a list row: as high as its font, its width is the list's
    Plain,    // edits, lists, browsers, scroll bars: scaled only
};

// Base units of a font: average character width (as dialog units measure it) and height.
struct TFontUnits {
    int Width, Height;
};
constexpr TFontUnits kDesignUnits = {6, 13};
TFontUnits MeasureFontUnits(HFONT font);

// Sizes in design units turned into pixels for the given base units.
struct TUnitScale {
    TFontUnits Units = kDesignUnits;
    int X(int design) const { return MulDiv(design, Units.Width, kDesignUnits.Width); }
    int Y(int design) const { return MulDiv(design, Units.Height, kDesignUnits.Height); }
};

// The size a control's text needs with its own font, with the room its kind draws around it.
SIZE TextNeed(HWND control, TLayoutKind kind);

class TFormLayout {
public:
    // The font a control takes at a DPI.
    using TFontFor = HFONT (*)(int dpi);

    // rect is in the client area of the control's parent window; container is the index of the
    // frame it stands in (its parent or a frame beside it), -1 for the form. Gives its index.
    int Add(HWND window, TDesignRect rect, TLayoutKind kind, int container = -1, TFontFor font = nullptr);
    // Widget controls keep their own font and bounds: they are set through these.
    void SetFontSetter(int item, std::function<void(HFONT)> setFont);
    void SetBoundsSetter(int item, std::function<void(const RECT&)> setBounds);
    // A widget control: both go through the control.
    void SetWidget(int item, TWidgetControl& control);

    // Fonts, places and sizes for dpi; gives the client size the form needs, at least the
    // design client size scaled.
    SIZE Apply(int dpi, SIZE designClient);
    // The pixels of the last Apply, in the parent's client area.
    RECT Placed(int item) const;
    TUnitScale Scale() const { return scale_; }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    struct TItem {
        HWND Window;
        TDesignRect Design;
        TLayoutKind Kind;
        int Container;
        int Parent; // the item that is the window's parent, -1 for the form
        TFontFor Font;
        std::function<void(HFONT)> SetFont;
        std::function<void(const RECT&)> SetBounds;
        RECT Plan;   // the design, in the form's client area
        RECT Scaled; // the design in pixels, in the form's client area
        RECT Now;
    };
    void Fit(int container, SIZE& client);
    void Spread(int container, bool across);
    void Shift(int item, int dx, int dy);
    bool Within(int item, int container) const;

    std::vector<TItem> items_;
    TUnitScale scale_;
};
