#pragma once
// The main program's interface texts: each a pair of fixed 33-unit texts, Tatar first, chosen by
// the interface-language byte of the shared block.

#include <cstdint>
#include <string>

#include "core/UILanguage.h"

constexpr int kInterfaceTextUnits = 33;

struct InterfaceStringPair {
    wchar_t Text[2][kInterfaceTextUnits];

    // Any byte but Tatar (0) reads as Russian: the byte comes from the other process.
    const wchar_t* operator[](int language) const { return Text[language == 0 ? 0 : 1]; }
};

extern const InterfaceStringPair sTranslate;
extern const InterfaceStringPair sParadigmGenerator;
extern const InterfaceStringPair sExit;
extern const InterfaceStringPair sInterfaceLanguage;
extern const InterfaceStringPair sRussian;
extern const InterfaceStringPair sTatar;
extern const InterfaceStringPair sDictionaries;
extern const InterfaceStringPair sSettings;
extern const InterfaceStringPair sHelp;
extern const InterfaceStringPair sClose;
extern const InterfaceStringPair sService;
extern const InterfaceStringPair sUndo;
extern const InterfaceStringPair sRedo;
extern const InterfaceStringPair sCut;
extern const InterfaceStringPair sCopy;
extern const InterfaceStringPair sPaste;
extern const InterfaceStringPair sClear;
extern const InterfaceStringPair sSelectAll;
extern const InterfaceStringPair sMaxLines;
extern const InterfaceStringPair sTranslationCard;
extern const InterfaceStringPair sOneWindow;
extern const InterfaceStringPair sSeparateWindows;
extern const InterfaceStringPair sScan;
extern const InterfaceStringPair sScanWithShift;
extern const InterfaceStringPair sAbout;
extern const InterfaceStringPair sPopupWindow;

// "Тат" and "Рус", by language code.
extern const wchar_t* const LangShortName[2];
// The product's name, "ТИРЕЛ".
extern const wchar_t* const ProductName;

// The interface language of the shared block (Russian while the process has none).
int UILanguageIndex();

