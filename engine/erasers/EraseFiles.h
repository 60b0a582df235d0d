#pragma once
// The eraser of files and folders. Deletes what its collect found, counts it in the
// engine and defers every file it cannot delete now to the next-start eraser.
// Folder walks never follow a junction or symbolic link: where a walk would remove
// such a folder it removes the link itself, and leaves it where the platform would
// remove its target instead (Wine). Main thread only.
#include "classlib/base/SysUtils.h"
#include "engine/erasers/Eraser.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

class TEraseFiles : public TEraser {
public:
    using TEraser::TEraser;

    // File names or masks that AddFile skips; "Exclude" in "prefs.dat".
    std::vector<std::string> Exclude;

    void AddExclude(const std::string& Name); // no duplicate of the exact text
    // Adds a file item unless its name matches an exclusion (EMaskException for a
    // broken exclusion mask).
    void AddFile(const std::string& FileName);
    void AddFolder(const std::string& Path, const std::string& Mask, bool KeepFolder, bool Recurse);
    // Every file of Folder (and below it when Recurse) whose name matches Mask goes to
    // List as a full path, or through AddFile when List is null. Returns at once when
    // the engine is cancelled. An empty Folder finds nothing.
    void CollectFiles(const std::string& Folder, const std::string& Mask,
                      std::vector<std::string>* List, bool Recurse);
    // Deletes one file and counts it, or defers it; true when deleted (or, in
    // simulation mode, when it would be).
    bool EraseFile(const std::string& FileName);
    // Deletes the matching files of Path, empties and removes its subfolders when
    // Recurse, and removes Path itself unless KeepFolder. False when a stop request
    // ended the walk: nothing more is removed or counted on any level.
    bool EraseFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                     bool Recurse);
    // The class library's file-mask match; EMaskException for a broken mask.
    [[nodiscard]] static bool MatchMask(const std::string& Mask, const std::string& Name);

    void Erase() override;
    void LoadFromXML(const TXMLNode& Parent) override;
    void SaveToXML(TXMLNode Parent) override;

private:
    using TEntryVisitor = std::function<void(const TFindData& Entry)>;

    [[nodiscard]] bool IsExcluded(const std::string& FileName) const;
    bool EraseExistingFile(const std::string& FileName, DWORD Attributes, int64_t Size);
    void Defer(const std::string& FileName, DWORD Attributes);
    bool WalkFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                    bool Recurse);
    void RemoveFolder(const std::string& Path, bool IsLink);
    // Visits the entries of Folder but "." and "..", letting messages run and testing
    // the cancel flag before each; false when cancelled. An entry whose name cannot be
    // spelt exactly is passed over: it is neither erased, deferred nor counted.
    bool ForEachEntry(const std::string& Folder, const TEntryVisitor& Visit);
};
