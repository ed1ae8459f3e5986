#include "tools/TailGenerator.h"

#include <algorithm>
#include <cwchar>

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
        BuildTailTable(part, sources_.Words[t], sources_.Extra[t], report, sources_.Continuations[t]);
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

// Endings of ordinary text come with the chain their suffixes have rows for, or an empty one.
TEST_F(GeneratedTables, OrdinaryTextEndings) {
    const struct {
        TPartOfSpeech part;
        const wchar_t* ending;
        std::vector<int32_t> ids;
    } cases[] = {
        {posVerb, L"ып", {}},           // булып
        {posVerb, L"п", {}},            // уйлап
        {posVerb, L"гач", {}},          // килгәч
        {posVerb, L"ганда", {}},        // булганда: the verb table has no locative
        {posVerb, L"уы", {57, 98}},     // булуы
        {posVerb, L"учылар", {}},       // укучылар
        {posVerb, L"я", {18}},          // куя
        {posVerb, L"ыйсыз", {60, 49}},  // ашыйсыз
        {posNoun, L"дагы", {}},         // авылдагы
        {posNoun, L"ындагы", {}},       // китабындагы
        {posNoun, L"ыбызда", {}},       // башыбызда
        {posNoun, L"бызда", {100, 35}}, // балабызда
        {posNoun, L"мы", {}},           // китапмы
        {posNumeral, L"есе", {}},       // өчесе
    };
    for (const auto& c : cases) {
        ClearTaileChain();
        ASSERT_TRUE(LookupTaileChain(c.ending, std::wcslen(c.ending), c.part)) << WideToUtf8(c.ending);
        EXPECT_EQ(Ids(CurrentTaile), c.ids) << WideToUtf8(c.ending);
    }
    ClearTaileChain();
}

TEST(TailGenerator, ContinuationsJoinAtTheStemAsTheBuildersDo) {
    TailSources sources;
    ParseTailExtras("verb\tafter stem\tып:38:4 еп:38:1 п:07:7\tconv\n"
                    "verb\tafter conv\tты:3F:4 те:3F:1\n"
                    "verb\tafter stem,29\tгач:2F:4 гәч:2F:1 кач:10:4 кәч:10:1\n"
                    "verb\tafter 26\tnouns\n",
                    "e", sources);
    const auto& continuations = sources.Continuations[3];
    ASSERT_EQ(continuations.size(), 4u);
    struct Case {
        const wchar_t* word;
        const wchar_t* ending;
        std::vector<int32_t> ids;
    };
    const Case cases[] = {
        {L"бару", L"ып", {}},    {L"бару", L"ыпты", {}},  {L"уйлау", L"п", {}},    {L"кую", L"еп", {}},
        {L"табу", L"кач", {}},   {L"аву", L"гач", {}},    {L"бару", L"магач", {}}, {L"бару", L"ганы", {70, 98}},
        {L"бару", L"ганда", {}}, {L"килү", L"гәнгә", {}},
    };
    for (const Case& c : cases) {
        TailReport report;
        const auto chains = TextChains(posVerb, c.word, continuations, report);
        const bool found = std::any_of(chains.begin(), chains.end(), [&](const TailChain& chain) {
            return chain.Ending == c.ending && chain.Ids == c.ids;
        });
        EXPECT_TRUE(found) << WideToUtf8(c.word) << " " << WideToUtf8(c.ending);
    }
    // The builders' chains come first, as BuilderChains gives them.
    TailReport report;
    const auto builders = BuilderChains(posVerb, L"бару", report);
    const auto text = TextChains(posVerb, L"бару", continuations, report);
    ASSERT_GT(text.size(), builders.size());
    EXPECT_TRUE(std::equal(builders.begin(), builders.end(), text.begin(), [](const TailChain& a, const TailChain& b) {
        return a.Ending == b.Ending && a.Ids == b.Ids;
    }));
}

TEST(TailGenerator, ANamedChainWinsOverAnEmptyOne) {
    TailReport report;
    const auto table = BuildTailTable(posNoun, {}, {{L"ны", {}}, {L"ны", {27}}, {L"ча", {}}, {L"ча", {}}}, report);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].Ending, L"ны");
    EXPECT_EQ(table[0].Ids, (std::vector<int32_t>{27}));
    EXPECT_TRUE(table[1].Ids.empty());
    EXPECT_TRUE(report.Collisions.empty());
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

    // Endings with an empty chain, several to a line.
    ParseTailExtras("num\tсе есе\t-\n", "e", sources);
    ASSERT_EQ(sources.Extra[2].size(), 3u);
    EXPECT_EQ(sources.Extra[2][2].Ending, L"есе");
    EXPECT_TRUE(sources.Extra[2][2].Ids.empty());
    EXPECT_THROW(ParseTailExtras("num\tсе есе\t49\n", "e", sources), DictSourceError);
    EXPECT_THROW(ParseTailExtras("num\t" + std::string(34, 'a') + "\t-\n", "e", sources), DictSourceError);

    // Continuations.
    ParseTailExtras("verb\tafter stem,26\tып:38:4 р:07:7:75\tconv\n", "e", sources);
    ASSERT_EQ(sources.Continuations[3].size(), 1u);
    const TailContinuation& c = sources.Continuations[3][0];
    EXPECT_EQ(c.After, (std::vector<std::wstring>{L"stem", L"26"}));
    ASSERT_EQ(c.Suffixes.size(), 2u);
    EXPECT_EQ(c.Suffixes[0].Text, L"ып");
    EXPECT_EQ(c.Suffixes[0].Classes, 0x38);
    EXPECT_EQ(c.Suffixes[0].Harmony, 4);
    EXPECT_EQ(c.Suffixes[0].Id, 0);
    EXPECT_EQ(c.Mark, L"conv");
    for (const char* bad : {
             "verb\tafter stem\tып:38\n",         // no harmony
             "verb\tafter stem\tып:zz:4\n",       // no mask
             "verb\tafter stem\tып:38:3\n",       // no harmony value
             "verb\tafter stem\tып:38:4:22\n",    // rule 22 is га
             "verb\tafter stem\tnouns ып:38:4\n", // both
             "verb\tafter stem\t\n",              // neither
         }) {
        EXPECT_THROW(ParseTailExtras(bad, "e", sources), DictSourceError) << bad;
    }
}
