#include "components/FileFinder/FolderReadAhead.h"
#include <algorithm>

namespace {
// One lister beside the walk: more only take turns with it for the same system calls.
constexpr unsigned ListerCount = 1;
// Listings made ahead hold at most about this many entries; beyond it the walk lists
// for itself.
constexpr size_t MaxEntriesHeld = 8192;

bool ListsEverything(const std::string& mask) {
    return mask == "*.*" || mask == "*";
}

// Junctions and symbolic links to folders are not entered: no loops, and no walking
// out of the chosen folder. Nor is a folder whose name cannot be spelt back.
bool IsFolderToEnter(const TFindData& data) {
    return data.IsFolder() && data.Exact && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

size_t EntryCount(const TFolderListing& listing) {
    size_t count = listing.Subfolders.size();
    for (const auto& entries : listing.ByMask)
        count += entries.size();
    return count;
}
} // namespace

TFolderReadAhead::TFolderReadAhead(std::vector<std::string> masks, const std::atomic<bool>& stop)
    : FMasks(std::move(masks)), FStop(stop), FListers(ListerCount) {}

void TFolderReadAhead::Expect(const std::vector<std::string>& folders, TListingWanted wanted) {
    std::unique_lock lock(FLock);
    // The first is entered at once: the walk lists it while a lister takes the next.
    for (size_t i = folders.size(); i > 1; --i) {
        FJobs[folders[i - 1]] = TJob{stWaiting, wanted, {}};
        FWaiting.push_front(folders[i - 1]);
    }
    StartLister(lock);
}

TFolderListing TFolderReadAhead::Take(const std::string& folder, TListingWanted wanted) {
    std::unique_lock lock(FLock);
    auto job = FJobs.find(folder);
    if (job == FJobs.end()) {
        lock.unlock();
        return List(folder, wanted);
    }
    FListed.wait(lock, [&] { return job->second.State != stListing; });
    if (job->second.State != stListed) { // nobody has started it
        Forget(folder);
        lock.unlock();
        return List(folder, wanted);
    }
    TFolderListing listing = std::move(job->second.Listing);
    FEntriesHeld -= EntryCount(listing);
    FJobs.erase(job);
    StartLister(lock); // there may be room again
    return listing;
}

void TFolderReadAhead::Drop(const std::string& folder) {
    std::lock_guard lock(FLock);
    auto job = FJobs.find(folder);
    if (job == FJobs.end()) return;
    if (job->second.State == stListing) {
        job->second.State = stDropped; // its lister lets it go
        return;
    }
    if (job->second.State == stListed) FEntriesHeld -= EntryCount(job->second.Listing);
    Forget(folder);
}

void TFolderReadAhead::Forget(const std::string& folder) {
    // Mostly the first: the walk takes the folders in the order they wait.
    const auto waiting = std::find(FWaiting.begin(), FWaiting.end(), folder);
    if (waiting != FWaiting.end()) FWaiting.erase(waiting);
    FJobs.erase(folder);
}

// Lets go of the lock; a lister is started when one is missing and there is work.
void TFolderReadAhead::StartLister(std::unique_lock<std::mutex>& lock) {
    const bool start = FListersStarted < ListerCount && !FWaiting.empty() &&
                       FEntriesHeld < MaxEntriesHeld && !FStop;
    if (start) ++FListersStarted;
    lock.unlock();
    if (start) FListers.Push([this] { ListWaiting(); });
}

// The waiting folders, while there is room. The one the walk enters next is left to
// the walk while there are others: the walk lists it meanwhile instead of waiting.
void TFolderReadAhead::ListWaiting() {
    std::unique_lock lock(FLock);
    while (!FStop && !FWaiting.empty() && FEntriesHeld < MaxEntriesHeld) {
        const auto next = FWaiting.begin() + (FWaiting.size() > 1 ? 1 : 0);
        const std::string folder = *next;
        FWaiting.erase(next);
        TJob& job = FJobs[folder]; // stays: only its lister erases it while it is listed
        job.State = stListing;
        const TListingWanted wanted = job.Wanted;
        lock.unlock();
        TFolderListing listing = List(folder, wanted);
        lock.lock();
        if (job.State == stDropped) {
            FJobs.erase(folder);
        } else {
            FEntriesHeld += EntryCount(listing);
            job.Listing = std::move(listing);
            job.State = stListed;
        }
        FListed.notify_all();
    }
    --FListersStarted;
}

// A mask that lists everything also yields the subfolders, which saves a second
// listing.
TFolderListing TFolderReadAhead::List(const std::string& folder, TListingWanted wanted) const {
    TFolderListing listing;
    bool subfoldersListed = !wanted.Subfolders;
    for (auto mask = FMasks.rbegin(); wanted.Files && mask != FMasks.rend() && !FStop; ++mask) {
        const bool collect = !subfoldersListed && ListsEverything(*mask);
        subfoldersListed = subfoldersListed || collect;
        std::vector<TFindData>& entries = listing.ByMask.emplace_back();
        ForEachFile(folder + *mask, [&](const TFindData& data) {
            if (collect && IsFolderToEnter(data)) listing.Subfolders.push_back(data.Name);
            entries.push_back(data);
            return !FStop;
        });
    }
    if (!subfoldersListed)
        ForEachFile(folder + "*.*", [&](const TFindData& data) {
            if (IsFolderToEnter(data)) listing.Subfolders.push_back(data.Name);
            return !FStop;
        });
    return listing;
}
