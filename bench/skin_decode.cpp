// Our packed skin, as the program stores it: how fast it decodes (MB of decoded
// package per second) and how much reading it (decoding and parsing into elements)
// adds to the main window's creation, beside a skin component that reads nothing.
// The two sides run alternated. Goal: the skin adds under 20 ms to the start.
#include "bench/BenchSupport.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Runs = 9;
constexpr double GoalSeconds = 0.020;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    const std::string stored = ReadStoredSkinStream();
    uint32_t n = 0;
    if (stored.size() < 4) return std::puts("the skin is not embedded"), 1;
    std::memcpy(&n, stored.data(), 4);
    const std::string packed = stored.substr(4, n);
    std::string package;
    if (!TSkinReader::Unpack(packed, package)) return std::puts("the skin does not decode"), 1;

    std::vector<double> decode, withSkin, without;
    for (int round = 0; round <= Runs; ++round) {
        const double d = Seconds([&] { TSkinReader::Unpack(packed, package); });
        const double a = Seconds([&] { TSkinData(nullptr).ReadSkinStream(stored); });
        const double b = Seconds([&] { TSkinData(nullptr).ReadSkinStream(std::string(4, '\0')); });
        if (round == 0) continue; // warms the caches
        decode.push_back(d);
        withSkin.push_back(a);
        without.push_back(b);
    }
    const double added = Median(withSkin) - Median(without);
    std::printf("decoding      %7.2f ms  %7.1f MB/s  (%zu packed bytes to %zu, median of %d)\n",
                Median(decode) * 1e3, package.size() / Median(decode) / 1e6, packed.size(),
                package.size(), Runs);
    std::printf("with the skin %7.2f ms   without %7.2f ms   (medians of %d, alternated)\n",
                Median(withSkin) * 1e3, Median(without) * 1e3, Runs);
    std::printf("added to the start %.2f ms: %.2f of the 20 ms goal (%s)\n", added * 1e3,
                added / GoalSeconds, added < GoalSeconds ? "met" : "missed");
    return 0;
}
