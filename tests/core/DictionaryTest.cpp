#include "core/Dictionary.h"

#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/GlobalCustoms.h"
#include "core/TatAlphabet.h"
#include "tests/core/DictTestImages.h"
#include "tests/support/OpenDictionaries.h"

namespace {

// Each test gets clean groups and its own images.
class Search : public ::testing::Test {
protected:
    TDictHandle& Open(std::vector<unsigned char> image) { return dictionaries_.Open(std::move(image)); }

    static int32_t Find(const std::wstring& word, const TDictHandle& dict) {
        return DictFindWord(word.c_str(), word.size(), dict);
    }

    static bool Collect(const std::wstring& word, TLanguage direction, uint8_t mask = dmAll, uint8_t exclude = 0) {
        return DictCollectMatches(word.c_str(), word.size(), direction, mask, exclude);
    }

    TOpenDictionaries dictionaries_;

    std::vector<unsigned char> basic_ = MakeImage({
        Entry(L"алма", posNoun),
        Entry(L"бал", posNoun, 2, L"балл"),
        Entry(L"бал", posNoun, 0, L"бал"),
        Entry(L"бал", posNoun, 1, L"мёд"),
        Entry(L"бару", posVerb),
        Entry(L"ике", posNumeral),
        Entry(L"яхшы", posAdjective | posOther),
        Entry(L"яшь", posNoun | dfExactOnly),
        Entry(L"яшь", posAdjective),
    });
};

} // namespace

TEST_F(Search, FirstLastAndMissingHeadwords) {
    TDictHandle& dict = Open(basic_);
    EXPECT_EQ(dict.EntryCount, 9);
    EXPECT_EQ(Find(L"алма", dict), 0);
    EXPECT_GE(Find(L"яшь", dict), 7);
    EXPECT_EQ(Find(L"ИКЕ", dict), 5);
    EXPECT_EQ(Find(L"бар", dict), -1);
    EXPECT_EQ(Find(L"а", dict), -1);
    EXPECT_EQ(Find(L"ящик", dict), -1);
    EXPECT_EQ(DictFindWord(nullptr, 0, dict), -1);
    EXPECT_EQ(DictFindWord(L"баруга", 4, dict), 4); // only the given length counts

    std::vector<unsigned char> empty = MakeImage({});
    TDictHandle& none = Open(empty);
    EXPECT_EQ(Find(L"алма", none), -1);

    ASSERT_TRUE(Collect(L"алма", langTatar));
    ASSERT_TRUE(Collect(L"яхшы", langTatar));
    EXPECT_EQ(LangGroups[langTatar][0].Probe, (TArrInt{0, 6}));
}

TEST_F(Search, EveryIndexPositionIsFound) {
    std::vector<DictSourceEntry> entries;
    const std::wstring letters = L"аәбвгдеёжҗзийклмнңоөпрстуүфхһцчшщъыьэюя";
    for (wchar_t a : letters) {
        for (wchar_t b : std::wstring(L"аңү")) {
            entries.push_back(Entry(std::wstring{a, b}.c_str(), posNoun));
        }
    }
    for (size_t n = 1; n <= entries.size(); n += 7) {
        std::vector<unsigned char> image =
            MakeImage(std::vector<DictSourceEntry>(entries.begin(), entries.begin() + static_cast<long>(n)));
        TDictHandle& dict = Open(image);
        for (size_t i = 0; i < n; ++i) {
            ASSERT_EQ(Find(entries[i].Headword, dict), static_cast<int32_t>(i)) << n << " " << i;
        }
        dictionaries_.Close();
    }
}

TEST_F(Search, HomonymRunIsCollectedWholeAndOrdered) {
    TDictHandle& dict = Open(basic_);
    ASSERT_TRUE(Collect(L"бал", langTatar));
    EXPECT_EQ(dict.Probe, (TArrInt{1, 2, 3}));
    EXPECT_EQ(dict.CurEntry, 1);
    dict.Accepted = dict.Probe;
    DictOrderMatches(dict);
    std::vector<int32_t> homonyms;
    for (int32_t k : dict.Accepted) {
        homonyms.push_back(dict.Entry(k).Homonym);
    }
    EXPECT_EQ(homonyms, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(std::wstring(dict.Article(dict.Accepted[1])), L"мёд");
}

TEST_F(Search, EntryZeroTakesPartInOrdering) {
    std::vector<unsigned char> image =
        MakeImage({Entry(L"ай", posNoun, 2), Entry(L"ай", posNoun, 1), Entry(L"ай", posOther, 0)});
    TDictHandle& dict = Open(image);
    ASSERT_TRUE(Collect(L"ай", langTatar));
    dict.Accepted = dict.Probe;
    DictOrderMatches(dict);
    EXPECT_EQ(dict.Accepted, (TArrInt{2, 1, 0}));
    dict.Accepted.clear();
    DictOrderMatches(dict);
    EXPECT_TRUE(dict.Accepted.empty());
}

TEST_F(Search, MaskAndExcludeFlag) {
    TDictHandle& dict = Open(basic_);
    EXPECT_FALSE(Collect(L"алма", langTatar, posVerb));
    EXPECT_TRUE(Collect(L"бару", langTatar, posVerb));
    EXPECT_EQ(dict.Probe, (TArrInt{4}));
    DictResetHits(langTatar);
    EXPECT_TRUE(Collect(L"яшь", langTatar, dmAll, 1));
    EXPECT_EQ(dict.Probe, (TArrInt{8}));
    DictResetHits(langTatar);
    EXPECT_TRUE(Collect(L"яшь", langTatar, dmAll, 0));
    EXPECT_EQ(dict.Probe, (TArrInt{7, 8}));
    DictResetHits(langTatar);
    EXPECT_FALSE(Collect(L"яшь", langTatar, posNumeral, 0));
}

TEST_F(Search, SecondProbeDependsOnDirection) {
    TDictHandle& tatar = Open(basic_);
    ASSERT_TRUE(Collect(L"бал", langTatar));
    EXPECT_FALSE(Collect(L"бал", langTatar));
    EXPECT_EQ(tatar.Probe.size(), 3u);
    tatar.Reported = tatar.Probe;
    tatar.Probe.clear();
    EXPECT_FALSE(Collect(L"бал", langTatar));
    EXPECT_FALSE(DictIsNewHit(2, tatar));
    EXPECT_TRUE(DictIsNewHit(0, tatar));

    std::vector<unsigned char> russian = MakeImage({Entry(L"стол", posNoun), Entry(L"стол", posNoun, 1)}, langRussian);
    TDictHandle& dict = Open(russian);
    ASSERT_TRUE(Collect(L"стол", langRussian));
    ASSERT_TRUE(Collect(L"стол", langRussian));
    EXPECT_EQ(dict.Probe, (TArrInt{0, 1, 0, 1}));

    DictResetHits(langTatar);
    EXPECT_TRUE(LangGroups[langTatar][0].Reported.empty());
    EXPECT_TRUE(LangGroups[langTatar][0].Probe.empty());
    EXPECT_FALSE(dict.Probe.empty());
}

TEST_F(Search, InvalidDirectionDoesNothing) {
    Open(basic_);
    // A direction byte from a file or another process may be anything.
    EXPECT_FALSE(Collect(L"бал", static_cast<TLanguage>(2)));
    EXPECT_FALSE(Collect(L"бал", static_cast<TLanguage>(255)));
    EXPECT_FALSE(DictResetHits(static_cast<TLanguage>(2)));
    EXPECT_TRUE(LangGroups[langTatar][0].Probe.empty());
}

TEST_F(Search, HeadwordsEqualInCollationFormOneRun) {
    // "Ай" and "ай" are stored as two texts; both spellings' entries must be collected
    // wherever the binary search lands.
    std::vector<unsigned char> image =
        MakeImage({Entry(L"абый", posNoun), Entry(L"Ай", posNoun, 0, L"имя"), Entry(L"ай", posNoun, 1),
                   Entry(L"ай", posNoun, 2), Entry(L"ак", posAdjective)});
    TDictHandle& dict = Open(image);
    EXPECT_NE(dict.Entry(1).Headword, dict.Entry(2).Headword);
    ASSERT_TRUE(Collect(L"ай", langTatar));
    EXPECT_EQ(dict.Probe, (TArrInt{1, 2, 3}));
    EXPECT_EQ(dict.CurEntry, 1);
    DictResetHits(langTatar);
    ASSERT_TRUE(Collect(L"АЙ", langTatar));
    EXPECT_EQ(dict.Probe, (TArrInt{1, 2, 3}));
}

TEST_F(Search, WordsOutsideTheIndexCostAtMostTwoCompares) {
    // An index whose inner entries all hold the probed word, out of order on purpose: the word
    // is found only if the search looks past the first and the last entry.
    std::vector<DictSourceEntry> entries;
    for (const wchar_t* word : {L"а", L"б", L"в", L"г"}) {
        entries.push_back(Entry(word, posNoun));
    }
    entries.resize(500, Entry(L"г", posNoun));
    TDictHandle& dict = Open(MakeImage(entries));
    auto* index = reinterpret_cast<TDictEntry*>(static_cast<unsigned char*>(dict.View) + DictLayout::HeaderSize);
    const int32_t a = index[0].Headword, b = index[1].Headword, v = index[2].Headword, g = index[3].Headword;
    auto layout = [&](int32_t first, int32_t inner, int32_t last) {
        index[0].Headword = first;
        for (int i = 1; i < 499; ++i) {
            index[i].Headword = inner;
        }
        index[499].Headword = last;
    };
    layout(b, a, v);
    EXPECT_EQ(Find(L"а", dict), -1); // before the first: one compare
    layout(b, g, v);
    EXPECT_EQ(Find(L"г", dict), -1); // after the last: two compares
    layout(b, g, g);
    EXPECT_EQ(Find(L"г", dict), 499);
}

TEST_F(Search, CurrentHeadwordAndTranslation) {
    TGlobalCustoms block{};
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L""); // no dictionary at all
    TDictHandle& dict = Open(basic_);
    block.SourceLang = langTatar;
    block.CurDict = 0;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L""); // CurEntry is -1 after opening
    dict.CurEntry = 3;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L"бал");
    EXPECT_STREQ(DictCurrentTranslation(LangGroups, block), L"мёд");
    block.CurDict = 1;
    EXPECT_STREQ(DictCurrentTranslation(LangGroups, block), L"");
    block.CurDict = -1;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L"");
    block.CurDict = 0;
    block.SourceLang = langRussian;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L"");
    block.SourceLang = 9;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L"");
    dict.CurEntry = 9;
    block.SourceLang = langTatar;
    EXPECT_STREQ(DictCurrentHeadword(LangGroups, block), L"");
}

// The fingerprint set may only rule out words the search would not find.
TEST_F(Search, HeadwordFingerprintsNeverHideAHeadword) {
    TDictHandle& dict = Open(basic_);
    ASSERT_TRUE(dict.Headwords);
    for (int32_t i = 0; i < dict.EntryCount; ++i) {
        std::wstring upper = dict.Headword(i);
        for (wchar_t& c : upper) {
            c = c == L'ә' ? L'Ә' : c == L'ш' ? L'Ш' : c == L'а' ? L'А' : c;
        }
        EXPECT_TRUE(dict.Headwords->MayHold(upper.c_str(), upper.size())) << i;
        EXPECT_GE(Find(upper, dict), 0) << i;
    }
    std::mt19937 random(3);
    const std::wstring letters = L"абвгиклмнрстуышәяьү";
    int ruledOut = 0;
    for (int k = 0; k < 5000; ++k) {
        std::wstring word;
        for (int n = 1 + static_cast<int>(random() % 5); n > 0; --n) {
            word += letters[random() % letters.size()];
        }
        if (!dict.Headwords->MayHold(word.c_str(), word.size())) {
            ++ruledOut;
            ASSERT_EQ(Find(word, dict), -1) << k;
        }
    }
    EXPECT_GT(ruledOut, 4000);
}

// Many entries naming one long headword cost what the image holds: the headword is fingerprinted
// once, and a headword longer than any lookup is refused before the set is built.
TEST_F(Search, SharedHeadwordCostsItsSizeOnce) {
    const std::wstring longest(DictLayout::MaxHeadwordUnits, L'ә');
    std::vector<DictSourceEntry> entries(1000, Entry(longest.c_str(), posNoun));
    std::vector<unsigned char> image = MakeImage(entries);
    ASSERT_EQ(CheckDictImage(image.data(), image.size()), TDictCheck::dcOk);
    TDictHandle& dict = Open(image);
    EXPECT_LE(dict.Headwords->SlotCount(), 256u); // 1,000 × 64 letters would take 131,072
    EXPECT_TRUE(Collect(longest, langTatar));
    EXPECT_EQ(dict.Probe.size(), 1000u);
    EXPECT_TRUE(dict.Headwords->MayBegin(THeadwordSet::Extend(THeadwordSet::Start(), longest.c_str(), 40)));

    for (const size_t length : {DictLayout::MaxHeadwordUnits + 1, size_t(10000)}) {
        const std::wstring tooLong(length, L'ә');
        entries.assign(1000, Entry(tooLong.c_str(), posNoun));
        image = MakeImage(entries);
        EXPECT_EQ(CheckDictImage(image.data(), image.size()), TDictCheck::dcLongHeadword) << length;
    }
    EXPECT_STREQ(DictCheckText(TDictCheck::dcLongHeadword), L"a headword is longer than 63 characters");
}
