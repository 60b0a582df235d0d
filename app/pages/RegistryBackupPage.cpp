#include "app/pages/RegistryBackupPage.h"
#include "app/MessageBoxes.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <chrono>

namespace {

const char* const RootKeys[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
// Posted by the workers: a status text waits in the page's queue.
constexpr UINT WM_BACKUPSTATUS = WM_APP + 106;

bool IsDots(const std::wstring& name) {
    return name == L"." || name == L"..";
}

// The entries of a folder, "." and ".." left out.
std::vector<WIN32_FIND_DATAW> FolderEntries(const std::string& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW data;
    TFindHandle find(
        FindFirstFileW(ToWide(IncludeTrailingPathDelimiter(folder) + "*").c_str(), &data));
    if (!find) return entries;
    do
        if (!IsDots(data.cFileName)) entries.push_back(data);
    while (FindNextFileW(find.Get(), &data));
    return entries;
}

// A folder, whatever other attributes it carries; a link to one is removed as a link
// by the link-safe layer.
bool IsFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Empties and removes the folder bottom-up; the name of the first entry that stays,
// or "" when everything went. A folder already gone counts as removed.
std::string DeleteFolderTree(const std::string& folder) {
    std::string failed;
    for (const WIN32_FIND_DATAW& entry : FolderEntries(folder)) {
        const std::string path = IncludeTrailingPathDelimiter(folder) + ToUtf8(entry.cFileName);
        std::string stays = path;
        if (IsFolder(entry))
            stays = DeleteFolderTree(path);
        else if (SafeDeleteFile(path).Done())
            stays.clear();
        if (failed.empty()) failed = stays;
    }
    if (!failed.empty()) return failed;
    const TSafeFileResult removed = SafeRemoveDir(folder);
    return removed.Done() || removed.NotFound() ? "" : folder;
}

// Waits for `length` in short sleeps, each up to the deadline so that their overshoots
// do not add up; false when the thread was told to end meanwhile. The deadline is
// read from the performance counter: the tick count moves in steps of 16 ms under
// Wine and made each pause up to that much longer.
bool Pause(TWorkExecuteThread* thread, std::chrono::milliseconds length) {
    using namespace std::chrono;
    const steady_clock::time_point end = steady_clock::now() + length;
    for (milliseconds left = length; left.count() > 0 && !thread->Terminated();
         left = ceil<milliseconds>(end - steady_clock::now()))
        Sleep(static_cast<DWORD>(std::min<milliseconds::rep>(100, left.count())));
    return !thread->Terminated();
}

// The ASCII text of bytes read from a file of regedit's, UTF-16 (little-endian) when
// wide; other characters become '?'.
std::string AsciiOf(const std::string& bytes, bool wide) {
    if (!wide) return bytes;
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 && static_cast<unsigned char>(bytes[i]) < 0x80 ? bytes[i] : '?';
    return text;
}

std::string ReadAt(TFileStream& file, int64_t at, int64_t count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    file.Seek(at, soBeginning);
    file.ReadBuffer(bytes.data(), count);
    return bytes;
}

const char* const Header5 = "Windows Registry Editor Version 5.00";

// Whether the text ends after a complete entry: a line break, with no continued hex
// value ("\") on the last line.
bool EndsAfterCompleteEntry(std::string tail) {
    if (tail.empty() || tail.back() != '\n') return false;
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r'))
        tail.pop_back();
    return tail.empty() || tail.back() != '\\';
}

// Whether the drive of the folder has run out of space: regedit writes in blocks of a
// few kilobytes, and reports no block it could not write.
bool DiskRanOut(const std::string& folder) {
    ULARGE_INTEGER available{};
    return GetDiskFreeSpaceExW(ToWide(folder).c_str(), &available, nullptr, nullptr) &&
           available.QuadPart < 64 * 1024;
}

// Each root key's file whose export is not whole, with what is wrong with it; restoring
// from such a backup would leave the registry half old or cut entries short.
std::string BackupFaults(const std::string& folder) {
    std::string faults;
    for (const char* key : RootKeys)
        if (const std::string fault =
                ExportFault(IncludeTrailingPathDelimiter(folder) + key + ".reg");
            !fault.empty())
            faults += std::string("\n") + key + ": " + fault;
    return faults;
}

std::string Quoted(const std::string& s) {
    return std::string(1, '"') + s + '"';
}

} // namespace

std::string ExportFault(const std::string& path) {
    if (!FileExists(path)) return "the file is missing";
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        const int64_t size = file.Size();
        if (size == 0) return "the file is empty";
        const std::string head = ReadAt(file, 0, std::min<int64_t>(size, 80));
        const bool wide = head.rfind("\xFF\xFE", 0) == 0;
        const std::string text = AsciiOf(wide ? head.substr(2) : head, wide);
        if (text.rfind(Header5, 0) != 0 && (wide || text.rfind("REGEDIT4", 0) != 0))
            return "it does not begin as regedit's files do";
        const int64_t tailSize = std::min<int64_t>(size, 4096);
        if ((wide && size % 2) ||
            !EndsAfterCompleteEntry(AsciiOf(ReadAt(file, size - tailSize, tailSize), wide)))
            return "it is cut short";
        return "";
    } catch (const Exception& e) {
        return e.Message();
    }
}

std::string GetRegeditFolder() {
    wchar_t buffer[256] = {};
    GetSystemDirectoryW(buffer, 255);
    std::string folder = IncludeTrailingPathDelimiter(ToUtf8(buffer));
    if (folder.size() >= 4) {
        const size_t slash = folder.find('\\', 3);
        if (slash != std::string::npos) folder.erase(slash + 1);
    }
    return folder;
}

bool RunAndWait(const std::string& program, const std::string& commandLine,
                const std::string& folder, int show, DWORD& exitCode) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    std::wstring line = ToWide(commandLine);
    if (!CreateProcessW(ToWide(program).c_str(), line.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, ToWide(folder).c_str(), &si, &pi))
        return false;
    TKernelHandle process(pi.hProcess);
    TKernelHandle thread(pi.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    exitCode = 1;
    GetExitCodeProcess(process.Get(), &exitCode);
    return true;
}

TRegistryBackupPage::TRegistryBackupPage(TComponent* owner) : TPageFrame(owner) {
    SetName("RegistryBackupPage");
    using namespace Layout;
    // The list, the status below it, the buttons beside it.
    constexpr TBounds list{Margin, Margin, 380, 440};
    constexpr TGrid buttons = Down(list.Right() + 12, Margin, 180, TallButtonHeight, 7);
    ltbk = Place<TListBox>(this, this, "ltbk", "", list);
    lbStatus = Place<TLabel>(this, this, "lbStatus", "Status ...",
                             {Margin, list.Bottom() + 12, 600, LabelHeight});
    btBackup =
        Place<TButton>(this, this, "btBackup", "Backup Registry             ", buttons.Cell(0, 0));
    btRestore =
        Place<TButton>(this, this, "btRestore", "Restore Selected Backup", buttons.Cell(0, 1));
    btRefresh = Place<TButton>(this, this, "btRefresh", "Refresh List                   ",
                               buttons.Cell(0, 2));
    btDel = Place<TButton>(this, this, "btDel", "Delete Restore Point        ", buttons.Cell(0, 3));
    ThreadBackup = new TWorkThread(this);
    ThreadBackup->SetName("ThreadBackup");
    ThreadRestore = new TWorkThread(this);
    ThreadRestore->SetName("ThreadRestore");
    for (TWorkThread* thread : {ThreadBackup, ThreadRestore}) {
        thread->SetUpdateEnabled(false);
        thread->OnTerminate = [this, thread](TObject*, TWorkExecuteThread*, void*&) {
            ThreadEnded(thread == ThreadBackup);
        };
    }
    ThreadBackup->OnStart = [this](TObject*, TWorkExecuteThread*, void*&) { ThreadBackupStart(); };
    ThreadBackup->OnExecute = [this](TObject*, TWorkExecuteThread* thread, void*&) {
        ThreadBackupExecute(thread);
    };
    ThreadRestore->OnExecute = [this](TObject*, TWorkExecuteThread* thread, void*&) {
        ThreadRestoreExecute(thread);
    };
    btBackup->OnClick = [this](TObject*) { btBackupClick(); };
    btRestore->OnClick = [this](TObject*) { btRestoreClick(); };
    btRefresh->OnClick = [this](TObject*) { btRefreshClick(); };
    btDel->OnClick = [this](TObject*) { btDelClick(); };
}

// A thread component freed early leaves its owner; it waits for its worker, and a
// stopped backup removes its folder before the worker ends.
TRegistryBackupPage::~TRegistryBackupPage() {
    delete ThreadBackup;
    delete ThreadRestore;
}

void TRegistryBackupPage::SetUpFolders(const std::string& appDir, const std::string& backupDir) {
    AppDir = appDir;
    BackupDir = backupDir;
    ForceDirectories(BackupDir);
    ltbk->Items().Clear();
    btRefreshClick();
}

bool TRegistryBackupPage::BackupListed(const std::string& name) {
    return ltbk->Items().IndexOf(name) >= 0;
}

// New folders are added in the order found; listed ones stay.
void TRegistryBackupPage::btRefreshClick() {
    for (const WIN32_FIND_DATAW& entry : FolderEntries(BackupDir)) {
        const std::string name = ToUtf8(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !BackupListed(name))
            ltbk->Items().Add(name);
    }
}

// A backup that regedit may be reading or writing is not deleted; a folder that
// cannot be removed completely keeps its row.
void TRegistryBackupPage::btDelClick() {
    SetCurrentDirectoryW(ToWide(AppDir).c_str());
    const int index = ltbk->ItemIndex();
    if (index < 0 || ThreadBackup->IsRunning() || ThreadRestore->IsRunning()) return;
    const std::string failed = DeleteFolderTree(BackupDir + ltbk->Items()[index]);
    if (failed.empty())
        ltbk->Items().Delete(index);
    else
        ShowError(" Delete error: " + failed);
}

void TRegistryBackupPage::btBackupClick() {
    if (!ThreadRestore->IsRunning()) ThreadBackup->Start();
    UpdateButtons();
}

void TRegistryBackupPage::btRestoreClick() {
    const int index = ltbk->ItemIndex();
    if (index < 0 || ThreadBackup->IsRunning() || ThreadRestore->IsRunning()) return;
    const std::string name = ltbk->Items()[index];
    if (const std::string faults = BackupFaults(BackupDir + name); !faults.empty())
        return ShowError("The backup " + Quoted(name) +
                         " is incomplete and cannot be restored; nothing was imported." + faults);
    if (!AskBeforeDestroying("Do you want to restore the registry from the backup " + Quoted(name) +
                             "?"))
        return;
    RestoreDir = BackupDir + name;
    FFailures.clear();
    FWindow = Handle();
    ThreadRestore->Start();
    UpdateButtons();
}

// Two backups in one second get folders of their own: " (2)" and on is added.
void TRegistryBackupPage::ThreadBackupStart() {
    FFailures.clear();
    FStopped = false;
    FWindow = Handle();
    std::string name = DateToStr(Now()) + " " + TimeToStr(Now());
    for (char& c : name)
        if (c == ':')
            c = '_';
        else if (c == '/')
            c = '-';
    NewBackupDir = BackupDir + name;
    for (int n = 2; !CreateDirectoryW(ToWide(NewBackupDir).c_str(), nullptr); ++n) {
        if (GetLastError() != ERROR_ALREADY_EXISTS || n > 100) {
            FFailures.push_back(NewBackupDir);
            return;
        }
        NewBackupDir = BackupDir + name + " (" + IntToStr(n) + ")";
    }
}

// A backup that failed or was stopped part way is no restore point: its folder goes.
void TRegistryBackupPage::ThreadBackupExecute(TWorkExecuteThread* thread) {
    if (!FFailures.empty()) return; // no folder to write to
    ExportKeys(thread);
    if (FFailures.empty()) return;
    const std::string stays = DeleteFolderTree(NewBackupDir);
    if (!stays.empty()) FFailures.push_back("the incomplete backup keeps " + stays);
}

void TRegistryBackupPage::ExportKeys(TWorkExecuteThread* thread) {
    const std::string regedit = GetRegeditFolder() + "regedit.exe";
    for (const char* key : RootKeys) {
        Status("Backup will be started in 1 second");
        if (!Pause(thread, std::chrono::seconds(1))) {
            FStopped = true;
            FFailures.push_back("stopped");
            return;
        }
        Status(std::string("Backing up ") + key + "...");
        const std::string file = std::string(key) + ".reg";
        DWORD code = 1;
        std::string fault = "regedit failed";
        // regedit ends with 0 after a write that failed: its file, and a full disk, tell.
        if (RunAndWait(regedit, Quoted(regedit) + " /e " + Quoted(file) + " " + Quoted(key),
                       NewBackupDir, SW_HIDE, code) &&
            code == 0)
            fault = DiskRanOut(NewBackupDir)
                        ? "the disk ran out of space"
                        : ExportFault(IncludeTrailingPathDelimiter(NewBackupDir) + file);
        if (!fault.empty()) FFailures.push_back(std::string(key) + " (" + fault + ")");
        Status(fault.empty() ? "Done !" : std::string("Backing up ") + key + " failed: " + fault);
    }
}

// regedit imports with "/s file" on Windows and under Wine ("/i" imports nothing
// under Wine); its exit code tells whether the file was read.
void TRegistryBackupPage::ThreadRestoreExecute(TWorkExecuteThread* thread) {
    const std::string regedit = GetRegeditFolder() + "regedit.exe";
    for (const char* key : RootKeys) {
        if (thread->Terminated()) return;
        Status(std::string("Restoring ") + key);
        const std::string file = std::string(key) + ".reg";
        DWORD code = 1;
        const bool ok = FileExists(IncludeTrailingPathDelimiter(RestoreDir) + file) &&
                        RunAndWait(regedit, Quoted(regedit) + " /s " + Quoted(file), RestoreDir,
                                   SW_HIDE, code) &&
                        code == 0;
        if (!ok) FFailures.push_back(key);
        Status(ok ? "Done !" : std::string("Restoring ") + key + " failed");
    }
}

// The end of a run: its last texts, then what failed instead of "Done !"; a backup
// that failed, and was not stopped, is told in a box too.
void TRegistryBackupPage::ThreadEnded(bool refresh) {
    ShowStatus();
    if (!FFailures.empty()) {
        std::string list;
        for (const std::string& failure : FFailures)
            list += (list.empty() ? "" : ", ") + failure;
        lbStatus->SetCaption((refresh ? "Backup failed: " : "Restore failed: ") + list);
    }
    if (refresh) {
        const int failed = ltbk->Items().IndexOf(ExtractFileName(NewBackupDir));
        if (failed >= 0 && !DirectoryExists(NewBackupDir)) ltbk->Items().Delete(failed);
        btRefreshClick();
    }
    UpdateButtons();
    if (refresh && !FFailures.empty() && !FStopped) {
        std::string lines;
        for (const std::string& failure : FFailures)
            lines += "\n" + failure;
        ShowError("The registry backup failed and is no restore point:" + lines);
    }
}

void TRegistryBackupPage::UpdateButtons() {
    const bool running = ThreadBackup->IsRunning() || ThreadRestore->IsRunning();
    for (TButton* button : {btBackup, btRestore, btDel})
        button->SetEnabled(!running);
}

void TRegistryBackupPage::Status(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(FStatusLock);
        FStatus.push_back(text);
    }
    PostMessageW(FWindow, WM_BACKUPSTATUS, 0, 0);
}

void TRegistryBackupPage::ShowStatus() {
    std::vector<std::string> texts;
    {
        std::lock_guard<std::mutex> lock(FStatusLock);
        texts.swap(FStatus);
    }
    if (!texts.empty()) lbStatus->SetCaption(texts.back());
}

void TRegistryBackupPage::WndProc(TMessage& message) {
    if (message.Msg == WM_BACKUPSTATUS) return ShowStatus();
    TPageFrame::WndProc(message);
}
