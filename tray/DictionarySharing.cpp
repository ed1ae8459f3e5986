#include "tray/DictionarySharing.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/GlobalCustoms.h"

namespace {

constexpr int kShareNumbers = 256;

// The lowest share number from `from` whose bit is clear, or kShareNumbers when all are taken.
int LowestFreeShareNumber(const TGlobalCustoms& block, int from = 0) {
    int number = from;
    while (number < kShareNumbers && SharedDictIsSet(block, number)) {
        ++number;
    }
    return number;
}

// A main program that outlived its tray program keeps the mappings it opened, and Wine then keeps
// their files open for reading and writing: only then may a file be opened sharing both.
TOwnedFile OpenDictionaryFile(const std::wstring& name) {
    TOwnedFile file = OpenFileExclusive(name, true);
    if (file || GetLastError() != ERROR_SHARING_VIOLATION || !MainProgramRunning(*SharedCustoms())) {
        return file;
    }
    return OwnFile(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The file mapped under `number`, or under the next free numbers while a name is still held by
// another process (such as a main program that outlived its tray program). A held name is not
// this file: its mapping is never read, and its bit is left clear, so that no main program opens
// it either. Null, with no bit of the skipped numbers set, when no number is left.
TOwnedMapping MapUnderFreeName(HANDLE file, TGlobalCustoms& block, int& number) {
    for (;;) {
        const std::string mappingName = DictObjectPrefix + std::to_string(number);
        TOwnedMapping mapping(
            CreateFileMappingA(file, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, 0, mappingName.c_str()));
        if (!mapping || GetLastError() != ERROR_ALREADY_EXISTS) {
            return mapping;
        }
        SetSharedDict(block, number, false);
        number = LowestFreeShareNumber(block, number + 1);
        if (number == kShareNumbers) {
            return TOwnedMapping();
        }
        SetSharedDict(block, number, true);
    }
}

// The name as given, cut to leave the slot's last unit for the terminating zero.
void WritePathSlot(void* image, const std::wstring& name) {
    auto* slot = reinterpret_cast<wchar_t*>(static_cast<unsigned char*>(image) + DictLayout::PathOffset);
    std::memset(slot, 0, DictLayout::PathUnits * sizeof(wchar_t));
    const size_t units = std::min(name.size(), DictLayout::PathUnits - 1);
    std::memcpy(slot, name.data(), units * sizeof(wchar_t));
}

TShareResult ShareUnder(const std::wstring& name, int number) {
    TOwnedFile file = OpenDictionaryFile(name);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return TShareResult::srFailed;
    }
    TOwnedMapping mapping = MapUnderFreeName(file.Get(), *SharedCustoms(), number);
    if (!mapping) {
        return TShareResult::srFailed;
    }
    TOwnedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view || CheckDictImage(view.Get(), static_cast<size_t>(size.QuadPart)) != TDictCheck::dcOk) {
        return TShareResult::srFailed;
    }
    const TLanguage direction = static_cast<TLanguage>(DictImageDirection(view.Get()));
    if (IsDictionaryShared(DictImageId(view.Get()), direction)) {
        SetSharedDict(*SharedCustoms(), number, false);
        return TShareResult::srDuplicate;
    }
    WritePathSlot(view.Get(), name);
    // The headword fingerprints come later (CompleteNextDictionary), so that the tray comes up at once.
    TDictHandle dict = MakeDictHandle(view.Get(), false);
    dict.FileHandle = std::move(file);
    dict.MapHandle = std::move(mapping);
    dict.MappedView = std::move(view);
    LangGroups[direction].push_back(std::move(dict));
    return TShareResult::srShared;
}

} // namespace

int LoadAllDictionaries() {
    TNameFileDicts names;
    if (FindDictionaryFiles(names) == 0) {
        return 0;
    }
    return LoadDictionaryFiles(names);
}

int FindDictionaryFiles(TNameFileDicts& names) {
    names.clear();
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(L"*.dict", &found);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        names.emplace_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return static_cast<int>(names.size());
}

int LoadDictionaryFiles(const TNameFileDicts& names) {
    UnshareAllDictionaries();
    int count = 0;
    for (const std::wstring& name : names) {
        if (LoadDictionaryFile(name)) {
            ++count;
        }
    }
    return count;
}

bool LoadDictionaryFile(const std::wstring& name) {
    return ShareDictionaryFile(name) != TShareResult::srFailed;
}

TShareResult ShareDictionaryFile(const std::wstring& name) {
    TGlobalCustoms& block = *SharedCustoms();
    const int number = LowestFreeShareNumber(block);
    if (number == kShareNumbers) {
        // No number is left to name it by, and the main program could never open it.
        return TShareResult::srFailed;
    }
    SetSharedDict(block, number, true);
    try {
        return ShareUnder(name, number);
    } catch (...) {
        return TShareResult::srFailed;
    }
}

bool IsDictionaryShared(int32_t id, TLanguage direction) {
    const TLangGroup& group = LangGroups[direction];
    return std::any_of(group.begin(), group.end(),
                       [id](const TDictHandle& dict) { return DictImageId(dict.View) == id; });
}

TOwnedFile OpenFileExclusive(const std::wstring& name, bool write) {
    const DWORD access = GENERIC_READ | (write ? GENERIC_WRITE : 0);
    return OwnFile(CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool CompleteNextDictionary() {
    for (TLangGroup& group : LangGroups) {
        for (TDictHandle& dict : group) {
            if (!dict.Headwords) {
                dict.Headwords = std::make_shared<THeadwordSet>(dict.Pool, dict.Entries, dict.EntryCount, true);
                return true;
            }
        }
    }
    return false;
}

void UnshareAllDictionaries() {
    for (TLangGroup& group : LangGroups) {
        group.clear();
    }
}
