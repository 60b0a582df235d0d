// A whole cleaning run, in simulation and for real, over 10,000 cache files, 2,000
// cookies and 500 most-recently-used values, beside a plain FindFirstFile/DeleteFile
// walk (and RegDeleteValue) doing the same deletions under the same Wine: the floor.
// Run it in a throwaway prefix only (scripts/bench-engine): it deletes for real.
#include "bench/BenchSupport.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include <cstdio>
#include <shlobj.h>
#include <string>
#include <windows.h>

namespace {

const char* const MRUKey = "Software\\Microsoft\\Search Assistant\\ACMru\\5647";
const int CacheFolders = 100, CacheFilesPerFolder = 100, Cookies = 2000, MRUValues = 500;

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return IncludeTrailingPathDelimiter(path);
}

void Plant() {
    const std::string cache = Folder(CSIDL_INTERNET_CACHE);
    for (int f = 0; f < CacheFolders; ++f) {
        const std::string dir = cache + "bench" + IntToStr(f) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        for (int i = 0; i < CacheFilesPerFolder; ++i)
            PlantFile(dir + "c" + IntToStr(i) + ".htm", 10);
    }
    const std::string cookies = Folder(CSIDL_COOKIES);
    for (int i = 0; i < Cookies; ++i)
        PlantFile(cookies + "user@site" + IntToStr(i) + ".txt", 10);
    TRegistry reg;
    reg.OpenKey(MRUKey, true);
    for (int i = 0; i < MRUValues; ++i)
        reg.WriteString(Format("%03d", i), "computer");
}

// The floor: every file found and deleted, every value deleted, nothing else.
long DeleteTree(const std::string& folder) {
    long files = 0;
    PlainWalk(
        folder, [&](const std::string& file) { files += DeleteFileA(file.c_str()) ? 1 : 0; },
        [](const std::string& subfolder) { RemoveDirectoryA(subfolder.c_str()); });
    return files;
}

long Floor() {
    long files = DeleteTree(Folder(CSIDL_INTERNET_CACHE)) + DeleteTree(Folder(CSIDL_COOKIES));
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, MRUKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        for (int i = 0; i < MRUValues; ++i)
            RegDeleteValueA(key, Format("%03d", i).c_str());
        RegCloseKey(key);
    }
    return files;
}

void Report(const char* what, long files, double seconds, double floor) {
    std::printf("%-16s %6ld files in %7.3f s = %8.0f files/s", what, files, seconds,
                files / seconds);
    if (floor > 0) std::printf("   %.2fx the floor", seconds / floor);
    std::printf("\n");
}

} // namespace

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
    std::printf("values erased: %d, deferred: %d\n", engine.ValuesErased,
                engine.PostEraser.Count());
    return 0;
}
