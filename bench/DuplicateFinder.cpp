// The duplicate finder's "Same Content" search beside its floor under the same Wine:
// a plain walk that reads every file whose size another file shares, once. Both run
// alternated, five times each; the medians and their ratio are printed, and the
// groups found are written to groupsFile (one path per line, a blank line after each
// group) for scripts/bench-duplicates to compare with jdupes.
// Usage: bench_DuplicateFinder folder groupsFile
#include "app/finders/DuplicateSearch.h"
#include "bench/BenchSupport.h"
#include "components/FileFinder/FileFinder.h"
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

struct TFloor {
    long Files = 0;
    long SharedSizeFiles = 0;
    uint64_t BytesRead = 0;
};

// Walks the tree once for the sizes, then reads each file of a shared size whole.
TFloor ReadSharedSizes(const std::string& root) {
    std::vector<std::pair<std::string, uint64_t>> files;
    std::unordered_map<uint64_t, int> sizes;
    PlainWalk(root, [&](const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data);
        const uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        files.emplace_back(path, size);
        ++sizes[size];
    });
    TFloor floor;
    floor.Files = long(files.size());
    std::vector<char> block(1 << 16);
    for (const auto& [path, size] : files) {
        if (sizes[size] < 2) continue;
        ++floor.SharedSizeFiles;
        HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        DWORD read = 0;
        while (ReadFile(file, block.data(), DWORD(block.size()), &read, nullptr) && read > 0)
            floor.BytesRead += read;
        CloseHandle(file);
    }
    return floor;
}

struct TOwnRun {
    std::map<int, std::set<std::string>> Groups;
    size_t Digests = 0;
    uint64_t BytesDigested = 0;
};

// The search as the "Duplicate" tab runs it with its default options and lists.
TOwnRun SearchDuplicates(const std::string& root) {
    TOwnRun run;
    TDuplicateSearch search{TDuplicateOptions{}};
    const TFinderExclusions exclusions{{".exe"}, {"desktop.ini"}, {}, "c:\\tarnwhistle\\backup\\"};
    TFileFinder finder(nullptr);
    finder.Criteria.Files.FileName = "*.*";
    finder.Criteria.Files.Location = root;
    finder.OnFileMatch = [&](TObject*, const std::string& folder, const TFindData& data) {
        const TFoundFile file = FoundFile(folder, data);
        if (exclusions.Excludes(file)) return;
        for (const TDuplicateRow& row : search.Add(file))
            run.Groups[row.Group].insert(row.File.Path);
    };
    finder.Execute();
    run.Digests = search.DigestsComputed();
    run.BytesDigested = search.BytesDigested();
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_DuplicateFinder folder groupsFile\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '\\') root += '\\';
    constexpr int Rounds = 5;
    std::vector<double> floorTimes, ownTimes;
    TFloor floor;
    TOwnRun own;
    for (int i = 0; i < Rounds; ++i) {
        floorTimes.push_back(Seconds([&] { floor = ReadSharedSizes(root); }));
        ownTimes.push_back(Seconds([&] { own = SearchDuplicates(root); }));
    }
    size_t listed = 0;
    FILE* out = std::fopen(argv[2], "w");
    if (!out) return 1;
    for (const auto& [group, paths] : own.Groups) {
        for (const std::string& path : paths)
            std::fprintf(out, "%s\n", path.c_str());
        std::fprintf(out, "\n");
        listed += paths.size();
    }
    std::fclose(out);
    const double floorMedian = Median(floorTimes), ownMedian = Median(ownTimes);
    std::printf("tree: %ld files, %ld of a shared size (%.1f MiB read by the floor)\n", floor.Files,
                floor.SharedSizeFiles, double(floor.BytesRead) / 1048576.0);
    std::printf("duplicate finder: %zu groups, %zu files listed, %zu MD5 digests (%.1f MiB)\n",
                own.Groups.size(), listed, own.Digests, double(own.BytesDigested) / 1048576.0);
    std::printf("MD5 at most once per file and only for shared sizes: %s\n",
                own.Digests <= size_t(floor.SharedSizeFiles) ? "yes" : "NO");
    std::printf("median of %d: floor (walk, read shared sizes once) %.3f s, duplicate finder "
                "%.3f s\n",
                Rounds, floorMedian, ownMedian);
    std::printf("ratio finder/floor: %.2f (goal: at most 1.5)\n", ownMedian / floorMedian);
    return 0;
}
