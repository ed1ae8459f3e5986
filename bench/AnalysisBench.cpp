// Speed of the word-form analysis on the sample data and on a synthetic Tatar dictionary of
// 200,000 headwords: words analysed per second, dictionary probes per word, table load time.

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
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

namespace {

void Measure(const char* name, const std::vector<std::wstring>& words, TLanguage language) {
    TSearchResult result;
    MeasureAnalysis(name, words, [&](const wchar_t* word) { return AnalyzeWord(word, result, language); });
}

std::vector<std::wstring> TatarForms(const TDictHandle& dict) {
    std::set<std::wstring> forms;
    for (int32_t e = 0; e < dict.EntryCount; ++e) {
        for (const TPartOfSpeechInfo& part : InflectingParts) {
            if ((dict.Entry(e).Flags & part.Code) != 0) {
                for (const TGP_Proc_Rec& rec : part.Forms(dict.Headword(e))) {
                    forms.insert(rec.Form);
                }
            }
        }
    }
    return std::vector<std::wstring>(forms.begin(), forms.end());
}

std::vector<std::wstring> RussianForms() {
    const std::string root = QV_SOURCE_DIR;
    const auto paradigms = ParseParadigmSource(ReadWholeFile(Utf8ToWide(root + "/data/rus/paradigms.txt")), "p");
    const DictSource source =
        ParseDictSource(ReadWholeFile(Utf8ToWide(root + "/data/dict/rustat.txt")), "rustat", &paradigms);
    std::set<std::wstring> forms;
    for (const auto& entry : source.Entries) {
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
    const std::wstring bin = Utf8ToWide(QV_BIN_DIR) + L"\\";
    auto start = Clock::now();
    TableTailesInit(bin);
    CreateParadigmTable(bin);
    std::printf("table load seconds: %.4f\n", Seconds(start));

    std::vector<unsigned char> tatar = ReadBuilt("tatrus.dict");
    std::vector<unsigned char> russian = ReadBuilt("rustat.dict");
    LangGroups[langTatar].push_back(MakeDictHandle(tatar.data()));
    LangGroups[langRussian].push_back(MakeDictHandle(russian.data()));

    const std::vector<std::wstring> tatarForms = TatarForms(LangGroups[langTatar][0]);
    Measure("tatar", tatarForms, langTatar);
    Measure("russian", RussianForms(), langRussian);

    // The sample headwords among 200,000 synthetic ones.
    const DictSource big = SampleAmongMadeUp(LangGroups[langTatar][0], 200000, [](std::wstring&, TPartOfSpeech) {});
    start = Clock::now();
    std::vector<unsigned char> bigImage = BuildDictImage(big);
    std::printf("synthetic dictionary build seconds: %.3f\n", Seconds(start));
    LangGroups[langTatar].clear();
    LangGroups[langTatar].push_back(MakeDictHandle(bigImage.data()));
    std::printf("synthetic headwords: %d\n", LangGroups[langTatar][0].EntryCount);
    Measure("tatar synthetic", tatarForms, langTatar);
    return 0;
}
