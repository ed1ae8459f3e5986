#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "core/GP_DATA.h"
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
#include "tests/support/TempFolder.h"
#include "tests/support/TestCustoms.h"

namespace {

// The lines of a data file under tests/data, each split at its tabs; # comments and blank lines
// left out.
std::vector<std::vector<std::wstring>> DataLines(const char* name) {
    std::ifstream in(std::string(QV_SOURCE_DIR) + "/tests/data/" + name, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << name;
    std::vector<std::vector<std::wstring>> lines;
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::vector<std::wstring> fields;
        std::istringstream parts(text);
        for (std::string field; std::getline(parts, field, '\t');) {
            fields.push_back(Utf8ToWide(field));
        }
        lines.push_back(std::move(fields));
    }
    return lines;
}

TPartOfSpeech PartNamed(const std::wstring& name) {
    for (const TPartOfSpeechInfo& part : InflectingParts) {
        if (name == Utf8ToWide(part.SourceName)) {
            return part.Code;
        }
    }
    return posOther;
}

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
// The collective numeral of a numeral ending in ә (берничә: берничәү): the builder drops the ә and
// the numeral probes restore only е and ы.
bool KnownUnreachable(TPartOfSpeech part, const std::wstring& headword, const TGP_Proc_Rec& rec) {
    const std::wstring stem = rec.SplitForm.substr(0, rec.SplitForm.find(L'/'));
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

// The forms of ordinary text the builders do not make, by category (tatar_text_words.txt).
TEST_F(SampleTatar, WordsOfOrdinaryText) {
    const auto lines = DataLines("tatar_text_words.txt");
    EXPECT_GT(lines.size(), 70u);
    for (const auto& line : lines) {
        ASSERT_GE(line.size(), 3u);
        const std::wstring& word = line[0];
        const TPartOfSpeech part = PartNamed(line[2]);
        TLangSearchResult result;
        AnalyzeTatar(word.c_str(), result);
        bool found = false;
        for (const auto& analysis : result.Results) {
            for (const auto& dict : analysis.Dictionaries) {
                for (const auto& item : dict.Items) {
                    const bool leads =
                        line.size() < 4 || std::wstring(item.Article).find(L"@" + line[3] + L"$") != std::wstring::npos;
                    found = found || (item.Headword == line[1] && (item.Flags & part) != 0 && leads);
                }
            }
        }
        EXPECT_TRUE(found) << WideToUtf8(word) << " " << WideToUtf8(line[1]);
    }
}

namespace {

std::set<std::wstring> HeadwordsOf(const std::wstring& word) {
    TLangSearchResult result;
    AnalyzeTatar(word.c_str(), result);
    std::set<std::wstring> headwords;
    for (const auto& analysis : result.Results) {
        for (const auto& dict : analysis.Dictionaries) {
            for (const auto& item : dict.Items) {
                headwords.insert(item.Headword);
            }
        }
    }
    return headwords;
}

std::set<std::wstring> FormCodesOf(const std::wstring& word) {
    TLangSearchResult result;
    AnalyzeTatar(word.c_str(), result);
    std::set<std::wstring> codes;
    for (const auto& analysis : result.Results) {
        for (const auto& suffix : analysis.Taile) {
            codes.insert(std::to_wstring(suffix->FormCode));
        }
    }
    return codes;
}

std::vector<uint8_t> Arguments(std::wstringstream& in) {
    std::vector<uint8_t> arguments;
    for (int value; in >> value;) {
        arguments.push_back(static_cast<uint8_t>(value));
    }
    return arguments;
}

// What the mended code gives for one line of tatar_mended_faults.txt: its set of results.
std::set<std::wstring> ResultsOf(const std::wstring& kind, const std::wstring& input) {
    if (kind == L"word") {
        return HeadwordsOf(input);
    }
    if (kind == L"note") {
        return FormCodesOf(input);
    }
    std::wstringstream in(input);
    std::wstring word;
    in >> word;
    const std::vector<uint8_t> a = Arguments(in);
    TGP_Proc_Rec rec;
    if (kind == L"verb" && a.size() == 5) {
        BuildVerbForm(word, a[0], a[1], a[2], a[3], a[4], rec);
    } else if (kind == L"noun" && a.size() == 3) {
        BuildNounForm(word, a[0], a[1], a[2], rec);
    } else {
        ADD_FAILURE() << "bad line: " << WideToUtf8(kind) << " " << WideToUtf8(input);
    }
    return {rec.Form};
}

} // namespace

// Each wrong result of tatar_mended_faults.txt is gone and the right one is there.
TEST_F(SampleTatar, MendedFaults) {
    const auto lines = DataLines("tatar_mended_faults.txt");
    EXPECT_GT(lines.size(), 30u);
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 4u);
        const std::set<std::wstring> results = ResultsOf(line[0], line[1]);
        const std::string place = WideToUtf8(line[0] + L" " + line[1]);
        if (line[2] != L"-") {
            EXPECT_EQ(results.count(line[2]), 0u) << place << " still gives " << WideToUtf8(line[2]);
        }
        EXPECT_EQ(results.count(line[3]), 1u) << place << " does not give " << WideToUtf8(line[3]);
    }
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

uint8_t FlagsNamed(const std::wstring& names) {
    uint8_t flags = 0;
    std::wstringstream in(names);
    for (std::wstring name; std::getline(in, name, L',');) {
        flags |= PartNamed(name);
    }
    return flags;
}

bool IsVowel(wchar_t c) {
    return (TatLetterClass(c) & kVowel) != 0;
}

std::wstring Small(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The text, its dictionary and the right headwords of each form, from tatar_reading_text.txt. The
// rare headwords of a large dictionary are the listed ones and the text's own short beginnings:
// each beginning of two to four letters ending in a vowel or a vowel and a consonant, unless a
// headword of the text, is a noun, a name and, with у or ү, a verb where Tatar writes one so (after
// a consonant but й, or after а, ә).
struct TReadingText {
    std::vector<std::wstring> Words;
    std::map<std::wstring, std::set<std::wstring>> Right;
    std::vector<DictSourceEntry> Entries;

    TReadingText() {
        std::set<std::pair<std::wstring, uint8_t>> entries;
        std::set<std::wstring> headwords;
        std::vector<std::pair<std::wstring, uint8_t>> rare;
        for (const auto& line : DataLines("tatar_reading_text.txt")) {
            if (line.size() == 1) {
                std::wstring word;
                for (const wchar_t c : line[0] + L" ") {
                    if (IsCharAlphaW(c) || (c == L'-' && !word.empty())) {
                        word += c;
                    } else if (!word.empty()) {
                        Words.push_back(Small(word));
                        word.clear();
                    }
                }
            } else if (line.size() == 2) {
                rare.emplace_back(line[0], FlagsNamed(line[1]));
            } else if (line.size() == 3) {
                const bool listed = line[0][0] != L'-';
                const std::wstring headword = listed ? line[0] : line[0].substr(1);
                const size_t slash = line[1].find(L'/');
                if (listed) {
                    entries.emplace(headword, FlagsNamed(line[1].substr(0, slash)));
                }
                headwords.insert(Small(headword));
                std::wstringstream forms(line[2]);
                for (std::wstring form; forms >> form;) {
                    Right[form].insert(headword);
                    if (slash != std::wstring::npos) {
                        Right[form].insert(line[1].substr(slash + 1));
                    }
                }
            }
        }
        for (const auto& [form, right] : Right) {
            for (size_t n = 2; n <= 4 && n < form.size() && form.find(L'-') == std::wstring::npos; ++n) {
                const std::wstring start = form.substr(0, n);
                const bool shaped = IsVowel(start[n - 1]) || IsVowel(start[n - 2]);
                if (!shaped || headwords.count(start) != 0) {
                    continue;
                }
                std::wstring name = start;
                CharUpperBuffW(name.data(), 1);
                rare.emplace_back(start, posNoun);
                rare.emplace_back(name, posNoun);
                const wchar_t last = start[n - 1];
                if ((!IsVowel(last) && last != L'й') || last == L'а' || last == L'ә') {
                    rare.emplace_back(start + (TatWordHarmony(start) == kFrontHarmony ? L"ү" : L"у"), posVerb);
                }
            }
        }
        entries.insert(rare.begin(), rare.end());
        for (const auto& [headword, flags] : entries) {
            Entries.push_back(Entry(headword.c_str(), flags));
        }
    }
};

} // namespace

// Readings of every word of an ordinary text: the right headword is found, the first reading is
// right, and few readings are wrong, with many rare short headwords in the dictionary.
TEST(ReadingsOfText, RightAndWrongReadings) {
    TableTailesInit(Utf8ToWide(QV_BIN_DIR) + L"\\");
    const TReadingText text;
    TOpenDictionaries dictionaries;
    dictionaries.Open(MakeImage(text.Entries));
    size_t found = 0, firstWrong = 0, right = 0, wrong = 0, wordsWithWrong = 0;
    for (const std::wstring& word : text.Words) {
        const auto known = text.Right.find(word);
        ASSERT_NE(known, text.Right.end()) << WideToUtf8(word) << " has no right headword";
        TLangSearchResult result;
        AnalyzeTatar(word.c_str(), result);
        bool first = true, any = false, anyWrong = false;
        for (const auto& analysis : result.Results) {
            for (const auto& dict : analysis.Dictionaries) {
                for (const auto& item : dict.Items) {
                    const bool ok = known->second.count(item.Headword) != 0;
                    (ok ? right : wrong) += 1;
                    firstWrong += first && !ok ? 1 : 0;
                    any = any || ok;
                    anyWrong = anyWrong || !ok;
                    first = false;
                }
            }
        }
        found += any ? 1 : 0;
        wordsWithWrong += anyWrong ? 1 : 0;
    }
    TableTailesDone();
    const size_t words = text.Words.size();
    std::printf("%zu words, %zu headwords: %zu found, %zu with a wrong first reading, %zu with a wrong reading; "
                "%zu right and %zu wrong readings\n",
                words, text.Entries.size(), found, firstWrong, wordsWithWrong, right, wrong);
    EXPECT_GT(words, 2000u);
    EXPECT_GT(text.Entries.size(), 3000u);
    // The figures of the analysis as it stands, with a little room: found 2500, wrong first 157,
    // wrong readings 1561 of 4203.
    EXPECT_GE(found * 1000, words * 995);
    EXPECT_LE(firstWrong * 1000, words * 70);
    EXPECT_LE(wrong * 1000, (right + wrong) * 380);
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

// Readings that cannot be are dropped, names matched only by ignoring case come last, voice forms
// find their base verb, and every cut shows its split form.
TEST_F(TatarProbes, ReadingsKeptAndTheirOrder) {
    struct Case {
        std::vector<DictSourceEntry> entries;
        const wchar_t* word;
        std::vector<std::wstring> analyses;
    };
    const Case cases[] = {
        {{Entry(L"уку", posVerb, 0, L"читать")}, L"ук", {}}, // its stem is укы
        {{Entry(L"уку", posVerb, 0, L"читать")}, L"укы", {L"укы 0:читать"}},
        {{Entry(L"табу", posVerb, 0, L"найти")}, L"тап", {L"тап 0:найти"}},
        {{Entry(L"ныгу", posVerb, 0, L"крепнуть")}, L"нык", {}}, // its stem is ныгы
        {{Entry(L"ныгу", posVerb, 0, L"крепнуть")}, L"ныгыды", {L"ныгы/ды 0:крепнуть"}},
        {{Entry(L"суу", posVerb, 0, L"остывать")}, L"су", {}}, // its stem is суы
        {{Entry(L"арыу", posVerb, 0, L"уставать")}, L"арый", {L"ар/ый 0:уставать"}},
        {{Entry(L"буяу", posVerb, 0, L"красить")}, L"буйый", {L"буй/ый 0:красить"}},
        {{Entry(L"туры", posAdjective, 0, L"прямой"), Entry(L"тур", posNoun, 0, L"тур")}, L"турында", {L"тур/ы/н/да 0:тур"}}, // not туры/н/да: after a vowel it is -сы
        {{Entry(L"туры", posAdjective, 0, L"прямой")}, L"турысында", {L"туры/сы/н/да 0:прямой"}},
        // A solid compound ends in its own possessive: read so only when nothing else is found.
        {{Entry(L"ишегалды", posNoun, 0, L"двор")}, L"ишегалдында", {L"ишегалды/н/да 0:двор"}},
        {{Entry(L"алты", posNumeral, 0, L"шесть")}, L"алтын", {}},
        {{Entry(L"баю", posVerb, 0, L"богатеть")}, L"бар", {}}, // баер
        {{Entry(L"баю", posVerb, 0, L"богатеть")}, L"баеп", {L"бае/п 0:богатеть"}},
        {{Entry(L"баю", posVerb, 0, L"богатеть")}, L"байый", {L"бай/ый 0:богатеть"}},
        {{Entry(L"баю", posVerb, 0, L"богатеть")}, L"баеды", {L"бае/ды 0:богатеть"}},
        {{Entry(L"баю", posVerb, 0, L"богатеть")}, L"баер", {L"бае/р 0:богатеть"}},
        {{Entry(L"кеш", posNoun, 0, L"соболь"), Entry(L"кеше", posNoun, 0, L"человек")}, L"кеше", {L"кеше 0:человек", L"кеш/е 0:соболь"}},
        {{Entry(L"баш", posNoun, 0, L"голова"), Entry(L"башлык", posNoun, 0, L"глава")}, L"башлыгы", {L"башлыг/ы 0:глава", L"баш/лыгы 0:голова"}},
        {{Entry(L"кое", posNoun, 0, L"колодец")}, L"коена", {L"кое/на 0:колодец"}},
        {{Entry(L"Тора", posNoun, 0, L"Тора"), Entry(L"тору", posVerb, 0, L"стоять")}, L"тора", {L"тор/а 0:стоять", L"тора 0:Тора"}},
        {{Entry(L"Тора", posNoun, 0, L"Тора")}, L"тора", {L"тора 0:Тора"}},
        {{Entry(L"Ай", posNoun, 0, L"Ай"), Entry(L"ай", posNoun, 0, L"луна")}, L"ай", {L"ай 0:лунаАй"}},
        {{Entry(L"язу", posVerb, 0, L"писать")}, L"язылган", {L"яз/ыл/ган 0:писать"}},
        {{Entry(L"күрү", posVerb, 0, L"видеть"), Entry(L"күренү", posVerb, 0, L"виднеться")}, L"күренми", {L"күрен/ми 0:виднеться", L"күр/ен/ми 0:видеть"}},
        {{Entry(L"тану", posVerb, 0, L"узнавать")}, L"танышты", {L"таны/ш/ты 0:узнавать"}},
        {{Entry(L"уку", posVerb, 0, L"читать")}, L"укылды", {L"укы/л/ды 0:читать"}},
        {{Entry(L"эшләү", posVerb, 0, L"работать")}, L"эшләнә", {L"эшлә/н/ә 0:работать"}},
        {{Entry(L"китап", posNoun, 0, L"книга")}, L"китапларыбызда", {L"китап/ларыбызда 0:книга"}},
        {{Entry(L"өй", posNoun, 0, L"дом")}, L"өйләребездә", {L"өй/ләребездә 0:дом"}},
    };
    for (const Case& c : cases) {
        dictionaries_.Open(MakeImage(c.entries));
        EXPECT_EQ(Analyses(c.word), c.analyses) << WideToUtf8(c.word);
        dictionaries_.Close();
    }
}

// A table whose chains end before their first suffix (a first id below 1, past the rule table or
// past the affix texts) never crashes the analysis: the ending is accepted with an empty chain.
TEST(MalformedSuffixTables, ChainsThatEndEarlyAreEmptyChains) {
    std::map<TPartOfSpeech, std::vector<unsigned char>> tables;
    for (const auto& line : DataLines("tatar_malformed_tables.txt")) {
        ASSERT_EQ(line.size(), 6u);
        TTaileFileRecord record{};
        std::wcsncpy(record.Ending, line[1].c_str(), 33);
        for (int i = 0; i < 4; ++i) {
            record.Ids[i] = static_cast<int32_t>(std::stoll(line[2 + static_cast<size_t>(i)]));
        }
        const auto* raw = reinterpret_cast<const unsigned char*>(&record);
        auto& bytes = tables[PartNamed(line[0])];
        bytes.insert(bytes.end(), raw, raw + sizeof record);
    }
    TempFolder folder;
    for (const TPartOfSpeechInfo& part : InflectingParts) {
        folder.Write(part.SuffixFile, tables[part.Code]);
    }
    TableTailesInit(folder.Path());
    TTaile().swap(CurrentTaile); // as in a program that has looked up nothing yet
    TOpenDictionaries dictionaries;
    dictionaries.Open(MakeImage({Entry(L"бару", posVerb, 0, L"идти"), Entry(L"китап", posNoun, 0, L"книга")}));
    struct Case {
        const wchar_t* word;
        const wchar_t* base;
        TMorphs notes;
    };
    const Case cases[] = {
        {L"барды", L"бар", {}},
        {L"бардым", L"бар", {}},
        {L"барган", L"бар", {}},
        {L"бара", L"бар", {}},
        {L"барыр", L"бар", {L"'ыр' - будущее неопределенное"}},
        {L"китаплар", L"китап", {L"'лар' - множественное число"}},
        {L"китапны", L"китап", {}},
    };
    for (const Case& c : cases) {
        TLangSearchResult result;
        ASSERT_TRUE(AnalyzeTatar(c.word, result)) << WideToUtf8(c.word);
        ASSERT_EQ(result.Results.size(), 1u) << WideToUtf8(c.word);
        EXPECT_EQ(result.Results[0].BaseForm, c.base) << WideToUtf8(c.word);
        EXPECT_EQ(result.Results[0].Morphs, c.notes) << WideToUtf8(c.word);
    }
    TableTailesDone();
}

namespace {

// A chain of the rows of the part of speech's table with these ids, as a lookup makes it.
TTaile ChainOf(TPartOfSpeech part, std::initializer_list<int32_t> ids) {
    TTaile chain;
    for (const int32_t id : ids) {
        const TTaileRule* rule = FindRuleById(*RuleTableOf(part), id);
        auto rec = std::make_shared<TTaileRec>();
        rec->RuleId = id;
        rec->FormCode = rule->FormCode;
        rec->PartOfSpeech = part;
        rec->FlagsA = rule->FlagsA;
        rec->FlagsB = rule->FlagsB;
        chain.push_back(rec);
    }
    return chain;
}

} // namespace

TEST(TailFitsStem, ByTheFirstSuffixOrTheTailsFirstLetter) {
    struct Case {
        const wchar_t* stem;
        const wchar_t* tail;
        TTaile chain;
        bool fits;
    };
    const Case cases[] = {
        {L"туе", L"н", ChainOf(posNoun, {25}), true},    // туен: the н of a possessed stem
        {L"түбә", L"н", ChainOf(posNoun, {25}), false},  // not түбән
        {L"бала", L"на", ChainOf(posNoun, {20}), false}, // the dative after a vowel is га
        {L"әни", L"ем", ChainOf(posNoun, {89}), true},   // әнием
        {L"бала", L"ем", ChainOf(posNoun, {89}), false}, // балам
        {L"ку", L"я", ChainOf(posVerb, {18}), true},     // куя: the й is in я
        {L"сө", L"ячәк", ChainOf(posVerb, {78}), true},  // сөячәк
        {L"сө", L"әчәк", ChainOf(posVerb, {78}), false},
        {L"китап", L"лар", ChainOf(posNoun, {85}), true},
        {L"бар", L"ып", {}, true}, // a converb: no suffix to name
        {L"уйла", L"ып", {}, false},
        {L"уйла", L"п", {}, true},
        {L"бар", L"п", {}, false},
        {L"кайт", L"кач", {}, true},
        {L"кил", L"кәч", {}, false},
        {L"кил", L"гәч", {}, true},
        {L"ку", L"яр", {}, true},
        {L"китаб", L"ындагы", {}, true},
        {L"туе", L"ндагы", {}, true},
        {L"бала", L"ндагы", {}, false},
        {L"бар", L"учы", {}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TatTailFitsStem(c.stem, c.tail, c.chain), c.fits) << WideToUtf8(c.stem) << "+" << WideToUtf8(c.tail);
    }
}
