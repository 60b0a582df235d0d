#include "app/finders/DuplicateSearch.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>

namespace {
// Opening files costs round trips more than processor time: two readers keep up with
// the walk that finds the files, and more only slow it down.
constexpr unsigned ReaderCount = 2;
} // namespace

TDuplicateSearch::TDuplicateSearch(const TDuplicateOptions& options)
    : FOptions(options), FReaders(ReaderCount) {}

std::vector<TDuplicateRow> TDuplicateSearch::Add(const TFoundFile& file) {
    std::unique_lock lock(FLock);
    if (FCancelled) return {};
    TEntry& found = FEntries.emplace_back();
    found.File = file;
    std::vector<size_t>& sameName = FByName[file.Name];
    for (size_t earlier : sameName)
        if (PassCheapTests(FEntries[earlier], found)) found.Partners.push_back(earlier);
    sameName.push_back(FEntries.size() - 1);
    // Every file it may be compared with is opened now, on the readers.
    for (size_t partner : found.Partners)
        Probe(FEntries[partner]);
    if (found.Partners.empty())
        found.Sorting = soSorted; // a content of its own
    else
        Probe(found);
    std::vector<TDuplicateRow> rows = AnswerWaiting();
    StartAsked(lock);
    return rows;
}

std::vector<TDuplicateRow> TDuplicateSearch::Finish() {
    std::unique_lock lock(FLock);
    std::vector<TDuplicateRow> rows;
    for (;;) {
        if (FCancelled) return {};
        std::vector<TDuplicateRow> more = AnswerWaiting();
        rows.insert(rows.end(), more.begin(), more.end());
        if (FWaiting == FEntries.size() && FReading == 0) break;
        if (!FAsked.empty()) {
            StartAsked(lock);
            lock.lock();
            continue;
        }
        // The walk is over: this thread reads too.
        const size_t reading = FReading;
        lock.unlock();
        const bool helped = FReaders.RunOne();
        lock.lock();
        if (!helped) FRead.wait(lock, [&] { return FCancelled || FReading != reading; });
    }
    CloseOpenFiles(lock);
    return rows;
}

void TDuplicateSearch::Cancel() {
    {
        std::lock_guard lock(FLock);
        FCancelled = true;
    }
    FRead.notify_all();
    FReaders.Stop();
    std::unique_lock lock(FLock);
    CloseOpenFiles(lock);
}

// No file stays open once every read is done: the user may move or delete the copies
// listed. They are closed once the lock is let go.
void TDuplicateSearch::CloseOpenFiles(std::unique_lock<std::mutex>& lock) {
    std::vector<TFileHandle> open;
    for (TEntry& entry : FEntries)
        if (entry.Open) open.push_back(std::move(entry.Open));
    FOpenFiles = 0;
    lock.unlock();
}

// The readers get the jobs asked for once the lock is let go: waking a reader may take
// long.
void TDuplicateSearch::StartAsked(std::unique_lock<std::mutex>& lock) {
    std::vector<std::function<void()>> jobs;
    jobs.swap(FAsked);
    lock.unlock();
    for (std::function<void()>& job : jobs)
        FReaders.Push(std::move(job));
}

size_t TDuplicateSearch::FilesOpened() const {
    std::lock_guard lock(FLock);
    return FProbes;
}

size_t TDuplicateSearch::ComparisonsMade() const {
    std::lock_guard lock(FLock);
    return FComparisons;
}

uint64_t TDuplicateSearch::BytesCompared() const {
    std::lock_guard lock(FLock);
    return FBytesCompared;
}

// The waiting files in their order, as far as the reading allows.
std::vector<TDuplicateRow> TDuplicateSearch::AnswerWaiting() {
    std::vector<TDuplicateRow> rows;
    while (FWaiting < FEntries.size()) {
        std::optional<std::vector<TDuplicateRow>> answer = Answer(FWaiting);
        if (!answer) break;
        rows.insert(rows.end(), answer->begin(), answer->end());
        ++FWaiting;
    }
    return rows;
}

// The rows of one file, or nothing while a probe or comparison it needs is being read.
std::optional<std::vector<TDuplicateRow>> TDuplicateSearch::Answer(size_t index) {
    TEntry& found = FEntries[index];
    std::vector<size_t>& sameName = FSeenByName[found.File.Name];
    for (size_t seenIndex : sameName) {
        TEntry& seen = FEntries[seenIndex];
        const TMatch match = Compare(seen, found);
        if (match == mtWaiting) return std::nullopt;
        if (match == mtDifferent) continue;
        if (match == mtSameFile) return std::vector<TDuplicateRow>{};
        seen.Members.push_back(index);
        const int group = static_cast<int>(seenIndex);
        std::vector<TDuplicateRow> rows{{found.File, DateTime(found), group, false}};
        if (!seen.Shown) {
            seen.Shown = true;
            rows.push_back({seen.File, DateTime(seen), group, true});
        }
        return rows;
    }
    sameName.push_back(index);
    return std::vector<TDuplicateRow>{};
}

// The order does not change the answer.
bool TDuplicateSearch::PassCheapTests(TEntry& seen, TEntry& found) {
    const TFoundFile& e = seen.File;
    const TFoundFile& f = found.File;
    if (FOptions.SameSize && e.Size != f.Size) return false;
    if (FOptions.SameDateTime && DateTime(seen) != DateTime(found)) return false;
    if (FOptions.SameAttributes && e.Attributes != f.Attributes) return false;
    if (FOptions.SkipZeroLength && e.Size == 0) return false;
    if (FOptions.SkipReadOnlySystem &&
        (f.Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)))
        return false;
    // Files of different sizes never hold the same content.
    return !(FOptions.SameContent && e.Size != f.Size);
}

// Files that pass the cheap tests are opened to tell one file reached twice, before
// any content is read, and to compare first blocks. Equal bytes mean equal digests, and
// two files of different bytes are never listed as copies, whatever their digests.
TDuplicateSearch::TMatch TDuplicateSearch::Compare(TEntry& seen, TEntry& found) {
    if (!PassCheapTests(seen, found)) return mtDifferent;
    const TFileProbe* probeE = Probe(seen);
    const TFileProbe* probeF = Probe(found);
    if (!probeE || !probeF) return mtWaiting;
    // One file reached again by another path: the seen file or a copy of it.
    if (SameFile(seen.File, *probeE, found.File, *probeF) || IsMember(seen, found, *probeF))
        return mtSameFile;
    if (!FOptions.SameContent) return mtDuplicate;
    // An unreadable file equals nothing.
    if (!probeE->Read || !probeF->Read || probeE->FirstBlock != probeF->FirstBlock)
        return mtDifferent;
    // The seen file is a partner of the found one, so it is sorted first.
    if (found.Sorting != soSorted) return mtWaiting;
    if (seen.Unreadable || found.Unreadable) return mtDifferent;
    auto content = [](const TEntry& entry) { return entry.CopyOf ? entry.CopyOf : &entry; };
    return content(seen) == content(found) ? mtDuplicate : mtDifferent;
}

// Made when first asked for: most files are never compared.
const std::string& TDuplicateSearch::DateTime(TEntry& entry) {
    if (!entry.DateTime)
        entry.DateTime = DateTimeToStr(FileTimeToLocalDateTime(entry.File.Modified));
    return *entry.DateTime;
}

// A copy joins its seen file only once both were opened: each member has its probe.
bool TDuplicateSearch::IsMember(const TEntry& seen, const TEntry& found,
                                const TFileProbe& probe) const {
    for (size_t member : seen.Members)
        if (SameFile(FEntries[member].File, *FEntries[member].Probe, found.File, probe))
            return true;
    return false;
}

// The probe, or nullptr while a reader opens the file. A file whose first block was
// read stays open, so that comparing it opens nothing again, as long as not too many
// are.
const TFileProbe* TDuplicateSearch::Probe(TEntry& entry) {
    constexpr size_t MaxOpenFiles = 256;
    if (!entry.ProbeAsked) {
        entry.ProbeAsked = true;
        ++FReading;
        FAsked.emplace_back([this, &entry] {
            TFileHandle open;
            TFileProbe probe = ProbeFile(entry.File.Path, FOptions.SameContent, &open);
            std::unique_lock lock(FLock);
            --FReading;
            ++FProbes;
            entry.Probe = std::move(probe);
            if (open && FOpenFiles < MaxOpenFiles && !FCancelled) {
                entry.Open = std::move(open);
                ++FOpenFiles;
            }
            SortName(entry.File.Name);
            StartAsked(lock);
            FRead.notify_all();
        });
    }
    return entry.Probe ? &*entry.Probe : nullptr;
}

// The files of a name are sorted by content ahead of the answers, so that many files
// are read at once: each once it and its partners are opened (a file reached twice is
// never read whole), and as far as its earlier partners are sorted.
void TDuplicateSearch::SortName(const std::string& name) {
    for (size_t index : FByName[name]) {
        TEntry& entry = FEntries[index];
        if (entry.Sorting == soSorting) {
            CompareWithNext(entry);
        } else if (entry.Sorting == soWaiting) {
            const bool opened =
                entry.Probe && std::all_of(entry.Partners.begin(), entry.Partners.end(),
                                           [&](size_t partner) { return FEntries[partner].Probe; });
            if (opened) StartSorting(entry);
        }
    }
}

void TDuplicateSearch::StartSorting(TEntry& entry) {
    entry.Sorting = soSorting;
    for (size_t partner : entry.Partners) {
        const TEntry& other = FEntries[partner];
        entry.Alias = entry.Alias || SameFile(other.File, *other.Probe, entry.File, *entry.Probe);
    }
    if (entry.Alias || !FOptions.SameContent || !entry.Probe->Read)
        entry.Sorting = soSorted;
    else
        CompareWithNext(entry);
}

// Partners are taken in their order; one not sorted yet holds the file back, since
// only a partner that is no copy itself is compared with.
void TDuplicateSearch::CompareWithNext(TEntry& entry) {
    while (entry.NextPartner < entry.Partners.size()) {
        const TEntry& other = FEntries[entry.Partners[entry.NextPartner]];
        if (other.Sorting != soSorted) return;
        ++entry.NextPartner;
        if (other.Alias || other.CopyOf || other.Unreadable || !other.Probe->Read ||
            other.Probe->FirstBlock != entry.Probe->FirstBlock)
            continue;
        AskComparison(entry, other);
        return;
    }
    entry.Sorting = soSorted; // a content of its own
}

void TDuplicateSearch::AskComparison(TEntry& entry, const TEntry& original) {
    entry.Sorting = soComparing;
    ++FReading;
    FAsked.emplace_back([this, &entry, &original] {
        // Files kept open are only closed once no read is left.
        auto handle = [](const TEntry& file, TFileHandle& opened) {
            if (file.Open) return file.Open.Get();
            opened = OpenToRead(file.File.Path);
            return opened.Get();
        };
        TFileHandle file, other;
        const TContentComparison comparison =
            CompareContents(handle(entry, file), handle(original, other), FCancelled);
        TFileHandle done; // closed once the lock is let go
        std::unique_lock lock(FLock);
        --FReading;
        ++FComparisons;
        FBytesCompared += comparison.BytesRead;
        entry.Sorting = comparison.Match == cmDifferent ? soSorting : soSorted;
        if (comparison.Match == cmSame) entry.CopyOf = &original;
        entry.Unreadable = comparison.Match == cmUnreadable;
        // Only a file of a content of its own is compared with again.
        if (entry.Sorting == soSorted && entry.Open) {
            done = std::move(entry.Open);
            --FOpenFiles;
        }
        SortName(entry.File.Name);
        StartAsked(lock);
        FRead.notify_all();
    });
}
