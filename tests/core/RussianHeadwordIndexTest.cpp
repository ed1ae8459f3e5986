#include "core/RussianHeadwordIndex.h"

#include <gtest/gtest.h>

#include "core/Utf8.h"
#include "tests/core/DictTestImages.h"

namespace {

// The runs the index gives for the text, in its order, as "first headword/entries".
std::vector<std::wstring> Runs(const TDictHandle& dict, const TRusHeadwords& index, std::wstring_view text) {
    const uint64_t hash = RusHashOf(RusTextSum(text));
    std::vector<std::wstring> runs;
    if (!index.MayHold(hash)) {
        return runs;
    }
    for (uint32_t at = index.Find(hash); at != TRusHeadwords::kNone; at = index.FindNext(hash, at)) {
        const TRusHeadwords::TSlot& run = index.Slots[at];
        runs.push_back(dict.Pool + run.Headword + (L"/" + std::to_wstring(run.Run)));
    }
    return runs;
}

} // namespace

// A text finds the runs of the headwords equal to it in Tatar order with ё weighing as е, in index
// order; headwords equal in Tatar order are one run.
TEST(RussianHeadwordIndex, TextFindsTheRunsOfItsSpellingsInIndexOrder) {
    std::vector<DictSourceEntry> entries = {Entry(L"всё", posOther), Entry(L"Всё", posOther), Entry(L"все", posOther),
                                            Entry(L"стол", posNoun), Entry(L"Стол", posNoun), Entry(L"столы", posNoun)};
    // Every spelling of "ееее" with е or ё in each place, in Tatar order: sixteen runs under one hash.
    std::vector<std::wstring> spellings;
    for (int ones = 0; ones < 16; ++ones) {
        std::wstring spelling;
        for (int place = 3; place >= 0; --place) {
            spelling += (ones >> place) & 1 ? L'ё' : L'е';
        }
        spellings.push_back(spelling + L"/1");
        entries.push_back(Entry(spelling.c_str(), posOther));
    }
    std::vector<unsigned char> image = MakeImage(entries, langRussian);
    const TDictHandle dict = MakeDictHandle(image.data());
    const auto index = MakeRusHeadwords(dict);
    const struct {
        const wchar_t* Text;
        std::vector<std::wstring> Runs;
    } cases[] = {
        {L"все", {L"все/1", L"всё/2"}},
        {L"ВСЁ", {L"все/1", L"всё/2"}},
        {L"стол", {L"стол/2"}},
        {L"СТОЛЫ", {L"столы/1"}},
        {L"сто", {}},
        {L"стул", {}},
        {L"", {}},
        {L"ёеёе", spellings},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Runs(dict, *index, c.Text), c.Runs) << WideToUtf8(c.Text);
    }
}

// A lemma candidate's sum is made from the sums of its stem and ending: the powers must fit the
// sums for texts of every length, also past the powers kept in a table.
TEST(RussianHeadwordIndex, SumOfTwoTextsComesFromTheirSums) {
    const std::wstring alphabet = L"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ-x";
    const std::wstring letters = alphabet + alphabet;
    for (const size_t first : {0, 1, 5, 40, 63}) {
        for (const size_t second : {0, 1, 3, 63, 64, 65, 70}) {
            const std::wstring a = letters.substr(0, first), b = letters.substr(letters.size() - second);
            EXPECT_EQ(RusTextSum(a + b), RusTextSum(a) * RusRadixPower(b.size()) + RusTextSum(b))
                << first << "+" << second;
        }
    }
}
