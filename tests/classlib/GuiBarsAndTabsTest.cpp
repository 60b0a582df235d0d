// Status bars, tab sets, simple combo boxes, checked menu items and the mouse-down
// event, as their windows hold them.
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/MainMenu.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StatusBar.h"
#include "classlib/gui/TabSet.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

template <class T> T* Make(TWinControl* parent) {
    auto control = new T(parent);
    control->SetParent(parent);
    return control;
}

std::string PartText(HWND bar, int part) {
    wchar_t text[100] = {};
    SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
    return ToUtf8(text);
}

} // namespace

TEST(GuiBarsAndTabs, StatusBarPanelsBecomeTheWindowsPartsAndSimpleTextReplacesThem) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto bar = Make<TStatusBar>(&form);
    bar->AddPanel({"First", 80});
    bar->AddPanel({"Second", 120, taLeftJustify, pbRaised});
    bar->AddPanel({"Last", 50, taRightJustify, pbNone});
    HWND wnd = bar->Handle();
    EXPECT_EQ(bar->Top() + bar->Height(), form.ClientHeight()); // along the bottom
    int ends[4] = {};
    ASSERT_EQ(SendMessageW(wnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(ends)), 3);
    EXPECT_EQ(ends[0], 80);
    EXPECT_EQ(ends[1], 200);
    EXPECT_EQ(ends[2], -1); // the last part reaches the edge
    EXPECT_EQ(PartText(wnd, 1), "Second");
    EXPECT_EQ(HIWORD(SendMessageW(wnd, SB_GETTEXTLENGTHW, 1, 0)), SBT_POPOUT);
    EXPECT_EQ(HIWORD(SendMessageW(wnd, SB_GETTEXTLENGTHW, 2, 0)), SBT_NOBORDERS);

    bar->SetPanel(0, {"Ünïcode", 80});
    EXPECT_EQ(PartText(wnd, 0), "Ünïcode");
    bar->SetSimplePanel(true);
    bar->SetSimpleText("Busy");
    EXPECT_TRUE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0));
    bar->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(wnd, 1), "Second");

    EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & SBARS_SIZEGRIP);
    bar->SetSizeGrip(false); // the window is made again without the grip, panels kept
    EXPECT_FALSE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_EQ(PartText(bar->Handle(), 2), "Last");
}

TEST(GuiBarsAndTabs, TabSetsLayTheirTabsFromTheStartMarginAndSelectOnAPress) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto tabs = Make<TTabSet>(&form);
    tabs->SetBounds(0, 0, 200, 21);
    tabs->SetTabs({"One", std::string(80, 'W'), "Two"});
    int changes = 0;
    tabs->OnChange = [&](TObject*) { ++changes; };
    tabs->Handle();
    const RECT one = tabs->TabRect(0), wide = tabs->TabRect(1), two = tabs->TabRect(2);
    EXPECT_EQ(one.left, tabs->StartMargin());
    EXPECT_EQ(one.right - one.left, tabs->TabWidth(0));
    EXPECT_TRUE(IsRectEmpty(&wide)); // wider than the room left: skipped
    EXPECT_EQ(two.left, one.right);
    EXPECT_EQ(tabs->TabIndex(), -1);

    tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(two.left + 3, 5));
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(two.left + 3, 5)); // again: no change
    tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 5));          // beside the tabs
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);

    tabs->SetFirstIndex(2); // the earlier tabs scroll out
    EXPECT_EQ(tabs->TabRect(2).left, tabs->StartMargin());
    const RECT scrolledOut = tabs->TabRect(0);
    EXPECT_TRUE(IsRectEmpty(&scrolledOut));
    tabs->SetTabs({"Only"}); // the selection went with its tab
    EXPECT_EQ(tabs->TabIndex(), -1);
    EXPECT_EQ(tabs->FirstIndex(), 0);
}

TEST(GuiBarsAndTabs, SimpleComboBoxesShowTheirListAndMouseDownReportsButtonAndKeys) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto combo = Make<TComboBox>(&form);
    combo->SetStyle(csSimple);
    combo->SetBounds(10, 10, 150, 120);
    combo->Items().Add("A");
    EXPECT_EQ(GetWindowLongPtrW(combo->Handle(), GWL_STYLE) & 3, CBS_SIMPLE);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    EXPECT_TRUE(GetWindowLongPtrW(info.hwndList, GWL_STYLE) & WS_CHILD);

    auto button = Make<TButton>(&form);
    std::vector<std::string> downs;
    button->OnMouseDown = [&](TObject*, TMouseButton which, TShiftState shift, int x, int y) {
        downs.push_back(std::to_string(which) + ":" + std::to_string(shift & ~ssAlt) + "@" +
                        std::to_string(x) + "," + std::to_string(y));
    };
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(3, 4));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    button->Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(7, 8));
    EXPECT_EQ(downs, (std::vector<std::string>{"0:12@3,4", "1:17@7,8"}));
}

namespace {
UINT ShownStates[2]; // the shown menu's item states, read while it is open
} // namespace

TEST(GuiBarsAndTabs, CheckedMenuItemsAreCheckedInTheMenuShown) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    TPopupMenu popup(&form);
    for (bool checked : {true, false}) {
        auto item = new TMenuItem(&popup);
        item->SetCaption(checked ? "On" : "Off");
        item->SetChecked(checked);
        popup.Items().Add(item);
    }
    ShownStates[0] = ShownStates[1] = 0xFFFF;
    SetTimer(form.Handle(), 1, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND shown = FindWindowW(L"#32768", nullptr);
        auto menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
        if (!menu || !IsWindowVisible(shown)) return;
        for (int i = 0; i < 2; ++i)
            ShownStates[i] = GetMenuState(menu, i, MF_BYPOSITION);
        PostMessageW(shown, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    popup.Popup(50, 50, form.Handle());
    KillTimer(form.Handle(), 1);
    ASSERT_NE(ShownStates[0], 0xFFFFu);
    EXPECT_TRUE(ShownStates[0] & MF_CHECKED);
    EXPECT_FALSE(ShownStates[1] & MF_CHECKED);
}

TEST(GuiBarsAndTabs, MainMenusBuildTheWindowsMenuAndClickTheChosenItem) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto menu = new TMainMenu(&form);
    auto file = new TMenuItem(menu);
    file->SetCaption("&File");
    menu->Items().Add(file);
    int opened = 0;
    TMenuItem* items[3];
    for (int i = 0; i < 3; ++i) {
        items[i] = new TMenuItem(menu);
        items[i]->SetCaption(i == 1 ? "-" : i == 0 ? "&Open" : "&Hidden");
        file->Add(items[i]);
    }
    items[0]->OnClick = [&](TObject*) { ++opened; };
    items[0]->SetChecked(true);
    items[2]->SetVisible(false);
    menu->AttachTo(form);
    HMENU bar = GetMenu(form.Handle());
    ASSERT_EQ(bar, menu->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(GetSubMenu(bar, 0), file->Handle());
    EXPECT_EQ(GetMenuItemID(bar, 0), UINT(-1)); // a popup item
    EXPECT_EQ(menu->FindItem(file->Command()), file);
    ASSERT_EQ(GetMenuItemCount(file->Handle()), 2); // the hidden item is left out
    EXPECT_EQ(GetMenuItemID(file->Handle(), 0), items[0]->Command());
    EXPECT_TRUE(GetMenuState(file->Handle(), 0, MF_BYPOSITION) & MF_CHECKED);

    SendMessageW(form.Handle(), WM_COMMAND, items[0]->Command(), 0);
    EXPECT_EQ(opened, 1);
    items[0]->SetEnabled(false); // a disabled item does not click
    SendMessageW(form.Handle(), WM_COMMAND, items[0]->Command(), 0);
    EXPECT_EQ(opened, 1);

    HMENU sub = file->Handle();
    items[2]->SetVisible(true);
    menu->RebuildItem(*file); // the same submenu, filled again
    EXPECT_EQ(file->Handle(), sub);
    EXPECT_EQ(GetMenuItemCount(sub), 3);
    EXPECT_TRUE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED);
}
