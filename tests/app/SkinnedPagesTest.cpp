// The running program in its own skin: the pages, made when they first show, get
// their tabs, lists, headers and progress bars skinned like the main page's log (its
// skin data leaves spin buttons and track bars native).
#include "ProgramTest.h"
#include "skin/SkinMessages.h"
#include <gtest/gtest.h>

namespace {

bool Skinned(HWND wnd) {
    return wnd && WaitFor([wnd] { return SendMessageA(wnd, WM_SKINQUERY, 0, 0) == 1; }, 5000);
}

class SkinnedPages : public TProgramTest {};

TEST_F(SkinnedPages, ControlsOfPagesMadeLaterAreSkinned) {
    StartProgram();
    EXPECT_TRUE(Skinned(Memo));

    HWND page = ShowPage("PC Manager          ", "TTStartupManager");
    EXPECT_TRUE(Skinned(GetParent(GetParent(page))));
    HWND list = FindChild(page, "TListView");
    EXPECT_TRUE(Skinned(list));
    EXPECT_TRUE(Skinned(FindChild(list, "SysHeader32")));
    NextTab(page);
    WaitForPage("TfraPasswordManager");
    NextTab(page);
    HWND memory = WaitForPage("TMemoryPanel");
    EXPECT_TRUE(Skinned(FindChild(memory, "TProgressBar")));
    EXPECT_TRUE(Skinned(FindChild(memory, "TPageControl")));
    CloseProgram();
}

} // namespace
