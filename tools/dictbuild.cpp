// dictbuild SOURCE.txt OUTPUT.dict [PARADIGMS.txt]: compiles a readable dictionary source into a
// *.dict image; with the paradigm source, paradigm fields may name paradigms.

#include <fstream>
#include <iostream>

#include "core/DictImage.h"
#include "core/Utf8.h"
#include "tools/DictWriter.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: dictbuild SOURCE.txt OUTPUT.dict [PARADIGMS.txt]\n";
        return 2;
    }
    try {
        std::vector<Paradigm> paradigms;
        if (argc == 4) {
            paradigms = ParseParadigmSource(ReadWholeFile(argv[3]), WideToUtf8(argv[3]));
        }
        const DictSource source =
            ParseDictSource(ReadWholeFile(argv[1]), WideToUtf8(argv[1]), argc == 4 ? &paradigms : nullptr);
        const std::vector<unsigned char> image = BuildDictImage(source);
        const TDictCheck check = CheckDictImage(image.data(), image.size());
        if (check != TDictCheck::dcOk) {
            std::cerr << WideToUtf8(argv[1]) << ": built image refused: " << WideToUtf8(DictCheckText(check)) << "\n";
            return 1;
        }
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        if (!out.flush()) {
            std::cerr << WideToUtf8(argv[2]) << ": cannot write\n";
            return 1;
        }
        std::cout << WideToUtf8(argv[2]) << ": " << source.Entries.size() << " entries\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
