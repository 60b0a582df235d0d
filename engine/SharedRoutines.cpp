#include "engine/SharedRoutines.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include <shlobj.h>
#include <shlwapi.h>

DWORD ShlwapiMajorVersion = 0;
DWORD ShlwapiMinorVersion = 0;

std::string GetMethodsDir() {
    return GetAppDir() + "Methods\\";
}

namespace {
// Calls a platform routine that fills a character buffer of the given size.
template <class F> std::string FromBuffer(DWORD size, F fill) {
    std::wstring buf(size, L'\0');
    const DWORD len = fill(buf.data(), size);
    buf.resize(len < size ? len : 0);
    return ToUtf8(buf);
}
} // namespace

std::string KeepDamagedCopy(const std::string& fileName) {
    for (int n = 1; n < 100; ++n) {
        const std::string copy = fileName + ".damaged" + (n > 1 ? IntToStr(n) : "");
        if (CopyFileW(ToWide(fileName).c_str(), ToWide(copy).c_str(), TRUE)) return copy;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return "";
}

std::string GetTempDir() {
    return FromBuffer(MAX_PATH + 1, [](wchar_t* b, DWORD n) { return GetTempPathW(n, b); });
}

std::string GetWindowsDir() {
    return FromBuffer(MAX_PATH, [](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); });
}

std::string GetSystemDir() {
    return FromBuffer(MAX_PATH, [](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
}

std::string GetWindowsTempDir() {
    return IncludeTrailingPathDelimiter(GetWindowsDir()) + "Temp";
}

std::string GetProgramFilesDir() {
    try {
        TRegistry reg(KEY_READ);
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (!reg.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows\\CurrentVersion")) return "";
        return reg.ReadString("ProgramFilesDir");
    } catch (const Exception&) {
        return "";
    }
}

std::string GetShortPath(const std::string& path) {
    const std::wstring wide = ToWide(path);
    return FromBuffer(MAX_PATH,
                      [&](wchar_t* b, DWORD n) { return GetShortPathNameW(wide.c_str(), b, n); });
}

void GetSpecialFolderPath(int csidl, std::string& path) {
    path.clear();
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return;
    wchar_t buf[MAX_PATH] = {};
    if (SHGetPathFromIDListW(pidl, buf)) path = ExcludeTrailingPathDelimiter(ToUtf8(buf));
    CoTaskMemFree(pidl);
}

std::string SpecialFolder(int csidl) {
    std::string path;
    GetSpecialFolderPath(csidl, path);
    return path;
}

TStringList ListFiles(const std::string& folder, const std::string& mask) {
    TStringList list;
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ForEachFile(IncludeTrailingPathDelimiter(folder) + mask, [&](const TFindData& entry) {
        if (!(entry.dwFileAttributes & excluded) && entry.Exact) list.Add(entry.Name);
        return true;
    });
    return list;
}

UINT GetDriveKind(const std::string& root) {
    const UINT kind = GetDriveTypeW(ToWide(root).c_str());
    return kind == DRIVE_NO_ROOT_DIR ? DRIVE_UNKNOWN : kind;
}

DWORD GetClusterSize(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return 1;
    const std::string root = std::string(1, path[0]) + ":\\";
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(ToWide(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters))
        return 1;
    return sectorsPerCluster * bytesPerSector;
}

int64_t GetFreeBytes(const std::string& path) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(ToWide(path).c_str(), &available, nullptr, nullptr))
        RaiseLastOSError();
    return static_cast<int64_t>(available.QuadPart);
}

void GetShellFileInfo(const std::string& path, SHFILEINFOW& info) {
    info = SHFILEINFOW{};
    SHGetFileInfoW(ToWide(path).c_str(), 0, &info, sizeof(info),
                   SHGFI_SMALLICON | SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME |
                       SHGFI_SYSICONINDEX);
}

void ReadShortcut(const std::string& fileName, TShortcutInfo& info) {
    TCoInitScope com;
    TComPtr<IShellLinkW> link;
    OleCheck(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.OutVoid()));
    TComPtr<IPersistFile> file;
    OleCheck(link->QueryInterface(IID_IPersistFile, file.OutVoid()));
    OleCheck(file->Load(ToWide(fileName).c_str(), STGM_READ));
    OleCheck(link->Resolve(nullptr, SLR_NO_UI | SLR_ANY_MATCH));

    wchar_t buf[MAX_PATH + 1] = {};
    WIN32_FIND_DATAW fd;
    OleCheck(link->GetPath(buf, MAX_PATH, &fd, 0));
    // Wine ignores SLGP_SHORTPATH: shorten the path ourselves.
    info.Path = GetShortPath(ToUtf8(buf));
    if (info.Path.empty()) info.Path = ToUtf8(buf);
    OleCheck(link->GetArguments(buf, MAX_PATH));
    info.Arguments = ToUtf8(buf);
    OleCheck(link->GetDescription(buf, MAX_PATH));
    info.Description = ToUtf8(buf);
    OleCheck(link->GetWorkingDirectory(buf, MAX_PATH));
    info.WorkingDirectory = ToUtf8(buf);
    OleCheck(link->GetIconLocation(buf, MAX_PATH, &info.IconIndex));
    info.IconLocation = ToUtf8(buf);
    OleCheck(link->GetShowCmd(&info.ShowCmd));
    OleCheck(link->GetHotkey(&info.HotKey));
}

void ReadShlwapiVersion() {
    ShlwapiMajorVersion = 0;
    ShlwapiMinorVersion = 0;
    TLibraryHandle lib(LoadLibraryW(L"shlwapi.dll"));
    if (!lib) return;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(lib.Get(), "DllGetVersion")));
    if (!getVersion) return;
    DLLVERSIONINFO version{};
    version.cbSize = sizeof(version);
    if (FAILED(getVersion(&version))) return;
    ShlwapiMajorVersion = version.dwMajorVersion;
    ShlwapiMinorVersion = version.dwMinorVersion;
}

std::string EncodeLineBreaks(const std::string& s) {
    return StringReplace(StringReplace(s, "\r", "#13"), "\n", "#10");
}

std::string DecodeLineBreaks(const std::string& s) {
    return StringReplace(StringReplace(s, "#13", "\r"), "#10", "\n");
}

std::string FormatSize(int64_t size) {
    if (size == 0) return "0 B";
    static const char* const units[] = {" B", " KB", " MB", " GB", " TB"};
    double value = static_cast<double>(size);
    size_t divisions = 0;
    while (value >= 1000) {
        value /= 1024;
        ++divisions;
    }
    const std::string text = FloatToStrFixed(value, 2);
    return divisions < std::size(units) ? text + units[divisions] : text;
}

char DigitKeyFilter(char key) {
    return (key >= '0' && key <= '9') || key == '\b' ? key : '\0';
}

TDateTime CombineDateTime(TDateTime datePart, TDateTime timePart) {
    return StrToDate(DateToStr(datePart)) + StrToTime(TimeToStr(timePart));
}

void SplitDateTime(TDateTime value, TDateTime& datePart, TDateTime& timePart) {
    datePart = StrToDate(DateToStr(value));
    timePart = StrToTime(TimeToStr(value));
}
