#include "engine/SharedRoutines.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include <shlobj.h>
#include <shlwapi.h>

DWORD ShlwapiMajorVersion = 0;
DWORD ShlwapiMinorVersion = 0;

std::string AddTrailingBackslash(const std::string& s) {
    if (s.empty() || s.back() == '\\') return s;
    return s + "\\";
}

std::string RemoveTrailingBackslash(const std::string& s) {
    if (!s.empty() && s.back() == '\\') return s.substr(0, s.size() - 1);
    return s;
}

std::string AppDirOverride;

std::string GetAppDir() {
    if (!AppDirOverride.empty()) return AddTrailingBackslash(AppDirOverride);
    return ExtractFilePath(GetModuleFileNameStr());
}

std::string GetMethodsDir() {
    return GetAppDir() + "Methods\\";
}

namespace {
// Calls a platform routine that fills a character buffer of the given size.
template <class F> std::string FromBuffer(DWORD size, F fill) {
    std::string buf(size, '\0');
    const DWORD len = fill(buf.data(), size);
    buf.resize(len < size ? len : 0);
    return buf;
}
} // namespace

std::string GetTempDir() {
    return FromBuffer(256, [](char* b, DWORD n) { return GetTempPathA(n, b); });
}

std::string GetWindowsDir() {
    return FromBuffer(256, [](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
}

std::string GetSystemDir() {
    return FromBuffer(256, [](char* b, DWORD n) { return GetSystemDirectoryA(b, n); });
}

std::string GetWindowsTempDir() {
    return AddTrailingBackslash(GetWindowsDir()) + "Temp";
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
    return FromBuffer(255, [&](char* b, DWORD n) { return GetShortPathNameA(path.c_str(), b, n); });
}

void GetSpecialFolderPath(int csidl, std::string& path) {
    path.clear();
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return;
    std::string buf(4096, '\0');
    if (SHGetPathFromIDListA(pidl, buf.data())) path = RemoveTrailingBackslash(buf.c_str());
    CoTaskMemFree(pidl);
}

std::string SpecialFolder(int csidl) {
    std::string path;
    GetSpecialFolderPath(csidl, path);
    return path;
}

TStringList ListFiles(const std::string& folder, const std::string& mask) {
    TStringList list;
    WIN32_FIND_DATAA fd;
    TFindHandle find(FindFirstFileA((AddTrailingBackslash(folder) + mask).c_str(), &fd));
    if (!find) return list;
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(fd.dwFileAttributes & excluded)) list.Add(fd.cFileName);
    } while (FindNextFileA(find.Get(), &fd));
    return list;
}

UINT GetDriveKind(const std::string& root) {
    const UINT kind = GetDriveTypeA(root.c_str());
    return kind == DRIVE_NO_ROOT_DIR ? DRIVE_UNKNOWN : kind;
}

DWORD GetClusterSize(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return 1;
    const std::string root = std::string(1, path[0]) + ":\\";
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters))
        return 1;
    return sectorsPerCluster * bytesPerSector;
}

int64_t GetFreeBytes(const std::string& path) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) RaiseLastOSError();
    return static_cast<int64_t>(available.QuadPart);
}

void GetShellFileInfo(const std::string& path, SHFILEINFOA& info) {
    info = SHFILEINFOA{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info),
                   SHGFI_SMALLICON | SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME |
                       SHGFI_SYSICONINDEX);
}

void ReadShortcut(const std::string& fileName, TShortcutInfo& info) {
    TCoInitScope com;
    TComPtr<IShellLinkA> link;
    OleCheck(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutVoid()));
    TComPtr<IPersistFile> file;
    OleCheck(link->QueryInterface(IID_IPersistFile, file.OutVoid()));
    OleCheck(file->Load(ToWide(fileName).c_str(), STGM_READ));
    OleCheck(link->Resolve(nullptr, SLR_NO_UI | SLR_ANY_MATCH));

    char buf[MAX_PATH + 1] = {};
    WIN32_FIND_DATAA fd;
    OleCheck(link->GetPath(buf, MAX_PATH, &fd, 0));
    // Wine ignores SLGP_SHORTPATH: shorten the path ourselves.
    info.Path = GetShortPath(buf);
    if (info.Path.empty()) info.Path = buf;
    OleCheck(link->GetArguments(buf, MAX_PATH));
    info.Arguments = buf;
    OleCheck(link->GetDescription(buf, MAX_PATH));
    info.Description = buf;
    OleCheck(link->GetWorkingDirectory(buf, MAX_PATH));
    info.WorkingDirectory = buf;
    OleCheck(link->GetIconLocation(buf, MAX_PATH, &info.IconIndex));
    info.IconLocation = buf;
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

TOSVersion QueryPlatformVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
}

std::function<TOSVersion()> OSVersionQuery = QueryPlatformVersion;

int GetWindowsVersion() {
    const TOSVersion v = OSVersionQuery();
    if (v.Major == 4 && v.Minor == 0) {
        if (v.PlatformId == VER_PLATFORM_WIN32_WINDOWS) return 41;
        if (v.PlatformId == VER_PLATFORM_WIN32_NT) return 44;
        return 40;
    }
    if (v.Major == 4 && v.Minor == 10) return 42;
    if (v.Major == 4 && v.Minor == 90) return 43;
    if (v.Major == 5) return v.Minor == 0 ? 50 : v.Minor == 1 ? 51 : 52;
    return 40;
}

bool IsWindowsNT5() {
    const int version = GetWindowsVersion();
    return version >= 50 && version <= 52;
}

bool IsWindowsNT() {
    return OSVersionQuery().PlatformId == VER_PLATFORM_WIN32_NT;
}

void ShowError(const std::string& text) {
    Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONERROR);
}

void ShowInformation(const std::string& text) {
    Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONINFORMATION);
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
