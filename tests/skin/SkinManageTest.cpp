// The skin manager skinning the windows it sees activated, and giving them back.
#include "skin/SkinManage.h"
#include "SkinTestSupport.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

const char* const MenuSkinIni = "[Colours]\nButtonFace=10 20 30\nMenu=0 0 255\n"
                                "[MenuBackground]\nImage=menu.bmp\n";

class SkinManage : public testing::Test {
protected:
    void SetUp() override {
        Data = new TSkinData(Application);
        Data->SetActive(true);
        Data->LoadSkinParts(MenuSkinIni, {{"menu.bmp", MakeBmp(12, 12, {0x00FF00})}});
        Data->Loaded();
    }
    void TearDown() override {
        delete Data;
        FreeSkinManager();
    }
    static bool Skinned(TForm& form) {
        return SendMessageW(form.Handle(), WM_SKINQUERY, 0, 0) == 1;
    }
    static std::unique_ptr<TForm> ShownForm(int tag = 0) {
        auto form = std::make_unique<TForm>(Application);
        form->SetBounds(10, 10, 200, 100);
        form->SetTag(tag);
        form->Show();
        return form;
    }
    TSkinData* Data = nullptr;
};

} // namespace

TEST_F(SkinManage, SkinsActivatedFormsAndUnskinsThemOnRequest) {
    TSkinManage* manager = SkinManager();
    ASSERT_TRUE(manager);
    EXPECT_TRUE(manager->Active); // no window activated yet: switched on at once
    auto form = ShownForm();
    ASSERT_TRUE(PumpUntil([&] { return manager->FindSkinForm(form->Handle()) != nullptr; }));
    EXPECT_TRUE(Skinned(*form));
    EXPECT_EQ(form->Color(), RGB(10, 20, 30));
    EXPECT_FALSE(manager->SkinWindow(form->Handle())); // a second time does nothing

    auto ignored = ShownForm(99);
    PumpUntil([] { return false; }, 100);
    EXPECT_FALSE(Skinned(*ignored));

    bool changed = false;
    Data->OnSkinChanged = [&](TObject*) { changed = true; };
    Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return changed; }));
    EXPECT_FALSE(Skinned(*form));
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(manager->SkinnedCount(), 0);

    Data->SetActive(true); // skins every visible form again, from the timer
    ASSERT_TRUE(PumpUntil([&] { return Skinned(*form); }));
}

TEST_F(SkinManage, AWindowSkinnedBeforeItShowsIsNeitherShownNorActivated) {
    TSkinManage* manager = SkinManager();
    TForm form(Application);
    form.SetBounds(10, 10, 200, 100);
    int activations = 0;
    form.OnActivate = [&](TObject*) { ++activations; };
    manager->SkinBeforeShown(form.Handle());
    TSkinForm* skinned = manager->FindSkinForm(form.Handle());
    ASSERT_TRUE(skinned);
    EXPECT_TRUE(skinned->Activated()); // controls, frame and region done
    MSG pass;
    EXPECT_FALSE(PeekMessageW(&pass, form.Handle(), WM_SKINACTIVATE, WM_SKINACTIVATE, PM_NOREMOVE));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(activations, 0);
    form.Show();
    EXPECT_TRUE(PumpUntil([&] { return activations == 1; }));
    EXPECT_EQ(manager->FindSkinForm(form.Handle()), skinned);
}

namespace {

// For every window that WM_SHOWWINDOW shows: whether its skin was complete then.
std::map<HWND, bool> SkinnedWhenShown;

LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam) {
    auto call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam) {
        TSkinForm* form = SkinManager()->FindSkinForm(call->hwnd);
        SkinnedWhenShown[call->hwnd] = form && form->Activated();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// A form shown by the program, with a button on it: its window made by the show, or
// made before and shown later, and shown again after a hide. Its controls are skinned
// before anything paints: no pass is left for the message loop.
TEST_F(SkinManage, EveryFormIsSkinnedBeforeItFirstShows) {
    TSkinManage* manager = SkinManager();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchShows, nullptr, GetCurrentThreadId());
    auto madeByShow = std::make_unique<TForm>(Application);
    madeByShow->SetBounds(10, 10, 200, 100);
    auto button = new TButton(madeByShow.get());
    button->SetParent(madeByShow.get());
    madeByShow->Show();
    MSG pass;
    const bool passLeft =
        PeekMessageW(&pass, madeByShow->Handle(), WM_SKINACTIVATE, WM_SKINACTIVATE, PM_NOREMOVE);
    TSkinForm* skinned = manager->FindSkinForm(madeByShow->Handle());
    const bool buttonSkinned = skinned && skinned->Controls().FindFor(button);
    auto madeBefore = std::make_unique<TForm>(Application);
    madeBefore->SetBounds(30, 30, 200, 100);
    madeBefore->HandleNeeded();
    madeBefore->Show();
    madeBefore->Hide();
    madeBefore->Show();
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(passLeft);
    EXPECT_TRUE(buttonSkinned);
    EXPECT_TRUE(IsWindowVisible(button->Handle()));
    EXPECT_EQ(SkinnedWhenShown[madeByShow->Handle()], true);
    EXPECT_EQ(SkinnedWhenShown[madeBefore->Handle()], true);
    SkinnedWhenShown.clear();
}

TEST_F(SkinManage, DestroyedWindowsAndRemovedDataAreForgotten) {
    TSkinManage* manager = SkinManager();
    auto form = ShownForm();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(*form); }));
    HWND wnd = form->Handle();
    form.reset();
    EXPECT_EQ(manager->FindSkinForm(wnd), nullptr);
    EXPECT_EQ(manager->SkinnedCount(), 0);

    auto second = ShownForm();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(*second); }));
    delete Data; // the manager lets go of the data and of what it skinned
    Data = nullptr;
    EXPECT_EQ(manager->MainData(), nullptr);
    EXPECT_FALSE(Skinned(*second));
    EXPECT_EQ(second->Color(), clBtnFace);
}

// The caption's fallback icon: a blue icon whose edge is half transparent shows no
// trace of the magenta key it is cut out on.
TEST_F(SkinManage, TheProgramIconIsCutOutByItsMask) {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    TBitmapHandle colours(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::vector<WORD> maskRows(static_cast<size_t>(h) * ((w + 15) / 16), 0);
    for (int i = 0; i < w * h; ++i) // the top row and left column half transparent
        static_cast<uint32_t*>(bits)[i] =
            (i < w || i % w == 0 ? 0x80000000 : 0xFF000000) | 0x2040C0;
    TBitmapHandle mask(CreateBitmap(w, h, 1, 1, maskRows.data()));
    ICONINFO parts{TRUE, 0, 0, mask.Get(), colours.Get()};
    TIconHandle icon(CreateIconIndirect(&parts));
    SendMessageW(Application->Handle(), WM_SETICON, ICON_SMALL, LPARAM(icon.Get()));
    Data->Loaded();
    SendMessageW(Application->Handle(), WM_SETICON, ICON_SMALL, 0);
    ASSERT_EQ(Data->SmallIcon().Width(), w);
    for (int i = 0; i < w * h; ++i) // the key's red in none of them
        EXPECT_LE(Data->SmallIcon().ScanLine(0)[i] >> 16 & 0xFF, 0x20u) << i;
}

TEST_F(SkinManage, PopupMenusGetTheSkinnedFrameAndItems) {
    auto form = std::make_unique<TForm>(Application);
    auto menu = new TPopupMenu(form.get());
    auto item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->Items().Add(item);
    form->SetBounds(10, 10, 200, 100);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(*form); }));
    EXPECT_TRUE(menu->OwnerDraw);
    LRESULT answer = 0;
    COLORREF corner = 0, itemPixel = 0;
    RunLater([&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        answer = SendMessageW(popup, WM_SKINQUERY, 0, 0);
        UpdateWindow(popup);
        RECT r;
        GetWindowRect(popup, &r);
        HDC dc = GetWindowDC(popup);
        corner = GetPixel(dc, 1, 1);
        itemPixel = GetPixel(dc, r.right - r.left - 8, (r.bottom - r.top) / 2);
        ReleaseDC(popup, dc);
        PostMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
        EndMenu();
    });
    menu->Popup(50, 50, form->Handle());
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(corner, RGB(0, 255, 0));
    EXPECT_EQ(itemPixel, RGB(0, 0, 255)); // the skin's menu colour: no MenuItem element
    Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !Skinned(*form); }));
    EXPECT_FALSE(menu->OwnerDraw);
}

TEST_F(SkinManage, ClassVetoesGiveWayToTheApplicationAndLoadingKeepsOneMenuKind) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    std::vector<bool> skinned; // without and with the application's say
    for (const wchar_t* name : {L"SysMonthCal32", L"TPreview"}) {
        cls.lpszClassName = name;
        RegisterClassW(&cls);
        HWND wnd = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 90, 90, nullptr, nullptr,
                                   cls.hInstance, nullptr);
        Data->Options = 0, Data->OnFormSkin = nullptr;
        skinned.push_back(SkinManager()->SkinWindow(wnd));
        Data->OnFormSkin = [](TObject*, const std::string&, bool& doSkin) { doSkin = true; };
        skinned.push_back(SkinManager()->SkinWindow(wnd));
    }
    EXPECT_EQ(skinned, (std::vector<bool>{false, true, false, false}));
    TSkinData menus(nullptr), bar(nullptr);
    menus.SkinControls = SkinKind(xcMenuItem) | SkinKind(xcSystemMenu);
    bar.SkinControls = menus.SkinControls | SkinKind(xcMainMenu);
    menus.Loaded(), bar.Loaded();
    EXPECT_EQ(menus.SkinControls, SkinKind(xcMenuItem));
    EXPECT_EQ(bar.SkinControls, SkinKind(xcMainMenu) | SkinKind(xcSystemMenu));
}
