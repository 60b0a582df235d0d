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

std::string UnixName(const std::string& path) {
    using TUnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<TUnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    char* name = unixName(ToWide(path).c_str());
    std::string result = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

bool RunHost(const std::string& program, const std::string& arguments,
             const std::function<bool()>& done) {
    std::string command = "\\\\?\\unix" + StringReplace(program, "/", "\\") + " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    TKernelHandle process(pi.hProcess), thread(pi.hThread);
    for (int i = 0; i < 1000 && !done(); ++i)
        Sleep(10);
    return done();
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
    const std::string unixTarget = UnixName(target), unixParent = UnixName(ExtractFileDir(link));
    if (unixTarget.empty() || unixParent.empty()) return false;
    return RunHost("/bin/ln",
                   "-s \"" + unixTarget + "\" \"" + unixParent + "/" + ExtractFileName(link) + "\"",
                   [&] { return IsFolderLink(link); });
}

TRecordingEngine::TRecordingEngine() {
    OnProgress = [this](TEraser*, const std::string& msg) { Lines.push_back(msg); };
    OnProcessMessages = [this] {
        if (++Pumps == CancelAtPump) Cancelled = true;
    };
}
