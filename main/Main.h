#pragma once
// The main window. This header is the contract other windows read: the word of the entry, for
// the paradigm generators.

#include <string>

// The entry's text, and a flag set when it or the interface language changed; the generator
// windows read the word and clear the flag.
extern std::wstring MainWord;
extern bool MainWordChanged;
