#include <windows.h>

#include <cwchar>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "core/GP_PROC.h"
#include "core/GlobalCustoms.h"
#include "core/PartsOfSpeech.h"
#include "core/TableTailes.h"
#include "core/Translator.h"
#include "core/UILanguage.h"
#include "core/Utf8.h"
#include "tests/core/DictTestImages.h"
#include "tests/support/BuiltData.h"
#include "tests/support/OpenDictionaries.h"
#include "tests/support/TestCustoms.h"

namespace {

// The sample Tatar dictionary and the generated suffix tables, as the programs load them.
class SampleTatar : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        image_ = ReadBuiltFile("tatrus.dict");
        TableTailesInit(Utf8ToWide(QV_BIN_DIR) + L"\\");
    }
    static void TearDownTestSuite() { TableTailesDone(); }
    void SetUp() override { dictionaries_.Open(image_); }

    static bool Finds(const std::wstring& word, int32_t entry) {
        TLangSearchResult result;
        AnalyzeTatar(word.c_str(), result);
        for (const auto& analysis : result.Results) {
            for (const auto& dict : analysis.Dictionaries) {
                for (const auto& item : dict.Items) {
                    if (static_cast<int32_t>(item.Entry) == entry) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Each analysis as "base split: headword headword ...".
    static std::vector<std::wstring> Analyses(const std::wstring& word) {
        TLangSearchResult result;
        AnalyzeTatar(word.c_str(), result);
        std::vector<std::wstring> out;
        for (const auto& analysis : result.Results) {
            std::wstring line = analysis.BaseForm + L" " + analysis.SplitForm + L":";
            for (const auto& dict : analysis.Dictionaries) {
                for (const auto& item : dict.Items) {
                    line += std::wstring(L" ") + item.Headword;
                }
            }
            out.push_back(line);
        }
        return out;
    }

    static std::vector<unsigned char> image_;
    TOpenDictionaries dictionaries_;
};
std::vector<unsigned char> SampleTatar::image_;

} // namespace

// Builder forms that the analysis cannot lead back to their headword, by the lookup's own rules:
// - verbs whose stem the verb builder spells with a final й after a consonant (эчү: эчй, эчйгә):
//   not Tatar spelling, and no probe turns й back into ү;
// - the collective numeral of a numeral ending in ә (берничә: берничәү): the builder drops the ә
//   and the numeral probes restore only е and ы.
bool KnownUnreachable(TPartOfSpeech part, const std::wstring& headword, const TGP_Proc_Rec& rec) {
    const std::wstring stem = rec.SplitForm.substr(0, rec.SplitForm.find(L'/'));
    if (part == posVerb && headword.back() == L'ү' && !stem.empty() && stem.back() == L'й' &&
        stem.size() == headword.size()) {
        return true;
    }
    return part == posNumeral && headword.back() == L'ә' && stem.size() + 1 == headword.size();
}

TEST_F(SampleTatar, EveryBuilderFormFindsItsHeadword) {
    const TDictHandle& dict = LangGroups[langTatar][0];
    std::map<std::string, int> missedByKind;
    std::vector<std::string> missed;
    int forms = 0;
    for (int32_t e = 0; e < dict.EntryCount; ++e) {
        const std::wstring headword = dict.Headword(e);
        for (const TPartOfSpeechInfo& part : InflectingParts) {
            if ((dict.Entry(e).Flags & part.Code) == 0) {
                continue;
            }
            std::set<std::wstring> seen;
            for (const TGP_Proc_Rec& rec : part.Forms(headword)) {
                if (!seen.insert(rec.Form).second) {
                    continue;
                }
                ++forms;
                if (!Finds(rec.Form, e) && !KnownUnreachable(part.Code, headword, rec)) {
                    missed.push_back(std::string(part.SourceName) + " " + WideToUtf8(headword) + " " +
                                     WideToUtf8(rec.SplitForm));
                }
            }
        }
    }
    EXPECT_GT(forms, 10000);
    for (size_t i = 0; i < missed.size() && i < 200; ++i) {
        ADD_FAILURE() << missed[i];
    }
    EXPECT_TRUE(missed.empty()) << missed.size() << " of " << forms << " forms missed";
}

TEST_F(SampleTatar, WordsAsTheyStandInAText) {
    struct Case {
        const wchar_t* word;
        std::vector<std::wstring> analyses;
    };
    const Case cases[] = {
        {L"китап", {L"китап : китап"}},
        {L"китабы", {L"китаб китаб/ы: китап"}},
        {L"китапларны", {L"китап китап/лар/ны: китап"}},
        {L"тавы", {L"тав тав/ы: тау"}},
        {L"тауда", {L"тау тау/да: тау"}},
        {L"туе", {L"туе : туй"}},
        {L"балаларга", {L"бала бала/лар/га: бала"}},
        {L"барырга", {L"бар бар/ырга: бару"}},
        {L"бармыйм", {L"бар бар/мый/м: бару"}},
        {L"килде", {L"кил кил/де: килү"}},
        {L"Казанга", {L"Казан Казан/га: Казан"}},
        {L"ата-анага", {L"ата-ана ата-ана/га: ата-ана"}},
        {L"әкрен-әкрен", {L"әкрен-әкрен : әкрен-әкрен"}},
        {L"ай", {L"ай : ай ай"}},
        {L"айлар", {L"ай ай/лар: ай"}},
        {L"юк", {L"юк : юк"}},
        {L"юкка", {}},
        {L"китапх", {}},
        {L"китап1", {}},
        {L"qwerty", {}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Analyses(c.word), c.analyses) << WideToUtf8(c.word);
    }
    EXPECT_TRUE(Analyses(std::wstring(64, L'а')).empty());
}

TEST_F(SampleTatar, GrammarNotesFollowTheInterfaceLanguage) {
    TTestCustoms customs;
    unsigned char& language = customs->UILanguage;
    TLangSearchResult result;
    ASSERT_TRUE(AnalyzeTatar(L"китапларны", result));
    EXPECT_EQ(result.Results[0].Morphs, (TMorphs{L"'лар' - множественное число", L"'ны' - винительный падеж"}));
    EXPECT_EQ(result.Word, L"китапларны");
    EXPECT_EQ(result.Language, langTatar);
    language = langTatar;
    ASSERT_TRUE(AnalyzeTatar(L"китапларны", result));
    EXPECT_EQ(result.Results[0].Morphs, (TMorphs{L"'лар' - күплек сан", L"'ны' - төшем килеш"}));
}

namespace {

// A word in a read-only page of its own. A write to it is noted and then let through, so that
// even a write put back before the call returns is seen, and the test fails instead of crashing.
class WatchedWord {
public:
    explicit WatchedWord(const wchar_t* word) {
        page_ = static_cast<wchar_t*>(VirtualAlloc(nullptr, kPageBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        std::wcsncpy(page_, word, kPageBytes / sizeof(wchar_t) - 1);
        DWORD previous = 0;
        VirtualProtect(page_, kPageBytes, PAGE_READONLY, &previous);
        watched_ = this;
        handler_ = AddVectoredExceptionHandler(1, OnException);
    }
    ~WatchedWord() {
        RemoveVectoredExceptionHandler(handler_);
        watched_ = nullptr;
        VirtualFree(page_, 0, MEM_RELEASE);
    }
    WatchedWord(const WatchedWord&) = delete;
    WatchedWord& operator=(const WatchedWord&) = delete;

    const wchar_t* Text() const { return page_; }
    bool Written() const { return written_; }

private:
    static constexpr size_t kPageBytes = 4096;

    static LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        const auto at = static_cast<uintptr_t>(record.ExceptionInformation[1]);
        const auto page = reinterpret_cast<uintptr_t>(watched_ ? watched_->page_ : nullptr);
        if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2 ||
            record.ExceptionInformation[0] != 1 || page == 0 || at < page || at >= page + kPageBytes) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        watched_->written_ = true;
        DWORD previous = 0;
        VirtualProtect(watched_->page_, kPageBytes, PAGE_READWRITE, &previous);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    static WatchedWord* watched_;
    wchar_t* page_ = nullptr;
    void* handler_ = nullptr;
    volatile bool written_ = false; // set by the handler, behind the compiler's back
};
WatchedWord* WatchedWord::watched_ = nullptr;

} // namespace

TEST(WatchedWords, AWriteIsSeenEvenWhenPutBack) {
    WatchedWord word(L"китап");
    volatile wchar_t* text = const_cast<wchar_t*>(word.Text());
    const wchar_t first = text[0];
    EXPECT_FALSE(word.Written());
    text[0] = L'x';
    text[0] = first;
    EXPECT_TRUE(word.Written());
    EXPECT_STREQ(word.Text(), L"китап");
}

// Words found only after a letter of the stem is changed or added.
TEST_F(SampleTatar, TheWordPassedInIsNeverWritten) {
    for (const wchar_t* word : {L"китабы", L"тавы", L"туе", L"эшлиләр"}) {
        const WatchedWord text(word);
        TLangSearchResult result;
        EXPECT_TRUE(AnalyzeTatar(text.Text(), result)) << WideToUtf8(word);
        EXPECT_FALSE(text.Written()) << WideToUtf8(word);
    }
}

TEST_F(SampleTatar, AnalyzeWordDispatchesByLanguage) {
    TSearchResult result;
    EXPECT_TRUE(AnalyzeWord(L"китабы", result, langTatar));
    EXPECT_FALSE(result[langTatar].Results.empty());
    EXPECT_TRUE(result[langRussian].Results.empty());
    EXPECT_FALSE(AnalyzeWord(L"китабы", result, static_cast<TLanguage>(2)));
    EXPECT_FALSE(AnalyzeWord(nullptr, result, langTatar));
    EXPECT_FALSE(AnalyzeWord(L"", result, langTatar));
    // The byte of the shared block.
    EXPECT_TRUE(AnalyzeWord(L"китабы", result, SharedCustomsOrDefaults().SourceLang));
    EXPECT_FALSE(AnalyzeWord(L"китабы", result, uint8_t{2}));
}

namespace {

// Small dictionaries of their own, with the generated suffix tables.
class TatarProbes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { TableTailesInit(Utf8ToWide(QV_BIN_DIR) + L"\\"); }
    static void TearDownTestSuite() { TableTailesDone(); }

    static std::vector<std::wstring> Analyses(const wchar_t* word) {
        TLangSearchResult result;
        AnalyzeTatar(word, result);
        std::vector<std::wstring> out;
        for (const auto& analysis : result.Results) {
            std::wstring line = analysis.SplitForm.empty() ? analysis.BaseForm : analysis.SplitForm;
            for (const auto& dict : analysis.Dictionaries) {
                line += L" " + std::to_wstring(dict.DictIndex) + L":";
                for (const auto& item : dict.Items) {
                    line += item.Article;
                }
            }
            out.push_back(line);
        }
        return out;
    }

    TOpenDictionaries dictionaries_;
};

} // namespace

TEST_F(TatarProbes, HitsOfEveryDictionaryStayInOnePass) {
    dictionaries_.Open(MakeImage({Entry(L"китап", posNoun, 0, L"книга")}));
    dictionaries_.Open(MakeImage({Entry(L"китап", posNoun, 0, L"книжка"), Entry(L"ат", posNoun, 0, L"конь")}));
    EXPECT_EQ(Analyses(L"китабы"), (std::vector<std::wstring>{L"китаб/ы 0:книга 1:книжка"}));
    EXPECT_EQ(Analyses(L"атлар"), (std::vector<std::wstring>{L"ат/лар 1:конь"}));
}

TEST_F(TatarProbes, SecondPassWithAnotherPartOfSpeech) {
    dictionaries_.Open(MakeImage({Entry(L"бер", posNoun, 0, L"n"), Entry(L"бер", posNumeral, 0, L"q")}));
    EXPECT_EQ(Analyses(L"берне"), (std::vector<std::wstring>{L"бер/не 0:n", L"бер/не 0:q"}));
}

TEST_F(TatarProbes, ExactFormEntriesOnlyAsTheyStandOrThroughVerbProbes) {
    dictionaries_.Open(MakeImage(
        {Entry(L"китап", posNoun | dfExactOnly, 0, L"книга"), Entry(L"бару", posVerb | dfExactOnly, 0, L"идти")}));
    EXPECT_EQ(Analyses(L"китап"), (std::vector<std::wstring>{L"китап 0:книга"}));
    EXPECT_TRUE(Analyses(L"китабы").empty());
    EXPECT_EQ(Analyses(L"барырга"), (std::vector<std::wstring>{L"бар/ырга 0:идти"}));
}

TEST_F(TatarProbes, StemAlternations) {
    dictionaries_.Open(MakeImage({Entry(L"кияү", posNoun, 0, L"зять"), Entry(L"туй", posNoun, 0, L"свадьба"),
                                  Entry(L"тибү", posVerb, 0, L"пинать"), Entry(L"эшләү", posVerb, 0, L"работать")}));
    EXPECT_EQ(Analyses(L"кияве"), (std::vector<std::wstring>{L"кияв/е 0:зять"}));   // в back to ү
    EXPECT_EQ(Analyses(L"туе"), (std::vector<std::wstring>{L"туе 0:свадьба"}));    // е back to й, uncut
    EXPECT_EQ(Analyses(L"типмәде"), (std::vector<std::wstring>{L"тип/мә/де 0:пинать"})); // п to б
    EXPECT_EQ(Analyses(L"эшлиләр"), (std::vector<std::wstring>{L"эшл/и/ләр 0:работать"}));
}
