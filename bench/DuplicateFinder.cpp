// The duplicate finder's "Same Content" search, or its floor under the same Wine (a
// plain walk that reads every file whose size another file shares, once, whole), in
// seconds. The finder side writes the groups it found to groupsFile (one path per
// line, a blank line after each group) for scripts/bench-duplicates to compare with the
// planted groups.
//   bench_DuplicateFinder floor <folder>
//   bench_DuplicateFinder finder <folder> <groupsFile>
#include "app/finders/DuplicateSearch.h"
#include "bench/BenchSupport.h"
#include "components/FileFinder/FileFinder.h"
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace {

struct TFloor {
    long Files = 0;
    long SharedSizeFiles = 0;
    uint64_t BytesRead = 0;
};

struct TSizes {
    std::vector<std::pair<std::string, uint64_t>> Files;
    std::unordered_map<uint64_t, int> Count;
    [[nodiscard]] bool Shared(uint64_t size) const { return Count.at(size) > 1; }
};

TSizes WalkSizes(const std::string& root) {
    TSizes sizes;
    PlainWalk(root, [&](const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data);
        const uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        sizes.Files.emplace_back(path, size);
        ++sizes.Count[size];
    });
    return sizes;
}

// Walks the tree once for the sizes, then reads each file of a shared size whole.
TFloor ReadSharedSizes(const std::string& root) {
    const TSizes sizes = WalkSizes(root);
    TFloor floor;
    floor.Files = long(sizes.Files.size());
    std::vector<char> block(1 << 16);
    for (const auto& [path, size] : sizes.Files) {
        if (!sizes.Shared(size)) continue;
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
    size_t Opened = 0;
    size_t Comparisons = 0;
    uint64_t BytesCompared = 0;
};

// The search as the "Duplicate" tab runs it with its default options and lists.
TOwnRun SearchDuplicates(const std::string& root) {
    TOwnRun run;
    TDuplicateSearch search{TDuplicateOptions{}};
    const TFinderExclusions exclusions{{".exe"}, {"desktop.ini"}, {}, "c:\\tarnwhistle\\backup\\"};
    TFileFinder finder(nullptr);
    finder.Criteria.Files.FileName = "*.*";
    finder.Criteria.Files.Location = root;
    auto list = [&](const std::vector<TDuplicateRow>& rows) {
        for (const TDuplicateRow& row : rows)
            run.Groups[row.Group].insert(row.File.Path);
    };
    finder.OnFileMatch = [&](TObject*, const std::string& folder, const TFindData& data) {
        const TFoundFile file = FoundFile(folder, data);
        if (!exclusions.Excludes(file)) list(search.Add(file));
    };
    finder.OnWalkEnd = [&](TObject*) { list(search.Finish()); };
    finder.Execute();
    run.Opened = search.FilesOpened();
    run.Comparisons = search.ComparisonsMade();
    run.BytesCompared = search.BytesCompared();
    return run;
}

std::string Root(const std::vector<std::string>& args) {
    const std::string& root = Arg(args, 0);
    return root.back() == '\\' ? root : root + '\\';
}

double FloorSide(const std::vector<std::string>& args) {
    TFloor floor;
    const double seconds = Seconds([&] { floor = ReadSharedSizes(Root(args)); });
    std::fprintf(stderr, "tree: %ld files, %ld of a shared size (%.1f MiB read by the floor)\n",
                 floor.Files, floor.SharedSizeFiles, double(floor.BytesRead) / 1048576.0);
    return seconds;
}

double FinderSide(const std::vector<std::string>& args) {
    TOwnRun own;
    const double seconds = Seconds([&] { own = SearchDuplicates(Root(args)); });
    FILE* out = std::fopen(Arg(args, 1).c_str(), "w");
    if (!out) throw std::runtime_error("cannot write " + Arg(args, 1));
    size_t listed = 0;
    for (const auto& [group, paths] : own.Groups) {
        for (const std::string& path : paths)
            std::fprintf(out, "%s\n", path.c_str());
        std::fprintf(out, "\n");
        listed += paths.size();
    }
    std::fclose(out);
    const TSizes sizes = WalkSizes(Root(args));
    const auto shared = std::count_if(sizes.Files.begin(), sizes.Files.end(),
                                      [&](const auto& file) { return sizes.Shared(file.second); });
    std::fprintf(stderr,
                 "duplicate finder: %zu groups, %zu files listed, %zu first blocks read, %zu "
                 "files compared whole (%.1f MiB read)\n",
                 own.Groups.size(), listed, own.Opened, own.Comparisons,
                 double(own.BytesCompared) / 1048576.0);
    std::fprintf(stderr, "compared whole only among files of a shared size: %s\n",
                 own.Comparisons <= size_t(shared) ? "yes" : "NO");
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"floor", FloorSide}, {"finder", FinderSide}},
                   "bench_DuplicateFinder floor <folder> | finder <folder> <groupsFile>");
}
