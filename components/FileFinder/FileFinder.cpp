#include "components/FileFinder/FileFinder.h"

class TFileFinder::TSearchThread : public TThread {
public:
    explicit TSearchThread(TFileFinder& finder) : FFinder(finder) {}

protected:
    void Execute() override { FFinder.SearchTargets(); }

private:
    TFileFinder& FFinder;
};

TFileFinder::~TFileFinder() {
    FDestroying = true;
    Abort();
    WaitForSearchThread();
}

void TFileFinder::Fire(const TNotifyEvent& event) {
    if (event && !FDestroying) event(this);
}

void TFileFinder::Execute() {
    if (FBusy) return;
    const bool threaded = Threaded;
    try {
        StartSearch();
        if (threaded)
            StartSearchThread();
        else
            SearchTargets();
    } catch (...) {
        FinishSearch();
        throw;
    }
    if (!threaded) FinishSearch();
}

void TFileFinder::StartSearchThread() {
    auto* thread = new TSearchThread(*this);
    thread->FreeOnTerminate = true;
    thread->SetPriority(ThreadPriority);
    thread->OnTerminate = [this](TThread*) { SearchThreadEnded(); };
    DuplicateHandle(GetCurrentProcess(), thread->Handle(), GetCurrentProcess(), FThreadHandle.Out(),
                    SYNCHRONIZE, FALSE, 0);
    thread->Start();
}

void TFileFinder::StartSearch() {
    FBusy = true;
    FAborted = false;
    FPlan = std::make_unique<TTargetSearch>(Criteria);
    Fire(OnSearchBegin);
}

void TFileFinder::SearchTargets() {
    for (const auto& target : FPlan->Targets().Folders) {
        if (FAborted) break;
        FDepth = 0;
        FTarget = target.get();
        FReadAhead = std::make_unique<TFolderReadAhead>(target->Masks, FAborted);
        WalkFolder(target->Folder);
        FReadAhead.reset();
    }
    Fire(OnWalkEnd);
}

void TFileFinder::WalkFolder(const std::string& folder) {
    ++FDepth;
    const TFolderIgnore ignore = DoFolderChange(folder);
    TListingWanted wanted;
    wanted.Files = (ignore == fiNone || ignore == fiJustSubfolders) && FDepth >= FTarget->MinLevel;
    wanted.Subfolders = (ignore == fiNone || ignore == fiJustThis) && EntersSubfolders(FDepth);
    if (!wanted.Files && !wanted.Subfolders) {
        FReadAhead->Drop(folder);
    } else {
        const TFolderListing listing = FReadAhead->Take(folder, wanted);
        if (wanted.Files) ReportFiles(folder, listing);
        if (wanted.Subfolders) WalkSubfolders(folder, listing.Subfolders);
    }
    --FDepth;
}

bool TFileFinder::EntersSubfolders(uint16_t depth) const {
    return FTarget->Recursive && (FTarget->MaxLevel == 0 || FTarget->MaxLevel > depth);
}

// A file that two masks match is reported once per mask, the last mask first.
void TFileFinder::ReportFiles(const std::string& folder, const TFolderListing& listing) {
    for (const std::vector<TFindData>& entries : listing.ByMask)
        for (const TFindData& data : entries) {
            if (FAborted) return;
            if (FPlan->AcceptFile(folder, data) && OnFileMatch) OnFileMatch(this, folder, data);
        }
}

// The subfolders are listed ahead while the walk is in the ones before them.
void TFileFinder::WalkSubfolders(const std::string& folder, const std::vector<std::string>& names) {
    if (FAborted) return;
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(folder + name + "\\");
    const uint16_t depth = FDepth + 1;
    FReadAhead->Expect(paths, {depth >= FTarget->MinLevel, EntersSubfolders(depth)});
    for (const std::string& path : paths) {
        if (FAborted) return;
        WalkFolder(path);
    }
}

TFolderIgnore TFileFinder::DoFolderChange(const std::string& folder) {
    if (FAborted) return fiThisAndSubfolders;
    TFolderIgnore ignore = fiNone;
    if (OnFolderChange) OnFolderChange(this, folder, ignore);
    return ignore;
}

void TFileFinder::SearchThreadEnded() {
    FThreadHandle.Reset();
    FinishSearch();
}

void TFileFinder::FinishSearch() {
    FReadAhead.reset();
    FPlan.reset();
    FBusy = false;
    Fire(OnSearchFinish);
}

void TFileFinder::Abort() {
    if (!FBusy || FAborted) return;
    FAborted = true;
    Fire(OnSearchAbort);
    WaitForSearchThread();
}

// Until the search thread has ended and its termination notification has run.
void TFileFinder::WaitForSearchThread() {
    if (!FThreadHandle) return;
    // Moved out: an OnSearchFinish run during the wait may start the next search.
    const TKernelHandle thread = std::move(FThreadHandle);
    WaitForThreadEnd(thread.Get());
}
