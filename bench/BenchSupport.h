#pragma once
// Timing, tree-planting and plain-walk helpers the benchmarks share.
#include <algorithm>
#include <functional>
#include <string>
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

// The fastest of `rounds` runs, in seconds.
inline double BestSeconds(const std::function<void()>& run, int rounds = 3) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i)
        best = std::min(best, Seconds(run));
    return best;
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
