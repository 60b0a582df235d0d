#include "engine/catalogue/TypedURLs.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>

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

} // namespace

TRenames RenumberValues(HKEY key, const std::string& prefix) {
    const std::vector<TRawValue> values = ReadValues(key);
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
