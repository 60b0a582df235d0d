#include "engine/erasers/EraseFiles.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Masks.h"
#include "classlib/base/OrderedJobs.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/XMLValues.h"
#include <algorithm>
#include <memory>

namespace {

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Junctions, folder symbolic links and other folder reparse points: never walked.
bool IsFolderLink(DWORD attributes) {
    return IsFolder(attributes) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Listed names are spelt exactly: a trailing dot or blank is part of the name.
DWORD AttributesOf(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES
                        : GetFileAttributesW(ToWide(ExactPath(path)).c_str());
}

int64_t SizeOf(DWORD high, DWORD low) {
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

void SetReadOnly(const std::string& fileName, DWORD attributes) {
    FileSetAttr(ExactPath(fileName),
                (attributes & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_READONLY);
}

// On a file worker. One open per file: the one that checks the entry deletes it (and
// clears its read-only attribute) through the same handle. A simulation asks what it
// would meet.
TFileJob Act(TFileJob file, bool simulation) {
    file.Result = simulation
                      ? SafeCheckEntry(file.Path)
                      : SafeDeleteFile(file.Path, (file.Attributes & FILE_ATTRIBUTE_READONLY) != 0);
    return file;
}

// A folder's removal; a simulation only checks a link.
TFileJob RemoveFolderJob(std::string path, bool isLink, bool simulation) {
    TFileJob folder;
    folder.Path = std::move(path);
    folder.Folder = true;
    if (!simulation)
        folder.Result = SafeRemoveDir(folder.Path);
    else if (isLink)
        folder.Result = SafeCheckEntry(folder.Path);
    return folder;
}

// An item's file is looked at first: it may be gone, or be a folder, or have a name
// that cannot be looked at.
TFileJob ActOnItem(const std::string& path, bool simulation) {
    TFileJob file;
    file.Path = path;
    file.Result = SafeCheckName(path);
    if (!file.Result.Done()) return file;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ToWide(ExactPath(path)).c_str(), GetFileExInfoStandard, &data) ||
        IsFolder(data.dwFileAttributes)) {
        file.Found = false;
        return file;
    }
    file.Attributes = data.dwFileAttributes;
    file.Size = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    return Act(std::move(file), simulation);
}

} // namespace

void TEraseFiles::AddExclude(const std::string& Name) {
    if (std::find(Exclude.begin(), Exclude.end(), Name) == Exclude.end()) Exclude.push_back(Name);
}

void TEraseFiles::AddFile(const std::string& FileName) {
    if (IsExcluded(FileName)) return;
    TEraserItem item;
    item.Kind = ikFile;
    item.Path = FileName;
    Items.push_back(item);
}

void TEraseFiles::AddFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                            bool Recurse) {
    TEraserItem item;
    item.Kind = ikFolder;
    item.Path = Path;
    item.Mask = Mask;
    item.KeepFolder = KeepFolder;
    item.Recurse = Recurse;
    Items.push_back(item);
}

bool TEraseFiles::IsExcluded(const std::string& FileName) const {
    const std::string name = ExtractFileName(FileName);
    return std::any_of(Exclude.begin(), Exclude.end(), [&](const std::string& entry) {
        return SameText(entry, name) || (!ExcludeByName && MatchMask(entry, name));
    });
}

bool TEraseFiles::MatchMask(const std::string& Mask, const std::string& Name) {
    return MatchesMask(Name, Mask);
}

// An item's folder that is a link is never walked: it is left with its target, and
// the log says so.
void TEraseFiles::CollectFiles(const std::string& Folder, const std::string& Mask,
                               std::vector<std::string>* List, bool Recurse) {
    const DWORD attributes = AttributesOf(Folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsFolder(attributes)) return;
    const TSafeFileResult entry = SafeCheckNoLink(Folder);
    if (entry.IsLink() || entry.Unreachable())
        ReportLeft(ExcludeTrailingPathDelimiter(Folder), entry);
    else
        CollectBelow(Folder, Mask, List, Recurse);
}

void TEraseFiles::CollectBelow(const std::string& Folder, const std::string& Mask,
                               std::vector<std::string>* List, bool Recurse) {
    const std::string dir = IncludeTrailingPathDelimiter(Folder);
    std::vector<std::string> subfolders;
    const bool complete = ForEachEntry(dir, [&](const TFindData& entry) {
        const std::string path = dir + entry.Name;
        if (!IsFolder(entry.dwFileAttributes)) {
            if (!MatchMask(Mask, entry.Name)) return;
            if (List)
                List->push_back(path);
            else
                AddFile(path);
        } else if (Recurse && !IsFolderLink(entry.dwFileAttributes)) {
            subfolders.push_back(path);
        }
    });
    for (size_t i = 0; complete && i < subfolders.size() && !Owner().Cancelled; ++i)
        CollectBelow(subfolders[i], Mask, List, Recurse);
}

bool TEraseFiles::EraseFile(const std::string& FileName) {
    return Account(ActOnItem(FileName, Owner().SimulationMode));
}

// How a cleaning run (TEraserEngine::Clean, on the main thread) shares its work:
// - The walk: the main thread runs the erasers one after another. A file eraser lists
//   its item files and walks its folders itself, in listing order; registry erasers,
//   collect and after-erase routines run on the main thread alone.
// - The two file workers (TCustomEraserEngine::FileWorkers): each listed file is handed
//   to them here as a job, which deletes the file, or only checks it in a simulation,
//   through the link-safe layer. Workers touch no counter, log or list of the engine.
// - Ordered jobs (TOrderedJobs): results are taken back in the order the files were
//   listed, so the log, the counts and the deferred files are those of a one-thread
//   run. At most MaxPending are in flight; past that the main thread waits for the
//   oldest and runs queued jobs itself meanwhile. A folder item first takes back the
//   jobs before it; a walk's folders go once all its files are taken, deepest first.
// - A file is counted (FilesErased, BytesErased), reported as a link left or deferred
//   to the next start only when its result is taken back (Account), on the main thread.
// - Cutting in: the main thread pumps messages (ProcessMessages, at most every
//   PumpInterval ms) before each eraser, item, folder entry and folder removal, and
//   nowhere else. Stop (its button or hot key) only sets Cancelled: the walk then ends,
//   the jobs not started are dropped, those that ran are still counted, and no folder
//   is removed. Other hot keys and the tray's messages run their handlers inside the
//   pump; a clean asked for meanwhile returns at once (Running), and a menu opened
//   there holds the run until it closes. A close of the main window only marks the
//   program to end: the run goes on to its end first.
void TEraseFiles::Submit(TFileJobs& Jobs, std::function<TFileJob()> Job) {
    constexpr size_t MaxPending = 32;
    Jobs.Push(std::move(Job));
    while (Jobs.Pending() > MaxPending || Jobs.OldestFinished())
        if (const std::optional<TFileJob> file = Jobs.TakeOldest()) Account(*file);
}

void TEraseFiles::AccountAll(TFileJobs& Jobs) {
    while (Jobs.Pending() > 0)
        if (const std::optional<TFileJob> file = Jobs.TakeOldest()) Account(*file);
}

bool TEraseFiles::Account(const TFileJob& File) {
    if (!File.Found) return false;
    TCustomEraserEngine& engine = Owner();
    if (File.Folder) return AccountFolder(File);
    const TSafeFileResult& result = File.Result;
    if (result.IsLink() || result.Unreachable()) return ReportLeft(File.Path, result);
    if (!engine.SimulationMode && !result.Done()) {
        // Gone since the folder was listed (temporary folders change all the time),
        // or not to be found by this name: the next start would not find it either.
        if (result.NotFound() || AttributesOf(File.Path) == INVALID_FILE_ATTRIBUTES) return false;
        Defer(File.Path, File.Attributes);
        return false;
    }
    ++engine.FilesErased;
    engine.BytesErased += File.Size;
    return true;
}

bool TEraseFiles::ReportLeft(const std::string& Path, const TSafeFileResult& Result) {
    FLeft.push_back(Path);
    Owner().DoProgress(this, Path + ": " + Result.Text());
    return false;
}

bool TEraseFiles::HoldsLeft(const std::string& Folder) const {
    const std::string prefix = IncludeTrailingPathDelimiter(Folder);
    return std::any_of(FLeft.begin(), FLeft.end(),
                       [&](const std::string& link) { return link.starts_with(prefix); });
}

// The next start of Windows deletes the file; read-only keeps programs from
// rewriting it meanwhile. A file held open may not have shown itself as a link yet.
void TEraseFiles::Defer(const std::string& FileName, DWORD Attributes) {
    const TSafeFileResult entry = SafeCheckNoLink(FileName);
    if (entry.IsLink() || entry.Unreachable()) {
        ReportLeft(FileName, entry);
        return;
    }
    auto item = std::make_unique<TPostEraserItem>();
    item->Type = ptDeleteFile;
    item->FileName = FileName;
    item->Attributes = Attributes;
    SetReadOnly(FileName, Attributes);
    Owner().PostEraser.Add(std::move(item));
}

// A folder reached through a link (a linked profile folder, say) is not walked: every
// entry below it would be a link. The files of the whole tree are deleted on the file
// workers while the listing goes on, and counted in the order they were listed; the
// folders go once every file has, the deepest first.
bool TEraseFiles::EraseFolder(const std::string& Path, const std::string& Mask, bool KeepFolder,
                              bool Recurse) {
    TCustomEraserEngine& engine = Owner();
    const DWORD attributes = AttributesOf(Path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsFolder(attributes)) return true;
    if (IsFolderLink(attributes) && !KeepFolder) {
        RemoveFolder(Path, true);
        return true;
    }
    const TSafeFileResult entry = SafeCheckNoLink(Path);
    if (entry.IsLink() || entry.Unreachable()) {
        ReportLeft(Path, entry);
        return true;
    }
    FLeft.clear();
    TFolderWalk walk(engine.FileWorkers());
    const bool complete = WalkFolder(walk, Path, 0, Mask, Recurse);
    if (!complete) walk.Jobs.Drop();
    AccountAll(walk.Jobs);
    return complete && RemoveWalkedFolders(walk, KeepFolder);
}

// The folders of one depth go at once, the deepest first.
bool TEraseFiles::RemoveWalkedFolders(TFolderWalk& Walk, bool KeepFolder) {
    TCustomEraserEngine& engine = Owner();
    const bool simulation = engine.SimulationMode;
    std::vector<TWalkedFolder>& folders = Walk.Folders;
    if (KeepFolder) folders.erase(folders.begin());
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const TWalkedFolder& a, const TWalkedFolder& b) { return a.Depth > b.Depth; });
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i > 0 && folders[i].Depth != folders[i - 1].Depth) AccountAll(Walk.Jobs);
        engine.ProcessMessages();
        if (engine.Cancelled) {
            Walk.Jobs.Drop();
            AccountAll(Walk.Jobs);
            return false;
        }
        if (simulation) // nothing to remove, nothing to hand over
            RemoveFolder(folders[i].Path, false);
        else
            Submit(Walk.Jobs,
                   [path = folders[i].Path] { return RemoveFolderJob(path, false, false); });
    }
    AccountAll(Walk.Jobs);
    return true;
}

bool TEraseFiles::WalkFolder(TFolderWalk& Walk, const std::string& Path, int Depth,
                             const std::string& Mask, bool Recurse) {
    const bool simulation = Owner().SimulationMode;
    Walk.Folders.push_back({Path, Depth});
    const std::string dir = IncludeTrailingPathDelimiter(Path);
    std::vector<std::pair<std::string, bool>> subfolders; // path, is a link
    const bool complete = ForEachEntry(dir, [&](const TFindData& entry) {
        if (!IsFolder(entry.dwFileAttributes)) {
            if (!MatchMask(Mask, entry.Name)) return;
            TFileJob file;
            file.Path = dir + entry.Name;
            file.Attributes = entry.dwFileAttributes;
            file.Size = entry.Size();
            Submit(Walk.Jobs,
                   [file = std::move(file), simulation] { return Act(file, simulation); });
        } else if (Recurse) {
            subfolders.emplace_back(dir + entry.Name, IsFolderLink(entry.dwFileAttributes));
        }
    });
    if (!complete) return false;
    for (const auto& [path, isLink] : subfolders) {
        if (isLink)
            RemoveFolder(path, true);
        else if (!WalkFolder(Walk, path, Depth + 1, Mask, Recurse))
            return false;
    }
    return true;
}

void TEraseFiles::RemoveFolder(const std::string& Path, bool IsLink) {
    Account(RemoveFolderJob(Path, IsLink, Owner().SimulationMode));
}

// Counted whether or not the removal succeeds when only a deferred file may keep the
// folder; a folder kept by links left in it stays for good and is not. Of a link only
// the link itself goes, where the platform can remove it; otherwise it is reported.
bool TEraseFiles::AccountFolder(const TFileJob& Folder) {
    TCustomEraserEngine& engine = Owner();
    const TSafeFileResult& removed = Folder.Result;
    if (removed.IsLink() || removed.Unreachable()) return ReportLeft(Folder.Path, removed);
    if (!HoldsLeft(Folder.Path) || (removed.Done() && !engine.SimulationMode)) {
        ++engine.FoldersErased;
        return true;
    }
    return false;
}

bool TEraseFiles::ForEachEntry(const std::string& Folder, const TEntryVisitor& Visit) {
    TCustomEraserEngine& engine = Owner();
    return ForEachFile(IncludeTrailingPathDelimiter(ExactPath(Folder)) + "*",
                       [&](const TFindData& entry) {
                           engine.ProcessMessages();
                           if (engine.Cancelled) return false;
                           if (entry.Exact) Visit(entry);
                           return true;
                       });
}

void TEraseFiles::Erase() {
    TEraser::Erase();
    TCustomEraserEngine& engine = Owner();
    const bool simulation = engine.SimulationMode;
    // A copy: messages run during the walks, and a handler may refill Items.
    const std::vector<TEraserItem> items = Items;
    TFileJobs jobs(engine.FileWorkers());
    for (const TEraserItem& item : items) {
        engine.ProcessMessages();
        if (engine.Cancelled) {
            jobs.Drop();
            break;
        }
        if (item.Path.empty()) continue;
        if (item.Kind == ikFile) {
            Submit(jobs, [path = item.Path, simulation] { return ActOnItem(path, simulation); });
        } else if (item.Kind == ikFolder) {
            AccountAll(jobs);
            EraseFolder(item.Path, item.Mask, item.KeepFolder, item.Recurse);
        }
    }
    AccountAll(jobs);
    DoAfterErase();
}

void TEraseFiles::LoadFromXML(const TXMLNode& Parent) {
    // The kept names first: a damaged "Enabled" must not lose them.
    ReadItemList(Parent.FindNode(Name), "Exclude", "FileName", Exclude);
    TEraser::LoadFromXML(Parent);
}

void TEraseFiles::SaveToXML(TXMLNode Parent) {
    TEraser::SaveToXML(Parent);
    WriteItemList(FElement, "Exclude", "FileName", Exclude);
}
