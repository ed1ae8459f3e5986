// rtbbuild PARADIGMS.txt RECIP.rtb DIRECT.rtb: writes the Russian paradigm table files from
// their readable source, then loads them back as the programs do and checks them.

#include <iostream>

#include "core/Classes_Qel.h"
#include "core/RTB_Deal.h"
#include "core/Utf8.h"
#include "tools/ParadigmSource.h"
#include "tools/SourceFile.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::cerr << "usage: rtbbuild PARADIGMS.txt RECIP.rtb DIRECT.rtb\n";
        return 2;
    }
    try {
        const std::vector<Paradigm> paradigms = ParseParadigmSource(ReadWholeFile(argv[1]), WideToUtf8(argv[1]));
        const std::vector<std::wstring> recip = ReciprocalParadigmLines(paradigms);
        const std::vector<std::wstring> direct = DirectParadigmLines(paradigms);
        SaveLines(recip, argv[2]);
        SaveLines(direct, argv[3]);

        const TRTB_Table table(argv[2], false, argv[3]);
        bool same = table.Count() == static_cast<int>(recip.size()) &&
                    table.FilterLines().Count() == static_cast<int>(direct.size());
        for (int i = 0; same && i < table.Count(); ++i) {
            same = recip[static_cast<size_t>(i)].compare(0, table.Record(i).Ending.size() + 1,
                                                         table.Record(i).Ending + L"-") == 0;
        }
        if (!same) {
            std::cerr << WideToUtf8(argv[2]) << ": the written table does not read back as written\n";
            return 1;
        }
        std::cout << WideToUtf8(argv[2]) << ": " << recip.size() << " endings; " << WideToUtf8(argv[3]) << ": "
                  << direct.size() << " paradigms\n";
        return 0;
    } catch (const std::exception& e) { // the file layer's errors too: they derive from it
        std::cerr << e.what() << "\n";
        return 1;
    }
}
