// A whole cleaning run, in simulation and for real, over 10,000 cache files, 2,000
// cookies and 500 most-recently-used values, beside a plain FindFirstFile/DeleteFile
// walk (and RegDeleteValue) doing the same deletions under the same Wine: the floor.
// Run it in a throwaway prefix only (scripts/bench-engine): it deletes for real.
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include <shlobj.h>
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

const char* const MRUKey = "Software\\Microsoft\\Search Assistant\\ACMru\\5647";
const int CacheFolders = 100, CacheFilesPerFolder = 100, Cookies = 2000, MRUValues = 500;

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return IncludeTrailingPathDelimiter(path);
}

void Touch(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "0123456789", 10, &written, nullptr);
    CloseHandle(file);
}

void Plant() {
    const std::string cache = Folder(CSIDL_INTERNET_CACHE);
    for (int f = 0; f < CacheFolders; ++f) {
        const std::string dir = cache + "bench" + IntToStr(f) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        for (int i = 0; i < CacheFilesPerFolder; ++i) Touch(dir + "c" + IntToStr(i) + ".htm");
    }
    const std::string cookies = Folder(CSIDL_COOKIES);
    for (int i = 0; i < Cookies; ++i) Touch(cookies + "user@site" + IntToStr(i) + ".txt");
    TRegistry reg;
    reg.OpenKey(MRUKey, true);
    for (int i = 0; i < MRUValues; ++i) reg.WriteString(Format("%03d", i), "computer");
}

// The floor: every file found and deleted, every value deleted, nothing else.
long PlainWalk(const std::string& folder) {
    long files = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files += PlainWalk(folder + name + "\\");
            RemoveDirectoryA((folder + name).c_str());
        } else if (DeleteFileA((folder + name).c_str())) {
            ++files;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return files;
}

long Floor() {
    long files = PlainWalk(Folder(CSIDL_INTERNET_CACHE)) + PlainWalk(Folder(CSIDL_COOKIES));
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, MRUKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        for (int i = 0; i < MRUValues; ++i) RegDeleteValueA(key, Format("%03d", i).c_str());
        RegCloseKey(key);
    }
    return files;
}

double Seconds(const auto& run) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    run();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

void Report(const char* what, long files, double seconds, double floor) {
    std::printf("%-16s %6ld files in %7.3f s = %8.0f files/s", what, files, seconds,
                files / seconds);
    if (floor > 0) std::printf("   %.2fx the floor", seconds / floor);
    std::printf("\n");
}

}  // namespace

int main() {
    std::printf("planting %d cache files, %d cookies, %d MRU values\n",
                CacheFolders * CacheFilesPerFolder, Cookies, MRUValues);
    Plant();
    long floorFiles = 0;
    const double floor = Seconds([&] { floorFiles = Floor(); });
    Plant();

    TEraserEngine engine;
    for (TCatalogueItem item : {ciEraseFindComputer, ciIEEraseCache, ciIEEraseCookies})
        engine.Item(item).Enabled = true;
    engine.SimulationMode = true;
    const double simulation = Seconds([&] { engine.Clean(); });
    const long simulated = engine.FilesErased;
    engine.SimulationMode = false;
    const double real = Seconds([&] { engine.Clean(); });

    Report("floor", floorFiles, floor, 0);
    Report("simulation run", simulated, simulation, floor);
    Report("real run", engine.FilesErased, real, floor);
    std::printf("values erased: %d, deferred: %d\n", engine.ValuesErased, engine.PostEraser.Count());
    return 0;
}
