#pragma once
// The "Registry Backup" sheet: saves the five registry root keys through regedit into
// a new folder named after the date and time, lists the saved folders, restores one
// and deletes one. regedit runs hidden on the worker thread of a thread component;
// the status texts reach the label through posted messages. Main thread only, but
// for the work of the two threads.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListBox.h"
#include "components/WorkThread/WorkThread.h"
#include <mutex>
#include <string>
#include <vector>

class TRegistryBackupPage : public TPageFrame {
public:
    explicit TRegistryBackupPage(TComponent* owner);
    // The workers use this page's fields: they are stopped and waited for first.
    ~TRegistryBackupPage() override;

    TListBox* ltbk; // the backup folders' names
    TLabel* lbStatus;
    TButton *btBackup, *btRestore, *btRefresh, *btDel;
    TWorkThread *ThreadBackup, *ThreadRestore;

    std::string AppDir;       // the program folder, with a trailing backslash
    std::string BackupDir;    // its "Backup" folder, with a trailing backslash
    std::string NewBackupDir; // of the backup being made
    std::string RestoreDir;   // of the backup being restored

    // Sets the folders (made when missing) and lists the backups anew.
    void SetUpFolders(const std::string& appDir, const std::string& backupDir);
    void btRefreshClick();
    void btDelClick();
    [[nodiscard]] bool BackupListed(const std::string& name);

protected:
    void WndProc(TMessage& message) override;

private:
    void btBackupClick();
    void btRestoreClick();
    void ThreadBackupStart();
    void ThreadBackupExecute(TWorkExecuteThread* thread);
    void ExportKeys(TWorkExecuteThread* thread); // a failed key goes to FFailures
    void ThreadRestoreExecute(TWorkExecuteThread* thread);
    void ThreadEnded(bool refresh);
    void UpdateButtons();
    // Worker side: the next status text, shown when the main thread gets to it.
    void Status(const std::string& text);
    void ShowStatus();

    HWND FWindow = nullptr; // this page's window, for the workers' posts
    std::mutex FStatusLock;
    std::vector<std::string> FStatus;
    std::vector<std::string> FFailures; // of the run that goes, written by its worker
    bool FStopped = false;              // the backup was stopped: nothing to tell
};

// The folder regedit.exe is run from: the system folder cut after its first "\" from
// the fourth character on (the Windows folder for a system folder below it).
std::string GetRegeditFolder();
// What is wrong with a file that regedit exported, or "" when it is whole: it holds
// regedit's header and ends after a complete last entry.
std::string ExportFault(const std::string& path);
// Starts the program with the command line in folder, shown as show says, and waits
// for its end; false when it could not be started, else exitCode is set.
bool RunAndWait(const std::string& program, const std::string& commandLine,
                const std::string& folder, int show, DWORD& exitCode);
