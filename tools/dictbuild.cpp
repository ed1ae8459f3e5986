// dictbuild SOURCE.txt OUTPUT.dict: compiles a readable dictionary source into a *.dict image.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/DictImage.h"
#include "core/Utf8.h"
#include "tools/DictWriter.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::cerr << "usage: dictbuild SOURCE.txt OUTPUT.dict\n";
        return 2;
    }
    const std::string sourceName = WideToUtf8(argv[1]);
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::cerr << sourceName << ": cannot open\n";
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        const DictSource source = ParseDictSource(text.str(), sourceName);
        const std::vector<unsigned char> image = BuildDictImage(source);
        const TDictCheck check = CheckDictImage(image.data(), image.size());
        if (check != TDictCheck::dcOk) {
            std::cerr << sourceName << ": built image refused: " << WideToUtf8(DictCheckText(check)) << "\n";
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
