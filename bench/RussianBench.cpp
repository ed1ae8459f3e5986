// Speed of the Russian analysis: on the sample dictionary with every form of its headwords, and on
// a full-size dictionary of 100,000 headwords made by pairing the sample's real stems (bare and
// behind common prefixes) with paradigms of the source of their part of speech. The full-size
// dictionary is looked up in three streams of 300,000 of its headwords' forms:
//   text:     headwords as often as words of a text (the n-th most frequent 1/n as often as the
//             first, Zipf's law), each time a form of it at random;
//   shuffled: distinct forms, each once, in random order: the least a cache can help;
//   sorted:   the same forms in dictionary order, as the sample run takes them.
// In every stream half of the words with ё are written with е, as texts mostly do.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <random>
#include <set>

#include "bench/AnalysisMeasure.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "tools/DictSource.h"
#include "tools/DictWriter.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

void Measure(const char* name, const std::vector<std::wstring>& words) {
    TSearchResult result;
    MeasureAnalysis(name, words, [&](const wchar_t* word) { return AnalyzeWord(word, result, langRussian); });
}

// The part of speech a paradigm inflects, told by its name, which is a word of the paradigm.
uint8_t ParadigmPart(const std::wstring& name) {
    auto ends = [&name](std::wstring_view ending) {
        return name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
    };
    for (const wchar_t* verb : {L"ть", L"ти", L"чь", L"ться", L"тись", L"чься"}) {
        if (ends(verb)) {
            return posVerb;
        }
    }
    for (const wchar_t* adjective : {L"ый", L"ой", L"кий", L"гий", L"хий", L"щий", L"чий", L"ший", L"ний", L"ийся"}) {
        if (ends(adjective)) {
            return posAdjective;
        }
    }
    return posNoun;
}

// Real stems of the sample, bare and behind prefixes, each paired with paradigms of its part of
// speech drawn at random until the dictionary holds the count of headwords.
DictSource MakeBigDictionary(const std::vector<Paradigm>& paradigms, const DictSource& sample, size_t count) {
    std::vector<std::vector<int32_t>> byPart(256);
    for (size_t p = 0; p < paradigms.size(); ++p) {
        byPart[ParadigmPart(paradigms[p].Name)].push_back(static_cast<int32_t>(p));
    }
    struct TStem {
        std::wstring Text;
        uint8_t Part;
    };
    std::vector<TStem> stems;
    std::set<std::wstring> seenStems;
    const wchar_t* prefixes[] = {L"",    L"по",  L"за",  L"пере", L"вы", L"при", L"на", L"от", L"до",   L"у",
                                 L"раз", L"про", L"под", L"об",   L"в",  L"не",  L"из", L"со", L"пред", L"с"};
    for (const DictSourceEntry& entry : sample.Entries) {
        if (entry.Paradigm < 0) {
            continue;
        }
        const Paradigm& own = paradigms[static_cast<size_t>(entry.Paradigm)];
        const std::wstring stem = entry.Headword.substr(0, entry.Headword.size() - own.LemmaEnding.size());
        for (const wchar_t* prefix : prefixes) {
            if (!stem.empty() && seenStems.insert(prefix + stem).second) {
                stems.push_back({prefix + stem, ParadigmPart(own.Name)});
            }
        }
    }
    DictSource big;
    big.Title = L"Full size";
    big.Direction = langRussian;
    std::set<std::wstring> headwords;
    std::mt19937 random(11);
    while (big.Entries.size() < count) {
        const TStem& stem = stems[random() % stems.size()];
        const std::vector<int32_t>& choice = byPart[stem.Part];
        const int32_t p = choice[random() % choice.size()];
        const std::wstring headword = stem.Text + paradigms[static_cast<size_t>(p)].LemmaEnding;
        if (headword.size() <= kMaxSourceWord && headwords.insert(headword).second) {
            big.Entries.push_back({headword, stem.Part, 0, p, L"тәрҗемә"});
        }
    }
    return big;
}

// Every ё written е in every other word that has one.
void WriteYeForYo(std::vector<std::wstring>& words) {
    bool written = false;
    for (std::wstring& word : words) {
        if (word.find(L'ё') != std::wstring::npos && (written = !written)) {
            std::replace(word.begin(), word.end(), L'ё', L'е');
        }
    }
}

struct TStreams {
    std::vector<std::wstring> Text, Shuffled, Sorted;
};

TStreams MakeStreams(const std::vector<Paradigm>& paradigms, const DictSource& big, size_t count) {
    std::vector<std::vector<std::wstring>> forms;
    std::vector<std::wstring> all;
    for (const DictSourceEntry& entry : big.Entries) {
        forms.push_back(ParadigmForms(paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword));
        forms.back().push_back(entry.Headword);
        all.insert(all.end(), forms.back().begin(), forms.back().end());
    }
    std::mt19937 random(13);
    TStreams streams;
    // Zipf's law over the headwords in a random order of frequency.
    std::shuffle(forms.begin(), forms.end(), random);
    std::vector<double> frequency;
    double total = 0;
    for (size_t rank = 1; rank <= forms.size(); ++rank) {
        total += 1.0 / static_cast<double>(rank);
        frequency.push_back(total);
    }
    std::uniform_real_distribution<double> draw(0, total);
    for (size_t i = 0; i < count; ++i) {
        const auto& of = forms[static_cast<size_t>(std::lower_bound(frequency.begin(), frequency.end(), draw(random)) -
                                                   frequency.begin())];
        streams.Text.push_back(of[random() % of.size()]);
    }
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::min(all.size(), count));
    streams.Shuffled = all;
    std::sort(all.begin(), all.end());
    streams.Sorted = all;
    WriteYeForYo(streams.Text);
    WriteYeForYo(streams.Shuffled);
    WriteYeForYo(streams.Sorted);
    return streams;
}

std::vector<std::wstring> SampleForms(const std::vector<Paradigm>& paradigms, const DictSource& sample) {
    std::set<std::wstring> forms;
    for (const auto& entry : sample.Entries) {
        forms.insert(entry.Headword);
        if (entry.Paradigm >= 0) {
            for (const auto& form : ParadigmForms(paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword)) {
                forms.insert(form);
            }
        }
    }
    return std::vector<std::wstring>(forms.begin(), forms.end());
}

} // namespace

int main() {
    const std::string root = QV_SOURCE_DIR;
    const auto paradigms = ParseParadigmSource(ReadWholeFile(Utf8ToWide(root + "/data/rus/paradigms.txt")), "p");
    const DictSource sample =
        ParseDictSource(ReadWholeFile(Utf8ToWide(root + "/data/dict/rustat.txt")), "rustat", &paradigms);

    auto start = Clock::now();
    CreateParadigmTable(Utf8ToWide(QV_BIN_DIR) + L"\\");
    std::printf("russian tables load seconds: %.4f\n", Seconds(start));

    std::vector<unsigned char> sampleImage = ReadBuilt("rustat.dict");
    LangGroups[langRussian].push_back(MakeDictHandle(sampleImage.data()));
    Measure("russian sample", SampleForms(paradigms, sample));

    start = Clock::now();
    const DictSource big = MakeBigDictionary(paradigms, sample, 100000);
    std::vector<unsigned char> bigImage = BuildDictImage(big);
    std::printf("russian full-size dictionary build seconds: %.3f\n", Seconds(start));
    LangGroups[langRussian].clear();
    LangGroups[langRussian].push_back(MakeDictHandle(bigImage.data()));
    std::printf("russian full-size headwords: %d\n", LangGroups[langRussian][0].EntryCount);
    start = Clock::now();
    TSearchResult first;
    AnalyzeWord(L"слово", first, langRussian); // the first lookup makes the dictionary's index
    std::printf("russian full-size index seconds: %.3f\n", Seconds(start));

    const TStreams streams = MakeStreams(paradigms, big, 300000);
    Measure("russian full-size text", streams.Text);
    Measure("russian full-size shuffled", streams.Shuffled);
    Measure("russian full-size sorted", streams.Sorted);
    return 0;
}
