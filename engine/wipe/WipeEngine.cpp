#include "engine/wipe/WipeEngine.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <algorithm>
#include <atomic>
#include <climits>
#include <thread>

// The open file of OverwriteFile and the length each pass covers.
struct TWipeEngine::TTarget {
    TFileStream& File;
    int64_t Size;   // at opening
    int64_t Length; // to cover per pass
};

namespace {

// A longer pass writes on a thread of its own, and a larger file is closed there: its
// writes, its flush and its removal at the close can hold a thread for seconds.
constexpr int64_t AsideLength = 1 << 20;

bool IsLarge(const TFileStream& file) {
    LARGE_INTEGER size;
    return GetFileSizeEx(file.Handle(), &size) && size.QuadPart > AsideLength;
}

// With slack wiping, up to the end of the file's last cluster and one cluster
// more (one cluster for a file smaller than a cluster); else the file itself.
int64_t LengthToCover(int64_t size, int64_t cluster, bool slack) {
    if (!slack || size <= 0) return size;
    return size / cluster * cluster + cluster;
}

// The name a file takes before it is deleted, in its own folder; "" when that path
// would be too long to delete afterwards (Wine renames to it, but cannot delete it).
std::string ScrambledName(const std::string& path) {
    std::string name = ExtractFilePath(path) + std::string(245, 'a') + ".aaa";
    return name.size() < MAX_PATH ? name : "";
}

// Sets a new range, and moves a bar only by a hundredth of its range or more, or to
// its end: each change repaints, which costs more than writing a block.
void ShowBar(TProgressBar& bar, int max, int position) {
    if (bar.Max() != max) bar.SetMax(max);
    const int step = std::max(1, bar.Max() / 100);
    if (position >= bar.Max() || position < bar.Position() || position - bar.Position() >= step)
        bar.SetPosition(position);
}

} // namespace

TWipeEngine::TWipeEngine(std::string name) : Name(std::move(name)) {}

TWipeEngine::~TWipeEngine() = default;

bool TWipeEngine::AddItem(std::unique_ptr<TWipeItem> item) {
    if (FRunning || !item) return false;
    FItems.push_back(std::move(item));
    return true;
}

bool TWipeEngine::DeleteItem(const TWipeItem* item) {
    if (FRunning) return false;
    auto it = std::find_if(FItems.begin(), FItems.end(),
                           [item](const std::unique_ptr<TWipeItem>& i) { return i.get() == item; });
    if (it != FItems.end()) FItems.erase(it);
    return true;
}

bool TWipeEngine::Clear() {
    if (FRunning) return false;
    FItems.clear();
    return true;
}

bool TWipeEngine::ClearShredded() {
    if (FRunning) return false;
    std::erase_if(FItems, [](const std::unique_ptr<TWipeItem>& i) { return i->Shredded; });
    return true;
}

bool TWipeEngine::Execute() {
    if (FRunning) return false;
    FRunning = true;
    Cancelled = false;
    Errors.clear();
    Reasons.clear();
    Notices.clear();
    FMethod = nullptr;
    FClusterDrive.clear();
    for (auto& item : FItems)
        item->Shredded = false;
    try {
        FProgress = std::make_unique<TfProgress>(nullptr);
        FProgress->OnCancel = [this](TObject*) { Cancelled = true; };
        FProgress->Show();
        FProgress->Repaint();
        FShown = FOnScreen = TShown();
        FLastPump = GetTickCount() - ProgressInterval;
        for (auto& item : FItems) {
            ProcessMessages();
            if (Cancelled) break;
            RunItem(*item);
        }
        FProgress->Close();
    } catch (const std::exception& e) {
        AddError("", e.what());
    }
    DeleteRenamed(); // left by a walk that an error broke off
    FProgress.reset();
    FRunning = false;
    return !Cancelled && Errors.empty();
}

void TWipeEngine::RunItem(TWipeItem& item) {
    switch (item.Kind) {
    case wkFile:
        if (IsProtectedFile(item.Path))
            AddError(item.Path, ProtectedFileText);
        else
            item.Shredded = WipeFile(item);
        break;
    case wkFolder: item.Shredded = WipeFolderItem(item); break;
    case wkFreeSpace: item.Shredded = WipeFreeSpace(item); break;
    default: break;
    }
}

void TWipeEngine::ProcessMessages() {
    const uint32_t now = GetTickCount();
    if (now - FLastPump < ProgressInterval) return;
    FLastPump = now;
    ShowProgress();
    if (OnProcessMessages) OnProcessMessages();
    FMethod = nullptr;
}

void TWipeEngine::AddError(const std::string& path, const std::string& reason) {
    Errors.push_back(path.empty() ? reason : path + ": " + reason);
    if (std::find(Reasons.begin(), Reasons.end(), reason) == Reasons.end())
        Reasons.push_back(reason);
}

// Overwriting checks the file for links once; attributes are changed, on the listed
// entry only, just when they lock it. The rename and the delete go through the handle
// that was checked.
bool TWipeEngine::WipeFile(TWipeItem& item, bool keepRenamed, uint32_t attr) {
    if (attr == INVALID_FILE_ATTRIBUTES) attr = FileGetAttr(item.Path);
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) {
        AddError(item.Path, "The file was not found");
        return false;
    }
    const DWORD locks =
        attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (locks) {
        const TSafeFileResult entry = SafeCheckNoLink(item.Path);
        if (entry.IsLink()) {
            AddError(item.Path, entry.Text());
            return false;
        }
        FileSetAttr(item.Path, attr & ~locks);
    }
    std::unique_ptr<TFileStream> file;
    const int result = OverwriteFile(item, file);
    // Clearing a lock changed it for the other names too: it goes back, and the name stays.
    if (result == OtherNames && !locks) return RemoveListedName(item.Path, *file);
    if (result == 0 && !Cancelled) {
        const bool deleted = DeleteOverwritten(item.Path, *file, keepRenamed);
        if (IsLarge(*file)) RunAside([&](const TStep&) { file.reset(); });
        return deleted;
    }
    file.reset();
    if (locks) FileSetAttr(item.Path, attr); // the file stays as it was found
    if (result == OtherNames)
        AddError(item.Path, "It has other names (hard links), which keep its content: it was "
                            "left as it was");
    return false;
}

// The other names keep the content, which is not overwritten: only the listed name goes.
bool TWipeEngine::RemoveListedName(const std::string& path, TFileStream& file) {
    const TSafeFileResult removed = SafeDeleteOpened(file.Handle());
    if (!removed.Done()) {
        AddError(path, "It has other names (hard links), and this one could not be removed: " +
                           removed.Text());
        return false;
    }
    Notices.push_back(path + ": it has other names (hard links), which keep its content: only "
                             "this name was removed, nothing was overwritten.");
    return true;
}

// Renamed to the scrambled name, over the walk's previous file when that is where it
// lies, then deleted; a failed rename deletes it under its own name.
bool TWipeEngine::DeleteOverwritten(const std::string& path, TFileStream& file, bool keepRenamed) {
    const std::string renamed = ScrambledName(path);
    const bool overPrevious = !renamed.empty() && renamed == FRenamed;
    std::string last = path;
    if (!renamed.empty() && SafeRenameOpened(file.Handle(), renamed, overPrevious).Done()) {
        last = renamed;
        if (overPrevious) FRenamed.clear();
        if (keepRenamed) {
            FRenamed = renamed;
            return true;
        }
    }
    if (SafeDeleteOpened(file.Handle()).Done()) return true;
    AddError(last, "The file was overwritten but could not be deleted");
    return false;
}

void TWipeEngine::DeleteRenamed() {
    if (FRenamed.empty()) return;
    if (!SafeDeleteFile(FRenamed).Done())
        AddError(FRenamed, "The file was overwritten but could not be deleted");
    FRenamed.clear();
}

// Asked of the drive once per run: under Wine each question costs about as much as
// overwriting a small file.
int64_t TWipeEngine::ClusterSize(const std::string& path) {
    const std::string drive = UpperCase(ExtractFileDrive(path));
    if (drive.empty() || drive != FClusterDrive) {
        FCluster = GetClusterSize(path);
        FClusterDrive = drive;
    }
    return FCluster;
}

TWipeMethod& TWipeEngine::BoundMethod() {
    if (FMethod) return *FMethod;
    TWipeMethod* method = WipeMethodsManager ? WipeMethodsManager->GetEngineMethod(*this) : nullptr;
    if (!method) throw Exception("No wipe method is bound to " + Name);
    if (method->PassCount() == 0)
        throw Exception("The wipe method \"" + method->Name + "\" has no passes");
    for (int i = 0; i < method->PassCount(); ++i)
        if (!method->GetPass(i).HasData())
            throw Exception("Pass " + IntToStr(i + 1) + " of \"" + method->Name +
                            "\" has nothing to write");
    if (WipeMethodsManager->BufferSize < 1) throw Exception("The buffer size is below one byte");
    return *(FMethod = method);
}

int TWipeEngine::OverwriteFile(TWipeItem& item, std::unique_ptr<TFileStream>& file) {
    try {
        const TWipeMethod& method = BoundMethod();
        const TWipeMethodsManager& settings = *WipeMethodsManager;
        const int64_t cluster = ClusterSize(item.Path);
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        TSafeOpenedFile opened = SafeOpenForOverwrite(item.Path, GENERIC_WRITE | DELETE, share);
        // Open elsewhere without delete sharing: overwritten all the same.
        if (opened.Result.Error == ERROR_SHARING_VIOLATION)
            opened = SafeOpenForOverwrite(item.Path, GENERIC_WRITE, share);
        if (!opened.Result.Done()) throw Exception(opened.Result.Text());
        file = std::make_unique<TFileStream>(item.Path, std::move(opened.Handle));
        if (item.Kind != wkFreeSpace) {
            const DWORD names = SafeNameCount(file->Handle());
            if (names == 0) throw Exception("How many names the file has cannot be told");
            if (names > 1) return OtherNames;
        }
        TTarget target{*file, file->Size(), 0};
        target.Length = LengthToCover(target.Size, cluster, settings.WipeSlackSpace);
        const int count = method.PassCount();
        const int total = count + (settings.WriteSignature ? 1 : 0);
        StartProgress(item.DisplayName.empty() ? item.Path : item.DisplayName,
                      total * target.Length, target.Length);
        for (int i = 0; i < count && !Cancelled; ++i) {
            StartPass(i + 1, total);
            file->Seek(0, soBeginning);
            WritePass(target, method.GetPass(i), "");
            ProcessMessages();
        }
        if (settings.WriteSignature && !Cancelled) {
            StartPass(total, total);
            file->Seek(0, soBeginning);
            WritePass(target, TPass(), settings.Signature);
        }
        return 0;
    } catch (const std::exception& e) {
        file.reset();
        AddError(item.Path, e.what());
        return 1;
    }
}

void TWipeEngine::WritePass(TTarget& target, const TPass& pass, const std::string& text) {
    const int64_t block = WipeMethodsManager->BufferSize;
    // Short of a whole block only the file's own bytes are written: only those are made.
    // Each pass starts at the beginning, and no pass shorter than a block moves the end.
    const int64_t needed =
        target.Length >= block ? block : std::clamp(target.Size, int64_t{0}, target.Length);
    const std::string buffer = text.empty() ? pass.GetPassData(needed) : FillWithText(text, needed);
    if (static_cast<int64_t>(buffer.size()) != needed)
        throw Exception("The pass has nothing to write");
    // step(bytes) follows each write; false stops the pass.
    const TAsideWork write = [&](const TStep& step) {
        bool going = true;
        for (int64_t n = target.Length / block; n > 0 && going; --n) {
            WriteBlock(target, buffer, block);
            going = step(block);
        }
        const int64_t rest = target.Length % block;
        if (rest > 0 && going) {
            // Up to the file's current end, never beyond it.
            const int64_t own =
                target.Length < block
                    ? needed
                    : std::clamp(target.File.Size() - target.File.Position(), int64_t{0}, rest);
            WriteBlock(target, buffer, own);
            step(rest);
        }
        // The pass must reach the disk before the next pass, the rename or the delete.
        if (!target.File.Flush()) RaiseLastOSError();
    };
    if (target.Length > AsideLength) return RunAside(write);
    write([this](int64_t bytes) {
        StepProgress(bytes);
        ProcessMessages();
        return !Cancelled;
    });
}

// The work goes on while this thread waits for it, letting the message loop run as
// soon as a message comes and moving the bars every ProgressInterval ms: the progress
// window and Cancel answer at once however long a write, a flush or a close takes.
void TWipeEngine::RunAside(const TAsideWork& work) {
    std::atomic<int64_t> written{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    const TKernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!finished) RaiseLastOSError();
    std::thread worker([&] {
        try {
            work([&](int64_t bytes) {
                written += bytes;
                return !stop;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(finished.Get());
    });
    struct TJoin {
        std::thread& Worker;
        std::atomic<bool>& Stop;
        ~TJoin() {
            Stop = true;
            Worker.join();
        }
    } join{worker, stop};
    HANDLE handle = finished.Get();
    int64_t shown = 0;
    const DWORD wait = std::max<DWORD>(ProgressInterval, 1);
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, wait, QS_ALLINPUT) != WAIT_OBJECT_0) {
        const int64_t now = written;
        StepProgress(now - shown);
        shown = now;
        FLastPump = GetTickCount() - ProgressInterval; // messages wait, or the bars are due
        ProcessMessages();
        stop = Cancelled;
    }
    StepProgress(written - shown);
    if (failure) std::rethrow_exception(failure);
}

// Bytes past the file's size at opening only cover slack: when the drive is too
// full to grow the file (the free-space file), the file's own bytes are written
// and the position moves on as if the whole block had been.
void TWipeEngine::WriteBlock(TTarget& target, const std::string& buffer, int64_t length) {
    if (length <= 0) return;
    const int64_t start = target.File.Position();
    if (target.File.Write(buffer.data(), length) == length) return;
    const DWORD error = GetLastError();
    const int64_t own = std::clamp(target.Size - start, int64_t{0}, length);
    if (own == length) RaiseOSError(error);
    target.File.Seek(start, soBeginning);
    if (target.File.Write(buffer.data(), own) != own) RaiseLastOSError();
    target.File.Seek(start + length, soBeginning);
}

void TWipeEngine::StartProgress(const std::string& label, int64_t total, int64_t passTotal) {
    FShift = 0;
    while ((total >> FShift) > INT_MAX)
        ++FShift;
    FFileDone = 0;
    FPassDone = 0;
    FShown.File = label;
    FShown.FileMax = static_cast<int>(total >> FShift);
    FShown.PassMax = static_cast<int>(passTotal >> FShift);
    FShown.FilePosition = FShown.PassPosition = 0;
}

void TWipeEngine::StartPass(int number, int count) {
    FPassDone = 0;
    FShown.PassPosition = 0;
    FShown.Pass = number;
    FShown.Passes = count;
}

void TWipeEngine::StepProgress(int64_t bytes) {
    FFileDone += bytes;
    FPassDone += bytes;
    FShown.FilePosition = static_cast<int>(FFileDone >> FShift);
    FShown.PassPosition = static_cast<int>(FPassDone >> FShift);
}

void TWipeEngine::SetPercent(int percent) {
    FShown.FilePosition = FShown.PassPosition = percent;
}

void TWipeEngine::ShowProgress() {
    if (!FProgress) return;
    if (FOnScreen.File != FShown.File) FProgress->SetFileName(FShown.File);
    if (FShown.Pass > 0 && (FOnScreen.Pass != FShown.Pass || FOnScreen.Passes != FShown.Passes))
        FProgress->SetPass(FShown.Pass, FShown.Passes);
    ShowBar(*FProgress->FileProgressBar, FShown.FileMax, FShown.FilePosition);
    ShowBar(*FProgress->PassProgressBar, FShown.PassMax, FShown.PassPosition);
    FOnScreen = FShown;
}
