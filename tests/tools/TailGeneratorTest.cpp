#include "tools/TailGenerator.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "core/GP_DATA.h"
#include "core/TableTailes.h"
#include "core/Utf8.h"
#include "tools/DictSource.h"
#include "tools/SourceFile.h"

namespace {

// The sources and the tables the build generated from them.
class GeneratedTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string root = QV_SOURCE_DIR;
        ParseTailStems(ReadWholeFile(Utf8ToWide(root + "/data/tatar/tail_stems.txt")), "stems", sources_);
        ParseTailExtras(ReadWholeFile(Utf8ToWide(root + "/data/tatar/tail_extras.txt")), "extras", sources_);
        TableTailesInit(Utf8ToWide(QV_BIN_DIR) + L"\\");
    }
    static void TearDownTestSuite() { TableTailesDone(); }

    static TailSources sources_;
};
TailSources GeneratedTables::sources_;

std::vector<int32_t> Ids(const TTaile& chain) {
    std::vector<int32_t> ids;
    for (const auto& rec : chain) {
        ids.push_back(rec->RuleId);
    }
    return ids;
}

} // namespace

// Every form the builders make of the generator's words is found in its table with the
// builder's own chain, except where two chains met on one ending and the other one won.
TEST_F(GeneratedTables, EveryBuilderFormRoundTrips) {
    for (int t = 0; t < kInflectingParts; ++t) {
        const TPartOfSpeech part = InflectingParts[t].Code;
        TailReport report;
        BuildTailTable(part, sources_.Words[t], sources_.Extra[t], report);
        int checked = 0;
        for (const std::wstring& word : sources_.Words[t]) {
            TailReport ignored;
            for (const TailChain& chain : BuilderChains(part, word, ignored)) {
                ClearTaileChain();
                ASSERT_TRUE(LookupTaileChain(chain.Ending.c_str(), chain.Ending.size(), part))
                    << WideToUtf8(word) << " " << WideToUtf8(chain.Ending);
                if (std::find(report.Collisions.begin(), report.Collisions.end(), chain.Ending) == report.Collisions.end()) {
                    EXPECT_EQ(Ids(CurrentTaile), chain.Ids) << WideToUtf8(word) << " " << WideToUtf8(chain.Ending);
                }
                ++checked;
            }
        }
        // Every word has a suffixed form.
        EXPECT_GE(checked, static_cast<int>(sources_.Words[t].size())) << InflectingParts[t].SourceName;
        EXPECT_TRUE(report.Skipped.empty()) << WideToUtf8(report.Skipped.front());
    }
    ClearTaileChain();
}

TEST_F(GeneratedTables, VerbTableHoldsTheDictionaryForms) {
    ASSERT_TRUE(LookupTaileChain(L"у", 1, posVerb));
    ASSERT_TRUE(LookupTaileChain(L"ү", 1, posVerb));
    EXPECT_EQ(Ids(CurrentTaile), (std::vector<int32_t>{57, 58}));
    ClearTaileChain();
    ASSERT_TRUE(LookupTaileChain(L"ыбызга", 6, posNoun) || LookupTaileChain(L"бызга", 5, posNoun));
    ClearTaileChain();
    EXPECT_TRUE(LookupTaileChain(L"сыз", 3, posNumeral)); // an extra chain
    ClearTaileChain();
}

TEST(TailGenerator, CollisionsKeepTheShorterChainThenTheFirst) {
    TailReport report;
    const auto table = BuildTailTable(
        posNoun, {}, {{L"ны", {27}}, {L"ны", {98, 25}}, {L"га", {22}}, {L"га", {8}}, {L"га", {22}}}, report);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].Ending, L"га");
    EXPECT_EQ(table[0].Ids, (std::vector<int32_t>{22}));
    EXPECT_EQ(table[1].Ids, (std::vector<int32_t>{27}));
    EXPECT_EQ(report.Collisions, (std::vector<std::wstring>{L"га", L"ны"}));
    const auto bytes = TailTableBytes(table);
    ASSERT_EQ(bytes.size(), 2 * 84u);
    EXPECT_EQ(bytes[0], 0x33); // г, little-endian
    EXPECT_EQ(bytes[68], 22);
}

TEST(TailGenerator, SourcesAreCheckedLineByLine) {
    TailSources sources;
    EXPECT_THROW(ParseTailStems("pron\tмин\n", "s", sources), DictSourceError);
    EXPECT_THROW(ParseTailExtras("noun\tга\t999\n", "e", sources), DictSourceError);
    EXPECT_THROW(ParseTailExtras("noun\tга\n", "e", sources), DictSourceError);
    EXPECT_THROW(ParseTailExtras("noun\tга\t22 22 22 22 22\n", "e", sources), DictSourceError);
    ParseTailExtras("# c\n\nnum\tсыз\t49\n", "e", sources);
    ASSERT_EQ(sources.Extra[2].size(), 1u);
    EXPECT_EQ(sources.Extra[2][0].Ids, (std::vector<int32_t>{49}));
}
