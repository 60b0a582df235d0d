#include "classlib/base/Registry.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <cstdint>
#include <cstring>

namespace {

[[noreturn]] void GetDataFailed(const std::string& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}

[[noreturn]] void InvalidType(const std::string& name) {
    throw ERegistryException("Invalid data type for '" + name + "'");
}

// The raw data and type of a value (strings in UTF-16); false when it cannot be read.
bool QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& data) {
    const std::wstring wname = ToWide(name);
    DWORD size = 0;
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    while (true) {
        data.resize(size);
        LONG rc = RegQueryValueExW(key, wname.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA) return false; // the value grew in between: try again
    }
}

// A key opened as itself is a registry link when it holds the link's target.
bool IsRegLink(HKEY key) {
    DWORD type = REG_NONE;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
               ERROR_SUCCESS &&
           type == REG_LINK;
}

} // namespace

std::string RegStringData(const std::string& data) {
    std::wstring w(data.size() / sizeof(wchar_t), L'\0');
    memcpy(w.data(), data.data(), w.size() * sizeof(wchar_t));
    size_t end = w.find(L'\0');
    if (end != std::wstring::npos) w.resize(end);
    return ToUtf8(w);
}

TRegistry::TRegistry(REGSAM access) : Access(access) {}

TRegistry::~TRegistry() = default;

HKEY TRegistry::BaseFor(const std::string& key, std::string& relative) const {
    bool fromRoot = !key.empty() && key[0] == '\\';
    relative = fromRoot ? key.substr(1) : key;
    return fromRoot || !FCurrentKey ? RootKey : FCurrentKey.Get();
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    return Open(key, canCreate, 0);
}

TRegOpenResult TRegistry::OpenKeyItself(const std::string& key) {
    const REGSAM saved = Access;
    Access |= KEY_QUERY_VALUE; // to tell a link
    const bool opened = Open(key, false, REG_OPTION_OPEN_LINK);
    Access = saved;
    if (!opened) return roMissing;
    if (!IsRegLink(CurrentKey())) return roOpened;
    CloseKey();
    return roLink;
}

bool TRegistry::Open(const std::string& key, bool canCreate, DWORD options) {
    std::string relative;
    HKEY base = BaseFor(key, relative);
    HKEY opened = nullptr;
    const std::wstring wrelative = ToWide(relative);
    LONG rc = canCreate ? RegCreateKeyExW(base, wrelative.c_str(), 0, nullptr, 0, Access, nullptr,
                                          &opened, nullptr)
                        : RegOpenKeyExW(base, wrelative.c_str(), options, Access, &opened);
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
    Access = KEY_READ | (saved & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)); // the view stays
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
    return RegOpenKeyExW(base, ToWide(relative).c_str(), 0, KEY_READ, probe.Out()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) const {
    return RegQueryValueExW(CurrentKey(), ToWide(name).c_str(), nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string relative;
    HKEY base = BaseFor(key, relative);
    const REGSAM view = Access & (KEY_WOW64_32KEY | KEY_WOW64_64KEY);
    return DeleteRegKeyTree(base, relative, view).Deleted;
}

bool TRegistry::DeleteValue(const std::string& name) {
    return RegDeleteValueW(CurrentKey(), ToWide(name).c_str()) == ERROR_SUCCESS;
}

namespace {

// Names from RegEnumKeyExW or RegEnumValueW, growing the buffer when a name is longer.
template <class Enumerate> std::vector<std::string> EnumNames(Enumerate enumerate) {
    std::vector<std::string> names;
    std::wstring buffer(256, L'\0');
    for (DWORD i = 0;;) {
        DWORD len = static_cast<DWORD>(buffer.size());
        LONG rc = enumerate(i, buffer.data(), &len);
        if (rc == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.push_back(ToUtf8(std::wstring(buffer.data(), len)));
        ++i;
    }
    return names;
}

std::vector<std::string> KeyNamesOf(HKEY key) {
    return EnumNames([key](DWORD i, wchar_t* name, DWORD* len) {
        return RegEnumKeyExW(key, i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

std::string TrimBackslashes(const std::string& path) {
    const size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return {};
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

// Deletes an opened key itself: a link opened as itself goes without its target.
bool DeleteOpenedKey(HKEY key) {
    using TNtDeleteKey = LONG(NTAPI*)(HANDLE);
    static const auto ntDeleteKey = reinterpret_cast<TNtDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    return ntDeleteKey && ntDeleteKey(key) == 0;
}

// Opens Name below Parent as itself, lists and deletes its subkeys (a link has none to
// list), then deletes it.
TRegTreeKey DeleteTree(HKEY parent, const std::string& name, const std::string& path, REGSAM view,
                       bool simulate, const TRegTreeVisitor& visit) {
    TRegTreeKey met;
    met.Path = path;
    TRegKey key;
    const REGSAM access = (simulate ? KEY_READ : KEY_READ | DELETE) | view;
    if (RegOpenKeyExW(parent, ToWide(name).c_str(), REG_OPTION_OPEN_LINK, access, key.Out()) !=
        ERROR_SUCCESS)
        return met;
    met.Found = true;
    met.Link = IsRegLink(key.Get());
    if (!met.Link)
        for (const std::string& sub : KeyNamesOf(key.Get()))
            DeleteTree(key.Get(), sub, path + "\\" + sub, view, simulate, visit);
    met.Deleted = !simulate && DeleteOpenedKey(key.Get());
    if (visit) visit(met);
    return met;
}

} // namespace

std::vector<std::string> TRegistry::GetKeyNames() const {
    return KeyNamesOf(CurrentKey());
}

std::vector<std::string> TRegistry::GetValueNames() const {
    return EnumNames([this](DWORD i, wchar_t* name, DWORD* len) {
        return RegEnumValueW(CurrentKey(), i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
    DWORD type = REG_NONE;
    if (RegQueryValueExW(CurrentKey(), ToWide(name).c_str(), nullptr, &type, nullptr, nullptr) !=
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
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) return -1;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return static_cast<int>(data.size());
    return static_cast<int>(RegStringData(data).size() + 1); // UTF-8 bytes with the NUL
}

std::string TRegistry::ReadString(const std::string& name) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data)) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(name);
    return RegStringData(data);
}

bool TRegistry::TryReadString(const std::string& name, std::string& value) const {
    DWORD type;
    std::string data;
    if (!QueryValue(CurrentKey(), name, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value = RegStringData(data);
    return true;
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
    if (RegSetValueExW(key, ToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
        ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

void SetString(HKEY key, const std::string& name, DWORD type, const std::string& value) {
    const std::wstring w = ToWide(value);
    SetValue(key, name, type, w.c_str(), static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
}

} // namespace

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    SetString(CurrentKey(), name, REG_SZ, value);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    SetString(CurrentKey(), name, REG_EXPAND_SZ, value);
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

HKEY PredefinedRootKey(int64_t value) {
    // The unsigned or the signed 32-bit form; a wider number is not one of them.
    if (value < INT32_MIN || value > UINT32_MAX) return nullptr;
    const HKEY root = RootKeyFromNumber(value);
    for (HKEY known : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                       HKEY_CURRENT_CONFIG})
        if (root == known) return root;
    return nullptr;
}

uint32_t RootKeyToNumber(HKEY key) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key));
}

TRegTreeKey DeleteRegKeyTree(HKEY Root, const std::string& Key, REGSAM View, bool Simulate,
                             const TRegTreeVisitor& Visit) {
    const std::string path = TrimBackslashes(Key);
    if (path.empty()) return {}; // never the root key itself
    return DeleteTree(Root, path, path, View, Simulate, Visit);
}

std::string RegLinkLine(HKEY Root, const std::string& Key, bool Removed) {
    return RegKeyFullName(Root, Key) + (Removed
                                            ? ": A registry link, removed without its target"
                                            : ": A registry link, left in place with its target");
}

std::string RegKeyFullName(HKEY Root, const std::string& Key) {
    static const std::pair<HKEY, const char*> names[] = {
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
        {HKEY_USERS, "HKEY_USERS"},
        {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"}};
    const std::string path = TrimBackslashes(Key);
    for (const auto& [root, name] : names)
        if (root == Root) return std::string(name) + "\\" + path;
    return path;
}
