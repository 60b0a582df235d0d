// The plug-ins, hot-keys and Internet Explorer settings pages of the running program,
// used as a person does: odd plug-in files, checks changed while a clean runs, keys
// changed twice, dialogs opened again, the program restarted; then the screen
// compared with "prefs.dat" and the registry.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const char* const TestKey = "Software\\TarnwhistleTest\\PlugInsAndKeys";

bool KeyExists(const std::string& sub) {
    TRegistry reg(KEY_READ);
    return reg.KeyExists(std::string("\\") + TestKey + "\\" + sub);
}

void MakeKey(const std::string& sub) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + TestKey + "\\" + sub, true));
}

std::string DeleteKeyAction(const std::string& sub) {
    return std::string("<Action RootKey=\"2147483649\" Path=\"") + TestKey + "\\" + sub +
           "\" ActionType=\"0\"/>";
}

std::string PluginText(const std::string& name, const std::string& actions) {
    return "<?xml version=\"1.0\"?><Plugin Name=\"" + name +
           "\" Version=\"1.0\"><RegistryActions>" + actions + "</RegistryActions></Plugin>";
}

// The check box of a row set as a click on it would.
void SetRowCheck(HWND list, int row, bool checked) {
    TRemoteMemory memory(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    memory.Write(0, &item, sizeof(item));
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory.At()));
}

class PlugInsAndKeys : public TProgramTest {
protected:
    void TearDown() override {
        TRegistry reg;
        reg.DeleteKey(std::string("\\") + TestKey);
    }
    std::string Plugins() const { return Program.Dir() + "Plugins\\"; }
};

} // namespace

// Unticking a plug-in while the clean runs the plug-ins leaves the run with the
// plug-ins it started with: the next one still runs. The untick counts from the next
// clean on and is kept.
TEST_F(PlugInsAndKeys, ChecksChangedWhileACleanRunsThePlugInsKeepTheRunWhole) {
    ForceDirectories(Plugins());
    std::string slow = DeleteKeyAction("A1");
    for (int i = 0; i < 20000; ++i)
        slow += DeleteKeyAction("none" + std::to_string(i));
    slow += DeleteKeyAction("A2");
    WriteStringToFile(Plugins() + "a.ppw", PluginText("A", slow));
    WriteStringToFile(Plugins() + "b.ppw", PluginText("B", DeleteKeyAction("B")));
    WriteStringToFile(Plugins() + "c.ppw", PluginText("C", DeleteKeyAction("C")));
    for (const char* key : {"A1", "A2", "B", "C"})
        MakeKey(key);
    const std::string dir = Plugins();
    Program.WritePrefs([&](TEraserEngine& engine) {
        for (const char* file : {"a.ppw", "b.ppw", "c.ppw"})
            engine.PluginManager->CheckedPlugins.Add(dir + file);
    });
    StartProgram();
    HWND page = ShowPage("Plug-ins                  ", "TTPlugins");
    HWND list = FindChild(page, "TListView");
    ASSERT_EQ(ListViewCount(list), 3);
    const std::vector<std::string> rows = ListViewCaptions(list);
    const int a = int(std::find(rows.begin(), rows.end(), "A") - rows.begin());
    PostMessageA(Main, WM_HOTKEY, 1000, 0);
    ASSERT_TRUE(WaitFor([] { return !KeyExists("A1"); }));
    SetRowCheck(list, a, false);
    ASSERT_TRUE(KeyExists("A2")) << "the first plug-in ended before the untick";
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_FALSE(KeyExists("B")) << WindowText(Memo);
    EXPECT_FALSE(KeyExists("C")) << WindowText(Memo);
    EXPECT_EQ(WindowText(Memo).find("Error executing plugin"), std::string::npos);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.PluginManager->CheckedPlugins.Count(), 2);
    EXPECT_EQ(saved.PluginManager->CheckedPlugins[0], dir + "b.ppw");
    EXPECT_EQ(saved.PluginManager->CheckedPlugins[1], dir + "c.ppw");
}

// Eleven AutoFind entries as the program saves them ("1" to "11") come back in their
// order, although the registry lists the names as text ("1", "10", "11", "2").
TEST_F(PlugInsAndKeys, ElevenAutoFindEntriesComeBackInTheirOrder) {
    std::vector<std::string> texts;
    {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Microsoft\\Internet Explorer\\Main\\UrlTemplate", true));
        for (const std::string& name : reg.GetValueNames())
            reg.DeleteValue(name);
        for (int i = 1; i <= 11; ++i) {
            texts.push_back("http://find" + std::to_string(i) + ".example/%s");
            reg.WriteString(std::to_string(i), texts.back());
        }
    }
    StartProgram();
    HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
    NextTab(page);
    page = WaitForPage("TTinternetExplorerSettings");
    PostClick(FindChild(page, "TButton", "Edit AutoFind"));
    HWND dialog = Program.WaitForWindow("TfEditIEAutoFind");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListViewCaptions(FindChild(dialog, "TListView")), texts);
    PostClick(FindChild(dialog, "TButton", "&Cancel"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    CloseProgram();
}

// A hot key without Ctrl or Alt (or with Alt alone on a letter) would take its key from typing in
// every program: a stored one is named at start and left free, and one typed on the page is refused
// with nothing applied, however often "&Apply" is pressed.
TEST_F(PlugInsAndKeys, KeysWithoutCtrlOrAltAreNeverTakenFromTyping) {
    Program.WritePrefs([](TEraserEngine& engine) { engine.Misc->QuickClean = scShift | 'X'; });
    ASSERT_TRUE(Program.Start());
    Answer(Box("Rapid Erase: Shift+X (needs Ctrl or Alt)"), IDOK);
    WaitForMain();
    const auto taken = [](UINT modifiers, UINT key) {
        if (!RegisterHotKey(nullptr, 1, modifiers, key)) return true;
        UnregisterHotKey(nullptr, 1);
        return false;
    };
    EXPECT_FALSE(taken(MOD_SHIFT, 'X'));

    HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
    HWND group = FindChild(page, "TGroupBox", "Cleaning Action Settings");
    std::vector<HWND> keys;
    for (HWND key = nullptr; (key = FindWindowExA(group, key, "THotKey", nullptr));)
        keys.push_back(key);
    ASSERT_EQ(keys.size(), 5u);
    HWND apply = FindChild(page, "TButton", "&Apply");
    SendMessageA(keys[0], HKM_SETHOTKEY, MAKEWORD('X', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    SendMessageA(keys[2], HKM_SETHOTKEY, MAKEWORD('S', HOTKEYF_SHIFT), 0); // "Erase & Shutdown"
    SendMessageA(keys[3], HKM_SETHOTKEY, VK_F9, 0);                        // "Stop Process"
    SendMessageA(keys[1], HKM_SETHOTKEY, MAKEWORD('F', HOTKEYF_ALT), 0);   // "Erase & Reboot"
    for (int press = 0; press < 2; ++press) {
        PostClick(apply);
        HWND box = Box("A hot key needs Ctrl or Alt");
        const std::string text = MessageBoxText(box);
        EXPECT_NE(text.find("Erase & Shutdown: Shift+S"), std::string::npos) << text;
        EXPECT_NE(text.find("Stop Process: F9"), std::string::npos) << text;
        EXPECT_NE(text.find("Erase & Reboot: Alt+F (needs Ctrl too)"), std::string::npos) << text;
        EXPECT_EQ(text.find("Rapid Erase"), std::string::npos) << text;
        Answer(box, IDOK);
        EXPECT_FALSE(taken(MOD_SHIFT, 'S'));
        EXPECT_FALSE(taken(0, VK_F9));
        EXPECT_TRUE(taken(MOD_CONTROL | MOD_ALT, 'S'));
        EXPECT_FALSE(taken(MOD_CONTROL | MOD_SHIFT, 'X')); // nothing was applied
    }
    SendMessageA(keys[1], HKM_SETHOTKEY, MAKEWORD('R', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(keys[2], HKM_SETHOTKEY, MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(keys[3], HKM_SETHOTKEY, MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(apply, BM_CLICK, 0, 0);
    EXPECT_TRUE(taken(MOD_CONTROL | MOD_SHIFT, 'X'));
    EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.Misc->QuickClean, scCtrl | scShift | 'X');
    EXPECT_EQ(saved.Misc->CleanAndShutDown, scCtrl | scAlt | 'S');
    EXPECT_EQ(saved.Misc->StopTask, scCtrl | scAlt | 'T');
}
