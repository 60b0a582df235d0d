#include "engine/tools/StartupManager.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EngineTestSupport.h"
#include "engine/EraserFixture.h"
#include "engine/SharedRoutines.h"
#include "support/Shortcuts.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {
const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string DisabledKey = RunKey + "\\Disabled";

class StartupManagerTest : public testing::Test {
protected:
    void SetUp() override {
        AppDirOverride = Dir.Path();
        Startup = UserStartupFolder();
        Clean();
    }
    void TearDown() override {
        Clean();
        AppDirOverride.clear();
    }

    // Removes every value and shortcut this test made.
    void Clean() {
        for (const REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_32KEY)})
            for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
                for (const std::string& key : {RunKey, DisabledKey}) {
                    TRegistry reg(KEY_ALL_ACCESS | view);
                    reg.RootKey = root;
                    if (!reg.OpenKey(key, false)) continue;
                    for (const std::string& name : reg.GetValueNames())
                        if (StartsText("TwTest", name)) reg.DeleteValue(name);
                }
        for (const char* name : {"TwTestBad.lnk", "TwTestWord.lnk"})
            SysDeleteFile(Startup + "\\" + name);
    }

    TStartUpItem* Find(const std::string& title) {
        for (auto& item : Manager.Items)
            if (item->Title == title) return item.get();
        return nullptr;
    }
    // The disabled entry of that title, beside an enabled one of the same name.
    TStartUpItem* FindParked(const std::string& title) {
        for (auto& item : Manager.Items)
            if (item->Title == title && !item->Enabled) return item.get();
        return nullptr;
    }

    TTempFolder Dir;
    TStartupManager Manager;
    std::string Startup;
};
} // namespace

TEST_F(StartupManagerTest, ValueMovesToDisabledAndBackKeepingItsType) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RunKey, true));
        reg.WriteExpandString("TwTestExpand", "%SystemRoot%\\tool.exe /quiet");
    }
    Manager.Refresh();
    TStartUpItem* item = Find("TwTestExpand");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled);
    EXPECT_EQ(item->Command, "%SystemRoot%\\tool.exe /quiet");
    EXPECT_EQ(item->KeyPath, RunKey);

    Manager.SetEnabled(*item, false);
    EXPECT_FALSE(item->Enabled);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RunKey, false));
    EXPECT_FALSE(reg.ValueExists("TwTestExpand"));
    ASSERT_TRUE(reg.OpenKey("\\" + DisabledKey, false));
    EXPECT_EQ(reg.GetDataType("TwTestExpand"), rdExpandString);

    Manager.Refresh();
    item = Find("TwTestExpand");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Enabled);
    EXPECT_EQ(item->KeyPath, RunKey);

    Manager.SetEnabled(*item, true);
    ASSERT_TRUE(reg.OpenKey("\\" + RunKey, false));
    EXPECT_EQ(reg.GetDataType("TwTestExpand"), rdExpandString);
    EXPECT_EQ(reg.ReadString("TwTestExpand"), "%SystemRoot%\\tool.exe /quiet");
    ASSERT_TRUE(reg.OpenKey("\\" + DisabledKey, false));
    EXPECT_FALSE(reg.ValueExists("TwTestExpand"));
}

TEST_F(StartupManagerTest, NumberValueDoesNotHideTheEntriesAfterIt) {
    WriteRegString(HKEY_CURRENT_USER, RunKey, "TwTestA", "a.exe");
    WriteRegDword(HKEY_CURRENT_USER, RunKey, "TwTestB", 7); // listed between A and C
    WriteRegString(HKEY_CURRENT_USER, RunKey, "TwTestC", "c.exe");
    Manager.Refresh();
    EXPECT_NE(Find("TwTestA"), nullptr);
    EXPECT_EQ(Find("TwTestB"), nullptr);
    ASSERT_NE(Find("TwTestC"), nullptr);
    EXPECT_EQ(Find("TwTestC")->Command, "c.exe");
}

TEST_F(StartupManagerTest, FailuresAreReportedAndChangeNothing) {
    TStartUpItem missing;
    missing.KeyPath = RunKey;
    missing.Name = missing.Title = "TwTestMissing";
    EXPECT_THROW(Manager.SetEnabled(missing, false), Exception);
    EXPECT_TRUE(missing.Enabled);
    EXPECT_THROW(Manager.DeleteItem(missing), Exception);

    // A parking folder that cannot be made: the shortcut stays where it is.
    MakeShortcut(Startup + "\\TwTestWord.lnk", "C:\\windows\\notepad.exe", "");
    WriteStringToFile(Dir / "blocked", "a file, not a folder");
    AppDirOverride = Dir / "blocked";
    Manager.Refresh();
    TStartUpItem* item = Find("TwTestWord");
    ASSERT_NE(item, nullptr);
    EXPECT_THROW(Manager.SetEnabled(*item, false), Exception);
    EXPECT_TRUE(item->Enabled);
    EXPECT_TRUE(FileExists(Startup + "\\TwTestWord.lnk"));

    // A shortcut in use cannot leave its place: the parked copy is taken back.
    AppDirOverride = Dir.Path();
    {
        TFileHandle lock(CreateFileA((Startup + "\\TwTestWord.lnk").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_THROW(Manager.SetEnabled(*item, false), Exception);
        EXPECT_THROW(Manager.DeleteItem(*item), Exception);
    }
    EXPECT_TRUE(item->Enabled);
    EXPECT_TRUE(FileExists(Startup + "\\TwTestWord.lnk"));
    EXPECT_FALSE(FileExists(Dir / "Disabled Items\\CurrentUser\\TwTestWord.lnk"));
}

TEST_F(StartupManagerTest, ShortcutMovesToDisabledItemsAndBack) {
    // A file that is no shortcut sorts first and must not hide the good one.
    WriteStringToFile(Startup + "\\TwTestBad.lnk", "not a shortcut");
    MakeShortcut(Startup + "\\TwTestWord.lnk", "C:\\windows\\notepad.exe", "/p letter.txt");
    Manager.Refresh();
    TStartUpItem* item = Find("TwTestWord");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Kind, TStartUpItem::skShortcut);
    EXPECT_TRUE(item->CurrentUser);
    EXPECT_EQ(item->FileName, "TwTestWord.lnk");
    EXPECT_EQ(item->Location, Startup);
    EXPECT_TRUE(EndsText("NOTEPAD.EXE /p letter.txt", item->Command)) << item->Command;

    Manager.SetEnabled(*item, false);
    const std::string parked = Dir / "Disabled Items\\CurrentUser\\TwTestWord.lnk";
    EXPECT_TRUE(FileExists(parked));
    EXPECT_FALSE(FileExists(Startup + "\\TwTestWord.lnk"));

    Manager.Refresh();
    item = Find("TwTestWord");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Enabled);
    EXPECT_EQ(item->Location, Startup);

    Manager.SetEnabled(*item, true);
    EXPECT_TRUE(FileExists(Startup + "\\TwTestWord.lnk"));
    EXPECT_FALSE(FileExists(parked));
}

TEST_F(StartupManagerTest, DeleteRemovesTheEntryForTheNextRefresh) {
    WriteRegString(HKEY_CURRENT_USER, DisabledKey, "TwTestGone", "gone.exe");
    Manager.Refresh();
    TStartUpItem* item = Find("TwTestGone");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Enabled);
    Manager.DeleteItem(*item);
    EXPECT_NE(Find("TwTestGone"), nullptr);
    Manager.Refresh();
    EXPECT_EQ(Find("TwTestGone"), nullptr);
}

// An entry whose name already holds the other place is moved there only on request:
// a value and a shortcut each, named with the command in the way.
TEST_F(StartupManagerTest, ATakenPlaceIsReplacedOnlyOnRequest) {
    WriteRegString(HKEY_CURRENT_USER, RunKey, "TwTestDup", "new.exe");
    WriteRegString(HKEY_CURRENT_USER, DisabledKey, "TwTestDup", "old.exe");
    Manager.Refresh();
    TStartUpItem* parked = FindParked("TwTestDup");
    ASSERT_NE(parked, nullptr);
    std::string command;
    ASSERT_TRUE(Manager.FindClash(*parked, true, command));
    EXPECT_EQ(command, "new.exe");
    EXPECT_THROW(Manager.SetEnabled(*parked, true), Exception);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, RunKey, "TwTestDup"), "new.exe");
    Manager.SetEnabled(*parked, true, true);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, RunKey, "TwTestDup"), "old.exe");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, DisabledKey, "TwTestDup"));

    const std::string live = Startup + "\\TwTestWord.lnk";
    const std::string parkedLink = Dir / "Disabled Items\\CurrentUser\\TwTestWord.lnk";
    MakeShortcut(live, "C:\\windows\\notepad.exe", "/new");
    ForceDirectories(Dir / "Disabled Items\\CurrentUser");
    MakeShortcut(parkedLink, "C:\\windows\\notepad.exe", "/old");
    Manager.Refresh();
    parked = FindParked("TwTestWord");
    ASSERT_NE(parked, nullptr);
    ASSERT_TRUE(Manager.FindClash(*parked, true, command));
    EXPECT_TRUE(EndsText(" /new", command)) << command;
    EXPECT_THROW(Manager.SetEnabled(*parked, true), Exception);
    EXPECT_TRUE(FileExists(parkedLink));
    Manager.SetEnabled(*parked, true, true);
    EXPECT_FALSE(FileExists(parkedLink));
    TShortcutInfo link;
    ReadShortcut(live, link);
    EXPECT_EQ(link.Arguments, "/old");
}

// 64-bit Windows keeps the machine's entries of 32-bit programs in a view of their own:
// they are listed with their place, and parked, restored and deleted in that view.
TEST_F(StartupManagerTest, MachineEntriesOf32BitProgramsStayInTheirView) {
    TRegistry wow(KEY_ALL_ACCESS | KEY_WOW64_32KEY);
    wow.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(wow.OpenKey(RunKey, true));
    wow.WriteString("TwTestWow", "wow.exe");
    const auto inView = [&](const std::string& key) {
        return wow.OpenKey("\\" + key, false) && wow.ValueExists("TwTestWow");
    };
    Manager.Refresh();
    TStartUpItem* item = Find("TwTestWow");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->View, REGSAM(KEY_WOW64_32KEY));
    EXPECT_EQ(TStartupManager::GetItemPlace(*item, true),
              "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    Manager.SetEnabled(*item, false);
    EXPECT_TRUE(inView(DisabledKey));
    EXPECT_FALSE(inView(RunKey));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, DisabledKey, "TwTestWow"));
    Manager.Refresh();
    item = FindParked("TwTestWow");
    ASSERT_NE(item, nullptr);
    Manager.SetEnabled(*item, true);
    EXPECT_TRUE(inView(RunKey));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, RunKey, "TwTestWow"));
    Manager.DeleteItem(*item);
    EXPECT_FALSE(inView(RunKey));
}
