// The skinned menu bar: painted from the skin under the title, and driven from the
// keyboard as a native bar is, one open menu at a time.
#include "skin/SkinMenuBar.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Timer.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinManage.h"
#include "skin/SolidSkin.h"
#include "support/PopupMenus.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

HMENU Submenu(std::initializer_list<std::pair<const wchar_t*, HMENU>> items) {
    HMENU menu = CreatePopupMenu();
    UINT id = 100;
    for (auto [text, sub] : items)
        AppendMenuW(menu, sub ? MF_POPUP : MF_STRING, sub ? reinterpret_cast<UINT_PTR>(sub) : id++,
                    text);
    return menu;
}

int OpenMenus() {
    return static_cast<int>(ShownMenus().size());
}

// A key for the innermost open menu.
void Key(UINT key) {
    const std::vector<HWND> menus = ShownMenus();
    if (!menus.empty()) PostMessageW(menus.back(), WM_KEYDOWN, key, 0);
}

} // namespace

using SkinMenuBarPixels = TPixelTest;

TEST_F(SkinMenuBarPixels, TheBarIsPaintedAndTheArrowKeysMoveBetweenItsMenus) {
    TSkinData* data = ActiveSolidSkin();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(
                    Submenu({{L"&Open", nullptr}, {L"&Sub", Submenu({{L"&Inner", nullptr}})}})),
                L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&Copy", nullptr}})),
                L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&About", nullptr}})),
                L"&Help");
    SetMenu(form->Handle(), bar);
    RECT client;
    GetClientRect(form->Handle(), &client);
    form->Show();
    HWND wnd = form->Handle();
    TSkinForm* skinned = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        skinned = SkinManager()->FindSkinForm(wnd);
        return skinned && skinned->Activated();
    }));
    TSkinMenu* menuBar = skinned->MenuBar();
    ASSERT_TRUE(menuBar);
    EXPECT_EQ(menuBar->Count(), 3);
    EXPECT_EQ(GetMenu(wnd), nullptr);
    RECT now;
    GetClientRect(wnd, &now);
    EXPECT_EQ(now.bottom, client.bottom);
    RECT window;
    GetWindowRect(wnd, &window);
    const int barY = solid::TitleHeight + skinned->Metrics().MenuBar / 2;
    EXPECT_EQ(WindowPixelSoon(wnd, window.right - window.left - 20, barY, solid::MenuBarActive),
              solid::MenuBarActive);

    // Each step runs once the menus have settled after the one before.
    std::vector<int> tracked, open;
    auto note = [&] {
        tracked.push_back(menuBar->TrackedIndex());
        open.push_back(OpenMenus());
    };
    const std::vector<std::function<void()>> steps = {
        [&] { note(), Key(VK_RIGHT); }, // File's first item is plain: on to Edit
        [&] { note(), Key(VK_LEFT); }, // back to File
        [&] { note(), Key(VK_DOWN); }, // File's "Sub"
        [&] { Key(VK_RIGHT); }, // opens the inner menu
        [&] { note(), Key(VK_LEFT); }, // closes only the inner menu
        [&] { note(), Key(VK_ESCAPE); }, [&] { Key(VK_ESCAPE); }};
    size_t step = 0;
    TTimer timer(nullptr);
    timer.SetInterval(200);
    timer.SetOnTimer([&](TObject*) {
        if (step < steps.size()) steps[step++]();
    });
    SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    timer.SetEnabled(false);
    EXPECT_EQ(tracked, (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(open, (std::vector<int>{1, 1, 1, 2, 1}));
    EXPECT_EQ(menuBar->TrackedIndex(), -1);
    EXPECT_EQ(OpenMenus(), 0);

    data->SetActive(false); // the window gets its menu back
    ASSERT_TRUE(PumpUntil([&] { return GetMenu(wnd) == bar; }));
    form.reset();
    delete data;
    FreeSkinManager();
}
