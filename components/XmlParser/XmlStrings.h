#pragma once
// String and file routines under the XML parser. Positions are 1-based, 0 meaning
// "not found", as the parser counts them.
#include "classlib/base/Streams.h"
#include <string>

// Position of the first Find in Source at or after Start (exact bytes); 0 when absent
// or when Find or Source is empty.
[[nodiscard]] int PosStr(const std::string& find, const std::string& source, int start);

// Every Find replaced by Replace, left to right, without overlap (case-sensitive).
[[nodiscard]] std::string ReplaceString(const std::string& source, const std::string& find,
                                        const std::string& replace);

// The whole file; raises the stream errors of the class library.
[[nodiscard]] inline std::string FileToString(const std::string& fileName) {
    return ReadFileToString(fileName);
}
