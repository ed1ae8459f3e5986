#pragma once
// The binary search of the string lists and the Russian paradigm table.

// Index of the first of count sorted items that compares equal to a key, or -1 when none does.
// compareKeyWith(i) compares the key with item i: negative, zero or positive. The search runs to
// the end instead of stopping at a hit, so that of equal items the first is found.
template <class Compare> int FindFirstEqual(int count, Compare compareKeyWith) {
    int low = 0;
    int high = count - 1;
    bool found = false;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int c = compareKeyWith(middle);
        if (c > 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            found = found || c == 0;
        }
    }
    return found ? low : -1;
}
