#pragma once
// A test fixture around the program of this build: started in its fresh folder, its
// main window and log found, closed as a user would. Main thread of the test.
#include "ProgramRun.h"
#include <gtest/gtest.h>
#include <string>

class TProgramTest : public testing::Test {
protected:
    // Starts the program and waits for its main window.
    void StartProgram() {
        ASSERT_TRUE(Program.Start());
        WaitForMain();
    }
    void WaitForMain() {
        Main = Program.WaitForWindow("TfMain");
        ASSERT_NE(Main, nullptr);
        Memo = FindChild(Main, "TMemo");
        ASSERT_NE(Memo, nullptr);
    }
    bool LogShows(const std::string& text, DWORD timeoutMs = 20000) const {
        return WaitFor([&] { return WindowText(Memo).find(text) != std::string::npos; }, timeoutMs);
    }
    // Waits for a visible child window of that class and caption (any when nullptr).
    HWND Shown(HWND parent, const char* className, const char* caption) {
        HWND found = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            return (found = FindChild(parent, className, caption)) != nullptr &&
                   IsWindowVisible(found);
        })) << caption;
        return found;
    }
    // Closes the main window and waits for the program to end.
    void CloseProgram() {
        PostMessageA(Main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Program.WaitForExit());
    }

    TProgramRun Program;
    HWND Main = nullptr;
    HWND Memo = nullptr;
};
