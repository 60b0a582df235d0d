#pragma once
// The platform's answers and calls that tests replace, in one place: the Windows
// version, the program's folder, the request that ends the Windows session and the
// clock the scheduler goes by.
#include "classlib/base/DateUtils.h"
#include <functional>
#include <string>
#include <windows.h>

// The platform's version record. Tests replace OSVersionQuery to take the Windows 9x
// and NT branches.
struct TOSVersion {
    DWORD Major = 0;
    DWORD Minor = 0;
    DWORD PlatformId = 0; // VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT
};
extern std::function<TOSVersion()> OSVersionQuery;
TOSVersion QueryPlatformVersion(); // the default query

// 41 Windows 95, 42 98, 43 Me, 44 NT 4, 50 2000, 51 XP, 52 later 5.x, 40 other.
int GetWindowsVersion();
bool IsWindowsNT5();
bool IsWindowsNT(); // the NT line; false when the version cannot be read

// The program's folder with a trailing "\", or AppDirOverride when that is set.
// Every file name of the program is built on it.
std::string GetAppDir();
// Tests point this at a folder of the private prefix: under Wine a test program's
// own folder is a path of the host.
extern std::string AppDirOverride;

// Asks Windows to shut down, restart or log off (ExitWindowsEx flags); true when it
// accepted. Tests replace it: under Wine the real call ends every process of the
// prefix.
extern std::function<BOOL(UINT flags)> ExitWindowsCall;
BOOL PlatformExitWindows(UINT flags); // the default call

// The local date and time the scheduler goes by. Tests replace ClockQuery to move
// the clock.
extern std::function<TDateTime()> ClockQuery;
TDateTime PlatformClock(); // the default query
