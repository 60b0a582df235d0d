#include "classlib/base/Streams.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>

namespace {

DWORD ShareFlags(unsigned mode) {
    switch (mode & 0xF0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0; // exclusive, as the compatibility mode
    }
}

DWORD AccessFlags(unsigned mode) {
    switch (mode & 3) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

std::string WithReason(const std::string& text, DWORD code) {
    std::string reason = SysErrorMessage(code);
    return reason.empty() ? text : text + ". " + reason;
}

// Single calls transfer at most this much.
constexpr int64_t kChunk = 1 << 30;

} // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : FFileName(fileName) {
    const bool create = (mode & 0xFF00) == fmCreate;
    FHandle.Reset(CreateFileW(ToWide(fileName).c_str(),
                              create ? GENERIC_READ | GENERIC_WRITE : AccessFlags(mode),
                              ShareFlags(mode), nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (FHandle) return;
    DWORD code = GetLastError();
    if (create) throw EFCreateError(WithReason("Cannot create file " + fileName, code));
    throw EFOpenError(WithReason("Cannot open file " + fileName, code));
}

TFileStream::TFileStream(std::string fileName, TFileHandle handle)
    : FFileName(std::move(fileName)), FHandle(std::move(handle)) {}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < count) {
        DWORD done = 0;
        DWORD want = static_cast<DWORD>(std::min(count - total, kChunk));
        if (!ReadFile(FHandle.Get(), p + total, want, &done, nullptr) || done == 0) break;
        total += done;
    }
    return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t total = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (total < count) {
        DWORD done = 0;
        DWORD want = static_cast<DWORD>(std::min(count - total, kChunk));
        if (!WriteFile(FHandle.Get(), p + total, want, &done, nullptr) || done == 0) break;
        total += done;
    }
    return total;
}

void TFileStream::ReadBuffer(void* buffer, int64_t count) {
    if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TFileStream::WriteBuffer(const void* buffer, int64_t count) {
    if (Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(FHandle.Get(), distance, &result, methods[origin])) RaiseLastOSError();
    return result.QuadPart;
}

int64_t TFileStream::Position() const {
    LARGE_INTEGER zero{}, result;
    if (!SetFilePointerEx(FHandle.Get(), zero, &result, FILE_CURRENT)) RaiseLastOSError();
    return result.QuadPart;
}

int64_t TFileStream::Size() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(FHandle.Get(), &size)) RaiseLastOSError();
    return size.QuadPart;
}

void TFileStream::SetSize(int64_t size) {
    int64_t old = Position();
    Seek(size, soBeginning);
    if (!SetEndOfFile(FHandle.Get())) RaiseLastOSError();
    Seek(std::min(old, size), soBeginning);
}

bool TFileStream::Flush() {
    return FlushFileBuffers(FHandle.Get()) != 0;
}

std::string ReadFileToString(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    std::string data(static_cast<size_t>(stream.Size()), '\0');
    data.resize(static_cast<size_t>(stream.Read(data.data(), static_cast<int64_t>(data.size()))));
    return data;
}

void WriteStringToFile(const std::string& fileName, const std::string& data) {
    TFileStream stream(fileName, fmCreate);
    stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void WriteStringToFileAtomically(const std::string& fileName, const std::string& data) {
    const std::string temp = fileName + ".tmp";
    try {
        TFileStream stream(temp, fmCreate);
        stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        stream.Flush();
    } catch (const EWriteError&) {
        SysDeleteFile(temp);
        throw;
    }
    if (!ReplaceFileAtomically(temp, fileName)) {
        const DWORD code = GetLastError();
        SysDeleteFile(temp);
        throw EFCreateError("Cannot create file " + fileName + ". " + SysErrorMessage(code));
    }
}
