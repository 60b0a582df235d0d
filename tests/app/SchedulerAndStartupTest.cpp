// The startup manager and the scheduler of the running program, compared with the
// registry and "prefs.dat" after the program has ended.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Registry.h"
#include "engine/EraserEngine.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const DisabledKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Disabled";

bool UserValueExists(const char* key, const char* name) {
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.OpenKeyReadOnly(key) && reg.ValueExists(name);
}

class SchedulerAndStartup : public TProgramTest {};

// The program's own entry switched off on the startup page stays off: the option
// "Load At Windows Startup" is stored off, so the next start does not write it back.
TEST_F(SchedulerAndStartup, TheProgramsOwnEntryDisabledOnThePageStaysOff) {
    Program.WritePrefs([](TEraserEngine& engine) { ASSERT_TRUE(engine.SetLoadAtStartup(true)); });
    StartProgram();
    HWND page = ShowPage("PC Manager          ", "TTStartupManager");
    HWND list = FindChild(page, "TListView");
    const std::vector<std::string> captions = ListViewCaptions(list);
    const auto own = std::find(captions.begin(), captions.end(), "Tarnwhistle");
    ASSERT_NE(own, captions.end());
    const int row = static_cast<int>(own - captions.begin());
    ListViewSelect(list, row);
    PressFlatButton(page, fbSecond);
    EXPECT_EQ(ListViewText(list, row, 1), "Disabled");
    CloseProgram();
    EXPECT_FALSE(UserValueExists(RunKey, "Tarnwhistle"));
    EXPECT_TRUE(UserValueExists(DisabledKey, "Tarnwhistle"));
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_FALSE(saved.GetLoadAtStartup());
    EXPECT_FALSE(UserValueExists(RunKey, "Tarnwhistle"));
    TRegistry reg;
    if (reg.OpenKey(DisabledKey, false)) reg.DeleteValue("Tarnwhistle");
}

} // namespace
