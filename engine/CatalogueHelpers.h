#pragma once
// Small helpers of the catalogue's collect routines.
#include <shlobj.h>
#include <string>

// The path of a shell special folder (CSIDL), without a trailing backslash; ""
// when it cannot be resolved.
std::string SpecialFolder(int csidl);
// The platform is of the Windows NT line.
bool IsWindowsNT();
// A shortcut target whose extension (from the last ".", in any case) is ".doc",
// ".xls", ".mdb" or ".ppt".
bool IsOfficeDocument(const std::string& target);
// The mask can be parsed (no unclosed "[" set).
bool IsValidMask(const std::string& mask);
