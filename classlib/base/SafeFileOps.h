#pragma once
// TEMPORARY stand-in with the interface of the link-safe layer, until it lands.
#include "classlib/base/SysUtils.h"
#include <string>
#include <windows.h>

enum TSafeFileStatus { sfDone, sfFailed, sfLink };

struct TSafeFileResult {
    TSafeFileStatus Status = sfDone;
    DWORD Error = 0;
    [[nodiscard]] bool Done() const { return Status == sfDone; }
    [[nodiscard]] bool IsLink() const { return Status == sfLink; }
    [[nodiscard]] std::string Text() const { return SysErrorMessage(Error); }
};

inline TSafeFileResult SafeResult(BOOL ok) {
    return ok ? TSafeFileResult{} : TSafeFileResult{sfFailed, GetLastError()};
}
inline TSafeFileResult SafeDeleteFile(const std::string& Path) {
    return SafeResult(DeleteFileW(ToWide(Path).c_str()));
}
inline TSafeFileResult SafeMoveFile(const std::string& From, const std::string& To,
                                    DWORD Flags = MOVEFILE_COPY_ALLOWED) {
    return SafeResult(MoveFileExW(ToWide(From).c_str(), ToWide(To).c_str(), Flags));
}
