#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DictImage.h"
#include "core/Dictionary.h"
#include "core/RTB_Deal.h"
#include "core/TatAlphabet.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "tests/support/BuiltData.h"
#include "tests/support/OpenDictionaries.h"
#include "tools/DictSource.h"
#include "tools/DictWriter.h"
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
        loaded.Dictionary =
            ParseDictSource(ReadWholeFile(Utf8ToWide(source + "/data/dict/rustat.txt")), "rustat", &loaded.Paradigms);
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

namespace {

// The Russian lookup in its plain form, with nothing sped up: every candidate of the table,
// probes by search, headwords with ё for е found by their folded spelling, paradigm tests on
// built texts, results built by DictBuildResults. The lookup must give the same results and leave
// each dictionary's current entry where this leaves it.
class ReferenceLookup {
public:
    // The runs of the headwords that hold ё, by their spelling with е in Tatar weights.
    ReferenceLookup() {
        for (const TDictHandle& dict : LangGroups[langRussian]) {
            std::map<std::vector<unsigned>, std::vector<int32_t>> runs;
            for (int32_t i = 0; i < dict.EntryCount; ++i) {
                const std::wstring headword = dict.Headword(i);
                if (headword.find_first_of(L"ёЁ") != std::wstring::npos && (i == 0 || !Same(dict, i - 1, i))) {
                    runs[Folded(headword)].push_back(i);
                }
            }
            yo_.push_back(std::move(runs));
        }
    }

    void Analyze(const std::wstring& word, TLangSearchResult& result) {
        result = TLangSearchResult();
        if (word.empty() || word.size() > kMaxWordLength) {
            return;
        }
        TLangGroup& group = LangGroups[langRussian];
        DictResetHits(langRussian);
        TAllSearch search;
        auto build = [&](const std::wstring& base) {
            UniqueAccepted(group);
            DropReportedHits(group, search);
            AllSearchAddAccepted(group, search);
            result.Language = langRussian;
            result.Word = word;
            result.Results.emplace_back();
            DictBuildResults(base.c_str(), base.size(), result.Results.back(), langRussian);
        };
        if (Collect(word, 0)) {
            for (TDictHandle& dict : group) {
                dict.Accepted = dict.Probe;
            }
            build(word);
        }
        TWideStringList triples;
        ParadigmTable()->GenerateLemmas(word, triples);
        for (int k = 0; k + 2 < triples.Count(); k += 3) {
            if (!Collect(triples.Get(k), 1)) {
                continue;
            }
            bool accepted = false;
            for (TDictHandle& dict : group) {
                for (const int32_t hit : dict.Probe) {
                    if (ParadigmTable()->MatchesParadigm(L"/" + triples.Get(k + 1), triples.Get(k + 2),
                                                         dict.Entry(hit).Paradigm)) {
                        dict.Accepted.push_back(hit);
                    }
                }
                accepted = accepted || !dict.Accepted.empty();
            }
            if (accepted) {
                build(triples.Get(k));
            }
        }
    }

private:
    static bool Same(const TDictHandle& dict, int32_t a, int32_t b) {
        return TatCompareStr(dict.Headword(a), dict.Headword(b)) == 0;
    }

    static std::vector<unsigned> Folded(const std::wstring& text) {
        std::vector<unsigned> weights;
        for (const wchar_t c : text) {
            weights.push_back(TatWeight(c == L'ё' || c == L'Ё' ? L'е' : c));
        }
        return weights;
    }

    // DictCollectMatches, then the runs of the headwords with ё where the word has е.
    bool Collect(const std::wstring& word, uint8_t exclude) {
        bool found = DictCollectMatches(word.c_str(), word.size(), langRussian, dmAll, exclude);
        if (word.find_first_of(L"еЕ") == std::wstring::npos) {
            return found;
        }
        for (size_t d = 0; d < LangGroups[langRussian].size(); ++d) {
            TDictHandle& dict = LangGroups[langRussian][d];
            const auto runs = yo_[d].find(Folded(word));
            if (runs == yo_[d].end()) {
                continue;
            }
            for (const int32_t first : runs->second) {
                const std::wstring headword = dict.Headword(first);
                bool yoForYe = false, same = headword.size() == word.size();
                for (size_t i = 0; same && i < word.size(); ++i) {
                    const bool ye = word[i] == L'е' || word[i] == L'Е', yo = headword[i] == L'ё' || headword[i] == L'Ё';
                    yoForYe = yoForYe || (ye && yo);
                    same = (ye && yo) || TatWeight(word[i]) == TatWeight(headword[i]);
                }
                if (!same || !yoForYe) {
                    continue;
                }
                dict.CurEntry = first;
                for (int32_t k = first; k < dict.EntryCount && Same(dict, k, first); ++k) {
                    const uint8_t flags = dict.Entry(k).Flags;
                    if (flags != 0 && ((flags & dfExactOnly) == 0 || exclude == 0)) {
                        dict.Probe.push_back(k);
                        found = true;
                    }
                }
            }
        }
        return found;
    }

    std::vector<std::map<std::vector<unsigned>, std::vector<int32_t>>> yo_;
};

// A lookup as text: analyses with their hits, and where each dictionary's current entry is.
std::wstring Described(const TLangSearchResult& result) {
    std::wstring text = result.Results.empty() ? L"" : result.Word + L"|";
    for (const TBaseSearchResult& analysis : result.Results) {
        text += analysis.BaseForm + L":";
        for (const TDictSearchResult& dict : analysis.Dictionaries) {
            text += L" " + std::to_wstring(dict.DictIndex) + L"[" + dict.Title + L"]";
            for (const TDictItem& item : dict.Items) {
                text += L" " + std::to_wstring(item.Entry) + L"/" + item.Headword + L"/" + item.Article + L"/" +
                        std::to_wstring(item.Flags) + L"/" + std::to_wstring(item.Flags2);
            }
        }
        text += L";";
    }
    for (const TDictHandle& dict : LangGroups[langRussian]) {
        text += L" @" + std::to_wstring(dict.CurEntry);
    }
    return text;
}

// Every word the lookup gives other results for than the reference, as "word: lookup / reference".
std::vector<std::string> Differences(const std::vector<std::wstring>& words) {
    ReferenceLookup reference;
    TLangSearchResult fast, slow;
    std::vector<std::string> differences;
    for (const std::wstring& word : words) {
        AnalyzeRussian(word.c_str(), fast);
        const std::wstring got = Described(fast);
        reference.Analyze(word, slow);
        const std::wstring expected = Described(slow);
        if (got != expected) {
            differences.push_back(WideToUtf8(word + L": " + got + L" / " + expected));
        }
    }
    return differences;
}

// Every form of the headwords, also with е for ё, and with a capital as a sentence begins; of
// these, every step-th.
std::vector<std::wstring> FormsOf(const DictSource& source, const std::vector<Paradigm>& paradigms, size_t step) {
    std::vector<std::wstring> words;
    for (const DictSourceEntry& entry : source.Entries) {
        std::vector<std::wstring> forms{entry.Headword};
        if (entry.Paradigm >= 0) {
            const auto more = ParadigmForms(paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword);
            forms.insert(forms.end(), more.begin(), more.end());
        }
        for (std::wstring form : forms) {
            words.push_back(form);
            std::replace(form.begin(), form.end(), L'ё', L'е');
            words.push_back(form);
            form[0] = form[0] == L'е' ? L'Е' : form[0];
            words.push_back(form);
        }
    }
    std::vector<std::wstring> taken;
    for (size_t i = 0; i < words.size(); i += step) {
        taken.push_back(words[i]);
    }
    return taken;
}

} // namespace

TEST_F(SampleRussian, LookupGivesWhatTheReferenceGivesOnEveryForm) {
    const RussianSample& sample = LoadRussianSample();
    std::vector<std::wstring> words = FormsOf(sample.Dictionary, sample.Paradigms, 1);
    words.insert(words.end(), {L"", L"ё", L"Е", L"еще", L"ЕЩЕ", L"пришел", L"елками", std::wstring(64, L'а')});
    const auto differences = Differences(words);
    EXPECT_TRUE(differences.empty()) << differences.size() << " words differ, first: " << differences.front();
}

// A dictionary denser than a real one: the sample's stems each with many paradigms, homonyms,
// capitals, exact-form-only entries, headwords with ё, and a second dictionary sharing headwords.
TEST_F(SampleRussian, LookupGivesWhatTheReferenceGivesInADenseDictionary) {
    const RussianSample& sample = LoadRussianSample();
    DictSource dense;
    dense.Title = L"Тыгыз";
    dense.Direction = langRussian;
    size_t n = 0;
    for (const DictSourceEntry& entry : sample.Dictionary.Entries) {
        if (entry.Paradigm < 0 || ++n % 23 != 0) {
            continue;
        }
        const Paradigm& own = sample.Paradigms[static_cast<size_t>(entry.Paradigm)];
        const std::wstring stem = entry.Headword.substr(0, entry.Headword.size() - own.LemmaEnding.size());
        for (size_t p = n % 5; p < sample.Paradigms.size(); p += 5) {
            std::wstring headword = stem + sample.Paradigms[p].LemmaEnding;
            const auto flags = static_cast<uint8_t>(p % 13 == 0 ? posNoun | dfExactOnly : posNoun << (p % 4));
            if (p % 7 == 0) {
                std::replace(headword.begin(), headword.end(), L'е', L'ё');
            }
            if (p % 11 == 0) {
                headword[0] = static_cast<wchar_t>(std::towupper(headword[0]));
            }
            dense.Entries.push_back({headword, flags, static_cast<int32_t>(p % 3), static_cast<int32_t>(p), L"a"});
            if (p % 6 == 0) {
                dense.Entries.push_back(
                    {headword, posVerb, 1, static_cast<int32_t>((p + 1) % sample.Paradigms.size()), L"b"});
            }
            if (p % 17 == 0) {
                dense.Entries.push_back({headword, posNoun, 2, -1, L"c"});
            }
        }
    }
    DictSource second = dense;
    second.Title = L"Икенче";
    second.Entries.resize(second.Entries.size() / 3);
    dictionaries_.Close();
    dictionaries_.Open(BuildDictImage(dense));
    dictionaries_.Open(BuildDictImage(second));
    const auto differences = Differences(FormsOf(dense, sample.Paradigms, 10));
    EXPECT_TRUE(differences.empty()) << differences.size() << " words differ, first: " << differences.front();
}
