// The program seen from outside: started in its own folder, driven by window messages.
#include "ProgramTest.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/catalogue/TypedURLs.h"
#include "engine/erasers/PostEraser.h"
#include "support/HostLinks.h"
#include "support/PopupMenus.h"
#include "support/PumpMessages.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

const char* const RunMRUKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// A run history entry, as the Run box leaves it.
void PlantRunHistory() {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    ASSERT_TRUE(reg.OpenKey(RunMRUKey, true));
    reg.WriteString("a", "notepad\\1");
    reg.WriteString("MRUList", "a");
}

bool RunHistoryPresent() {
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_CURRENT_USER;
    return reg.KeyExists(RunMRUKey);
}

// Only the run history item is on; everything else a run would touch stays off.
void OnlyRunHistory(TEraserEngine& engine) {
    engine.Item(ciEraseRunHistory).Enabled = true;
}

class MainWindow : public TProgramTest {};

// A window of Internet Explorer's class, as the program looks for browsers.
struct TFakeBrowser {
    explicit TFakeBrowser(DWORD style) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "IEFrame";
        RegisterClassA(&wc);
        Window = CreateWindowA("IEFrame", "browser", WS_OVERLAPPED | style, 0, 0, 10, 10, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }
    ~TFakeBrowser() {
        DestroyWindow(Window);
        UnregisterClassA("IEFrame", GetModuleHandleA(nullptr));
    }
    TFakeBrowser(const TFakeBrowser&) = delete;
    TFakeBrowser& operator=(const TFakeBrowser&) = delete;
    HWND Window = nullptr;
};

TEST_F(MainWindow, SimulationCountsWithoutErasingAndSettingsAreWrittenAtClose) {
    PlantRunHistory();
    Program.WritePrefs(OnlyRunHistory);
    StartProgram();
    EXPECT_EQ(WindowText(Main), "  Tarnwhistle 1.0");
    PostClick(Button("Simulation Mode  "));
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_NE(WindowText(Memo).find("Run History From Start Menu->Run Erased."), std::string::npos)
        << WindowText(Memo);
    EXPECT_TRUE(RunHistoryPresent());
    // A box toggled on the Windows page reaches prefs.dat when the window closes.
    PostClick(Button("Cleaner Settings   "));
    HWND recycleBin = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (recycleBin = FindChild(Main, "TCheckBox", "Erase Windows Recycle Bin (*)")) !=
                   nullptr &&
               IsWindowVisible(recycleBin);
    }));
    EXPECT_EQ(
        SendMessageA(FindChild(Main, "TCheckBox", "Erase Windows Clipboard"), BM_GETCHECK, 0, 0),
        BST_UNCHECKED); // as prefs.dat says, against its default
    EXPECT_EQ(SendMessageA(recycleBin, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PostClick(recycleBin);
    CloseProgram();
    TEraserEngine saved;
    Program.ReadPrefs(saved);
    EXPECT_TRUE(saved.Item(ciEraseRecycleBin).Enabled);
    EXPECT_TRUE(saved.Item(ciEraseRunHistory).Enabled);
    EXPECT_FALSE(saved.Item(ciEraseWindowsClipboard).Enabled);
}

// Traces named in any script go in one clean: nothing is deferred, so neither
// "posterase.dat" nor the run-once value is written, and a kept typed address keeps
// every byte under its new name.
TEST_F(MainWindow, TracesNamedInAnyScriptAreCleanedAtOnce) {
    const std::string recent = SpecialFolder(CSIDL_RECENT) + "\\";
    const std::vector<std::string> traces = {recent + "\u6587\u66f8.lnk",
                                             recent + "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1.lnk",
                                             recent + "\U0001F600.lnk"};
    for (const std::string& trace : traces)
        WriteStringToFile(trace, "trace");
    const std::string kept = "http://\u4f8b\u3048.jp/\u00fc";
    TRegistry reg;
    reg.DeleteKey(TypedURLsKey);
    ASSERT_TRUE(reg.OpenKey(TypedURLsKey, true));
    reg.WriteString("url1", "http://a/");
    reg.WriteString("url2", kept);
    Program.WritePrefs([](TEraserEngine& engine) {
        engine.Item(ciEraseStartMenuRecentDocuments).Enabled = true;
        engine.Item(ciIEEraseTypedURLs).Enabled = true;
        engine.RegistryItem(ciIEEraseTypedURLs).ExcludedValues = {"url2"};
    });
    StartProgram();
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    for (const std::string& trace : traces)
        EXPECT_FALSE(FileExists(trace)) << trace;
    EXPECT_FALSE(FileExists(Program.Dir() + "posterase.dat"));
    TRegistry runOnce(KEY_READ);
    runOnce.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(runOnce.OpenKey(RunOnceKey, false) && runOnce.ValueExists(RunOnceValue));
    EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{"url1"});
    EXPECT_EQ(reg.ReadString("url1"), kept);
    CloseProgram();
    reg.DeleteKey("\\" + std::string(TypedURLsKey));
}

// The fault a user met: a host link in a cleaned folder to a file outside it. The
// link and its target stay, the log says so, and nothing is deferred for it.
TEST_F(MainWindow, ACleanLeavesALinkAndItsTarget) {
    TTempFolder outside;
    const std::string target = outside.Write("secret.txt", "secret");
    const std::string recent = SpecialFolder(CSIDL_RECENT) + "\\";
    const std::string link = recent + "secret.lnk", own = recent + "own.lnk";
    WriteStringToFile(own, "trace");
    if (!MakeHostLink(link, target)) GTEST_SKIP() << "host links cannot be made here";
    Program.WritePrefs(
        [](TEraserEngine& engine) { engine.Item(ciEraseStartMenuRecentDocuments).Enabled = true; });
    StartProgram();
    ASSERT_NO_FATAL_FAILURE(RunRapidErase());
    EXPECT_TRUE(LogShows(link + ": ", 0)) << WindowText(Memo);
    EXPECT_EQ(ReadFileToString(target), "secret");
    EXPECT_TRUE(Listed(link));
    EXPECT_FALSE(FileExists(own));
    EXPECT_FALSE(FileExists(Program.Dir() + "posterase.dat"));
    CloseProgram();
    RemoveHostLinks({link});
}

// A file in use is deferred by a run that restarts Windows: the notice is a plain box
// owned by the main window, and the restart follows only once it is answered.
TEST_F(MainWindow, ARestartRunThatDefersWorkAnnouncesItBeforeTheRestart) {
    const std::string locked = SpecialFolder(CSIDL_RECENT) + "\\inuse.txt";
    WriteStringToFile(locked, "trace");
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Program.WritePrefs(
        [](TEraserEngine& engine) { engine.Item(ciEraseStartMenuRecentDocuments).Enabled = true; });
    const std::string exitLog = Program.Dir() + "exitwindows.log";
    SetEnvironmentVariableA("TW_EXITWINDOWS_LOG", exitLog.c_str());
    StartProgram();
    SetEnvironmentVariableA("TW_EXITWINDOWS_LOG", nullptr);
    StartSystemClean("Restart my computer upon completion (Recommended)");

    HWND notice = Program.WaitForWindow("#32770");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(GetWindow(notice, GW_OWNER), Main);
    EXPECT_EQ(WindowText(notice), "  Tarnwhistle 1.0");
    EXPECT_EQ(MessageBoxText(notice),
              "System Clean finished.\r\n\r\nPlease note some items can only be erased during the "
              "reboot phase of windows. The next time you boot/restart your computer these "
              "elements will be cleaned and cause your system to automatically restart again to "
              "complete the process.");
    EXPECT_FALSE(FileExists(exitLog));
    PostClick(GetDlgItem(notice, IDOK));
    EXPECT_TRUE(WaitFor([&] { return TextOnceWritten(exitLog) == "2"; })); // EWX_REBOOT
    EXPECT_TRUE(FileExists(Program.Dir() + "posterase.dat"));
    CloseProgram();

    CloseHandle(lock);
    DeleteFileA(locked.c_str());
    TRegistry runOnce;
    runOnce.RootKey = HKEY_LOCAL_MACHINE;
    if (runOnce.OpenKey(RunOnceKey, false)) runOnce.DeleteValue(RunOnceValue);
}

// Cancelled or closed, the cleaning-mode dialog runs nothing and forgets its choice;
// opened again, a choice enables OK, which cleans.
TEST_F(MainWindow, TheCleaningModeDialogRunsNothingUntilAChoiceIsConfirmed) {
    PlantRunHistory();
    Program.WritePrefs([](TEraserEngine& engine) {
        OnlyRunHistory(engine);
        engine.Item(ciIEEraseAutoCompleteFormsData).Enabled = true;
    });
    StartProgram();
    HWND dialog = OpenCleanMethodSelector();
    ASSERT_NE(dialog, nullptr);
    HWND ok = FindChild(dialog, "TButton", "&OK");
    HWND shutdown = FindChild(dialog, "TRadioButton", "Shutdown my computer upon completion");
    EXPECT_FALSE(IsWindowEnabled(ok)); // no choice made yet
    SendMessageA(shutdown, BM_CLICK, 0, 0);
    PostClick(FindChild(dialog, "TButton", "&Cancel"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    PostClick(Button("System Clean        "));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    SendMessageA(dialog, WM_NULL, 0, 0); // shown, and activated once the dialog answers
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_EQ(SendMessageA(shutdown, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(WindowText(Memo), "");
    EXPECT_TRUE(RunHistoryPresent());
    EXPECT_TRUE(IsWindowEnabled(Button("System Clean        ")));

    ASSERT_EQ(OpenCleanMethodSelector(), dialog);
    SendMessageA(FindChild(dialog, "TRadioButton", RapidErase), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(ok));
    PostClick(ok);
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_FALSE(RunHistoryPresent());
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == Main; }));
    CloseProgram();
}

TEST_F(MainWindow, StopEndsARunningClean) {
    PlantRunHistory();
    Program.WritePrefs(OnlyRunHistory);
    StartProgram();
    // Both clicks wait in the queue: the run meets the stop at its first look at it.
    HWND stop = Button("Stop Process         ");
    StartSystemClean(RapidErase);
    PostClick(stop);
    ASSERT_TRUE(LogShows("Cleaning terminated by user.")) << WindowText(Memo);
    EXPECT_TRUE(RunHistoryPresent());
    EXPECT_TRUE(IsWindowEnabled(Button("Simulation Mode  ")));
    CloseProgram();
}

// A simulation is one run only: the quick clean of a hot key after it erases for real.
TEST_F(MainWindow, HotKeysCallTheEngineAndOtherIdsNothing) {
    PlantRunHistory();
    Program.WritePrefs(OnlyRunHistory);
    StartProgram();
    SendMessageA(Main, WM_HOTKEY, 1234, 0);
    EXPECT_EQ(WindowText(Memo), "");
    SendMessageA(Main, WM_HOTKEY, 1000, 0); // the quick clean
    EXPECT_NE(WindowText(Memo).find("Cleaning Completed!"), std::string::npos);
    EXPECT_FALSE(RunHistoryPresent());
    PlantRunHistory();
    SendMessageA(Button("Simulation Mode  "), BM_CLICK, 0, 0); // returns after the run
    EXPECT_TRUE(RunHistoryPresent());
    SendMessageA(Main, WM_HOTKEY, 1000, 0);
    EXPECT_NE(WindowText(Memo).find("Cleaning Completed!"), std::string::npos);
    EXPECT_FALSE(RunHistoryPresent());
    CloseProgram();
}

// Closing runs the clean first; a stopped run keeps the window open, also when a
// second close came during it. A close during another run is made at its end.
TEST_F(MainWindow, AStoppedCleanAtShutdownKeepsTheWindowOpen) {
    PlantRunHistory();
    Program.WritePrefs([](TEraserEngine& engine) {
        OnlyRunHistory(engine);
        engine.AutoCleanAtWindowsShutdown = true;
    });
    StartProgram();
    HWND stop = Button("Stop Process         ");
    PostMessageA(Main, WM_CLOSE, 0, 0);
    PostMessageA(Main, WM_CLOSE, 0, 0); // handled during the clean the first one started
    PostClick(stop);
    ASSERT_TRUE(LogShows("Cleaning terminated by user.")) << WindowText(Memo);
    SendMessageA(Main, WM_NULL, 0, 0); // the close has been handled
    EXPECT_FALSE(Program.WaitForExit(0));
    EXPECT_TRUE(IsWindowVisible(Main));
    EXPECT_TRUE(RunHistoryPresent());
    PostClick(Button("Simulation Mode  "));
    PostMessageA(Main, WM_CLOSE, 0, 0); // waits for the simulation, then cleans for real
    ASSERT_TRUE(Program.WaitForExit());
    EXPECT_FALSE(RunHistoryPresent());
}

// A start in the tray shows no window, not even a box: a plug-in that cannot be loaded
// is named in the log, also after the clean of "Auto Clean when Windows Starts", which
// still runs.
TEST_F(MainWindow, AStartInTheTrayShowsNoWindowYetCleansAndLogsABrokenPlugIn) {
    PlantRunHistory();
    Program.WritePrefs([](TEraserEngine& engine) {
        OnlyRunHistory(engine);
        engine.StartInSystemTray = true;
        engine.AutoCleanAtWindowsStart = true;
    });
    ForceDirectories(Program.Dir() + "Plugins");
    WriteStringToFile(Program.Dir() + "Plugins\\broken.ppw", "<Plugin Name=\"x\"><unclosed>");
    ASSERT_TRUE(Program.Start());
    ASSERT_TRUE(
        WaitFor([&] { return (Main = Program.FindWindowOfClass("TfMain", false)) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return (Memo = FindChild(Main, "TMemo")) != nullptr; }));
    EXPECT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_FALSE(RunHistoryPresent());
    EXPECT_NE(WindowText(Memo).find("broken.ppw"), std::string::npos) << WindowText(Memo);
    EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr);
    EXPECT_FALSE(IsWindowVisible(Main));
    CloseProgram();
}

// The buttons on the left choose the sheet and which tool tabs show; Help without its
// file says nothing.
TEST_F(MainWindow, NavigationChoosesSheetsAndTabsAndHelpSaysNothing) {
    StartProgram();
    SendMessageA(Button("Help && Support       "), BM_CLICK, 0, 0);
    EXPECT_EQ(Program.FindWindowOfClass("#32770"), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Main));
    auto sheetShown = [&](const char* caption) {
        return WaitFor([&] {
            HWND sheet = FindChild(Main, "TTabSheet", caption);
            return sheet && IsWindowVisible(sheet);
        });
    };
    auto tabCount = [&] {
        HWND pages = GetParent(FindChild(Main, "TTabSheet", "Shortcut Keys"));
        return SendMessageA(pages, TCM_GETITEMCOUNT, 0, 0);
    };
    PostClick(Button("User settings         "));
    EXPECT_TRUE(sheetShown("Shortcut Keys"));
    EXPECT_EQ(tabCount(), 3); // Internet Explorer, Shortcut Keys, Scheduler
    PostClick(Button("PC Manager          "));
    EXPECT_TRUE(sheetShown("Startup Manager")); // the first shown tab after Internet Explorer
    EXPECT_EQ(tabCount(), 4);
    PostClick(Button("Run Options       "));
    EXPECT_TRUE(sheetShown("Options"));
    EXPECT_EQ(tabCount(), 2); // Registry Backup is not named and stays from before
    PostClick(Button("Scan/Erase           "));
    EXPECT_TRUE(sheetShown("Main"));
    EXPECT_FALSE(IsWindowVisible(FindChild(Main, "TTabSheet", "Misc")));

    CloseProgram();
}

// Messages 2026 and 2025, as the stealth toggle or another program sends them, hide
// the tray icon and switch it off, then switch it on and show it again.
TEST_F(MainWindow, TrayIconMessagesHideAndShowTheIcon) {
    StartProgram();
    DWORD pid = 0;
    GetWindowThreadProcessId(Main, &pid);
    // The program's shared window of its one tray icon hears the shell's right click.
    auto rightClickIcon = [&] {
        bool busy = false;
        for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, L"TPUtilWindow", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            DWORD_PTR result = 0;
            if (owner == pid)
                busy |=
                    !SendMessageTimeoutW(w, 0x800, 1, WM_RBUTTONDOWN, SMTO_NORMAL, 1000, &result);
        }
        return busy; // a menu is being tracked
    };
    SendMessageA(Main, 2026, 0, 0);
    EXPECT_FALSE(rightClickIcon());
    EXPECT_TRUE(ShownMenus().empty());
    SendMessageA(Main, 2025, 0, 0);
    EXPECT_TRUE(rightClickIcon());
    ASSERT_TRUE(WaitFor([] { return !ShownMenus().empty(); }));
    for (HWND menu : ShownMenus())
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitFor([] { return ShownMenus().empty(); }));
    CloseProgram();
}

// While a run goes the keep buttons are greyed: the dialogs would empty the cookie
// eraser's exclusion list under the run. The run is held at its question about an
// open Internet Explorer (a window of its class made here; Enter answers No).
TEST_F(MainWindow, TheKeepButtonsAreDisabledWhileARunGoes) {
    Program.WritePrefs([](TEraserEngine& engine) { engine.Item(ciIEEraseCookies).Enabled = true; });
    TFakeBrowser browser(0);
    StartProgram();
    PostClick(Button("Cleaner Settings   "));
    PostClick(Button("Internet Browsers"));
    HWND keepCookies = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        keepCookies = FindChild(Main, "TButton", "Keep Cookies");
        return keepCookies && IsWindowVisible(keepCookies);
    }));
    HWND keepURLs = FindChild(Main, "TButton", "Keep Typed URLs");
    PostClick(Button("Scan/Erase           "));
    PostClick(Button("Simulation Mode  "));
    HWND question = Program.WaitForWindow("#32770");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(GetWindow(question, GW_OWNER), Main);
    EXPECT_EQ(WindowText(question), "  Tarnwhistle");
    EXPECT_FALSE(IsWindowEnabled(keepCookies));
    EXPECT_FALSE(IsWindowEnabled(keepURLs));
    PressEnter(question); // No, the default: Yes would end this process, the browser's
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(keepCookies) && IsWindowEnabled(keepURLs); }));
    CloseProgram();
}

// Browsers hidden by the boss key come back when the program ends, whatever the
// switch says by then.
TEST_F(MainWindow, BrowsersHiddenByTheBossKeyComeBackWhenTheProgramEnds) {
    Program.WritePrefs([](TEraserEngine& engine) { engine.Misc->BossKeyEnabled = true; });
    TFakeBrowser browser(WS_VISIBLE);
    StartProgram();
    SendMessageA(Main, WM_HOTKEY, 6000, 0);
    // The browser's thread, this one, shows and hides its window.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(browser.Window); }, 20000));
    CloseProgram();
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(browser.Window); }, 20000));
}

TEST_F(MainWindow, ASecondInstanceEndsAtOnceAndWritesNothing) {
    StartProgram();
    TProgramRun second;
    CopyFileA((Program.Dir() + "Tarnwhistle.exe").c_str(),
              (second.Dir() + "Tarnwhistle.exe").c_str(), FALSE);
    ASSERT_TRUE(second.Start("one two"));
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.FindWindowOfClass("TfMain", false), nullptr);
    EXPECT_FALSE(FileExists(second.Dir() + "prefs.dat"));
    EXPECT_TRUE(IsWindow(Main));
    CloseProgram();
}

} // namespace

namespace {

void GuardedAutoClean(TEraserEngine& engine) {
    OnlyRunHistory(engine);
    engine.AccessPassword = "Secret";
    engine.AutoCleanAtWindowsStart = true;
}

class PasswordGate : public MainWindow {
protected:
    // Starts the program, types the text into the password dialog and presses a key
    // there (Return, Escape) or a button.
    void Answer(const char* text, const char* button, WPARAM key = 0) {
        ASSERT_TRUE(Program.Start());
        HWND dialog = Program.WaitForWindow("TfEnterPassword");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), "  Tarnwhistle");
        HWND edit = FindChild(dialog, "TEdit");
        EXPECT_EQ(WindowText(edit), "");
        EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '#');
        SetText(edit, text);
        if (key)
            PressKey(edit, key);
        else
            PostClick(FindChild(dialog, "TButton", button));
    }
};

// A refused start tells only the refusal: a plug-in that cannot be loaded makes no
// second box.
TEST_F(PasswordGate, AWrongLetterCaseIsRefusedWithoutShowingOrCleaning) {
    PlantRunHistory();
    Program.WritePrefs(GuardedAutoClean);
    ForceDirectories(Program.Dir() + "Plugins");
    WriteStringToFile(Program.Dir() + "Plugins\\broken.ppw", "<Plugin Name=\"x\"><unclosed>");
    Answer("secret", nullptr, VK_RETURN);
    HWND box = Program.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "  Tarnwhistle 1.0");
    EXPECT_NE(FindChild(box, "Static", "Incorrect password. The application will be terminated"),
              nullptr);
    EXPECT_EQ(Program.FindWindowOfClass("TfMain"), nullptr);
    PostClick(GetDlgItem(box, IDOK));
    ASSERT_TRUE(WaitFor([&] {
        HWND next = Program.FindWindowOfClass("#32770");
        return Program.WaitForExit(0) || (next && next != box);
    }));
    EXPECT_TRUE(Program.WaitForExit(0)) << MessageBoxText(Program.FindWindowOfClass("#32770"));
    EXPECT_TRUE(RunHistoryPresent());
    TEraserEngine saved; // the destruction still wrote the settings
    Program.ReadPrefs(saved);
    EXPECT_EQ(saved.AccessPassword, "Secret");
}

TEST_F(PasswordGate, EscapeCancelsAndEndsSilently) {
    PlantRunHistory();
    Program.WritePrefs(GuardedAutoClean);
    Answer("Secret", nullptr, VK_ESCAPE);
    ASSERT_TRUE(Program.WaitForExit());
    EXPECT_TRUE(RunHistoryPresent());
}

// The automatic clean runs at the first activation only, not at every one after it.
TEST_F(PasswordGate, TheRightPasswordOpensTheWindowWhichCleansOnce) {
    PlantRunHistory();
    Program.WritePrefs(GuardedAutoClean);
    Answer("Secret", "OK");
    Main = Program.WaitForWindow("TfMain");
    ASSERT_NE(Main, nullptr);
    Memo = FindChild(Main, "TMemo");
    ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    EXPECT_FALSE(RunHistoryPresent());
    PlantRunHistory();
    SendMessageA(Main, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageA(Main, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(RunHistoryPresent());
    CloseProgram();
}

} // namespace

// A settings file cut short: it is kept aside and the log says so once; the close
// writes a whole file, which the next start reads without a word.
TEST_F(MainWindow, ADamagedSettingsFileIsKeptAsideAndSaidOnce) {
    Program.WritePrefs(OnlyRunHistory);
    const std::string prefs = Program.Dir() + "prefs.dat";
    std::string damaged = ReadFileToString(prefs);
    damaged.resize(damaged.size() / 2);
    WriteStringToFile(prefs, damaged);
    const std::string said = "The settings file is damaged: what could be read was loaded, and "
                             "the file was kept as " +
                             prefs + ".damaged.";
    StartProgram();
    const std::string log = WindowText(Memo);
    EXPECT_NE(log.find(said), std::string::npos) << log;
    EXPECT_EQ(log.find(said), log.rfind(said));
    CloseProgram();
    EXPECT_EQ(ReadFileToString(prefs + ".damaged"), damaged);

    StartProgram();
    EXPECT_EQ(WindowText(Memo).find("damaged"), std::string::npos) << WindowText(Memo);
    CloseProgram();
    EXPECT_FALSE(FileExists(prefs + ".damaged2"));
    EXPECT_EQ(ReadFileToString(prefs + ".damaged"), damaged);
}
