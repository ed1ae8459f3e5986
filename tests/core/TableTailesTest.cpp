#include "core/TableTailes.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/GP_DATA.h"
#include "core/PartsOfSpeech.h"
#include "core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<unsigned char> Records(std::initializer_list<std::pair<const wchar_t*, std::vector<int32_t>>> records) {
    std::vector<unsigned char> bytes;
    for (const auto& [ending, ids] : records) {
        TTaileFileRecord record{};
        std::wcsncpy(record.Ending, ending, 33);
        std::copy(ids.begin(), ids.end(), record.Ids);
        const auto* raw = reinterpret_cast<const unsigned char*>(&record);
        bytes.insert(bytes.end(), raw, raw + sizeof record);
    }
    return bytes;
}

class SuffixTables : public ::testing::Test {
protected:
    void SetUp() override {
        Write(posAdjective, Records({{L"рак", {1}}, {L"рәк", {2}}}));
        Write(posNoun, Records({{L"га", {22}},
                                {L"лар", {85}},
                                {L"ларны", {85, 27}},
                                {L"ларым", {85, 91, 0, 27}},
                                {L"ны", {27, 999, 85}}}));
        Write(posNumeral, Records({{L"енче", {3}}}));
        Write(posVerb, Records({{L"у", {57}},
                                {L"ү", {58}},
                                {L"ый", {60}},
                                {L"ыйк", {60, 46}},
                                {L"ыйм", {60, 90}},
                                {L"ыйсыз", {60, 49}},
                                {L"и", {59}}}));
        TableTailesInit(temp_.Path());
    }
    void TearDown() override { TableTailesDone(); }

    void Write(TPartOfSpeech part, const std::vector<unsigned char>& bytes) {
        temp_.Write(InflectingPart(part)->SuffixFile, bytes);
    }

    static std::vector<std::wstring> Chain() {
        std::vector<std::wstring> affixes;
        for (const auto& rec : CurrentTaile) {
            affixes.push_back(rec->AffixText);
        }
        return affixes;
    }

    TempFolder temp_;
};

} // namespace

TEST_F(SuffixTables, EndingsBecomeSuffixChains) {
    ASSERT_TRUE(LookupTaileChain(L"ларны", 5, posNoun));
    EXPECT_EQ(Chain(), (std::vector<std::wstring>{L"лар", L"ны"}));
    EXPECT_EQ(CurrentTaile[1]->RuleId, 27);
    EXPECT_EQ(CurrentTaile[1]->FormCode, 4);
    EXPECT_EQ(CurrentTaile[1]->PartOfSpeech, posNoun);
    EXPECT_EQ(CurrentTaile[0]->FlagsA, 0x1F);
    EXPECT_EQ(CurrentTaile[0]->FlagsB, 0x04);

    TTaile copy;
    CopyTaileChain(copy);
    EXPECT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy[0], CurrentTaile[0]); // shared, not copied
    ClearTaileChain();
    EXPECT_TRUE(CurrentTaile.empty());
    CopyTaileChain(copy);
    EXPECT_EQ(copy.size(), 2u); // an empty chain leaves the copy alone

    ASSERT_TRUE(LookupTaileChain(L"ларым", 5, posNoun)); // the second id 0 ends the chain
    EXPECT_EQ(Chain(), (std::vector<std::wstring>{L"лар", L"ым"}));
    ClearTaileChain();
    ASSERT_TRUE(LookupTaileChain(L"ны", 2, posNoun)); // an id the table lacks ends it too
    EXPECT_EQ(Chain(), (std::vector<std::wstring>{L"ны"}));
    ClearTaileChain();
}

TEST_F(SuffixTables, LookupByPartOfSpeechAndCase) {
    EXPECT_TRUE(LookupTaileChain(L"ЛАРНЫ", 5, posNoun));
    ClearTaileChain();
    EXPECT_FALSE(LookupTaileChain(L"ларны", 5, posOther));
    EXPECT_FALSE(LookupTaileChain(L"ларны", 5, posVerb));
    EXPECT_FALSE(LookupTaileChain(L"ла", 2, posNoun));
    EXPECT_TRUE(CurrentTaile.empty());
    EXPECT_TRUE(LookupTaileChain(L"рәк", 3, posAdjective));
    EXPECT_TRUE(LookupTaileChain(L"енче", 4, posNumeral));
    EXPECT_TRUE(LookupTaileChain(L"ү", 1, posVerb));
    EXPECT_EQ(Chain(), (std::vector<std::wstring>{L"рәк", L"енче", L"ү"}));
    ClearTaileChain();
}

// и and ый open both the present and the first-person imperative: the suffix after them decides.
TEST_F(SuffixTables, AnIdOfTwoRowsResolvesToTheFormItWasBuiltFor) {
    const struct {
        const wchar_t* ending;
        int formCode;
    } cases[] = {
        {L"ый", 24},  {L"ыйсыз", 24}, {L"ыйм", 24}, {L"и", 24}, // ашый, ашыйсыз, укыйм, эшли
        {L"ыйк", 20},                                           // языйк
    };
    for (const auto& c : cases) {
        ClearTaileChain();
        ASSERT_TRUE(LookupTaileChain(c.ending, std::wcslen(c.ending), posVerb));
        ASSERT_FALSE(CurrentTaile.empty());
        EXPECT_EQ(CurrentTaile[0]->FormCode, c.formCode) << WideToUtf8(c.ending);
    }
    ClearTaileChain();
}

// Read from a word's end, the tails that end a chain and those a longer ending ends with.
TEST_F(SuffixTables, EndingsReadFromTheEnd) {
    const auto holds = [](const wchar_t* tail) {
        uint64_t state = TTableTailes::EndStart();
        for (size_t i = std::wcslen(tail); i > 0; --i) {
            state = TTableTailes::EndBack(state, tail[i - 1]);
        }
        return TableTailes.EndHolds(state);
    };
    const uint8_t noun = 1, longer = TTableTailes::kLongerEnding;
    EXPECT_EQ(holds(L"ны"), noun | longer); // ны, and ларны ends with it
    EXPECT_EQ(holds(L"ларны"), noun);
    EXPECT_EQ(holds(L"ЛАРНЫ"), noun); // letters folded as the Tatar order folds them
    EXPECT_EQ(holds(L"арны"), longer);
    EXPECT_EQ(holds(L"ы"), longer);
    EXPECT_EQ(holds(L"у"), 8); // the verb table's
    EXPECT_EQ(holds(L"х"), 0);
}

// A tail read from a word's end finds the chain the search finds for its text, without a search.
TEST_F(SuffixTables, ChainsOfTailsReadFromTheEnd) {
    const struct {
        const wchar_t* tail;
        TPartOfSpeech part;
        const wchar_t* ending; // the chain's, nullptr for none
    } cases[] = {
        {L"ларны", posNoun, L"ларны"}, {L"ны", posNoun, L"ны"},     {L"ЛАРНЫ", posNoun, L"ларны"},
        {L"Ларым", posNoun, L"ларым"}, {L"ыйм", posVerb, L"ыйм"},   {L"рәк", posAdjective, L"рәк"},
        {L"ларны", posVerb, nullptr},  {L"арны", posNoun, nullptr}, {L"ый", posNoun, nullptr},
        {L"ны", posOther, nullptr},
    };
    for (const auto& c : cases) {
        uint64_t state = TTableTailes::EndStart();
        for (size_t i = std::wcslen(c.tail); i > 0; --i) {
            state = TTableTailes::EndBack(state, c.tail[i - 1]);
        }
        const TTailEnd* end = TableTailes.FindEnd(state);
        ASSERT_NE(end, nullptr) << WideToUtf8(c.tail);
        const TTailChain* chain = TableTailes.FindAtEnd(*end, c.tail, c.part);
        EXPECT_EQ(chain, TableTailes.Find(c.tail, c.part)) << WideToUtf8(c.tail);
        if (c.ending == nullptr) {
            EXPECT_EQ(chain, nullptr) << WideToUtf8(c.tail);
            continue;
        }
        ASSERT_NE(chain, nullptr) << WideToUtf8(c.tail);
        EXPECT_EQ(chain->Ending, c.ending);
        EXPECT_EQ(chain->Part, c.part);
    }
    const TTailChain* chain = TableTailes.Find(L"ыйм", posVerb);
    ASSERT_NE(chain, nullptr);
    ASSERT_EQ(chain->Count, 2u);
    EXPECT_EQ(chain->Rules[0]->FormCode, 24); // resolved when the table was loaded
    EXPECT_EQ(chain->Rules[1]->RuleId, 90);
    EXPECT_EQ(chain->Records.size(), 2u);
}

TEST(TatarSmallLetters, LettersOfTheAlphabetOnly) {
    const struct {
        const wchar_t* text;
        const wchar_t* small; // nullptr: not letters of the alphabet
    } cases[] = {
        {L"ЛАРНЫ", L"ларны"}, {L"Әнием", L"әнием"}, {L"ҖҮҢҺӨЁ", L"җүңһөё"}, {L"китап", L"китап"},
        {L"", L""},           {L"аш-су", nullptr},  {L"kitap", nullptr},    {L"Ї", nullptr},
    };
    for (const auto& c : cases) {
        wchar_t out[16] = {};
        const std::wstring_view text(c.text);
        EXPECT_EQ(TatSmallLetters(text, out), c.small != nullptr) << WideToUtf8(c.text);
        if (c.small != nullptr) {
            EXPECT_EQ(std::wstring_view(out, text.size()), c.small) << WideToUtf8(c.text);
        }
    }
}

TEST(SuffixTableFiles, OutOfOrderTruncatedAndEmptyFiles) {
    TempFolder temp;
    temp.Write(L"x.bin", Records({{L"ны", {27}}, {L"га", {22}}, {L"лар", {85}}}));
    TCustTableTailes table;
    table.LoadRecords(temp.File(L"x.bin"));
    EXPECT_EQ(table.Get(0), L"га");
    EXPECT_EQ(table.Get(2), L"ны");
    int32_t ids[4];
    ASSERT_TRUE(table.FindEnding(L"ны", ids));
    EXPECT_EQ(ids[0], 27);

    std::vector<unsigned char> cut = Records({{L"га", {22}}});
    cut.pop_back();
    temp.Write(L"cut.bin", cut);
    TCustTableTailes truncated;
    try {
        truncated.LoadRecords(temp.File(L"cut.bin"));
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(temp.File(L"cut.bin")), std::wstring::npos) << e.what();
    }
    temp.Write(L"empty.bin", {});
    TCustTableTailes empty;
    empty.LoadRecords(temp.File(L"empty.bin"));
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_FALSE(empty.FindEnding(L"га", ids));
    EXPECT_THROW(empty.LoadRecords(temp.File(L"missing.bin")), EFOpenError);

    // A file far larger than any table is refused before anything is read (sparse on the host).
    HANDLE huge = CreateFileW(temp.File(L"huge.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = int64_t(84) << 24;
    SetFilePointerEx(huge, size, nullptr, FILE_BEGIN);
    SetEndOfFile(huge);
    CloseHandle(huge);
    TCustTableTailes tooLarge;
    EXPECT_THROW(tooLarge.LoadRecords(temp.File(L"huge.bin")), EReadError);

    // An ending that fills all 33 units has no terminating zero in the file.
    temp.Write(L"full.bin", Records({{std::wstring(33, L'а').c_str(), {22}}}));
    TCustTableTailes full;
    full.LoadRecords(temp.File(L"full.bin"));
    EXPECT_EQ(full.Get(0).size(), 33u);
}
