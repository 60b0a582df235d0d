#pragma once
// A fresh folder under the temporary folder, removed with its contents at the end
// (folder links are removed, never followed).
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include <string>
#include <windows.h>

class TTempFolder {
public:
    TTempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount();; ++n) {
            FPath = ToUtf8(base) + "tw" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(n) + "\\";
            if (CreateDirectoryW(ToWide(FPath).c_str(), nullptr)) break;
        }
    }
    ~TTempFolder() { RemoveTree(FPath); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder with a trailing backslash.
    [[nodiscard]] const std::string& Path() const { return FPath; }
    [[nodiscard]] std::string operator/(const std::string& name) const { return FPath + name; }
    // Creates the file (and its folders) below the folder; returns its full name.
    std::string Write(const std::string& relative, const std::string& content = "x") const {
        const std::string name = FPath + relative;
        ForceDirectories(ExtractFilePath(name));
        WriteStringToFile(name, content);
        return name;
    }

private:
    static void RemoveTree(const std::string& dir) {
        ForEachFile(dir + "*", [&](const TFindData& entry) {
            const std::string full = dir + entry.Name;
            FileSetAttr(full, FILE_ATTRIBUTE_NORMAL);
            if (!entry.IsFolder())
                SysDeleteFile(full);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDir(full);
            else
                RemoveTree(full + "\\");
            return true;
        });
        RemoveDir(dir);
    }
    std::string FPath;
};
