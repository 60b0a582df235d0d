// What one file costs a cleaning run, in microseconds per file over 2,000 small files
// in a cache folder: the floor deletes each (DeleteFile); a real clean deletes it
// through the link-safe layer, whose one open checks the entry and deletes it; a
// simulation asks the layer what a delete would meet (an open, the final path, a
// close); "open and close" is the part of that check no way of asking can skip: under
// Wine only the final path of an opened handle tells a host link to a file from its
// target. scripts/bench-engine plants the files afresh before each side.
// Run it under Wine in a private prefix only: it deletes for real.
//   bench_LinkCheck plant|delete|checked|check|open
#include "bench/BenchSupport.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <shlobj.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr int Files = 2000;

std::string Folder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_INTERNET_CACHE | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return IncludeTrailingPathDelimiter(path) + "linkcheck\\";
}

void Plant() {
    const std::string folder = Folder();
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < Files; ++i)
        PlantFile(folder + "c" + IntToStr(i) + ".htm", 10);
}

// Microseconds per file the folder walk with `act` on every file takes.
double PerFile(const std::function<void(const std::string&)>& act) {
    int files = 0;
    const double seconds = Seconds([&] {
        PlainWalk(Folder(), [&](const std::string& path) {
            act(path);
            ++files;
        });
    });
    if (files != Files) throw std::runtime_error("found " + IntToStr(files) + " files");
    return seconds * 1e6 / files;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"plant", [](auto&) { return Seconds(Plant); }},
                    {"delete",
                     [](auto&) {
                         return PerFile([](const std::string& path) { DeleteFileA(path.c_str()); });
                     }},
                    {"checked",
                     [](auto&) {
                         return PerFile([](const std::string& path) {
                             if (!SafeDeleteFile(path).Done()) throw std::runtime_error(path);
                         });
                     }},
                    {"check",
                     [](auto&) {
                         return PerFile([](const std::string& path) {
                             if (!SafeCheckEntry(path).Done()) throw std::runtime_error(path);
                         });
                     }},
                    {"open",
                     [](auto&) {
                         return PerFile([](const std::string& path) {
                             HANDLE file = CreateFileW(
                                 ToWide(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
                             if (file == INVALID_HANDLE_VALUE) throw std::runtime_error(path);
                             CloseHandle(file);
                         });
                     }}},
                   "bench_LinkCheck plant|delete|checked|check|open");
}
