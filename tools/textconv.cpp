// Writes a UTF-8 text source as the 8-bit or UTF-16 file the programs read:
//   textconv html1251 SOURCE OUTPUT   an HTML page in code page 1251; a letter the code page
//                                     lacks becomes a character reference (&#1241;)
//   textconv utf16 SOURCE OUTPUT      UTF-16LE with a byte-order mark
// Line ends become CR LF. Invalid UTF-8 or a control character stops the build with the file's
// name and line.

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/TextConv.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fputs("usage: textconv html1251|utf16 SOURCE OUTPUT\n", stderr);
        return 2;
    }
    const std::wstring mode = argv[1];
    if (mode != L"html1251" && mode != L"utf16") {
        std::fprintf(stderr, "unknown mode %ls\n", mode.c_str());
        return 2;
    }
    std::string output;
    try {
        const std::wstring text = ReadTextSource(argv[2]);
        output = mode == L"html1251" ? ToHtml1251(text) : ToUtf16Bytes(text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out.write(output.data(), static_cast<std::streamsize>(output.size()));
    if (!out) {
        std::fprintf(stderr, "%ls: cannot write\n", argv[3]);
        return 1;
    }
    return 0;
}
