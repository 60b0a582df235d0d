// Shreds a file, or wipes the free space of a drive, and prints the throughput in
// MB/s. scripts/bench-wipe runs it in turn with dd on the same disk.
//   bench_wipe file <path> <passes>   random-byte passes over the file, per pass
//   bench_wipe free <drive>           fills the drive (the measure, from the
//                                     progress window's showing), then one
//                                     random-byte pass; prints the phases
//   bench_wipe folder <path> <passes> seconds to shred a folder of 2,000 small files
//   bench_wipe plain <path> <passes>  the same passes by a plain Win32 loop
//   bench_wipe wait <path> <passes>   shreds the file and prints the longest time a
//                                     message sent to the progress window waited
#include "bench/BenchSupport.h"
#include "bench/MessageWatcher.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <atomic>
#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

// A manager with the settings of a program without "options.ini" and one method
// of the given number of random-byte passes.
void InstallManager(int passes) {
    WipeMethodsManager = std::make_unique<TWipeMethodsManager>();
    WipeMethodsManager->OptionsFileName = GetTempDir() + "tw_bench_options.ini";
    WipeMethodsManager->LoadSettings();
    auto method = std::make_unique<TWipeMethod>();
    for (int i = 0; i < passes; ++i) {
        auto pass = method->AddPass();
        pass->WipeWith = wwRandomBytes;
        pass->RandomBytesValue2 = 255;
        method->Append(std::move(pass));
    }
    WipeMethodsManager->Methods.push_back(std::move(method));
}

// Times the fill of the free space: from the pump before its item, once the progress
// window is up, to the first pump of the pass, with the window shown at every pump
// so that none comes late. Sums the time the fill spent in pumps.
class TTimedEngine : public TWipeEngine {
public:
    explicit TTimedEngine(std::string name) : TWipeEngine(std::move(name)) { ProgressInterval = 0; }
    double FillStart = 0;
    double PassStart = 0;
    double PumpSeconds = 0;

protected:
    void ProcessMessages() override {
        const double start = CounterSeconds();
        TWipeEngine::ProcessMessages();
        if (FillStart == 0) {
            FillStart = CounterSeconds();
            return;
        }
        if (PassStart != 0) return;
        PumpSeconds += CounterSeconds() - start;
        if (Progress() && !Progress()->lblPass->Caption().empty()) PassStart = CounterSeconds();
    }
};

// This machine's host takes back guest memory that has been free for about two
// seconds, and the first write to each such page then costs a host fault: 3.7 ms
// per MiB written into the cache, which dd oflag=direct never pays. A sparse scratch
// file of `bytes`, read through and deleted, leaves recently used pages for the
// fill's cache without writing anything, as scripts/bench-wipe does for the dd side.
void ReuseCacheMemory(int64_t bytes) {
    const std::string path = GetTempDir() + "tw_bench_cache.tmp";
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    LARGE_INTEGER end;
    end.QuadPart = bytes;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    std::string block(1 << 20, '\0');
    DWORD read = 0;
    do
        if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) break;
    while (read > 0);
    CloseHandle(file);
}

// Seconds that Execute took for one item, pumping messages as the program does.
double Run(TWipeEngine& engine, uint8_t kind, const std::string& path, double* started = nullptr) {
    engine.OnProcessMessages = [] { Application->ProcessMessages(); };
    auto item = std::make_unique<TWipeItem>();
    item->Kind = kind;
    item->Path = path;
    engine.AddItem(std::move(item));
    const double start = CounterSeconds();
    if (started) *started = start;
    const bool ok = engine.Execute();
    const double elapsed = CounterSeconds() - start;
    for (const std::string& error : engine.Errors)
        std::fprintf(stderr, "%s\n", error.c_str());
    if (!ok) throw std::runtime_error("the wipe failed");
    return elapsed;
}

double File(const std::vector<std::string>& args) {
    const int passes = StrToInt(Arg(args, 1));
    InstallManager(passes);
    const double megabytes = static_cast<double>(FileSizeOf(Arg(args, 0))) / (1 << 20);
    TWipeEngine engine("WipeFiles");
    return megabytes * passes / Run(engine, wkFile, Arg(args, 0));
}

double FreeSpace(const std::vector<std::string>& args) {
    InstallManager(1);
    const std::string root = IncludeTrailingPathDelimiter(Arg(args, 0));
    const double megabytes = static_cast<double>(GetFreeBytes(root)) / (1 << 20);
    // A guard for the host: only a small drive made for the benchmark is filled.
    if (megabytes > 2048) throw std::runtime_error(root + " has more than 2 GiB free");
    ReuseCacheMemory(GetFreeBytes(root) + (int64_t{64} << 20));
    TTimedEngine engine("WipeFreeSpace");
    double start = 0;
    const double elapsed = Run(engine, wkFreeSpace, root, &start);
    const double fill = engine.PassStart - engine.FillStart;
    std::printf("free space of %.0f MiB: window up in %.0f ms, fill %.3f s (%.0f ms of it in "
                "pumps), pass %.1f MB/s\n",
                megabytes, (engine.FillStart - start) * 1000, fill, engine.PumpSeconds * 1000,
                megabytes / (start + elapsed - engine.PassStart));
    return megabytes / fill;
}

const int FolderFiles = 2000;
const DWORD SmallFileSize = 4096; // one cluster: no slack beyond the file's bytes

// Creates `folder` with the small files both folder sides shred.
void PlantFolder(const std::string& folder) {
    CreateDirectoryW(ToWide(folder).c_str(), nullptr);
    for (int i = 0; i < FolderFiles; ++i)
        PlantFile(folder + "\\f" + IntToStr(i) + ".dat", SmallFileSize);
}

double Folder(const std::vector<std::string>& args) {
    InstallManager(StrToInt(Arg(args, 1)));
    PlantFolder(Arg(args, 0));
    TWipeEngine engine("WipeFiles");
    return Run(engine, wkFolder, Arg(args, 0));
}

// Each file: every pass written over it and flushed, then the file deleted.
void PlainShred(const std::string& path, const std::vector<std::string>& passes) {
    HANDLE file =
        CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    for (const std::string& data : passes) {
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        WriteFile(file, data.data(), SmallFileSize, &written, nullptr);
        FlushFileBuffers(file);
    }
    CloseHandle(file);
    DeleteFileW(ToWide(path).c_str());
}

double Plain(const std::vector<std::string>& args) {
    InstallManager(StrToInt(Arg(args, 1)));
    PlantFolder(Arg(args, 0));
    const TWipeMethod& method = *WipeMethodsManager->Methods.front();
    std::vector<std::string> passes;
    for (int i = 0; i < method.PassCount(); ++i)
        passes.push_back(method.GetPass(i).GetPassData(SmallFileSize));
    const std::string folder = Arg(args, 0) + "\\";
    return Seconds([&] {
        PlainWalk(folder, [&](const std::string& path) { PlainShred(path, passes); });
        RemoveDirectoryW(ToWide(Arg(args, 0)).c_str());
    });
}

// Makes the progress window known to a watcher on another thread.
class TWatchedEngine : public TWipeEngine {
public:
    using TWipeEngine::TWipeEngine;
    std::atomic<HWND> Window{nullptr};

protected:
    void ProcessMessages() override {
        if (!Window && Progress()) Window = Progress()->Handle();
        TWipeEngine::ProcessMessages();
    }
};

double Wait(const std::vector<std::string>& args) {
    const int passes = StrToInt(Arg(args, 1));
    InstallManager(passes);
    const double megabytes = static_cast<double>(FileSizeOf(Arg(args, 0))) / (1 << 20);
    TWatchedEngine engine("WipeFiles");
    TMessageWatcher watcher([&engine] { return engine.Window.load(); });
    const double seconds = Run(engine, wkFile, Arg(args, 0));
    const double longest = watcher.Stop();
    std::fprintf(stderr, "%.0f MiB, %d passes in %.3f s; longest wait %.3f s\n", megabytes, passes,
                 seconds, longest);
    return longest;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(
        argc, argv,
        {{"file", File}, {"free", FreeSpace}, {"folder", Folder}, {"plain", Plain}, {"wait", Wait}},
        "bench_wipe file <path> <passes> | free <drive> | folder <path> <passes> | "
        "plain <path> <passes> | wait <path> <passes>");
}
