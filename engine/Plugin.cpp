#include "engine/Plugin.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/SharedRoutines.h"
#include "engine/XMLValues.h"
#include <shlobj.h>

namespace {
std::string Attr(const TXMLNode& node, const char* name) {
    return node.Attribute(name);
}

uint8_t ByteAttr(const TXMLNode& node, const char* name) {
    return uint8_t(IntAttribute(node, name));
}

HKEY RootKeyAttr(const TXMLNode& node) {
    const HKEY root = RootKeyFromNumber(StrToInt64(RequiredAttribute(node, "RootKey")));
    for (HKEY known : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                       HKEY_CURRENT_CONFIG})
        if (root == known) return root;
    throw Exception("unknown root key " + node.Attribute("RootKey"));
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
    a.KeyContains = Attr(node, "KeyContains");
    a.ValueName = Attr(node, "ValueName");
    a.ValueContains = Attr(node, "ValueContains");
    return a;
}

TFileAction ReadFileAction(const TXMLNode& node) {
    TFileAction a;
    a.ActionType = ByteAttr(node, "ActionType");
    a.Folder = Attr(node, "Folder");
    a.FileName = Attr(node, "FileName");
    a.FolderActionType = ByteAttr(node, "FolderActionType");
    a.FileMatch = Attr(node, "FileMatch");
    a.IncludeSubDirs = BoolAttribute(node, "IncludeSubDirs");
    a.FileActionType = ByteAttr(node, "FileActionType");
    a.SectionName = Attr(node, "SectionName");
    a.KeyName = Attr(node, "KeyName");
    return a;
}

std::string SpecialFolder(int csidl) {
    std::string path;
    GetSpecialFolderPath(csidl, path);
    return path;
}
} // namespace

void TPlugin::LoadFromFile() {
    if (FileName.empty()) return;
    TXMLDocument doc;
    doc.LoadFromFile(FileName);
    const TXMLNode root = doc.DocumentElement();
    if (!root || root.NodeName() != "Plugin") throw Exception("not a plug-in file");
    Name = Attr(root, "Name");
    Version = Attr(root, "Version");
    Provider = Attr(root, "Provider");
    Description = Attr(root, "Description");
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
        s = StringReplace(s, "%AppData%", RemoveTrailingBackslash(SpecialFolder(CSIDL_APPDATA)));
    if (s.find("%ProgramFiles%") != std::string::npos)
        s = StringReplace(s, "%ProgramFiles%", RemoveTrailingBackslash(GetProgramFilesDir()));
    if (s.find("%Windows%") != std::string::npos)
        s = StringReplace(s, "%Windows%", RemoveTrailingBackslash(GetWindowsDir()));
    return s;
}
