#include "tests/main/MainTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/DictImage.h"
#include "main/Forms.h"
#include "main/MainProgramBody.h"
#include "tests/support/BuiltData.h"

namespace {

// The form classes, the message window's class, and the programs' folder as the working folder:
// the main window loads the paradigm tables from there.
class MainEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        FormsInit();
        MainMesgInit();
        folder_ = std::make_unique<TWorkingFolder>(BuiltFolder());
    }
    void TearDown() override {
        folder_.reset();
        MainMesgDone();
        FormsDone();
    }

private:
    std::unique_ptr<TWorkingFolder> folder_;
};
const auto* const mainEnvironment = ::testing::AddGlobalTestEnvironment(new MainEnvironment);

} // namespace

std::vector<unsigned char> TestDictImage(const std::vector<TTestEntry>& entries, TLanguage direction,
                                         const std::wstring& title, const std::wstring& fileName) {
    DictSource source;
    source.Title = title;
    source.Authors = L"Авторлар";
    source.Version = L"1.0";
    source.Direction = direction;
    source.Id = 7;
    for (const TTestEntry& entry : entries) {
        DictSourceEntry e;
        e.Headword = entry.Headword;
        e.Homonym = entry.Homonym;
        e.Article = entry.Article;
        e.Flags = entry.Flags;
        source.Entries.push_back(e);
    }
    std::vector<unsigned char> image = BuildDictImage(source);
    const size_t units = std::min(fileName.size(), DictLayout::PathUnits);
    std::memcpy(image.data() + DictLayout::PathOffset, fileName.data(), units * sizeof(wchar_t));
    return image;
}

std::vector<TTestEntry> TatarEntries() {
    std::vector<TTestEntry> entries = {
        {L"а", 0, L"ah", posOther},
        {L"аб", 0, L"ab", posOther},
        {L"абага", 0, L"z1.g {гриб}", posNoun},
        {L"абв", 0, L"abv <a> & b", posNoun},
        {L"ак", 1, L"белый", posAdjective},
        {L"ак", 2, L"течь", posVerb},
        {L"ак", 3, L"третий", posNoun},
        {L"акча", 0, L"деньги", posNoun},
    };
    // Fillers after them in the alphabet, so that the list has pages to scroll.
    for (const wchar_t* letter = L"бвгдежзиклмнопрстуфх"; *letter != 0; ++letter) {
        for (const wchar_t* tail : {L"а", L"у"}) {
            entries.push_back({std::wstring(1, *letter) + tail, 0, L"x", posNoun});
        }
    }
    return entries;
}

std::vector<TTestEntry> RussianEntries() {
    return {{L"белый", 0, L"ак", posAdjective},
            {L"вода", 0, L"су", posNoun},
            {L"дом", 0, L"йорт", posNoun},
            {L"мать", 0, L"ана", posNoun},
            {L"слово", 0, L"сүз", posNoun}};
}

int32_t EntryOf(const TDictHandle& dict, const std::wstring& headword, int32_t homonym) {
    for (int32_t i = 0; i < dict.EntryCount; ++i) {
        if (dict.Headword(i) == headword && (homonym < 0 || dict.Entry(i).Homonym == homonym)) {
            return i;
        }
    }
    return -1;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring MenuText(HMENU menu, UINT item, bool byPosition) {
    wchar_t text[128] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, item, byPosition, &info);
    return text;
}

TWorkingFolder::TWorkingFolder(const std::wstring& folder) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    previous_ = current;
    SetCurrentDirectoryW(folder.c_str());
}

TWorkingFolder::~TWorkingFolder() {
    SetCurrentDirectoryW(previous_.c_str());
}

std::wstring BuiltFolder() {
    return BuiltPath(L"");
}
