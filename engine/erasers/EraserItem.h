#pragma once
// One thing an eraser found: a file, a folder (with its mask), a registry key or a
// registry value.
#include <cstdint>
#include <string>
#include <windows.h>

enum TEraserItemKind : uint8_t { ikFile = 0, ikFolder = 1, ikRegKey = 2, ikRegValue = 3 };

struct TEraserItem {
    uint8_t Kind = ikFile;
    std::string Path;        // file and folder items
    std::string Mask;        // folder items: "*.*", "*.chk", ...
    bool KeepFolder = false; // folder items: only the contents go
    bool Recurse = false;    // folder items: subfolders too
    HKEY RootKey = nullptr;  // key and value items
    std::string Key;
    std::string ValueName; // value items
};
