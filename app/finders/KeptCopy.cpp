#include "app/finders/KeptCopy.h"
#include "app/finders/FoundFile.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"

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
