#include "engine/tools/Plugin.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/XMLValues.h"
#include <shlobj.h>

namespace {
// An action kind: a number outside 0..255 is an error, never another kind.
uint8_t ByteAttr(const TXMLNode& node, const char* name) {
    const int value = IntAttribute(node, name);
    if (value < 0 || value > 255) throw Exception(std::string("bad \"") + name + "\"");
    return uint8_t(value);
}

HKEY RootKeyAttr(const TXMLNode& node) {
    const std::string text = RequiredAttribute(node, "RootKey");
    const HKEY root = PredefinedRootKey(StrToInt64(text));
    if (!root) throw Exception("unknown root key " + text);
    return root;
}

// A key path without surrounding backslashes; an empty one would name the root key.
std::string KeyPathAttr(const TXMLNode& node) {
    std::string path = node.Attribute("Path");
    const size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) throw Exception("a registry action has no key path");
    path = path.substr(first, path.find_last_not_of('\\') - first + 1);
    return path;
}

TRegistryAction ReadRegistryAction(const TXMLNode& node) {
    TRegistryAction a;
    a.RootKey = RootKeyAttr(node);
    a.Path = KeyPathAttr(node);
    a.ActionType = ByteAttr(node, "ActionType");
    a.KeyContains = node.Attribute("KeyContains");
    a.ValueName = node.Attribute("ValueName");
    a.ValueContains = node.Attribute("ValueContains");
    return a;
}

TFileAction ReadFileAction(const TXMLNode& node) {
    TFileAction a;
    a.ActionType = ByteAttr(node, "ActionType");
    a.Folder = node.Attribute("Folder");
    a.FileName = node.Attribute("FileName");
    a.FolderActionType = ByteAttr(node, "FolderActionType");
    a.FileMatch = node.Attribute("FileMatch");
    a.IncludeSubDirs = BoolAttribute(node, "IncludeSubDirs");
    a.FileActionType = ByteAttr(node, "FileActionType");
    a.SectionName = node.Attribute("SectionName");
    a.KeyName = node.Attribute("KeyName");
    return a;
}
} // namespace

void TPlugin::LoadFromFile() {
    if (FileName.empty()) return;
    TXMLDocument doc;
    doc.LoadFromFile(FileName);
    const TXMLNode root = doc.DocumentElement();
    if (!root || root.NodeName() != "Plugin") throw Exception("not a plug-in file");
    Name = root.Attribute("Name");
    Version = root.Attribute("Version");
    Provider = root.Attribute("Provider");
    Description = root.Attribute("Description");
    // Read into locals first: a broken action leaves the plug-in with none.
    std::vector<TRegistryAction> registryActions;
    std::vector<TFileAction> fileActions;
    if (const TXMLNode list = root.FindNode("RegistryActions"))
        for (const TXMLNode& node : list.ChildNodes())
            registryActions.push_back(ReadRegistryAction(node));
    if (const TXMLNode list = root.FindNode("FileActions"))
        for (const TXMLNode& node : list.ChildNodes())
            fileActions.push_back(ReadFileAction(node));
    RegistryActions = std::move(registryActions);
    FileActions = std::move(fileActions);
}

std::string SubstituteFolders(const std::string& path) {
    std::string s = path;
    // Each folder is only looked up when its placeholder is there.
    if (s.find("%AppData%") != std::string::npos)
        s = StringReplace(s, "%AppData%", SpecialFolder(CSIDL_APPDATA));
    if (s.find("%ProgramFiles%") != std::string::npos)
        s = StringReplace(s, "%ProgramFiles%", ExcludeTrailingPathDelimiter(GetProgramFilesDir()));
    if (s.find("%Windows%") != std::string::npos)
        s = StringReplace(s, "%Windows%", ExcludeTrailingPathDelimiter(GetWindowsDir()));
    return s;
}
