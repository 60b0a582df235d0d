// The whole program painted with its skin: driven from outside, every control it
// shows answers as skinned and works; built here, its pages, dialogs and message
// boxes are skinned and given back again and again without losing a GDI object.
#include "ProgramRun.h"
#include "app/CleanMethodSelectorForm.h"
#include "app/EditIEAutoFindForm.h"
#include "app/EditMethodForm.h"
#include "app/EditPasswordManagerForm.h"
#include "app/EnterPasswordForm.h"
#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "app/MainForm.h"
#include "app/MethodsForm.h"
#include "engine/Progress.h"
#include "engine/erasers/EraseFiles.h"
#include "engine/erasers/EraseRegistry.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "support/PumpMessages.h"
#include <functional>
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

// A popup menu on screen, of any process.
HWND ShownMenu() {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

// A right click by the mouse itself (not a posted message) at the window's centre.
void RightClick(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, input, sizeof(INPUT));
}

} // namespace

TEST(SkinnedProgram, RunsSwitchesPagesAndOpensAKeepDialogSkinned) {
    TProgramRun program;
    program.WritePrefs([](TEraserEngine&) {}); // nothing to erase: a quick simulation
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow("TfMain");
    ASSERT_NE(main, nullptr);
    auto shown = [&](HWND parent, const char* className, const char* caption) {
        HWND found = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            found = FindChild(parent, className, caption);
            return found && IsWindowVisible(found) && Skinned(found);
        })) << caption;
        return found;
    };
    HWND memo = FindChild(main, "TMemo");
    PostClick(shown(main, "TButton", "Simulation Mode  "));
    EXPECT_TRUE(
        WaitFor([&] { return WindowText(memo).find("Cleaning Completed!") != std::string::npos; }));
    PostClick(shown(main, "TButton", "Cleaner Settings   "));
    HWND box = shown(main, "TCheckBox", "Erase Windows Clipboard");
    const LRESULT before = SendMessageA(box, BM_GETCHECK, 0, 0);
    PostClick(box);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) != before; }));
    PostClick(shown(main, "TButton", "Internet Browsers"));
    PostClick(shown(main, "TButton", "Keep Cookies"));
    HWND dialog = program.WaitForWindow("TfKeepCookie");
    ASSERT_NE(dialog, nullptr);
    PostClick(shown(dialog, "TButton", "&Cancel"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    // The button's context menu reaches the window through its panel.
    RightClick(shown(main, "TButton", "User settings         "));
    HWND menu = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (menu = ShownMenu()) != nullptr; }, 5000));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([] { return ShownMenu() == nullptr; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}

TEST(SkinnedProgram, PagesDialogsAndSkinningOverAndOverLeakNothing) {
    auto main = std::make_unique<TfMain>(nullptr);
    main->Show();
    ASSERT_TRUE(SkinnedAndActive(main->Handle()));
    TSkinManage& manager = *SkinManager();
    TEraseFiles cookies{"IEEraseCookies", "Cookies"};
    TEraseRegistry typedURLs{"IEEraseTypedURLs", "Typed URLs"};
    using TMake = std::function<TForm*()>;
    const std::vector<TMake> dialogs = {
        [&] {
            auto d = new TfKeepCookie(nullptr);
            d->Eraser = &cookies;
            return d;
        },
        [&] {
            auto d = new TfKeepTypedURLs(nullptr);
            d->Eraser = &typedURLs;
            return d;
        },
        [] { return new TfEditIEAutoFind(nullptr); },
        [] { return new TfEditMethod(nullptr); },
        [] { return new TfMethodsForm(nullptr); },
        [] { return new TfEditPasswordManager(nullptr); },
        [] { return new TfEnterPassword(nullptr); },
        [] { return new TfCleanMethodSelector(nullptr); },
        [] { return new TfProgress(nullptr); },
    };
    TButton* pages[] = {main->mainCleabButton,    main->mainWindowsButton, main->mainFreeButton,
                        main->mainShredderButton, main->mainPCManager,     main->mainJunkButton,
                        main->mainPlugButton,     main->mainMiscButton};
    auto round = [&](int times) {
        for (TButton* page : pages) {
            page->Click();
            main->Update();
        }
        for (const TMake& make : dialogs)
            for (int i = 0; i < times; ++i) {
                std::unique_ptr<TForm> dialog(make());
                dialog->Show();
                ASSERT_TRUE(SkinnedAndActive(dialog->Handle())) << dialog->ClassName();
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
            ASSERT_FALSE(Skinned(main->mainCleabButton->Handle()));
            manager.SetActionData(main->SkinData);
            manager.RequestAction(TSkinAction::SkinAll, 10);
            manager.DoAction();
            ASSERT_TRUE(SkinnedAndActive(main->Handle()));
        }
        ASSERT_TRUE(Skinned(main->mainCleabButton->Handle()));
        // The controls paint what they keep for painting: counted at rest, never half-way.
        Application->ProcessMessages();
    };
    round(1); // the first round makes what lives as long as the program
    const long live = LiveGdiObjects;
    round(200);
    EXPECT_EQ(LiveGdiObjects, live);
}
