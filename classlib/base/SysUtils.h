#pragma once
// String, number, path and file routines of the class library. Strings are 8-bit,
// in the process code page (CP_ACP); the A functions of Win32 take them as they are.
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

// Numbers.
std::string IntToStr(int64_t v);
std::string IntToHex(uint64_t v, int digits); // upper case, zero padded
int StrToInt(const std::string& s);           // decimal or "$"/"0x" hex; EConvertError
int StrToIntDef(const std::string& s, int def);
int64_t StrToInt64(const std::string& s);
int64_t StrToInt64Def(const std::string& s, int64_t def);
bool TryStrToInt(const std::string& s, int& v);
// Fixed notation with the locale's decimal separator; exact ties round away from zero.
std::string FloatToStrFixed(double v, int decimals);
// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Text. Case folding follows the code page (CharUpperBuff/CharLowerBuff).
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b); // <0, 0, >0, case-insensitive
std::string Trim(const std::string& s);                      // blanks and control chars
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
std::string StringReplace(const std::string& s, const std::string& from, const std::string& to,
                          unsigned flags = rfReplaceAll);
bool StartsText(const std::string& prefix, const std::string& s); // case-insensitive
bool EndsText(const std::string& suffix, const std::string& s);
size_t PosText(const std::string& sub, const std::string& s);         // npos when absent
std::vector<std::string> SplitString(const std::string& s, char sep); // "" gives no parts

// Wide strings for COM and W functions (through CP_ACP).
std::wstring ToWide(const std::string& s);
std::string ToAnsi(const std::wstring& s);
std::string ToAnsi(const wchar_t* s);

// Paths.
std::string IncludeTrailingPathDelimiter(const std::string& s); // "" stays ""
std::string ExcludeTrailingPathDelimiter(const std::string& s);
std::string ExtractFilePath(const std::string& s); // with the trailing "\"
std::string ExtractFileDir(const std::string& s);  // without it
std::string ExtractFileName(const std::string& s);
std::string ExtractFileExt(const std::string& s);   // with the dot, "" when none
std::string ExtractFileDrive(const std::string& s); // "C:" or "\\server\share"
std::string ChangeFileExt(const std::string& s, const std::string& ext);
std::string ExpandFileName(const std::string& s);

// Files and folders.
bool FileExists(const std::string& name); // a file, not a folder
bool DirectoryExists(const std::string& name);
bool ForceDirectories(const std::string& dir);
bool SysDeleteFile(const std::string& name); // DeleteFile is a Win32 macro
bool RemoveDir(const std::string& dir);
bool RenameFile(const std::string& from, const std::string& to);
int64_t FileSizeOf(const std::string& name); // -1 when missing
DWORD FileGetAttr(const std::string& name);  // INVALID_FILE_ATTRIBUTES when missing
bool FileSetAttr(const std::string& name, DWORD attr);
// Replaces target with source only once source is complete (same folder).
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

// The program.
std::string ParamStr(int index); // 0 is the program file
int ParamCount();
// A command line split as ParamStr does: blanks separate, quotes group and are dropped.
std::vector<std::string> SplitCommandLine(const std::string& cmdLine);
std::string GetModuleFileNameStr(HMODULE module = nullptr);

// System messages.
std::string SysErrorMessage(DWORD code);
