#include "app/finders/DuplicateSearch.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SysUtils.h"
#include "engine/tools/MD5.h"

std::vector<TDuplicateRow> TDuplicateSearch::Add(const TFoundFile& file) {
    // Folders given twice, or one inside another, report a file more than once.
    if (!FPaths.insert(file.Folder + file.Name).second) return {};
    TEntry found{file, DateTimeToStr(FileTimeToLocalDateTime(file.Modified)), {}, false};
    std::vector<size_t>& sameName = FSeenByName[file.Name];
    for (size_t index : sameName) {
        TEntry& seen = FSeen[index];
        if (!IsDuplicate(seen, found)) continue;
        const int group = static_cast<int>(index);
        std::vector<TDuplicateRow> rows{{file, found.DateTime, group, false}};
        if (!seen.Shown) {
            seen.Shown = true;
            rows.push_back({seen.File, seen.DateTime, group, true});
        }
        return rows;
    }
    sameName.push_back(FSeen.size());
    FSeen.push_back(std::move(found));
    return {};
}

// The cheap tests come first; the order does not change the answer.
bool TDuplicateSearch::IsDuplicate(TEntry& seen, TEntry& found) {
    const TFoundFile& e = seen.File;
    const TFoundFile& f = found.File;
    if (FOptions.SameSize && e.Size != f.Size) return false;
    if (FOptions.SameDateTime && seen.DateTime != found.DateTime) return false;
    if (FOptions.SameAttributes && e.Attributes != f.Attributes) return false;
    if (FOptions.SkipZeroLength && e.Size == 0) return false;
    if (FOptions.SkipReadOnlySystem &&
        (f.Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)))
        return false;
    if (!FOptions.SameContent) return true;
    // Files of different sizes never hold the same content; an unreadable file
    // equals nothing.
    if (e.Size != f.Size) return false;
    const std::string& digest = Digest(seen);
    return !digest.empty() && digest == Digest(found);
}

const std::string& TDuplicateSearch::Digest(TEntry& entry) {
    if (!entry.Digest) {
        ++FDigests;
        FDigestBytes += entry.File.Size;
        try {
            entry.Digest = MD5FileHex(entry.File.Path);
        } catch (const std::exception&) {
            entry.Digest = "";
        }
    }
    return *entry.Digest;
}
