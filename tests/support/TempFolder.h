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
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (unsigned n = GetTickCount();; ++n) {
            FPath = std::string(base) + "tw" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(n) + "\\";
            if (CreateDirectoryA(FPath.c_str(), nullptr)) break;
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
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                std::string full = dir + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                const DWORD attributes = data.dwFileAttributes;
                if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA(full.c_str());
                else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveDirectoryA(full.c_str());
                else
                    RemoveTree(full + "\\");
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string FPath;
};
