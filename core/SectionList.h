#pragma once
// Sectioned UTF-16 text files: each section opens with a line "[name]"; the section holds the
// lines after it up to the next heading.

#include <memory>
#include <string>
#include <vector>

#include "core/Classes_Qel.h"

class TSectionObj : public TWideStringList {
public:
    std::wstring SectionName;
};

class TSectionList {
public:
    TSectionList() = default;
    TSectionList(const TSectionList&) = delete;
    TSectionList& operator=(const TSectionList&) = delete;
    virtual ~TSectionList() = default;

    // Appends the file's sections after those already held. Raises EFOpenError when the file
    // cannot be opened (sections added before stay).
    bool LoadFromFile(const std::wstring& fileName);

    // The first section whose name matches, case ignored; nullptr when none does.
    TSectionObj* FindSection(const std::wstring& name) const;

    virtual int CompareSectionNames(const std::wstring& a, const std::wstring& b) const;

    int Count() const { return static_cast<int>(sections_.size()); }
    TSectionObj* Items(int index) const { return sections_.at(index).get(); }
    int Add(std::unique_ptr<TSectionObj> section);

private:
    std::vector<std::unique_ptr<TSectionObj>> sections_;
};
