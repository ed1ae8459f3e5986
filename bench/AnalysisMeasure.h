#pragma once
// The analysis benchmarks' one measurement: the words laid out in one buffer in reading order, as
// a text is read, run through the analysis in five rounds of about 0.3 s. Prints the best round's
// words per second (the machine is shared: the best round is the least disturbed), the share of
// words found and the probes per word.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Dictionary.h"

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
