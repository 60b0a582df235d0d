#pragma once
// Symbolic links and drive letters made from the host: Wine cannot make them itself.
// Host programs are started by their "\\?\unix" path; Wine gives no waitable handle
// for them, so the caller says when the work is done.
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

// The host's name of a path of the prefix; "" outside Wine.
inline std::string UnixName(const std::string& path) {
    using TUnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<TUnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    char* name = unixName(ToWide(path).c_str());
    std::string result = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a host program and waits (up to ten seconds) until done() holds.
inline bool RunHost(const std::string& program, const std::string& arguments,
                    const std::function<bool()>& done) {
    std::wstring command =
        ToWide("\\\\?\\unix" + StringReplace(program, "/", "\\") + " " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    // Wine starts a host program without a process and leaves hThread undefined:
    // closing it would close some other handle of ours.
    TKernelHandle process(pi.hProcess), thread(pi.hProcess ? pi.hThread : nullptr);
    for (int i = 0; i < 1000 && !done(); ++i)
        Sleep(10);
    return done();
}

// Whether the folder listing shows the entry (a dangling link shows nowhere else).
inline bool Listed(const std::string& path) {
    const std::wstring name = ToWide(ExtractFileName(ExcludeTrailingPathDelimiter(path)));
    WIN32_FIND_DATAW entry;
    TFindHandle find(FindFirstFileW(ToWide(ExtractFilePath(path) + "*").c_str(), &entry));
    if (!find) return false;
    do {
        if (name == entry.cFileName) return true;
    } while (FindNextFileW(find.Get(), &entry));
    return false;
}

// A host link at link (a path of the prefix) with the target text as it is: a path of
// the prefix when absolute, else relative ("../x") or any host path; hard: a second name
// of the file target.
inline bool MakeHostLink(const std::string& link, const std::string& target, bool absolute = true,
                         bool hard = false) {
    const std::string unixTarget = absolute ? UnixName(target) : target;
    const std::string unixLink = UnixName(ExcludeTrailingPathDelimiter(link));
    if (unixTarget.empty() || unixLink.empty()) return false;
    return RunHost("/bin/ln", (hard ? "\"" : "-s \"") + unixTarget + "\" \"" + unixLink + "\"",
                   [&] { return Listed(link); });
}

// Removes links from the host side (Wine removes a file link's target instead).
inline bool RemoveHostLinks(const std::vector<std::string>& links) {
    std::string arguments = "-f";
    for (const std::string& link : links) {
        const std::string name = UnixName(ExcludeTrailingPathDelimiter(link));
        if (!name.empty()) arguments += " \"" + name + "\"";
    }
    return RunHost("/bin/rm", arguments, [&] {
        for (const std::string& link : links)
            if (Listed(link)) return false;
        return true;
    });
}

// A second drive letter for the prefix's drive C:, as subst or a mapped drive makes on
// Windows: the same files by another name, whose final path names C:. Removed again at
// the end; Root() is empty when no letter could be made.
class TDriveAlias {
public:
    TDriveAlias() {
        const std::string drive = UnixName("C:\\"), suffix = "dosdevices/c:/";
        if (drive.size() <= suffix.size() ||
            drive.compare(drive.size() - suffix.size(), suffix.size(), suffix) != 0)
            return;
        for (char letter = 'S'; letter > 'D' && FRoot.empty(); --letter) {
            const std::string root = std::string(1, letter) + ":\\";
            if (Exists(root)) continue;
            FLink = drive.substr(0, drive.size() - 3) + char(letter - 'A' + 'a') + ":";
            if (RunHost("/bin/ln", "-s \"" + drive + "\" \"" + FLink + "\"",
                        [&] { return Exists(root); }))
                FRoot = root;
        }
    }
    ~TDriveAlias() {
        if (!FRoot.empty())
            RunHost("/bin/rm", "-f \"" + FLink + "\"", [&] { return !Exists(FRoot); });
    }
    TDriveAlias(const TDriveAlias&) = delete;
    TDriveAlias& operator=(const TDriveAlias&) = delete;

    [[nodiscard]] const std::string& Root() const { return FRoot; }
    // A path of drive C: by the other letter.
    [[nodiscard]] std::string operator()(const std::string& path) const {
        return FRoot + path.substr(3);
    }

private:
    static bool Exists(const std::string& path) {
        return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string FRoot, FLink;
};

// Whether the link-safe layer takes links to be unmarked (as under Wine) or marked in
// every listing (as on Windows), for as long as it lives.
struct TLinkPlatform {
    explicit TLinkPlatform(bool unmarked) {
        UnmarkedLinksQuery = [unmarked] { return unmarked; };
    }
    ~TLinkPlatform() { UnmarkedLinksQuery = RunsUnderWine; }
    TLinkPlatform(const TLinkPlatform&) = delete;
    TLinkPlatform& operator=(const TLinkPlatform&) = delete;
};
