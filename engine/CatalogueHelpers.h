#pragma once
// Small helpers of the catalogue's collect routines.
#include "engine/SharedRoutines.h"
#include <shlobj.h>
#include <string>

// A shortcut target whose extension (from the last ".", in any case) is ".doc",
// ".xls", ".mdb" or ".ppt".
bool IsOfficeDocument(const std::string& target);
// The mask can be parsed (no unclosed "[" set).
bool IsValidMask(const std::string& mask);
