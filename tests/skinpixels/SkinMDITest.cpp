// A skinned MDI form with two MDI children, as the screen shows it: normal children
// in skinned frames; a maximized one with its native caption bits and the active
// child's three buttons in the frame's menu bar, which restore and close it; tile and
// cascade giving every child its skinned frame back; native MDI frames on and off;
// Alt+keys typed in a child reaching the MDI form.
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Timer.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinCaption.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuBar.h"
#include "skin/SolidSkin.h"
#include "support/PopupMenus.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Frames 1 to 4 of the minimize, restore and close buttons of the MDI child.
constexpr uint32_t MDIColours[12] = {0x3060E0, 0x203080, 0x80A0FF, 0x101840, 0xE06030, 0x803020,
                                     0xFFA080, 0x401810, 0x30E060, 0x208030, 0x80FFA0, 0x104018};
constexpr int MDIButton = 12;

class SkinMDIPixels : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        Data = new TSkinData(Application);
        Data->SetActive(true);
        LoadSolidSkin(*Data, "[MDIControls]\nImage=mdicontrols.bmp\n",
                      {{"mdicontrols.bmp", MakeBmp(MDIButton, MDIButton,
                                                   std::vector<uint32_t>(std::begin(MDIColours),
                                                                         std::end(MDIColours)))}});
        Data->Loaded();
        Frame = std::make_unique<TForm>(Application);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetBounds(60, 60, 640, 480);
        Frame->SetCaption("Frame");
        HMENU bar = CreateMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
        SetMenu(Frame->Handle(), bar);
        Frame->Show();
        ASSERT_TRUE(PumpUntil([&] { return Skinned(Frame->Handle()); }));
    }
    void TearDown() override {
        Frame.reset();
        delete Data;
        FreeSkinManager();
    }
    // The skinned window, once it has been activated.
    static TSkinForm* Skinned(HWND wnd) {
        TSkinForm* skinned = SkinManager()->FindSkinForm(wnd);
        return skinned && skinned->Activated() ? skinned : nullptr;
    }
    TForm* Child(const std::string& caption, int x) {
        auto child = new TForm(Frame.get());
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(x, 10, 240, 180);
        child->SetCaption(caption);
        child->Show();
        EXPECT_TRUE(PumpUntil([&] { return Skinned(child->Handle()); }));
        return child;
    }
    HWND Client() const { return Frame->ClientHandle(); }
    // The child shows the skin's left border and bottom: its skinned frame.
    static bool SkinnedFrameShown(HWND wnd) {
        RECT r;
        GetWindowRect(wnd, &r);
        const int h = r.bottom - r.top;
        const uint32_t left = WindowPixelSoon(wnd, 2, h / 2, solid::LeftActive, 1500);
        return left == solid::LeftActive || left == solid::LeftInactive;
    }
    // The non-client height is the skin's title and bottom, or the top of a native
    // caption where that is higher.
    static bool SkinnedClientSize(HWND wnd) {
        TSkinForm* skinned = SkinManager()->FindSkinForm(wnd);
        RECT client, window;
        GetClientRect(wnd, &client);
        GetWindowRect(wnd, &window);
        const TFrameMetrics& m = skinned->Metrics();
        return window.right - window.left - client.right == m.Left + m.Right &&
               window.bottom - window.top - client.bottom == m.Title + m.MenuBar + m.Bottom;
    }
    static bool NativeCaptionBits(HWND wnd) {
        const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
        return (style & WS_SYSMENU) && (style & WS_MAXIMIZEBOX) && (style & WS_MINIMIZEBOX);
    }
    static bool HasRegion(HWND wnd) {
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        return GetWindowRgn(wnd, region.Get()) != ERROR;
    }
    // The frame's MDI-child button with that action, laid out in the menu bar.
    TWinSysButton* MDIButtonOf(TCaptionAction action) const {
        for (const auto& button : Skinned(Frame->Handle())->Caption().Buttons())
            if (button->Action() == action) return button.get();
        return nullptr;
    }
    void Click(TWinSysButton& button) const {
        HWND wnd = Frame->Handle();
        RECT r;
        GetWindowRect(wnd, &r);
        const LPARAM at = MAKELPARAM(r.left + (button.Rect.left + button.Rect.right) / 2,
                                     r.top + (button.Rect.top + button.Rect.bottom) / 2);
        SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, at);
        SendMessageW(wnd, WM_NCLBUTTONUP, HTMENU, at);
    }
    TSkinData* Data = nullptr;
    std::unique_ptr<TForm> Frame;
};

} // namespace

TEST_F(SkinMDIPixels, MaximizeRestoreTileCascadeAndCloseKeepEveryChildFramed) {
    TForm* one = Child("One", 10);
    TForm* two = Child("Two", 280);
    EXPECT_EQ(Skinned(Frame->Handle())->MDIRole(), TMDIRole::Frame);
    for (TForm* child : {one, two}) {
        HWND wnd = child->Handle();
        EXPECT_EQ(Skinned(wnd)->MDIRole(), TMDIRole::Child);
        EXPECT_TRUE(SkinnedClientSize(wnd));
        EXPECT_TRUE(SkinnedFrameShown(wnd));
        EXPECT_TRUE(HasRegion(wnd));
    }
    const LONG_PTR clientStyle = GetWindowLongPtrW(Client(), GWL_STYLE);
    EXPECT_FALSE(clientStyle & (WS_HSCROLL | WS_VSCROLL)) << "no scroll bars without the option";

    // Maximized: native caption bits, no region, the three buttons in the menu bar.
    SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
    ASSERT_TRUE(PumpUntil([&] { return SkinManager()->MDIMaximized(); }));
    SettleScreen();
    EXPECT_TRUE(NativeCaptionBits(one->Handle()));
    EXPECT_FALSE(HasRegion(one->Handle()));
    const TCaptionAction actions[3] = {TCaptionAction::ChildMinimize, TCaptionAction::ChildRestore,
                                       TCaptionAction::ChildClose};
    for (int k = 0; k < 3; ++k) {
        TWinSysButton* button = MDIButtonOf(actions[k]);
        ASSERT_TRUE(button);
        ASSERT_TRUE(button->Laid());
        const RECT& r = button->Rect;
        EXPECT_GE(r.top, Skinned(Frame->Handle())->Metrics().Title) << "in the menu bar";
        const uint32_t expected = MDIColours[4 * k];
        EXPECT_EQ(WindowPixelSoon(Frame->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2,
                                  expected),
                  expected);
    }

    // Under the mouse a button shows its fourth frame.
    {
        TWinSysButton& minimize = *MDIButtonOf(TCaptionAction::ChildMinimize);
        RECT fr;
        GetWindowRect(Frame->Handle(), &fr);
        const POINT centre{(minimize.Rect.left + minimize.Rect.right) / 2,
                           (minimize.Rect.top + minimize.Rect.bottom) / 2};
        SetCursorPos(fr.left + centre.x, fr.top + centre.y); // the hover timer keeps it hot
        SendMessageW(Frame->Handle(), WM_NCMOUSEMOVE, HTMENU,
                     MAKELPARAM(fr.left + centre.x, fr.top + centre.y));
        EXPECT_EQ(WindowPixelSoon(Frame->Handle(), centre.x, centre.y, MDIColours[3]),
                  MDIColours[3]);
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }

    // The restore button gives the child its skinned frame back.
    Click(*MDIButtonOf(TCaptionAction::ChildRestore));
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(one->Handle()); }));
    EXPECT_FALSE(SkinManager()->MDIMaximized());
    EXPECT_FALSE(NativeCaptionBits(one->Handle()));
    EXPECT_TRUE(HasRegion(one->Handle()));
    EXPECT_TRUE(PumpUntil([&] { return !MDIButtonOf(TCaptionAction::ChildRestore)->Laid(); }));
    EXPECT_TRUE(SkinnedFrameShown(one->Handle()));

    // Tiled or cascaded from a maximized child, every child is framed again.
    for (bool tile : {true, false}) {
        SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two->Handle()), 0);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager()->MDIMaximized(); }));
        tile ? Frame->Tile() : Frame->Cascade();
        ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(two->Handle()); }));
        EXPECT_FALSE(SkinManager()->MDIMaximized());
        for (TForm* child : {one, two}) {
            EXPECT_TRUE(SkinnedClientSize(child->Handle())) << (tile ? "tile" : "cascade");
            EXPECT_TRUE(SkinnedFrameShown(child->Handle())) << (tile ? "tile" : "cascade");
        }
    }

    // The close button closes the maximized child; the other one is left.
    SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two->Handle()), 0);
    ASSERT_TRUE(PumpUntil([&] { return SkinManager()->MDIMaximized(); }));
    SettleScreen();
    HWND twoWnd = two->Handle();
    Click(*MDIButtonOf(TCaptionAction::ChildClose));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(twoWnd); }));
    EXPECT_EQ(Frame->ActiveMDIChild(), one);
    EXPECT_EQ(SkinManager()->MDIMaximized(), bool(IsZoomed(one->Handle())));
}

TEST_F(SkinMDIPixels, NativeMDIFramesOnAndOffAndTheSkinSwitchedOff) {
    TForm* one = Child("One", 10);
    HWND wnd = one->Handle();
    SkinManager()->SetNativeMDIFrames(true);
    SettleScreen();
    EXPECT_TRUE(NativeCaptionBits(wnd));
    EXPECT_FALSE(HasRegion(wnd));
    EXPECT_FALSE(SkinnedClientSize(wnd));
    EXPECT_FALSE(SkinnedFrameShown(wnd));
    SkinManager()->SetNativeMDIFrames(false);
    SettleScreen();
    EXPECT_FALSE(NativeCaptionBits(wnd));
    EXPECT_TRUE(HasRegion(wnd));
    EXPECT_TRUE(SkinnedClientSize(wnd));
    EXPECT_TRUE(SkinnedFrameShown(wnd));

    // Unskinned, the child keeps its client area where it is, in its client's place.
    auto clientOnScreen = [wnd] {
        RECT r;
        GetClientRect(wnd, &r);
        MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT before = clientOnScreen();
    Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->SkinnedCount() == 0; }));
    const RECT after = clientOnScreen();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(NativeCaptionBits(wnd));
}

namespace {

// Alt+key typed in a control: the key message as the keyboard posts it.
void AltKey(HWND wnd, wchar_t key) {
    PostMessageW(wnd, WM_SYSCHAR, key, 0x20000001); // repeat 1, Alt down
}

} // namespace

// Alt+key typed in a skinned MDI child: its own controls first, then the MDI form's
// controls, then the form's skinned menu bar; the same key twice acts twice, and the
// menu bar survives the menu closed in between.
TEST_F(SkinMDIPixels, AltKeysFromAChildReachItsOwnControlsThenTheMDIForm) {
    int exported = 0, applied = 0;
    auto exportButton = new TButton(Frame.get());
    exportButton->SetParent(Frame.get());
    exportButton->SetCaption("E&xport");
    exportButton->OnClick = [&](TObject*) { ++exported; };
    auto child = new TForm(Frame.get());
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10, 40, 240, 180);
    auto edit = new TEdit(child);
    edit->SetParent(child);
    auto apply = new TButton(child);
    apply->SetParent(child);
    apply->SetTop(40);
    apply->SetCaption("&Apply");
    apply->OnClick = [&](TObject*) { ++applied; };
    child->Show();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(child->Handle()); }));
    edit->SetFocus();

    AltKey(edit->Handle(), 'x');
    ASSERT_TRUE(PumpUntil([&] { return exported == 1; }));
    AltKey(edit->Handle(), 'X');
    ASSERT_TRUE(PumpUntil([&] { return exported == 2; }));
    AltKey(edit->Handle(), 'a');
    ASSERT_TRUE(PumpUntil([&] { return applied == 1; }));
    EXPECT_EQ(exported, 2) << "the child's own button takes its key";

    // The form's menu bar opens the button of the key, the same way twice.
    TSkinMenu* bar = Skinned(Frame->Handle())->MenuBar();
    ASSERT_TRUE(bar);
    AppendMenuW(GetSubMenu(bar->Menu(), 0), MF_STRING, 100, L"&Open");
    for (int time = 0; time < 2; ++time) {
        std::vector<int> tracked;
        TTimer timer(nullptr);
        timer.SetInterval(100);
        timer.SetOnTimer([&](TObject*) {
            if (bar->TrackedIndex() < 0) return;
            tracked.push_back(bar->TrackedIndex());
            EndMenu();
        });
        AltKey(edit->Handle(), 'f');
        ASSERT_TRUE(PumpUntil([&] { return !tracked.empty() && bar->TrackedIndex() < 0; }));
        EXPECT_EQ(tracked.front(), 0);
    }
    EXPECT_EQ(exported, 2);
    EXPECT_EQ(applied, 1);
}

TEST_F(SkinMDIPixels, AChildKeepsTheNativeSystemMenuAndTheRightClickOnItsCaption) {
    HWND wnd = Child("Child", 10)->Handle();
    HMENU shown = HMENU(1); // the menu open a moment after each call
    auto note = [&] {
        RunLater([&] {
            const std::vector<HWND> menus = ShownMenus();
            shown = menus.empty() ? nullptr : HMENU(SendMessageW(menus[0], MN_GETHMENU, 0, 0));
            EndMenu();
        });
    };
    PostMessageW(wnd, WM_RBUTTONUP, 0, 0); // the old procedure waits for the release
    note(), SendMessageW(wnd, WM_NCRBUTTONDOWN, HTCAPTION, 0);
    ASSERT_TRUE(PumpUntil([&] { return !shown; }));
    note(), Skinned(wnd)->Caption().SystemPopup({200, 200});
    EXPECT_EQ(shown, GetSystemMenu(wnd, FALSE));
}
