// The whole program painted with its skin: driven from outside, every control it
// shows answers as skinned and works; built here, its pages, dialogs and message
// boxes are skinned and given back again and again without losing a GDI object.
#include "EveryDialog.h"
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "app/MainForm.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "support/PopupMenus.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

bool Skinned(HWND wnd) {
    return wnd && SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1;
}

// A window shown and skinned: its skinned window is active and its controls wrapped.
bool SkinnedAndActive(HWND wnd) {
    return PumpUntil([wnd] {
        TSkinForm* form = SkinManager()->FindSkinForm(wnd);
        return form && form->Activated();
    });
}

} // namespace

class SkinnedProgram : public TProgramTest {
protected:
    // A visible child that answers as skinned.
    HWND ShownSkinned(HWND parent, const char* className, const char* caption) {
        HWND found = Shown(parent, className, caption);
        EXPECT_TRUE(WaitFor([&] { return Skinned(found); })) << caption;
        return found;
    }
};

TEST_F(SkinnedProgram, RunsSwitchesPagesAndOpensAKeepDialogSkinned) {
    Program.WritePrefs([](TEraserEngine&) {}); // nothing to erase: a quick simulation
    StartProgram();
    PostClick(ShownSkinned(Main, "TButton", "Simulation Mode  "));
    EXPECT_TRUE(LogShows("Cleaning Completed!"));
    PostClick(ShownSkinned(Main, "TButton", "Cleaner Settings   "));
    HWND box = ShownSkinned(Main, "TCheckBox", "Erase Windows Clipboard");
    const LRESULT before = SendMessageA(box, BM_GETCHECK, 0, 0);
    PostClick(box);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) != before; }));
    PostClick(ShownSkinned(Main, "TButton", "Internet Browsers"));
    PostClick(ShownSkinned(Main, "TButton", "Keep Cookies"));
    HWND dialog = Program.WaitForWindow("TfKeepCookie");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "Keep Cookies");
    EXPECT_NE(FindChild(dialog, "TListView"), nullptr);
    PostClick(ShownSkinned(dialog, "TButton", "&Cancel"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    // The button's context menu reaches the window through its panel.
    MouseClick(ShownSkinned(Main, "TButton", "User settings         "), true);
    ASSERT_TRUE(WaitFor([] { return !ShownMenus().empty(); }, 5000));
    PostMessageA(ShownMenus()[0], WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([] { return ShownMenus().empty(); }));
    CloseProgram();
}

TEST(SkinnedWindows, PagesDialogsAndSkinningOverAndOverLeakNothing) {
    auto main = std::make_unique<TfMain>(nullptr);
    main->Show();
    ASSERT_TRUE(SkinnedAndActive(main->Handle()));
    // The skinned caption draws the window's own icon, not the program's on its key.
    EXPECT_NE(SendMessageW(main->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
    TSkinManage& manager = *SkinManager();
    TEveryDialog dialogs;
    const std::vector<TButton*> pages = main->NavigationButtons();
    auto round = [&](int times) {
        for (TButton* page : pages) {
            page->Click();
            main->Update();
        }
        for (const TEveryDialog::TMake& make : dialogs.Makers())
            for (int i = 0; i < times; ++i) {
                std::unique_ptr<TForm> dialog = make();
                dialog->Show();
                ASSERT_TRUE(SkinnedAndActive(dialog->Handle())) << dialog->ClassName();
                EXPECT_NE(SendMessageW(dialog->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
            }
        bool boxSkinned = false;
        RunLater([&] {
            HWND box = FindWindowW(L"#32770", L"Skinned");
            boxSkinned = PumpUntil([&] { return Skinned(GetDlgItem(box, IDOK)); });
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        MessageBoxW(main->Handle(), L"A message box", L"Skinned", MB_OK);
        EXPECT_TRUE(boxSkinned);
        for (int i = 0; i < times; ++i) {
            manager.SetActionData(main->SkinData);
            manager.RequestAction(TSkinAction::UnskinAll, 10);
            manager.DoAction();
            ASSERT_FALSE(Skinned(main->NavigationButton("mainCleabButton")->Handle()));
            manager.SetActionData(main->SkinData);
            manager.RequestAction(TSkinAction::SkinAll, 10);
            manager.DoAction();
            ASSERT_TRUE(SkinnedAndActive(main->Handle()));
        }
        ASSERT_TRUE(Skinned(main->NavigationButton("mainCleabButton")->Handle()));
        // The controls paint what they keep for painting: counted at rest, never half-way.
        Application->ProcessMessages();
    };
    round(1); // the first round makes what lives as long as the program
    const long live = LiveGdiObjects;
    round(200);
    EXPECT_EQ(LiveGdiObjects, live);
}
