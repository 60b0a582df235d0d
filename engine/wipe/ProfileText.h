#pragma once
// Texts kept in ini files that are read through the platform's profile functions,
// which strip surrounding blanks and one pair of surrounding quotes and cut a value
// at a line break. Encoded texts come back unchanged, except that the texts "#13"
// and "#10" come back as line breaks (the files' documented line-break form).
#include <string>

// Line breaks as "#13"/"#10"; the whole value in double quotes when it starts or
// ends with a blank or a quote, so the reader's stripping removes only those quotes.
std::string EncodeProfileText(const std::string& s);
std::string DecodeProfileText(const std::string& s);
