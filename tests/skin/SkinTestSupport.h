#pragma once
// Small skins for tests: .bmp bytes of solid colours, frame by frame, and packages.
#include "skin/SkinReader.h"
#include <cstdint>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

inline std::string U32(uint32_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

// An unpacked package.
inline std::string Package(const std::string& names, const std::vector<uint32_t>& sizes,
                           const std::string& data, uint32_t magic = TSkinReader::Magic) {
    std::string p = U32(magic) + U32(static_cast<uint32_t>(names.size())) + U32(0) + U32(0) + names;
    for (uint32_t s : sizes)
        p += U32(s);
    return p + data;
}

// An unpacked package of named members.
inline std::string PackageOf(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string names, data;
    std::vector<uint32_t> sizes;
    for (const auto& [name, bytes] : members) {
        names += name + "\r\n";
        sizes.push_back(static_cast<uint32_t>(bytes.size()));
        data += bytes;
    }
    return Package(names, sizes, data);
}

// A 24-bit bottom-up .bmp of w x h whose pixel (x, y) is pixel(x, y) (0x00RRGGBB).
template <class Pixel> std::string MakeBmpOf(int w, int h, Pixel pixel) {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * h;
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = h - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            uint32_t c = pixel(x, y);
            row[x * 3] = static_cast<char>(c & 0xFF);
            row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
        bytes += row;
    }
    return bytes;
}

// Frames side by side, each frameWidth x h of one colour (0x00RRGGBB).
inline std::string MakeBmp(int frameWidth, int h, const std::vector<uint32_t>& frames) {
    const int w = frameWidth * static_cast<int>(frames.size());
    return MakeBmpOf(w, h, [&](int x, int) { return frames[x / frameWidth]; });
}
