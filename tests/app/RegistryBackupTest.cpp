// The registry backup sheet in the running program: regedit exports the five root
// keys into a dated folder, a restore imports them again, a delete removes the folder.
#include "ProgramTest.h"
#include "app/pages/RegistryBackupPage.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const char* const TestKey = "Software\\TarnwhistleBackupTest";

void WriteValue(const std::string& text) {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    ASSERT_TRUE(reg.OpenKey(TestKey, true));
    reg.WriteString("Value", text);
}

std::string ReadValue() {
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.OpenKey(TestKey, false) ? reg.ReadString("Value") : "";
}

// The folders directly below the backup folder.
std::vector<std::string> BackupFolders(const std::string& backupDir) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((backupDir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        const std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            folders.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return folders;
}

// The sheet's "Backup Registry" button, once the sheet shows.
HWND ShowSheet(HWND main) {
    PostClick(FindChild(main, "TButton", "PC Manager          "));
    // The tabs shown by "PC Manager" end with "Registry Backup": move right until it shows.
    HWND tabs = GetParent(FindChild(main, "TTabSheet", "Registry Backup"));
    HWND backup = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        backup = FindChild(main, "TButton", "Backup Registry             ");
        if (backup && IsWindowVisible(backup)) return true;
        PressKey(tabs, VK_RIGHT);
        return false;
    }));
    return backup;
}

// The button is disabled while its run goes, then enabled again.
bool Ran(HWND button) {
    return WaitFor([&] { return !IsWindowEnabled(button); }, 5000) &&
           WaitFor([&] { return IsWindowEnabled(button) != FALSE; }, 180000);
}

class RegistryBackup : public TProgramTest {
protected:
    // Starts the program and shows the sheet.
    void StartOnSheet() {
        StartProgram();
        Backup = ShowSheet(Main);
        ASSERT_NE(Backup, nullptr);
        List = FindChild(GetParent(Backup), "TListBox");
    }

    HWND Backup = nullptr, List = nullptr;
};

TEST_F(RegistryBackup, ABackupOfTheFiveKeysIsRestoredAndDeleted) {
    WriteValue("before");
    StartOnSheet();
    EXPECT_EQ(SendMessageA(List, LB_GETCOUNT, 0, 0), 0);
    PostClick(Backup);
    ASSERT_TRUE(Ran(Backup));
    const std::string backupDir = Program.Dir() + "Backup\\";
    const std::vector<std::string> folders = BackupFolders(backupDir);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].find(':'), std::string::npos);
    EXPECT_NE(folders[0].find('-'), std::string::npos); // 12-07-2026 13_05_09
    for (const char* key : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                            "HKEY_USERS", "HKEY_CURRENT_CONFIG"})
        EXPECT_TRUE(FileExists(backupDir + folders[0] + "\\" + key + ".reg")) << key;
    EXPECT_EQ(SendMessageA(List, LB_GETCOUNT, 0, 0), 1);

    WriteValue("after");
    SendMessageA(List, LB_SETCURSEL, 0, 0);
    HWND restore = FindChild(Main, "TButton", "Restore Selected Backup");
    PostClick(restore);
    Answer(Box(), IDYES);
    ASSERT_TRUE(Ran(restore));
    EXPECT_EQ(ReadValue(), "before");

    PostClick(FindChild(Main, "TButton", "Delete Restore Point        "));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(List, LB_GETCOUNT, 0, 0) == 0; }));
    EXPECT_TRUE(BackupFolders(backupDir).empty());
    CloseProgram();
}

// A backup whose export fails part way leaves no restore point behind, a folder that
// lacks a key's file is refused before anything is imported, and one removed by hand
// can still be deleted from the list.
TEST_F(RegistryBackup, AnIncompleteBackupIsNeitherKeptNorRestored) {
    const std::string backupDir = Program.Dir() + "Backup\\";
    const std::string partial = "12-01-2026 10_00_00";
    ForceDirectories(backupDir + partial);
    WriteStringToFile(backupDir + partial + "\\HKEY_CURRENT_USER.reg",
                      "REGEDIT4\r\n[A]\r\n\"V\"=hex:0,\\\r\n");
    StartOnSheet();
    ASSERT_EQ(SendMessageA(List, LB_GETCOUNT, 0, 0), 1);
    SendMessageA(List, LB_SETCURSEL, 0, 0);
    PostClick(FindChild(Main, "TButton", "Restore Selected Backup"));
    Answer(Box("HKEY_CURRENT_USER: it is cut short"), IDOK);

    // The last key's file cannot be written: a folder holds its name.
    PostClick(Backup);
    std::string made;
    ASSERT_TRUE(WaitFor([&] {
        for (const std::string& folder : BackupFolders(backupDir))
            if (folder != partial) made = folder;
        return !made.empty();
    }));
    ASSERT_TRUE(ForceDirectories(backupDir + made + "\\HKEY_CURRENT_CONFIG.reg"));
    ASSERT_TRUE(Ran(Backup));
    Answer(Box("HKEY_CURRENT_CONFIG (the file is missing)"), IDOK);
    EXPECT_EQ(BackupFolders(backupDir), std::vector<std::string>{partial});
    EXPECT_EQ(SendMessageA(List, LB_GETCOUNT, 0, 0), 1);

    // A listed folder removed by hand is deleted without an error, and its row goes.
    ASSERT_TRUE(SysDeleteFile(backupDir + partial + "\\HKEY_CURRENT_USER.reg"));
    ASSERT_TRUE(RemoveDir(backupDir + partial));
    SendMessageA(List, LB_SETCURSEL, 0, 0);
    PostClick(FindChild(Main, "TButton", "Delete Restore Point        "));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(List, LB_GETCOUNT, 0, 0) == 0; }));
    CloseProgram();
}

// A regedit that cuts an export short and ends with 0 (put in place of the prefix's):
// the key is named and no restore point stays.
TEST_F(RegistryBackup, ABackupCutShortIsNamedAndRemoved) {
    const std::string regedit = GetRegeditFolder() + "regedit.exe", saved = regedit + ".saved";
    ASSERT_TRUE(SafeMoveFile(regedit, saved, 0).Done());
    const std::string stand = ExtractFilePath(GetModuleFileNameStr()) + "CutShortRegedit.exe";
    const bool placed = CopyFileA(stand.c_str(), regedit.c_str(), TRUE); // beside the tests
    StartOnSheet();
    PostClick(Backup);
    const bool ran = Ran(Backup);
    SafeDeleteFile(regedit);
    ASSERT_TRUE(SafeMoveFile(saved, regedit, 0).Done() && placed && ran);
    Answer(Box("failed and is no restore point:\nHKEY_USERS (it is cut short)"), IDOK);
    EXPECT_TRUE(BackupFolders(Program.Dir() + "Backup\\").empty());
    CloseProgram();
}

// The heap of the program fills what it frees, so that memory used after it was freed
// shows; for the program of this test only.
class TFreedMemoryFilled {
public:
    TFreedMemoryFilled() {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (reg.OpenKey(Key, true)) reg.WriteInteger("GlobalFlag", 0x30); // free and tail checks
    }
    ~TFreedMemoryFilled() {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        reg.DeleteKey(Key);
    }

private:
    static constexpr const char* Key = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image "
                                       "File Execution Options\\Tarnwhistle.exe";
};

// Closing the program a moment after "Backup Registry" stops the backup: the program
// ends cleanly, the half-made folder is gone and the next start lists nothing.
TEST_F(RegistryBackup, ClosingDuringABackupLeavesNoFolderBehind) {
    const std::string backupDir = Program.Dir() + "Backup\\";
    const TFreedMemoryFilled filled;
    StartOnSheet();
    PostClick(Backup);
    ASSERT_TRUE(WaitFor([&] { return !BackupFolders(backupDir).empty(); }));
    PostMessageA(Main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Program.WaitForExit(120000));
    EXPECT_EQ(Program.ExitCode(), 0u);
    EXPECT_TRUE(BackupFolders(backupDir).empty());

    StartOnSheet();
    EXPECT_EQ(SendMessageA(List, LB_GETCOUNT, 0, 0), 0);
    CloseProgram();
}

} // namespace
