#include "classlib/base/Random.h"

uint32_t RandSeed = 255;

namespace {

uint32_t Step() {
    RandSeed = RandSeed * 134775813u + 1u;
    return RandSeed;
}

} // namespace

uint32_t Random(uint32_t n) {
    return static_cast<uint32_t>((uint64_t(Step()) * n) >> 32);
}

double RandomFloat() {
    return Step() / 4294967296.0;
}
