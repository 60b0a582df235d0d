#include "engine/tools/PluginManager.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/IniFiles.h"
#include "classlib/base/Masks.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/erasers/EraseFiles.h"
#include "engine/wipe/WipeEngine.h"

namespace {
bool IsAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && path[2] == '\\';
    return drive || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

bool IsRoot(const std::string& path) {
    const std::string p = ExcludeTrailingPathDelimiter(path);
    return p.size() == 2 || ExtractFileDrive(p) == p; // "C:" or "\\server\share"
}

// Placeholders replaced; raises for a target that could reach outside what the
// plug-in names (a relative path, or a whole drive), and for one the shredder refuses
// (the Windows folders and what holds them, links to them, files in Windows).
TFileAction Resolve(const TFileAction& action) {
    TFileAction a = action;
    a.Folder = SubstituteFolders(action.Folder);
    a.FileName = SubstituteFolders(action.FileName);
    if (a.ActionType == TFileAction::faFolder && a.FolderActionType <= TFileAction::foMatching) {
        if (IsAbsolute(a.Folder)) a.Folder = ExpandFileName(a.Folder); // "C:\x\.." is "C:\"
        if (!IsAbsolute(a.Folder) || IsRoot(a.Folder) || IsSystemPlace(a.Folder))
            throw Exception("unsafe folder \"" + a.Folder + "\"");
        if (a.FolderActionType == TFileAction::foMatching)
            MatchesMask("", a.FileMatch); // raises when broken
    }
    const bool deletes =
        a.ActionType == TFileAction::faFile && a.FileActionType == TFileAction::ffDeleteFile;
    if (a.ActionType == TFileAction::faFile &&
        (!IsAbsolute(a.FileName) || (deletes && IsProtectedFile(a.FileName))))
        throw Exception("unsafe file name \"" + a.FileName + "\"");
    return a;
}

bool Contains(const std::string& name, const std::string& part) {
    return !part.empty() && PosText(part, name) != std::string::npos;
}
} // namespace

TCustomEraserEngine& TPluginManager::Owner() const {
    if (!Engine) throw Exception("The plug-in manager has no engine");
    return *Engine;
}

TStringList TPluginManager::ListPluginFiles() const {
    const std::string folder = GetAppDir() + "Plugins\\";
    TStringList paths;
    for (const auto& entry : ListFiles(folder, "*.ppw"))
        if (SameText(ExtractFileExt(entry.S), ".ppw"))
            paths.Add(folder + entry.S); // not 8.3 alias matches
    return paths;
}

bool TPluginManager::IsChecked(const std::string& Path) const {
    return CheckedPlugins.IndexOf(Path) >= 0; // the list is not case-sensitive
}

void TPluginManager::Execute() {
    TCustomEraserEngine& engine = Owner();
    // The checks can change while the plug-ins run (the message loop runs between
    // actions): the run keeps the list it started with.
    const TStringList paths = CheckedPlugins;
    for (const auto& entry : paths) {
        const std::string& path = entry.S;
        TPlugin plugin;
        plugin.Engine = &engine;
        plugin.FileName = path;
        try {
            plugin.LoadFromFile();
            RunPlugin(plugin);
        } catch (const std::exception&) {
            engine.DoProgress(&plugin, "Error executing plugin: " +
                                           (plugin.Name.empty() ? path : plugin.Name));
        }
    }
}

void TPluginManager::RunPlugin(TPlugin& Plugin) {
    TCustomEraserEngine& engine = Owner();
    std::vector<TFileAction> fileActions;
    for (const TFileAction& a : Plugin.FileActions)
        fileActions.push_back(Resolve(a));
    for (const TRegistryAction& a : Plugin.RegistryActions) {
        engine.ProcessMessages();
        if (engine.Cancelled) return;
        RunRegistryAction(a);
    }
    for (const TFileAction& a : fileActions) {
        engine.ProcessMessages();
        if (engine.Cancelled) return;
        RunFileAction(a);
    }
}

void TPluginManager::RunRegistryAction(const TRegistryAction& Action) {
    switch (Action.ActionType) {
    case TRegistryAction::raDeleteKey: DeleteKeyTree(Action.RootKey, Action.Path); break;
    case TRegistryAction::raDeleteSubKeys: {
        TRegistry reg;
        reg.RootKey = Action.RootKey;
        if (!OpenNoLink(reg, Action)) break;
        for (const std::string& name : reg.GetKeyNames())
            if (Contains(name, Action.KeyContains))
                DeleteKeyTree(Action.RootKey, Action.Path + "\\" + name);
        break;
    }
    case TRegistryAction::raDeleteValue:
    case TRegistryAction::raDeleteValues: DeleteMatchingValues(Action); break;
    default: break;
    }
}

void TPluginManager::DeleteMatchingValues(const TRegistryAction& Action) {
    TCustomEraserEngine& engine = Owner();
    TRegistry reg;
    reg.RootKey = Action.RootKey;
    if (!OpenNoLink(reg, Action)) return;
    std::vector<std::string> names;
    if (Action.ActionType == TRegistryAction::raDeleteValue) {
        if (reg.ValueExists(Action.ValueName)) names.push_back(Action.ValueName);
    } else {
        for (const std::string& name : reg.GetValueNames())
            if (Contains(name, Action.ValueContains)) names.push_back(name);
    }
    for (const std::string& name : names)
        if (engine.SimulationMode || reg.DeleteValue(name)) ++engine.ValuesErased;
}

// A link met, the key itself or one below it, goes as itself; its target stays.
void TPluginManager::DeleteKeyTree(HKEY RootKey, const std::string& Key) {
    TCustomEraserEngine& engine = Owner();
    const bool simulate = engine.SimulationMode;
    DeleteRegKeyTree(RootKey, Key, 0, simulate, [&](const TRegTreeKey& key) {
        if (key.Link && !simulate)
            engine.DoProgress(nullptr, RegLinkLine(RootKey, key.Path, key.Deleted));
        if (simulate || key.Deleted) ++engine.KeysErased;
    });
}

// The action's key, opened as itself: the subkeys and values of a link are its
// target's, so a link is left and logged.
bool TPluginManager::OpenNoLink(TRegistry& Registry, const TRegistryAction& Action) const {
    const TRegOpenResult opened = Registry.OpenKeyItself("\\" + Action.Path);
    if (opened == roLink)
        Owner().DoProgress(nullptr, RegLinkLine(Action.RootKey, Action.Path, false));
    return opened == roOpened;
}

void TPluginManager::RunFileAction(const TFileAction& Action) {
    TEraseFiles eraser;
    eraser.Engine = &Owner();
    if (Action.ActionType == TFileAction::faFolder) {
        switch (Action.FolderActionType) {
        case TFileAction::foDeleteAll: eraser.AddFolder(Action.Folder, "*.*", false, true); break;
        case TFileAction::foEmpty: eraser.AddFolder(Action.Folder, "*.*", true, true); break;
        case TFileAction::foMatching:
            eraser.AddFolder(Action.Folder, Action.FileMatch, true, Action.IncludeSubDirs);
            break;
        default: return;
        }
        eraser.Erase();
    } else if (Action.ActionType == TFileAction::faFile) {
        if (Action.FileActionType == TFileAction::ffDeleteFile) {
            eraser.AddFile(Action.FileName);
            eraser.Erase();
        } else if (Action.FileActionType == TFileAction::ffDeleteIniKey &&
                   !Action.SectionName.empty() && !Action.KeyName.empty() &&
                   !Owner().SimulationMode && FileExists(Action.FileName)) {
            DeleteIniKey(Action);
        }
    }
}

// Rewriting the file would reach through a link: a link is logged and left alone.
void TPluginManager::DeleteIniKey(const TFileAction& Action) {
    const TSafeFileResult entry = SafeCheckNoLink(Action.FileName);
    if (entry.IsLink())
        Owner().DoProgress(nullptr, Action.FileName + ": " + entry.Text());
    else
        TIniFile(Action.FileName).DeleteKey(Action.SectionName, Action.KeyName);
}

void TPluginManager::SaveToXML(TXMLNode Parent) {
    TXMLNode checked = Parent.AddChild("Plugins").AddChild("CheckedPlugins");
    for (const auto& entry : CheckedPlugins)
        checked.AddChild("Item").SetAttribute("FileName", entry.S);
}

void TPluginManager::LoadFromXML(const TXMLNode& Parent) {
    const TXMLNode plugins = Parent.FindNode("Plugins");
    const TXMLNode checked = plugins ? plugins.FindNode("CheckedPlugins") : TXMLNode();
    if (!checked) return;
    CheckedPlugins.Clear();
    for (const TXMLNode& item : checked.ChildNodes())
        CheckedPlugins.Add(item.Attribute("FileName"));
}
