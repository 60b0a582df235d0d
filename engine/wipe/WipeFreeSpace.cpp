// The free-space wipe of the overwriting engine: a temporary file fills the drive,
// is overwritten with the method's passes and deleted.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <algorithm>

namespace {

const int64_t FillBlockSize = 1 << 20;
// Allocated at once: on ext4 under Wine a fallocate this long takes milliseconds.
const int64_t AllocateStep = int64_t{1} << 30;
// In ms: how often the fill lets the message loop run and moves the bars.
const ULONGLONG PumpInterval = 10;
const ULONGLONG BarInterval = 100;

// A new, empty file under the filler's own name in the root.
std::string CreateFillFile(const std::string& root) {
    const std::string name = root + FreeSpaceFillName;
    const TFileHandle made(CreateFileW(ToWide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made) RaiseLastOSError();
    return name;
}

bool IsDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

// Lengthens the file from `from`, its current position and end, by `length` and, where
// the system lets it, allocates the new clusters at once; returns the length added, 0
// when the drive refused it. NTFS allocates at SetEndOfFile; Wine only sets the size
// there and allocates at SetFileValidData (fallocate), which Windows refuses without a
// privilege the program does not take. Writing over allocated clusters spares ext4 the
// slow allocation it falls back to on a nearly full drive. On ext4 a refused fallocate
// keeps what it got and a second, smaller ask completes it; the writes fill the rest.
int64_t AllocateAhead(TFileStream& file, int64_t from, int64_t length) {
    if (length <= 0) return 0;
    LARGE_INTEGER end;
    end.QuadPart = from + length;
    const bool sized =
        SetFilePointerEx(file.Handle(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Handle());
    file.Seek(from, soBeginning);
    if (!sized) return 0;
    if (!SetFileValidData(file.Handle(), end.QuadPart))
        SetFileValidData(file.Handle(), end.QuadPart - length / 64);
    return length;
}

} // namespace

bool TWipeEngine::WipeFreeSpace(TWipeItem& item) {
    const std::string root = UpperCase(IncludeTrailingPathDelimiter(ExtractFileDrive(item.Path)));
    if (root.empty()) {
        AddError(item.Path, "The path names no drive");
        return false;
    }
    std::string fill;
    bool wiped = false;
    try {
        BoundMethod(); // without a usable method the drive is not filled at all
        RemoveEarlierFiller(root);
        fill = CreateFillFile(root);
        {
            TFileStream file(fill, fmOpenWrite | fmShareDenyWrite);
            FillFreeSpace(root, file);
        }
        if (!Cancelled) {
            TWipeItem fillItem;
            fillItem.Kind = wkFreeSpace; // the engine's own file
            fillItem.Path = fill;
            wiped = WipeFile(fillItem);
        }
    } catch (const std::exception& e) {
        AddError(root, e.what());
    }
    // After a cancel or an error the file goes without being overwritten, so the
    // drive is never left full.
    if (!fill.empty() && FileExists(fill)) SysDeleteFile(fill);
    return wiped;
}

std::string RemoveLeftFiller(const std::string& root) {
    const std::string earlier = root + FreeSpaceFillName;
    if (!FileExists(earlier)) return "";
    const TSafeFileResult removed = SafeDeleteFile(earlier, true);
    if (!removed.Done())
        throw Exception("The filler of an earlier run, \"" + earlier +
                        "\", could not be removed: " + removed.Text());
    return "The filler of an earlier run that did not end, \"" + earlier + "\", was removed.";
}

std::string RemoveLeftFillers() {
    std::string lines;
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (!(drives & (1u << (letter - 'A'))) ||
            GetDriveTypeW(ToWide(root).c_str()) != DRIVE_FIXED)
            continue;
        std::string line;
        try {
            line = RemoveLeftFiller(root);
        } catch (const Exception& e) {
            line = e.what();
        }
        if (!line.empty()) lines += (lines.empty() ? "" : "\n") + line;
    }
    return lines;
}

// A filler that a run left behind (the program was killed while it filled) would keep
// the drive full: it goes before the next fill.
void TWipeEngine::RemoveEarlierFiller(const std::string& root) {
    const std::string line = RemoveLeftFiller(root);
    if (!line.empty()) Notices.push_back(line);
}

// Writes '0' characters until the drive is full, in blocks of 1 MiB (whole clusters):
// over clusters allocated ahead, up to 1 GiB at a time, while the drive gives them,
// then while there is room for a block; then the whole clusters the drive reports free
// in one write, then the last bytes. The drive is asked for its free space only when
// fewer than two blocks are left by the count: under Wine each query costs about as
// much as writing a block. The message loop runs at most every 10 ms and the bars move
// at most every 100 ms: under Wine a pump costs a server call and each move of the bars
// a repaint, both more than writing a block.
void TWipeEngine::FillFreeSpace(const std::string& root, TFileStream& file) {
    const int64_t cluster = GetClusterSize(root);
    const int64_t block = std::max<int64_t>(cluster, FillBlockSize / cluster * cluster);
    const std::string chunk(static_cast<size_t>(block), '0');
    FShown.File = "Creating temporary file...";
    FShown.FileMax = FShown.PassMax = 100;
    const int64_t start = GetFreeBytes(root);
    int64_t total = 0;
    int64_t free = start;
    int64_t allocated = 0;
    bool allocating = true;
    bool lastWhole = true;
    ULONGLONG pumped = 0;
    ULONGLONG shown = GetTickCount64();
    // No more than was free at the start: a drive that compresses the file or
    // misreports its free space cannot make the loop run on.
    while (total < start) {
        if (allocating && total >= allocated) {
            const int64_t step = std::min(AllocateStep, GetFreeBytes(root) / cluster * cluster);
            const int64_t added = AllocateAhead(file, total, step);
            allocating = added > 0;
            allocated = total + added;
        }
        // What is left of the allocated length counts as free.
        if (free < 2 * block) free = std::max<int64_t>(allocated - total, 0) + GetFreeBytes(root);
        const ULONGLONG now = GetTickCount64();
        if (now - pumped >= PumpInterval) {
            pumped = now;
            ProcessMessages();
            if (Cancelled) return;
        }
        const int64_t length = free >= cluster ? std::min(block, free / cluster * cluster) : free;
        const int64_t written = file.Write(chunk.data(), length);
        total += written;
        free -= written;
        if (written < length) {
            if (!IsDiskFull(GetLastError())) RaiseLastOSError();
            break;
        }
        if (now - shown >= BarInterval) {
            shown = now;
            SetPercent(start > 0
                           ? static_cast<int>(std::clamp<int64_t>(100 - free * 100 / start, 0, 100))
                           : 100);
        }
        // A short write is followed by one more check of the free space.
        if (length < cluster && !lastWhole) break;
        lastWhole = length >= cluster;
    }
    // Clusters of the allocated length the drive could not give stay out of the file.
    if (file.Size() > total) file.SetSize(total);
}
