#pragma once
// The analysis benchmarks' one measurement: the words laid out in one buffer in reading order, as
// a text is read, run through the analysis in five rounds of about 0.3 s. Prints the best round's
// words per second (the machine is shared: the best round is the least disturbed), the share of
// words found and the probes per word.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/Dictionary.h"
#include "core/PartsOfSpeech.h"
#include "tools/DictSource.h"

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// analyse(word) gives true when the word was found.
template <class Analyse>
void MeasureAnalysis(const char* name, const std::vector<std::wstring>& list, Analyse analyse) {
    std::wstring text;
    std::vector<size_t> starts;
    for (const std::wstring& word : list) {
        starts.push_back(text.size());
        text.append(word).push_back(L'\0');
    }
    double best = 0;
    size_t analysed = 0, found = 0;
    const uint64_t probes = DictProbeCount;
    for (int round = 0; round < 5; ++round) {
        size_t roundWords = 0;
        const auto start = Clock::now();
        do {
            for (const size_t at : starts) {
                found += analyse(text.c_str() + at) ? 1 : 0;
            }
            roundWords += starts.size();
        } while (Seconds(start) < 0.3);
        best = std::max(best, static_cast<double>(roundWords) / Seconds(start));
        analysed += roundWords;
    }
    const double words = static_cast<double>(std::max<size_t>(analysed, 1));
    std::printf("%s words: %zu\n", name, list.size());
    std::printf("%s words found: %.1f%%\n", name, 100.0 * static_cast<double>(found) / words);
    std::printf("%s words per second: %.0f\n", name, best);
    std::printf("%s probes per word: %.2f\n", name, static_cast<double>(DictProbeCount - probes) / words);
}

// A data file the build placed in the programs' folder.
inline std::vector<unsigned char> ReadBuilt(const char* name) {
    std::ifstream in(std::string(QV_BIN_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The sample dictionary's headwords, each once, among made-up ones of 4 to 11 letters and of every
// inflecting part of speech, count entries in all. complete(word, part) may finish a made-up word,
// such as a verb's dictionary ending.
template <class Complete>
DictSource SampleAmongMadeUp(const TDictHandle& sample, size_t count, Complete complete) {
    DictSource source;
    std::set<std::wstring> seen;
    for (int32_t e = 0; e < sample.EntryCount; ++e) {
        if (seen.insert(sample.Headword(e)).second) {
            source.Entries.push_back({sample.Headword(e), sample.Entry(e).Flags, 0, -1, sample.Article(e)});
        }
    }
    std::mt19937 random(7);
    const std::wstring letters = L"аәбвгдежҗзийклмнңоөпрстуүфхһчшыэюя";
    while (source.Entries.size() < count) {
        std::wstring word;
        for (int i = 0, n = 4 + static_cast<int>(random() % 8); i < n; ++i) {
            word += letters[random() % letters.size()];
        }
        const TPartOfSpeech part = InflectingParts[random() % kInflectingParts].Code;
        complete(word, part);
        if (seen.insert(word).second) {
            source.Entries.push_back({word, part, 0, -1, L"тәрҗемә"});
        }
    }
    return source;
}
