#pragma once
// Dictionaries, a settings block and the main program's forms for its in-process tests.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Codes.h"
#include "core/Dictionary.h"
#include "tools/DictWriter.h"

struct TTestEntry {
    std::wstring Headword;
    int32_t Homonym;
    std::wstring Article;
    uint8_t Flags;
};

// An image of the entries (sorted by the builder), with a file name in its path slot.
std::vector<unsigned char> TestDictImage(const std::vector<TTestEntry>& entries, TLanguage direction,
                                         const std::wstring& title, const std::wstring& fileName = L"test.dict");

// The Tatar test dictionary: 48 entries, among them "а", "аб", "абага", "абв" and three
// homonyms "ак" I..III; the Russian one: 5 entries.
std::vector<TTestEntry> TatarEntries();
std::vector<TTestEntry> RussianEntries();

// Index of the first entry with that headword (and homonym number when given), -1 when none.
int32_t EntryOf(const TDictHandle& dict, const std::wstring& headword, int32_t homonym = -1);

// The text of a window.
std::wstring WindowText(HWND window);
// The text of a menu item, by command or by position.
std::wstring MenuText(HMENU menu, UINT item, bool byPosition = false);

// Sets the working folder for the life of the object.
class TWorkingFolder {
public:
    explicit TWorkingFolder(const std::wstring& folder);
    ~TWorkingFolder();
    TWorkingFolder(const TWorkingFolder&) = delete;
    TWorkingFolder& operator=(const TWorkingFolder&) = delete;

private:
    std::wstring previous_;
};

// The programs' folder of the build (the data files and the programs).
std::wstring BuiltFolder();
