#pragma once
// One file the finders' search reported, and the folders, names and extensions the
// user excluded. Both are plain values, used on the search thread.
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

struct TFoundFile {
    std::string Folder; // lower case, ending in "\"
    std::string Name;   // lower case
    std::string Path;   // the real path, as the file system spells it
    uint64_t Size = 0;
    FILETIME Modified{};
    DWORD Attributes = 0;
};

// The file finder's find record of a file in folder.
TFoundFile FoundFile(const std::string& folder, const TFindData& data);

// What one opening of a found file tells: which file it is, however it was reached (a
// link to it, a linked folder, a second folder of the list, another of its hard-linked
// names), and a hash of its first bytes, which tells most files of one size apart
// without reading them whole.
struct TFileProbe {
    std::string FinalPath; // "" when the file could not be opened
    uint64_t Index = 0;    // the file's number on its volume; 0 when not known
    bool Read = false;     // the first block, when asked for
    size_t FirstBlock = 0;
};
constexpr DWORD FirstBlockSize = 4096;
// With keepOpen, a file whose first block was read stays open there, to be compared.
TFileProbe ProbeFile(const std::string& path, bool withFirstBlock, TFileHandle* keepOpen = nullptr);

TFileHandle OpenToRead(const std::string& path);
// Two files read side by side from their start, block by block, until their bytes
// differ; a handle may be read by several threads at once. Unreadable: the first file
// could not be read whole (or opened: an invalid handle); the second unreadable only
// differs.
enum TContentMatch { cmSame, cmDifferent, cmUnreadable };
struct TContentComparison {
    TContentMatch Match = cmDifferent;
    uint64_t BytesRead = 0; // of both files
};
TContentComparison CompareContents(HANDLE file, HANDLE other, const std::atomic<bool>& stop);
// Both name one file: the same file number on one drive (hard links), equal final
// paths, or, where either could not be opened, equal paths.
bool SameFile(const TFoundFile& a, const TFileProbe& probeA, const TFoundFile& b,
              const TFileProbe& probeB);

// The lower-cased extension with its dot, "" when none.
std::string LowerExtension(const std::string& name);

// The folders with a trailing "\", in their order, each once (ignoring case); a
// folder inside another one of the list is left out, so no file is searched twice.
std::vector<std::string> FoldFolders(const std::vector<std::string>& folders);

// What a search leaves out, copied from the lists when it starts; all lower case.
struct TFinderExclusions {
    std::vector<std::string> Extensions; // ".exe"
    std::vector<std::string> Files;      // "desktop.ini"
    std::vector<std::string> Folders;    // "c:\temp\"
    std::string StoreFolder;             // the program's "backup\" folder
    [[nodiscard]] bool Excludes(const TFoundFile& file) const;
};
