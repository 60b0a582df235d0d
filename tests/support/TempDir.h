#pragma once
// A fresh folder under the prefix's temporary folder for one test, removed with
// everything in it (read-only files included) when the test ends.
#include <string>
#include <windows.h>

class TTempDir {
public:
    TTempDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static unsigned counter = 0;
        FPath = std::string(base) + "tw" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++counter) + "\\";
        CreateDirectoryA(FPath.c_str(), nullptr);
    }
    ~TTempDir() { RemoveTree(FPath); }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // The folder, with a trailing backslash.
    [[nodiscard]] const std::string& Path() const { return FPath; }
    [[nodiscard]] std::string File(const std::string& name) const { return FPath + name; }

    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA((dir + "*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = dir + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path + "\\");
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &fd));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

private:
    std::string FPath;
};
