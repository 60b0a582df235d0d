#include "app/finders/DLLSearch.h"
#include "classlib/base/SysUtils.h"

std::string GetFileVersionText(const std::string& fileName) {
    const std::wstring name = ToWide(fileName);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
    if (size == 0) return "";
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, data.data())) return "";
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return "";
    return Format("%u.%u.%u.%u", unsigned(HIWORD(info->dwFileVersionMS)),
                  unsigned(LOWORD(info->dwFileVersionMS)), unsigned(HIWORD(info->dwFileVersionLS)),
                  unsigned(LOWORD(info->dwFileVersionLS)));
}

std::vector<TDLLRow> TDLLSearch::Add(const TFoundFile& file, const std::string& version) {
    // A copy without a version resource is never listed, nor compared with later ones.
    if (version.empty()) return {};
    TEntry found{file, version, {}, false, {}};
    std::vector<size_t>& sameName = FSeenByName[file.Name];
    for (size_t index : sameName) {
        TEntry& seen = FSeen[index];
        if (!IsDuplicateDLL(seen, file, version)) continue;
        // One library reached again by another path: the seen one or a copy of it.
        if (SameFile(seen, found)) return {};
        for (size_t member : seen.Members)
            if (SameFile(FSeen[member], found)) return {};
        seen.Members.push_back(FSeen.size());
        FSeen.push_back(found);
        const int group = static_cast<int>(index);
        std::vector<TDLLRow> rows{{file, version, group, false}};
        if (!seen.Shown) {
            seen.Shown = true;
            rows.push_back({seen.File, seen.Version, group, true});
        }
        return rows;
    }
    sameName.push_back(FSeen.size());
    FSeen.push_back(std::move(found));
    return {};
}

bool TDLLSearch::SameFile(TEntry& a, TEntry& b) {
    for (TEntry* entry : {&a, &b})
        if (!entry->Probe) entry->Probe = ProbeFile(entry->File.Path, false);
    return ::SameFile(a.File, *a.Probe, b.File, *b.Probe);
}

bool TDLLSearch::IsDuplicateDLL(const TEntry& seen, const TFoundFile& file,
                                const std::string& version) const {
    const bool sameSize = seen.File.Size == file.Size;
    const bool sameVersion = seen.Version == version;
    return (!FOptions.SameSize || sameSize) && (!FOptions.SameVersion || sameVersion) &&
           (!FOptions.SameSizeVersion || (sameSize && sameVersion));
}
