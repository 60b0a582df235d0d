#pragma once
// The small drive that scripts/test maps from a tmpfs and names in TW_SMALL_DRIVE,
// for tests that fill a disk. Never the host's root or another large disk.
#include <cstdlib>
#include <string>
#include <windows.h>

// Its root with a trailing backslash; "" when there is none (the test then skips).
inline std::string SmallDriveRoot() {
    const char* drive = std::getenv("TW_SMALL_DRIVE");
    if (!drive || !*drive) return "";
    std::string root = drive;
    if (root.back() != '\\') root += '\\';
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr) ||
        total.QuadPart > (64u << 20))
        return "";
    return root;
}
