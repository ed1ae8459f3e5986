#include "core/Classes_Qel.h"

#include <algorithm>

#include "core/Exceptions.h"
#include "core/SortedSearch.h"
#include "core/win32/SystemText.h"

// ---- TWideStrings -------------------------------------------------------------------------

TWideStrings::~TWideStrings() {
    SetAdapter(nullptr);
}

int TWideStrings::OwnCompare(const void* list, const wchar_t* a, const wchar_t* b) {
    (void)list;
    return SystemCompareIgnoreCase(a, b);
}

int TWideStrings::OwnCompareNames(const void* list, const wchar_t* a, const wchar_t* b) {
    return static_cast<const TWideStrings*>(list)->CompareNames(a, b);
}

TWideCompare TWideStrings::Resolve(TWideCompare compare) const {
    if (compare.Function == nullptr) {
        compare.Function = [](const void* list, const wchar_t* a, const wchar_t* b) {
            return static_cast<const TWideStrings*>(list)->CompareStrings(a, b);
        };
        compare.Context = this;
    }
    return compare;
}

int TWideStrings::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return SystemCompareIgnoreCase(a.c_str(), b.c_str());
}

int TWideStrings::CompareNames(const std::wstring& a, const std::wstring& b) const {
    const std::wstring nameA = a.substr(0, a.find(L'\t'));
    const std::wstring nameB = b.substr(0, b.find(L'\t'));
    return SystemCompareIgnoreCase(nameA.c_str(), nameB.c_str());
}

void TWideStrings::Put(int index, const std::wstring& text) {
    const TListObject object = GetObject(index);
    Delete(index);
    InsertObject(index, text, object);
}

int TWideStrings::Add(const std::wstring& text) {
    const int index = GetCount();
    Insert(index, text);
    return index;
}

int TWideStrings::AddObject(const std::wstring& text, TListObject object) {
    const int index = Add(text);
    PutObject(index, object);
    Modified = true;
    return index;
}

void TWideStrings::AddStrings(const TWideStrings& source, TWideCompare compare) {
    BeginUpdate();
    try {
        for (int i = 0; i < source.GetCount(); ++i) {
            AddObject(source.Get(i), source.GetObject(i));
        }
        if (compare.Function != nullptr) {
            CustomSort(compare);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::Assign(const TWideStrings& source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    try {
        Clear();
        Defined = source.Defined;
        NameValueSeparator = source.NameValueSeparator;
        QuoteChar = source.QuoteChar;
        Delimiter = source.Delimiter;
        Modified = source.Modified;
        ExtraFlag = source.ExtraFlag;
        AddStrings(source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    try {
        const std::wstring text = Get(index1);
        const TListObject object = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, text);
        PutObject(index2, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TWideStrings::Find(const std::wstring& text, int& index, TWideCompare compare) const {
    return BinarySearch(text, index, compare);
}

bool TWideStrings::BinarySearch(const std::wstring& text, int& index, TWideCompare compare) const {
    compare = Resolve(compare);
    index = FindFirstEqual(GetCount(), [&](int i) { return CompareWith(compare, text, Get(i)); });
    return index >= 0;
}

int TWideStrings::IndexOf(const std::wstring& text) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (CompareStrings(Get(i), text) == 0) {
            return i;
        }
    }
    return -1;
}

int TWideStrings::IndexOfName(const std::wstring& name) const {
    const wchar_t separator = const_cast<TWideStrings*>(this)->GetNameValueSeparator();
    for (int i = 0; i < GetCount(); ++i) {
        const std::wstring line = Get(i);
        const auto at = line.find(separator);
        if (at != std::wstring::npos && CompareStrings(line.substr(0, at), name) == 0) {
            return i;
        }
    }
    return -1;
}

int TWideStrings::IndexOfObject(TListObject object) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetObject(i) == object) {
            return i;
        }
    }
    return -1;
}

void TWideStrings::InsertObject(int index, const std::wstring& text, TListObject object) {
    Insert(index, text);
    PutObject(index, object);
}

int TWideStrings::FindInsertPos(const std::wstring& text, TWideCompare compare) const {
    compare = Resolve(compare);
    const int n = GetCount() - 1;
    if (n < 0) {
        return 0;
    }
    int pos = 0;
    int right = n;
    int left = 0;
    int step;
    int c;
    do {
        c = CompareWith(compare, text, Get(pos));
        if (c == 0) {
            step = 0;
        } else if (c > 0) {
            step = (right + 1) / 2;
            right -= step;
            left = step - 1;
            pos += step;
        } else {
            step = (left + 1) / 2;
            left -= step;
            right = step - 1;
            pos -= step;
        }
    } while (step != 0);
    if (c >= 0) {
        ++pos;
    }
    return pos;
}

int TWideStrings::InsertSorted(const std::wstring& text, TWideCompare compare) {
    const int index = FindInsertPos(text, Resolve(compare));
    Insert(index, text);
    return index;
}

int TWideStrings::AddSorted(const std::wstring& text, TWideCompare compare) {
    return InsertSorted(text, compare);
}

int TWideStrings::AddObjectSorted(const std::wstring& text, TListObject object, TWideCompare compare) {
    const int index = AddSorted(text, compare);
    PutObject(index, object);
    return index;
}

int TWideStrings::ReplaceSorted(int index, const std::wstring& text, TWideCompare compare) {
    const TListObject object = GetObject(index);
    Delete(index);
    const int newIndex = AddObjectSorted(text, object, compare);
    if (OnReplaced) {
        OnReplaced(object, text);
    }
    return newIndex;
}

void TWideStrings::QuickSort(int low, int high, TWideCompare compare) {
    if (high < low) {
        return;
    }
    int i;
    do {
        i = low;
        int j = high;
        int p = (low + high) / 2;
        do {
            // The pivot is an index, re-read at every compare, because exchanges move its line.
            while (CompareWith(compare, Get(i), Get(p)) < 0) {
                ++i;
            }
            while (CompareWith(compare, Get(j), Get(p)) > 0) {
                --j;
            }
            if (i <= j) {
                Exchange(i, j);
                if (p == i) {
                    p = j;
                } else if (p == j) {
                    p = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (low < j) {
            QuickSort(low, j, compare);
        }
        low = i;
    } while (i < high);
}

void TWideStrings::CustomSort(TWideCompare compare) {
    QuickSort(0, GetCount() - 1, Resolve(compare));
}

void TWideStrings::Sort(TWideCompare compare) {
    CustomSort(compare);
}

void TWideStrings::SortRange(int low, int high, TWideCompare compare) {
    QuickSort(low, high, Resolve(compare));
}

void TWideStrings::CustomSortRange(int low, int high, TWideCompare compare) {
    SortRange(low, high, compare);
}

void TWideStrings::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) {
        return;
    }
    BeginUpdate();
    try {
        const std::wstring text = Get(currentIndex);
        const TListObject object = GetObject(currentIndex);
        Delete(currentIndex);
        InsertObject(newIndex, text, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::BeginUpdate() {
    if (UpdateCount == 0) {
        SetUpdateState(true);
    }
    ++UpdateCount;
}

void TWideStrings::EndUpdate() {
    --UpdateCount;
    if (UpdateCount == 0) {
        SetUpdateState(false);
    }
}

bool TWideStrings::Equals(const TWideStrings& other) const {
    if (GetCount() != other.GetCount()) {
        return false;
    }
    for (int i = 0; i < GetCount(); ++i) {
        if (Get(i) != other.Get(i)) {
            return false;
        }
    }
    return true;
}

void TWideStrings::Error(const wchar_t* format, long long value) {
    throw EStringListError(FormatMessageText(format, value));
}

wchar_t TWideStrings::GetNameValueSeparator() {
    if ((Defined & sdNameValueSeparator) == 0) {
        SetNameValueSeparator(L'=');
    }
    return NameValueSeparator;
}

void TWideStrings::SetNameValueSeparator(wchar_t separator) {
    if (separator != NameValueSeparator || (Defined & sdNameValueSeparator) == 0) {
        Defined |= sdNameValueSeparator;
        NameValueSeparator = separator;
    }
}

void TWideStrings::SetAdapter(IWideStringsAdapter* adapter) {
    if (Adapter != nullptr) {
        Adapter->ReleaseStrings();
    }
    Adapter = adapter;
    if (Adapter != nullptr) {
        Adapter->ReferenceStrings(this);
    }
}

// ---- TWideStringList -------------------------------------------------------------------------

TWideStringList::~TWideStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TWideStringList::CheckIndex(int index) const {
    if (index < 0 || index >= count_) {
        Error(SListIndexError, index);
    }
}

const std::wstring& TWideStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[index].Text;
}

std::wstring TWideStringList::Get(int index) const {
    return Strings(index);
}

TListObject TWideStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[index].Object;
}

void TWideStringList::Changed() {
    Modified = true;
    if (UpdateCount == 0 && OnChange) {
        OnChange(this);
    }
}

void TWideStringList::Changing() {
    if (UpdateCount == 0 && OnChanging) {
        OnChanging(this);
    }
}

void TWideStringList::SetUpdateState(bool updating) {
    if (updating) {
        Changing();
    } else {
        Changed();
    }
}

void TWideStringList::Put(int index, const std::wstring& text) {
    if (Sorted) {
        Error(SSortedListError, 0);
    }
    CheckIndex(index);
    Changing();
    items_[index].Text = text;
    Changed();
}

void TWideStringList::PutObject(int index, TListObject object) {
    CheckIndex(index);
    Changing();
    items_[index].Object = object;
    Changed();
}

void TWideStringList::SetCapacity(int capacity) {
    // A capacity below the line count would drop lines; the lists never ask for one.
    capacity = std::max(capacity, count_);
    items_.resize(capacity);
    if (capacity == 0) {
        items_.shrink_to_fit();
    }
    capacity_ = capacity;
}

void TWideStringList::Grow() {
    const int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

int TWideStringList::Add(const std::wstring& text) {
    const int index = AddObject(text, nullptr);
    Sorted = false;
    return index;
}

int TWideStringList::AddObject(const std::wstring& text, TListObject object) {
    int index = count_;
    if (Sorted) {
        if (Find(text, index)) {
            if (Duplicates == dupIgnore) {
                return index;
            }
            if (Duplicates == dupError) {
                Error(SDuplicateString, 0);
            }
        } else {
            index = FindInsertPos(text, {});
        }
    }
    InsertItem(index, text, object);
    return index;
}

void TWideStringList::Insert(int index, const std::wstring& text) {
    InsertObject(index, text, nullptr);
    Sorted = false;
}

void TWideStringList::InsertObject(int index, const std::wstring& text, TListObject object) {
    if (Sorted) {
        Error(SSortedListError, 0);
    }
    if (index < 0 || index > count_) {
        Error(SListIndexError, index);
    }
    InsertItem(index, text, object);
}

void TWideStringList::InsertItem(int index, const std::wstring& text, TListObject object) {
    Changing();
    if (count_ == capacity_) {
        Grow();
    }
    std::move_backward(items_.begin() + index, items_.begin() + count_, items_.begin() + count_ + 1);
    items_[index] = TWideStringItem{text, object};
    ++count_;
    Changed();
}

void TWideStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    std::move(items_.begin() + index + 1, items_.begin() + count_, items_.begin() + index);
    --count_;
    items_[count_] = TWideStringItem{};
    Changed();
}

void TWideStringList::Clear() {
    if (count_ == 0) {
        return;
    }
    Changing();
    count_ = 0;
    SetCapacity(0);
    Changed();
}

void TWideStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    ExchangeItems(index1, index2);
    Changed();
    Sorted = false;
}

void TWideStringList::ExchangeItems(int index1, int index2) {
    std::swap(items_[index1], items_[index2]);
}

int TWideStringList::IndexOf(const std::wstring& text) const {
    if (!Sorted) {
        return TWideStrings::IndexOf(text);
    }
    int index;
    return Find(text, index) ? index : -1;
}
