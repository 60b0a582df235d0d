#include "skin/LZH.h"
#include <array>
#include <cstring>

namespace {

// The prefix code of a position's upper 6 bits: code lengths 3 (v 0), 4 (1..3),
// 5 (4..11), 6 (12..23), 7 (24..47), 8 (48..63), codes given in increasing v. For each
// first byte b: the v its code begins, and that code's length.
struct TPositionTables {
    std::array<uint8_t, 256> Code{}, Len{};
    constexpr TPositionTables() {
        constexpr int counts[6] = {1, 3, 8, 12, 24, 16};
        int b = 0, v = 0;
        for (int len = 3; len <= 8; ++len)
            for (int n = 0; n < counts[len - 3]; ++n, ++v)
                for (int k = 0; k < (1 << (8 - len)); ++k, ++b) {
                    Code[b] = static_cast<uint8_t>(v);
                    Len[b] = static_cast<uint8_t>(len);
                }
    }
};
constexpr TPositionTables Positions;

} // namespace

void TLZH::StartHuff() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        son[i] = static_cast<int16_t>(i + T);
        prnt[i + T] = static_cast<int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = freq[i] + freq[i + 1];
        son[j] = static_cast<int16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
}

// Halves the counts and builds the tree again from its leaves.
void TLZH::Reconst() {
    int j = 0;
    for (int i = 0; i < T; ++i)
        if (son[i] >= T) {
            freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
            son[j] = son[i];
            ++j;
        }
    for (int i = 0, j = N_CHAR; j < T; i += 2, ++j) {
        unsigned f = freq[i] + freq[i + 1];
        int k = j - 1;
        while (f < freq[k])
            --k;
        ++k;
        std::memmove(&freq[k + 1], &freq[k], (j - k) * sizeof(freq[0]));
        freq[k] = static_cast<uint16_t>(f);
        std::memmove(&son[k + 1], &son[k], (j - k) * sizeof(son[0]));
        son[k] = static_cast<int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        int k = son[i];
        if (k >= T)
            prnt[k] = static_cast<int16_t>(i);
        else
            prnt[k] = prnt[k + 1] = static_cast<int16_t>(i);
    }
}

void TLZH::Update(int c) {
    if (freq[R] == MAX_FREQ) Reconst();
    c = prnt[c + T];
    do {
        unsigned k = ++freq[c];
        int l = c + 1;
        if (k > freq[l]) {
            while (k > freq[++l]) {
            }
            --l;
            freq[c] = freq[l];
            freq[l] = static_cast<uint16_t>(k);
            int i = son[c];
            prnt[i] = static_cast<int16_t>(l);
            if (i < T) prnt[i + 1] = static_cast<int16_t>(l);
            int j = son[l];
            son[l] = static_cast<int16_t>(i);
            prnt[j] = static_cast<int16_t>(c);
            if (j < T) prnt[j + 1] = static_cast<int16_t>(c);
            son[c] = static_cast<int16_t>(j);
            c = l;
        }
    } while ((c = prnt[c]) != 0);
}

void TLZH::Fill() {
    while (FBitCount <= 8) {
        unsigned byte = FSourcePos < FSourceSize ? FSource[FSourcePos] : 0;
        ++FSourcePos;
        FBitBuf |= static_cast<uint16_t>(byte << (8 - FBitCount));
        FBitCount += 8;
    }
}

int TLZH::GetBit() {
    Fill();
    int bit = FBitBuf >> 15;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte() {
    Fill();
    int byte = FBitBuf >> 8;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 8);
    FBitCount -= 8;
    return byte;
}

int TLZH::DecodeChar() {
    int c = son[R];
    while (c < T)
        c = son[c + GetBit()];
    c -= T;
    Update(c);
    return c;
}

int TLZH::DecodePosition() {
    int i = GetByte();
    int c = Positions.Code[i] << 6;
    for (int j = Positions.Len[i] - 2; j > 0; --j)
        i = (i << 1) + GetBit();
    return c | (i & 0x3F);
}

bool TLZH::Decode(const uint8_t* source, size_t sourceSize, size_t decodedSize,
                  std::string& target) {
    FSource = source;
    FSourceSize = sourceSize;
    FSourcePos = 0;
    FBitBuf = 0;
    FBitCount = 0;
    StartHuff();
    std::memset(FRing, ' ', N - F);
    std::memset(FRing + N - F, 0, F);
    target.clear();
    target.resize(decodedSize);
    size_t count = 0;
    int r = N - F;
    while (count < decodedSize) {
        if (FSourcePos > FSourceSize + MaxOverrun) return false;
        int c = DecodeChar();
        if (c < 256) {
            target[count++] = static_cast<char>(c);
            FRing[r] = static_cast<uint8_t>(c);
            r = (r + 1) & (N - 1);
            continue;
        }
        int s = (r - DecodePosition() - 1) & (N - 1);
        // A match is copied whole; bytes past the decoded size are dropped.
        for (int k = 0, len = c - 255 + THRESHOLD; k < len; ++k) {
            uint8_t byte = FRing[(s + k) & (N - 1)];
            if (count < decodedSize) target[count++] = static_cast<char>(byte);
            FRing[r] = byte;
            r = (r + 1) & (N - 1);
        }
    }
    return FSourcePos <= FSourceSize + MaxOverrun;
}
