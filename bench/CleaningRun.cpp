// A whole cleaning run, in simulation and for real, over 10,000 cache files, 2,000
// cookies and 500 most-recently-used values, beside a plain FindFirstFile/DeleteFile
// walk (and RegDeleteValue) doing the same deletions under the same Wine: the floor.
// Each side times its run, in seconds, over what "plant" made before. Run it in a
// throwaway prefix only (scripts/bench-engine): it deletes for real.
//   bench_CleaningRun plant|floor|simulation|real
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

double FloorSide(const std::vector<std::string>&) {
    long files = 0;
    const double seconds = Seconds([&] { files = Floor(); });
    std::fprintf(stderr, "floor: %ld files\n", files);
    return seconds;
}

double CleanSide(bool simulation) {
    TEraserEngine engine;
    for (TCatalogueItem item : {ciEraseFindComputer, ciIEEraseCache, ciIEEraseCookies})
        engine.Item(item).Enabled = true;
    engine.SimulationMode = simulation;
    const double seconds = Seconds([&] { engine.Clean(); });
    std::fprintf(stderr, "%s: %d files, %d values, %d deferred\n",
                 simulation ? "simulation" : "real run", engine.FilesErased, engine.ValuesErased,
                 engine.PostEraser.Count());
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"plant", [](auto&) { return Seconds(Plant); }},
                    {"floor", FloorSide},
                    {"simulation", [](auto&) { return CleanSide(true); }},
                    {"real", [](auto&) { return CleanSide(false); }}},
                   "bench_CleaningRun plant|floor|simulation|real");
}
