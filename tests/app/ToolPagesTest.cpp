// The tool pages of the running program: plug-ins, hot keys, Internet Explorer
// settings, startup manager, scheduler, options and stored passwords, driven through
// window messages, the keyboard, the registry and the program's files.
#include "ProgramRun.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "support/Shortcuts.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

const char* const TestKey = "Software\\TarnwhistleTest\\ToolPages";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const IEMainKey = "Software\\Microsoft\\Internet Explorer\\Main";

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

// Every child of that class below parent, in window order (the order they were made).
std::vector<HWND> Children(HWND parent, const char* className) {
    std::vector<HWND> found;
    while (HWND next =
               FindWindowExA(parent, found.empty() ? nullptr : found.back(), className, nullptr))
        found.push_back(next);
    return found;
}

void PressKey(HWND wnd, WPARAM key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
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

class ToolPages : public testing::Test {
protected:
    void TearDown() override {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        reg.DeleteKey(std::string("\\") + TestKey);
    }
    void StartProgram() {
        ASSERT_TRUE(Program.Start());
        WaitForMain();
    }
    void WaitForMain() {
        Main = Program.WaitForWindow("TfMain");
        ASSERT_NE(Main, nullptr);
        Memo = FindChild(Main, "TMemo");
    }
    // Clicks a navigation button and waits for the page frame of that class to show.
    HWND ShowPage(const char* navigation, const char* frameClass) {
        PostClick(FindChild(Main, "TButton", navigation));
        return WaitForPage(frameClass);
    }
    HWND WaitForPage(const char* frameClass) {
        HWND page = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            page = FindChild(Main, frameClass);
            return page && IsWindowVisible(page);
        })) << frameClass;
        return page;
    }
    // The next sheet of the tool tabs, as the right arrow key chooses it.
    void NextMiscTab(HWND shownPage) {
        PressKey(GetParent(GetParent(GetParent(shownPage))), VK_RIGHT);
    }
    static HWND Button(HWND parent, const char* caption) {
        HWND button = FindChild(parent, "TButton", caption);
        EXPECT_NE(button, nullptr) << caption;
        return button;
    }
    // Waits for a message box of the program, checks its text and presses a button.
    void AnswerBox(const std::string& textPart, int button) {
        HWND box = Program.WaitForWindow("#32770");
        ASSERT_NE(box, nullptr) << textPart;
        std::string text;
        for (HWND label : Children(box, "Static"))
            text += WindowText(label);
        EXPECT_NE(text.find(textPart), std::string::npos) << text;
        PostClick(GetDlgItem(box, button));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    }
    bool LogShows(const std::string& text) const {
        return WaitFor([&] { return WindowText(Memo).find(text) != std::string::npos; });
    }
    void CloseProgram() {
        PostMessageA(Main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Program.WaitForExit());
    }

    TProgramRun Program;
    HWND Main = nullptr;
    HWND Memo = nullptr;
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
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
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

} // namespace
