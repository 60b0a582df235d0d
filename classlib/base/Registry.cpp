#include "classlib/base/Registry.h"
#include "classlib/base/Exceptions.h"
#include <cstring>

namespace {

[[noreturn]] void GetDataFailed(const std::string& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}

[[noreturn]] void InvalidType(const std::string& name) {
    throw ERegistryException("Invalid data type for '" + name + "'");
}

// The raw data and type of a value; false when it cannot be read.
bool QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& data) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    while (true) {
        data.resize(size);
        LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA) return false; // the value grew in between: try again
    }
}

} // namespace

TRegistry::TRegistry(REGSAM access) : Access(access) {}

TRegistry::~TRegistry() = default;

HKEY TRegistry::BaseFor(const std::string& key, std::string& relative) const {
    bool fromRoot = !key.empty() && key[0] == '\\';
    relative = fromRoot ? key.substr(1) : key;
    return fromRoot || !FCurrentKey ? RootKey : FCurrentKey.Get();
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string relative;
    HKEY base = BaseFor(key, relative);
    HKEY opened = nullptr;
    LONG rc = canCreate ? RegCreateKeyExA(base, relative.c_str(), 0, nullptr, 0, Access, nullptr,
                                          &opened, nullptr)
                        : RegOpenKeyExA(base, relative.c_str(), 0, Access, &opened);
    if (rc != ERROR_SUCCESS) return false;
    if (!FCurrentKey || base != FCurrentKey.Get())
        FCurrentPath = relative;
    else if (!relative.empty())
        FCurrentPath = FCurrentPath.empty() ? relative : FCurrentPath + "\\" + relative;
    FCurrentKey.Reset(opened);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    REGSAM saved = Access;
    Access = KEY_READ;
    bool ok = OpenKey(key, false);
    Access = saved;
    return ok;
}

void TRegistry::CloseKey() {
    FCurrentKey.Reset();
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const std::string& key) {
    std::string relative;
    HKEY base = BaseFor(key, relative);
    TRegKey probe;
    return RegOpenKeyExA(base, relative.c_str(), 0, KEY_READ, probe.Out()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) const {
    return RegQueryValueExA(CurrentKey(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string relative;
    HKEY base = BaseFor(key, relative);
    while (!relative.empty() && relative.back() == '\\')
        relative.pop_back();
    if (relative.empty()) return false; // never empty the base key itself
    return RegDeleteTreeA(base, relative.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
    return RegDeleteValueA(CurrentKey(), name.c_str()) == ERROR_SUCCESS;
}

namespace {

// Names from RegEnumKeyExA or RegEnumValueA, growing the buffer when a name is longer.
template <class Enumerate> std::vector<std::string> EnumNames(Enumerate enumerate) {
    std::vector<std::string> names;
    std::string buffer(256, '\0');
    for (DWORD i = 0;;) {
        DWORD len = static_cast<DWORD>(buffer.size());
        LONG rc = enumerate(i, buffer.data(), &len);
        if (rc == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), len);
        ++i;
    }
    return names;
}

} // namespace

std::vector<std::string> TRegistry::GetKeyNames() const {
    return EnumNames([this](DWORD i, char* name, DWORD* len) {
        return RegEnumKeyExA(CurrentKey(), i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> TRegistry::GetValueNames() const {
    return EnumNames([this](DWORD i, char* name, DWORD* len) {
        return RegEnumValueA(CurrentKey(), i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
    DWORD type = REG_NONE;
    if (RegQueryValueExA(CurrentKey(), name.c_str(), nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return rdUnknown;
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

int TRegistry::GetDataSize(const std::string& name) const {
    DWORD size = 0;
    if (RegQueryValueExA(CurrentKey(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

std::string TRegistry::ReadString(const std::string& name) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(name);
    size_t end = data.find('\0');
    if (end != std::string::npos) data.resize(end);
    return data;
}

int TRegistry::ReadInteger(const std::string& name) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) GetDataFailed(name);
    if (type != REG_DWORD || data.size() != sizeof(int32_t)) InvalidType(name);
    int32_t v;
    memcpy(&v, data.data(), sizeof v);
    return v;
}

bool TRegistry::ReadBool(const std::string& name) const {
    return ReadInteger(name) != 0;
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) GetDataFailed(name);
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_DWORD) InvalidType(name);
    if (static_cast<int>(data.size()) > size) InvalidType(name);
    memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

std::string TRegistry::ReadBinaryString(const std::string& name) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) GetDataFailed(name);
    return data;
}

namespace {

void SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
    if (RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
        ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

} // namespace

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    SetValue(CurrentKey(), name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    SetValue(CurrentKey(), name, REG_EXPAND_SZ, value.c_str(),
             static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    SetValue(CurrentKey(), name, REG_DWORD, &value, sizeof value);
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
    SetValue(CurrentKey(), name, REG_BINARY, buffer, static_cast<DWORD>(size));
}

HKEY RootKeyFromNumber(int64_t value) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

uint32_t RootKeyToNumber(HKEY key) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key));
}
