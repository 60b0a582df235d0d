#pragma once
// TEMPORARY stand-in until the link-safe layer lands on main; replaced by it.
#include "classlib/base/SysUtils.h"
#include <windows.h>

inline bool SafeMoveFile(const std::string& from, const std::string& to) {
    return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_COPY_ALLOWED) != 0;
}
inline bool SafeDeleteFile(const std::string& name) {
    return DeleteFileW(ToWide(name).c_str()) != 0;
}
