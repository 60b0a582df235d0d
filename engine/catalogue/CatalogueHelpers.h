#pragma once
// Small helpers of the catalogue's collect routines.
#include <shlobj.h>
#include <string>

// The special folder (CSIDL) + "\" + relative; "" when the folder cannot be
// resolved, so that nothing is collected rather than a path below the current folder.
std::string SpecialSubfolder(int csidl, const std::string& relative);
// A shortcut target whose extension (in any case) is ".doc", ".xls", ".mdb" or ".ppt".
bool IsOfficeDocument(const std::string& target);
