#pragma once
// Free routines shared by the engine, the wipe code and the pages: the program's
// and Windows' folders, the Windows version code, size formatting, file listing,
// drive and shell queries, shortcuts and date-time splitting.
#include "classlib/base/DateUtils.h"
#include "classlib/base/StringList.h"
#include "classlib/gui/Platform.h"
#include <cstdint>
#include <functional>
#include <shellapi.h>
#include <string>
#include <windows.h>

// Paths and folders. Every file name of the program is built on GetAppDir.
std::string GetMethodsDir();
std::string GetTempDir();
std::string GetWindowsDir();
std::string GetSystemDir();
std::string GetWindowsTempDir();
std::string GetProgramFilesDir(); // "" when the value is missing
std::string GetShortPath(const std::string& path);
// Without a trailing backslash; "" when the folder cannot be resolved.
void GetSpecialFolderPath(int csidl, std::string& path);
std::string SpecialFolder(int csidl); // the same as a result
// Names (without folder) that the platform's search returns for Folder\Mask,
// leaving out folders, hidden and system files.
TStringList ListFiles(const std::string& folder, const std::string& mask);

// Drives and files.
UINT GetDriveKind(const std::string& root);    // unknown drive and missing root give 0
DWORD GetClusterSize(const std::string& path); // 1 without a drive letter or on failure
// Bytes free to the caller on the drive that holds path; EOSError on failure.
int64_t GetFreeBytes(const std::string& path);
// Small icon, display name, type name and system image index. The caller destroys
// info.hIcon.
void GetShellFileInfo(const std::string& path, SHFILEINFOW& info);

struct TShortcutInfo {
    std::string Path; // short 8.3 form
    std::string Arguments;
    std::string Description;
    std::string WorkingDirectory;
    std::string IconLocation;
    int IconIndex = 0;
    int ShowCmd = 0;
    WORD HotKey = 0;
};
// Raises EOSError on the first failing shell call.
void ReadShortcut(const std::string& fileName, TShortcutInfo& info);

// The shell library's version; 0 until ReadShlwapiVersion has read it.
extern DWORD ShlwapiMajorVersion;
extern DWORD ShlwapiMinorVersion;
void ReadShlwapiVersion();

// Copies a damaged file aside before anything replaces it: to fileName + ".damaged",
// or ".damaged2" and on when that name is taken, never over another file. Returns the
// copy's name, "" when no copy could be made.
std::string KeepDamagedCopy(const std::string& fileName);

// CR becomes "#13", then LF "#10"; decoding reverses it in the same order.
std::string EncodeLineBreaks(const std::string& s);
std::string DecodeLineBreaks(const std::string& s);
// "0 B", "999.00 B", "0.98 KB", "1.13 KB" (ties round away from zero) ... " TB".
std::string FormatSize(int64_t size);
// Digits and backspace pass; every other key becomes 0 (dropped).
char DigitKeyFilter(char key);

// The date of one value and the time of another, each through its text form in
// the locale's short date and long time formats (fractions of seconds drop).
TDateTime CombineDateTime(TDateTime datePart, TDateTime timePart);
void SplitDateTime(TDateTime value, TDateTime& datePart, TDateTime& timePart);
