#include "engine/EraserFixture.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"

void MakeFile(const std::string& path, size_t size, DWORD attributes) {
    ForceDirectories(ExtractFileDir(path));
    const std::string data(size, 'x');
    WriteStringToFile(path, data);
    if (attributes) FileSetAttr(path, attributes);
}

void MakeFolder(const std::string& path) {
    ForceDirectories(path);
}

bool Exists(const std::string& path) {
    return FileGetAttr(path) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
    const DWORD attributes = FileGetAttr(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    FileSetAttr(path, FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SysDeleteFile(path);
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ForEachFile(path + "\\*", [&](const TFindData& entry) {
            RemoveTree(path + "\\" + entry.Name);
            return true;
        });
    RemoveDir(path);
}

namespace {

bool IsFolderLink(const std::string& path) {
    const DWORD attributes = FileGetAttr(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
    CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    if (IsFolderLink(link)) return true;
    // Wine cannot make links itself; it reports a Unix link to a folder as a folder
    // with the reparse-point attribute.
    return MakeHostLink(link, target) && IsFolderLink(link);
}

TRecordingEngine::TRecordingEngine() {
    PumpInterval = 0;
    OnProgress = [this](TEraser*, const std::string& msg) { Lines.push_back(msg); };
    OnProcessMessages = [this] {
        if (++Pumps == CancelAtPump) Cancelled = true;
    };
}
