#pragma once
// The registry class: a root key, one open current key, and typed reads and writes.
// A key path with a leading "\" is taken from the root key (Wine rejects the "\").
#include "classlib/base/Handle.h"
#include <string>
#include <vector>

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey = HKEY_CURRENT_USER; // set before opening; CloseKey does not reset it
    REGSAM Access;

    // A path without leading "\" is relative to the current key when one is open.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    [[nodiscard]] HKEY CurrentKey() const { return FCurrentKey.Get(); }
    [[nodiscard]] const std::string& CurrentPath() const { return FCurrentPath; }

    [[nodiscard]] bool KeyExists(const std::string& key);
    [[nodiscard]] bool ValueExists(const std::string& name) const;
    bool DeleteKey(const std::string& key); // with every subkey
    bool DeleteValue(const std::string& name);
    [[nodiscard]] std::vector<std::string> GetKeyNames() const;
    [[nodiscard]] std::vector<std::string> GetValueNames() const;
    [[nodiscard]] TRegDataType GetDataType(const std::string& name) const;
    // Bytes of the data; of a string, its UTF-8 bytes with the NUL. -1 when absent.
    [[nodiscard]] int GetDataSize(const std::string& name) const;

    // Reads raise ERegistryException on a missing value or wrong type
    // ("Invalid data type for '%s'"); ReadString of a missing value gives "".
    [[nodiscard]] std::string ReadString(const std::string& name) const;
    [[nodiscard]] int ReadInteger(const std::string& name) const;
    [[nodiscard]] bool ReadBool(const std::string& name) const;
    int ReadBinaryData(const std::string& name, void* buffer, int size) const;
    [[nodiscard]] std::string ReadBinaryString(const std::string& name) const; // raw bytes
    // Writes raise ERegistryException ("Failed to set data for '%s'").
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);

private:
    [[nodiscard]] HKEY BaseFor(const std::string& key, std::string& relative) const;
    TRegKey FCurrentKey;
    std::string FCurrentPath;
};

// Root keys are stored in files as 32-bit numbers (2147483649 for HKEY_CURRENT_USER):
// they become handles by sign extension and are written back as unsigned numbers.
HKEY RootKeyFromNumber(int64_t value);
// The predefined root key (HKEY_CLASSES_ROOT to HKEY_CURRENT_CONFIG) a number stands
// for; nullptr for any other number, which could name an open key of the process.
HKEY PredefinedRootKey(int64_t value);
// The raw data of a REG_SZ or REG_EXPAND_SZ value (UTF-16, maybe without its NUL) as UTF-8.
std::string RegStringData(const std::string& data);
uint32_t RootKeyToNumber(HKEY key);
