// The file finder walking a tree beside a plain FindFirstFile walk under the same Wine.
// Usage: bench_FileFinder folder   (a tree made beforehand, e.g. by scripts/bench-components)
#include "components/FileFinder/FileFinder.h"
#include "bench/BenchSupport.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_FileFinder folder\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '\\') root += '\\';

    long plainFiles = 0;
    const double plain = BestSeconds([&] {
        plainFiles = 0;
        PlainWalk(root, [&](const std::string&) { ++plainFiles; });
    });

    TFileFinder finder(nullptr);
    finder.Criteria.Files.FileName = "*.*";
    finder.Criteria.Files.Location = root;
    long found = 0;
    finder.OnFileMatch = [&](TObject*, const std::string&, const TFindData&) { ++found; };
    const double own = BestSeconds([&] {
        found = 0;
        finder.Execute();
    });
    std::printf("plain FindFirstFile walk: %ld files in %.3f s\n", plainFiles, plain);
    std::printf("TFileFinder:              %ld files in %.3f s\n", found, own);
    std::printf("ratio finder/plain: %.2f (goal: at most 1.5)\n", own / plain);
    return 0;
}
