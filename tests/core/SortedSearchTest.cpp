#include "core/SortedSearch.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

// Every sorted run of up to six items drawn from 1, 3 and 5, searched for every key from 0 to 6,
// agrees with std::lower_bound: runs of equal items give their first, other keys nothing.
TEST(SortedSearch, FindsTheFirstEqualItemOrNothing) {
    int runs = 0;
    for (int size = 0; size <= 6; ++size) {
        int combinations = 1;
        for (int i = 0; i < size; ++i) {
            combinations *= 3;
        }
        for (int code = 0; code < combinations; ++code) {
            std::vector<int> items;
            for (int i = 0, rest = code; i < size; ++i, rest /= 3) {
                items.push_back(1 + 2 * (rest % 3));
            }
            if (!std::is_sorted(items.begin(), items.end())) {
                continue;
            }
            ++runs;
            for (int key = 0; key <= 6; ++key) {
                const auto first = std::lower_bound(items.begin(), items.end(), key);
                const int expected =
                    first != items.end() && *first == key ? static_cast<int>(first - items.begin()) : -1;
                const int found =
                    FindFirstEqual(size, [&](int i) { return (key > items.at(i)) - (key < items.at(i)); });
                ASSERT_EQ(found, expected) << "size " << size << " run " << code << " key " << key;
            }
        }
    }
    EXPECT_EQ(runs, 84); // the multisets of up to six items from three values
}
