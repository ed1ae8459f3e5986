// Speed of the Tatar word-form analysis: words per second, dictionary probes per word and the
// share of words found, on the sample dictionary with the forms of ordinary text of its headwords,
// and at full size: 200,000 headwords, each looked up in long inflected forms (possessive and case,
// plural, possessive and case, tense, person and negation, converbs and participles with case).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "core/GP_PROC.h"
#include "core/PartsOfSpeech.h"
#include "core/TableTailes.h"
#include "bench/AnalysisMeasure.h"
#include "core/Translator.h"
#include "core/Utf8.h"
#include "tools/DictSource.h"
#include "tools/DictWriter.h"
#include "tools/SourceFile.h"
#include "tools/TailGenerator.h"

namespace {

void Measure(const char* name, const std::vector<std::wstring>& words) {
    TLangSearchResult result;
    MeasureAnalysis(name, words, [&](const wchar_t* word) { return AnalyzeTatar(word, result); });
}

std::vector<TailContinuation> TextContinuations(TPartOfSpeech part) {
    TailSources sources;
    const std::string extras = std::string(QV_SOURCE_DIR) + "/data/tatar/tail_extras.txt";
    ParseTailExtras(ReadWholeFile(Utf8ToWide(extras)), extras, sources);
    return sources.Continuations[InflectingPartIndex(part)];
}

// Every form of ordinary text the tables are made of, of every headword of the dictionary.
std::vector<std::wstring> SampleTextForms(const TDictHandle& dict) {
    std::vector<TailContinuation> continuations[kInflectingParts];
    for (int i = 0; i < kInflectingParts; ++i) {
        continuations[i] = TextContinuations(InflectingParts[i].Code);
    }
    std::set<std::wstring> forms;
    for (int32_t e = 0; e < dict.EntryCount; ++e) {
        for (int i = 0; i < kInflectingParts; ++i) {
            if ((dict.Entry(e).Flags & InflectingParts[i].Code) != 0) {
                for (const std::wstring& form :
                     TextForms(InflectingParts[i].Code, dict.Headword(e), continuations[i])) {
                    forms.insert(form);
                }
            }
        }
    }
    return std::vector<std::wstring>(forms.begin(), forms.end());
}

// Long forms of one headword: two of a noun (possessive and case, or plural, possessive and case),
// three of a verb (tense, person and negation; a converb; a participle with case).
void LongForms(const std::wstring& word, uint8_t flags, std::mt19937& random, std::vector<std::wstring>& out) {
    TGP_Proc_Rec rec;
    const auto pick = [&](int from, int to) {
        return static_cast<uint8_t>(from + static_cast<int>(random() % (to - from + 1)));
    };
    if ((flags & posVerb) == 0) {
        for (uint8_t number = 1; number <= 2; ++number) {
            BuildNounForm(word, pick(2, 6), pick(1, 3), number, rec);
            out.push_back(rec.Form);
        }
        return;
    }
    BuildVerbForm(word, 5, pick(1, 5), pick(1, 3), pick(1, 2), pick(0, 1), rec);
    out.push_back(rec.Form);
    // The converb of the stem: ып, еп after a consonant, п after a vowel.
    const TVerbStem stem = TatVerbStem(word);
    std::wstring text = stem.Stem;
    const bool afterVowel = (TatLastLetterClass(text) & kVowel) != 0 && !stem.HiddenY;
    std::wstring converb = afterVowel ? L"п" : TatWordHarmony(word) == kFrontHarmony ? L"еп" : L"ып";
    SpellVerbStemBorder(stem, text, converb);
    out.push_back(text + converb);
    // The participle in ган with a case, possessed or not: булганда, барганнарны, язганына.
    BuildVerbForm(word, 5, 3, 3, 1, pick(0, 1), rec);
    const std::wstring participle = rec.Form;
    BuildNounForm(participle, pick(2, 6), static_cast<uint8_t>(random() % 2 == 0 ? 0 : 3), pick(1, 2), rec);
    out.push_back(rec.Form);
}

} // namespace

int main() {
    const std::wstring bin = Utf8ToWide(QV_BIN_DIR) + L"\\";
    auto start = Clock::now();
    TableTailesInit(bin);
    std::printf("tatar table load seconds: %.4f\n", Seconds(start));

    std::vector<unsigned char> sampleImage = ReadBuilt("tatrus.dict");
    LangGroups[langTatar].push_back(MakeDictHandle(sampleImage.data()));
    Measure("tatar sample", SampleTextForms(LangGroups[langTatar][0]));

    // The sample headwords among 200,000 made-up ones of every part of speech.
    const auto verbEnding = [](std::wstring& word, TPartOfSpeech part) {
        if (part == posVerb) {
            word += TatWordHarmony(word) == kFrontHarmony ? L"ү" : L"у";
        }
    };
    const DictSource big = SampleAmongMadeUp(LangGroups[langTatar][0], 200000, verbEnding);
    std::mt19937 random(7);
    start = Clock::now();
    std::vector<unsigned char> bigImage = BuildDictImage(big);
    LangGroups[langTatar].clear();
    LangGroups[langTatar].push_back(MakeDictHandle(bigImage.data()));
    std::printf("tatar full-size dictionary build seconds: %.3f\n", Seconds(start));
    std::printf("tatar full-size headwords: %d\n", LangGroups[langTatar][0].EntryCount);

    std::vector<std::wstring> words;
    for (const DictSourceEntry& entry : big.Entries) {
        if ((entry.Flags & (posNoun | posAdjective | posNumeral | posVerb)) != 0) {
            LongForms(entry.Headword, entry.Flags, random, words);
        }
    }
    std::shuffle(words.begin(), words.end(), random);
    Measure("tatar full-size", words);
    return 0;
}
