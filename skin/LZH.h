#pragma once
// TLZH: the LZHUF decoder of the skin package (4096-byte ring with 4036 blanks
// preset, matches of 3 to 60 bytes, an adaptive Huffman tree of 314 symbols).
// One object decodes one stream. Any thread.
#include <cstddef>
#include <cstdint>
#include <string>

class TLZH {
public:
    static constexpr int N = 4096, F = 60, THRESHOLD = 2;
    static constexpr int N_CHAR = 256 - THRESHOLD + F; // 314 symbols
    static constexpr int T = 2 * N_CHAR - 1;           // 627 tree nodes
    static constexpr int R = T - 1;                    // the root
    static constexpr unsigned MAX_FREQ = 0x8000;
    // Reading further than this past the end of the packed bytes means a damaged
    // stream (a sound one reads at most two bytes ahead of its last code).
    static constexpr size_t MaxOverrun = 16;

    // Decodes code bits into target until decodedSize bytes are there; false when the
    // stream runs out (a damaged one). Missing bytes within MaxOverrun read as 0.
    bool Decode(const uint8_t* source, size_t sourceSize, size_t decodedSize, std::string& target);

private:
    void StartHuff();
    void Reconst();
    void Update(int c);
    int DecodeChar();
    int DecodePosition();
    int GetBit();
    int GetByte();
    void Fill();

    uint16_t freq[T + 1];
    int16_t son[T];
    int16_t prnt[T + N_CHAR];
    uint8_t FRing[N];
    uint16_t FBitBuf = 0;
    int FBitCount = 0;
    const uint8_t* FSource = nullptr;
    size_t FSourceSize = 0, FSourcePos = 0;
};
