// Hashes a file with MD5FileHex and prints the throughput. Without an argument it
// writes a 256 MiB file of its own into the temporary folder and removes it after.
#include "engine/tools/MD5.h"
#include "bench/BenchSupport.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <cstdio>
#include <exception>
#include <vector>

namespace {
constexpr int64_t FileSize = 256ll << 20;

void WriteTestFile(const std::string& fileName) {
    TFileStream file(fileName, fmCreate);
    std::vector<uint32_t> block(1 << 18);
    uint32_t state = 255;
    for (int64_t written = 0; written < FileSize; written += block.size() * 4) {
        for (auto& word : block)
            word = state = state * 134775813u + 1;
        file.WriteBuffer(block.data(), block.size() * 4);
    }
}
} // namespace

int main(int argc, char** argv) {
    try {
        const bool own = argc < 2;
        const std::string fileName = own ? GetTempDir() + "tw_bench_md5.bin" : argv[1];
        if (own) WriteTestFile(fileName);
        MD5FileHex(fileName); // warms the file cache
        const double start = CounterSeconds();
        const std::string digest = MD5FileHex(fileName);
        const double elapsed = CounterSeconds() - start;
        const double megabytes = static_cast<double>(FileSizeOf(fileName)) / (1 << 20);
        std::printf("MD5FileHex %s %.1f MB/s\n", LowerCase(digest).c_str(), megabytes / elapsed);
        if (own) SysDeleteFile(fileName);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
