// The cleaning run as a whole: its log, the browser question, stopping, deferred
// work and the restart variants.
#include "EngineTestSupport.h"
#include "classlib/base/SysUtils.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

class CleaningRunTest : public testing::Test {
protected:
    TTestEngine Engine;
};

TEST_F(CleaningRunTest, NothingEnabledGivesTheOpeningLinesAndAnEmptySummary) {
    Engine.EnableOnly({});
    EXPECT_EQ(Engine.Run(false), Concat({OpeningLines(), ClosingLines(0, 0, 0, 0, "0 B")}));
    EXPECT_FALSE(Engine.Running);
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
    EXPECT_EQ(Engine.Run(false), Concat({OpeningLines(), ItemLines(ciIEEraseLocationBarURLs),
                                         ItemLines(ciOperaCookies), ClosingLines(0, 0, 0, 0, "0 B")}));
    ASSERT_EQ(Engine.Questions.size(), 1u);
    EXPECT_EQ(Engine.Questions[0],
              "The following application(s) are running on your computer and needs to be closed "
              "before cleaning. \r\n  Tarnwhistle will attempt to close these applications. Do you "
              "want to do it now?\r\n\r\nInternet Explorer\r\nOpera\r\n");
}

TEST_F(CleaningRunTest, AStopEndsTheRunKeepsTheUndoItemsAndDropsTheDeletions) {
    const std::string folder = SpecialFolderOf(CSIDL_RECENT);
    const std::string locked = folder + "\\locked.txt";
    PlantFile(locked);
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
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
    // The locked file's deletion is dropped and it is no longer read-only; the
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
    EXPECT_EQ(Engine.Run(false), Concat({OpeningLines(), ItemLines(ciEraseStartMenuRecentDocuments),
                                         ClosingLines(0, 0, 0, 0, "0 B")}));
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
    EXPECT_EQ(Engine.Log, Concat({OpeningLines(), ItemLines(ciIEEraseURLErrorLogs),
                                  ClosingLines(0, 0, 0, 0, "0 B")}));
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

// A main window owned by a hidden application window, recording the tray messages.
class TMainWindows {
public:
    TMainWindows() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Record;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TTestMain";
        RegisterClassA(&wc);
        Application = CreateWindowA("STATIC", "app", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        Main = CreateWindowA("TTestMain", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50,
                             Application, nullptr, wc.hInstance, nullptr);
        ShowWindow(Application, SW_SHOW);
    }
    ~TMainWindows() {
        DestroyWindow(Main);
        DestroyWindow(Application);
    }
    HWND Application;
    HWND Main;
    static std::vector<UINT> Messages;

private:
    static LRESULT CALLBACK Record(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_SHOWTRAYICON || msg == WM_HIDETRAYICON) Messages.push_back(msg);
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
};
std::vector<UINT> TMainWindows::Messages;

TEST_F(CleaningRunTest, StealthModeHidesAndShowsTheProgramOnlyWhenSwitchedOn) {
    TMainWindows windows;
    Engine.Misc->HotKeyWindow = windows.Main;
    Engine.ToggleStealthMode();
    EXPECT_FALSE(Engine.StealthHidden);
    EXPECT_TRUE(IsWindowVisible(windows.Main));

    Engine.Misc->StealthModeEnabled = true;
    Engine.ToggleStealthMode();
    EXPECT_TRUE(Engine.StealthHidden);
    EXPECT_FALSE(IsWindowVisible(windows.Main));
    EXPECT_FALSE(IsWindowVisible(windows.Application));
    Engine.ToggleStealthMode();
    EXPECT_FALSE(Engine.StealthHidden);
    EXPECT_TRUE(IsWindowVisible(windows.Main));
    EXPECT_TRUE(IsWindowVisible(windows.Application));
    EXPECT_EQ(TMainWindows::Messages, (std::vector<UINT>{WM_HIDETRAYICON, WM_SHOWTRAYICON}));
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
}

}  // namespace
