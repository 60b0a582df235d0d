#include "classlib/base/Random.h"

uint32_t RandSeed = 255;

namespace {

uint32_t Next(uint32_t state) {
    return state * 134775813u + 1u;
}

uint32_t Below(uint32_t state, uint64_t n) {
    return static_cast<uint32_t>((state * n) >> 32);
}

uint32_t Step() {
    RandSeed = Next(RandSeed);
    return RandSeed;
}

} // namespace

uint32_t Random(uint32_t n) {
    return Below(Step(), n);
}

void FillRandomBytes(uint8_t* out, size_t count, uint8_t low, uint8_t high) {
    uint32_t state = RandSeed; // in a register: the stores through out might alias RandSeed
    for (size_t i = 0; i < count; ++i) {
        uint32_t r;
        do {
            state = Next(state);
            r = Below(state, uint64_t{high} + 1);
        } while (r < low);
        out[i] = static_cast<uint8_t>(r);
    }
    RandSeed = state;
}

double RandomFloat() {
    return Step() / 4294967296.0;
}
