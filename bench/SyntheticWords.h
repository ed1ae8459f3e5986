#pragma once
// Made-up Tatar headwords for the benchmarks: 3 to 12 letters of the Tatar alphabet, repeatable
// from the generator's seed.

#include <random>
#include <set>
#include <string>

#include "core/Codes.h"
#include "tools/DictSource.h"

inline std::wstring RandomTatarWord(std::mt19937& random) {
    static const std::wstring letters = L"аәбвгдежҗзийклмнңоөпрстуүфхһчшыэюя";
    std::wstring word;
    const int length = 3 + static_cast<int>(random() % 10);
    for (int i = 0; i < length; ++i) {
        word += letters[random() % letters.size()];
    }
    return word;
}

// Adds made-up words to the given ones until there are count distinct words.
inline std::set<std::wstring> RandomTatarWords(size_t count, std::mt19937& random, std::set<std::wstring> words = {}) {
    while (words.size() < count) {
        words.insert(RandomTatarWord(random));
    }
    return words;
}

// The words as the nouns of a dictionary, all with the same article.
inline DictSource NounsSource(const std::set<std::wstring>& words, const std::wstring& article) {
    DictSource source;
    for (const std::wstring& word : words) {
        source.Entries.push_back({word, posNoun, 0, -1, article});
    }
    return source;
}
