#include "engine/TypedURLs.h"
#include "classlib/base/SysUtils.h"

namespace {

struct TRawValue {
    std::string Name;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
};

std::vector<TRawValue> ReadValues(HKEY key) {
    std::vector<TRawValue> values;
    DWORD maxName = 0, maxData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &maxName, &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        std::string name(maxName + 1, '\0');
        std::vector<BYTE> data(maxData + 1);
        DWORD nameLen = maxName + 1, dataLen = maxData + 1, type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
            ERROR_SUCCESS)
            break;
        name.resize(nameLen);
        data.resize(dataLen);
        values.push_back({name, type, std::move(data)});
    }
    return values;
}

} // namespace

TRenames RenumberValues(HKEY key, const std::string& prefix) {
    const std::vector<TRawValue> values = ReadValues(key);
    for (const TRawValue& v : values)
        RegDeleteValueA(key, v.Name.c_str());
    TRenames renames;
    for (size_t i = 0; i < values.size(); ++i) {
        const TRawValue& v = values[i];
        const std::string name = prefix + IntToStr(static_cast<int64_t>(i) + 1);
        RegSetValueExA(key, name.c_str(), 0, v.Type, v.Data.data(),
                       static_cast<DWORD>(v.Data.size()));
        renames.emplace_back(v.Name, name);
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
