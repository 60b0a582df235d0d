#include "engine/catalogue/TypedURLs.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace {

struct TRawValue {
    std::wstring Name;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data; // as stored: strings stay UTF-16, byte for byte
};

// Every value of the key, whatever the sizes of its names and data: when a buffer is
// too small for a value, both grow and the same value is read again.
std::vector<TRawValue> ReadValues(HKEY key) {
    constexpr DWORD MaxName = 32768; // value names have at most 16383 characters
    std::vector<TRawValue> values;
    DWORD nameSize = 256, dataSize = 4096;
    for (DWORD i = 0;;) {
        std::wstring name(nameSize, L'\0');
        std::vector<BYTE> data(dataSize);
        DWORD nameLen = nameSize, dataLen = dataSize, type = 0;
        const LONG rc =
            RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
        if (rc == ERROR_MORE_DATA) {
            nameSize = std::min(nameSize * 2, MaxName);
            dataSize = std::max(dataSize * 2, dataLen);
            continue;
        }
        if (rc != ERROR_SUCCESS) break; // ERROR_NO_MORE_ITEMS
        name.resize(nameLen);
        data.resize(dataLen);
        values.push_back({name, type, std::move(data)});
        ++i;
    }
    return values;
}

// The number after the prefix ("url12": 12); names without one sort after all others.
uint64_t NumberOf(const std::wstring& name, const std::wstring& prefix) {
    constexpr uint64_t None = UINT64_MAX;
    if (name.size() <= prefix.size() || _wcsnicmp(name.c_str(), prefix.c_str(), prefix.size()) != 0)
        return None;
    uint64_t number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9' || number > (None - 9) / 10) return None;
        number = number * 10 + (name[i] - L'0');
    }
    return number;
}

} // namespace

TRenames RenumberValues(HKEY key, const std::string& prefix) {
    std::vector<TRawValue> values = ReadValues(key);
    const std::wstring widePrefix = ToWide(prefix);
    std::stable_sort(values.begin(), values.end(), [&](const TRawValue& a, const TRawValue& b) {
        return NumberOf(a.Name, widePrefix) < NumberOf(b.Name, widePrefix);
    });
    for (const TRawValue& v : values)
        RegDeleteValueW(key, v.Name.c_str());
    TRenames renames;
    for (size_t i = 0; i < values.size(); ++i) {
        const TRawValue& v = values[i];
        const std::string name = prefix + IntToStr(static_cast<int64_t>(i) + 1);
        RegSetValueExW(key, ToWide(name).c_str(), 0, v.Type, v.Data.data(),
                       static_cast<DWORD>(v.Data.size()));
        renames.emplace_back(ToUtf8(v.Name), name);
    }
    return renames;
}

void FollowRenames(std::vector<std::string>& names, const TRenames& renames) {
    for (std::string& name : names)
        for (const auto& [from, to] : renames)
            if (name == from) {
                name = to;
                break;
            }
}
