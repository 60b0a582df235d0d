#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"

void RaiseLastOSError() {
    RaiseOSError(GetLastError());
}

void RaiseOSError(DWORD code) {
    if (code == ERROR_SUCCESS) throw EOSError("A call to an OS function failed", code);
    throw EOSError(Format("System Error.  Code: %lu.\r\n%s", static_cast<unsigned long>(code),
                          SysErrorMessage(code).c_str()),
                   code);
}

void OleCheck(HRESULT hr) {
    if (FAILED(hr)) RaiseOSError(static_cast<DWORD>(hr));
}

std::string CurrentExceptionMessage() noexcept {
    try {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        // Anything else has no text of its own.
    }
    return "Unknown exception";
}

std::string SwallowedLine(const char* where, std::source_location at) {
    std::string file = at.file_name();
    file.erase(0, file.find_last_of("/\\") + 1);
    return "Tarnwhistle: " + file + ":" + std::to_string(at.line()) + ": " + where + ": " +
           CurrentExceptionMessage();
}

void LogSwallowed(const char* where, std::source_location at) noexcept {
    try {
        OutputDebugStringW(ToWide(SwallowedLine(where, at) + "\n").c_str());
    } catch (...) {
        // Out of memory while logging: nothing more can be done.
    }
}
