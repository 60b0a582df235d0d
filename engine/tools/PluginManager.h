#pragma once
// The checked plug-ins: stored below "Plugins" in "prefs.dat" and run at the end of
// a cleaning run through the engine's counters, cancel flag, progress event and
// simulation mode (in which nothing at all is deleted). Main thread only.
#include "classlib/base/StringList.h"
#include "classlib/base/XMLDoc.h"
#include "engine/tools/Plugin.h"
#include <string>

class TCustomEraserEngine;
class TRegistry;

class TPluginManager {
public:
    TPluginManager() = default;
    virtual ~TPluginManager() = default;
    TPluginManager(const TPluginManager&) = delete;
    TPluginManager& operator=(const TPluginManager&) = delete;

    virtual void LoadFromXML(const TXMLNode& Parent);
    virtual void SaveToXML(TXMLNode Parent);

    // Full paths of the "*.ppw" files of the program's "Plugins" folder.
    [[nodiscard]] TStringList ListPluginFiles() const;
    [[nodiscard]] bool IsChecked(const std::string& Path) const; // ignoring case
    // Loads and runs every plug-in checked when it starts, in order. One that cannot
    // be loaded or fails gives the log line "Error executing plugin: " + its name or
    // path; the others still run.
    void Execute();
    // Runs one loaded plug-in. Every file target is resolved and checked first (an
    // absolute path, no drive root as a folder): a bad one raises before anything
    // is deleted.
    void RunPlugin(TPlugin& Plugin);
    // Deletes Key of RootKey with all its subkeys, depth first, counting each key
    // deleted (in simulation mode: each key found). An empty Key is refused. No
    // registry deletion of a plug-in goes through a registry link: a link is removed
    // as itself or, where the action would act inside it, left; the log names it.
    void DeleteKeyTree(HKEY RootKey, const std::string& Key);

    TCustomEraserEngine* Engine = nullptr; // set by the engine before each run
    TStringList CheckedPlugins;

private:
    [[nodiscard]] TCustomEraserEngine& Owner() const;
    void RunRegistryAction(const TRegistryAction& Action);
    void DeleteMatchingValues(const TRegistryAction& Action);
    bool OpenNoLink(TRegistry& Registry, const TRegistryAction& Action) const;
    void RunFileAction(const TFileAction& Action);
    void DeleteIniKey(const TFileAction& Action);
};
