// The file finder walking a tree, or the plain FindFirstFile walk it is measured
// against, in seconds (scripts/bench-components makes the tree).
//   bench_FileFinder finder|plain <folder>
#include "components/FileFinder/FileFinder.h"
#include "bench/BenchSupport.h"
#include <cstdio>

namespace {

std::string Root(const std::vector<std::string>& args) {
    std::string root = Arg(args, 0);
    return root.back() == '\\' ? root : root + '\\';
}

// Both sides walk once untimed first, as the program's walks meet a warm cache.
double Plain(const std::vector<std::string>& args) {
    long files = 0;
    const auto walk = [&] { PlainWalk(Root(args), [&](const std::string&) { ++files; }); };
    walk();
    files = 0;
    const double seconds = Seconds(walk);
    std::fprintf(stderr, "plain walk: %ld files\n", files);
    return seconds;
}

double Finder(const std::vector<std::string>& args) {
    TFileFinder finder(nullptr);
    finder.Criteria.Files.FileName = "*.*";
    finder.Criteria.Files.Location = Root(args);
    long found = 0;
    finder.OnFileMatch = [&](TObject*, const std::string&, const TFindData&) { ++found; };
    finder.Execute();
    found = 0;
    const double seconds = Seconds([&] { finder.Execute(); });
    std::fprintf(stderr, "finder: %ld files\n", found);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"plain", Plain}, {"finder", Finder}},
                   "bench_FileFinder finder|plain <folder>");
}
