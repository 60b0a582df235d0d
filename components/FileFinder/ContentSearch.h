#pragma once
// Block-wise search of a file for a phrase, through a byte translation table.
#include <cstdint>
#include <string>

using TByteTable = uint8_t[256];

// Built once at start-up, read-only afterwards (safe on search threads).
const TByteTable& IdentityTable();
const TByteTable& LowerCaseTable(); // the code page's lower-casing (CharLowerBuffA)
bool IsWordDelimiter(uint8_t c);    // not IsCharAlphaNumericA

// True when the file holds the phrase, already translated through table, with every
// byte of the file translated the same way. Unreadable files do not match.
[[nodiscard]] bool FileContainsPhrase(const std::string& fileName, const std::string& phrase,
                                      bool wholeWord, const TByteTable& table);
