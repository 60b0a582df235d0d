#include "app/finders/DuplicateSearch.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SysUtils.h"
#include "engine/tools/MD5.h"

std::vector<TDuplicateRow> TDuplicateSearch::Add(const TFoundFile& file) {
    TEntry found{file, {}, {}, {}, false, {}};
    std::vector<size_t>& sameName = FSeenByName[file.Name];
    for (size_t index : sameName) {
        TEntry& seen = FSeen[index];
        const TMatch match = Compare(seen, found);
        if (match == mtDifferent) continue;
        if (match == mtSameFile) return {};
        seen.Members.push_back(FSeen.size());
        FSeen.push_back(found);
        const int group = static_cast<int>(index);
        std::vector<TDuplicateRow> rows{{file, DateTime(found), group, false}};
        if (!seen.Shown) {
            seen.Shown = true;
            rows.push_back({seen.File, DateTime(seen), group, true});
        }
        return rows;
    }
    sameName.push_back(FSeen.size());
    FSeen.push_back(std::move(found));
    return {};
}

// The cheap tests come first; the order does not change the answer. Files that pass
// them are opened once to tell one file reached twice, before any digest, and to
// compare first blocks.
TDuplicateSearch::TMatch TDuplicateSearch::Compare(TEntry& seen, TEntry& found) {
    const TFoundFile& e = seen.File;
    const TFoundFile& f = found.File;
    if (FOptions.SameSize && e.Size != f.Size) return mtDifferent;
    if (FOptions.SameDateTime && DateTime(seen) != DateTime(found)) return mtDifferent;
    if (FOptions.SameAttributes && e.Attributes != f.Attributes) return mtDifferent;
    if (FOptions.SkipZeroLength && e.Size == 0) return mtDifferent;
    if (FOptions.SkipReadOnlySystem &&
        (f.Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)))
        return mtDifferent;
    // Files of different sizes never hold the same content.
    if (FOptions.SameContent && e.Size != f.Size) return mtDifferent;
    const TFileProbe& probeE = Probe(seen);
    const TFileProbe& probeF = Probe(found);
    // One file reached again by another path: the seen file or a copy of it.
    if (SameFile(e, probeE, f, probeF) || IsMember(seen, found)) return mtSameFile;
    if (!FOptions.SameContent) return mtDuplicate;
    // An unreadable file equals nothing.
    if (!probeE.Read || !probeF.Read || probeE.FirstBlock != probeF.FirstBlock) return mtDifferent;
    const std::string& digest = Digest(seen);
    return !digest.empty() && digest == Digest(found) ? mtDuplicate : mtDifferent;
}

// Made when first asked for: most files are never compared.
const std::string& TDuplicateSearch::DateTime(TEntry& entry) {
    if (!entry.DateTime)
        entry.DateTime = DateTimeToStr(FileTimeToLocalDateTime(entry.File.Modified));
    return *entry.DateTime;
}

bool TDuplicateSearch::IsMember(const TEntry& seen, TEntry& found) {
    for (size_t member : seen.Members)
        if (SameFile(FSeen[member].File, Probe(FSeen[member]), found.File, Probe(found)))
            return true;
    return false;
}

const TFileProbe& TDuplicateSearch::Probe(TEntry& entry) {
    if (!entry.Probe) {
        ++FProbes;
        entry.Probe = ProbeFile(entry.File.Path, FOptions.SameContent);
    }
    return *entry.Probe;
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
