#pragma once
// File stream over a Win32 file handle. Open modes and share modes combine as in
// the classic class library: fmOpenRead | fmShareDenyWrite, fmCreate, ...
#include "classlib/base/Handle.h"
#include <cstdint>
#include <string>

enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00, // creates or truncates, read/write
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TFileStream {
public:
    // Raises EFOpenError "Cannot open file %s" or EFCreateError "Cannot create file %s"
    // (with the system's reason appended as the class library does).
    TFileStream(const std::string& fileName, unsigned mode);
    // Takes over a handle opened elsewhere (the link-safe layer's overwrite open).
    TFileStream(std::string fileName, TFileHandle handle);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // Return the count actually transferred.
    int64_t Read(void* buffer, int64_t count);
    int64_t Write(const void* buffer, int64_t count);
    void ReadBuffer(void* buffer, int64_t count);        // EReadError when short
    void WriteBuffer(const void* buffer, int64_t count); // EWriteError when short
    int64_t Seek(int64_t offset, TSeekOrigin origin);
    [[nodiscard]] int64_t Position() const;
    [[nodiscard]] int64_t Size() const;
    void SetSize(int64_t size);
    bool Flush(); // FlushFileBuffers
    [[nodiscard]] HANDLE Handle() const { return FHandle.Get(); }
    [[nodiscard]] const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    TFileHandle FHandle;
};

// Whole-file helpers.
std::string ReadFileToString(const std::string& fileName);                    // EFOpenError
void WriteStringToFile(const std::string& fileName, const std::string& data); // EFCreateError
// Writes beside the file (".tmp"), flushes, and only then replaces it: a failed write
// leaves the previous file as it was. EFCreateError, EWriteError.
void WriteStringToFileAtomically(const std::string& fileName, const std::string& data);
