#include "classlib/base/IniFiles.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/CustomEraserEngine.h"
#include "engine/EraserFixture.h"
#include "engine/SharedRoutines.h"
#include "engine/tools/PluginManager.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {
const std::string TestKey = "Software\\TarnwhistleTest\\Plugin";
const std::string HKCU = "2147483649";

std::string RegAction(const std::string& path, int type, const std::string& extra = "",
                      const std::string& root = HKCU) {
    return "<Action RootKey=\"" + root + "\" Path=\"" + path + "\" ActionType=\"" +
           std::to_string(type) + "\" " + extra + "/>";
}

std::string FileAction(int type, const std::string& attrs, int folderType = 0, int fileType = 0) {
    return "<Action ActionType=\"" + std::to_string(type) + "\" FolderActionType=\"" +
           std::to_string(folderType) + "\" FileActionType=\"" + std::to_string(fileType) +
           "\" IncludeSubDirs=\"False\" " + attrs + "/>";
}

class PluginTest : public testing::Test {
protected:
    void SetUp() override {
        Manager.Engine = &Engine;
        AppDirOverride = Dir.Path();
        TRegistry reg;
        reg.DeleteKey("\\" + TestKey);
    }
    void TearDown() override {
        TRegistry reg;
        reg.DeleteKey("\\" + TestKey);
        AppDirOverride.clear();
    }

    // Writes a plug-in file, checks it and runs every checked plug-in.
    void Run(const std::string& name, const std::string& registryActions,
             const std::string& fileActions = "") {
        const std::string file = Dir / (name + ".ppw");
        WriteStringToFile(file, "<?xml version=\"1.0\"?><Plugin Name=\"" + name +
                                    "\" Version=\"2.0\"><RegistryActions>" + registryActions +
                                    "</RegistryActions><FileActions>" + fileActions +
                                    "</FileActions></Plugin>");
        Manager.CheckedPlugins.Clear();
        Manager.CheckedPlugins.Add(file);
        Manager.Execute();
    }

    static void MakeKey(const std::string& path) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\" + TestKey + "\\" + path, true));
        reg.WriteString("v", "x");
    }
    static bool KeyExists(const std::string& path) {
        TRegistry reg;
        return reg.KeyExists("\\" + TestKey + (path.empty() ? "" : "\\" + path));
    }

    TTempFolder Dir;
    TRecordingEngine Engine;
    TPluginManager Manager;
    std::vector<std::string>& Log = Engine.Lines;
};
} // namespace

TEST_F(PluginTest, DeletesSubKeysContainingAWordInAnyCase) {
    for (const char* k : {"Cache\\Inner\\Deeper", "MyCache2", "CACHED", "Other", "Cach"})
        MakeKey(k);
    Run("subkeys", RegAction(TestKey, 1, "KeyContains=\"cache\""));
    EXPECT_TRUE(Log.empty()) << Log[0];
    EXPECT_FALSE(KeyExists("Cache"));
    EXPECT_FALSE(KeyExists("MyCache2"));
    EXPECT_FALSE(KeyExists("CACHED"));
    EXPECT_TRUE(KeyExists("Other"));
    EXPECT_TRUE(KeyExists("Cach"));
    EXPECT_EQ(Engine.KeysErased, 5); // every level of Cache counts
}

TEST_F(PluginTest, DeletesKeyTreesAndValues) {
    MakeKey("Tree\\A\\B");
    MakeKey("Tree\\C");
    MakeKey("Values");
    {
        TRegistry reg;
        reg.OpenKey("\\" + TestKey + "\\Values", false);
        reg.WriteString("TempFile1", "1");
        reg.WriteString("tempfile2", "2");
        reg.WriteString("Keep", "3");
    }
    Run("mixed", RegAction(TestKey + "\\Tree", 0) +
                     RegAction(TestKey + "\\Values", 2, "ValueName=\"Keep\"") +
                     RegAction(TestKey + "\\Values", 2, "ValueName=\"Absent\"") +
                     RegAction(TestKey + "\\Values", 3, "ValueContains=\"TEMPFILE\"") +
                     RegAction(TestKey + "\\Values", 3, "ValueContains=\"\"") +
                     RegAction(TestKey + "\\Missing", 0));
    EXPECT_TRUE(Log.empty());
    EXPECT_FALSE(KeyExists("Tree"));
    EXPECT_EQ(Engine.KeysErased, 4);
    EXPECT_EQ(Engine.ValuesErased, 3);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + TestKey + "\\Values", false));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"v"}));
}

TEST_F(PluginTest, FileActionsWithPlaceholders) {
    std::string appData;
    GetSpecialFolderPath(CSIDL_APPDATA, appData);
    const std::string root = appData + "\\TwPluginTest\\";
    RemoveTree(ExcludeTrailingPathDelimiter(root));
    ForceDirectories(root + "All\\Sub");
    ForceDirectories(root + "Empty\\Sub");
    ForceDirectories(root + "Match\\Sub");
    for (const char* f : {"All\\a.txt", "All\\Sub\\b.txt", "Empty\\a.txt", "Empty\\Sub\\b.txt",
                          "Match\\a.log", "Match\\a.txt", "Match\\Sub\\b.log", "single.dat"})
        WriteStringToFile(root + f, "data");
    WriteStringToFile(root + "app.ini", "[Recent]\r\nFile1=a\r\nFile2=b\r\n");

    const std::string base = "%AppData%\\TwPluginTest\\";
    Run("files", "",
        FileAction(0, "Folder=\"" + base + "All\"", 0) +
            FileAction(0, "Folder=\"" + base + "Empty\"", 1) +
            FileAction(0, "Folder=\"" + base + "Match\" FileMatch=\"*.log\"", 2) +
            FileAction(1, "FileName=\"" + base + "single.dat\"", 0, 0) +
            FileAction(1,
                       "FileName=\"" + base + "app.ini\" SectionName=\"Recent\" KeyName=\"File1\"",
                       0, 1));
    EXPECT_TRUE(Log.empty()) << Log[0];
    EXPECT_FALSE(DirectoryExists(root + "All"));
    EXPECT_TRUE(DirectoryExists(root + "Empty"));
    EXPECT_FALSE(DirectoryExists(root + "Empty\\Sub"));
    EXPECT_FALSE(FileExists(root + "Match\\a.log"));
    EXPECT_TRUE(FileExists(root + "Match\\a.txt"));
    EXPECT_TRUE(FileExists(root + "Match\\Sub\\b.log")); // no subfolders asked
    EXPECT_FALSE(FileExists(root + "single.dat"));
    TIniFile ini(root + "app.ini");
    EXPECT_FALSE(ini.ValueExists("Recent", "File1"));
    EXPECT_TRUE(ini.ValueExists("Recent", "File2"));
    EXPECT_EQ(Engine.FilesErased, 6);
    RemoveTree(ExcludeTrailingPathDelimiter(root));
}

TEST_F(PluginTest, SimulationDeletesNothing) {
    MakeKey("Tree\\A");
    MakeKey("Sub\\CacheX");
    WriteStringToFile(Dir / "f.dat", "data");
    WriteStringToFile(Dir / "app.ini", "[S]\r\nK=1\r\n");
    Engine.SimulationMode = true;
    Run("simulated",
        RegAction(TestKey + "\\Tree", 0) +
            RegAction(TestKey + "\\Sub", 1, "KeyContains=\"cache\"") +
            RegAction(TestKey + "\\Tree\\A", 2, "ValueName=\"v\"") +
            RegAction(TestKey + "\\Tree\\A", 3, "ValueContains=\"v\""),
        FileAction(1, "FileName=\"" + (Dir / "f.dat") + "\"", 0, 0) +
            FileAction(1, "FileName=\"" + (Dir / "app.ini") + "\" SectionName=\"S\" KeyName=\"K\"",
                       0, 1));
    EXPECT_TRUE(Log.empty()) << Log[0];
    EXPECT_TRUE(KeyExists("Tree\\A"));
    EXPECT_TRUE(KeyExists("Sub\\CacheX"));
    EXPECT_TRUE(FileExists(Dir / "f.dat"));
    EXPECT_TRUE(TIniFile(Dir / "app.ini").ValueExists("S", "K"));
    EXPECT_EQ(Engine.KeysErased, 3);
    EXPECT_EQ(Engine.ValuesErased, 2);
    EXPECT_EQ(Engine.FilesErased, 1);
}

TEST_F(PluginTest, BrokenPluginsLogOneLineAndDeleteNothing) {
    MakeKey("Sentinel");
    const std::string first = RegAction(TestKey + "\\Sentinel", 0);
    const struct {
        const char* Name;
        std::string Actions;
        std::string Files;
    } cases[] = {
        {"emptypath", first + RegAction("", 0), ""},
        {"rootpath", first + RegAction("\\\\", 1, "KeyContains=\"a\""), ""},
        {"badroot", first + RegAction(TestKey, 0, "", "12345"), ""},
        {"badnumber", first + RegAction(TestKey, 0, "", "HKCU"), ""},
        {"notype", first + "<Action RootKey=\"" + HKCU + "\" Path=\"X\"/>", ""},
        {"bigtype", first + RegAction(TestKey, 256), ""}, // never read as 0
        {"relative", first, FileAction(0, "Folder=\"Temp\\x\"")},
        {"driveroot", first, FileAction(0, "Folder=\"C:\\Windows\\..\"")},
        {"windows", first, FileAction(0, "Folder=\"%Windows%\\temp\"", 2)},
        {"systemfile", first, FileAction(1, "FileName=\"%Windows%\\system32\\kernel32.dll\"")},
        {"badmask", first, FileAction(0, "Folder=\"C:\\x\" FileMatch=\"[a-\"", 2)},
    };
    for (const auto& c : cases) {
        Log.clear();
        Run(c.Name, c.Actions, c.Files);
        ASSERT_EQ(Log.size(), 1u) << c.Name;
        EXPECT_EQ(Log[0], "Error executing plugin: " + std::string(c.Name));
        EXPECT_TRUE(KeyExists("Sentinel")) << c.Name;
    }
    EXPECT_EQ(Engine.KeysErased, 0);

    Log.clear();
    WriteStringToFile(Dir / "garbage.ppw", "<Plugin Name=\"x\"><unclosed></Plugin>");
    WriteStringToFile(Dir / "other.ppw", "<?xml version=\"1.0\"?><Recipe/>");
    Manager.CheckedPlugins.Clear();
    Manager.CheckedPlugins.Add(Dir / "missing.ppw");
    Manager.CheckedPlugins.Add(Dir / "garbage.ppw");
    Manager.CheckedPlugins.Add(Dir / "other.ppw");
    Manager.Execute();
    ASSERT_EQ(Log.size(), 3u);
    EXPECT_EQ(Log[0], "Error executing plugin: " + (Dir / "missing.ppw"));
    EXPECT_EQ(Log[1], "Error executing plugin: " + (Dir / "garbage.ppw"));
    EXPECT_EQ(Log[2], "Error executing plugin: " + (Dir / "other.ppw"));

    // A second plug-in runs even when the first one is missing.
    Log.clear();
    Run("second", first);
    Manager.CheckedPlugins.Insert(0, (Dir / "missing.ppw"));
    MakeKey("Sentinel");
    Manager.Execute();
    EXPECT_EQ(Log.size(), 1u);
    EXPECT_FALSE(KeyExists("Sentinel"));
}

TEST_F(PluginTest, StopEndsTheRunAtTheNextAction) {
    MakeKey("A");
    MakeKey("B");
    Engine.CancelAtPump = 2; // the pump before the second action
    Run("stopped", RegAction(TestKey + "\\A", 0) + RegAction(TestKey + "\\B", 0));
    EXPECT_FALSE(KeyExists("A"));
    EXPECT_TRUE(KeyExists("B"));
}

TEST_F(PluginTest, ListsAndStoresCheckedPlugins) {
    ForceDirectories(Dir / "Plugins");
    for (const char* f : {"b.ppw", "a.PPW", "c.ppwx", "d.txt"})
        WriteStringToFile(Dir / "Plugins\\" + f, "");
    TStringList files = Manager.ListPluginFiles();
    files.Sort();
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files[0], (Dir / "Plugins\\a.PPW"));
    EXPECT_EQ(files[1], (Dir / "Plugins\\b.ppw"));

    Manager.CheckedPlugins.Add("C:\\P\\One.ppw");
    EXPECT_TRUE(Manager.IsChecked("c:\\p\\one.PPW"));
    TXMLDocument doc;
    doc.LoadFromXML("<Configuration><Plugins><CheckedPlugins/></Plugins></Configuration>");
    Manager.LoadFromXML(doc.DocumentElement());
    EXPECT_EQ(Manager.CheckedPlugins.Count(), 0);
}
