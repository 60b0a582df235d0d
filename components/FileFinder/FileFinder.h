#pragma once
// Searches folders for files that meet TSearchCriteria and reports each accepted file,
// in place or on a search thread of its own (Threaded). One search at a time.
#include "classlib/base/Handle.h"
#include "classlib/gui/Classes.h"
#include "classlib/gui/Thread.h"
#include "components/FileFinder/FolderReadAhead.h"
#include "components/FileFinder/SearchCriteria.h"
#include "components/FileFinder/TargetSearch.h"
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The answer of OnFolderChange.
enum TFolderIgnore {
    fiNone,              // search the folder's files and its subfolders
    fiJustThis,          // skip its files, still walk its subfolders
    fiJustSubfolders,    // search its files, skip its subfolders
    fiThisAndSubfolders, // skip both
};

class TFileFinder : public TComponent {
public:
    explicit TFileFinder(TComponent* owner) : TComponent(owner) {}
    // Aborts a running search first (waiting for its thread).
    ~TFileFinder() override;

    TSearchCriteria Criteria; // copied into the plan when a search starts
    bool Threaded = false;
    TThreadPriority ThreadPriority = tpNormal;

    // Starts a search unless one runs. In place it returns after OnSearchFinish;
    // threaded as soon as the search thread runs.
    void Execute();
    // Stops the running search; with a search thread, returns after it has ended and
    // OnSearchFinish has run.
    void Abort();
    [[nodiscard]] bool Aborted() const { return FAborted; } // stays set after the search
    [[nodiscard]] bool Busy() const { return FBusy; }

    // The caller of Execute (the main thread).
    TNotifyEvent OnSearchBegin;
    // The caller of Execute in place; the search thread when Threaded.
    std::function<void(TObject* sender, const std::string& folder, TFolderIgnore& ignore)>
        OnFolderChange;
    std::function<void(TObject* sender, const std::string& folder, const TFindData& file)>
        OnFileMatch;
    // The thread that walked (the search thread when Threaded), once the walk has
    // ended, aborted or not; before OnSearchFinish.
    TNotifyEvent OnWalkEnd;
    // The caller of Execute in place; the main thread's message handling when Threaded
    // (inside Abort's wait for an aborted search). Busy is already clear: the handler
    // may call Execute again.
    TNotifyEvent OnSearchFinish;
    // The caller of Abort.
    TNotifyEvent OnSearchAbort;

private:
    class TSearchThread;
    void StartSearch();
    void StartSearchThread();
    void SearchTargets();
    void WalkFolder(const std::string& folder);
    [[nodiscard]] bool EntersSubfolders(uint16_t depth) const;
    void ReportFiles(const std::string& folder, const TFolderListing& listing);
    void WalkSubfolders(const std::string& folder, const std::vector<std::string>& names);
    void SearchThreadEnded();
    void WaitForSearchThread();
    void FinishSearch();
    TFolderIgnore DoFolderChange(const std::string& folder);
    void Fire(const TNotifyEvent& event);

    std::atomic<bool> FAborted{false};
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FDestroying{false}; // read by the search thread
    uint16_t FDepth = 0;
    std::unique_ptr<TTargetSearch> FPlan; // present only during a search
    const TTargetFolder* FTarget = nullptr;
    std::unique_ptr<TFolderReadAhead> FReadAhead; // of the target being walked
    TKernelHandle FThreadHandle; // a duplicate: the thread frees itself when it ends
};
