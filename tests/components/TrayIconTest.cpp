#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Menus.h"
#include "components/TrayIcon/TrayNotifyIcon.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
// Plays the shell: sends the icon's callback with a mouse or balloon message.
void ShellSends(const TTrayNotifyIcon& icon, UINT message) {
    SendMessageA(TTrayNotifyIcon::HandlerWindow(), TTrayNotifyIcon::WM_TRAYNOTIFY, icon.Id(),
                 message);
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        Icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        Icon.OnClick = [this](TObject*) { Events.push_back("click"); };
        Icon.OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            Events.push_back("down" + std::to_string(b) + (s & ssLeft ? "L" : "") +
                             (s & ssRight ? "R" : ""));
        };
        Icon.OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            Events.push_back("up" + std::to_string(b));
        };
    }
    using List = std::vector<std::string>;
    TTrayNotifyIcon Icon{nullptr};
    List Events;
};
} // namespace

TEST_F(TrayIconTest, ClickWithoutDoubleClickHandlerFiresOnRelease) {
    ShellSends(Icon, WM_LBUTTONDOWN);
    ShellSends(Icon, WM_LBUTTONUP);
    EXPECT_EQ(Events, (List{"down0L", "click", "up0"}));

    Events.clear();
    Icon.Enabled = false;
    ShellSends(Icon, WM_LBUTTONDOWN);
    ShellSends(Icon, WM_LBUTTONUP);
    EXPECT_TRUE(Events.empty());
}

TEST_F(TrayIconTest, DoubleClickHandlerDelaysTheClickAndSwallowsItOnDoubleClick) {
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("Open");
    item->SetDefault(true);
    item->OnClick = [this](TObject*) { Events.push_back("default item"); };
    menu.Items().Add(item);
    Icon.PopupMenu = &menu;
    Icon.OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };

    ShellSends(Icon, WM_LBUTTONDOWN);
    ShellSends(Icon, WM_LBUTTONUP);
    EXPECT_EQ(Events, (List{"down0L", "up0"}));
    ASSERT_TRUE(PumpUntil([&] { return Events.size() == 3; }));
    EXPECT_EQ(Events.back(), "click");

    Events.clear();
    ShellSends(Icon, WM_LBUTTONDOWN);
    ShellSends(Icon, WM_LBUTTONUP);
    ShellSends(Icon, WM_LBUTTONDBLCLK);
    ShellSends(Icon, WM_LBUTTONUP);
    PumpUntil([] { return false; }, GetDoubleClickTime() + 200);
    EXPECT_EQ(Events, (List{"down0L", "up0", "dblclick", "default item", "up0"}));
}

TEST_F(TrayIconTest, RightButtonOpensThePopupMenuLeftOnlyWithLeftPopup) {
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("Exit");
    menu.Items().Add(item);
    TMsgTimer closer(50, [](TObject* t) {
        static_cast<TMsgTimer*>(t)->Stop();
        EndMenu();
    });
    int popups = 0;
    menu.OnPopup = [&](TObject*) {
        ++popups;
        closer.Start();
    };
    Icon.PopupMenu = &menu;

    ShellSends(Icon, WM_LBUTTONDOWN);
    EXPECT_EQ(popups, 0);
    ShellSends(Icon, WM_RBUTTONDOWN);
    EXPECT_EQ(popups, 1);
    ShellSends(Icon, WM_RBUTTONUP);
    EXPECT_EQ(menu.PopupComponent, &Icon);
    Icon.LeftPopup = true;
    ShellSends(Icon, WM_LBUTTONDOWN);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(Events, (List{"down0L", "down1R", "up1", "down0L"}));

    // A menu without its automatic popup is left to its own owner, also on a double
    // click's default item.
    menu.AutoPopup = false;
    item->SetDefault(true);
    item->OnClick = [this](TObject*) { Events.push_back("default item"); };
    Icon.LeftPopup = false;
    Events.clear();
    ShellSends(Icon, WM_RBUTTONDOWN);
    ShellSends(Icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(Events, (List{"down1R"}));
}

TEST_F(TrayIconTest, BalloonAndMiddleButtonNotifications) {
    Icon.OnBalloonHintShow = [this](TObject* s) { Events.push_back(s == &Icon ? "show" : "?"); };
    Icon.OnBalloonHintClick = [this](TObject*) { Events.push_back("balloon click"); };
    ShellSends(Icon, NIN_BALLOONSHOW);
    ShellSends(Icon, NIN_BALLOONUSERCLICK);
    ShellSends(Icon, WM_MBUTTONDOWN);
    ShellSends(Icon, WM_MBUTTONUP);
    ShellSends(Icon, WM_USER + 77);
    EXPECT_EQ(Events, (List{"show", "balloon click", "down2", "up2"}));
}

TEST_F(TrayIconTest, EnterAndExitFollowThePointer) {
    Icon.SetWantEnterExitEvents(true);
    Icon.OnMouseEnter = [this](TObject*) { Events.push_back("enter"); };
    Icon.OnMouseExit = [this](TObject*) { Events.push_back("exit"); };
    Icon.OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
        Events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    SetCursorPos(10, 10);
    ShellSends(Icon, WM_MOUSEMOVE);
    ShellSends(Icon, WM_MOUSEMOVE);
    EXPECT_EQ(Events, (List{"enter", "move 10,10", "move 10,10"}));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Events.size(), 3u);
    SetCursorPos(200, 200);
    ASSERT_TRUE(PumpUntil([&] { return Events.size() == 4; }));
    EXPECT_EQ(Events.back(), "exit");
}

TEST_F(TrayIconTest, CyclesThroughTheImageList) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (int i = 0; i < 3; ++i)
        ImageList_AddIcon(list, LoadIconW(nullptr, IDI_APPLICATION));
    Icon.SetIconList(list);
    Icon.SetIconIndex(7);
    EXPECT_EQ(Icon.IconIndex(), 2);
    std::vector<int> next;
    Icon.OnCycle = [&](TObject*, int n) { next.push_back(n); };
    Icon.SetCycleInterval(10);
    Icon.SetCycleIcons(true);
    ASSERT_TRUE(PumpUntil([&] { return next.size() >= 4; }));
    Icon.SetCycleIcons(false);
    EXPECT_EQ(std::vector<int>(next.begin(), next.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
    Icon.SetIconList(nullptr);
    ImageList_Destroy(list);
}

TEST_F(TrayIconTest, NotificationForAFreedIconIsIgnored) {
    auto gone = std::make_unique<TTrayNotifyIcon>(nullptr);
    const UINT id = gone->Id();
    gone.reset();
    SendMessageA(TTrayNotifyIcon::HandlerWindow(), TTrayNotifyIcon::WM_TRAYNOTIFY, id,
                 WM_LBUTTONDOWN);
    EXPECT_TRUE(Events.empty());
}

// An icon built from a form's description asks at the end of loading whether the main
// form shows; an icon made in code is never asked.
TEST(TrayIcon, LoadedAsksOnStartupAndReappliesTheShownState) {
    auto* form = new TForm(Application);
    Application->SetMainForm(form);
    form->Show();
    auto* icon = new TTrayNotifyIcon(form);
    int asked = 0;
    icon->OnStartup = [&](TObject* sender, bool& show) {
        ++asked;
        EXPECT_EQ(sender, icon);
        EXPECT_TRUE(show);
        show = false;
    };
    icon->SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    icon->SetIconVisible(true);
    EXPECT_EQ(asked, 0);
    icon->Loaded();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(Application->ShowMainForm);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(icon->IconVisible());

    // Answered true, the form stays as it is.
    Application->ShowMainForm = true;
    form->Show();
    icon->OnStartup = [&](TObject*, bool&) { ++asked; };
    icon->Loaded();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(Application->ShowMainForm);
    EXPECT_TRUE(form->Visible());
    Application->SetMainForm(nullptr);
    delete form;
}

// Minimising the owner form hides it into the notification area.
TEST(TrayIcon, MinimizeToTrayHidesTheMainFormAndShowMainFormBringsItBack) {
    auto* form = new TForm(Application);
    Application->SetMainForm(form);
    form->Show();
    auto* icon = new TTrayNotifyIcon(form);
    icon->MinimizeToTray = true;
    int minimized = 0;
    icon->OnMinimizeToTray = [&](TObject*) { ++minimized; };

    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(icon->IconVisible());

    icon->ShowMainForm();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(IsIconic(form->Handle()));

    // A restarted shell gets the visible icon again.
    SendMessageA(Application->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon->IconVisible());

    // The application window's own minimising reaches the icon through the
    // application's hook list.
    SendMessageW(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(form->Visible());
    icon->ShowMainForm();
    EXPECT_TRUE(form->Visible());

    Application->SetMainForm(nullptr);
    delete form; // frees the icon with it, and unhooks it
    SendMessageW(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
}
