// Path, file and folder routines declared in SysUtils.h.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <iterator>
#include <winternl.h>

// Not in the toolchain's headers; exported by ntdll.
extern "C" NTSTATUS NTAPI NtReadFile(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK,
                                     PVOID, ULONG, PLARGE_INTEGER, PULONG);

namespace {

bool IsDelimiter(char c) {
    return c == '\\' || c == ':';
}

size_t LastDelimiter(const std::string& s) {
    return s.find_last_of("\\:");
}

// The name's part before its first dot, blanks after it dropped, names a device.
bool IsDeviceName(const std::string& name) {
    const std::string base = UpperCase(TrimRight(name.substr(0, name.find('.'))));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device) return true;
    return base.size() == 4 && (StartsText("COM", base) || StartsText("LPT", base)) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

// Paths.

std::string IncludeTrailingPathDelimiter(const std::string& s) {
    return s.empty() || s.back() == '\\' ? s : s + '\\';
}

std::string ExcludeTrailingPathDelimiter(const std::string& s) {
    return !s.empty() && s.back() == '\\' ? s.substr(0, s.size() - 1) : s;
}

std::string ExtractFilePath(const std::string& s) {
    size_t i = LastDelimiter(s);
    return i == std::string::npos ? std::string() : s.substr(0, i + 1);
}

std::string ExtractFileDir(const std::string& s) {
    size_t i = LastDelimiter(s);
    if (i == std::string::npos) return {};
    // "C:\x" gives "C:\" and "\x" gives "\": the root keeps its delimiter.
    if (s[i] == '\\' && i > 0 && !IsDelimiter(s[i - 1])) return s.substr(0, i);
    return s.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& s) {
    size_t i = LastDelimiter(s);
    return i == std::string::npos ? s : s.substr(i + 1);
}

std::string ExtractFileExt(const std::string& s) {
    size_t dot = s.find_last_of(".\\:");
    return dot != std::string::npos && s[dot] == '.' ? s.substr(dot) : std::string();
}

std::string ExtractFileDrive(const std::string& s) {
    if (s.size() >= 2 && s[1] == ':') return s.substr(0, 2);
    if (s.size() >= 2 && s[0] == '\\' && s[1] == '\\') {
        size_t server = s.find('\\', 2);
        if (server == std::string::npos) return s;
        size_t share = s.find('\\', server + 1);
        return s.substr(0, share);
    }
    return {};
}

std::string ChangeFileExt(const std::string& s, const std::string& ext) {
    size_t dot = s.find_last_of(".\\:");
    if (dot == std::string::npos || s[dot] != '.') return s + ext;
    return s.substr(0, dot) + ext;
}

std::string ExpandFileName(const std::string& s) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(ToWide(s).c_str(), std::size(buffer), buffer, nullptr);
    return n == 0 || n >= std::size(buffer) ? s : ToUtf8(std::wstring(buffer, n));
}

std::string NewFileNameProblem(const std::string& name) {
    if (name.empty()) return "it is empty";
    if (IsDeviceName(name)) return "it is the name of a device";
    if (name.find_first_of("<>:\"/\\|?*") != std::string::npos ||
        std::any_of(name.begin(), name.end(), [](char c) { return c > 0 && c < ' '; }))
        return "it holds a character that file names cannot hold";
    if (name.back() == '.' || name.back() == ' ') return "it ends in a dot or a blank";
    return "";
}

// Files and folders.

DWORD FileGetAttr(const std::string& name) {
    return GetFileAttributesW(ToWide(name).c_str());
}

bool FileSetAttr(const std::string& name, DWORD attr) {
    return SetFileAttributesW(ToWide(name).c_str(), attr) != 0;
}

bool FileExists(const std::string& name) {
    DWORD a = FileGetAttr(name);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& name) {
    DWORD a = FileGetAttr(name);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& dir) {
    std::string d = ExcludeTrailingPathDelimiter(dir);
    if (d.empty()) return false;
    if (DirectoryExists(d) || d == ExtractFileDrive(d)) return true; // "C:" or "\\server\share"
    std::string parent = ExtractFileDir(d);
    if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
    return CreateDirectoryW(ToWide(d).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool SysDeleteFile(const std::string& name) {
    return DeleteFileW(ToWide(name).c_str()) != 0;
}

bool RemoveDir(const std::string& dir) {
    return RemoveDirectoryW(ToWide(dir).c_str()) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return MoveFileW(ToWide(from).c_str(), ToWide(to).c_str()) != 0;
}

int64_t FileSizeOf(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ToWide(name).c_str(), GetFileExInfoStandard, &data)) return -1;
    return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ForEachFile(const std::string& pattern, const std::function<bool(const TFindData&)>& visit) {
    TFindData entry;
    TFindHandle find(FindFirstFileExW(ToWide(pattern).c_str(), FindExInfoBasic, &entry,
                                      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return true;
    do {
        const wchar_t* name = entry.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        entry.Exact = ToUtf8Exact(name, entry.Name);
        if (!visit(entry)) return false;
    } while (FindNextFileW(find.Get(), &entry));
    return true;
}

bool DirectoryWritable(const std::string& dir) {
    const std::string trial =
        IncludeTrailingPathDelimiter(dir) + "~write-check-" + IntToStr(GetCurrentProcessId());
    const TFileHandle file(CreateFileW(ToWide(trial).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.Valid();
}

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
    return MoveFileExW(ToWide(source).c_str(), ToWide(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// ReadFile with an offset also asks for a completion to be posted, which under Wine is
// a round trip to its server for every read; the native call reads with no completion.
bool ReadFileAt(HANDLE file, uint64_t offset, void* buffer, DWORD size, DWORD& read) {
    constexpr NTSTATUS EndOfFile = static_cast<NTSTATUS>(0xC0000011L);
    IO_STATUS_BLOCK io{};
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    const NTSTATUS status =
        NtReadFile(file, nullptr, nullptr, nullptr, &io, buffer, size, &at, nullptr);
    read = status == 0 ? static_cast<DWORD>(io.Information) : 0;
    if (status != 0 && status != EndOfFile) SetLastError(RtlNtStatusToDosError(status));
    return status == 0 || status == EndOfFile;
}

uint64_t FileIndexOf(HANDLE file) {
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION info{};
    if (NtQueryInformationFile(file, &io, &info, sizeof info, FileInternalInformation) != 0)
        return 0;
    return static_cast<uint64_t>(info.IndexNumber.QuadPart);
}
