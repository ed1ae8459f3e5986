#include "core/DictImage.h"

#include <cstring>

#include <gtest/gtest.h>

#include "tests/core/DictTestImages.h"

namespace {

using Image = std::vector<unsigned char>;

template <class T> void Poke(Image& image, size_t offset, T value) {
    std::memcpy(image.data() + offset, &value, sizeof value);
}

TDictCheck Check(const Image& image) {
    return CheckDictImage(image.data(), image.size());
}

Image Sample() {
    return MakeImage({Entry(L"алма", posNoun, 0, L"яблоко"), Entry(L"бал", posNoun, 1, L"мёд")});
}

} // namespace

TEST(DictImage, BuiltImagePassesAndShowsItsHeader) {
    const Image image = Sample();
    ASSERT_EQ(Check(image), TDictCheck::dcOk);
    EXPECT_EQ(DictImageId(image.data()), 7);
    EXPECT_EQ(DictImageCount(image.data()), 2);
    EXPECT_EQ(DictImagePoolOffset(image.data()), 40);
    EXPECT_STREQ(DictImageTitle(image.data()), L"Сынау");
    EXPECT_STREQ(DictImageAuthors(image.data()), L"Авторлар");
    EXPECT_STREQ(DictImageVersion(image.data()), L"1.0");
    EXPECT_EQ(Check(MakeImage({})), TDictCheck::dcOk);
}

TEST(DictImage, CorruptImagesAreRefused) {
    using DictLayout::HeaderSize;
    const Image good = Sample();

    EXPECT_EQ(CheckDictImage(nullptr, 0), TDictCheck::dcTooSmall);
    EXPECT_EQ(CheckDictImage(good.data(), HeaderSize - 1), TDictCheck::dcTooSmall);

    // Truncated anywhere past the header: the count, pool or final zero no longer fits.
    for (size_t size = HeaderSize; size < good.size(); ++size) {
        EXPECT_NE(CheckDictImage(good.data(), size), TDictCheck::dcOk) << size;
    }

    Image bad = good;
    Poke<int32_t>(bad, DictLayout::CountOffset, 1000);
    EXPECT_EQ(Check(bad), TDictCheck::dcBadCount);
    Poke<int32_t>(bad, DictLayout::CountOffset, -1);
    EXPECT_EQ(Check(bad), TDictCheck::dcBadCount);
    Poke<int32_t>(bad, DictLayout::CountOffset, INT32_MAX);
    EXPECT_EQ(Check(bad), TDictCheck::dcBadCount);

    bad = good;
    Poke<int32_t>(bad, DictLayout::PoolOffsetOffset, static_cast<int32_t>(good.size()));
    EXPECT_EQ(Check(bad), TDictCheck::dcBadPoolOffset);
    Poke<int32_t>(bad, DictLayout::PoolOffsetOffset, 20); // inside the index
    EXPECT_EQ(Check(bad), TDictCheck::dcBadPoolOffset);
    Poke<int32_t>(bad, DictLayout::PoolOffsetOffset, -2);
    EXPECT_EQ(Check(bad), TDictCheck::dcBadPoolOffset);
    Poke<int32_t>(bad, DictLayout::PoolOffsetOffset, 41);
    EXPECT_EQ(Check(bad), TDictCheck::dcBadPoolOffset);

    bad = good;
    Poke<int32_t>(bad, HeaderSize + 20 + 4, 10000); // article of entry 1
    EXPECT_EQ(Check(bad), TDictCheck::dcBadTextOffset);
    bad = good;
    Poke<int32_t>(bad, HeaderSize, -1); // headword of entry 0
    EXPECT_EQ(Check(bad), TDictCheck::dcBadTextOffset);

    bad = good;
    bad[bad.size() - 2] = 'x';
    EXPECT_EQ(Check(bad), TDictCheck::dcPoolNotTerminated);

    bad = good;
    bad[DictLayout::DirectionOffset] = 2;
    EXPECT_EQ(Check(bad), TDictCheck::dcBadDirection);

    bad = good;
    for (size_t i = 0; i < 64; ++i) {
        Poke<wchar_t>(bad, DictLayout::VersionOffset + 2 * i, L'9');
    }
    EXPECT_EQ(Check(bad), TDictCheck::dcUnterminatedField);
}

TEST(DictImage, VersionAndReservedFieldReadTheSame) {
    DictSource source;
    source.Version = std::wstring(40, L'7'); // longer than the builder keeps
    const Image image = BuildDictImage(source);
    EXPECT_EQ(std::wstring(DictImageVersion(image.data())), std::wstring(31, L'7'));
    for (size_t i = 840; i < 904; ++i) {
        ASSERT_EQ(image[i], 0) << i;
    }
}

// The search is binary: a swapped pair would leave most headwords unfindable.
TEST(DictImage, IndexOutOfTatarOrderIsRefused) {
    const Image good = MakeImage({Entry(L"ай", posNoun), Entry(L"Ай", posNoun), Entry(L"алма", posNoun),
                                  Entry(L"бал", posNoun), Entry(L"өй", posNoun)});
    ASSERT_EQ(Check(good), TDictCheck::dcOk); // ай and Ай are equal in Tatar order
    const struct { size_t First, Second; } swaps[] = {{2, 3}, {3, 4}, {0, 4}};
    for (const auto& swap : swaps) {
        Image bad = good;
        std::swap_ranges(bad.begin() + DictLayout::HeaderSize + swap.First * DictLayout::EntrySize,
                         bad.begin() + DictLayout::HeaderSize + (swap.First + 1) * DictLayout::EntrySize,
                         bad.begin() + DictLayout::HeaderSize + swap.Second * DictLayout::EntrySize);
        EXPECT_EQ(Check(bad), TDictCheck::dcOutOfOrder) << swap.First << "," << swap.Second;
    }
    EXPECT_STREQ(DictCheckText(TDictCheck::dcOutOfOrder), L"the index is not in Tatar order");
}

TEST(DictImage, HomonymsStandByTheirNumerals) {
    DictSource source;
    source.Entries = {Entry(L"бал", posNoun, 2, L"балл"), Entry(L"алма", posNoun, 0), Entry(L"бал", posNoun, 3, L"бал"),
                      Entry(L"бал", posNoun, 1, L"мёд")};
    const Image image = BuildDictImage(source);
    int32_t homonyms[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        TDictEntry entry;
        std::memcpy(&entry, image.data() + DictLayout::HeaderSize + i * DictLayout::EntrySize, sizeof entry);
        homonyms[i] = entry.Homonym;
    }
    EXPECT_EQ(std::vector<int32_t>(homonyms, homonyms + 4), (std::vector<int32_t>{0, 1, 2, 3}));
}
