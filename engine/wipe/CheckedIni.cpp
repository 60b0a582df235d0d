#include "engine/wipe/CheckedIni.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"

int TCheckedIni::ReadInteger(const std::string& section, const std::string& ident, int def, int low,
                             int high) {
    const std::string text = Ini.ReadString(section, ident, "");
    if (text.empty()) return def;
    int value = 0;
    if (!TryStrToInt(text, value) || IntToStr(value) != text) {
        FDamaged = true;
        return def;
    }
    if (value < low || value > high) FDamaged = true;
    return value;
}

bool TCheckedIni::ReadBool(const std::string& section, const std::string& ident, bool def) {
    const int value = ReadInteger(section, ident, def ? 1 : 0);
    if (value != 0 && value != 1) FDamaged = true;
    return value != 0;
}

std::string KeepDamagedWipeFile(const std::string& fileName) {
    const std::string copy = KeepDamagedCopy(fileName);
    std::string name = "\"";
    name += ExtractFileName(fileName);
    name += '"';
    if (copy.empty()) return name + " is damaged: what could be read was loaded.";
    return name + " is damaged: what could be read was loaded, and the file was kept as " + copy +
           ".";
}
