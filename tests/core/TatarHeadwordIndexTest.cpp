#include "core/TatarHeadwordIndex.h"

#include <string>

#include <gtest/gtest.h>

#include "core/Utf8.h"
#include "tests/core/DictTestImages.h"

namespace {

uint64_t KeyOf(const std::wstring& text) {
    return TTextKey::Of(text.c_str(), text.size());
}

} // namespace

// Up to twelve letters of the alphabet are their own key, capital and small alike; longer texts and
// texts of other characters have fingerprints, which a find confirms against the headword.
TEST(TatarTextKeys, ExactUpToTwelveLettersOfTheAlphabet) {
    const struct {
        const wchar_t* text;
        bool exact;
    } cases[] = {
        {L"а", true},
        {L"китап", true},
        {L"ҖӘҮҢҺӨ", true},
        {L"яяяяяяяяяяяя", true}, // the largest key of twelve letters
        {L"җаваплылыклар", false},
        {L"аш-су", false},
        {L"kitap", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TTextKey::Exact(KeyOf(c.text)), c.exact) << WideToUtf8(c.text);
    }
    EXPECT_EQ(KeyOf(L"КИТАП"), KeyOf(L"китап"));
    EXPECT_EQ(KeyOf(L"Җаваплылыклар"), KeyOf(L"җаваплылыклар"));
    // Keys of different texts differ, the empty text's and those of shorter texts too.
    const wchar_t* const texts[] = {L"",  L"а", L"аа",           L"б",          L"ба", L"аб", L"ә",
                                    L"е", L"ё", L"яяяяяяяяяяяя", L"яяяяяяяяяяя"};
    for (const wchar_t* a : texts) {
        for (const wchar_t* b : texts) {
            EXPECT_EQ(KeyOf(a) == KeyOf(b), std::wstring(a) == b) << WideToUtf8(a) << " " << WideToUtf8(b);
        }
    }
}

namespace {

class HeadwordIndex : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = MakeImage({Entry(L"аш-су", posNoun), Entry(L"бал", posNoun, 1), Entry(L"бал", posVerb, 2),
                            Entry(L"җаваплылыклар", posNoun), Entry(L"Казан", posNoun | dfExactOnly),
                            Entry(L"казан", posNoun), Entry(L"китап", posNoun)});
        dict_ = MakeDictHandle(image_.data());
        index_.Build(dict_);
    }

    const THeadwordIndex::TSlot* Find(const wchar_t* text) const { return index_.Find(TProbeText(text), dict_); }

    std::vector<unsigned char> image_;
    TDictHandle dict_;
    THeadwordIndex index_;
};

} // namespace

TEST_F(HeadwordIndex, FindsTheFirstEntryOfAHeadwordWithItsCountAndFlags) {
    const struct {
        const wchar_t* probe;
        int32_t entry; // -1: none
        uint16_t entries;
        uint8_t flags;
        bool small;
    } cases[] = {
        {L"бал", 1, 2, posNoun, true},
        {L"БАЛ", 1, 2, posNoun, true},
        {L"казан", 4, 2, posNoun | dfExactOnly, false}, // Казан and казан are one headword
        {L"китап", 6, 1, posNoun, true},
        {L"аш-су", 0, 1, posNoun, false},
        {L"җаваплылыклар", 3, 1, posNoun, true},
        {L"ҖАВАПЛЫЛЫКЛАР", 3, 1, posNoun, true},
        {L"җаваплылыклап", -1, 0, 0, false}, // a fingerprint alone finds nothing
        {L"аш-сү", -1, 0, 0, false},
        {L"китаб", -1, 0, 0, false},
        {L"ба", -1, 0, 0, false},
        {L"", -1, 0, 0, false},
    };
    for (const auto& c : cases) {
        const THeadwordIndex::TSlot* slot = Find(c.probe);
        if (c.entry < 0) {
            EXPECT_EQ(slot, nullptr) << WideToUtf8(c.probe);
            continue;
        }
        ASSERT_NE(slot, nullptr) << WideToUtf8(c.probe);
        EXPECT_EQ(slot->Entry, c.entry) << WideToUtf8(c.probe);
        EXPECT_EQ(slot->Entries, c.entries) << WideToUtf8(c.probe);
        EXPECT_EQ(slot->Flags, c.flags) << WideToUtf8(c.probe);
        EXPECT_EQ(slot->SmallLetters, c.small) << WideToUtf8(c.probe);
    }
}

TEST_F(HeadwordIndex, ProbesWithAddedLettersAndBeginnings) {
    const std::wstring word = L"китабы";
    const TProbeText stem(word.c_str(), 4, KeyOf(L"кита"));
    const THeadwordIndex::TSlot* slot = index_.Find(stem.Plus(L'п'), dict_);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->Entry, 6);
    EXPECT_EQ(index_.Find(stem.Plus(L'б'), dict_), nullptr);
    // Every beginning of every headword may begin one.
    for (int32_t e = 0; e < dict_.EntryCount; ++e) {
        const std::wstring headword = dict_.Headword(e);
        for (size_t n = 0; n <= headword.size(); ++n) {
            EXPECT_TRUE(index_.MayBegin(TProbeText(headword.c_str(), n, KeyOf(headword.substr(0, n)))))
                << WideToUtf8(headword) << " " << n;
        }
    }
}
