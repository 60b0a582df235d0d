#include "components/OneInstance/OneInstance.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "support/PumpMessages.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
std::vector<std::string> GReceived;

LRESULT CALLBACK Record(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == TOneInstance::WM_ONEINSTANCE) {
        char text[256] = "";
        GlobalGetAtomNameA(static_cast<ATOM>(wParam), text, sizeof text);
        GReceived.push_back(text);
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

// This test program plays the first instance under the helper's application title;
// OneInstanceHelper.exe (beside it) is started as the second.
class OneInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        GReceived.clear();
        Gate = CreateEventA(nullptr, TRUE, FALSE, "TOneInstanceTestGate");
    }
    void TearDown() override {
        Guard.reset();
        if (App) {
            RemoveWindowSubclass(App, Record, 1);
            ShowWindow(App, SW_HIDE);
            Application->SetTitle(OldTitle);
        }
        CloseHandle(Gate);
    }
    void BecomeFirstInstance() {
        OldTitle = Application->Title();
        Application->SetTitle("One Instance Test");
        App = Application->Handle();
        SetWindowSubclass(App, Record, 1, 0);
        Guard = std::make_unique<TOneInstance>(nullptr);
    }
    static HANDLE StartHelper(const std::string& arguments) {
        std::string exe = ExtractFilePath(GetModuleFileNameStr()) + "OneInstanceHelper.exe";
        // Wine names a program started from a host folder "unix\...", a path that
        // only works with the "\\?\" prefix.
        if (exe.rfind("unix\\", 0) == 0) exe = "\\\\?\\" + exe;
        std::string command = "\"" + exe + "\" " + arguments;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si,
                            &pi))
            return nullptr;
        CloseHandle(pi.hThread);
        return pi.hProcess;
    }
    // Waits (handling the helper's message) for its end; returns its exit code.
    static DWORD Finish(HANDLE process) {
        DWORD code = 99;
        if (!process) return code;
        PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 20000);
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
        return code;
    }

    HANDLE Gate = nullptr;
    HWND App = nullptr;
    std::string OldTitle;
    std::unique_ptr<TOneInstance> Guard;
};
} // namespace

TEST_F(OneInstanceTest, SecondInstanceHandsOverItsArguments) {
    BecomeFirstInstance();
    EXPECT_FALSE(Guard->Found);
    SetEvent(Gate);
    HANDLE helper = StartHelper("a b");
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(Finish(helper), 1u);
    EXPECT_EQ(GReceived, (std::vector<std::string>{"a b "}));

    // Only what follows the last argument naming an .exe is sent.
    helper = StartHelper("a tool.EXE c");
    EXPECT_EQ(Finish(helper), 1u);
    EXPECT_EQ(GReceived.back(), "c ");
}

TEST_F(OneInstanceTest, SecondInstanceWithoutArgumentsSendsNothingAndRestoresTheFirst) {
    BecomeFirstInstance();
    ShowWindow(App, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(App));
    SetEvent(Gate);
    EXPECT_EQ(Finish(StartHelper("")), 1u);
    EXPECT_TRUE(GReceived.empty());
    EXPECT_FALSE(IsIconic(App));
}

// Both instances have their windows before either guard looks: the named mutex lets
// exactly one of them be first.
TEST_F(OneInstanceTest, TwoInstancesStartedTogetherCannotBothBeFirst) {
    HANDLE one = StartHelper("x");
    HANDLE two = StartHelper("y");
    ASSERT_TRUE(one && two);
    ASSERT_TRUE(PumpUntil([] {
        int windows = 0;
        for (HWND w = nullptr;
             (w = FindWindowExA(nullptr, w, "TApplication", "One Instance Test"));)
            ++windows;
        return windows == 2;
    }));
    SetEvent(Gate);
    std::vector<DWORD> codes = {Finish(one), Finish(two)};
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<DWORD>{0, 1}));
}
