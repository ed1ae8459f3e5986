#pragma once
// The paradigm generator windows: one class, two windows, Form5 with Russian captions and GP_tat
// with Tatar ones. The user picks a part of speech and its categories and types a Tatar word, or
// the window takes the main window's word and entry; every change builds the form at once and
// shows it, split into its affixes with their names, in the text browser. The main window shows,
// hides and swaps the two windows.

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/GP_PROC.h"
#include "main/Forms.h"
#include "main/GP_Controls.h"

// The form builders the windows call; tests put recorders in their place.
struct TGP_Builders {
    void (*Noun)(const std::wstring& word, uint8_t caseCode, uint8_t possessor, uint8_t number, TGP_Proc_Rec& rec);
    void (*Adjective)(const std::wstring& word, uint8_t degree, TGP_Proc_Rec& rec);
    void (*Numeral)(const std::wstring& word, uint8_t caseCode, uint8_t kind, TGP_Proc_Rec& rec);
    void (*Verb)(const std::wstring& word, uint8_t kind, uint8_t tense, uint8_t person, uint8_t number,
                 uint8_t negation, TGP_Proc_Rec& rec);
};
extern TGP_Builders GP_Builders;

class TGP_Form : public TForm {
public:
    // The window of this language: its captions and geometry.
    explicit TGP_Form(TLanguage language);
    ~TGP_Form() override;

    TLanguage Language() const { return language_; }
    const TGP_Proc_Rec& ParadigmRec() const { return paradigmRec_; }
    HWND Control(TGP_Control id) const { return controls_->Window(id); }
    TEdit_Qel& edBase() const { return controls_->Edit(); }
    TTextBrowser TB() const { return controls_->Browser(); }
    HWND btnClose() const { return Control(TGP_Control::btnClose); }
    TMenuList& PM() const { return *pm_; }
    // The button each verb group box brings back when it is enabled again.
    TGP_Control Remembered(TGP_Control group) const;

    // Code readers: the first checked button of the group; 0 (16 for the part of speech) when none is.
    uint8_t PartOfSpeechCode() const { return controls_->CheckedCode(TGP_Control::GB_Main, 16); }
    uint8_t NounCaseCode() const { return controls_->CheckedCode(TGP_Control::GB_Nouns_Pad); }
    uint8_t NounPossessorCode() const { return controls_->CheckedCode(TGP_Control::GB_Nouns_Face); }
    uint8_t NounNumberCode() const { return controls_->CheckedCode(TGP_Control::GB_Nouns_Num); }
    uint8_t AdjDegreeCode() const { return controls_->CheckedCode(TGP_Control::GB_Adj); }
    uint8_t DigCaseCode() const { return controls_->CheckedCode(TGP_Control::GB_Dig_Pad); }
    uint8_t DigKindCode() const { return controls_->CheckedCode(TGP_Control::GB_Dig_Kind); }
    uint8_t VerbKindCode() const { return controls_->CheckedCode(TGP_Control::GB_Verb_Kind); }
    uint8_t VerbTenseCode() const { return controls_->CheckedCode(TGP_Control::GB_Verb_Time); }
    uint8_t VerbPersonCode() const { return controls_->CheckedCode(TGP_Control::GB_Verb_Face); }
    uint8_t VerbNumberCode() const { return controls_->CheckedCode(TGP_Control::GB_Verb_Num); }
    bool VerbNegation() const { return controls_->Checked(TGP_Control::VerbAbsent); }

    void BuildNoun();
    void BuildAdjective();
    void BuildNumeral();
    void BuildVerb();
    void ShowParadigm();
    void DigCaseChanged(TGP_Control button);
    void VerbKindChanged(TGP_Control button);
    void SetBaseWord(const std::wstring& word);
    void SelectPartOfSpeechFromEntry();
    void SelectPartOfSpeech(uint8_t flags);
    // The Tatar captions and context-menu texts; the Tatar window's last step of creation.
    void LocalizeCaptions();

    // Event handlers.
    void FormShow();
    void FormActivate();
    void GB_Main_NounsClick();
    void GB_Main_AdjClick();
    void GB_Main_DigClick();
    void GB_Main_VerbClick();
    void Noun_Click();
    void Adj_Click();
    void DigPad_Click(TGP_Control button);
    void Dig_Click();
    void VerbKind_Click(TGP_Control button);
    void VerbTime_Click(TGP_Control button);
    void VerbFace_Click(TGP_Control button);
    void VerbNum_Click(TGP_Control button);
    void VerbAbsentClick();
    void edBaseOnChange();
    void btnCloseClick();
    void N11Click();
    void N21Click();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    void Activated(bool active) override;

private:
    void FormCreate();
    // Checks a radio button as the user's click would, raising its handler when it was not checked.
    void Check(TGP_Control button);
    // The handler of a radio button, for a click or a check from code.
    void RadioClick(TGP_Control button);
    void ShowPanel(TGP_Control panel);
    void TakeMainWord();
    // The base word lower-cased; an empty one empties the record instead of building.
    bool BuildWord(std::wstring& word);
    void FocusButton(TGP_Control button);
    void ContextMenu(HWND target, LPARAM at);
    // The control to focus instead of this one when the window becomes active.
    HWND FocusTarget(HWND control) const;

    TLanguage language_;
    std::unique_ptr<TGP_Controls> controls_;
    std::unique_ptr<TMenuList> pm_;
    TGP_Proc_Rec paradigmRec_;
    std::array<TGP_Control, 3> remembered_; // of GB_Verb_Time, GB_Verb_Face, GB_Verb_Num
};

extern TGP_Form* Form5;
extern TGP_Form* GP_tat;

// Creates both windows, hidden, at start-up (after the main window); frees them at the end.
void CreateParadigmGenerators();
void FreeParadigmGenerators();

// The window of an interface language (0 Tatar: GP_tat, 1 Russian: Form5), as a form.
TForm* ParadigmGenerator(int language);
