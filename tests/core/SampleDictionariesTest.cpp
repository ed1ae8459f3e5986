#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/TatAlphabet.h"

namespace {

std::vector<unsigned char> ReadBuilt(const char* name) {
    std::ifstream in(std::string(QV_BIN_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void ExpectWellFormed(const std::vector<unsigned char>& image, uint8_t direction, int minimum) {
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
    ExpectWellFormed(ReadBuilt("tatrus.dict"), 0, 600);
    ExpectWellFormed(ReadBuilt("rustat.dict"), 1, 400);
}
