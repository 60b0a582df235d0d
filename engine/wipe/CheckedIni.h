#pragma once
// Numbers and switches of the wipe files, read through the profile functions while
// noting damage: a value that is present but is no whole number in its range would
// not be written back as it stands, so its file is damaged.
#include "classlib/base/IniFiles.h"
#include <climits>
#include <string>

class TCheckedIni {
public:
    explicit TCheckedIni(const std::string& fileName) : Ini(fileName) {}

    // The number, or def when absent or damaged.
    [[nodiscard]] int ReadInteger(const std::string& section, const std::string& ident, int def,
                                  int low = INT_MIN, int high = INT_MAX);
    // "1" or "0"; def when absent, any other number is on.
    [[nodiscard]] bool ReadBool(const std::string& section, const std::string& ident, bool def);
    void NoteDamage() { FDamaged = true; }
    [[nodiscard]] bool Damaged() const { return FDamaged; }

    const TIniFile Ini;

private:
    bool FDamaged = false;
};

// Copies a damaged wipe file aside before the program's end rewrites it, and returns
// the line that says so.
std::string KeepDamagedWipeFile(const std::string& fileName);
