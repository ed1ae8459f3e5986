#include "main/GP.h"

#include <iterator>

#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"
#include "main/GP_Html.h"
#include "main/InterfaceStrings.h"
#include "main/Main.h"

namespace {

using C = TGP_Control;

constexpr C kPanels[] = {C::NounsPanel, C::AdjPanel, C::DigPanel, C::VerbPanel};
constexpr C kVerbGroups[] = {C::GB_Verb_Time, C::GB_Verb_Face, C::GB_Verb_Num};

bool IsRadioButton(int id) {
    return id >= static_cast<int>(C::MainPanel) && id <= static_cast<int>(C::TB) &&
           GP_Row(static_cast<C>(id)).Kind == TGP_Kind::RadioButton;
}

TFormParams GeneratorParams(TLanguage language) {
    const TGP_WindowLayout& layout = GP_Windows[language];
    TFormParams p;
    p.Caption = layout.Caption;
    p.ClientWidth = layout.ClientWidth;
    p.ClientHeight = layout.ClientHeight;
    if (layout.Maximized) {
        p.Style |= WS_MAXIMIZE; // at creation only, so that bounds given later are kept when it is shown
    }
    return p;
}

// The platform's lower case, unit by unit, the length unchanged.
std::wstring LowerCased(std::wstring word) {
    if (!word.empty()) {
        CharLowerBuffW(word.data(), static_cast<DWORD>(word.size()));
    }
    return word;
}

} // namespace

TGP_Builders GP_Builders = {BuildNounForm, BuildAdjectiveForm, BuildNumeralForm, BuildVerbForm};

// ---- creation --------------------------------------------------------------------------------

TGP_Form::TGP_Form(TLanguage language)
    : TForm(GeneratorParams(language)),
      language_(language), remembered_{C::VerbTime_Present, C::VerbFace_Prim, C::VerbNum_Single} {
    controls_ = std::make_unique<TGP_Controls>(Handle(), language, Design);
    FormCreate();
    ApplyLayout();
}

TGP_Form::~TGP_Form() = default;

void TGP_Form::FormCreate() {
    // The layout has checked the first button of every group but the three verb groups, which
    // start disabled with their remembered buttons unchecked; only the noun panel is shown.
    for (C group : kVerbGroups) {
        controls_->Enable(group, false);
    }
    ShowPanel(C::NounsPanel);
    edBase().CharCase = ecLowerCase;
    edBase().OnChange = [this](TObject*) { edBaseOnChange(); };
    pm_ = std::make_unique<TMenuList>();
    pm_->Add(NewMenuRec(
        sCopy[langRussian], 0, nullptr, [this](TObject*) { N11Click(); }, nullptr));
    pm_->Add(NewMenuRec(
        sSelectAll[langRussian], 0, nullptr, [this](TObject*) { N21Click(); }, nullptr));
    if (language_ == langTatar) {
        LocalizeCaptions();
    }
}

void TGP_Form::LocalizeCaptions() {
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        const TGP_ControlRow& row = GP_Controls[i];
        if (row.Kind == TGP_Kind::GroupBox || row.Kind == TGP_Kind::RadioButton || row.Kind == TGP_Kind::CheckBox) {
            controls_->SetCaption(row.Id, row.Caption[langTatar]);
        }
    }
    (*pm_)[0].Caption = sCopy[langTatar];
    (*pm_)[1].Caption = sSelectAll[langTatar];
    // The edit's entries 2 and 7 are separators.
    const InterfaceStringPair* const entries[] = {&sUndo,  &sRedo,  nullptr, &sCut,      &sCopy,
                                                  &sPaste, &sClear, nullptr, &sSelectAll};
    TMenuList& menu = *edBase().ContextMenuList;
    for (int i = 0; i < static_cast<int>(std::size(entries)) && i < menu.Count(); ++i) {
        if (entries[i] != nullptr) {
            menu[i].Caption = (*entries[i])[langTatar];
        }
    }
}

// ---- messages --------------------------------------------------------------------------------

LRESULT TGP_Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        // Sent only when the window turns visible, however it is shown.
        if (wParam != FALSE) {
            FormShow();
        }
        return Default(message, wParam, lParam);
    case WM_CONTEXTMENU:
        ContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    default:
        return TForm::OnMessage(message, wParam, lParam);
    }
}

void TGP_Form::Activated(bool active) {
    if (active) {
        FormActivate();
        // An unchecked radio button that gets the focus reports a click, which would check it.
        ActiveControl = FocusTarget(ActiveControl);
    }
    TForm::Activated(active);
}

HWND TGP_Form::FocusTarget(HWND control) const {
    const int id = control != nullptr ? GetDlgCtrlID(control) : 0;
    if (!IsRadioButton(id) || controls_->Checked(static_cast<C>(id))) {
        return control;
    }
    const C group = GP_Row(static_cast<C>(id)).Parent;
    for (size_t i = 0; i < GP_ControlCount; ++i) {
        if (GP_Controls[i].Parent == group && IsRadioButton(static_cast<int>(GP_Controls[i].Id)) &&
            controls_->Checked(GP_Controls[i].Id)) {
            return Control(GP_Controls[i].Id);
        }
    }
    return edBase().Handle();
}

void TGP_Form::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) {
        return;
    }
    const C control = static_cast<C>(id);
    if (control == C::btnClose) {
        btnCloseClick();
    } else if (control == C::VerbAbsent) {
        VerbAbsentClick();
    } else if (IsRadioButton(id)) {
        // A click checks the button, checked or not, and always raises its handler.
        controls_->Check(control);
        RadioClick(control);
    }
}

void TGP_Form::ContextMenu(HWND target, LPARAM at) {
    if (target == TB().Window()) {
        ShowContextMenu(*pm_, Handle(), target, at);
    } else {
        Default(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), at);
    }
}

// ---- radio buttons ---------------------------------------------------------------------------

void TGP_Form::Check(C button) {
    if (controls_->Check(button)) {
        RadioClick(button);
    }
}

void TGP_Form::RadioClick(C button) {
    switch (GP_Row(button).Parent) {
    case C::GB_Main:
        if (button == C::GB_Main_Nouns) {
            GB_Main_NounsClick();
        } else if (button == C::GB_Main_Adj) {
            GB_Main_AdjClick();
        } else if (button == C::GB_Main_Dig) {
            GB_Main_DigClick();
        } else {
            GB_Main_VerbClick();
        }
        break;
    case C::GB_Nouns_Pad:
    case C::GB_Nouns_Face:
    case C::GB_Nouns_Num:
        Noun_Click();
        break;
    case C::GB_Adj:
        Adj_Click();
        break;
    case C::GB_Dig_Pad:
        DigPad_Click(button);
        break;
    case C::GB_Dig_Kind:
        Dig_Click();
        break;
    case C::GB_Verb_Kind:
        VerbKind_Click(button);
        break;
    case C::GB_Verb_Time:
        VerbTime_Click(button);
        break;
    case C::GB_Verb_Face:
        VerbFace_Click(button);
        break;
    default:
        VerbNum_Click(button);
        break;
    }
}

C TGP_Form::Remembered(C group) const {
    for (size_t i = 0; i < remembered_.size(); ++i) {
        if (kVerbGroups[i] == group) {
            return remembered_[i];
        }
    }
    return C::Form;
}

void TGP_Form::FocusButton(C button) {
    // A hidden window is not made active by a rule that ran from code.
    if (Showing()) {
        SetFocus(Control(button));
    }
}

// ---- event handlers --------------------------------------------------------------------------

void TGP_Form::FormShow() {
    if (MainWordChanged) {
        TakeMainWord();
        MainWordChanged = false;
    }
}

void TGP_Form::FormActivate() {
    if (MainWordChanged) {
        TakeMainWord();
    }
}

void TGP_Form::TakeMainWord() {
    SetBaseWord(MainWord);
    SelectPartOfSpeechFromEntry();
}

void TGP_Form::ShowPanel(C panel) {
    for (C other : kPanels) {
        if (other != panel) {
            controls_->SetVisible(other, false);
        }
    }
    controls_->SetVisible(panel, true);
}

void TGP_Form::GB_Main_NounsClick() {
    ShowPanel(C::NounsPanel);
    BuildNoun();
}

void TGP_Form::GB_Main_AdjClick() {
    ShowPanel(C::AdjPanel);
    BuildAdjective();
}

void TGP_Form::GB_Main_DigClick() {
    ShowPanel(C::DigPanel);
    BuildNumeral();
}

void TGP_Form::GB_Main_VerbClick() {
    ShowPanel(C::VerbPanel);
    BuildVerb();
}

void TGP_Form::Noun_Click() {
    BuildNoun();
}

void TGP_Form::Adj_Click() {
    BuildAdjective();
}

void TGP_Form::DigPad_Click(C button) {
    DigCaseChanged(button);
    BuildNumeral();
}

void TGP_Form::Dig_Click() {
    BuildNumeral();
}

void TGP_Form::VerbKind_Click(C button) {
    VerbKindChanged(button);
    BuildVerb();
}

void TGP_Form::VerbTime_Click(C button) {
    remembered_[0] = button;
    BuildVerb();
}

void TGP_Form::VerbFace_Click(C button) {
    remembered_[1] = button;
    BuildVerb();
}

void TGP_Form::VerbNum_Click(C button) {
    remembered_[2] = button;
    BuildVerb();
}

void TGP_Form::VerbAbsentClick() {
    BuildVerb();
}

void TGP_Form::edBaseOnChange() {
    switch (PartOfSpeechCode()) {
    case posNoun:
        GB_Main_NounsClick();
        break;
    case posAdjective:
        GB_Main_AdjClick();
        break;
    case posNumeral:
        GB_Main_DigClick();
        break;
    case posVerb:
        GB_Main_VerbClick();
        break;
    default:
        break;
    }
}

void TGP_Form::btnCloseClick() {
    Hide();
}

void TGP_Form::N11Click() {
    TB().Copy();
}

void TGP_Form::N21Click() {
    TB().SelectAll();
}

// ---- building --------------------------------------------------------------------------------

bool TGP_Form::BuildWord(std::wstring& word) {
    word = LowerCased(edBase().Text());
    if (word.empty()) {
        // Not the previous word's form: the verb builder would leave it in the record.
        paradigmRec_ = TGP_Proc_Rec();
        ShowParadigm();
        return false;
    }
    return true;
}

void TGP_Form::BuildNoun() {
    std::wstring word;
    if (BuildWord(word)) {
        GP_Builders.Noun(word, NounCaseCode(), NounPossessorCode(), NounNumberCode(), paradigmRec_);
        ShowParadigm();
    }
}

void TGP_Form::BuildAdjective() {
    std::wstring word;
    if (BuildWord(word)) {
        GP_Builders.Adjective(word, AdjDegreeCode(), paradigmRec_);
        ShowParadigm();
    }
}

void TGP_Form::BuildNumeral() {
    std::wstring word;
    if (BuildWord(word)) {
        GP_Builders.Numeral(word, DigCaseCode(), DigKindCode(), paradigmRec_);
        ShowParadigm();
    }
}

void TGP_Form::BuildVerb() {
    std::wstring word;
    if (BuildWord(word)) {
        GP_Builders.Verb(word, VerbKindCode(), VerbTenseCode(), VerbPersonCode(), VerbNumberCode(), VerbNegation(),
                         paradigmRec_);
        ShowParadigm();
    }
}

void TGP_Form::ShowParadigm() {
    TB().SetHtml(ParadigmHtml(paradigmRec_));
}

// ---- rules -----------------------------------------------------------------------------------

void TGP_Form::DigCaseChanged(C button) {
    constexpr C kinds[] = {C::DigKind_Count, C::DigKind_Num, C::DigKind_Aprox, C::DigKind_Coll, C::DigKind_Sep};
    const bool baseCase = GP_Row(button).Tag == 1;
    for (size_t i = 0; i < std::size(kinds); ++i) {
        controls_->Enable(kinds[i], baseCase || i < 2);
    }
    if (!baseCase && !controls_->Checked(C::DigKind_Count) && !controls_->Checked(C::DigKind_Num)) {
        Check(C::DigKind_Count);
    }
    FocusButton(button);
}

void TGP_Form::VerbKindChanged(C button) {
    const uint8_t tag = GP_Row(button).Tag;
    if (tag < 1 || tag > 5) {
        return;
    }
    for (size_t i = 0; i < std::size(kVerbGroups); ++i) {
        // Kinds 1 and 2 take none of the three; 3 and 4 take person and number; 5 takes all.
        const bool enable = tag == 5 || ((tag == 3 || tag == 4) && i > 0);
        if (enable) {
            controls_->Enable(kVerbGroups[i], true);
            Check(remembered_[i]);
        } else {
            controls_->Uncheck(remembered_[i]);
            controls_->Enable(kVerbGroups[i], false);
        }
    }
    FocusButton(button);
}

// ---- the main window's word ------------------------------------------------------------------

void TGP_Form::SetBaseWord(const std::wstring& word) {
    if (controls_ != nullptr) {
        edBase().SetText(LowerCased(word));
    }
}

void TGP_Form::SelectPartOfSpeechFromEntry() {
    const TGlobalCustoms* block = SharedCustoms();
    if (block == nullptr || !IsLanguage(block->SourceLang)) {
        return;
    }
    const TLangGroup& group = LangGroups[block->SourceLang];
    if (block->CurDict < 0 || static_cast<size_t>(block->CurDict) >= group.size()) {
        return;
    }
    SelectPartOfSpeech(static_cast<uint8_t>(group[static_cast<size_t>(block->CurDict)].CurFlags)); // its low byte
}

void TGP_Form::SelectPartOfSpeech(uint8_t flags) {
    switch (flags) {
    case posNoun:
        Check(C::GB_Main_Nouns);
        break;
    case posAdjective:
        Check(C::GB_Main_Adj);
        break;
    case posNumeral:
        Check(C::GB_Main_Dig);
        break;
    case posVerb:
        Check(C::GB_Main_Verb);
        break;
    default:
        break;
    }
}

// ---- the two windows -------------------------------------------------------------------------

TGP_Form* Form5 = nullptr;
TGP_Form* GP_tat = nullptr;

void CreateParadigmGenerators() {
    Form5 = new TGP_Form(langRussian);
    GP_tat = new TGP_Form(langTatar);
}

void FreeParadigmGenerators() {
    delete GP_tat;
    GP_tat = nullptr;
    delete Form5;
    Form5 = nullptr;
}

TForm* ParadigmGenerator(int language) {
    switch (language) {
    case langTatar:
        return GP_tat;
    case langRussian:
        return Form5;
    default:
        return nullptr;
    }
}
