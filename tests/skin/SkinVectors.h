#pragma once
// The decoder's test vectors, made at build time by make_vectors.py with the packer.
#include <cstdint>
#include <string>
#include <vector>

struct TLZHVector {
    std::string Name;
    std::vector<uint8_t> Code;  // LZHUF code bits, without the size word
    std::vector<uint8_t> Plain; // what they decode to
};
const std::vector<TLZHVector>& LZHVectors();
