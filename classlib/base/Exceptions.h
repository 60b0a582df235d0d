#pragma once
// The class library's exception classes. Thrown inside C++ code only: every Win32
// callback and thread procedure catches them.
#include <source_location>
#include <stdexcept>
#include <string>
#include <windows.h>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& msg) : std::runtime_error(msg) {}
    [[nodiscard]] std::string Message() const { return what(); }
};

// A platform call failed; Code is the Win32 error or HRESULT.
class EOSError : public Exception {
public:
    EOSError(const std::string& msg, DWORD code) : Exception(msg), Code(code) {}
    DWORD Code;
};

class EStreamError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
}; // "Cannot open file %s"
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
}; // "Cannot create file %s"
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};
class EConvertError : public Exception {
    using Exception::Exception;
};
class ERegistryException : public Exception {
    using Exception::Exception;
};
class EXMLDocError : public Exception {
    using Exception::Exception;
};
class EMaskException : public Exception {
    using Exception::Exception;
};
class EListError : public Exception {
    using Exception::Exception;
};
class EIniFileException : public Exception {
    using Exception::Exception;
}; // "Unable to write to %s"

// Throws EOSError for GetLastError() (or the given code), with the system's text.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseOSError(DWORD code);
// Throws EOSError when hr failed.
void OleCheck(HRESULT hr);

// The message of the exception being handled, "Unknown exception" for one that is no
// std::exception. Call inside a catch block; never throws.
[[nodiscard]] std::string CurrentExceptionMessage() noexcept;
// The line LogSwallowed writes: "Tarnwhistle: File.cpp:12: where: what". Call inside
// a catch block; the file and line are the caller's.
[[nodiscard]] std::string SwallowedLine(const char* where,
                                        std::source_location at = std::source_location::current());
// For a catch block that goes on as if nothing happened: logs where and what with
// OutputDebugString, and nothing else, so what the user sees stays as it was.
void LogSwallowed(const char* where,
                  std::source_location at = std::source_location::current()) noexcept;
