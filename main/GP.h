#pragma once
// The paradigm generator windows: one class, two windows, Form5 with Russian captions and GP_tat
// with Tatar ones. The main window shows, hides and swaps them.

#include "main/Forms.h"

class TGP_Form;

extern TGP_Form* Form5;
extern TGP_Form* GP_tat;

// Creates both windows, hidden, at start-up (after the main window); frees them at the end.
void CreateParadigmGenerators();
void FreeParadigmGenerators();

// The window of an interface language (0 Tatar: GP_tat, 1 Russian: Form5), as a form.
TForm* ParadigmGenerator(int language);
