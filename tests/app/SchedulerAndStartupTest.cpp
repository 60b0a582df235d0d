// The startup manager and the scheduler of the running program, compared with the
// registry and "prefs.dat" after the program has ended.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "engine/EraserEngine.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const DisabledKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Disabled";

bool UserValueExists(const char* key, const char* name) {
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.OpenKeyReadOnly(key) && reg.ValueExists(name);
}

// A "Run" key in one registry view.
struct TRunPlace {
    HKEY Root;
    REGSAM View;
    const char* Key;
};
const TRunPlace UserRun{HKEY_CURRENT_USER, 0, RunKey},
    UserParked{HKEY_CURRENT_USER, 0, DisabledKey}, MachineRun{HKEY_LOCAL_MACHINE, 0, RunKey},
    MachineParked{HKEY_LOCAL_MACHINE, 0, DisabledKey},
    Machine32Run{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, RunKey},
    Machine32Parked{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, DisabledKey};

// The places as the page's "Location" column and its delete question name them.
const std::string UserPlace =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string Machine32Place =
    "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ReadAt(const TRunPlace& place, const char* name) {
    TRegistry reg(KEY_READ | place.View);
    reg.RootKey = place.Root;
    return reg.OpenKey(place.Key, false) && reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
}

void WriteAt(const TRunPlace& place, const char* name, const std::string& value) {
    TRegistry reg(KEY_ALL_ACCESS | place.View);
    reg.RootKey = place.Root;
    ASSERT_TRUE(reg.OpenKey(place.Key, true));
    reg.WriteString(name, value);
}

void DeleteEverywhere(const char* name) {
    for (const TRunPlace* place :
         {&UserRun, &UserParked, &MachineRun, &MachineParked, &Machine32Run, &Machine32Parked}) {
        TRegistry reg(KEY_ALL_ACCESS | place->View);
        reg.RootKey = place->Root;
        if (reg.OpenKey(place->Key, false)) reg.DeleteValue(name);
    }
}

// The row of the entry of that name, status and location; -1 when there is none.
int RowOf(HWND list, const std::string& name, const char* status, const std::string& place) {
    for (int row = 0, count = ListViewCount(list); row < count; ++row)
        if (ListViewText(list, row, 0) == name && ListViewText(list, row, 1) == status &&
            ListViewText(list, row, 3) == place)
            return row;
    return -1;
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

class SchedulerAndStartup : public TProgramTest {
protected:
    void TearDown() override {
        DeleteEverywhere("TwSame");
        DeleteEverywhere("Tarnwhistle");
    }
    HWND ShowStartupManager() { return ShowPage("PC Manager          ", "TTStartupManager"); }
    static constexpr TFlatButton Enable = fbFirst, Disable = fbSecond, Delete = fbThird,
                                 Refresh = fbFourth;
};

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
}

// Entries of one name, live and parked for the user and live in the machine's view of
// 32-bit programs, keep their rows through "Refresh" and are changed where they live;
// the delete question names the entry and its place.
TEST_F(SchedulerAndStartup, EntriesOfOneNameKeepTheirRowsAndChangeOnlyWhereTheyLive) {
    WriteAt(UserRun, "TwSame", "live.exe");
    WriteAt(UserParked, "TwSame", "parked.exe");
    WriteAt(Machine32Run, "TwSame", "wow.exe");
    StartProgram();
    HWND page = ShowStartupManager();
    HWND list = FindChild(page, "TListView");
    const int parked = RowOf(list, "TwSame", "Disabled", UserPlace);
    ASSERT_GE(parked, 0);
    ListViewSelect(list, parked);
    PressFlatButton(page, Refresh);
    ASSERT_EQ(SelectedRow(list), parked);
    PressFlatButton(page, Delete, true);
    HWND box = Box("TwSame (Disabled)");
    EXPECT_NE(MessageBoxText(box).find(UserPlace + "\\Disabled"), std::string::npos)
        << MessageBoxText(box);
    Answer(box, IDYES);
    EXPECT_TRUE(WaitFor([&] { return ReadAt(UserParked, "TwSame") == "<none>"; }));
    EXPECT_EQ(ReadAt(UserRun, "TwSame"), "live.exe");

    // The 32-bit program's entry is parked, found again and restored in its own view.
    const int wow = RowOf(list, "TwSame", "Enabled", Machine32Place);
    ASSERT_GE(wow, 0);
    ListViewSelect(list, wow);
    PressFlatButton(page, Disable);
    EXPECT_EQ(ReadAt(Machine32Parked, "TwSame"), "wow.exe");
    EXPECT_EQ(ReadAt(Machine32Run, "TwSame"), "<none>");
    EXPECT_EQ(ReadAt(MachineParked, "TwSame"), "<none>");
    PressFlatButton(page, Refresh);
    ASSERT_EQ(SelectedRow(list), RowOf(list, "TwSame", "Disabled", Machine32Place));
    PressFlatButton(page, Enable);
    EXPECT_EQ(ReadAt(Machine32Run, "TwSame"), "wow.exe");
    EXPECT_EQ(ReadAt(MachineRun, "TwSame"), "<none>");
    PressFlatButton(page, Delete, true);
    Answer(Box(Machine32Place.c_str()), IDYES);
    EXPECT_TRUE(WaitFor([&] { return ReadAt(Machine32Run, "TwSame") == "<none>"; }));
    EXPECT_EQ(ReadAt(UserRun, "TwSame"), "live.exe");
    CloseProgram();
}

// "Load At Windows Startup" shows the "Run" entry as it stands whenever the page
// shows: unticked once the entry is parked on the startup page, so that one click
// writes it again, its path quoted.
TEST_F(SchedulerAndStartup, TheOptionsBoxShowsTheRunEntryAsItStandsAndWritesItQuoted) {
    const std::string program = Program.Dir() + "Tarnwhistle.exe";
    Program.WritePrefs([](TEraserEngine& engine) { ASSERT_TRUE(engine.SetLoadAtStartup(true)); });
    StartProgram();
    HWND page = ShowPage("Run Options       ", "TTOptions");
    HWND box = FindChild(page, "TCheckBox", "Load At Windows Startup");
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    page = ShowStartupManager();
    HWND list = FindChild(page, "TListView");
    const int own = RowOf(list, "Tarnwhistle", "Enabled", UserPlace);
    ASSERT_GE(own, 0);
    ListViewSelect(list, own);
    PressFlatButton(page, Disable);
    ASSERT_EQ(ReadAt(UserRun, "Tarnwhistle"), "<none>");
    ShowPage("Run Options       ", "TTOptions");
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ReadAt(UserRun, "Tarnwhistle"), "\"" + program + "\"");
    CloseProgram();
    EXPECT_NE(ReadFileToString(Program.Dir() + "prefs.dat").find("LoadAtStartup=\"True\""),
              std::string::npos);
}

} // namespace
