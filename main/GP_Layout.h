#pragma once
// The controls of the two paradigm generator windows, transcribed once: ids, kinds, parents,
// bounds and captions per window (index langTatar for GP_tat, langRussian for Form5), in creation
// order, a parent before its children. A radio button's bounds follow from its place in its
// group box and its caption, so its row carries none.

#include <cstddef>
#include <cstdint>

#include "core/Codes.h"

enum class TGP_Control : int {
    Form = 0,
    MainPanel = 1001,
    GB_Main,
    GB_Main_Nouns,
    GB_Main_Adj,
    GB_Main_Dig,
    GB_Main_Verb,
    lblBase,
    edBase,
    NounsPanel,
    GB_Nouns_Pad,
    NounsPad_Base,
    NounsPad_Face,
    NounsPad_Dir,
    NounsPad_Vin,
    NounsPad_Sour,
    NounsPad_Time,
    GB_Nouns_Face,
    NounsFace_Undef,
    NounsFace_Prim,
    NounsFace_Sec,
    NounsFace_Tret,
    GB_Nouns_Num,
    NounsNum_Single,
    NounsNum_Plural,
    AdjPanel,
    GB_Adj,
    Adj_Base,
    Adj_Compare,
    DigPanel,
    GB_Dig_Pad,
    DigPad_Base,
    DigPad_Face,
    DigPad_Dir,
    DigPad_Vin,
    DigPad_Sour,
    DigPad_Time,
    GB_Dig_Kind,
    DigKind_Count,
    DigKind_Num,
    DigKind_Aprox,
    DigKind_Coll,
    DigKind_Sep,
    VerbPanel,
    GB_Verb_Kind,
    VerbKind_Infinitive,
    VerbKind_NameAction,
    VerbKind_Stimulate,
    VerbKind_Condition,
    VerbKind_Appear,
    VerbAbsent,
    GB_Verb_Time,
    VerbTime_Present,
    VerbTime_PastDef,
    VerbTime_PastUnDef,
    VerbTime_FutureDef,
    VerbTime_FutureUndef,
    GB_Verb_Face,
    VerbFace_Prim,
    VerbFace_Sec,
    VerbFace_Tret,
    GB_Verb_Num,
    VerbNum_Single,
    VerbNum_Plural,
    btnClose,
    TB,
};

// The order is that of the layout table in GP_Controls.cpp.
enum class TGP_Kind : uint8_t { Panel, GroupBox, RadioButton, CheckBox, Label, Edit, Button, Browser };

struct TGP_Bounds {
    int Left, Top, Width, Height;
};

struct TGP_ControlRow {
    TGP_Control Id;
    TGP_Kind Kind;
    TGP_Control Parent;
    TGP_Bounds Bounds[kLanguageCount]; // in the parent's client area
    const wchar_t* Caption[kLanguageCount];
    uint8_t Code; // radio button: the code it gives
    uint8_t Tag;  // radio button: read by the enabling rules (numeral cases, verb kinds)
    bool Checked; // checked when the window is made
    bool Visible; // panels: shown when the window is made
};

extern const TGP_ControlRow GP_Controls[];
extern const size_t GP_ControlCount;
// The row of a control; the controls above have one each.
const TGP_ControlRow& GP_Row(TGP_Control id);

struct TGP_WindowLayout {
    const wchar_t* Caption;
    int ClientWidth;
    int ClientHeight;
    bool Maximized;
};
extern const TGP_WindowLayout GP_Windows[kLanguageCount];

// Radio button k of a group box (from 1): left 8, top 24 + 20 (k - 1), 17 high.
constexpr int kRadioLeft = 8;
constexpr int kRadioTop = 24;
constexpr int kRadioStep = 20;
constexpr int kRadioHeight = 17;
