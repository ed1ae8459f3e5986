#include "core/SectionList.h"

#include "core/win32/SystemText.h"

int TSectionList::CompareSectionNames(const std::wstring& a, const std::wstring& b) const {
    return SystemCompareIgnoreCase(a.c_str(), b.c_str());
}

TSectionObj* TSectionList::FindSection(const std::wstring& name) const {
    for (const auto& section : sections_) {
        if (CompareSectionNames(name, section->SectionName) == 0) {
            return section.get();
        }
    }
    return nullptr;
}

int TSectionList::Add(std::unique_ptr<TSectionObj> section) {
    sections_.push_back(std::move(section));
    return Count() - 1;
}

bool TSectionList::LoadFromFile(const std::wstring& fileName) {
    TWideStringList lines;
    lines.LoadFromFile(fileName);
    TSectionObj* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::wstring& line = lines.Strings(i);
        if (!line.empty() && line[0] == L'[') {
            auto section = std::make_unique<TSectionObj>();
            const auto close = line.find(L']');
            section->SectionName = close == std::wstring::npos ? std::wstring() : line.substr(1, close - 1);
            current = section.get();
            Add(std::move(section));
        } else if (current != nullptr) {
            current->Add(line);
        }
    }
    return true;
}
