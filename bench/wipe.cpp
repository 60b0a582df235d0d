// Shreds a file, or wipes the free space of a drive, and prints the throughput per
// pass. scripts/bench-wipe runs it beside GNU shred and dd on the same disk.
//   bench_wipe.exe file <path> <passes>   random-byte passes over the file
//   bench_wipe.exe free <drive>           fill the drive, one random-byte pass
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <cstdio>
#include <exception>

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

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "file" && argc > 3) {
            const int passes = StrToInt(argv[3]);
            InstallManager(passes);
            const double megabytes = static_cast<double>(FileSizeOf(argv[2])) / (1 << 20);
            TWipeEngine engine("WipeFiles");
            const double elapsed = Run(engine, wkFile, argv[2]);
            std::printf("Tarnwhistle %d pass(es): %.1f MB/s per pass\n", passes,
                        megabytes * passes / elapsed);
        } else if (mode == "free" && argc > 2) {
            InstallManager(1);
            const std::string root = IncludeTrailingPathDelimiter(argv[2]);
            const double megabytes = static_cast<double>(GetFreeBytes(root)) / (1 << 20);
            TTimedEngine engine("WipeFreeSpace");
            double start = 0;
            const double elapsed = Run(engine, wkFreeSpace, root, &start);
            const double fill = engine.PassStart - start;
            std::printf("Tarnwhistle free space of %.0f MiB: fill %.1f MB/s, pass %.1f MB/s\n",
                        megabytes, megabytes / fill, megabytes / (elapsed - fill));
        } else {
            std::fprintf(stderr, "usage: bench_wipe file <path> <passes> | free <drive>\n");
            return 2;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
