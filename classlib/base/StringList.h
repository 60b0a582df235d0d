#pragma once
// An ordered list of strings with optional attached pointers, sorting, name=value
// access and text/file round trips (lines separated by CR LF on save).
#include <string>
#include <vector>

class TStringList {
public:
    enum TDuplicates { dupIgnore, dupAccept, dupError };

    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& operator[](int i) const;
    [[nodiscard]] const std::string& Strings(int i) const { return (*this)[i]; }
    void SetString(int i, const std::string& s);
    [[nodiscard]] void* Objects(int i) const;
    void SetObject(int i, void* obj);

    int Add(const std::string& s, void* obj = nullptr); // sorted lists insert in order
    void Insert(int i, const std::string& s, void* obj = nullptr);
    void Delete(int i);
    void Clear() { FItems.clear(); }
    void Exchange(int a, int b);
    [[nodiscard]] int IndexOf(const std::string& s) const; // case-insensitive unless CaseSensitive
    [[nodiscard]] int IndexOfName(const std::string& name) const;

    // "Name=Value" lines.
    [[nodiscard]] std::string Names(int i) const;
    [[nodiscard]] std::string ValueFromIndex(int i) const;
    [[nodiscard]] std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    [[nodiscard]] std::string Text() const; // every line followed by CR LF
    void SetText(const std::string& text);  // splits at CR LF, LF or CR
    [[nodiscard]] std::string CommaText() const;
    void SetCommaText(const std::string& text);

    void LoadFromFile(const std::string& fileName);     // EFOpenError
    void SaveToFile(const std::string& fileName) const; // EFCreateError

    void Sort();
    bool Sorted = false;
    bool CaseSensitive = false;
    TDuplicates Duplicates = dupAccept; // used only when Sorted

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    struct TItem {
        std::string S;
        void* Obj = nullptr;
    };

private:
    [[nodiscard]] int Compare(const std::string& a, const std::string& b) const;
    [[nodiscard]] bool Find(const std::string& s, int& index) const; // binary search when sorted
    std::vector<TItem> FItems;
};
