#pragma once
// The registry class: a root key, one open current key, and typed reads and writes.
// A key path with a leading "\" is taken from the root key (Wine rejects the "\").
#include "classlib/base/Handle.h"
#include <functional>
#include <string>
#include <vector>

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };
// How a key opened as itself turned out (TRegistry::OpenKeyItself).
enum TRegOpenResult { roOpened, roMissing, roLink };

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
    // As OpenKey without creating, but the path's last key is opened as itself: a
    // registry link (a key made with REG_OPTION_CREATE_LINK, which leads to another key,
    // as "CurrentControlSet" does) is not opened and leaves no key open, so nothing done
    // on the open key reaches a link's target.
    TRegOpenResult OpenKeyItself(const std::string& key);
    void CloseKey();
    [[nodiscard]] HKEY CurrentKey() const { return FCurrentKey.Get(); }
    [[nodiscard]] const std::string& CurrentPath() const { return FCurrentPath; }

    [[nodiscard]] bool KeyExists(const std::string& key);
    [[nodiscard]] bool ValueExists(const std::string& name) const;
    // With every subkey, never through a registry link (DeleteRegKeyTree).
    bool DeleteKey(const std::string& key);
    bool DeleteValue(const std::string& name);
    [[nodiscard]] std::vector<std::string> GetKeyNames() const;
    [[nodiscard]] std::vector<std::string> GetValueNames() const;
    [[nodiscard]] TRegDataType GetDataType(const std::string& name) const;
    // Bytes of the data; of a string, its UTF-8 bytes with the NUL. -1 when absent.
    [[nodiscard]] int GetDataSize(const std::string& name) const;

    // Reads raise ERegistryException on a missing value or wrong type
    // ("Invalid data type for '%s'"); ReadString of a missing value gives "".
    [[nodiscard]] std::string ReadString(const std::string& name) const;
    // The text of a REG_SZ or REG_EXPAND_SZ value; false, raising nothing, for a value
    // that is absent or of another type.
    bool TryReadString(const std::string& name, std::string& value) const;
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
    bool Open(const std::string& key, bool canCreate, DWORD options);
    [[nodiscard]] HKEY BaseFor(const std::string& key, std::string& relative) const;
    TRegKey FCurrentKey;
    std::string FCurrentPath;
};

// One key a tree deletion met, by its path below the key the deletion started from.
struct TRegTreeKey {
    std::string Path;
    bool Found = false;   // the key existed
    bool Link = false;    // a registry link: deleted as itself, its target untouched
    bool Deleted = false; // gone (never in a simulation)
};
using TRegTreeVisitor = std::function<void(const TRegTreeKey&)>;
// Deletes Key below Root (with or without a leading "\") and all its subkeys, depth
// first in listing order, never through a registry link: a link, the key itself or one
// below it, is deleted as itself and its target stays. Visit hears of each key met
// after its deletion; with Simulate nothing is deleted. Returns the named key's part
// (not Found when it does not exist); a path that names no key finds nothing. View
// adds KEY_WOW64_32KEY or KEY_WOW64_64KEY.
TRegTreeKey DeleteRegKeyTree(HKEY Root, const std::string& Key, REGSAM View = 0,
                             bool Simulate = false, const TRegTreeVisitor& Visit = nullptr);
// "HKEY_CURRENT_USER\Software\..." for a root key and a path below it, for messages.
std::string RegKeyFullName(HKEY Root, const std::string& Key);
// For logs: a registry link's full name and whether it was removed (without its target)
// or left in place.
std::string RegLinkLine(HKEY Root, const std::string& Key, bool Removed);

// Root keys are stored in files as 32-bit numbers (2147483649 for HKEY_CURRENT_USER):
// they become handles by sign extension and are written back as unsigned numbers.
HKEY RootKeyFromNumber(int64_t value);
// The predefined root key (HKEY_CLASSES_ROOT to HKEY_CURRENT_CONFIG) a number stands
// for; nullptr for any other number, which could name an open key of the process.
HKEY PredefinedRootKey(int64_t value);
// The raw data of a REG_SZ or REG_EXPAND_SZ value (UTF-16, maybe without its NUL) as UTF-8.
std::string RegStringData(const std::string& data);
uint32_t RootKeyToNumber(HKEY key);
