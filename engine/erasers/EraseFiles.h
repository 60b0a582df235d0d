#pragma once
// The eraser of files and folders. Deletes what its collect found, counts it in the
// engine and defers every file it cannot delete now to the next-start eraser.
// Every deletion goes through the link-safe layer: folder walks never follow a
// junction or symbolic link, a link is removed itself where the platform can, and
// any entry left in place (a link, a name Windows cannot hold) is logged and not
// counted. Listed names are used exactly as listed. Main thread only;
// the files themselves are deleted on the engine's file workers.
#include "classlib/base/OrderedJobs.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "engine/erasers/Eraser.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

// One file a file worker deleted (or checked), for the main thread to count, log or
// defer.
struct TFileJob {
    std::string Path;
    DWORD Attributes = 0;
    int64_t Size = 0;
    TSafeFileResult Result;
    bool Found = true;   // false: an item's file was gone or a folder when looked at
    bool Folder = false; // a folder's removal
};

class TEraseFiles : public TEraser {
public:
    using TEraser::TEraser;

    // File names or masks that AddFile skips; "Exclude" in "prefs.dat".
    std::vector<std::string> Exclude;
    // Set where the exclusions are names the user picked from a list: each then matches
    // only that name (ignoring letter case), never as a mask.
    bool ExcludeByName = false;

    void AddExclude(const std::string& Name); // no duplicate of the exact text
    // Adds a file item unless its name matches an exclusion (EMaskException for a
    // broken exclusion mask, unless ExcludeByName).
    void AddFile(const std::string& FileName);
    void AddFolder(const std::string& Path, const std::string& Mask, bool KeepFolder, bool Recurse);
    // Every file of Folder (and below it when Recurse) whose name matches Mask goes to
    // List as a full path, or through AddFile when List is null. Returns at once when
    // the engine is cancelled. An empty Folder finds nothing; a linked one is logged.
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
    using TFileJobs = TOrderedJobs<TFileJob>;

    [[nodiscard]] bool IsExcluded(const std::string& FileName) const;
    void CollectBelow(const std::string& Folder, const std::string& Mask,
                      std::vector<std::string>* List, bool Recurse);
    // Hands a job to the file workers, counting the results already there in order,
    // and waiting for the oldest while too many are in flight.
    void Submit(TFileJobs& Jobs, std::function<TFileJob()> Job);
    void AccountAll(TFileJobs& Jobs); // waits for and counts every job pushed
    // Counts a file's deletion, or logs the link left or defers the file; true when
    // counted.
    bool Account(const TFileJob& File);
    void Defer(const std::string& FileName, DWORD Attributes);
    // Logs a listed entry left in place (a link, or a name that cannot be reached);
    // false, for the caller's result.
    bool ReportLeft(const std::string& Path, const TSafeFileResult& Result);
    // One folder item's walk: its files' jobs, and its folders in the order their walks
    // began (a folder before its subfolders).
    struct TWalkedFolder {
        std::string Path;
        int Depth; // 0 for the item's folder
    };
    struct TFolderWalk {
        explicit TFolderWalk(TWorkQueue& Workers) : Jobs(Workers) {}
        TFileJobs Jobs;
        std::vector<TWalkedFolder> Folders;
    };
    bool WalkFolder(TFolderWalk& Walk, const std::string& Path, int Depth, const std::string& Mask,
                    bool Recurse);
    // Once every file of the walk is gone; false when a stop request ended it.
    bool RemoveWalkedFolders(TFolderWalk& Walk, bool KeepFolder);
    bool AccountFolder(const TFileJob& Folder);
    // Whether an entry left was reported below Folder during this walk.
    [[nodiscard]] bool HoldsLeft(const std::string& Folder) const;
    void RemoveFolder(const std::string& Path, bool IsLink);
    // Visits the entries of Folder but "." and "..", letting messages run and testing
    // the cancel flag before each; false when cancelled. An entry whose name cannot be
    // spelt exactly is passed over: it is neither erased, deferred nor counted.
    bool ForEachEntry(const std::string& Folder, const TEntryVisitor& Visit);

    std::vector<std::string> FLeft; // reported in this walk: a folder that holds one stays
};
