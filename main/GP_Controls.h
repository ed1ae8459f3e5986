#pragma once
// The native controls of one paradigm generator window, made from the layout table: panels and
// group boxes pass their children's commands up to the window, and radio buttons are checked only
// through this object, which keeps each group box's buttons exclusive and raises nothing itself.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "main/FormLayout.h"
#include "main/GP_Layout.h"
#include "main/controls/QStdCtrls_Qel.h"
#include "main/html/TextBrowser.h"

class TGP_Controls {
public:
    // The controls of the window of this language (its bounds and its created captions) in form,
    // each placed in design.
    TGP_Controls(HWND form, TLanguage language, TFormLayout& design);
    TGP_Controls(const TGP_Controls&) = delete;
    TGP_Controls& operator=(const TGP_Controls&) = delete;

    HWND Window(TGP_Control id) const;
    TEdit_Qel& Edit() const { return *edit_; }
    TTextBrowser Browser() const { return browser_; }

    bool Checked(TGP_Control button) const;
    // Checks the button and unchecks the other buttons of its group box; true when it was not
    // checked before.
    bool Check(TGP_Control button);
    void Uncheck(TGP_Control button);
    // The code of the first checked button of a group box in table order; none when none is.
    uint8_t CheckedCode(TGP_Control group, uint8_t none = 0) const;
    // A group box together with its buttons.
    void Enable(TGP_Control id, bool enabled);
    bool Enabled(TGP_Control id) const;
    void SetVisible(TGP_Control id, bool visible);
    bool Visible(TGP_Control id) const;
    // A radio button grows or shrinks to its new caption at the next layout.
    void SetCaption(TGP_Control id, const wchar_t* caption);

private:
    HWND Create(const TGP_ControlRow& row, HWND parent, TLanguage language);
    void AddToDesign(const TGP_ControlRow& row, TLanguage language, TFormLayout& design);

    std::vector<HWND> windows_; // by row of the layout table
    std::unique_ptr<TEdit_Qel> edit_;
    TTextBrowser browser_;
};

// The font of the group boxes, their buttons, the base word's label and the adjective panel, at
// a DPI.
HFONT GroupFont(int dpi);
