// The cleaning run as a whole: its log, the browser question, stopping, deferred
// work and the restart variants.
#include "classlib/base/Handle.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EngineTestSupport.h"
#include "engine/PostEraserItem.h"
#include "support/KeySecurity.h"
#include <commctrl.h>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

class CleaningRunTest : public testing::Test {
protected:
    TTestEngine Engine;
};

TEST_F(CleaningRunTest, NothingEnabledGivesTheOpeningLinesAndAnEmptySummary) {
    Engine.EnableOnly({});
    std::vector<bool> runningAtEvents;
    auto note = [&](TCustomEraserEngine* sender) { runningAtEvents.push_back(sender->Running); };
    Engine.OnCleanStart = note;
    Engine.OnCleanEnd = note;
    EXPECT_EQ(Engine.Run(false), RunLog({}, 0, 0, 0, 0, "0 B"));
    EXPECT_FALSE(Engine.Running);
    EXPECT_EQ(runningAtEvents, (std::vector<bool>{true, false}));
    EXPECT_TRUE(Engine.Questions.empty());
}

// A window of a browser's class, owned by this process.
class TBrowserWindow {
public:
    explicit TBrowserWindow(const char* className) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        FWnd = CreateWindowA(className, "browser", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
    }
    ~TBrowserWindow() { DestroyWindow(FWnd); }

private:
    HWND FWnd;
};

TEST_F(CleaningRunTest, OpenBrowsersOfEnabledItemsAreNamedInOneQuestion) {
    TBrowserWindow ie("IEFrame"), opera("OpWindow"), mozilla("MozillaWindowClass");
    Engine.EnableOnly({ciIEEraseFavorites, ciIEEraseURLErrorLogs, ciNetscapeMozillaFavorites});
    Engine.Run(true);
    EXPECT_TRUE(Engine.Questions.empty());

    Engine.EnableOnly({ciIEEraseLocationBarURLs, ciOperaCookies});
    Engine.AnswerYes = false;
    EXPECT_EQ(Engine.Run(false),
              RunLog({ciIEEraseLocationBarURLs, ciOperaCookies}, 0, 0, 0, 0, "0 B"));
    ASSERT_EQ(Engine.Questions.size(), 1u);
    EXPECT_EQ(Engine.Questions[0],
              "The following application(s) are running on your computer and needs to be closed "
              "before cleaning. \r\n  Tarnwhistle will attempt to close these applications. Do you "
              "want to do it now?\r\n\r\nInternet Explorer\r\nOpera\r\n");
}

const char* const FakeBrowserSwitch = "--tw-fake-browser=";

// This program started again with the switch stands in for a browser: it owns a
// window of the class named after the switch until it is ended.
[[noreturn]] void RunFakeBrowser(const std::string& className) {
    TBrowserWindow window(className.c_str());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    ExitProcess(1);
}

[[maybe_unused]] const bool FakeBrowserChecked = [] {
    const std::string command = GetCommandLineA();
    const size_t at = command.find(FakeBrowserSwitch);
    if (at != std::string::npos) RunFakeBrowser(command.substr(at + strlen(FakeBrowserSwitch)));
    return true;
}();

// A browser window owned by another process: this program as a fake browser.
class TBrowserProcess {
public:
    explicit TBrowserProcess(const char* className) {
        // The path the program was started by: under Wine, outside every drive, it is
        // a "\\?\unix\" path, which the module's own file name lacks the prefix of.
        std::string command = Format("\"%s\" %s%s", __argv[0], FakeBrowserSwitch, className);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                            &si, &pi))
            return;
        CloseHandle(pi.hThread);
        FProcess.Reset(pi.hProcess);
        Id = pi.dwProcessId;
        for (int i = 0; i < 200 && !HasWindow(className); ++i)
            Sleep(50);
    }
    ~TBrowserProcess() {
        if (Running()) TerminateProcess(FProcess.Get(), 1);
        WaitForSingleObject(FProcess.Get(), 5000);
    }
    [[nodiscard]] bool Running() const {
        return FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT;
    }
    [[nodiscard]] DWORD ExitCode() const {
        WaitForSingleObject(FProcess.Get(), 5000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(FProcess.Get(), &code);
        return code;
    }
    DWORD Id = 0;

private:
    [[nodiscard]] bool HasWindow(const char* className) const {
        for (HWND wnd = FindWindowExA(nullptr, nullptr, className, nullptr); wnd;
             wnd = FindWindowExA(nullptr, wnd, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner == Id) return true;
        }
        return false;
    }
    TKernelHandle FProcess;
};

// No, or no one to ask, leaves every browser running; Yes ends, with exit code 0, the process of
// the first window of each browser named, and only that one.
TEST_F(CleaningRunTest, YesEndsTheProcessOfEachNamedBrowsersFirstWindow) {
    TBrowserProcess ie1("IEFrame"), ie2("IEFrame"), opera("OpWindow"),
        mozilla("MozillaWindowClass");
    ASSERT_TRUE(ie1.Running() && ie2.Running() && opera.Running() && mozilla.Running());
    Engine.EnableOnly({ciIEEraseLocationBarURLs, ciOperaCookies});
    const auto log = RunLog({ciIEEraseLocationBarURLs, ciOperaCookies}, 0, 0, 0, 0, "0 B");
    EXPECT_EQ(Engine.Run(false), log);
    EXPECT_TRUE(ie1.Running() && ie2.Running() && opera.Running() && mozilla.Running());
    // Nobody to ask: the run goes on as after No, with no box waiting for an answer.
    TTestEngine unasked;
    unasked.EnableOnly({ciIEEraseLocationBarURLs, ciOperaCookies});
    unasked.OnAskToCloseBrowsers = nullptr;
    EXPECT_EQ(unasked.Run(false), log);
    EXPECT_TRUE(ie1.Running() && ie2.Running() && opera.Running() && mozilla.Running());

    DWORD first = 0;
    GetWindowThreadProcessId(FindWindowA("IEFrame", nullptr), &first);
    ASSERT_TRUE(first == ie1.Id || first == ie2.Id);
    Engine.AnswerYes = true;
    EXPECT_EQ(Engine.Run(false), log);
    ASSERT_EQ(Engine.Questions.size(), 2u);
    EXPECT_EQ(Engine.Questions[1], Engine.Questions[0]);
    EXPECT_EQ((first == ie1.Id ? ie1 : ie2).ExitCode(), 0u);
    EXPECT_TRUE((first == ie1.Id ? ie2 : ie1).Running());
    EXPECT_EQ(opera.ExitCode(), 0u);
    EXPECT_TRUE(mozilla.Running());
}

TEST_F(CleaningRunTest, AStopEndsTheRunKeepsTheUndoItemsAndDropsTheDeletions) {
    const std::string folder = SpecialFolderOf(CSIDL_RECENT);
    const std::string locked = folder + "\\locked.txt";
    PlantFile(locked);
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // Deferred twice: by the folder walk, then as a file of its own.
    Engine.FileItem(ciEraseStartMenuRecentDocuments).AddFile(locked);
    Engine.EnableOnly({ciEraseStartMenuRecentDocuments, ciEraseWindowsSWAP,
                       ciEraseStartMenuClickHistory, ciEraseRecycleBin});
    Engine.OnProgress = [&](TEraser*, const std::string& msg) {
        Engine.Log.push_back(msg);
        if (msg == "Erasing Start Menu Click History...") Engine.Stop();
    };
    const auto log = Engine.Run(false);
    CloseHandle(lock);

    EXPECT_EQ(log[log.size() - 16], "Erasing Start Menu Click History...");
    EXPECT_EQ(log[log.size() - 15], "");
    EXPECT_EQ(log[log.size() - 14], "Cleaning terminated by user.");
    EXPECT_TRUE(Engine.Cancelled);
    // The locked file's deletions are dropped and it is no longer read-only; the
    // page-file reset that undoes the swap item stays, saved and registered.
    EXPECT_EQ(GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    EXPECT_EQ(Engine.PostEraser.Items(0).Type, ptWriteInteger);
    EXPECT_TRUE(FileExists(Engine.PostEraser.FileName));
    EXPECT_NE(ReadRegString(HKEY_LOCAL_MACHINE, RunOnceKey, RunOnceValue), "");
    DeleteFileA(locked.c_str());
    WriteRegDword(HKEY_LOCAL_MACHINE,
                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                  "ClearPageFileAtShutdown", 0);
}

TEST_F(CleaningRunTest, ALockedFileIsDeferredSavedRegisteredAndAnnounced) {
    const std::string locked = SpecialFolderOf(CSIDL_RECENT) + "\\inuse.txt";
    PlantFile(locked);
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Engine.EnableOnly({ciEraseStartMenuRecentDocuments});
    EXPECT_EQ(Engine.Run(false), RunLog({ciEraseStartMenuRecentDocuments}, 0, 0, 0, 0, "0 B"));
    CloseHandle(lock);
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    EXPECT_EQ(Engine.PostEraser.Items(0).FileName, locked);
    EXPECT_TRUE(FileExists(Engine.PostEraser.FileName));
    EXPECT_NE(ReadRegString(HKEY_LOCAL_MACHINE, RunOnceKey, RunOnceValue), "");
    ASSERT_EQ(Engine.Notices.size(), 1u);
    EXPECT_EQ(Engine.Notices[0],
              "System Clean finished.\r\n\r\nPlease note some items can only be erased during the "
              "reboot phase of windows. The next time you boot/restart your computer these "
              "elements will be cleaned and cause your system to automatically restart again to "
              "complete the process.");

    // Kept items are saved and announced again by a later run, unless the notice is off.
    Engine.Run(true);
    EXPECT_EQ(Engine.Notices.size(), 2u);
    Engine.ShowRebootNotice = false;
    Engine.Run(true);
    EXPECT_EQ(Engine.Notices.size(), 2u);
    // Nobody to tell: the run still saves and registers, and shows no box.
    Engine.ShowRebootNotice = true;
    Engine.OnRebootNotice = nullptr;
    Engine.Run(true);
    EXPECT_NE(ReadRegString(HKEY_LOCAL_MACHINE, RunOnceKey, RunOnceValue), "");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(locked.c_str());
}

// "posterase.dat" of an earlier session, not yet carried out by a restart: a run
// that defers work keeps its items, and a later run saves nothing twice.
TEST_F(CleaningRunTest, DeferredWorkOfAnEarlierSessionIsKeptAndNotRepeated) {
    TPostEraser earlier;
    earlier.FileName = Engine.PostEraser.FileName;
    earlier.Add(
        PostEraserItem(ptWriteInteger, "", HKEY_LOCAL_MACHINE,
                       "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                       "ClearPageFileAtShutdown", "0"));
    earlier.SaveToFile();
    earlier.RegisterRunOnce();

    const std::string locked = SpecialFolderOf(CSIDL_RECENT) + "\\pending.txt";
    PlantFile(locked);
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Engine.EnableOnly({ciEraseStartMenuRecentDocuments});
    Engine.Run(false);
    CloseHandle(lock);
    Engine.Run(true);

    TPostEraser saved;
    saved.FileName = Engine.PostEraser.FileName;
    saved.LoadFromFile();
    ASSERT_EQ(saved.Count(), 2);
    EXPECT_EQ(saved.Items(0).ValueName, "ClearPageFileAtShutdown");
    EXPECT_EQ(saved.Items(1).FileName, locked);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(locked.c_str());
}

TEST_F(CleaningRunTest, RestartFollowsOnlyACompleteRun) {
    Engine.EnableOnly({});
    Engine.CleanAndReboot();
    EXPECT_EQ(Engine.Restarts, 1);
    Engine.CleanAndShutdown();
    EXPECT_EQ(Engine.Restarts, 2);

    Engine.EnableOnly({ciIEEraseURLErrorLogs});
    Engine.OnProgress = [&](TEraser*, const std::string&) { Engine.Stop(); };
    Engine.CleanAndReboot();
    EXPECT_EQ(Engine.Restarts, 2);
}

// A hot key, the tray or the scheduler asking for a restart in the middle of a
// run must not restart Windows under it.
TEST_F(CleaningRunTest, RestartCommandsDuringARunDoNothing) {
    Engine.EnableOnly({ciIEEraseURLErrorLogs});
    Engine.OnProgress = [&](TEraser*, const std::string& msg) {
        Engine.Log.push_back(msg);
        if (msg == "Erasing URL Error Logs...") {
            Engine.CleanAndReboot();
            Engine.CleanAndShutdown();
            Engine.Clean();
        }
    };
    Engine.Run(false);
    EXPECT_EQ(Engine.Restarts, 0);
    EXPECT_EQ(Engine.Log, RunLog({ciIEEraseURLErrorLogs}, 0, 0, 0, 0, "0 B"));
}

TEST_F(CleaningRunTest, PluginsRunAfterTheItemsUnlessTheRunWasStopped) {
    const std::string missing = TestFolder("plugins") + "\\gone.ppw";
    Engine.PluginManager->CheckedPlugins.Add(missing);
    Engine.EnableOnly({ciIEEraseURLErrorLogs});
    const auto log = Engine.Run(true);
    ASSERT_EQ(log.size(), 22u);
    EXPECT_EQ(log[7], "Error executing plugin: " + missing);
    EXPECT_EQ(log[8], "Cleaning Completed!");

    Engine.OnProgress = [&](TEraser*, const std::string& msg) {
        Engine.Log.push_back(msg);
        Engine.Stop();
    };
    for (const std::string& line : Engine.Run(true))
        EXPECT_EQ(line.find("Error executing plugin"), std::string::npos);
}

// A main window owned by a hidden application window.
class TMainWindows {
public:
    TMainWindows() {
        Application = CreateWindowW(L"STATIC", L"app", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    nullptr, nullptr);
        Main = CreateWindowW(L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50,
                             Application, nullptr, nullptr, nullptr);
        ShowWindow(Application, SW_SHOW);
    }
    ~TMainWindows() {
        DestroyWindow(Main);
        DestroyWindow(Application);
    }
    HWND Application;
    HWND Main;
};

// The tray-icon messages the main window receives, in order.
LRESULT CALLBACK RecordTrayMessages(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR data) {
    if (msg == TEraserEngine::WM_SHOWTRAYICON || msg == TEraserEngine::WM_HIDETRAYICON)
        reinterpret_cast<std::vector<UINT>*>(data)->push_back(msg);
    return DefSubclassProc(wnd, msg, wp, lp);
}

TEST_F(CleaningRunTest, StealthModeHidesAndShowsTheProgramOnlyWhenSwitchedOn) {
    TMainWindows windows;
    Engine.Misc->HotKeyWindow = windows.Main;
    std::vector<UINT> told;
    SetWindowSubclass(windows.Main, RecordTrayMessages, 1, reinterpret_cast<DWORD_PTR>(&told));
    Engine.ToggleStealthMode();
    EXPECT_FALSE(Engine.StealthHidden);
    EXPECT_TRUE(IsWindowVisible(windows.Main));
    EXPECT_TRUE(told.empty());

    Engine.Misc->StealthModeEnabled = true;
    Engine.ToggleStealthMode();
    EXPECT_TRUE(Engine.StealthHidden);
    EXPECT_FALSE(IsWindowVisible(windows.Main));
    EXPECT_FALSE(IsWindowVisible(windows.Application));
    Engine.ToggleStealthMode();
    EXPECT_FALSE(Engine.StealthHidden);
    EXPECT_TRUE(IsWindowVisible(windows.Main));
    EXPECT_TRUE(IsWindowVisible(windows.Application));
    // Sent, not posted: the messages have arrived when the toggle returns.
    EXPECT_EQ(told, (std::vector<UINT>{2026, 2025}));
    RemoveWindowSubclass(windows.Main, RecordTrayMessages, 1);
}

// Items in the recycle bins of all drives, -1 when the shell cannot tell.
int64_t RecycleBinItems() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    return SUCCEEDED(SHQueryRecycleBinA(nullptr, &info)) ? info.i64NumItems : -1;
}

// Presses the button (IDYES, IDNO) of the first dialog box this process shows within
// five seconds, from a thread of its own; gives the box's owner.
std::future<HWND> AnswerDialog(int button) {
    return std::async(std::launch::async, [button]() -> HWND {
        for (int i = 0; i < 100; ++i) {
            Sleep(50);
            for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
                 box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
                DWORD process = 0;
                GetWindowThreadProcessId(box, &process);
                if (process != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
                SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
                return GetWindow(box, GW_OWNER);
            }
        }
        return nullptr;
    });
}

// Under Wine the recycle bin is the freedesktop trash of the Unix user: the test
// runs only on a bin that holds nothing but the file it puts there (the test script
// gives Wine a trash of its own), never on a user's.
TEST_F(CleaningRunTest, EmptyRecycleBinEmptiesOnlyAfterTheShellsQuestion) {
    if (RecycleBinItems() != 0) GTEST_SKIP() << "the recycle bin is missing or not empty";
    const std::string file = TestFolder("bin") + "\\junk.txt";
    PlantFile(file);
    const std::string from = file + '\0'; // and c_str's: a double-null list
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
    if (RecycleBinItems() != 1) GTEST_SKIP() << "no recycle bin to put a file in";

    TMainWindows windows;
    Engine.Misc->HotKeyWindow = windows.Main;
    auto no = AnswerDialog(IDNO);
    Engine.EmptyRecycleBin();
    EXPECT_EQ(no.get(), windows.Main);
    EXPECT_EQ(RecycleBinItems(), 1);
    auto yes = AnswerDialog(IDYES);
    Engine.EmptyRecycleBin();
    EXPECT_EQ(yes.get(), windows.Main);
    EXPECT_EQ(RecycleBinItems(), 0);
}

TEST_F(CleaningRunTest, BossKeyHidesBrowserWindowsAtAnyDepth) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "opwindow";
    RegisterClassA(&wc);
    TBrowserWindow ie("IEFrame");
    HWND ieFrame = FindWindowA("IEFrame", nullptr);
    ShowWindow(ieFrame, SW_SHOW);
    HWND host = CreateWindowA("STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                              nullptr, wc.hInstance, nullptr);
    HWND opera = CreateWindowA("opwindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host, nullptr,
                               wc.hInstance, nullptr);
    Engine.ToggleBossKey();
    EXPECT_TRUE(IsWindowVisible(ieFrame));

    Engine.Misc->BossKeyEnabled = true;
    Engine.ToggleBossKey();
    EXPECT_FALSE(Engine.BrowsersShown);
    EXPECT_FALSE(IsWindowVisible(ieFrame));
    EXPECT_FALSE(IsWindowVisible(opera));
    EXPECT_TRUE(IsWindowVisible(host));
    Engine.ToggleBossKey();
    EXPECT_TRUE(IsWindowVisible(ieFrame));
    EXPECT_TRUE(IsWindowVisible(opera));
    DestroyWindow(host);
}

TEST_F(CleaningRunTest, LoadAtStartupWritesAndRemovesTheRunValue) {
    const char* const key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    WriteRegString(HKEY_CURRENT_USER, key, "Other", "x");
    Engine.SetLoadAtStartup(true);
    EXPECT_TRUE(Engine.GetLoadAtStartup());
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Tarnwhistle"), GetModuleFileNameStr());
    Engine.SetLoadAtStartup(false);
    EXPECT_FALSE(Engine.GetLoadAtStartup());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, "Tarnwhistle"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key, "Other"));

    // A "Run" key that refuses the write leaves the option off.
    SetKeySecurity(key, ReadOnlyKeyRules);
    EXPECT_FALSE(Engine.SetLoadAtStartup(true));
    EXPECT_FALSE(Engine.GetLoadAtStartup());
    SetKeySecurity(key, OpenKeyRules);
    // A missing one is made.
    TRegistry reg;
    ASSERT_TRUE(reg.DeleteKey(std::string("\\") + key));
    EXPECT_TRUE(Engine.SetLoadAtStartup(true));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Tarnwhistle"), GetModuleFileNameStr());
    Engine.SetLoadAtStartup(false);
}

} // namespace
