#include "components/FileFinder/FileFinder.h"

namespace {
// Junctions and symbolic links to folders are not entered: no loops, and no walking
// out of the chosen folder. Nor is a folder whose name cannot be spelt back.
bool IsFolderToEnter(const TFindData& data) {
    return data.IsFolder() && data.Exact && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
} // namespace

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
        WalkFolder(target->Folder);
    }
    Fire(OnWalkEnd);
}

void TFileFinder::WalkFolder(const std::string& folder) {
    ++FDepth;
    const TFolderIgnore ignore = DoFolderChange(folder);
    const bool enterSubfolders = FTarget->Recursive && (ignore == fiNone || ignore == fiJustThis) &&
                                 (FTarget->MaxLevel == 0 || FTarget->MaxLevel > FDepth);
    std::optional<std::vector<std::string>> subfolders;
    if ((ignore == fiNone || ignore == fiJustSubfolders) && FDepth >= FTarget->MinLevel)
        ListFiles(folder, enterSubfolders ? &subfolders : nullptr);
    if (enterSubfolders) WalkSubfolders(folder, subfolders);
    --FDepth;
}

// A file that two masks match is reported once per mask, the last mask first. A mask
// that lists everything also yields the subfolders, which saves a second listing.
void TFileFinder::ListFiles(const std::string& folder,
                            std::optional<std::vector<std::string>>* subfolders) {
    const auto& masks = FTarget->Masks;
    for (auto mask = masks.rbegin(); mask != masks.rend() && !FAborted; ++mask) {
        const bool collect =
            subfolders && !subfolders->has_value() && (*mask == "*.*" || *mask == "*");
        if (collect) subfolders->emplace();
        ForEachFile(folder + *mask, [&](const TFindData& data) {
            if (collect && IsFolderToEnter(data)) (*subfolders)->push_back(data.Name);
            if (FPlan->AcceptFile(folder, data) && OnFileMatch && !FAborted)
                OnFileMatch(this, folder, data);
            return !FAborted;
        });
    }
}

void TFileFinder::WalkSubfolders(const std::string& folder,
                                 const std::optional<std::vector<std::string>>& known) {
    if (FAborted) return;
    if (known) {
        for (const std::string& name : *known) {
            if (FAborted) return;
            WalkFolder(folder + name + "\\");
        }
        return;
    }
    ForEachFile(folder + "*.*", [&](const TFindData& data) {
        if (IsFolderToEnter(data)) WalkFolder(folder + data.Name + "\\");
        return !FAborted;
    });
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
