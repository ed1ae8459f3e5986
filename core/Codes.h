#pragma once
// The typed codes that files, dictionary images and the shared settings block store: languages
// and parts of speech. Their values are part of those formats and never change.

#include <cstdint>

// Interface language, source and target language, and a dictionary's direction.
enum TLanguage : uint8_t { langTatar = 0, langRussian = 1 };
constexpr int kLanguageCount = 2;

constexpr bool IsLanguage(int value) {
    return value == langTatar || value == langRussian;
}
// A byte from a file or another process: anything but Tatar reads as Russian.
constexpr TLanguage LanguageOf(int value) {
    return value == langTatar ? langTatar : langRussian;
}

// Bits of a dictionary entry's flags, of lookup masks and of the suffix tables.
enum TPartOfSpeech : uint8_t { posNoun = 1, posAdjective = 2, posNumeral = 4, posVerb = 8, posOther = 128 };
