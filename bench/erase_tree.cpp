// Times a folder item of the file eraser on a tree of 20,000 small files in 2,000
// folders, beside the platform's floor (a plain FindFirstFile/CreateFile/DeleteFile/
// RemoveDirectory walk), "cmd /c rd /s /q" under the same Wine and "rm -rf" on the
// host, each on a fresh identical tree. Run it under Wine in a private prefix:
//   wine build/bench/bench_erase_tree.exe [rounds]
#include "bench/BenchSupport.h"
#include "engine/CustomEraserEngine.h"
#include "engine/erasers/EraseFiles.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <windows.h>

namespace {

constexpr int TopFolders = 40;
constexpr int SubFolders = 49;     // 40 + 40 * 49 = 2,000 folders
constexpr int FilesPerFolder = 10; // 20,000 files

void MakeFiles(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < FilesPerFolder; ++i)
        PlantFile(folder + "\\file" + std::to_string(i) + ".tmp", 100);
}

void MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (int top = 0; top < TopFolders; ++top) {
        const std::string folder = root + "\\top" + std::to_string(top);
        MakeFiles(folder);
        for (int sub = 0; sub < SubFolders; ++sub)
            MakeFiles(folder + "\\sub" + std::to_string(sub));
    }
}

// The floor: each file opened once for its size, then deleted.
int64_t DeleteTree(const std::string& folder) {
    int64_t bytes = 0;
    PlainWalk(
        folder + "\\",
        [&](const std::string& path) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                bytes += GetFileSize(file, nullptr);
                CloseHandle(file);
            }
            DeleteFileA(path.c_str());
        },
        [](const std::string& subfolder) { RemoveDirectoryA(subfolder.c_str()); });
    RemoveDirectoryA(folder.c_str());
    return bytes;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// As in the program: messages run between entries.
void EraseWithEraser(const std::string& root) {
    TCustomEraserEngine engine;
    engine.OnProcessMessages = PumpMessages;
    TEraseFiles eraser("Bench", "Bench");
    engine.AddEraser(&eraser);
    eraser.Enabled = true;
    eraser.AddFolder(root, "*.*", false, true);
    engine.Execute();
    if (engine.FilesErased != TopFolders * (SubFolders + 1) * FilesPerFolder)
        std::printf("  (the eraser counted %d files)\n", engine.FilesErased);
}

bool RunProcess(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        "C:\\", &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

std::string UnixPath(const std::string& path) {
    using TUnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<TUnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    const std::wstring wide(path.begin(), path.end());
    char* name = unixName ? unixName(wide.c_str()) : nullptr;
    const std::string result = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a shell command on the host. Under Wine the handle of a Unix program is
// signalled before the program ends, so it drops a marker file when done.
void RunOnHost(const std::string& root, const std::string& command) {
    const std::string marker = root + ".done";
    const std::string unixMarker = UnixPath(marker);
    if (unixMarker.empty()) return;
    DeleteFileA(marker.c_str());
    if (!RunProcess("\\\\?\\unix\\bin\\sh -c \"" + command + "; touch '" + unixMarker + "'\""))
        return;
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(1);
    DeleteFileA(marker.c_str());
}

// Builds a fresh tree, writes it to disk, and times one way of removing it.
double Measure(const std::string& root, const std::function<void()>& erase) {
    MakeTree(root);
    RunOnHost(root, "sync");
    const double seconds = Seconds(erase);
    if (GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES)
        std::printf("  (the tree is still there)\n");
    return seconds;
}

struct TMethod {
    const char* Label;
    std::function<void()> Erase;
    double Best = 1e300;
};

} // namespace

// The machine is shared: every method runs once per round, interleaved, and the
// best time of each counts. The first argument sets the rounds (3).
int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "twbench";
    TMethod methods[] = {
        {"plain walk", [&] { DeleteTree(root); }},
        {"eraser", [&] { EraseWithEraser(root); }},
        {"cmd /c rd /s /q", [&] { RunProcess("cmd /c rd /s /q \"" + root + "\""); }},
        {"rm -rf on the host", [&] { RunOnHost(root, "rm -rf '" + UnixPath(root) + "'"); }},
    };
    for (int round = 1; round <= rounds; ++round) {
        std::printf("round %d:", round);
        for (TMethod& method : methods) {
            const double seconds = Measure(root, method.Erase);
            method.Best = std::min(method.Best, seconds);
            std::printf("  %s %.2f s;", method.Label, seconds);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    const double floor = methods[0].Best;
    std::printf("\nbest of %d rounds, and the ratio to the plain walk (goal: eraser <= 1.25)\n",
                rounds);
    for (const TMethod& method : methods)
        std::printf("  %-20s %8.2f s %6.2f\n", method.Label, method.Best, method.Best / floor);
    return 0;
}
