#include "classlib/gui/Platform.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"

TOSVersion QueryPlatformVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) return {};
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

std::string AppDirOverride;

std::string GetAppDir() {
    if (!AppDirOverride.empty()) return IncludeTrailingPathDelimiter(AppDirOverride);
    return ExtractFilePath(GetModuleFileNameStr());
}

std::function<BOOL(UINT)> ExitWindowsCall = PlatformExitWindows;

// With TW_EXITWINDOWS_LOG set (only the outside-in tests set it), the request is
// written to that file instead, so that the test's own Wine session survives.
BOOL PlatformExitWindows(UINT flags) {
    wchar_t log[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TW_EXITWINDOWS_LOG", log, MAX_PATH) > 0) {
        WriteStringToFile(ToUtf8(log), IntToStr(flags));
        return TRUE;
    }
    return ExitWindowsEx(flags, 0);
}

std::function<TDateTime()> ClockQuery = PlatformClock;

// With TW_CLOCK_FILE set (only the outside-in tests set it), the date-time number that
// file holds, so that a test can move the program's clock.
TDateTime PlatformClock() {
    wchar_t file[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TW_CLOCK_FILE", file, MAX_PATH) == 0) return Now();
    static TDateTime last = Now();
    try {
        last = std::stod(ReadFileToString(ToUtf8(file)));
    } catch (const std::exception&) {
        // The test is rewriting the file: the last moment read holds.
    }
    return last;
}
