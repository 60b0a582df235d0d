#include "app/finders/DuplicateSearch.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SysUtils.h"
#include "engine/tools/MD5.h"
#include <algorithm>

namespace {
// Digesting, not the disk, is the limit: files are read on several processors, but
// on no more than half of them, so that the walk that finds the files keeps its pace.
unsigned ReaderCount() {
    return std::clamp(std::thread::hardware_concurrency() / 2, 2u, 4u);
}
} // namespace

TDuplicateSearch::TDuplicateSearch(const TDuplicateOptions& options)
    : FOptions(options), FReaders(ReaderCount()) {}

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
        found.Decided = true;
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
        if (FWaiting == FEntries.size()) return rows;
        if (!FAsked.empty()) {
            StartAsked(lock);
            lock.lock();
            continue;
        }
        // The walk is over: this thread reads too.
        const size_t reads = FProbes + FDigests;
        lock.unlock();
        const bool helped = FReaders.RunOne();
        lock.lock();
        if (!helped) FRead.wait(lock, [&] { return FCancelled || FProbes + FDigests != reads; });
    }
}

void TDuplicateSearch::Cancel() {
    {
        std::lock_guard lock(FLock);
        FCancelled = true;
    }
    FRead.notify_all();
    FReaders.Stop();
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

size_t TDuplicateSearch::DigestsComputed() const {
    std::lock_guard lock(FLock);
    return FDigests;
}

uint64_t TDuplicateSearch::BytesDigested() const {
    std::lock_guard lock(FLock);
    return FDigestBytes;
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

// The rows of one file, or nothing while a probe or digest it needs is being read.
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
// any digest, and to compare first blocks.
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
    const std::string* digestE = Digest(seen);
    if (digestE && digestE->empty()) return mtDifferent;
    const std::string* digestF = Digest(found);
    if (!digestE || !digestF) return mtWaiting;
    return *digestE == *digestF ? mtDuplicate : mtDifferent;
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

// The probe, or nullptr while a reader opens the file.
const TFileProbe* TDuplicateSearch::Probe(TEntry& entry) {
    if (!entry.ProbeAsked) {
        entry.ProbeAsked = true;
        FAsked.emplace_back([this, &entry] {
            TFileProbe probe = ProbeFile(entry.File.Path, FOptions.SameContent);
            std::unique_lock lock(FLock);
            ++FProbes;
            entry.Probe = std::move(probe);
            AskDigestsOfName(entry.File.Name);
            StartAsked(lock);
            FRead.notify_all();
        });
    }
    return entry.Probe ? &*entry.Probe : nullptr;
}

// The digest, or nullptr while a reader computes it.
const std::string* TDuplicateSearch::Digest(TEntry& entry) {
    if (!entry.DigestAsked) {
        entry.DigestAsked = true;
        FAsked.emplace_back([this, &entry] {
            std::string digest;
            try {
                digest = MD5FileHex(entry.File.Path, &FCancelled);
            } catch (const std::exception&) {
                digest = ""; // equals nothing
            }
            {
                std::lock_guard lock(FLock);
                ++FDigests;
                FDigestBytes += entry.File.Size;
                entry.Digest = std::move(digest);
            }
            FRead.notify_all();
        });
    }
    return entry.Digest ? &*entry.Digest : nullptr;
}

// Digests are asked for ahead of the answers, so that many files are read at once:
// the files of a name are decided in their order, each once its partners and it are
// opened, so that a file reached twice is never read whole again.
void TDuplicateSearch::AskDigestsOfName(const std::string& name) {
    for (size_t index : FByName[name]) {
        TEntry& entry = FEntries[index];
        if (entry.Decided) continue;
        const bool opened =
            entry.Probe && std::all_of(entry.Partners.begin(), entry.Partners.end(),
                                       [&](size_t partner) { return FEntries[partner].Probe; });
        if (!opened) return;
        Decide(entry);
    }
}

void TDuplicateSearch::Decide(TEntry& entry) {
    entry.Decided = true;
    for (size_t partner : entry.Partners) {
        const TEntry& other = FEntries[partner];
        entry.Alias = entry.Alias || SameFile(other.File, *other.Probe, entry.File, *entry.Probe);
    }
    if (entry.Alias || !FOptions.SameContent || !entry.Probe->Read) return;
    for (size_t partner : entry.Partners) {
        TEntry& other = FEntries[partner];
        if (other.Alias || !other.Probe->Read || other.Probe->FirstBlock != entry.Probe->FirstBlock)
            continue;
        Digest(other);
        Digest(entry);
    }
}
