// The Windows items, run for real and in simulation over traces planted in the
// private prefix.
#include "classlib/base/Registry.h"
#include "classlib/base/StringList.h"
#include "classlib/base/SysUtils.h"
#include "engine/EngineTestSupport.h"
#include "engine/SharedRoutines.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

const char* const ExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char* const MemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

class CatalogueWindowsTest : public testing::Test {
protected:
    TTestEngine Engine;
};

TEST_F(CatalogueWindowsTest, RecentDocumentsGoAndTheFolderStays) {
    const std::string recent = SpecialFolderOf(CSIDL_RECENT);
    PlantFile(recent + "\\a.txt", "12345");
    PlantFile(recent + "\\sub\\b.txt", "123");
    Engine.EnableOnly({ciEraseStartMenuRecentDocuments});

    EXPECT_EQ(Engine.Run(true), RunLog({ciEraseStartMenuRecentDocuments}, 0, 0, 1, 2, "8.00 B"));
    EXPECT_TRUE(Exists(recent + "\\a.txt"));
    EXPECT_TRUE(Exists(recent + "\\sub\\b.txt"));

    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseStartMenuRecentDocuments}, 0, 0, 1, 2, "8.00 B"));
    EXPECT_FALSE(Exists(recent + "\\a.txt"));
    EXPECT_FALSE(Exists(recent + "\\sub"));
    EXPECT_TRUE(Exists(recent));
}

TEST_F(CatalogueWindowsTest, FindHistoryStopsAtTheFirstGapOfTheList) {
    const std::string key = "Software\\Microsoft\\Search Assistant\\ACMru\\5647";
    for (const char* name : {"000", "001", "003"})
        WriteRegString(HKEY_CURRENT_USER, key, name, "pc");
    Engine.EnableOnly({ciEraseFindComputer});

    // "MRUList" counts though it is missing: its key exists.
    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseFindComputer}, 0, 3, 0, 0, "0 B"));
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, key), std::vector<std::string>{"003"});
    DeleteRegKey(HKEY_CURRENT_USER, key);
}

TEST_F(CatalogueWindowsTest, FindHistoryOnWindows9xHasLetteredValues) {
    TVersionOverride win98(false);
    const std::string key = std::string(ExplorerKey) + "Doc Find Spec MRU";
    for (const char* name : {"MRUList", "a", "b", "d", "000"})
        WriteRegString(HKEY_CURRENT_USER, key, name, "*.txt");
    Engine.EnableOnly({ciEraseFindFilesFolders});
    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseFindFilesFolders}, 0, 3, 0, 0, "0 B"));
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, key), (std::vector<std::string>{"000", "d"}));
    DeleteRegKey(HKEY_CURRENT_USER, key);
}

TEST_F(CatalogueWindowsTest, OpenSaveHistoryOnNTOnly) {
    const std::string key = std::string(ExplorerKey) + "ComDlg32\\OpenSaveMRU";
    auto plant = [&] {
        WriteRegString(HKEY_CURRENT_USER, key + "\\txt", "a", "c:\\a.txt");
        WriteRegString(HKEY_CURRENT_USER, key + "\\*", "a", "c:\\a.txt");
        WriteRegString(HKEY_CURRENT_USER, key, "MRUList", "a");
    };
    plant();
    Engine.EnableOnly({ciEraseWindowsOpenSaveHistory});
    {
        TVersionOverride win98(false);
        EXPECT_EQ(Engine.Run(false), RunLog({ciEraseWindowsOpenSaveHistory}, 0, 0, 0, 0, "0 B"));
        EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key + "\\txt"));
    }
    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseWindowsOpenSaveHistory}, 2, 1, 0, 0, "0 B"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key + "\\txt"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key + "\\*"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, "MRUList"));
}

TEST_F(CatalogueWindowsTest, ClipboardIsEmptiedOnlyForReal) {
    auto putText = [] {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
        memcpy(GlobalLock(mem), "hello", 6);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
        CloseClipboard();
    };
    putText();
    Engine.EnableOnly({ciEraseWindowsClipboard});
    const auto expected = RunLog({ciEraseWindowsClipboard}, 0, 0, 0, 0, "0 B");
    EXPECT_EQ(Engine.Run(true), expected);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(Engine.Run(false), expected);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(CatalogueWindowsTest, SwapFileOnNTSetsThePageFileValueAndDefersItsReset) {
    WriteRegDword(HKEY_LOCAL_MACHINE, MemoryManagementKey, "ClearPageFileAtShutdown", 0);
    Engine.EnableOnly({ciEraseWindowsSWAP});
    Engine.Run(true);
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
    EXPECT_TRUE(Engine.Notices.empty());

    Engine.Run(false);
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey(MemoryManagementKey, false));
    EXPECT_EQ(reg.ReadInteger("ClearPageFileAtShutdown"), 1);
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    const TPostEraserItem& item = Engine.PostEraser.Items(0);
    EXPECT_EQ(item.Type, ptWriteInteger);
    EXPECT_EQ(item.RootKey, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(item.ValueName, "ClearPageFileAtShutdown");
    EXPECT_EQ(item.ValueData, "0");
    EXPECT_TRUE(FileExists(Engine.PostEraser.FileName));
    EXPECT_NE(ReadRegString(HKEY_LOCAL_MACHINE, RunOnceKey, RunOnceValue), "");
    EXPECT_EQ(Engine.Notices.size(), 1u);
    reg.WriteInteger("ClearPageFileAtShutdown", 0);
}

TEST_F(CatalogueWindowsTest, SwapFileOnWindows9xAddsALineToAutoexecBat) {
    TVersionOverride win98(false);
    PlantFile("c:\\autoexec.bat", "@echo off\r\n");
    Engine.EnableOnly({ciEraseWindowsSWAP});
    Engine.ShowRebootNotice = false;
    Engine.Run(false);

    const std::string line =
        "del " + IncludeTrailingPathDelimiter(GetShortPath(GetWindowsDir())) + "win386.swp";
    TStringList lines;
    lines.LoadFromFile("c:\\autoexec.bat");
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[1], line);
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    EXPECT_EQ(Engine.PostEraser.Items(0).Type, ptRemoveLine);
    EXPECT_EQ(Engine.PostEraser.Items(0).BATLine, line);
    EXPECT_TRUE(Engine.Notices.empty());
    DeleteFileA("c:\\autoexec.bat");

    // Without the file the item fails alone.
    EXPECT_EQ(Engine.Run(false)[5], "Erasing Windows SWAP File failed.");
}

TEST_F(CatalogueWindowsTest, ScanDiskFragmentsKeepTheBrowserDatabases) {
    const std::string folder = TestFolder("chk");
    PlantFile(folder + "\\FILE0000.CHK");
    PlantFile(folder + "\\deep\\file0001.chk");
    PlantFile(folder + "\\EDB.CHK");
    PlantFile(folder + "\\softokn3.chk");
    PlantFile(folder + "\\keep.chkx");
    Engine.EnableOnly({ciEraseScanDiskFiles});
    Engine.Run(false);
    Engine.Run(false);

    EXPECT_FALSE(Exists(folder + "\\FILE0000.CHK"));
    EXPECT_FALSE(Exists(folder + "\\deep\\file0001.chk"));
    EXPECT_TRUE(Exists(folder + "\\EDB.CHK"));
    EXPECT_TRUE(Exists(folder + "\\softokn3.chk"));
    EXPECT_TRUE(Exists(folder + "\\keep.chkx"));
    EXPECT_EQ(Engine.FileItem(ciEraseScanDiskFiles).Exclude,
              (std::vector<std::string>{"edb.chk", "softokn3.chk"}));
}

// Writes a shortcut to target at path.
void MakeShortcut(const std::string& path, const std::string& target) {
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    file->Save(ToWide(path).c_str(), TRUE);
    file->Release();
    link->Release();
    CoUninitialize();
}

TEST_F(CatalogueWindowsTest, OfficeHistoryTakesOfficeShortcutsAndSurvivesABrokenOne) {
    const std::string recent = SpecialFolderOf(CSIDL_RECENT);
    const std::string docs = TestFolder("docs");
    PlantFile(docs + "\\report.DOC");
    PlantFile(docs + "\\notes.txt");
    PlantFile(docs + "\\sheet.xls");
    MakeShortcut(recent + "\\report.lnk", docs + "\\report.DOC");
    MakeShortcut(recent + "\\sheet.lnk", docs + "\\sheet.xls");
    MakeShortcut(recent + "\\notes.lnk", docs + "\\notes.txt");
    PlantFile(recent + "\\broken.lnk", "not a shortcut");
    const std::string office = SpecialFolderOf(CSIDL_APPDATA) + "\\Microsoft\\Office\\Recent";
    PlantFile(office + "\\x.lnk");
    Engine.EnableOnly({ciEraseMSOfficeHistory});

    // No Word or Excel under Wine: the after-erase automation stays silent.
    const auto log = Engine.Run(false);
    ASSERT_EQ(log.size(), 21u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 7),
              Concat({OpeningLines(), ItemLines(ciEraseMSOfficeHistory)}));
    EXPECT_EQ(log[17], "      Files Erased           - 3");
    EXPECT_FALSE(Exists(recent + "\\report.lnk"));
    EXPECT_FALSE(Exists(recent + "\\sheet.lnk"));
    EXPECT_FALSE(Exists(office + "\\x.lnk"));
    EXPECT_TRUE(Exists(recent + "\\notes.lnk"));
    EXPECT_TRUE(Exists(recent + "\\broken.lnk"));
    EXPECT_TRUE(Exists(docs + "\\report.DOC"));
    DeleteFileA((recent + "\\notes.lnk").c_str());
    DeleteFileA((recent + "\\broken.lnk").c_str());
}

TEST_F(CatalogueWindowsTest, StartMenuClickHistoryRegistersANextStartOnlyForReal) {
    const std::string key = std::string(ExplorerKey) + "MenuOrder\\Start Menu2\\Programs";
    WriteRegString(HKEY_CURRENT_USER, key, "Order", "x");
    Engine.EnableOnly({ciEraseStartMenuClickHistory});
    Engine.Run(true);
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key));

    Engine.Run(false);
    EXPECT_FALSE(
        RegKeyExists(HKEY_CURRENT_USER, std::string(ExplorerKey) + "MenuOrder\\Start Menu2"));
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    EXPECT_EQ(Engine.PostEraser.Items(0).Type, ptDeleteFile);
    EXPECT_EQ(Engine.PostEraser.Items(0).FileName, "");
}

TEST_F(CatalogueWindowsTest, RegistryBackupsOnWindows2000AreTheFilesWithoutExtension) {
    TVersionOverride win2000(true, 5, 0);
    const std::string repair = IncludeTrailingPathDelimiter(GetWindowsDir()) + "repair";
    PlantFile(repair + "\\SAM");
    PlantFile(repair + "\\old\\SYSTEM");
    PlantFile(repair + "\\setup.log");
    Engine.EnableOnly({ciEraseRegistryBackups});
    Engine.Run(false);
    EXPECT_FALSE(Exists(repair + "\\SAM"));
    EXPECT_FALSE(Exists(repair + "\\old\\SYSTEM"));
    EXPECT_TRUE(Exists(repair + "\\setup.log"));
    RemoveTree(repair);
}

// Only the fragments go: the Windows folders stay, empty or not, also the "Temp"
// folder that item 9 has just emptied.
TEST_F(CatalogueWindowsTest, RegistryFragmentsGoAndTheWindowsFoldersStay) {
    const std::string windows = IncludeTrailingPathDelimiter(GetWindowsDir());
    const std::string temp = ExcludeTrailingPathDelimiter(GetWindowsTempDir());
    MakeFolder(temp);
    RemoveTree(windows + "twtest");
    MakeFolder(windows + "twtest\\empty");
    PlantFile(windows + "twtest\\frag\\OLD.REG", "12");
    PlantFile(windows + "twtest\\frag\\keep.txt");
    Engine.EnableOnly({ciEraseRegistryFragmentFiles});
    const auto log = Engine.Run(true);
    ASSERT_EQ(log.size(), 21u);
    EXPECT_EQ(log[16], "      Folder Erased          - 0");
    EXPECT_TRUE(Exists(windows + "twtest\\frag\\OLD.REG"));

    Engine.EnableOnly({ciEraseWindowsTemp, ciEraseRegistryFragmentFiles});
    Engine.Run(false);
    EXPECT_FALSE(Exists(windows + "twtest\\frag\\OLD.REG"));
    EXPECT_TRUE(Exists(windows + "twtest\\frag\\keep.txt"));
    EXPECT_TRUE(Exists(windows + "twtest\\empty"));
    EXPECT_TRUE(Exists(temp));
    RemoveTree(windows + "twtest");
}

// Points one of the user's shell folders at a folder that does not exist, so that
// it cannot be resolved, for the lifetime of the object.
class TUnresolvedShellFolder {
public:
    explicit TUnresolvedShellFolder(const char* name) : FName(name) {
        RegOpenKeyExA(HKEY_CURRENT_USER, Key, 0, KEY_ALL_ACCESS, &FKey);
        DWORD size = sizeof(FData);
        FSaved = RegQueryValueExA(FKey, name, nullptr, &FType, FData, &size) == ERROR_SUCCESS;
        FSize = size;
        const std::string nowhere = std::string("C:\\twtest\\nowhere\\") + name;
        RegSetValueExA(FKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(nowhere.c_str()),
                       static_cast<DWORD>(nowhere.size() + 1));
    }
    ~TUnresolvedShellFolder() {
        if (FSaved)
            RegSetValueExA(FKey, FName, 0, FType, FData, FSize);
        else
            RegDeleteValueA(FKey, FName);
        RegCloseKey(FKey);
    }

private:
    static constexpr const char* Key =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const char* FName;
    HKEY FKey = nullptr;
    bool FSaved = false;
    DWORD FType = 0, FSize = 0;
    BYTE FData[1024] = {};
};

// A folder that cannot be resolved yields nothing, never the same path below the
// current folder.
TEST_F(CatalogueWindowsTest, UnresolvedShellFoldersCollectNothing) {
    const std::string here = TestFolder("current");
    const std::vector<std::string> traces = {here + "\\Mozilla\\p\\prefs.js",
                                             here + "\\Mozilla\\p\\cookies.txt",
                                             here + "\\Microsoft\\Office\\Recent\\a.txt",
                                             here + "\\Microsoft\\Media Player\\b.txt",
                                             here + "\\My Music\\My Playlists\\c.wpl",
                                             here + "\\Content.IE5\\index.dat",
                                             here + "\\report.doc"};
    for (const std::string& trace : traces)
        PlantFile(trace);
    MakeShortcut(here + "\\report.lnk", here + "\\report.doc");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(here.c_str());
    {
        TUnresolvedShellFolder appData("AppData"), personal("Personal"), recent("Recent"),
            cache("Cache");
        ASSERT_EQ(SpecialFolder(CSIDL_APPDATA), "");
        ASSERT_EQ(SpecialFolder(CSIDL_RECENT), "");
        Engine.EnableOnly({ciEraseMediaPlayerPlaylists, ciEraseMSOfficeHistory, ciIEEraseIndexDAT,
                           ciNetscapeMozillaCookies});
        Engine.Run(false);
    }
    SetCurrentDirectoryA(previous);
    for (const std::string& trace : traces)
        EXPECT_TRUE(Exists(trace)) << trace;
    EXPECT_TRUE(Exists(here + "\\report.lnk"));
}

TEST_F(CatalogueWindowsTest, RecycleBinsOfEveryDrive) {
    PlantFile("C:\\Recycled\\DC1.txt", "1234");
    PlantFile("C:\\Recycled\\sub\\DC2.txt", "1234");
    Engine.EnableOnly({ciEraseRecycleBin});
    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseRecycleBin}, 0, 0, 1, 2, "8.00 B"));
    EXPECT_TRUE(Exists("C:\\Recycled"));
    EXPECT_FALSE(Exists("C:\\Recycled\\DC1.txt"));
    RemoveDirectoryA("C:\\Recycled");
}

} // namespace
