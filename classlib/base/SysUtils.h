#pragma once
// String, number, path and file routines of the class library. Strings are UTF-8;
// Win32 text goes through the W functions, converted with ToWide and ToUtf8.
#include <cstdint>
#include <functional>
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

// Text. Case folding works on the whole of Unicode (CharUpperBuffW/CharLowerBuffW).
bool IsAscii(const std::string& s); // plain ASCII, which needs no conversion
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b); // <0, 0, >0, case-insensitive
bool IsBlank(char c);                   // a blank or a control character, as Trim drops them
std::string Trim(const std::string& s); // blanks and control chars
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
std::string StringReplace(const std::string& s, const std::string& from, const std::string& to,
                          unsigned flags = rfReplaceAll);
bool StartsText(const std::string& prefix, const std::string& s); // case-insensitive
bool EndsText(const std::string& suffix, const std::string& s);
size_t PosText(const std::string& sub, const std::string& s);         // npos when absent
std::vector<std::string> SplitString(const std::string& s, char sep); // "" gives no parts

// UTF-8 to UTF-16 and back, for COM and the W functions.
std::wstring ToWide(const std::string& s);
std::string ToUtf8(const std::wstring& s);
std::string ToUtf8(const wchar_t* s);
// False, with lone surrogates made U+FFFD, when s has no exact UTF-8 form.
bool ToUtf8Exact(const wchar_t* s, std::string& utf8);
bool IsValidUtf8(const std::string& s);
// s with every unit that `keep` refuses, and every unpaired surrogate, replaced by
// `replacement` (dropped when it is 0); surrogate pairs stay as they are.
std::wstring KeepUnits(const std::wstring& s, bool (*keep)(wchar_t), wchar_t replacement);
// A UTF-8 text in the bytes of a code page (CP_ACP for the system's); false when a
// character has no exact form there (bytes then hold the lossy conversion).
bool ToCodePage(const std::string& utf8, UINT codePage, std::string& bytes);
std::string FromCodePage(const std::string& bytes, UINT codePage);
// Whether s comes back unchanged from the ANSI code page (what 8-bit files hold).
bool FitsAnsiCodePage(const std::string& s);

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
// Why a name given to a new file would make one that Windows programs cannot open or
// delete, or "": empty, a character no name may hold, a dot or blank at its end, or a
// device's name ("CON", "nul.txt").
std::string NewFileNameProblem(const std::string& name);

// Files and folders.
bool FileExists(const std::string& name); // a file, not a folder
bool DirectoryExists(const std::string& name);
bool ForceDirectories(const std::string& dir);
// Whether a new file can be made in the folder; the trial file is gone on return.
bool DirectoryWritable(const std::string& dir);
// The program's own files only (settings, temporary files): these follow links, as
// the folder holding them may be one. Listed files go through SafeFileOps.h.
bool SysDeleteFile(const std::string& name); // DeleteFile is a Win32 macro
bool RemoveDir(const std::string& dir);
bool RenameFile(const std::string& from, const std::string& to);
int64_t FileSizeOf(const std::string& name); // -1 when missing
DWORD FileGetAttr(const std::string& name);  // INVALID_FILE_ATTRIBUTES when missing
bool FileSetAttr(const std::string& name, DWORD attr);
// Replaces target with source only once source is complete (same folder).
bool ReplaceFileAtomically(const std::string& source, const std::string& target);
// Reads up to size bytes at offset, not at the handle's position, so that threads may
// share the handle; true at the end of the file too (read is 0 there).
bool ReadFileAt(HANDLE file, uint64_t offset, void* buffer, DWORD size, DWORD& read);
// The opened file's number on its volume, the same for each of its hard-linked names;
// 0 when the file system numbers no files. Asks nothing about the volume.
uint64_t FileIndexOf(HANDLE file);

// A folder entry as FindFirstFileW lists it, with its name in UTF-8. Exact is false when
// the name has no UTF-8 form (a lone surrogate): Name then does not reach the entry.
struct TFindData : WIN32_FIND_DATAW {
    std::string Name;
    bool Exact = true;
    [[nodiscard]] bool IsFolder() const { return dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY; }
    [[nodiscard]] int64_t Size() const {
        return static_cast<int64_t>((uint64_t(nFileSizeHigh) << 32) | nFileSizeLow);
    }
};
// Visits the entries that pattern ("C:\dir\*.txt") lists, "." and ".." left out, until
// visit returns false; false then. A pattern that lists nothing gives true.
bool ForEachFile(const std::string& pattern, const std::function<bool(const TFindData&)>& visit);

// The program.
std::string ParamStr(int index); // 0 is the program file
int ParamCount();
// A command line split as ParamStr does: blanks separate, quotes group and are dropped.
std::vector<std::string> SplitCommandLine(const std::string& cmdLine);
// The full name of a module's file: plain where a drive letter or share names its
// folder, else in its "\\?\" form.
std::string GetModuleFileNameStr(HMODULE module = nullptr);

// System messages.
std::string SysErrorMessage(DWORD code);
