#pragma once
// The program started with a wipe method bound to the shredder's engines, for the
// tests of the shredding pages and the method dialogs.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/SysUtils.h"
#include "support/TempFolder.h"
#include <string>

inline std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

class ShredderPages : public TProgramTest {
protected:
    // A method of byte-pattern passes of 0x5A (one unless more are asked for), bound to
    // the three engines, and no signature or slack: the files end up holding only that
    // byte.
    void WriteMethod(int passes = 1) {
        const std::string methods = Program.Dir() + "Methods\\";
        ForceDirectories(methods);
        const std::string mtd = methods + "zed.mtd";
        WritePrivateProfileStringA("Method", "Name", "Zed", mtd.c_str());
        WritePrivateProfileStringA("Method", "Passes", IntToStr(passes).c_str(), mtd.c_str());
        for (int n = 1; n <= passes; ++n) {
            const std::string section = "Pass" + IntToStr(n);
            WritePrivateProfileStringA(section.c_str(), "Name", ("pass" + IntToStr(n)).c_str(),
                                       mtd.c_str());
            WritePrivateProfileStringA(section.c_str(), "BytePatternValue", "90", mtd.c_str());
        }
        const std::string ini = Program.Dir() + "options.ini";
        WritePrivateProfileStringA("Settings", "WipeSlackSpace", "0", ini.c_str());
        for (const char* engine : {"WipeFiles", "WipeFolders", "WipeFreeSpace"})
            WritePrivateProfileStringA("Engines", engine, "zed.mtd", ini.c_str());
    }
    // The text of the next message box, which is then closed with OK.
    std::string MessageText() {
        HWND box = Box();
        const std::string text = MessageBoxText(box);
        Answer(box, IDOK);
        return text;
    }
    HWND FolderGroup() { return FindChild(Main, "TGroupBox", " Shred Folders "); }
    TTempFolder Data;
};
