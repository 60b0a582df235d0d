#pragma once
// The program's one pseudo-random generator: the run-time's linear congruential
// generator. State 255 at start, never seeded from the clock; each draw steps
// state = state * 134775813 + 1 (mod 2^32); a draw below n is the upper 32 bits of
// state * n. Main thread only.
#include <cstddef>
#include <cstdint>

extern uint32_t RandSeed;
uint32_t Random(uint32_t n); // 0 <= result < n; 0 when n is 0
double RandomFloat();        // 0 <= result < 1
// Fills out with bytes from low to high (low <= high), each drawn as Random(high + 1)
// repeated while below low: the draws of a loop, made faster.
void FillRandomBytes(uint8_t* out, size_t count, uint8_t low, uint8_t high);
