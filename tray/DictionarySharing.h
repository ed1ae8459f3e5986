#pragma once
// Every dictionary file in the working folder shared as named memory: each gets the lowest free
// share number 0..255 whose name is free, marked in the shared block, under the name
// "Quorva_Object_ID_" + number, and a handle in this process's group of its direction. The files
// stay open without sharing (see ShareDictionaryFile for the one exception) and mapped until the
// process ends.

#include <cstdint>
#include <string>
#include <vector>

#include "core/Codes.h"
#include "core/win32/OwnedHandle.h"

using TNameFileDicts = std::vector<std::wstring>;

enum class TShareResult {
    srShared,
    srDuplicate, // its id was shared in its direction already: dropped, its share number freed
    srFailed     // not shared: it could not be opened or mapped, its image is unusable, or no number was free
};

// Finds and shares every "*.dict" file; gives the number of files shared or dropped as
// duplicates (0: none found or none usable). Needs the shared block.
int LoadAllDictionaries();

// The names (no folder) of the "*.dict" files in the working folder, in the order found.
int FindDictionaryFiles(TNameFileDicts& names);

// Shares each file in order after dropping what was shared before; gives the count of
// LoadDictionaryFile successes.
int LoadDictionaryFiles(const TNameFileDicts& names);

bool LoadDictionaryFile(const std::wstring& name);

// Maps the file read/write under the lowest free share number and, when its image passes the
// check and its id is new in its direction, writes the name as given (at most 255 units) into
// the header's path slot, on disk, and adds it to the group. A number whose name another process
// still holds is passed over for the next free one and left unmarked. A file that fails keeps its
// share number marked; the main program finds no mapping under it and skips it. While a main
// program left by a killed tray program runs, a file its mappings keep open is opened sharing
// reading and writing instead of not at all.
TShareResult ShareDictionaryFile(const std::wstring& name);

bool IsDictionaryShared(int32_t id, TLanguage direction);

// Read (and write) access, no sharing, an existing file only; holds nothing on failure.
TOwnedFile OpenFileExclusive(const std::wstring& name, bool write);

// Builds the headword fingerprints of the next shared dictionary that lacks them; false when none
// does. Sharing leaves them out so that the tray comes up at once; the search is right without
// them, only slower.
bool CompleteNextDictionary();

// Drops every shared dictionary of this process (views, mappings, files); the bits stay set.
void UnshareAllDictionaries();
