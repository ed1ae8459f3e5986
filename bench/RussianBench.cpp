// Speed of the Russian analysis: on the sample dictionary with every form of its headwords, and on
// a full-size dictionary of about 100,000 headwords made by pairing the sample's real stems (also
// behind common prefixes) with the paradigms of the source, looked up in the inflected forms of
// those headwords, a quarter of the forms with ё written е as texts mostly do.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "core/Translator.h"
#include "core/Utf8.h"
#include "tools/DictSource.h"
#include "tools/DictWriter.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Five rounds of about 0.3 s; the best round's words per second (the machine is shared: the best
// round is the least disturbed), the share of words found and the probes per word. The words lie
// one after another in one buffer, as a text's do.
void Measure(const char* name, const std::vector<std::wstring>& list) {
    std::wstring text;
    for (const std::wstring& word : list) {
        text.append(word).push_back(L'\0');
    }
    std::vector<const wchar_t*> words;
    for (size_t at = 0; at < text.size(); at += std::wcslen(text.c_str() + at) + 1) {
        words.push_back(text.c_str() + at);
    }
    TSearchResult result;
    double best = 0;
    size_t analysed = 0, found = 0;
    const uint64_t probes = DictProbeCount;
    for (int round = 0; round < 5; ++round) {
        size_t roundWords = 0;
        const auto start = Clock::now();
        do {
            for (const auto& word : words) {
                found += AnalyzeWord(word, result, langRussian) ? 1 : 0;
            }
            roundWords += words.size();
        } while (Seconds(start) < 0.3);
        best = std::max(best, static_cast<double>(roundWords) / Seconds(start));
        analysed += roundWords;
    }
    std::printf("%s words: %zu\n", name, words.size());
    std::printf("%s words found: %.1f%%\n", name, 100.0 * static_cast<double>(found) / static_cast<double>(analysed));
    std::printf("%s words per second: %.0f\n", name, best);
    std::printf("%s probes per word: %.1f\n", name,
                static_cast<double>(DictProbeCount - probes) / static_cast<double>(analysed));
}

// The part of speech a paradigm inflects, told by its name, which is a word of the paradigm.
uint8_t ParadigmPart(const std::wstring& name) {
    auto ends = [&name](const wchar_t* ending) {
        const std::wstring_view e(ending);
        return name.size() > e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
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

struct TBigDictionary {
    DictSource Source;
    std::vector<std::wstring> Forms;
};

// Real stems of the sample, bare and behind prefixes, each paired with paradigms of its part of
// speech drawn at random until the dictionary holds the count of headwords.
TBigDictionary MakeBigDictionary(const std::vector<Paradigm>& paradigms, const DictSource& sample, size_t count) {
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
    const wchar_t* prefixes[] = {L"",    L"по", L"за", L"пере", L"вы", L"при", L"на", L"от", L"до",  L"у",
                                 L"раз", L"про", L"под", L"об",  L"в",  L"не",  L"из", L"со", L"пред", L"с"};
    for (const DictSourceEntry& entry : sample.Entries) {
        if (entry.Paradigm < 0) {
            continue;
        }
        const Paradigm& own = paradigms[static_cast<size_t>(entry.Paradigm)];
        const uint8_t part = ParadigmPart(own.Name);
        const std::wstring stem = entry.Headword.substr(0, entry.Headword.size() - own.LemmaEnding.size());
        for (const wchar_t* prefix : prefixes) {
            const std::wstring text = prefix + stem;
            if (!stem.empty() && seenStems.insert(text).second) {
                stems.push_back({text, part});
            }
        }
    }
    TBigDictionary big;
    std::set<std::wstring> headwords;
    std::mt19937 random(11);
    while (big.Source.Entries.size() < count) {
        const TStem& stem = stems[random() % stems.size()];
        const std::vector<int32_t>& choice = byPart[stem.Part];
        const int32_t p = choice[random() % choice.size()];
        const std::wstring headword = stem.Text + paradigms[static_cast<size_t>(p)].LemmaEnding;
        if (headword.size() <= kMaxSourceWord && headwords.insert(headword).second) {
            big.Source.Entries.push_back({headword, stem.Part, 0, p, L"тәрҗемә"});
        }
    }
    big.Source.Title = L"Full size";
    big.Source.Direction = langRussian;
    for (const DictSourceEntry& entry : big.Source.Entries) {
        big.Forms.push_back(entry.Headword);
        for (const std::wstring& form : ParadigmForms(paradigms[static_cast<size_t>(entry.Paradigm)], entry.Headword)) {
            big.Forms.push_back(form);
        }
    }
    // A fixed sample of the forms, a quarter of those with ё written with е.
    std::shuffle(big.Forms.begin(), big.Forms.end(), random);
    big.Forms.resize(std::min<size_t>(big.Forms.size(), 300000));
    for (size_t i = 0; i < big.Forms.size(); i += 4) {
        std::replace(big.Forms[i].begin(), big.Forms[i].end(), L'ё', L'е');
    }
    return big;
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

std::vector<unsigned char> ReadBuilt(const char* name) {
    std::ifstream in(std::string(QV_BIN_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
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
    const TBigDictionary big = MakeBigDictionary(paradigms, sample, 100000);
    std::vector<unsigned char> bigImage = BuildDictImage(big.Source);
    std::printf("russian full-size dictionary build seconds: %.3f\n", Seconds(start));
    LangGroups[langRussian].clear();
    LangGroups[langRussian].push_back(MakeDictHandle(bigImage.data()));
    std::printf("russian full-size headwords: %d\n", LangGroups[langRussian][0].EntryCount);
    Measure("russian full-size", big.Forms);
    return 0;
}
