// Shreds a file, or wipes the free space of a drive, and prints the throughput in
// MB/s. scripts/bench-wipe runs it in turn with GNU shred and dd on the same disk.
//   bench_wipe file <path> <passes>   random-byte passes over the file, per pass
//   bench_wipe free <drive>           fills the drive (the measure), then one
//                                     random-byte pass
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
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

// Notes when the fill of the free space ends: at the first pump of the pass.
class TTimedEngine : public TWipeEngine {
public:
    using TWipeEngine::TWipeEngine;
    double PassStart = 0;

protected:
    void ProcessMessages() override {
        if (PassStart == 0 && Progress() && !Progress()->lblPass->Caption().empty())
            PassStart = CounterSeconds();
        TWipeEngine::ProcessMessages();
    }
};

// Seconds that Execute took for one item.
double Run(TWipeEngine& engine, uint8_t kind, const std::string& path, double* started = nullptr) {
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

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"file", File}, {"free", FreeSpace}},
                   "bench_wipe file <path> <passes> | free <drive>");
}
