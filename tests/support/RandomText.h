#pragma once
// Seeded random texts for settings: C0 controls (not NUL, which ends a window text),
// lone surrogates, pairs of every plane, the two non-characters at the end of the BMP,
// and ordinary BMP text.
#include <cstdint>
#include <random>
#include <string>

inline std::wstring RandomText(std::mt19937& rng, int maxLength = 12) {
    std::wstring text;
    const int length = static_cast<int>(rng() % static_cast<unsigned>(maxLength));
    for (int i = 0; i < length; ++i) {
        switch (rng() % 6) {
        case 0: text += static_cast<wchar_t>(1 + rng() % 0x1F); break;
        case 1: text += static_cast<wchar_t>(0xD800 + rng() % 0x800); break;
        case 2: {
            const uint32_t code = 0x10000 + rng() % 0x100000;
            text += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            break;
        }
        case 3: text += static_cast<wchar_t>(0xFFFE + rng() % 2); break;
        default: text += static_cast<wchar_t>(0x20 + rng() % (0xD800 - 0x20)); break;
        }
    }
    return text;
}
