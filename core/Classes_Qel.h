#pragma once
// UTF-16 string lists: ordered lines, each with one attached object value that the list stores
// but never owns. TWideStrings fixes the operations and builds most of them on five abstract
// ones; TWideStringList stores the lines itself.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;
class TWideStrings;

using TListObject = void*; // an object reference, pointer or integer belonging to the caller

// Compare of two zero-terminated texts: -1, 0 or +1. An absent Function means the list's own
// CompareStrings (except in AddStrings, where it means "do not sort").
struct TWideCompare {
    using FunctionType = int (*)(const void* context, const wchar_t* a, const wchar_t* b);
    FunctionType Function = nullptr;
    const void* Context = nullptr;
};

using TNotifyEvent = std::function<void(TWideStrings* sender)>;
using TReplacedEvent = std::function<void(TListObject object, const std::wstring& text)>;

enum TDuplicates : uint8_t { dupIgnore = 0, dupAccept = 1, dupError = 2 };

// An outside adapter bound to a list; nothing in the programs binds one.
class IWideStringsAdapter {
public:
    virtual ~IWideStringsAdapter() = default;
    virtual void ReferenceStrings(TWideStrings* strings) = 0;
    virtual void ReleaseStrings() = 0;
};

class TWideStrings {
public:
    static constexpr uint8_t sdNameValueSeparator = 4;

    TWideStrings() = default;
    TWideStrings(const TWideStrings&) = delete;
    TWideStrings& operator=(const TWideStrings&) = delete;
    virtual ~TWideStrings();

    // Abstract base operations.
    virtual std::wstring Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const std::wstring& text) = 0;

    virtual int GetCapacity() const { return GetCount(); }
    virtual TListObject GetObject(int /*index*/) const { return nullptr; }
    virtual std::wstring GetTextStr() const;
    virtual void Put(int index, const std::wstring& text);
    virtual void PutObject(int /*index*/, TListObject /*object*/) {}
    virtual void SetCapacity(int /*capacity*/) {}
    virtual void SetTextStr(const std::wstring& text);
    virtual void SetUpdateState(bool /*updating*/) {}
    virtual int CompareStrings(const std::wstring& a, const std::wstring& b) const;
    virtual int Add(const std::wstring& text);
    virtual int AddObject(const std::wstring& text, TListObject object);
    virtual void AddStrings(const TWideStrings& source, TWideCompare compare = {});
    virtual void Exchange(int index1, int index2);
    virtual bool Find(const std::wstring& text, int& index, TWideCompare compare = {}) const;
    virtual int IndexOf(const std::wstring& text) const;
    virtual int IndexOfName(const std::wstring& name) const;
    virtual int IndexOfObject(TListObject object) const;
    virtual int AddSorted(const std::wstring& text, TWideCompare compare = {});
    virtual void InsertObject(int index, const std::wstring& text, TListObject object);
    virtual int AddObjectSorted(const std::wstring& text, TListObject object, TWideCompare compare = {});
    virtual void CustomSort(TWideCompare compare);
    virtual void Sort(TWideCompare compare);
    virtual void SortRange(int low, int high, TWideCompare compare);
    virtual void CustomSortRange(int low, int high, TWideCompare compare);
    virtual void LoadFromFile(const std::wstring& fileName);
    virtual void LoadFromStream(TStream& stream);
    virtual void Move(int currentIndex, int newIndex);
    virtual void SaveToFile(const std::wstring& fileName);
    virtual void SaveToStream(TStream& stream) const;
    virtual int CompareNames(const std::wstring& a, const std::wstring& b) const;

    void Assign(const TWideStrings& source);
    void BeginUpdate();
    void EndUpdate();
    bool Equals(const TWideStrings& other) const;
    [[noreturn]] static void Error(const wchar_t* format, long long value);
    wchar_t GetNameValueSeparator();
    void SetNameValueSeparator(wchar_t separator);
    bool BinarySearch(const std::wstring& text, int& index, TWideCompare compare) const;
    void QuickSort(int low, int high, TWideCompare compare);
    int FindInsertPos(const std::wstring& text, TWideCompare compare) const;
    int InsertSorted(const std::wstring& text, TWideCompare compare = {});
    int ReplaceSorted(int index, const std::wstring& text, TWideCompare compare = {});
    void SetAdapter(IWideStringsAdapter* adapter);

    int Count() const { return GetCount(); }
    std::wstring operator[](int index) const { return Get(index); }

    // Compare functions of the list's own kind, for TWideCompare.
    static int OwnCompare(const void* list, const wchar_t* a, const wchar_t* b);
    static int OwnCompareNames(const void* list, const wchar_t* a, const wchar_t* b);

    uint8_t Defined = 0;
    wchar_t Delimiter = 0;
    wchar_t QuoteChar = 0;
    wchar_t NameValueSeparator = 0;
    int UpdateCount = 0;
    IWideStringsAdapter* Adapter = nullptr;
    bool Modified = false;
    bool WriteBOM = false;
    TReplacedEvent OnReplaced;
    uint8_t ExtraFlag = 0;
    std::wstring FileName;

protected:
    // An absent compare function becomes the list's own.
    TWideCompare Resolve(TWideCompare compare) const;
    int CompareWith(TWideCompare compare, const std::wstring& a, const std::wstring& b) const {
        return compare.Function(compare.Context, a.c_str(), b.c_str());
    }
};

struct TWideStringItem {
    std::wstring Text;
    TListObject Object = nullptr;
};

class TWideStringList : public TWideStrings {
public:
    TWideStringList() = default;
    ~TWideStringList() override;

    std::wstring Get(int index) const override;
    int GetCount() const override { return count_; }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::wstring& text) override;

    int GetCapacity() const override { return capacity_; }
    TListObject GetObject(int index) const override;
    void Put(int index, const std::wstring& text) override;
    void PutObject(int index, TListObject object) override;
    void SetCapacity(int capacity) override;
    void SetUpdateState(bool updating) override;
    int Add(const std::wstring& text) override;
    int AddObject(const std::wstring& text, TListObject object) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::wstring& text) const override;
    void InsertObject(int index, const std::wstring& text, TListObject object) override;

    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const std::wstring& text, TListObject object);

    void Grow();
    void ExchangeItems(int index1, int index2);

    // Direct read of a line's text, for searches that must not copy.
    const std::wstring& Strings(int index) const;

    bool Sorted = false;
    TDuplicates Duplicates = dupIgnore;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

private:
    void CheckIndex(int index) const;

    std::vector<TWideStringItem> items_;
    int count_ = 0;
    int capacity_ = 0;
};
