#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/TatAlphabet.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "tests/support/BuiltData.h"
#include "tests/support/OpenDictionaries.h"
#include "tools/DictSource.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

void ExpectWellFormed(const std::vector<unsigned char>& image, TLanguage direction, int minimum) {
    ASSERT_EQ(CheckDictImage(image.data(), image.size()), TDictCheck::dcOk);
    EXPECT_EQ(DictImageDirection(image.data()), direction);
    const TDictHandle dict = MakeDictHandle(const_cast<unsigned char*>(image.data()));
    EXPECT_GE(dict.EntryCount, minimum);
    for (int32_t i = 0; i + 1 < dict.EntryCount; ++i) {
        ASSERT_LE(TatCompareStr(dict.Headword(i), dict.Headword(i + 1)), 0) << i;
        if (std::wstring(dict.Headword(i)) == dict.Headword(i + 1)) {
            ASSERT_EQ(dict.Entry(i).Headword, dict.Entry(i + 1).Headword) << "one offset per headword text";
        }
    }
    for (int32_t i = 0; i < dict.EntryCount; ++i) {
        ASSERT_EQ(DictFindWord(dict.Headword(i), std::wcslen(dict.Headword(i)), dict) >= 0, true) << i;
    }
}

} // namespace

TEST(SampleDictionaries, BuiltDictionariesAreSortedAndSearchable) {
    ExpectWellFormed(ReadBuiltFile("tatrus.dict"), langTatar, 600);
    ExpectWellFormed(ReadBuiltFile("rustat.dict"), langRussian, 400);
}

// Every form that the paradigm source makes of every Russian headword leads back to that headword.
TEST(SampleDictionaries, EveryRussianFormFindsItsHeadword) {
    const std::string source = QV_SOURCE_DIR;
    const auto paradigms = ParseParadigmSource(ReadWholeFile(Utf8ToWide(source + "/data/rus/paradigms.txt")), "p");
    const DictSource dictionary =
        ParseDictSource(ReadWholeFile(Utf8ToWide(source + "/data/dict/rustat.txt")), "rustat", &paradigms);

    TOpenDictionaries dictionaries;
    dictionaries.Open(ReadBuiltFile("rustat.dict"));
    CreateParadigmTable(Utf8ToWide(QV_BIN_DIR) + L"\\");

    int forms = 0;
    std::vector<std::wstring> missed;
    for (const DictSourceEntry& entry : dictionary.Entries) {
        if (entry.Paradigm < 0) {
            continue;
        }
        for (const std::wstring& form : ParadigmForms(paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword)) {
            ++forms;
            TLangSearchResult result;
            AnalyzeRussian(form.c_str(), result);
            bool found = false;
            for (const auto& analysis : result.Results) {
                for (const auto& dict : analysis.Dictionaries) {
                    for (const auto& item : dict.Items) {
                        found |= item.Headword == entry.Headword && std::wstring(item.Article) == entry.Article;
                    }
                }
            }
            if (!found) {
                missed.push_back(form + L" (" + entry.Headword + L")");
            }
        }
    }
    FreeParadigmTable();
    EXPECT_GT(forms, 5000);
    EXPECT_TRUE(missed.empty()) << missed.size() << " forms missed, first: " << WideToUtf8(missed.front());
}
