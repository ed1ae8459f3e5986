#pragma once
// Dictionary images as this process's dictionaries for the life of the object: each image is
// checked and kept, and both groups are emptied at the end.

#include <list>
#include <vector>

#include <gtest/gtest.h>

#include "core/Dictionary.h"

class TOpenDictionaries {
public:
    TOpenDictionaries() = default;
    TOpenDictionaries(const TOpenDictionaries&) = delete;
    TOpenDictionaries& operator=(const TOpenDictionaries&) = delete;
    ~TOpenDictionaries() { Close(); }

    // Appends the image to the group of its direction.
    TDictHandle& Open(std::vector<unsigned char> image) {
        std::vector<unsigned char>& kept = images_.emplace_back(std::move(image));
        EXPECT_EQ(CheckDictImage(kept.data(), kept.size()), TDictCheck::dcOk);
        TLangGroup& group = LangGroups[DictImageDirection(kept.data())];
        group.push_back(MakeDictHandle(kept.data()));
        return group.back();
    }
    void Close() {
        for (TLangGroup& group : LangGroups) {
            group.clear();
        }
        images_.clear();
    }

private:
    std::list<std::vector<unsigned char>> images_; // a list, so a kept image never moves
};
