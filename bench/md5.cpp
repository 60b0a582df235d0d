// MD5FileHex over a file, in MB/s: the side of scripts/bench that md5sum meets.
//   bench_md5 hash <file>
#include "engine/tools/MD5.h"
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"

int main(int argc, char** argv) {
    return RunSide(argc, argv,
                   {{"hash",
                     [](const std::vector<std::string>& args) {
                         const std::string& fileName = Arg(args, 0);
                         MD5FileHex(fileName); // warms the file cache, as md5sum's side does
                         const double seconds = Seconds([&] { MD5FileHex(fileName); });
                         return static_cast<double>(FileSizeOf(fileName)) / (1 << 20) / seconds;
                     }}},
                   "bench_md5 hash <file>");
}
