#pragma once
// The interface language: the byte of this process's shared settings block, or Russian while the
// process has none.

#include <string>

#include "core/Codes.h"
#include "core/Exceptions.h"

TLanguage CurrentUILanguage();

// The report of a file that cannot be opened, in the interface language, naming the file.
std::wstring CannotOpenFileText(const std::wstring& fileName);

// Runs body; a file it cannot open is raised again with the report above in place of the
// system's own text, which is English.
template <class Body> void OpeningFiles(Body&& body) {
    try {
        body();
    } catch (const EFOpenError& error) {
        if (error.FileName().empty()) {
            throw;
        }
        throw EFOpenError(CannotOpenFileText(error.FileName()), error.FileName());
    }
}
