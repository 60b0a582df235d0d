#include "engine/tools/StartupManager.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <shlobj.h>
#include <utility>

const char* const TStartupManager::RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {
bool IsStringType(TRegDataType t) {
    return t == rdString || t == rdExpandString;
}

std::string WorkingStartupFolder(bool currentUser) {
    return SpecialFolder(currentUser ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP);
}

// Writes the source's bytes over the target in place, never through a link, and never
// over a file with other names.
void OverwriteWithCopy(const std::string& source, const std::string& target) {
    const std::string data = ReadFileToString(source);
    const TSafeOpenedFile file = SafeOpenForOverwrite(target);
    if (!file.Result.Done())
        throw Exception("Cannot replace \"" + target + "\": " + file.Result.Text());
    if (SafeNameCount(file.Handle.Get()) != 1) // other names would take the new bytes too
        throw Exception("Cannot replace \"" + target + "\": it has other names (hard links)");
    DWORD written = 0;
    const auto size = static_cast<DWORD>(data.size());
    if (!WriteFile(file.Handle.Get(), data.data(), size, &written, nullptr) || written != size ||
        !SetEndOfFile(file.Handle.Get()))
        throw Exception("Cannot write \"" + target + "\"");
}
// Opens a "Run" key as itself, creating it only when asked: the values of a registry
// link are its target's, so no entry is moved or deleted through one.
bool OpenRunKey(TRegistry& reg, const std::string& key, bool canCreate) {
    const TRegOpenResult opened = reg.OpenKeyItself(key);
    if (opened == roLink) throw Exception(RegLinkLine(reg.RootKey, key, false));
    return opened == roOpened || (canCreate && reg.OpenKey(key, true));
}
} // namespace

std::string TStartupManager::FolderOf(bool currentUser, bool enabled) {
    if (enabled) return WorkingStartupFolder(currentUser);
    return GetAppDir() + (currentUser ? "Disabled Items\\CurrentUser" : "Disabled Items\\Users");
}

std::string TStartupManager::GetItemKey(const TStartUpItem& item, bool enabled) {
    return ExcludeTrailingPathDelimiter(item.KeyPath) + (enabled ? "" : "\\Disabled");
}

std::string TStartupManager::GetStartupFolder(const TStartUpItem& item, bool enabled) const {
    return FolderOf(item.CurrentUser, enabled);
}

std::string TStartupManager::GetItemPlace(const TStartUpItem& item, bool enabled) {
    if (item.Kind == TStartUpItem::skShortcut) return FolderOf(item.CurrentUser, enabled);
    std::string key = GetItemKey(item, enabled);
    if (item.View == KEY_WOW64_32KEY) key.insert(key.find('\\') + 1, "WOW6432Node\\");
    return RegKeyFullName(item.RootKey, key);
}

void TStartupManager::Refresh() {
    Items.clear();
    // This program is 64-bit: the machine's keys of 32-bit programs lie in another view.
    const std::pair<HKEY, REGSAM> keys[] = {
        {HKEY_CURRENT_USER, 0}, {HKEY_LOCAL_MACHINE, 0}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};
    for (const auto& [root, view] : keys) {
        ReadKey(root, view, true);
        ReadKey(root, view, false);
    }
    for (bool currentUser : {true, false}) {
        ReadFolder(currentUser, true);
        ReadFolder(currentUser, false);
    }
}

void TStartupManager::ReadKey(HKEY root, REGSAM view, bool enabled) {
    TStartUpItem probe;
    probe.KeyPath = RunKey;
    // Listing needs no write access: a user without it still sees the machine's entries.
    TRegistry reg(KEY_READ | view);
    reg.RootKey = root;
    if (!reg.OpenKeyReadOnly(GetItemKey(probe, enabled))) return;
    for (const std::string& name : reg.GetValueNames()) {
        try {
            if (!IsStringType(reg.GetDataType(name))) continue;
            auto item = std::make_unique<TStartUpItem>();
            item->Enabled = enabled;
            item->Kind = TStartUpItem::skRegistryValue;
            item->RootKey = root;
            item->View = view;
            item->KeyPath = RunKey;
            item->Name = name;
            item->Title = name;
            item->Command = reg.ReadString(name);
            Items.push_back(std::move(item));
        } catch (const Exception&) {
            // A value that vanished or cannot be read is left out.
            LogSwallowed("TStartupManager::ReadKey");
        }
    }
}

void TStartupManager::ReadFolder(bool currentUser, bool enabled) {
    const std::string folder = FolderOf(currentUser, enabled);
    if (folder.empty() || !DirectoryExists(folder)) return;
    const TStringList names = ListFiles(folder, "*.lnk");
    for (const auto& entry : names) {
        const std::string& name = entry.S;
        // The platform's search also matches names through their 8.3 aliases.
        if (!SameText(ExtractFileExt(name), ".lnk")) continue;
        try {
            TShortcutInfo link;
            ReadShortcut(IncludeTrailingPathDelimiter(folder) + name, link);
            auto item = std::make_unique<TStartUpItem>();
            item->Enabled = enabled;
            item->Kind = TStartUpItem::skShortcut;
            item->CurrentUser = currentUser;
            item->Location = WorkingStartupFolder(currentUser);
            item->FileName = name;
            item->Title = ChangeFileExt(name, "");
            item->Command = link.Path + " " + link.Arguments;
            Items.push_back(std::move(item));
        } catch (const Exception&) {
            // A shortcut that cannot be read is left out.
            LogSwallowed("TStartupManager::ReadFolder");
        }
    }
}

bool TStartupManager::FindClash(const TStartUpItem& item, bool enabled,
                                std::string& command) const {
    if (item.Kind == TStartUpItem::skRegistryValue) {
        TRegistry reg(KEY_READ | item.View);
        reg.RootKey = item.RootKey;
        if (!reg.OpenKeyReadOnly(GetItemKey(item, enabled)) || !reg.ValueExists(item.Name))
            return false;
        try {
            command = reg.ReadString(item.Name);
        } catch (const Exception& e) {
            command = e.Message(); // a value of another type is still in the way
        }
        return true;
    }
    const std::string target = GetStartupFolder(item, enabled) + "\\" + item.FileName;
    if (!FileExists(target)) return false;
    try {
        TShortcutInfo link;
        ReadShortcut(target, link);
        command = link.Path + " " + link.Arguments;
    } catch (const Exception&) {
        command = target; // an unreadable shortcut is named by its file
    }
    return true;
}

void TStartupManager::SetEnabled(TStartUpItem& item, bool enabled, bool replace) {
    std::string existing;
    if (!replace && FindClash(item, enabled, existing))
        throw Exception("\"" + item.Title + "\" is already " + (enabled ? "enabled" : "disabled") +
                        " with the command " + existing);
    if (item.Kind == TStartUpItem::skRegistryValue)
        MoveValue(item, enabled);
    else
        MoveShortcut(item, enabled);
    item.Enabled = enabled;
}

void TStartupManager::MoveValue(const TStartUpItem& item, bool enabled) {
    TRegistry source(KEY_ALL_ACCESS | item.View);
    source.RootKey = item.RootKey;
    if (!OpenRunKey(source, GetItemKey(item, item.Enabled), false) ||
        !source.ValueExists(item.Name))
        throw Exception("Cannot open the startup entry \"" + item.Name + "\"");
    const TRegDataType type = source.GetDataType(item.Name);
    const std::string data = source.ReadString(item.Name); // raises for a non-string value

    TRegistry target(KEY_ALL_ACCESS | item.View);
    target.RootKey = item.RootKey;
    if (!OpenRunKey(target, GetItemKey(item, enabled), true))
        throw Exception("Cannot open the key \"" + GetItemKey(item, enabled) + "\" for writing");
    if (type == rdExpandString)
        target.WriteExpandString(item.Name, data);
    else
        target.WriteString(item.Name, data);
    if (!source.DeleteValue(item.Name)) {
        target.DeleteValue(item.Name);
        throw Exception("Cannot remove the startup entry \"" + item.Name + "\"");
    }
}

void TStartupManager::MoveShortcut(const TStartUpItem& item, bool enabled) const {
    const std::string from = GetStartupFolder(item, item.Enabled);
    const std::string to = GetStartupFolder(item, enabled);
    if (from.empty() || to.empty()) throw Exception("The Startup folder is unknown");
    const std::string source = from + "\\" + item.FileName;
    const std::string target = to + "\\" + item.FileName;
    if (FileExists(target))
        OverwriteWithCopy(source, target); // the caller chose to replace it
    else if (!ForceDirectories(to) ||
             !CopyFileW(ToWide(source).c_str(), ToWide(target).c_str(), TRUE))
        throw Exception("Cannot copy \"" + source + "\" to \"" + to + "\"");
    const TSafeFileResult removed = SafeDeleteFile(source);
    if (!removed.Done()) {
        SafeDeleteFile(target);
        throw Exception("Cannot remove \"" + source + "\": " + removed.Text());
    }
}

void TStartupManager::DeleteItem(const TStartUpItem& item) {
    if (item.Kind == TStartUpItem::skRegistryValue) {
        TRegistry reg(KEY_ALL_ACCESS | item.View);
        reg.RootKey = item.RootKey;
        if (!OpenRunKey(reg, GetItemKey(item, item.Enabled), false) || !reg.DeleteValue(item.Name))
            throw Exception("Cannot delete the startup entry \"" + item.Name + "\"");
    } else {
        const std::string file = GetStartupFolder(item, item.Enabled) + "\\" + item.FileName;
        const TSafeFileResult deleted = SafeDeleteFile(file);
        if (!deleted.Done()) throw Exception("Cannot delete \"" + file + "\": " + deleted.Text());
    }
}
