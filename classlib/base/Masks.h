#pragma once
// File-name masks as the class library matches them: "*" and "?", sets "[abc]",
// ranges "[a-z]", negated sets "[!a-z]"; case-insensitive. "*." matches only names
// without an extension; a final ".*" also matches names without one ("*.*" is every
// file). An unparsable mask (an unclosed "[") raises EMaskException.
#include <string>

bool MatchesMask(const std::string& fileName, const std::string& mask);
