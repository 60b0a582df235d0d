// The running program in its own skin: the pages, made when they first show, get
// their tabs, lists, headers and progress bars skinned like the main page's log (its
// skin data leaves spin buttons and track bars native).
#include "ProgramRun.h"
#include "skin/SkinMessages.h"
#include <gtest/gtest.h>

namespace {

bool Skinned(HWND wnd) {
    return wnd && WaitFor([wnd] { return SendMessageA(wnd, WM_SKINQUERY, 0, 0) == 1; }, 5000);
}

HWND ShownPage(HWND main, const char* frameClass) {
    HWND page = nullptr;
    const bool shown = WaitFor([&] {
        page = FindChild(main, frameClass);
        return page && IsWindowVisible(page);
    });
    if (!shown) return nullptr;
    SendMessageA(page, WM_NULL, 0, 0); // its controls are made once the program answers
    return page;
}

void NextTab(HWND tabs) {
    PostMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageA(tabs, WM_KEYUP, VK_RIGHT, 0xC0000001);
}

} // namespace

TEST(SkinnedPages, ControlsOfPagesMadeLaterAreSkinned) {
    TProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow("TfMain");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(Skinned(FindChild(main, "TMemo")));

    PostClick(FindChild(main, "TButton", "PC Manager          "));
    HWND page = ShownPage(main, "TTStartupManager");
    ASSERT_NE(page, nullptr);
    HWND tabs = GetParent(GetParent(page));
    EXPECT_TRUE(Skinned(tabs));
    HWND list = FindChild(page, "TListView");
    EXPECT_TRUE(Skinned(list));
    EXPECT_TRUE(Skinned(FindChild(list, "SysHeader32")));
    NextTab(tabs);
    ASSERT_NE(ShownPage(main, "TfraPasswordManager"), nullptr);
    NextTab(tabs);
    HWND memory = ShownPage(main, "TMemoryPanel");
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(Skinned(FindChild(memory, "TProgressBar")));
    EXPECT_TRUE(Skinned(FindChild(memory, "TPageControl")));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}
