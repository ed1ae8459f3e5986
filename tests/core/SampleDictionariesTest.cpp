#include <algorithm>
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

namespace {

struct RussianSample {
    std::vector<Paradigm> Paradigms;
    DictSource Dictionary;
};

const RussianSample& LoadRussianSample() {
    static const RussianSample sample = [] {
        const std::string source = QV_SOURCE_DIR;
        RussianSample loaded;
        loaded.Paradigms = ParseParadigmSource(ReadWholeFile(Utf8ToWide(source + "/data/rus/paradigms.txt")), "p");
        loaded.Dictionary = ParseDictSource(ReadWholeFile(Utf8ToWide(source + "/data/dict/rustat.txt")), "rustat",
                                            &loaded.Paradigms);
        return loaded;
    }();
    return sample;
}

// The built sample dictionary and paradigm tables as the programs load them.
class SampleRussian : public ::testing::Test {
protected:
    void SetUp() override {
        dictionaries_.Open(ReadBuiltFile("rustat.dict"));
        CreateParadigmTable(Utf8ToWide(QV_BIN_DIR) + L"\\");
    }
    void TearDown() override { FreeParadigmTable(); }

    // Whether the lookup of the word reports an entry of the headword (with the article, if given).
    static bool Finds(const std::wstring& word, const std::wstring& headword, const std::wstring* article = nullptr) {
        TLangSearchResult result;
        AnalyzeRussian(word.c_str(), result);
        for (const auto& analysis : result.Results) {
            for (const auto& dict : analysis.Dictionaries) {
                for (const auto& item : dict.Items) {
                    if (item.Headword == headword && (article == nullptr || *article == item.Article)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Every form of every Russian headword with a paradigm, spelled by the function; the forms
    // that do not find their headword, and how many were tried.
    static std::vector<std::wstring> Missed(std::wstring (*spell)(const std::wstring&), int& tried) {
        const RussianSample& sample = LoadRussianSample();
        std::vector<std::wstring> missed;
        tried = 0;
        for (const DictSourceEntry& entry : sample.Dictionary.Entries) {
            if (entry.Paradigm < 0) {
                continue;
            }
            auto forms = ParadigmForms(sample.Paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword);
            forms.push_back(entry.Headword);
            for (const std::wstring& form : forms) {
                const std::wstring spelled = spell(form);
                if (spelled.empty()) {
                    continue;
                }
                ++tried;
                if (!Finds(spelled, entry.Headword, &entry.Article)) {
                    missed.push_back(spelled + L" (" + entry.Headword + L")");
                }
            }
        }
        return missed;
    }

    TOpenDictionaries dictionaries_;
};

std::wstring AsWritten(const std::wstring& form) {
    return form;
}

// The form with every ё written е; nothing for a form without ё.
std::wstring WithYeForYo(const std::wstring& form) {
    std::wstring spelled = form;
    std::replace(spelled.begin(), spelled.end(), L'ё', L'е');
    return spelled == form ? std::wstring() : spelled;
}

} // namespace

// Every form that the paradigm source makes of every Russian headword leads back to that headword.
TEST_F(SampleRussian, EveryRussianFormFindsItsHeadword) {
    int forms = 0;
    const std::vector<std::wstring> missed = Missed(AsWritten, forms);
    EXPECT_GT(forms, 5000);
    EXPECT_TRUE(missed.empty()) << missed.size() << " forms missed, first: " << WideToUtf8(missed.front());
}

// Texts write е for ё: such a form finds its headword, whether the ё is in the stem or the ending.
TEST_F(SampleRussian, EveryFormWithYoWrittenWithYeFindsItsHeadword) {
    int forms = 0;
    const std::vector<std::wstring> missed = Missed(WithYeForYo, forms);
    EXPECT_GT(forms, 300);
    EXPECT_TRUE(missed.empty()) << missed.size() << " forms missed, first: " << WideToUtf8(missed.front());
}

// Real forms of each kind of inflection, with the headword each must find (tests/data).
TEST_F(SampleRussian, FormsOfEveryKindFindTheirHeadword) {
    const std::string text = ReadWholeFile(Utf8ToWide(std::string(QV_SOURCE_DIR) + "/tests/data/russian_forms.txt"));
    int checked = 0;
    for (const auto& [number, line] : SourceLines(text)) {
        const auto fields = SplitText(line, '\t');
        ASSERT_EQ(fields.size(), 2u) << "line " << number;
        const std::wstring form = Utf8ToWide(fields[0]), headword = Utf8ToWide(fields[1]);
        EXPECT_TRUE(Finds(form, headword)) << "line " << number << ": " << line;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}
