#pragma once
// A test fixture around the program of this build: started in its fresh folder, its
// main window and log found, closed as a user would. Main thread of the test.
#include "ProgramRun.h"
#include "RemoteControls.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

class TProgramTest : public testing::Test {
protected:
    // Starts the program and waits for its main window.
    void StartProgram() {
        ASSERT_TRUE(Program.Start()) << "the program did not start, error " << GetLastError();
        WaitForMain();
    }
    void WaitForMain() {
        Main = Program.WaitForWindow("TfMain");
        ASSERT_NE(Main, nullptr);
        Memo = FindChild(Main, "TMemo");
        ASSERT_NE(Memo, nullptr);
    }
    // Starts the program, opens it with the access password (atBox runs while its box
    // shows) and waits for its main window.
    void StartWithPassword(const std::string& password, const std::function<void()>& atBox = {}) {
        ASSERT_TRUE(Program.Start());
        HWND gate = Program.WaitForWindow("TfEnterPassword");
        ASSERT_NE(gate, nullptr);
        if (atBox) atBox();
        SetText(FindChild(gate, "TEdit"), password);
        PostClick(FindChild(gate, "TButton", "OK"));
        WaitForMain();
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
    // Clicks a navigation button and waits for the page frame of that class to show.
    HWND ShowPage(const char* navigation, const char* frameClass) {
        PostClick(FindChild(Main, "TButton", navigation));
        return WaitForPage(frameClass);
    }
    // Throws when the page does not show: the steps after it need its window.
    HWND WaitForPage(const char* frameClass) {
        HWND page = nullptr;
        if (!WaitFor([&] {
                page = FindChild(Main, frameClass);
                return page && IsWindowVisible(page);
            }))
            throw std::runtime_error(std::string("page not shown: ") + frameClass);
        SendMessageA(page, WM_NULL, 0, 0); // its controls are made once the program answers
        return page;
    }
    // The next sheet of the tabs that hold a shown page, as the right arrow key chooses it.
    static void NextTab(HWND shownPage) { PressKey(GetParent(GetParent(shownPage)), VK_RIGHT); }
    // The next message box or common dialog of the program; its text holds `words` when
    // given.
    HWND Box(const char* words = nullptr) {
        HWND box = Program.WaitForWindow("#32770");
        EXPECT_NE(box, nullptr);
        if (box && words) {
            EXPECT_NE(MessageBoxText(box).find(words), std::string::npos) << MessageBoxText(box);
        }
        return box;
    }
    // Presses a button of a box or dialog and waits until it has gone.
    static void Answer(HWND box, int button) {
        PostClick(GetDlgItem(box, button));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    }
    // Presses Enter in a box, which takes its default button, and waits until it has gone.
    static void PressEnter(HWND box) {
        PressKey(box, VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    }
    // A button of the main window by its caption.
    HWND Button(const char* caption) const {
        HWND button = FindChild(Main, "TButton", caption);
        EXPECT_NE(button, nullptr) << caption;
        return button;
    }
    // Clicks System Clean and waits for the cleaning-mode dialog (nullptr if none shows).
    HWND OpenCleanMethodSelector() {
        PostClick(Button("System Clean        "));
        return Program.WaitForWindow("TfCleanMethodSelector");
    }
    // "System Clean" with that cleaning mode chosen and OK clicked: the click is queued.
    void StartSystemClean(const char* mode) {
        HWND dialog = OpenCleanMethodSelector();
        ASSERT_NE(dialog, nullptr);
        SendMessageW(FindChild(dialog, "TRadioButton", mode), BM_CLICK, 0, 0);
        PostClick(FindChild(dialog, "TButton", "&OK"));
    }
    // "System Clean" without restart or shutdown, to the end of the run.
    void RunRapidErase() {
        StartSystemClean(RapidErase);
        ASSERT_TRUE(LogShows("Cleaning Completed!")) << WindowText(Memo);
    }
    static constexpr const char* RapidErase = "Nothing, I will restart later (Rapid Erase)";
    // Closes the main window and waits for the program to end.
    void CloseProgram() {
        PostMessageA(Main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Program.WaitForExit());
    }

    TProgramRun Program;
    HWND Main = nullptr;
    HWND Memo = nullptr;
};
