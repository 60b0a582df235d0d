#include "engine/wipe/ProfileText.h"
#include "engine/SharedRoutines.h"
#include <cctype>

namespace {

bool StrippedByReader(char c) {
    return c == '"' || c == '\'' || std::isspace(static_cast<unsigned char>(c));
}

} // namespace

std::string EncodeProfileText(const std::string& s) {
    std::string result = EncodeLineBreaks(s);
    if (!result.empty() && (StrippedByReader(result.front()) || StrippedByReader(result.back())))
        result = '"' + result + '"';
    return result;
}

std::string DecodeProfileText(const std::string& s) {
    return DecodeLineBreaks(s);
}
