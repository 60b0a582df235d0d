#include "components/FileFinder/FileMasks.h"
#include "classlib/base/SysUtils.h"

namespace {
char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The extension runs from the last "." after the last "\" or ":", dot included.
void SplitExtension(const std::string& s, std::string& base, std::string& ext) {
    ext = ExtractFileExt(s);
    base = s.substr(0, s.size() - ext.size());
}

bool DrivesAgree(const std::string& fileDrive, const std::string& lineDrive) {
    if (lineDrive.rfind("\\\\", 0) == 0) return WildcardMatch(fileDrive, lineDrive);
    const char c = lineDrive[0];
    if (c == '*' || c == '?') return true;
    return !fileDrive.empty() && UpperAscii(fileDrive[0]) == UpperAscii(c);
}
} // namespace

bool WildcardMatch(const std::string& s, const std::string& pattern) {
    size_t i = 0;
    size_t j = 0;
    for (; i < s.size() && j < pattern.size(); ++i, ++j) {
        if (pattern[j] == '*') return true;
        if (pattern[j] != '?' && UpperAscii(pattern[j]) != UpperAscii(s[i])) return false;
    }
    if (j == pattern.size()) return i == s.size();
    return pattern.find_first_not_of("*?", j) == std::string::npos;
}

bool MatchesNameRule(const std::string& name, const std::string& pattern) {
    std::string nameBase, nameExt, patternBase, patternExt;
    SplitExtension(name, nameBase, nameExt);
    SplitExtension(pattern, patternBase, patternExt);
    if (patternExt.empty()) return WildcardMatch(nameBase, patternBase);
    return WildcardMatch(nameExt.empty() ? "." : nameExt, patternExt) &&
           WildcardMatch(nameBase, patternBase);
}

bool MatchesExclusion(const std::string& folder, const std::string& name, const std::string& line) {
    const size_t cut = line.find_last_of("\\:");
    std::string path = cut == std::string::npos ? "" : line.substr(0, cut + 1);
    const std::string mask = line.substr(path.size());
    if (!path.empty()) {
        const std::string lineDrive = ExtractFileDrive(path);
        const std::string folderDrive = ExtractFileDrive(folder);
        if (!lineDrive.empty()) {
            if (!DrivesAgree(folderDrive, lineDrive)) return false;
            path.erase(0, lineDrive.size());
        }
        if (!path.empty()) {
            if (folder.size() < folderDrive.size() + path.size()) return false;
            if (!SameText(folder.substr(folder.size() - path.size()), path)) return false;
        }
    }
    return mask.empty() || MatchesNameRule(name, mask);
}
