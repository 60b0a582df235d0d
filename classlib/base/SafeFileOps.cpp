#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>
#include <winternl.h>

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

TSafeFileResult Failed(DWORD error) {
    return {sfFailed, error};
}

TSafeFileResult LastError() {
    return Failed(GetLastError());
}

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
    return s.compare(0, wcslen(prefix), prefix) == 0;
}

// "\\?\C:\x" as "C:\x", "\\?\UNC\server\x" as "\\server\x"; no trailing "\" but
// after a drive.
std::wstring Plain(std::wstring path) {
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        path = L"\\" + path.substr(7);
    else if (StartsWith(path, L"\\\\?\\"))
        path = path.substr(4);
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    return full.empty() ? Plain(path) : Plain(full);
}

// "X:\..." or "\\server\share\..." with no "/", no empty part and no "." or ".." part:
// Win32 would change it only by dropping trailing dots and blanks.
bool IsPlainFullPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool share =
        path.size() > 2 && StartsWith(path, L"\\\\") && path[2] != L'?' && path[2] != L'.';
    if (!(drive || share) || path.find(L'/') != std::wstring::npos) return false;
    for (size_t start = drive ? 3 : 2; start < path.size();) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring part = path.substr(start, end - start);
        if (part.empty() || part == L"." || part == L"..") return false;
        start = end + 1;
    }
    return true;
}

std::wstring ExactWide(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return path;
    const std::wstring full = IsPlainFullPath(Plain(path)) ? Plain(path) : FullPath(path);
    if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring LongPath(const std::wstring& fullPath) {
    std::wstring longName(fullPath.size() + MAX_PATH, L'\0');
    const DWORD n =
        GetLongPathNameW(fullPath.c_str(), longName.data(), static_cast<DWORD>(longName.size()));
    if (n == 0 || n >= longName.size()) return fullPath;
    longName.resize(n);
    return Plain(longName);
}

// Wine's final-path call holds the name in a buffer of MAX_PATH whatever the caller
// gives; the object name it reads from has any length and, under Wine, the DOS form.
std::wstring ObjectDosName(HANDLE handle) {
    std::vector<char> buffer(4096);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQueryObject(handle, ObjectNameInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (buffer.size() >= 0x20000) return L"";
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    }
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring path(name->Buffer, name->Length / sizeof(wchar_t));
    return StartsWith(path, L"\\??\\") ? L"\\\\?\\" + path.substr(4) : L"";
}

// "" when the platform tells none; the buffer grows to what the path needs.
std::wstring FinalPath(HANDLE handle) {
    constexpr DWORD Flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    std::wstring path(MAX_PATH, L'\0');
    DWORD n =
        GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), Flags);
    if (n >= path.size()) {
        path.resize(n);
        n = GetFinalPathNameByHandleW(handle, path.data(), n, Flags);
    }
    path.resize(n < path.size() ? n : 0);
    if (path.empty() && GetLastError() == ERROR_MORE_DATA) path = ObjectDosName(handle);
    return Plain(path);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Every part without its trailing dots and blanks, as Wine spells final paths.
std::wstring Trimmed(const std::wstring& path) {
    std::wstring trimmed;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        std::wstring part = path.substr(start, end - start);
        while (!part.empty() && (part.back() == L'.' || part.back() == L' '))
            part.pop_back();
        trimmed += part;
        if (end < path.size()) trimmed += L'\\';
        start = end + 1;
    }
    return trimmed;
}

bool SameFile(HANDLE handle, const std::wstring& otherPath) {
    const TFileHandle other(CreateFileW(otherPath.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return other && GetFileInformationByHandle(handle, &a) &&
           GetFileInformationByHandle(other.Get(), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

enum class TListed { Yes, No, Unknown };

// The handle's final path against the exact path it was opened by. Long names are
// looked up only when the plain comparison fails (8.3 names). Wine drops trailing dots
// and blanks from final paths, so a name that has them matches its trimmed form, unless
// the handle is the very file the trimmed name opens: then a link led to it.
TListed IsListedEntry(HANDLE handle, const std::wstring& exactPath) {
    const std::wstring final = FinalPath(handle), listed = Plain(exactPath);
    if (final.empty()) return TListed::Unknown;
    if (SameName(final, listed) || SameName(final, LongPath(listed))) return TListed::Yes;
    const std::wstring trimmed = Trimmed(listed);
    if (trimmed != listed && SameName(final, trimmed) && !SameFile(handle, ExactWide(trimmed)))
        return TListed::Yes;
    return TListed::No;
}

// Opens the entry Path names without following a link and tells what it is.
struct TEntry {
    TFileHandle Handle;
    DWORD Attributes = 0; // read only where asked for or the path differs
    TSafeFileResult Result;
    [[nodiscard]] bool IsMarkedLink() const {
        return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }
    [[nodiscard]] bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    void Refuse(const TSafeFileResult& result) {
        Result = result;
        Handle.Reset();
    }
};

bool ReadAttributes(TEntry& entry) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(entry.Handle.Get(), FileAttributeTagInfo, &info, sizeof info))
        return false;
    entry.Attributes = info.FileAttributes;
    return true;
}

// Wine shows a host link to a file as a plain file, even opened as a reparse point,
// and hands out its target (a folder link's too): only the handle's final path, the
// target's, tells it from the entry that was listed. The listing and the handle give
// the target's attributes and file ID alike, and an open relative to a checked folder
// is looked up by name again, so the final path is asked for every entry. Anything reached through
// a linked folder differs the same way. A marked link is opened as itself; where its final path
// differs all the same, its attributes tell it. Where every link is marked the final path is not
// looked at.
TEntry OpenEntry(const std::string& Path, DWORD Access, DWORD Share, DWORD Flags,
                 bool WithAttributes) {
    TEntry entry;
    entry.Result = SafeCheckName(Path);
    if (!entry.Result.Done()) return entry;
    const std::wstring path = ExactWide(ToWide(Path));
    entry.Handle.Reset(CreateFileW(path.c_str(), Access | FILE_READ_ATTRIBUTES, Share, nullptr,
                                   OPEN_EXISTING, Flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!entry.Handle) {
        entry.Result = LastError();
        return entry;
    }
    const TListed listed =
        UnmarkedLinksQuery() ? IsListedEntry(entry.Handle.Get(), path) : TListed::Yes;
    if (listed == TListed::Unknown)
        entry.Refuse(Failed(ERROR_CANT_RESOLVE_FILENAME));
    else if ((WithAttributes || listed == TListed::No) && !ReadAttributes(entry))
        entry.Refuse(LastError());
    else if (listed == TListed::No && !entry.IsMarkedLink())
        entry.Refuse({sfLink, 0});
    return entry;
}

// Any entry, a folder too.
TEntry OpenAnyEntry(const std::string& Path, DWORD Access, DWORD Share, DWORD Flags,
                    bool WithAttributes) {
    return OpenEntry(Path, Access, Share, Flags | FILE_FLAG_BACKUP_SEMANTICS, WithAttributes);
}

// For the calls that would follow any link: a marked one is refused too.
void RefuseMarkedLink(TEntry& entry) {
    if (entry.Result.Done() && entry.IsMarkedLink()) entry.Refuse({sfLink, 0});
}

// Through the handle, so that no link passes the change on to its target.
TSafeFileResult ClearReadOnlyOf(HANDLE handle) {
    constexpr DWORD Settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                               FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
    FILE_BASIC_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info))
        return LastError();
    if ((info.FileAttributes & FILE_ATTRIBUTE_READONLY) == 0) return {};
    const DWORD kept = info.FileAttributes & Settable;
    info = {}; // times of 0 stay as they are
    info.FileAttributes = kept ? kept : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info)) return LastError();
    return {};
}

// Not FILE_FLAG_DELETE_ON_CLOSE at the open, which would spare this call: Wine cannot
// take that back when the check then finds a link, and the close deletes its target.
TSafeFileResult DisposeOf(HANDLE handle) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!SetFileInformationByHandle(handle, FileDispositionInfo, &dispose, sizeof dispose))
        return LastError();
    return {};
}

} // namespace

bool RunsUnderWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

std::function<bool()> UnmarkedLinksQuery = RunsUnderWine;

std::string TSafeFileResult::Text() const {
    switch (Status) {
    case sfDone: return "";
    case sfLink: return "A link, left in place with its target";
    case sfFailed: break;
    }
    if (Error == ERROR_INVALID_NAME) return "A name Windows cannot hold, left in place";
    if (Error == ERROR_CANT_RESOLVE_FILENAME)
        return "Where the name leads cannot be told, left in place";
    return SysErrorMessage(Error);
}

std::string ExactPath(const std::string& Path) {
    return ToUtf8(ExactWide(ToWide(Path)));
}

TSafeFileResult SafeCheckName(const std::string& Path) {
    const size_t slash = Path.rfind('\\');
    if (slash == std::string::npos) return {};
    for (const char c : Path.substr(slash + 1))
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/|?*", c))
            return Failed(ERROR_INVALID_NAME);
    return {};
}

TSafeFileResult SafeDeleteFile(const std::string& Path, bool ClearReadOnly) {
    // Opened as a file first: a folder, or a link to one, fails that with
    // ERROR_ACCESS_DENIED and is looked at as any entry. So does a read-only file opened
    // to clear the attribute, under Wine for any user but root; Wine then clears it
    // through the handle opened for deleting. The attributes are read through the handle
    // all the same: under Wine that hands this thread the file's descriptor, so the
    // file's blocks are freed (on a disk that discards them, waiting for the disk) when
    // this thread closes the handle, not in the wineserver that every thread waits on.
    TEntry entry =
        OpenEntry(Path, DELETE | (ClearReadOnly ? FILE_WRITE_ATTRIBUTES : 0), ShareAll, 0, true);
    if (!entry.Result.Done() && entry.Result.Error == ERROR_ACCESS_DENIED) {
        entry = OpenAnyEntry(Path, DELETE, ShareAll, 0, true);
        if (entry.Result.Done() && entry.IsFolder() && !entry.IsMarkedLink())
            return Failed(ERROR_ACCESS_DENIED);
    }
    if (!entry.Result.Done()) return entry.Result;
    if (ClearReadOnly && !entry.IsFolder()) {
        const TSafeFileResult cleared = ClearReadOnlyOf(entry.Handle.Get());
        if (!cleared.Done()) return cleared;
    }
    return DisposeOf(entry.Handle.Get());
}

TSafeFileResult SafeRemoveDir(const std::string& Dir) {
    const TEntry entry = OpenAnyEntry(Dir, DELETE, ShareAll, 0, true);
    if (!entry.Result.Done()) return entry.Result;
    if (!entry.IsFolder() && !entry.IsMarkedLink()) return Failed(ERROR_DIRECTORY);
    return DisposeOf(entry.Handle.Get());
}

TSafeFileResult SafeMoveFile(const std::string& From, const std::string& To, DWORD Flags) {
    TEntry entry = OpenAnyEntry(From, 0, ShareAll, 0, false);
    if (!entry.Result.Done()) return entry.Result;
    entry.Handle.Reset(); // MoveFileEx opens the entry itself, as a link where it is one
    if (!MoveFileExW(ExactWide(ToWide(From)).c_str(), ExactWide(ToWide(To)).c_str(), Flags))
        return LastError();
    return {};
}

TSafeOpenedFile SafeOpenForOverwrite(const std::string& Path, DWORD Access, DWORD Share,
                                     DWORD Flags) {
    TEntry entry = OpenAnyEntry(Path, Access, Share, Flags, true);
    RefuseMarkedLink(entry);
    if (entry.Result.Done() && entry.IsFolder()) entry.Refuse(Failed(ERROR_ACCESS_DENIED));
    return {std::move(entry.Handle), entry.Result};
}

TSafeFileResult SafeRenameOpened(HANDLE File, const std::string& NewName, bool Replace) {
    const std::wstring name = ToWide(NewName);
    const size_t bytes = name.size() * sizeof(wchar_t);
    std::vector<char> buffer(offsetof(FILE_RENAME_INFO, FileName) + bytes + sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = Replace;
    info->FileNameLength = static_cast<DWORD>(bytes);
    std::memcpy(info->FileName, name.c_str(), bytes + sizeof(wchar_t));
    if (!SetFileInformationByHandle(File, FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
        return LastError();
    return {};
}

TSafeFileResult SafeDeleteOpened(HANDLE File) {
    return DisposeOf(File);
}

DWORD SafeNameCount(HANDLE File) {
    FILE_STANDARD_INFO info{};
    if (!GetFileInformationByHandleEx(File, FileStandardInfo, &info, sizeof info)) return 0;
    return info.NumberOfLinks;
}

std::string SafeFinalPath(HANDLE File) {
    return ToUtf8(FinalPath(File));
}

std::string SafeRealPath(const std::string& Path) {
    std::wstring existing = FullPath(ToWide(Path)), rest;
    for (;;) {
        const TFileHandle entry(CreateFileW(existing.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (entry) {
            const std::wstring real = FinalPath(entry.Get());
            if (real.empty()) return "";
            return ToUtf8(real.back() == L'\\' && !rest.empty() ? real + rest.substr(1)
                                                                : real + rest);
        }
        const size_t slash = existing.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash + 1 >= existing.size()) return "";
        rest = existing.substr(slash) + rest;
        existing.erase(slash > 2 ? slash : slash + 1); // "C:\x" goes up to "C:\"
    }
}

TSafeFileResult SafeCheckEntry(const std::string& Path) {
    if (!UnmarkedLinksQuery()) return SafeCheckName(Path);
    return OpenAnyEntry(Path, 0, ShareAll, 0, false).Result;
}

TSafeFileResult SafeCheckNoLink(const std::string& Path) {
    if (!UnmarkedLinksQuery()) {
        const TSafeFileResult name = SafeCheckName(Path);
        if (!name.Done()) return name;
        const DWORD attributes = GetFileAttributesW(ExactWide(ToWide(Path)).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return {sfLink, 0};
        return {};
    }
    TEntry entry = OpenAnyEntry(Path, 0, ShareAll, 0, true);
    RefuseMarkedLink(entry);
    return entry.Result;
}
