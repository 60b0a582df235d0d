// The tool pages of the running program: plug-ins, hot keys, Internet Explorer
// settings, startup manager, scheduler, options and stored passwords, driven through
// window messages, the keyboard, the registry and the program's files.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/SecretCipher.h"
#include "support/KeySecurity.h"
#include "support/Shortcuts.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

const char* const TestKey = "Software\\TarnwhistleTest\\ToolPages";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const IEMainKey = "Software\\Microsoft\\Internet Explorer\\Main";
const char* const UrlTemplateKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\UrlTemplate";

std::string ReadValue(const std::string& key, const std::string& name) {
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.OpenKey(key, false) && reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
}

void WriteValue(const std::string& key, const std::string& name, const std::string& value) {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(name, value);
}

// Selects the row with that caption (the later one of two when `second`) as the arrow
// keys would. Throws when it cannot: the clicks after it would act on another row.
void SelectRow(HWND list, const std::string& caption, bool second = false) {
    const std::vector<std::string> captions = ListViewCaptions(list);
    auto row = std::find(captions.begin(), captions.end(), caption);
    if (second && row != captions.end()) row = std::find(row + 1, captions.end(), caption);
    if (row == captions.end()) throw std::runtime_error("no row " + caption);
    PressKey(list, VK_HOME);
    for (auto i = captions.begin(); i != row; ++i)
        PressKey(list, VK_DOWN);
    // Sent clicks overtake posted keys: the keys must have been taken first.
    const LRESULT index = row - captions.begin();
    if (!WaitFor([&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == index; }))
        throw std::runtime_error("row not selected: " + caption);
}

// A left click of the mouse at the middle of a window, once the window is the one
// there on the screen.
void ClickWithMouse(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_TRUE(WaitFor([&] {
        return GetForegroundWindow() == GetAncestor(wnd, GA_ROOT) && WindowFromPoint(middle) == wnd;
    }));
    MouseClick(wnd);
}

// Keys typed on the keyboard: the modifiers held while the key goes down and up.
void TypeKeys(std::vector<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        inputs.push_back(in);
    };
    for (WORD m : modifiers)
        add(m, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        add(*m, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class ToolPages : public TProgramTest {
protected:
    void TearDown() override {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        reg.DeleteKey(std::string("\\") + TestKey);
    }
    // The scheduler, the third of the tabs that "User settings" shows.
    HWND ShowScheduler() {
        HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
        NextTab(page);
        NextTab(page);
        return WaitForPage("TTScheduler");
    }
    static HWND Button(HWND parent, const char* caption) {
        HWND button = FindChild(parent, "TButton", caption);
        EXPECT_NE(button, nullptr) << caption;
        return button;
    }
    // Waits for a message box of the program, checks its text and presses a button.
    void AnswerBox(const std::string& textPart, int button) {
        Answer(Box(textPart.c_str()), button);
    }
    // A box naming both parts; with `mouse`, the button is clicked with the mouse as a
    // person would.
    void AnswerBoxNaming(const char* first, const char* second, int button, bool mouse = false) {
        HWND box = Box(first);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(MessageBoxText(box).find(second), std::string::npos) << MessageBoxText(box);
        if (!mouse) return Answer(box, button);
        // On a loaded machine a click can be lost while the box takes over the mouse; a
        // person clicks again. A box that never takes the mouse still fails.
        bool closed = false;
        for (int click = 0; click < 3 && !closed && IsWindow(box); ++click) {
            ClickWithMouse(GetDlgItem(box, button));
            closed = WaitFor([&] { return !IsWindow(box); }, 5000);
        }
        ASSERT_TRUE(closed || !IsWindow(box));
    }
};

// A plug-in ticked on its page runs in a real clean, which the "Rapid Erase:" key
// starts once it has been changed and applied; the old key is free then.
TEST_F(ToolPages, ATickedPlugInRunsInACleanStartedByTheNewRapidEraseKey) {
    const std::string plugins = Program.Dir() + "Plugins\\";
    ForceDirectories(plugins);
    WriteStringToFile(plugins + "cleaner.ppw",
                      std::string("<?xml version=\"1.0\"?><Plugin Name=\"Test Cleaner\" "
                                  "Version=\"2.1\" Description=\"Removes a key\">"
                                  "<RegistryActions><Action RootKey=\"2147483649\" Path=\"") +
                          TestKey + "\" ActionType=\"0\"/></RegistryActions></Plugin>");
    WriteStringToFile(plugins + "broken.ppw", "<Plugin Name=\"x\"><unclosed></Plugin>");
    WriteValue(TestKey, "trace", "x");
    ASSERT_TRUE(Program.Start());
    AnswerBox("broken.ppw", IDOK); // named at start, and only it
    WaitForMain();
    HWND page = ShowPage("Plug-ins                  ", "TTPlugins");
    HWND list = FindChild(page, "TListView");
    EXPECT_EQ(ListViewCount(list), 1);
    PostClick(Button(page, "&Select All"));

    page = ShowPage("User settings         ", "TTMiscShortCutKeys");
    std::vector<HWND> keys = Children(FindChild(page, "TGroupBox"), "THotKey");
    ASSERT_EQ(keys.size(), 5u);
    const WORD ctrlShiftE = MAKEWORD('E', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    SendMessageA(keys[0], HKM_SETHOTKEY, ctrlShiftE, 0); // "Rapid Erase:"
    SendMessageA(keys[1], HKM_SETHOTKEY, ctrlShiftE, 0); // "Erase && Reboot:", the same keys
    PostClick(Button(page, "&Apply"));
    AnswerBox("Erase & Reboot: Shift+Ctrl+E", IDOK); // the second taker is named
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, 'E'));
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'Q')); // the old key is free
    UnregisterHotKey(nullptr, 1);

    // A key typed while the message box's focus is still passing back to the main
    // window can reach no window at all: wait for the focus, and type once more if the
    // first press was lost.
    WaitFor([&] { return GetForegroundWindow() == Main; }, 5000);
    TypeKeys({VK_CONTROL, VK_SHIFT}, 'E');
    if (!WaitFor([&] { return !WindowText(Memo).empty(); }, 5000))
        TypeKeys({VK_CONTROL, VK_SHIFT}, 'E');
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    TRegistry reg(KEY_READ);
    EXPECT_FALSE(reg.KeyExists(TestKey));
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    ASSERT_EQ(saved.PluginManager->CheckedPlugins.Count(), 1);
    EXPECT_TRUE(EndsText("cleaner.ppw", saved.PluginManager->CheckedPlugins[0]));
    EXPECT_EQ(saved.Misc->QuickClean, scCtrl | scShift | 'E');
}

// An Internet Explorer setting reaches the registry on "&Save"; protection without an
// address to reset to is refused and saves nothing. An AutoFind entry saved without
// its key creates the key, and a setting that could not be read is named on "&Save".
TEST_F(ToolPages, InternetExplorerSettingsAreSavedToTheRegistry) {
    const std::string oldTitle = ReadValue(IEMainKey, "Window Title");
    WriteValue(IEMainKey, "Window Title", "Before Title");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(IEMainKey, true));
        reg.WriteInteger("Use FormSuggest", 1); // of a type the page cannot read
        reg.RootKey = HKEY_LOCAL_MACHINE;
        reg.DeleteKey(std::string("\\") + UrlTemplateKey);
    }
    StartProgram();
    HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
    NextTab(page);
    page = WaitForPage("TTinternetExplorerSettings");
    HWND title =
        Children(FindChild(page, "TGroupBox", " Internet Explorer Home Page "), "TEdit")[0];
    EXPECT_EQ(WindowText(title), "Before Title");
    SetText(title, "After Title");
    HWND protection = FindChild(page, "TGroupBox", "Start Page Protection");
    SendMessageA(FindChild(protection, "TCheckBox"), BM_CLICK, 0, 0);
    PostClick(Button(page, "&Save"));
    AnswerBox("Please enter the start page that protection resets to.", IDOK);
    EXPECT_EQ(ReadValue(IEMainKey, "Window Title"), "Before Title");
    SetText(FindChild(protection, "TEdit"), "about:blank");

    PostClick(Button(page, "Edit AutoFind"));
    HWND dialog = Program.WaitForWindow("TfEditIEAutoFind");
    ASSERT_NE(dialog, nullptr);
    PostClick(Button(dialog, "&Add"));
    HWND input = Program.WaitForWindow("TInputBoxForm");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(WindowText(input), "Add Item");
    SetText(FindChild(input, "TEdit"), "http://find.example/%s");
    PostClick(Button(input, "OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(input) || !IsWindowVisible(input); }));
    PostClick(Button(dialog, "&OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));

    PostClick(Button(page, "&Save"));
    AnswerBox("Use FormSuggest", IDOK);
    EXPECT_EQ(ReadValue(IEMainKey, "Window Title"), "After Title");
    TRegistry templates(KEY_READ);
    templates.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(templates.OpenKey(UrlTemplateKey, false));
    EXPECT_EQ(templates.ReadString("1"), "http://find.example/%s");
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Misc->ProtectStartPage);
    EXPECT_EQ(saved.Misc->ResetStartPageTo, "about:blank");
    WriteValue(IEMainKey, "Window Title", oldTitle == "<none>" ? "" : oldTitle);
    TRegistry reg;
    if (reg.OpenKey(IEMainKey, false)) reg.DeleteValue("Use FormSuggest");
}

// Disable, enable and delete move a "Run" value and a Startup shortcut; a deletion
// that fails is told and keeps its row. A parked entry whose name is live too is
// enabled only when the user agrees to replace the live one.
TEST_F(ToolPages, StartupEntriesFollowThePageAndNeverOverwriteEachOther) {
    const std::string disabledKey = std::string(RunKey) + "\\Disabled";
    WriteValue(RunKey, "TwRunEntry", "notepad.exe /x");
    WriteValue(RunKey, "TwDup", "new-tool.exe");
    WriteValue(disabledKey, "TwDup", "old-tool.exe");
    const std::string link = UserStartupFolder() + "\\TwLinkEntry.lnk";
    MakeShortcut(link, "C:\\windows\\notepad.exe", "");
    const std::string parked = Program.Dir() + "Disabled Items\\CurrentUser\\TwLinkEntry.lnk";
    const std::string liveDup = UserStartupFolder() + "\\TwLinkDup.lnk";
    const std::string parkedDup = Program.Dir() + "Disabled Items\\CurrentUser\\TwLinkDup.lnk";
    MakeShortcut(liveDup, "C:\\windows\\notepad.exe", "/new-link");
    ForceDirectories(ExtractFilePath(parkedDup));
    MakeShortcut(parkedDup, "C:\\windows\\notepad.exe", "/old-link");
    StartProgram();
    HWND page = ShowPage("PC Manager          ", "TTStartupManager");
    HWND list = FindChild(page, "TListView");
    const TFlatButton enable = fbFirst, disable = fbSecond, remove = fbThird;
    SelectRow(list, "TwRunEntry");
    PressFlatButton(page, enable); // off for an enabled entry
    EXPECT_EQ(ReadValue(disabledKey, "TwRunEntry"), "<none>");
    PressFlatButton(page, disable);
    EXPECT_EQ(ReadValue(RunKey, "TwRunEntry"), "<none>");
    EXPECT_EQ(ReadValue(disabledKey, "TwRunEntry"), "notepad.exe /x");
    PressFlatButton(page, disable); // off for a disabled entry
    EXPECT_EQ(ReadValue(disabledKey, "TwRunEntry"), "notepad.exe /x");
    PressFlatButton(page, enable);
    EXPECT_EQ(ReadValue(RunKey, "TwRunEntry"), "notepad.exe /x");
    const LRESULT rows = ListViewCount(list);
    PressFlatButton(page, remove, true);
    AnswerBox("Are you sure you want to delete selected item?", IDYES);
    // The answer is taken after the box has gone.
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == rows - 1; }));
    EXPECT_EQ(ReadValue(RunKey, "TwRunEntry"), "<none>");

    SelectRow(list, "TwLinkEntry");
    PressFlatButton(page, disable);
    EXPECT_FALSE(FileExists(link));
    EXPECT_TRUE(FileExists(parked));
    PressFlatButton(page, enable);
    EXPECT_TRUE(FileExists(link));
    EXPECT_FALSE(FileExists(parked));
    SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_READONLY);
    PressFlatButton(page, remove, true);
    AnswerBox("Are you sure you want to delete selected item?", IDYES);
    AnswerBox("TwLinkEntry.lnk", IDOK);
    EXPECT_EQ(ListViewCount(list), rows - 1);
    SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
    PressFlatButton(page, remove, true);
    AnswerBox("Are you sure you want to delete selected item?", IDYES);
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == rows - 2; }));
    EXPECT_FALSE(FileExists(link));

    SelectRow(list, "TwDup", true); // the parked one, listed after the live one
    PressFlatButton(page, enable, true);
    AnswerBoxNaming("new-tool.exe", "old-tool.exe", IDNO, true);
    EXPECT_EQ(ReadValue(RunKey, "TwDup"), "new-tool.exe");
    EXPECT_EQ(ReadValue(disabledKey, "TwDup"), "old-tool.exe");
    PressFlatButton(page, enable, true);
    AnswerBoxNaming("new-tool.exe", "old-tool.exe", IDYES);
    EXPECT_TRUE(WaitFor([&] { return ReadValue(RunKey, "TwDup") == "old-tool.exe"; }));
    EXPECT_EQ(ReadValue(disabledKey, "TwDup"), "<none>");

    SelectRow(list, "TwLinkDup", true);
    PressFlatButton(page, enable, true);
    AnswerBoxNaming("/new-link", "/old-link", IDNO);
    SendMessageA(page, WM_NULL, 0, 0);
    EXPECT_TRUE(FileExists(parkedDup));
    TShortcutInfo live;
    ReadShortcut(liveDup, live);
    EXPECT_EQ(live.Arguments, "/new-link");
    CloseProgram();
    SysDeleteFile(liveDup);
    TRegistry reg;
    if (reg.OpenKey(RunKey, false)) reg.DeleteValue("TwDup");
}

// A schedule set on the page fires under the test clock; a wrong number is refused and
// changes nothing, and the hourly minutes keep their 0.
TEST_F(ToolPages, AScheduleSetOnThePageFiresUnderTheTestClock) {
    const std::string clock = Program.Dir() + "clock.txt";
    TDateTime now = EncodeDate(2030, 1, 7) + EncodeTime(10, 0, 0, 0);
    auto setClock = [&](TDateTime moment) {
        char text[32];
        snprintf(text, sizeof(text), "%.8f", moment);
        WriteStringToFileAtomically(clock, text);
    };
    setClock(now);
    Program.WritePrefs([](TEraserEngine&) {});
    SetEnvironmentVariableA("TW_CLOCK_FILE", clock.c_str());
    StartProgram();
    SetEnvironmentVariableA("TW_CLOCK_FILE", nullptr);
    HWND page = ShowScheduler();
    SendMessageA(FindChild(page, "TCheckBox", "Enable Scheduler"), BM_CLICK, 0, 0);
    SendMessageA(FindChild(page, "TRadioButton", "Every"), BM_CLICK, 0, 0);
    HWND every = Children(FindChild(page, "TGroupBox", "Every"), "TEdit")[0];
    EXPECT_TRUE(IsWindowVisible(every));
    EXPECT_EQ(WindowText(Children(FindChild(page, "TGroupBox", "Hourly"), "TEdit")[1]), "0");
    SetText(every, "0");
    PostClick(Button(page, "&Apply"));
    AnswerBox("Please enter a whole number from 1 to 99999", IDOK);
    SetText(every, "2");
    SendMessageA(Button(page, "&Apply"), BM_CLICK, 0, 0);
    // Three minutes pass at every look until the schedule has fired once.
    ASSERT_TRUE(WaitFor([&] {
        if (WindowText(Memo).find("Cleaning Completed!") != std::string::npos) return true;
        try {
            setClock(now += 3.0 / 1440);
        } catch (const Exception&) {
            // the program is reading it: the clock moves at the next look
        }
        return false;
    })) << WindowText(Memo);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Scheduler->Enabled());
    EXPECT_EQ(saved.Scheduler->Kind, skEvery);
    EXPECT_EQ(saved.Scheduler->EveryMinutes, 2);
    EXPECT_EQ(saved.Scheduler->HourlyMinutes, 0);
}

// A stored "Every 15 minutes" shows 15 on the page made at its first show, and
// "&Apply" keeps it; a weekly schedule without a day, or a monthly one on the n-th
// weekday without a month, or a one-time one in the past, never fires and is refused.
TEST_F(ToolPages, SchedulerNumbersKeepTheirValuesAndSchedulesThatNeverFireAreRefused) {
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Scheduler->Kind = skWeekly;
        engine.Scheduler->EveryMinutes = 15;
        engine.Scheduler->HourlyHours = 7;
        engine.Scheduler->MonthlyAtDay = false;
    });
    StartProgram();
    HWND page = ShowScheduler();
    HWND every = Children(FindChild(page, "TGroupBox", "Every"), "TEdit")[0];
    EXPECT_EQ(WindowText(every), "15");
    EXPECT_EQ(WindowText(Children(FindChild(page, "TGroupBox", "Hourly"), "TEdit")[0]), "7");
    SendMessageA(FindChild(page, "TCheckBox", "Enable Scheduler"), BM_CLICK, 0, 0);
    PostClick(Button(page, "&Apply"));
    AnswerBox("Please tick at least one day of the week for the weekly schedule.", IDOK);
    SendMessageA(FindChild(page, "TRadioButton", "Monthly"), BM_CLICK, 0, 0);
    PostClick(Button(page, "&Apply"));
    AnswerBox("Please tick at least one month for the monthly schedule.", IDOK);
    SendMessageA(FindChild(page, "TRadioButton", "Once"), BM_CLICK, 0, 0); // today at 00:00
    PostClick(Button(page, "&Apply"));
    AnswerBox("The one-time schedule is set for a moment that has passed", IDOK);
    SendMessageA(FindChild(page, "TRadioButton", "Every"), BM_CLICK, 0, 0);
    SendMessageA(Button(page, "&Apply"), BM_CLICK, 0, 0);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Scheduler->Enabled());
    EXPECT_EQ(saved.Scheduler->Kind, skEvery);
    EXPECT_EQ(saved.Scheduler->EveryMinutes, 15);
    EXPECT_EQ(saved.Scheduler->HourlyHours, 7);
}

// A hot key another program holds is named at start (in stealth mode in the log
// only); the stealth and boss keys are taken only while their features are on.
TEST_F(ToolPages, HotKeysHeldElsewhereAreNamedAtStartAndSwitchedOffOnesStayFree) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'Q'));
    ASSERT_TRUE(Program.Start());
    AnswerBox("Rapid Erase: Ctrl+Alt+Q", IDOK);
    WaitForMain();
    for (UINT key : {UINT('A'), UINT(VK_SPACE)}) {
        EXPECT_TRUE(RegisterHotKey(nullptr, 2, MOD_ALT, key)) << key;
        UnregisterHotKey(nullptr, 2);
    }
    CloseProgram();

    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Misc->StealthModeEnabled = true;
        engine.Misc->BossKeyEnabled = true;
    });
    StartProgram();
    EXPECT_TRUE(LogShows("Rapid Erase: Ctrl+Alt+Q")) << WindowText(Memo);
    EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr);
    for (UINT key : {UINT('A'), UINT(VK_SPACE)})
        EXPECT_FALSE(RegisterHotKey(nullptr, 2, MOD_ALT, key)) << key;
    CloseProgram();
    UnregisterHotKey(nullptr, 1);
}

// Each of the program's keys typed into a hot-key box is taken by the box and runs
// nothing (no clean, no request to end Windows); leaving the box brings them back.
TEST_F(ToolPages, KeysTypedIntoAHotKeyBoxRunNothing) {
    StartProgram();
    const auto shutdownKeyFree = [] {
        return RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'S') &&
               UnregisterHotKey(nullptr, 1);
    };
    HWND page = ShowPage("User settings         ", "TTMiscShortCutKeys");
    HWND box = Children(FindChild(page, "TGroupBox"), "THotKey").at(0);
    ClickWithMouse(box);
    ASSERT_TRUE(WaitFor(shutdownKeyFree));
    for (const char key : {'R', 'S', 'T', 'B', 'Q'}) {
        TypeKeys({VK_CONTROL, VK_MENU}, key);
        EXPECT_TRUE(WaitFor([&] {
            return SendMessageA(box, HKM_GETHOTKEY, 0, 0) ==
                   MAKEWORD(key, HOTKEYF_CONTROL | HOTKEYF_ALT);
        })) << key;
    }
    ClickWithMouse(FindChild(page, "TCheckBox", "Boss Key"));
    EXPECT_TRUE(WaitFor([&] { return !shutdownKeyFree(); }));
    EXPECT_EQ(WindowText(Memo), "");
    CloseProgram();
}

// The access password set on the Options page guards the next start; stored passwords
// added, edited and deleted on their page are kept encrypted and come back. A secret
// that fits the code page is stored in its bytes, as other builds store it; one that
// does not comes back whole. "Load At Windows Startup" makes a missing "Run" key.
TEST_F(ToolPages, PasswordsAreKeptEncryptedAndComeBackAfterARestart) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::string japanese = "\u30d1\u30b9\u30ef\u30fc\u30c9";
    const std::string access = "S\u00e9 cret";
    {
        TRegistry reg;
        reg.DeleteKey(std::string("\\") + RunKey);
    }
    StartProgram();
    HWND page = ShowPage("PC Manager          ", "TTStartupManager");
    NextTab(page);
    page = WaitForPage("TfraPasswordManager");
    HWND list = FindChild(page, "TListView");
    const TFlatButton add = fbFirst, change = fbSecond, remove = fbThird;
    auto edit = [&](TFlatButton command, const char* caption,
                    std::vector<std::optional<std::string>> texts) {
        PressFlatButton(page, command, true);
        HWND dialog = Program.WaitForWindow("TfEditPasswordManager");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), caption);
        std::vector<HWND> fields = Children(dialog, "TEdit");
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i]) SetText(fields[i], *texts[i]);
        PostClick(Button(dialog, "&OK"));
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    };
    PressFlatButton(page, change); // nothing selected: nothing to edit
    edit(add, "Add Password", {"Mail", "joe", "old-pw", "mail.example.org"});
    edit(add, "Add Password", {"Bank", "jo", "bank-pw", ""});
    EXPECT_EQ(ListViewCount(list), 2);
    SelectRow(list, "Mail");
    edit(change, "Edit Password", {std::nullopt, std::nullopt, japanese, std::nullopt});
    SelectRow(list, "Bank");
    PressFlatButton(page, remove, true);
    AnswerBox("Are you sure you want to deleted selected password?", IDNO);
    EXPECT_EQ(ListViewCount(list), 2);
    PressFlatButton(page, remove, true);
    AnswerBox("Are you sure you want to deleted selected password?", IDYES);
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));

    page = ShowPage("Run Options       ", "TTOptions");
    HWND loadAtStartup = FindChild(page, "TCheckBox", "Load At Windows Startup");
    SendMessageA(loadAtStartup, BM_CLICK, 0, 0); // the "Run" key is made
    EXPECT_TRUE(EndsText("Tarnwhistle.exe\"", ReadValue(RunKey, "Tarnwhistle")));
    SendMessageA(loadAtStartup, BM_CLICK, 0, 0);
    EXPECT_EQ(ReadValue(RunKey, "Tarnwhistle"), "<none>");
    SetKeySecurity(RunKey, ReadOnlyKeyRules);
    PostClick(loadAtStartup);
    AnswerBox("The program could not be set to load at Windows startup", IDOK);
    EXPECT_EQ(SendMessageA(loadAtStartup, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SetKeySecurity(RunKey, OpenKeyRules);
    SendMessageA(loadAtStartup, BM_CLICK, 0, 0);
    HWND group = FindChild(page, "TGroupBox", " Password ");
    SendMessageA(FindChild(group, "TCheckBox"), BM_CLICK, 0, 0);
    std::vector<HWND> edits = Children(group, "TEdit");
    ASSERT_EQ(edits.size(), 2u);
    SetText(edits[0], access);
    SetText(edits[1], "S\u00e9 Cret");
    PostClick(Button(group, "&Apply"));
    AnswerBox("Password do not match. Please enter the password again.", IDOK);
    SetText(edits[1], access);
    SendMessageA(Button(group, "&Apply"), BM_CLICK, 0, 0);

    CloseProgram();

    const std::string prefs = ReadFileToString(Program.Dir() + "prefs.dat");
    for (const char* secret : {"old-pw", "joe", "Bank"})
        EXPECT_EQ(prefs.find(secret), std::string::npos) << secret;
    // The bytes of code page 1252, as every build of the file writes them.
    const std::string stored = "Access=\"" + TSecretCipher().Encrypt("S\xe9 cret") + "\"";
    EXPECT_NE(prefs.find(stored), std::string::npos) << prefs;
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.AccessPassword, access);
    EXPECT_TRUE(saved.GetLoadAtStartup());
    ASSERT_EQ(saved.Misc->Passwords.size(), 1u);
    EXPECT_EQ(saved.Misc->Passwords[0]->Title, "Mail");
    EXPECT_EQ(saved.Misc->Passwords[0]->Password, japanese);

    StartWithPassword(access);
    page = ShowPage("PC Manager          ", "TTStartupManager");
    NextTab(page);
    page = WaitForPage("TfraPasswordManager");
    EXPECT_EQ(ListViewCount(FindChild(page, "TListView")), 1);
    CloseProgram();
    TRegistry reg;
    if (reg.OpenKey(RunKey, false)) reg.DeleteValue("Tarnwhistle");
}

} // namespace
