#pragma once
// Lists the folders a walk is about to enter on threads of its own, while the walk
// goes on with the folders before them: listing a folder mostly waits for the system,
// so two listings at once take about the time of one. The walk still takes the
// listings in its own order; one that nobody has started yet it makes itself. One walk
// of one tree: every folder is expected at most once.
#include "classlib/base/SysUtils.h"
#include "classlib/base/WorkQueue.h"
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// One folder as the walk needs it: the entries of each mask, the last mask first, and
// the subfolders to enter, in their listed order.
struct TFolderListing {
    std::vector<std::vector<TFindData>> ByMask;
    std::vector<std::string> Subfolders;
};

// What to list of a folder: its files (by every mask), its subfolders, or both.
struct TListingWanted {
    bool Files = true;
    bool Subfolders = true;
};

class TFolderReadAhead {
public:
    // Stops listing as soon as stop is set.
    TFolderReadAhead(std::vector<std::string> masks, const std::atomic<bool>& stop);
    TFolderReadAhead(const TFolderReadAhead&) = delete;
    TFolderReadAhead& operator=(const TFolderReadAhead&) = delete;

    // The walk will enter these folders next, in this order, before the ones expected
    // earlier; it lists the first itself.
    void Expect(const std::vector<std::string>& folders, TListingWanted wanted);
    // The listing of a folder, made ahead or made now.
    TFolderListing Take(const std::string& folder, TListingWanted wanted);
    // The walk will not list that expected folder after all.
    void Drop(const std::string& folder);

private:
    enum TState { stWaiting, stListing, stListed, stDropped };
    struct TJob {
        TState State = stWaiting;
        TListingWanted Wanted;
        TFolderListing Listing;
    };
    TFolderListing List(const std::string& folder, TListingWanted wanted) const;
    void StartLister(std::unique_lock<std::mutex>& lock);
    void ListWaiting();
    void Forget(const std::string& folder); // FLock held

    const std::vector<std::string> FMasks;
    const std::atomic<bool>& FStop;
    std::mutex FLock; // guards all below but FListers
    std::condition_variable FListed;
    std::unordered_map<std::string, TJob> FJobs;
    std::deque<std::string> FWaiting; // the next one the walk enters first
    size_t FEntriesHeld = 0;          // in listings made and not taken yet
    unsigned FListersStarted = 0;
    TWorkQueue FListers; // last: its threads end before the rest goes
};
