#include "app/pages/RegistryBackupPage.h"
#include "app/MessageBoxes.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SafeFileOps.h"
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

// Every root key's file is there: restoring fewer would leave the registry half old.
bool IsCompleteBackup(const std::string& folder) {
    return std::all_of(std::begin(RootKeys), std::end(RootKeys), [&](const char* key) {
        return FileExists(IncludeTrailingPathDelimiter(folder) + key + ".reg");
    });
}

std::string Quoted(const std::string& s) {
    return std::string(1, '"') + s + '"';
}

} // namespace

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
    if (!IsCompleteBackup(BackupDir + name))
        return ShowError("The backup " + Quoted(name) +
                         " is incomplete: it lacks a key's file, and cannot be restored.");
    if (!AskYesNo("Do you want to restore the registry from the backup " + Quoted(name) + "?"))
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
            FFailures.push_back("stopped");
            return;
        }
        Status(std::string("Backing up ") + key + "...");
        const std::string file = std::string(key) + ".reg";
        DWORD code = 1;
        const bool ok =
            RunAndWait(regedit, Quoted(regedit) + " /e " + Quoted(file) + " " + Quoted(key),
                       NewBackupDir, SW_HIDE, code) &&
            code == 0 && FileExists(IncludeTrailingPathDelimiter(NewBackupDir) + file);
        if (!ok) FFailures.push_back(key);
        Status(ok ? "Done !" : std::string("Backing up ") + key + " failed");
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

// The end of a run: its last texts, then what failed instead of "Done !".
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
