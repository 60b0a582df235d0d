#include "classlib/base/StringList.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>

namespace {

[[noreturn]] void IndexError(int i) {
    throw EListError(Format("List index out of bounds (%d)", i));
}

bool NeedsQuotes(const std::string& s) {
    if (s.empty()) return true;
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
    });
}

std::string QuoteItem(const std::string& s) {
    return '"' + StringReplace(s, "\"", "\"\"") + '"';
}

} // namespace

const std::string& TStringList::operator[](int i) const {
    if (i < 0 || i >= Count()) IndexError(i);
    return FItems[i].S;
}

void TStringList::SetString(int i, const std::string& s) {
    if (i < 0 || i >= Count()) IndexError(i);
    if (Sorted) throw EListError("Operation not allowed on sorted list");
    FItems[i].S = s;
}

void* TStringList::Objects(int i) const {
    if (i < 0 || i >= Count()) IndexError(i);
    return FItems[i].Obj;
}

void TStringList::SetObject(int i, void* obj) {
    if (i < 0 || i >= Count()) IndexError(i);
    FItems[i].Obj = obj;
}

int TStringList::Add(const std::string& s, void* obj) {
    if (!Sorted) {
        FItems.push_back({s, obj});
        return Count() - 1;
    }
    int index;
    if (Find(s, index)) {
        if (Duplicates == dupIgnore) return index;
        if (Duplicates == dupError) throw EListError("String list does not allow duplicates");
    }
    FItems.insert(FItems.begin() + index, {s, obj});
    return index;
}

void TStringList::Insert(int i, const std::string& s, void* obj) {
    if (Sorted) throw EListError("Operation not allowed on sorted list");
    if (i < 0 || i > Count()) IndexError(i);
    FItems.insert(FItems.begin() + i, {s, obj});
}

void TStringList::Delete(int i) {
    if (i < 0 || i >= Count()) IndexError(i);
    FItems.erase(FItems.begin() + i);
}

void TStringList::Exchange(int a, int b) {
    if (a < 0 || a >= Count()) IndexError(a);
    if (b < 0 || b >= Count()) IndexError(b);
    std::swap(FItems[a], FItems[b]);
}

int TStringList::IndexOf(const std::string& s) const {
    int index;
    if (Sorted) return Find(s, index) ? index : -1;
    for (int i = 0; i < Count(); ++i)
        if (Compare(FItems[i].S, s) == 0) return i;
    return -1;
}

int TStringList::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = FItems[i].S;
        size_t eq = s.find('=');
        if (eq != std::string::npos && Compare(s.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStringList::Names(int i) const {
    const std::string& s = (*this)[i];
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int i) const {
    const std::string& s = (*this)[i];
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        FItems[i].S = name + "=" + value;
    }
}

std::string TStringList::Text() const {
    std::string r;
    for (const auto& item : FItems)
        r.append(item.S).append("\r\n");
    return r;
}

void TStringList::SetText(const std::string& text) {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string TStringList::CommaText() const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) r += ',';
        r += NeedsQuotes(FItems[i].S) ? QuoteItem(FItems[i].S) : FItems[i].S;
    }
    return r;
}

// Items are separated by commas or blanks; quoted items may hold both ("" is a quote).
void TStringList::SetCommaText(const std::string& text) {
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && !IsBlank(text[i]))
                item += text[i++];
        }
        Add(item);
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i < n && text[i] == ',') {
            ++i;
            while (i < n && IsBlank(text[i]))
                ++i;
            if (i == n) Add("");
        }
    }
}

void TStringList::LoadFromFile(const std::string& fileName) {
    SetText(ReadFileToString(fileName));
}

void TStringList::SaveToFile(const std::string& fileName) const {
    WriteStringToFile(fileName, Text());
}

void TStringList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TItem& a, const TItem& b) { return Compare(a.S, b.S) < 0; });
}

int TStringList::Compare(const std::string& a, const std::string& b) const {
    return CaseSensitive ? a.compare(b) : CompareText(a, b);
}

bool TStringList::Find(const std::string& s, int& index) const {
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int mid = (low + high) / 2;
        int c = Compare(FItems[mid].S, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) found = true; // keep going left: the first of equal items
        }
    }
    index = low;
    return found;
}
