// tailgen STEMS.txt EXTRAS.txt OUTPUT-FOLDER: writes the Tatar suffix table of every part of
// speech of InflectingParts from the paradigm builders, then loads it back as the programs do and
// checks it.

#include <algorithm>
#include <fstream>
#include <iostream>

#include "core/TableTailes.h"
#include "core/Utf8.h"
#include "tools/SourceFile.h"
#include "tools/TailGenerator.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::cerr << "usage: tailgen STEMS.txt EXTRAS.txt OUTPUT-FOLDER\n";
        return 2;
    }
    try {
        TailSources sources;
        ParseTailStems(ReadWholeFile(argv[1]), WideToUtf8(argv[1]), sources);
        ParseTailExtras(ReadWholeFile(argv[2]), WideToUtf8(argv[2]), sources);
        std::wstring folder = argv[3];
        if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
            folder += L'\\';
        }
        for (int t = 0; t < kInflectingParts; ++t) {
            const TPartOfSpeechInfo& part = InflectingParts[t];
            TailReport report;
            const auto table =
                BuildTailTable(part.Code, sources.Words[t], sources.Extra[t], report, sources.Continuations[t]);
            const auto bytes = TailTableBytes(table);
            const std::wstring name = folder + part.SuffixFile;
            std::ofstream out(name.c_str(), std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out.flush()) {
                std::cerr << WideToUtf8(name) << ": cannot write\n";
                return 1;
            }
            out.close();

            TCustTableTailes check;
            check.LoadRecords(name);
            bool same = check.Count() == static_cast<int>(table.size());
            for (int i = 0; same && i < check.Count(); ++i) {
                int32_t ids[4];
                const TailChain& chain = table[static_cast<size_t>(i)];
                same = check.Get(i) == chain.Ending && check.FindEnding(chain.Ending, ids) &&
                       std::equal(chain.Ids.begin(), chain.Ids.end(), ids) &&
                       std::all_of(ids + chain.Ids.size(), ids + 4, [](int32_t id) { return id == 0; });
            }
            if (!same) {
                std::cerr << WideToUtf8(name) << ": the written table does not read back as written\n";
                return 1;
            }
            const auto unnamed =
                std::count_if(table.begin(), table.end(), [](const TailChain& c) { return c.Ids.empty(); });
            std::cout << WideToUtf8(part.SuffixFile) << ": " << table.size() << " endings (" << unnamed
                      << " with an empty chain) from " << report.Forms << " forms, " << report.Collisions.size()
                      << " collisions, " << report.Skipped.size() << " forms skipped\n";
            for (const auto& collision : report.Collisions) {
                std::cout << "  collision " << WideToUtf8(collision) << "\n";
            }
            for (const auto& skipped : report.Skipped) {
                std::cout << "  skipped " << WideToUtf8(skipped) << "\n";
            }
        }
        return 0;
    } catch (const std::exception& e) { // the file layer's errors too: they derive from it
        std::cerr << e.what() << "\n";
        return 1;
    }
}
