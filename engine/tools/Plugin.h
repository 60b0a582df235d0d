#pragma once
// A plug-in: a cleaning recipe read from a ".ppw" file (XML, root "Plugin") naming
// registry keys and values, files, folders and ini keys to delete. The files come
// from outside the program, so loading checks every action before any of them runs.
#include "engine/erasers/Eraser.h"
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

class TRegistryAction {
public:
    enum : uint8_t { raDeleteKey = 0, raDeleteSubKeys = 1, raDeleteValue = 2, raDeleteValues = 3 };

    HKEY RootKey = HKEY_CURRENT_USER;
    std::string Path; // below the root; never empty once loaded
    uint8_t ActionType = raDeleteKey;
    std::string KeyContains;   // raDeleteSubKeys
    std::string ValueName;     // raDeleteValue
    std::string ValueContains; // raDeleteValues
};

class TFileAction {
public:
    enum : uint8_t { faFolder = 0, faFile = 1 };
    enum : uint8_t { foDeleteAll = 0, foEmpty = 1, foMatching = 2 }; // FolderActionType
    enum : uint8_t { ffDeleteFile = 0, ffDeleteIniKey = 1 };         // FileActionType

    uint8_t ActionType = faFolder;
    std::string Folder;   // may hold "%AppData%", "%ProgramFiles%", "%Windows%"
    std::string FileName; // the same placeholders
    uint8_t FolderActionType = foDeleteAll;
    std::string FileMatch; // foMatching
    bool IncludeSubDirs = false;
    uint8_t FileActionType = ffDeleteFile;
    std::string SectionName, KeyName; // ffDeleteIniKey
};

// The inherited Name is the plug-in's display name; it is never saved as an eraser.
class TPlugin : public TEraser {
public:
    std::string FileName; // the ".ppw" file
    std::string Version = "1.0";
    std::string Provider;
    std::string Description;
    std::vector<TRegistryAction> RegistryActions;
    std::vector<TFileAction> FileActions;

    // Reads FileName (nothing when it is empty). Raises Exception, having kept no
    // action, for a file that is not a plug-in, a missing or non-numeric number, a
    // registry action without a key path, or an unknown root key.
    void LoadFromFile();
};

// "%AppData%", "%ProgramFiles%" and "%Windows%" replaced, case-sensitively, by the
// folders they name (without a trailing backslash).
std::string SubstituteFolders(const std::string& path);
