#include "display/win32/OwnedHandle.h"

#include <utility>

#include <gtest/gtest.h>

namespace {

int freed = 0;
struct CountingDeleter {
    void operator()(int*) const { ++freed; }
};
using TOwnedCounted = TOwned<int*, CountingDeleter>;

} // namespace

TEST(OwnedHandle, MovesPassOwnershipAndFreeOnce) {
    int a = 0;
    int b = 0;
    freed = 0;
    {
        TOwnedCounted first(&a);
        TOwnedCounted second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), &a);
        EXPECT_EQ(freed, 0);

        TOwnedCounted third(&b);
        third = std::move(second); // frees b, takes a
        EXPECT_EQ(freed, 1);
        EXPECT_EQ(third.Get(), &a);
        EXPECT_FALSE(second);

        int* released = third.Release();
        EXPECT_EQ(released, &a);
        EXPECT_FALSE(third);
        third.Reset(&b);
    }
    EXPECT_EQ(freed, 2); // b once more at the end; a was released
}

TEST(OwnedHandle, FontObjectIsDeletedWithItsOwner) {
    LOGFONTW description = {};
    description.lfHeight = 12;
    HFONT font = nullptr;
    {
        TOwnedFont owned(CreateFontIndirectW(&description));
        font = owned.Get();
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST(OwnedHandle, SelectObjectPutsThePreviousObjectBack) {
    TOwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    LOGFONTW description = {};
    description.lfHeight = 12;
    TOwnedFont first(CreateFontIndirectW(&description));
    description.lfHeight = 20;
    TOwnedFont second(CreateFontIndirectW(&description));
    {
        TSelectObject selection(dc.Get(), first.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), first.Get());
        selection.Select(second.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), second.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
}
