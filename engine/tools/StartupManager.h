#pragma once
// The programs Windows starts at logon: string values of both "Run" keys (the
// machine's in both registry views) and shortcuts of both Startup folders. A
// switched-off entry is parked, not deleted: a value under "Run\Disabled", a
// shortcut in "Disabled Items" beside the program. Main thread only.
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

class TStartUpItem {
public:
    enum TKind : BYTE { skRegistryValue = 0, skShortcut = 1 };

    bool Enabled = true; // in its working place (true) or parked (false)
    BYTE Kind = skRegistryValue;
    HKEY RootKey = HKEY_CURRENT_USER; // kind 0
    // Kind 0: 0 for this program's registry view, KEY_WOW64_32KEY for the machine's
    // entries of 32-bit programs, which 64-bit Windows keeps in a view of their own.
    REGSAM View = 0;
    std::string KeyPath;     // kind 0: the "Run" key, never "\Disabled"
    std::string Name;        // kind 0: the value name
    bool CurrentUser = true; // kind 1: the user's or the common Startup folder
    std::string Location;    // kind 1: the working Startup folder, also when parked
    std::string FileName;    // kind 1: with its extension
    std::string Title;
    std::string Command;
};

class TStartupManager {
public:
    static const char* const RunKey;

    // Rebuilds Items: user values, user parked values, machine values, machine
    // parked values, the same two of the machine's 32-bit view, user shortcuts,
    // user parked shortcuts, common shortcuts, common parked shortcuts. An
    // unreadable value or shortcut is left out; the entries after it are still listed.
    void Refresh();
    // True, with the command found there, when a value or shortcut of the entry's
    // name already holds the place the Boolean names.
    bool FindClash(const TStartUpItem& item, bool enabled, std::string& command) const;
    // Moves the entry to the place the Boolean names: the new copy is written
    // before the old one is removed, a value keeps its type. What holds that place
    // is replaced only when `replace` is set. Raises Exception with Enabled unchanged
    // when the entry could not be moved or the place is taken.
    void SetEnabled(TStartUpItem& item, bool enabled, bool replace = false);
    // Deletes the value or file at the entry's current place; raises Exception
    // when it could not. The entry stays in Items until the next Refresh.
    void DeleteItem(const TStartUpItem& item);

    [[nodiscard]] static std::string GetItemKey(const TStartUpItem& item, bool enabled);
    [[nodiscard]] std::string GetStartupFolder(const TStartUpItem& item, bool enabled) const;
    // Where the entry lives in the state the Boolean names, as the user finds it: the
    // key's full name (a 32-bit view's under "WOW6432Node") or the folder.
    [[nodiscard]] static std::string GetItemPlace(const TStartUpItem& item, bool enabled);

    std::vector<std::unique_ptr<TStartUpItem>> Items;

private:
    void ReadKey(HKEY root, REGSAM view, bool enabled);
    void ReadFolder(bool currentUser, bool enabled);
    [[nodiscard]] static std::string FolderOf(bool currentUser, bool enabled);
    static void MoveValue(const TStartUpItem& item, bool enabled);
    void MoveShortcut(const TStartUpItem& item, bool enabled) const;
};
