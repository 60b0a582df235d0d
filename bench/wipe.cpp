// Shreds a file, or wipes the free space of a drive, and prints the throughput in
// MB/s. scripts/bench-wipe runs it in turn with GNU shred and dd on the same disk.
//   bench_wipe file <path> <passes>   random-byte passes over the file, per pass
//   bench_wipe free <drive>           fills the drive (the measure), then one
//                                     random-byte pass
//   bench_wipe folder <path> <passes> seconds to shred a folder of 2,000 small files
//   bench_wipe plain <path> <passes>  the same passes by a plain Win32 loop
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
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

// Notes when the fill of the free space ends: at the first pump of the pass, with
// the window shown at every pump so that none comes late.
class TTimedEngine : public TWipeEngine {
public:
    explicit TTimedEngine(std::string name) : TWipeEngine(std::move(name)) { ProgressInterval = 0; }
    double PassStart = 0;

protected:
    void ProcessMessages() override {
        TWipeEngine::ProcessMessages();
        if (PassStart == 0 && Progress() && !Progress()->lblPass->Caption().empty())
            PassStart = CounterSeconds();
    }
};

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
    TTimedEngine engine("WipeFreeSpace");
    double start = 0;
    const double elapsed = Run(engine, wkFreeSpace, root, &start);
    const double fill = engine.PassStart - start;
    std::printf("free space of %.0f MiB: pass %.1f MB/s\n", megabytes,
                megabytes / (elapsed - fill));
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

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"file", File}, {"free", FreeSpace}, {"folder", Folder}, {"plain", Plain}},
                   "bench_wipe file <path> <passes> | free <drive> | folder <path> <passes> | "
                   "plain <path> <passes>");
}
