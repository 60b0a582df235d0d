#pragma once
// The file "Del &All" keeps of a group of copies, and the deletion of the group's other
// files for good. The list may be out of date: a copy goes only when its bytes, read
// now through the handle that deletes it, equal the kept file's, so the content is
// never lost. While a TKeptCopy lives the kept file can be read, but not changed or
// deleted. Any thread.
#include "classlib/base/Handle.h"
#include <atomic>
#include <functional>
#include <string>
#include <vector>

class TKeptCopy {
public:
    explicit TKeptCopy(const std::string& path);
    [[nodiscard]] const std::string& Path() const { return FPath; }

    // "" once the copy is deleted; else why it was left or failed.
    [[nodiscard]] std::string DeleteCopy(const std::string& copy,
                                         const std::atomic<bool>& stop) const;

private:
    std::string FPath;
    TFileHandle FFile;
    std::string FFinalPath;
    std::string FOpenError; // why the kept file could not be opened
};

// One file "Del &All" deletes.
struct TDeletion {
    std::string Path;
    std::string Kept; // its group's kept file; "" outside a group of copies
    bool Deleted = false;
    std::string Failure; // why it stays; "" when deleted or never begun
};

// Deletes the files on threads of their own, the files of one kept file (a run of them
// in the list) in their order on one thread. The calling thread waits in progress,
// called with the count of files done about every 50 ms; false stops the deletion and
// the files not begun stay.
void DeleteForGood(std::vector<TDeletion>& files, const std::function<bool(size_t done)>& progress);
