#pragma once
// The DOS-style matching of the finder's exclusion lines. Wildcards: "*" matches the
// rest of the string at once (text after it is ignored), "?" any one character;
// letters compare after upper-casing "a" to "z" only.
#include <string>

[[nodiscard]] bool WildcardMatch(const std::string& s, const std::string& pattern);
// Base and extension matched separately; a pattern without extension ignores the
// name's extension, and a name without extension has the extension ".".
[[nodiscard]] bool MatchesNameRule(const std::string& name, const std::string& pattern);
// One exclusion line ("*.tmp", "C:\", "*:\Temp\", "backup\*.bak") against a file in
// folder (ending in "\").
[[nodiscard]] bool MatchesExclusion(const std::string& folder, const std::string& name,
                                    const std::string& line);
