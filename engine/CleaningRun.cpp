// The cleaning run and the commands around it.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <windows.h>

namespace {

const char* const CRLF = "\r\n";
const std::string Rule(51, '=');

// Ends the process that owns the first top-level window of the class.
void TerminateOwnerOf(const char* windowClass) {
    HWND wnd = FindWindowW(ToWide(windowClass).c_str(), nullptr);
    DWORD pid = 0;
    if (!wnd || !GetWindowThreadProcessId(wnd, &pid)) return;
    TKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    if (process) TerminateProcess(process.Get(), 0);
}

} // namespace

void TEraserEngine::Clean() {
    if (Running) return;
    Cancelled = false;
    Running = true;
    const int firstDeferred = PostEraser.Count();
    try {
        if (OnCleanStart) OnCleanStart(this);
        WriteOpeningLines();
        OfferToCloseBrowsers();
        Execute();
        if (!Cancelled) {
            PluginManager->Engine = this;
            PluginManager->Execute();
        }
        if (Cancelled) {
            DoProgress(nullptr, "Cleaning terminated by user.");
            DoProgress(nullptr, "");
            DropDeferredDeletions(firstDeferred);
        } else {
            DoProgress(nullptr, "Cleaning Completed!");
            DoProgress(nullptr, "");
        }
        WriteSummary();
        if (PostEraser.Count() > 0) SaveDeferredWork();
    } catch (...) {
        // An error outside the erasers' own traps ends the run silently.
        LogSwallowed("TEraserEngine::Clean");
    }
    Running = false;
    if (OnCleanEnd) OnCleanEnd(this);
}

// A run already going is left alone: Windows is not restarted in its middle.
void TEraserEngine::CleanAndReboot() {
    if (Running) return;
    Clean();
    if (!Cancelled) RestartWindows(btRestart);
}

void TEraserEngine::CleanAndShutdown() {
    if (Running) return;
    Clean();
    if (!Cancelled) RestartWindows(btShutDown);
}

void TEraserEngine::WriteOpeningLines() {
    DoProgress(nullptr, "Initializing   Tarnwhistle...");
    DoProgress(nullptr, "");
    DoProgress(nullptr, "  Tarnwhistle  Ready...");
    DoProgress(nullptr, "");
}

void TEraserEngine::OfferToCloseBrowsers() {
    std::vector<const TBrowserEntry*> open;
    for (const TBrowserEntry& browser : Browsers) {
        bool enabled = false;
        for (int i = browser.First; i <= browser.Last; ++i)
            enabled = enabled || FItems[i]->Enabled;
        if (enabled && FindWindowW(ToWide(browser.WindowClass).c_str(), nullptr))
            open.push_back(&browser);
    }
    if (open.empty()) return;
    std::string text =
        std::string("The following application(s) are running on your computer and needs to be "
                    "closed before cleaning. ") +
        CRLF + "  Tarnwhistle will attempt to close these applications. Do you want to do it now?" +
        CRLF + CRLF;
    for (const TBrowserEntry* browser : open)
        text += std::string(browser->DisplayName) + CRLF;
    if (!OnAskToCloseBrowsers || !OnAskToCloseBrowsers(text)) return;
    for (const TBrowserEntry* browser : open)
        TerminateOwnerOf(browser->WindowClass);
}

void TEraserEngine::WriteSummary() {
    const std::string lines[] = {
        "Cleaning Summary:",
        Rule,
        "Registry:",
        "      Registry Keys Erased    - " + IntToStr(KeysErased),
        "      Registry Values Erased  - " + IntToStr(ValuesErased),
        "",
        "Folders and Files:",
        "      Folder Erased          - " + IntToStr(FoldersErased),
        "      Files Erased           - " + IntToStr(FilesErased),
        Rule,
        "Released Disk Space           - " + FormatSize(BytesErased),
        Rule,
    };
    for (const std::string& line : lines)
        DoProgress(nullptr, line);
}

// A stopped run drops the file deletions it deferred, and gives those files the
// attributes they had back, latest deferral first, so that a file deferred twice
// ends as it was before the first. What undoes a change the run made (the
// swap-file line, the page-file setting) stays, as do the items of earlier runs.
void TEraserEngine::DropDeferredDeletions(int firstOfRun) {
    std::vector<TPostEraserItem> kept;
    for (int i = PostEraser.Count() - 1; i >= 0; --i) {
        const TPostEraserItem& item = PostEraser.Items(i);
        if (i < firstOfRun || item.Type != ptDeleteFile)
            kept.push_back(item);
        else if (!item.FileName.empty() && item.Attributes != INVALID_FILE_ATTRIBUTES)
            FileSetAttr(item.FileName, item.Attributes);
    }
    std::reverse(kept.begin(), kept.end());
    PostEraser.Clear();
    for (const TPostEraserItem& item : kept)
        PostEraser.Add(std::make_unique<TPostEraserItem>(item));
}

void TEraserEngine::SaveDeferredWork() {
    const std::string notice = PostEraser.KeepPendingItems();
    if (!notice.empty()) DoProgress(nullptr, notice);
    PostEraser.SaveToFile();
    PostEraser.RegisterRunOnce();
    if (ShowRebootNotice && OnRebootNotice)
        OnRebootNotice(
            std::string("System Clean finished.") + CRLF + CRLF +
            "Please note some items can only be erased during the reboot phase of windows. The "
            "next time you boot/restart your computer these elements will be cleaned and cause "
            "your system to automatically restart again to complete the process.");
}

void TEraserEngine::RestartWindows(TBootType type) {
    TPcBoot boot;
    boot.BootType = type;
    boot.ForceBoot = false;
    boot.Execute();
}
