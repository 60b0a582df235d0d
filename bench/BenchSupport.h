#pragma once
// Timing, tree-planting and plain-walk helpers the benchmarks share. A benchmark
// program runs one side of a comparison once per start; scripts/benchlib.sh runs the
// sides in turn and judges the medians.
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>
#include <windows.h>

// The performance counter, in seconds.
inline double CounterSeconds() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How long one run of `run` takes, in seconds.
inline double Seconds(const std::function<void()>& run) {
    const double start = CounterSeconds();
    run();
    return CounterSeconds() - start;
}

// Creates (or empties) the file `path` and writes `size` zero bytes into it.
inline void PlantFile(const std::string& path, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string data(size, '\0');
    DWORD written = 0;
    WriteFile(file, data.data(), size, &written, nullptr);
    CloseHandle(file);
}

// The plain FindFirstFile walk the benchmarks measure against: `onFile` gets the path
// of every file below `folder` (ending in a backslash), `onFolder` that of every
// subfolder once its contents are done.
inline void PlainWalk(const std::string& folder,
                      const std::function<void(const std::string&)>& onFile,
                      const std::function<void(const std::string&)>& onFolder = nullptr) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainWalk(folder + name + "\\", onFile, onFolder);
            if (onFolder) onFolder(folder + name);
        } else {
            onFile(folder + name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// One side of a comparison: given the arguments after its name, returns its measure.
using TSide = std::function<double(const std::vector<std::string>& args)>;

// The argument at `index`; std::runtime_error when there are fewer.
inline const std::string& Arg(const std::vector<std::string>& args, size_t index) {
    if (index >= args.size()) throw std::runtime_error("missing argument");
    return args[index];
}

// Runs the side that argv[1] names with the remaining arguments and prints its
// measure as the last line; returns the process exit code.
inline int RunSide(int argc, char** argv, const std::map<std::string, TSide>& sides,
                   const char* usage) {
    const auto side = argc > 1 ? sides.find(argv[1]) : sides.end();
    if (side == sides.end()) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    try {
        const double measure = side->second(std::vector<std::string>(argv + 2, argv + argc));
        std::printf("%.4f\n", measure);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
