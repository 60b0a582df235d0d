#pragma once
// One overwrite pass of a wipe method: how the buffer written over a file is filled.
#include <cstdint>
#include <string>

enum TWipeWith : uint8_t {
    wwBytePattern = 0,
    wwTextPattern = 1,
    wwRandomBytes = 2,
    wwRandomCharacter = 3,
};

class TPass {
public:
    std::string Name;
    bool CheckWipe = false; // stored and edited only; no wipe reads it
    uint8_t WipeWith = wwBytePattern;
    uint8_t BytePatternValue = 0;
    std::string TextPatternValue;
    uint8_t RandomBytesValue1 = 0; // bounds are inclusive
    uint8_t RandomBytesValue2 = 0;
    uint8_t RandomCharacterValue1 = 0;
    uint8_t RandomCharacterValue2 = 0;

    void Assign(const TPass& source) { *this = source; }
    // Exactly length bytes; empty for an unknown kind. Raises Exception for a text
    // pattern with an empty text. The random kinds draw from the program's generator.
    [[nodiscard]] std::string GetPassData(int64_t length) const;
    // Whether GetPassData yields bytes, checked without drawing random numbers.
    [[nodiscard]] bool HasData() const;
};

// Text repeated to exactly length bytes; Exception when text is empty.
std::string FillWithText(const std::string& text, int64_t length);
