#include "app/finders/KeptCopy.h"
#include "app/finders/FoundFile.h"
#include "app/finders/RunHold.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/WorkQueue.h"
#include <chrono>
#include <optional>

namespace {
// Deleting waits on round trips more than on the processor: a few threads overlap them.
constexpr unsigned DeletingThreads = 3;

// Why the file stays; "" once it is deleted.
std::string Delete(const TDeletion& file, const std::optional<TKeptCopy>& kept,
                   const std::atomic<bool>& stop) {
    if (kept) return kept->DeleteCopy(file.Path, stop);
    const TSafeFileResult result = SafeDeleteFile(file.Path);
    return result.Done() ? "" : result.Text();
}
} // namespace

TKeptCopy::TKeptCopy(const std::string& path)
    : FPath(path), FFile(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (FFile)
        FFinalPath = SafeFinalPath(FFile.Get());
    else
        FOpenError = SysErrorMessage(GetLastError());
}

std::string TKeptCopy::DeleteCopy(const std::string& copy, const std::atomic<bool>& stop) const {
    if (!FFile)
        return Format("left, as the kept copy \"%s\" cannot be read: %s", FPath.c_str(),
                      FOpenError.c_str());
    // No one writes to the copy between the comparison and the deletion.
    const TSafeOpenedFile file = SafeOpenForOverwrite(copy, GENERIC_READ | DELETE, FILE_SHARE_READ,
                                                      FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file.Result.Done()) return file.Result.Text();
    if (!FFinalPath.empty() && SameText(SafeFinalPath(file.Handle.Get()), FFinalPath))
        return Format("left, as it is the kept copy \"%s\" itself", FPath.c_str());
    const TContentComparison comparison = CompareContents(FFile.Get(), file.Handle.Get(), stop);
    if (comparison.Match == cmUnreadable)
        return Format("left, as the kept copy \"%s\" cannot be read whole", FPath.c_str());
    if (comparison.Match != cmSame)
        return Format("left, as its bytes differ from the kept copy \"%s\"", FPath.c_str());
    const TSafeFileResult deleted = SafeDeleteOpened(file.Handle.Get());
    return deleted.Done() ? "" : deleted.Text();
}

void DeleteForGood(std::vector<TDeletion>& files,
                   const std::function<bool(size_t done)>& progress) {
    std::atomic<bool> stop{false};
    std::mutex lock; // guards done
    std::condition_variable changed;
    size_t done = 0;
    TRunHold hold;
    TWorkQueue workers(DeletingThreads);
    for (size_t first = 0, end = 0; first < files.size(); first = end) {
        end = first + 1;
        while (end < files.size() && !files[first].Kept.empty() &&
               files[end].Kept == files[first].Kept)
            ++end;
        workers.Push([&, first, end] {
            std::optional<TKeptCopy> kept;
            if (!files[first].Kept.empty()) kept.emplace(files[first].Kept);
            for (size_t i = first; i < end && hold.Proceed([&] { return bool(stop); }); ++i) {
                TDeletion& file = files[i];
                try {
                    file.Failure = Delete(file, kept, stop);
                } catch (const std::exception& e) {
                    file.Failure = e.what();
                }
                file.Deleted = file.Failure.empty();
                if (stop && !file.Deleted) file.Failure.clear(); // cut short: not begun
                {
                    std::lock_guard guard(lock);
                    ++done;
                }
                changed.notify_one();
            }
        });
    }
    std::unique_lock guard(lock);
    while (done < files.size()) {
        changed.wait_for(guard, std::chrono::milliseconds(50));
        const size_t now = done;
        guard.unlock();
        if (!progress(now)) {
            stop = true;
            break;
        }
        guard.lock();
    }
    if (guard.owns_lock()) guard.unlock();
    workers.Stop(); // the files begun are done
}
