#pragma once
// The overwriting engine: overwrites files, whole folders and the free space of a
// drive with the passes of its bound wipe method, then renames and deletes what it
// overwrote, under the progress window. Main thread only: it fires OnProcessMessages
// after every block, pass, file and item (at most every ProgressInterval ms), and
// stops when Cancelled is set. A long pass, and the close of a large file, run on a
// thread of their own while the main thread answers every message at once.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TfProgress;
class TPass;
class TWipeMethod;
class TFileStream;

enum TWipeKind : uint8_t { wkFile = 0, wkFolder = 1, wkFreeSpace = 2 };

class TWipeItem {
public:
    uint8_t Kind = wkFile;
    std::string DisplayName; // shown in the progress window; Path when empty
    std::string Path;        // file, folder, or any path on the drive
    bool Shredded = false;   // set by Execute when the item was wiped completely
};

// Never shredded as a folder item: an empty or relative path, a device path, a drive
// or share root, the Windows and system folders with everything inside them and
// every folder that holds them, and links to folders. A folder is judged by its path
// and by its real path, every link and junction on the way followed.
[[nodiscard]] bool IsProtectedFolder(const std::string& folder);
// The same, links to other folders aside: a root, or in or around Windows (a link to
// them included), or no plain full path.
[[nodiscard]] bool IsSystemPlace(const std::string& folder);
// Never shredded as a file item: a file inside the Windows or system folders, judged
// the same way, and one without a plain full path.
[[nodiscard]] bool IsProtectedFile(const std::string& file);
inline constexpr const char* ProtectedFileText =
    "files in or below the Windows folders are never shredded";
// The name of the file that fills a drive's free space, in its root: a filler left by
// a run that was killed is known by it and removed at the next start and fill.
inline constexpr const char* FreeSpaceFillName = "Tarnwhistle free space fill.tmp";
// Removes such a filler from the root ("C:\\"); the line that tells it, or "" when
// there is none. Raises Exception when it stays.
std::string RemoveLeftFiller(const std::string& root);
// The same for the root of every fixed drive, at start; the lines, or "".
std::string RemoveLeftFillers();
// Why such a folder stays: the reason in Errors and in the pages' messages.
inline constexpr const char* ProtectedFolderText =
    "drives, links and the folders in or around Windows are never shredded";

class TWipeEngine {
public:
    explicit TWipeEngine(std::string name);
    virtual ~TWipeEngine();
    TWipeEngine(const TWipeEngine&) = delete;
    TWipeEngine& operator=(const TWipeEngine&) = delete;

    std::string Name; // key of the binding in "options.ini"
    // Lets the message loop process pending messages (the program binds
    // Application.ProcessMessages): the progress window paints and its Cancel, or a
    // Stop, arrives from inside it. Unset, a run pumps nothing. Main thread.
    std::function<void()> OnProcessMessages;
    TWipeMethod* Method = nullptr; // last bound method; a run looks it up anew after every pump
    bool Cancelled = false;        // set by the progress window's Cancel and the Stop buttons
    // One line per file or item that was not wiped, for the last run.
    std::vector<std::string> Errors;
    // Each reason of Errors once, in the order first met.
    std::vector<std::string> Reasons;
    // What the last run did besides its items, for the user (an earlier free-space
    // filler removed, a file with other names that lost only the listed one).
    std::vector<std::string> Notices;

    [[nodiscard]] const std::vector<std::unique_ptr<TWipeItem>>& Items() const { return FItems; }
    [[nodiscard]] bool Running() const { return FRunning; }
    // The progress window of the running Execute; nullptr otherwise.
    [[nodiscard]] TfProgress* Progress() const { return FProgress.get(); }

    // The list cannot change while a run uses it: these return false then (an
    // item handed to AddItem is freed).
    bool AddItem(std::unique_ptr<TWipeItem> item);
    bool DeleteItem(const TWipeItem* item);
    bool Clear();
    bool ClearShredded(); // frees the items the last run wiped completely

    // Runs every item in list order under the progress window. Returns false when
    // the engine was running already (nothing is done), when the run was cancelled
    // or when any item was not wiped (see Errors).
    bool Execute();

    // keepRenamed (the folder walk): the file, once renamed to its scrambled name,
    // stays until the next file's rename takes its place or the walk deletes it;
    // attr: the attributes the walk found, read here when INVALID_FILE_ATTRIBUTES.
    bool WipeFile(TWipeItem& item, bool keepRenamed = false, uint32_t attr = 0xFFFFFFFF);
    bool WipeFolderItem(TWipeItem& item); // refuses a protected folder, touching nothing
    bool WipeFreeSpace(TWipeItem& item);
    // Files first, then subfolders (always removed); never enters or touches links.
    // Returns false when the folder could not be removed.
    bool WipeFolder(const std::string& folder, const std::string& mask, bool keepFolder,
                    bool recurse);
    // 0 when every pass was written and flushed (or the run was cancelled), the file
    // left open in `file` with delete access; 1 when an error stopped the file, the
    // reason going to Errors; OtherNames when the file has other names (hard links),
    // which would show what is written: nothing is written, and the file is left open.
    // The filler of a free-space item is the engine's own and is not asked.
    int OverwriteFile(TWipeItem& item, std::unique_ptr<TFileStream>& file);
    static constexpr int OtherNames = 2;

protected:
    // Brings the progress window up to date and fires OnProcessMessages, when
    // ProgressInterval ms have passed since it last did.
    virtual void ProcessMessages();
    // Repainting the window costs more than overwriting a small file: 0 repaints
    // and pumps at every call.
    uint32_t ProgressInterval = 50;

private:
    struct TTarget;
    // The bound method, checked to write something in every pass; Exception when
    // there is none, it has no passes, a pass has nothing to write or BufferSize < 1.
    // Looked up anew after every pump: the binding and the methods change only while
    // messages are processed (or, in "options.ini", by another program).
    TWipeMethod& BoundMethod();
    void WritePass(TTarget& target, const TPass& pass, const std::string& text);
    // Work run aside (a pass's writes), given what follows each write: step(bytes)
    // counts them, false once the run is cancelled.
    using TStep = std::function<bool(int64_t bytes)>;
    using TAsideWork = std::function<void(const TStep& step)>;
    void RunAside(const TAsideWork& work);
    void WriteBlock(TTarget& target, const std::string& buffer, int64_t length);
    void RunItem(TWipeItem& item);
    bool DeleteOverwritten(const std::string& path, TFileStream& file, bool keepRenamed);
    bool RemoveListedName(const std::string& path, TFileStream& file);
    void DeleteRenamed();
    int64_t ClusterSize(const std::string& path);
    void RemoveEarlierFiller(const std::string& root);
    void FillFreeSpace(const std::string& root, TFileStream& file);
    void AddError(const std::string& path, const std::string& reason);

    // Progress in bytes, scaled to the window's 32-bit bars.
    void StartProgress(const std::string& label, int64_t total, int64_t passTotal);
    void StartPass(int number, int count);
    void StepProgress(int64_t bytes);
    void SetPercent(int percent);
    void ShowProgress();

    // What the progress window is to show, and what it shows.
    struct TShown {
        std::string File;
        int Pass = 0, Passes = 0; // no pass shown while 0
        int FileMax = 100, PassMax = 100, FilePosition = 0, PassPosition = 0;
    };

    std::vector<std::unique_ptr<TWipeItem>> FItems;
    std::unique_ptr<TfProgress> FProgress;
    bool FRunning = false;
    int FShift = 0;
    int64_t FFileDone = 0;
    int64_t FPassDone = 0;
    TShown FShown, FOnScreen;
    uint32_t FLastPump = 0;
    TWipeMethod* FMethod = nullptr; // of BoundMethod, until the next pump
    std::string FClusterDrive;      // of FCluster, in this run
    int64_t FCluster = 1;
    // The walk's last file under its scrambled name. Renaming the next file over it
    // spares Wine's search of the whole folder for a name that does not exist yet.
    std::string FRenamed;
};
