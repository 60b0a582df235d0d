// A folder item of the file eraser, or the platform's floor (a plain FindFirstFile/
// CreateFile/DeleteFile/RemoveDirectory walk), removing a tree of 20,000 small files
// in 2,000 folders, in seconds. scripts/bench-engine plants a fresh tree before each
// side and writes it to disk. Run it under Wine in a private prefix only.
//   bench_erase_tree plant|plain|eraser <folder>
#include "bench/BenchSupport.h"
#include "engine/CustomEraserEngine.h"
#include "engine/erasers/EraseFiles.h"
#include <cstdio>
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
        std::fprintf(stderr, "the eraser counted %d files\n", engine.FilesErased);
}

// Sides: the tree is planted beforehand, and must be gone after.
double Erase(const std::string& root, const std::function<void()>& erase) {
    const double seconds = Seconds(erase);
    if (GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw std::runtime_error("the tree is still there");
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"plant",
                     [](const std::vector<std::string>& args) {
                         return Seconds([&] { MakeTree(Arg(args, 0)); });
                     }},
                    {"plain",
                     [](const std::vector<std::string>& args) {
                         return Erase(Arg(args, 0), [&] { DeleteTree(Arg(args, 0)); });
                     }},
                    {"eraser",
                     [](const std::vector<std::string>& args) {
                         return Erase(Arg(args, 0), [&] { EraseWithEraser(Arg(args, 0)); });
                     }}},
                   "bench_erase_tree plant|plain|eraser <folder>");
}
