#include "main/MainDictHandler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/DictImage.h"
#include "main/InterfaceStrings.h"
#include "tests/main/MainTestSupport.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

const wchar_t kTitleLabel[] = L"Название словаря: \t";
const wchar_t kCountLabel[] = L"Число слов: \t\t";
const wchar_t kAuthorsLabel[] = L"Авторы: \t\t";
const wchar_t kVersionLabel[] = L"Версия: \t\t";
const wchar_t kFileLabel[] = L"Файл словаря: \t";

std::wstring Listing(const std::wstring& title, int count, const std::wstring& file) {
    return kTitleLabel + title + L"\n" + kCountLabel + std::to_wstring(count) + L"\n" + kAuthorsLabel + L"Авторлар\n" +
           kVersionLabel + L"1.0\n" + kFileLabel + file + L"\n\n";
}

TEST(MainDictHandler, LabelsStoredInCp1251ReadAsCyrillic) {
    EXPECT_EQ(DecodeCp1251("\xD7\xE8\xF1\xEB\xEE"), L"Число");
    EXPECT_EQ(DecodeCp1251(""), L"");
}

TEST(MainDictHandler, ListsTatarDictionariesFirstWithEveryCharacter) {
    TOpenDictionaries dicts;
    dicts.Open(TestDictImage(RussianEntries(), langRussian, L"Русско-татарский", L"rustat.dict"));
    dicts.Open(TestDictImage(TatarEntries(), langTatar, L"Татарча-русча сүзлек", L"C:\\Сүзлек\\tatrus.dict"));
    dicts.Open(TestDictImage({{L"су", 0, L"вода", posNoun}}, langTatar, L"Кечкенә", L"small.dict"));
    EXPECT_EQ(DictionariesListing(), Listing(L"Татарча-русча сүзлек", 48, L"tatrus.dict") +
                                         Listing(L"Кечкенә", 1, L"small.dict") +
                                         Listing(L"Русско-татарский", 5, L"rustat.dict"));
}

TEST(MainDictHandler, APathSlotWithoutItsZeroIsReadToItsEnd) {
    std::wstring longName(256, L'ә');
    longName.replace(0, 3, L"ab\\");
    std::vector<unsigned char> image = TestDictImage(RussianEntries(), langRussian, L"X");
    std::memcpy(image.data() + DictLayout::PathOffset, longName.data(), 256 * sizeof(wchar_t));
    TOpenDictionaries dicts;
    const TDictHandle& dict = dicts.Open(image);
    const std::wstring listing = DictionaryListing(dict);
    EXPECT_NE(listing.find(kFileLabel + longName.substr(3) + L"\n"), std::wstring::npos);
}

TEST(MainDictHandler, TheWindowListsOnceAndFollowsTheLanguageWhenShown) {
    TTestCustoms customs;
    TOpenDictionaries dicts;
    dicts.Open(TestDictImage(RussianEntries(), langRussian, L"Урысча", L"r.dict"));
    TForm3 form;
    EXPECT_EQ(form.Memo->Text() + L"\n", Listing(L"Урысча", 5, L"r.dict"));
    EXPECT_EQ(form.Memo->ContextMenuList, nullptr);
    EXPECT_EQ(form.Memo->PopupMenu, &form.PM);
    for (const uint8_t language : {langTatar, langRussian}) {
        customs->UILanguage = language;
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
        form.ShowModal();
        EXPECT_EQ(WindowText(form.btnClose), sClose[language]);
        EXPECT_EQ(form.PM[0].Caption, sCopy[language]);
        EXPECT_EQ(form.PM[1].Caption, sSelectAll[language]);
    }
    EXPECT_FALSE(form.Showing());
}

TEST(MainDictHandler, NoDictionaryGivesAnEmptyListing) {
    TOpenDictionaries dicts;
    EXPECT_EQ(DictionariesListing(), L"");
}

} // namespace
