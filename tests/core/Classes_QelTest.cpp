#include "core/Classes_Qel.h"

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/win32/SystemText.h"

namespace {

TWideStringList* MakeList(std::initializer_list<const wchar_t*> lines, TWideStringList* list) {
    for (const wchar_t* line : lines) {
        list->Add(line);
    }
    return list;
}

std::vector<std::wstring> Lines(const TWideStrings& list) {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.Count(); ++i) {
        out.push_back(list.Get(i));
    }
    return out;
}

std::vector<intptr_t> Objects(const TWideStrings& list) {
    std::vector<intptr_t> out;
    for (int i = 0; i < list.Count(); ++i) {
        out.push_back(reinterpret_cast<intptr_t>(list.GetObject(i)));
    }
    return out;
}

std::wstring ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EStringListError& e) {
        return e.Message();
    }
    return L"(none)";
}

int Ordinal(const void*, const wchar_t* a, const wchar_t* b) {
    const int c = std::wcscmp(a, b);
    return (c > 0) - (c < 0);
}

TListObject Obj(intptr_t n) {
    return reinterpret_cast<TListObject>(n);
}

} // namespace

TEST(StringList, CapacityGrowsByTheListsOwnSteps) {
    TWideStringList list;
    std::vector<int> seen;
    for (int i = 0; i < 118; ++i) {
        list.Add(L"x");
        if (seen.empty() || seen.back() != list.GetCapacity()) {
            seen.push_back(list.GetCapacity());
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    list.Clear();
    EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TWideStringList list;
    MakeList({L"a", L"b", L"c"}, &list);
    EXPECT_EQ(ErrorOf([&] { list.Get(-1); }), L"List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { list.Get(3); }), L"List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.GetObject(3); }), L"List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.Put(5, L"z"); }), L"List index out of bounds (5)");
    EXPECT_EQ(ErrorOf([&] { list.PutObject(-2, nullptr); }), L"List index out of bounds (-2)");
    EXPECT_EQ(ErrorOf([&] { list.Delete(3); }), L"List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.Exchange(7, 9); }), L"List index out of bounds (7)");
    EXPECT_EQ(ErrorOf([&] { list.Exchange(0, 9); }), L"List index out of bounds (9)");
    EXPECT_EQ(ErrorOf([&] { list.InsertObject(4, L"z", nullptr); }), L"List index out of bounds (4)");
    list.InsertObject(3, L"d", Obj(7));
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(list.GetObject(3), Obj(7));
}

TEST(StringList, SortedModeRefusesPositionalChangesBeforeCheckingTheIndex) {
    TWideStringList list;
    list.Sorted = true;
    list.AddObject(L"b", nullptr);
    list.AddObject(L"a", nullptr);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(ErrorOf([&] { list.Put(99, L"z"); }), L"Operation not allowed on sorted list");
    EXPECT_EQ(ErrorOf([&] { list.InsertObject(99, L"z", nullptr); }), L"Operation not allowed on sorted list");
    EXPECT_EQ(ErrorOf([&] { list.Insert(0, L"z"); }), L"Operation not allowed on sorted list");
    EXPECT_TRUE(list.Sorted);
    EXPECT_EQ(list.Count(), 2);
}

TEST(StringList, SortedDuplicatesModes) {
    TWideStringList ignore;
    ignore.Sorted = true;
    ignore.AddObject(L"a", nullptr);
    ignore.AddObject(L"c", nullptr);
    EXPECT_EQ(ignore.AddObject(L"C", Obj(1)), 1);
    EXPECT_EQ(ignore.Count(), 2);
    EXPECT_EQ(ignore.IndexOf(L"A"), 0);
    EXPECT_EQ(ignore.IndexOf(L"b"), -1);

    TWideStringList error;
    error.Sorted = true;
    error.Duplicates = dupError;
    error.AddObject(L"a", nullptr);
    EXPECT_EQ(ErrorOf([&] { error.AddObject(L"A", nullptr); }), L"String list does not allow duplicates");
    EXPECT_EQ(error.Count(), 1);

    TWideStringList accept;
    accept.Sorted = true;
    accept.Duplicates = dupAccept;
    accept.AddObject(L"a", Obj(1));
    accept.AddObject(L"b", Obj(2));
    EXPECT_EQ(accept.AddObject(L"B", Obj(3)), 1); // in front of the equal line
    EXPECT_EQ(accept.GetObject(1), Obj(3));
    EXPECT_EQ(accept.GetObject(2), Obj(2));

    accept.Add(L"0"); // still placed in order, then sorted mode ends
    EXPECT_FALSE(accept.Sorted);
    EXPECT_EQ(accept.Get(0), L"0");
}

TEST(StringList, FindReportsTheFirstOfEqualLines) {
    TWideStringList list;
    MakeList({L"a", L"b", L"b", L"c"}, &list);
    int index = 99;
    EXPECT_TRUE(list.Find(L"B", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find(L"bb", index));
    EXPECT_EQ(index, -1);
    TWideStringList empty;
    EXPECT_FALSE(empty.Find(L"a", index));
    EXPECT_EQ(index, -1);
}

TEST(StringList, FindInsertPosition) {
    TWideStringList list;
    MakeList({L"a", L"b", L"b", L"c"}, &list);
    EXPECT_EQ(list.FindInsertPos(L"b", {}), 3);
    TWideStringList same;
    MakeList({L"b", L"b", L"b", L"b", L"b"}, &same);
    EXPECT_EQ(same.FindInsertPos(L"b", {}), 1);
    TWideStringList two;
    MakeList({L"b", L"c"}, &two);
    EXPECT_EQ(two.FindInsertPos(L"a", {}), 0);
    EXPECT_EQ(two.FindInsertPos(L"d", {}), 2);
    TWideStringList empty;
    EXPECT_EQ(empty.FindInsertPos(L"a", {}), 0);
}

TEST(StringList, SortedInsertionAndReplacement) {
    TWideStringList list;
    MakeList({L"a", L"c"}, &list);
    EXPECT_EQ(list.AddSorted(L"b"), 1);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b", L"c"}));

    TWideStringList mn;
    mn.AddObject(L"m", Obj(5));
    mn.AddObject(L"n", Obj(6));
    std::vector<std::pair<TListObject, std::wstring>> replaced;
    mn.OnReplaced = [&](TListObject o, const std::wstring& t) { replaced.push_back({o, t}); };
    EXPECT_EQ(mn.ReplaceSorted(0, L"z"), 1);
    EXPECT_EQ(Lines(mn), (std::vector<std::wstring>{L"n", L"z"}));
    EXPECT_EQ(mn.GetObject(1), Obj(5));
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_EQ(replaced[0].first, Obj(5));
    EXPECT_EQ(replaced[0].second, L"z");

    EXPECT_EQ(mn.AddObjectSorted(L"p", Obj(9)), 1);
    EXPECT_EQ(mn.GetObject(1), Obj(9));
}

TEST(StringList, NamesAndValues) {
    TWideStringList names;
    EXPECT_EQ(names.CompareNames(L"abc\tx", L"ABC\ty"), 0);
    EXPECT_EQ(names.CompareNames(L"ab", L"ab\tz"), 0);
    EXPECT_LT(names.CompareNames(L"ab\tz", L"b"), 0);

    TWideStringList list;
    MakeList({L"a=1", L"KEY=2", L"key"}, &list);
    EXPECT_EQ(list.IndexOfName(L"key"), 1);
    EXPECT_EQ(list.IndexOfName(L"k"), -1);
    list.Delete(1);
    EXPECT_EQ(list.IndexOfName(L"key"), -1); // a line without '=' never matches
    list.SetNameValueSeparator(L':');
    list.Add(L"key:3");
    EXPECT_EQ(list.IndexOfName(L"KEY"), 2);
}

TEST(StringList, UpdateBracketsHoldEventsBack) {
    TWideStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TWideStrings*) { ++changing; };
    list.OnChange = [&](TWideStrings*) { ++changed; };
    list.BeginUpdate();
    list.BeginUpdate();
    for (int i = 0; i < 5; ++i) {
        list.Add(L"x");
    }
    list.EndUpdate();
    EXPECT_EQ(changed, 0);
    list.EndUpdate();
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(list.Modified);

    changing = changed = 0;
    list.Delete(0);
    list.Put(0, L"y");
    list.PutObject(0, Obj(1));
    list.Exchange(0, 1);
    EXPECT_EQ(changing, 4);
    EXPECT_EQ(changed, 4);

    changing = changed = 0;
    EXPECT_THROW(list.Delete(100), EStringListError);
    EXPECT_EQ(changing + changed, 0); // a failed operation sends nothing

    TWideStringList empty;
    empty.OnChanging = [&](TWideStrings*) { ++changing; };
    empty.Clear();
    EXPECT_EQ(changing, 0);
}

TEST(StringList, DestructionSendsNoEvents) {
    int events = 0;
    {
        TWideStringList list;
        list.Add(L"a");
        list.OnChanging = [&](TWideStrings*) { ++events; };
        list.OnChange = [&](TWideStrings*) { ++events; };
    }
    EXPECT_EQ(events, 0);
}

TEST(StringList, SortingMovingAndComparing) {
    // Each line keeps its object through the exchanges of the sort.
    struct Case {
        TWideCompare compare;
        std::vector<std::wstring> lines;
        std::vector<intptr_t> objects;
    };
    const Case cases[] = {
        {{}, {L"a", L"B", L"c", L"д", L"Е"}, {2, 3, 1, 4, 5}},                 // the system compare ignores case
        {{Ordinal, nullptr}, {L"B", L"a", L"c", L"Е", L"д"}, {3, 2, 1, 5, 4}}, // code units put capitals first
    };
    for (const Case& c : cases) {
        TWideStringList list;
        int object = 0;
        for (const wchar_t* line : {L"c", L"a", L"B", L"д", L"Е"}) {
            list.AddObject(line, Obj(++object));
        }
        list.CustomSort(c.compare);
        EXPECT_EQ(Lines(list), c.lines);
        EXPECT_EQ(Objects(list), c.objects);
    }

    TWideStringList abc;
    MakeList({L"a", L"b", L"c"}, &abc);
    abc.Move(0, 2);
    EXPECT_EQ(Lines(abc), (std::vector<std::wstring>{L"b", L"c", L"a"}));

    TWideStringList range;
    MakeList({L"z", L"d", L"c", L"b", L"a"}, &range);
    range.SortRange(1, 3, {});
    EXPECT_EQ(Lines(range), (std::vector<std::wstring>{L"z", L"b", L"c", L"d", L"a"}));

    TWideStringList small, big;
    small.Add(L"a");
    big.Add(L"A");
    EXPECT_FALSE(small.Equals(big));
    TWideStringList e1, e2;
    EXPECT_TRUE(e1.Equals(e2));
}

TEST(StringList, AddStringsAndAssign) {
    TWideStringList source;
    source.AddObject(L"c", Obj(3));
    source.AddObject(L"a", Obj(1));
    source.SetNameValueSeparator(L':');
    source.ExtraFlag = 7;
    source.WriteBOM = true;

    TWideStringList plain;
    plain.Add(L"b");
    plain.AddStrings(source);
    EXPECT_EQ(Lines(plain), (std::vector<std::wstring>{L"b", L"c", L"a"}));

    TWideStringList sorted;
    sorted.Add(L"b");
    sorted.AddStrings(source, {Ordinal, nullptr});
    EXPECT_EQ(Lines(sorted), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(sorted.GetObject(0), Obj(1));

    TWideStringList copy;
    copy.Add(L"old");
    int changed = 0;
    copy.OnChange = [&](TWideStrings*) { ++changed; };
    copy.Assign(source);
    EXPECT_EQ(Lines(copy), (std::vector<std::wstring>{L"c", L"a"}));
    EXPECT_EQ(copy.GetNameValueSeparator(), L':');
    EXPECT_EQ(copy.ExtraFlag, 7);
    EXPECT_FALSE(copy.WriteBOM);
    EXPECT_EQ(changed, 1);
}

// The sorted operations must keep any list ordered, whatever is added, and agree with a
// plain reference: a sorted vector searched with the same compare.
TEST(StringList, RandomSortedInsertionStaysOrdered) {
    std::mt19937 random(12345);
    const std::wstring letters = L"aAbBвВәӘz";
    TWideStringList list;
    std::vector<std::wstring> reference;
    for (int step = 0; step < 2000; ++step) {
        std::wstring text;
        const int length = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < length; ++k) {
            text += letters[random() % letters.size()];
        }
        const int index = list.AddSorted(text);
        ASSERT_EQ(list.Get(index), text);
        reference.insert(std::upper_bound(reference.begin(), reference.end(), text,
                                          [&](const std::wstring& a, const std::wstring& b) {
                                              return list.CompareStrings(a, b) < 0;
                                          }),
                         text);
        if (step % 50 == 0 && list.Count() > 1) {
            list.Delete(static_cast<int>(random() % list.Count()));
            reference.clear();
            for (int i = 0; i < list.Count(); ++i) {
                reference.push_back(list.Get(i));
            }
        }
    }
    ASSERT_EQ(list.Count(), static_cast<int>(reference.size()));
    for (int i = 0; i + 1 < list.Count(); ++i) {
        ASSERT_LE(list.CompareStrings(list.Get(i), list.Get(i + 1)), 0) << i;
        ASSERT_EQ(list.CompareStrings(list.Get(i), reference[i]), 0) << i;
    }
    for (const auto& probe : {L"a", L"ВВ", L"zz", L"ә"}) {
        int index;
        const bool found = list.Find(probe, index);
        const auto it = std::lower_bound(reference.begin(), reference.end(), std::wstring(probe),
                                         [&](const std::wstring& a, const std::wstring& b) {
                                             return list.CompareStrings(a, b) < 0;
                                         });
        const bool expected = it != reference.end() && list.CompareStrings(*it, probe) == 0;
        EXPECT_EQ(found, expected) << probe;
        if (found) {
            EXPECT_EQ(index, it - reference.begin());
        }
    }
}

// Exact lookups stand in for searches with the system compare only for texts of small letters;
// this holds only if no two different small letters compare equal.
TEST(SystemCompare, SmallLettersCompareEqualOnlyToThemselves) {
    const std::wstring letters = L"абвгдеёжзийклмнопрстуфхцчшщъыьэюяәөүҗңһ";
    const std::wstring capitals = L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯӘӨҮҖҢҺ";
    ASSERT_TRUE(IsPlainSmallCyrillic(letters.data(), letters.size()));
    EXPECT_FALSE(IsPlainSmallCyrillic(capitals.data(), 1));
    EXPECT_FALSE(IsPlainSmallCyrillic(L"a", 1));
    EXPECT_FALSE(IsPlainSmallCyrillic(L"-", 1));
    for (size_t i = 0; i < letters.size(); ++i) {
        const wchar_t a[] = {letters[i], 0}, upper[] = {capitals[i], 0};
        EXPECT_EQ(SystemCompareIgnoreCase(a, upper), 0) << i;
        for (size_t j = 0; j < letters.size(); ++j) {
            const wchar_t b[] = {letters[j], 0};
            if (i != j) {
                ASSERT_NE(SystemCompareIgnoreCase(a, b), 0) << i << " " << j;
            }
        }
    }
}
