#include "core/UILanguage.h"

#include "core/GlobalCustoms.h"

TLanguage CurrentUILanguage() {
    // The byte lives in memory another process writes: a value it does not know reads as Russian.
    return LanguageOf(SharedCustomsOrDefaults().UILanguage);
}

std::wstring CannotOpenFileText(const std::wstring& fileName) {
    const std::wstring quoted = L"\"" + fileName + L"\"";
    return CurrentUILanguage() == langTatar ? quoted + L" файлын ачып булмады" : L"Не удалось открыть файл " + quoted;
}
