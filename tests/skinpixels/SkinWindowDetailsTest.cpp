// Details of skinned windows: a menu replaced while the window is skinned, a dialog
// too narrow for its caption, and controls that let their parent show through.
#include "classlib/gui/Application.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Image.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinMessages.h"
#include "skin/SolidSkin.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

HMENU MenuOf(std::initializer_list<const wchar_t*> captions) {
    HMENU bar = CreateMenu();
    for (const wchar_t* caption : captions) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"&Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption);
    }
    return bar;
}

TSkinForm* SkinnedSoon(HWND wnd) {
    TSkinForm* skinned = nullptr;
    PumpUntil([&] {
        skinned = SkinManager()->FindSkinForm(wnd);
        return skinned && skinned->Activated();
    });
    return skinned && skinned->Activated() ? skinned : nullptr;
}

// An opaque small icon of one colour; the caller destroys it.
HICON SolidIcon(uint32_t colour) {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    TBitmap picture;
    picture.SetSize(w, h);
    picture.Canvas().Brush().SetColor(
        static_cast<TColor>(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF)));
    picture.Canvas().FillRect(RECT{0, 0, w, h});
    const std::vector<uint8_t> zeros(((w + 15) / 16) * 2 * h, 0);
    TGdiObject mask(CreateBitmap(w, h, 1, 1, zeros.data()));
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), picture.Handle()};
    return CreateIconIndirect(&info);
}

class SkinWindowDetails : public TPixelTest {
protected:
    void TearDown() override {
        delete Data;
        FreeSkinManager();
        SettleScreen(200);
    }
    TSkinData* Data = nullptr;
};

} // namespace

TEST_F(SkinWindowDetails, ANewMenuOfTheWindowRebuildsTheBarOnlyWhileMenusUpdate) {
    Data = ActiveSolidSkin();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    SetMenu(form->Handle(), MenuOf({L"&File", L"&Edit"}));
    form->Show();
    HWND wnd = form->Handle();
    TSkinForm* skinned = SkinnedSoon(wnd);
    ASSERT_TRUE(skinned);
    ASSERT_TRUE(skinned->MenuBar());
    EXPECT_EQ(skinned->MenuBar()->Count(), 2);
    RECT before;
    GetClientRect(wnd, &before);

    HMENU three = MenuOf({L"&File", L"&Edit", L"&Help"});
    SetMenu(wnd, three);
    SendMessageW(wnd, CM_MENUCHANGED, 0, 0);
    EXPECT_EQ(skinned->MenuBar()->Count(), 3);
    EXPECT_EQ(skinned->MenuBar()->Menu(), three);
    EXPECT_EQ(GetMenu(wnd), nullptr); // the bar holds it, not the window
    RECT after;
    GetClientRect(wnd, &after);
    EXPECT_EQ(after.bottom, before.bottom);
    const int barY = solid::TitleHeight + skinned->Metrics().MenuBar / 2;
    RECT window;
    GetWindowRect(wnd, &window);
    EXPECT_EQ(WindowPixelSoon(wnd, window.right - window.left - 20, barY, solid::MenuBarActive),
              solid::MenuBarActive);

    Data->MenuUpdate = false;
    HMENU one = MenuOf({L"&Only"});
    SetMenu(wnd, one);
    SendMessageW(wnd, CM_MENUCHANGED, 0, 0);
    EXPECT_EQ(skinned->MenuBar()->Count(), 3);
    SetMenu(wnd, nullptr);
    DestroyMenu(one);
    form.reset();
}

TEST_F(SkinWindowDetails, ABareDialogNarrowerThanItsCaptionIsWidenedAndItsButtonsDrawTransparent) {
    Data = ActiveSolidSkin();
    HWND dialog = CreateWindowExW(0, L"#32770", L"A caption far too long for so small a dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 90, 120, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 50, 24,
                                  dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    RECT client;
    GetClientRect(dialog, &client);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    ASSERT_TRUE(SkinnedSoon(dialog));
    RECT window;
    GetWindowRect(dialog, &window);
    const int width = window.right - window.left;
    const int framed = client.right + solid::LeftWidth + solid::RightWidth;
    EXPECT_GT(width, framed + 100);
    RECT at;
    GetWindowRect(button, &at);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, 10 + (width - framed) / 2);

    TMemoryDC dc(CreateCompatibleDC(nullptr));
    SetBkMode(dc.Get(), OPAQUE);
    SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
    DestroyWindow(dialog);
}

TEST_F(SkinWindowDetails, TransparentControlsShowWhatTheirParentPaintsUnderThem) {
    Data = new TSkinData(Application);
    Data->SetActive(true);
    Data->LoadSkinParts("[Colours]\nButtonFace=200 210 220\n[Buttons]\nCheckButton=check.bmp\n"
                        "CheckButtonFrame=2\n",
                        {{"check.bmp", MakeBmp(13, 13, {0x110000, 0x220000})}});
    Data->Options |= SkinOption(xoTransparent);
    Data->Loaded();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 320, 200);
    auto image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 300, 100);
    image->SetStretch(true);
    TBitmap red;
    red.SetSize(4, 4);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(RECT{0, 0, 4, 4});
    image->SetPicture(red);
    auto check = new TCheckBox(form.get());
    check->SetParent(form.get());
    check->SetBounds(10, 10, 120, 24);
    check->SetCaption("Over a picture");
    form->Show();
    ASSERT_TRUE(SkinnedSoon(form->Handle()));
    ASSERT_EQ(SendMessageW(check->Handle(), WM_SKINQUERY, 0, 0), 1);
    POINT p{115, 2}; // right of the caption, over the picture
    ClientToScreen(check->Handle(), &p);
    EXPECT_EQ(ScreenPixelSoon(p.x, p.y, 0xFF0000), 0xFF0000u);
    p = {6, 12}; // the glyph is still drawn on top
    ClientToScreen(check->Handle(), &p);
    EXPECT_EQ(ScreenPixelSoon(p.x, p.y, 0x110000), 0x110000u);
    form.reset();
}

TEST_F(SkinWindowDetails, AWindowWithoutAnIconShowsTheProgramsIconInItsCaptionAndANewIconAtOnce) {
    const uint32_t program = 0x2080E0, own = 0xE08020;
    HICON programIcon = SolidIcon(program), ownIcon = SolidIcon(own);
    HWND app = Application->Handle();
    const LRESULT before =
        SendMessageW(app, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon));
    Data = ActiveSolidSkin(); // its small icon is made from the program's
    auto open = [](int x) {
        auto form = std::make_unique<TForm>(Application);
        form->SetBounds(x, 100, 250, 150);
        return form;
    };
    auto plain = open(100), withIcon = open(400);
    SendMessageW(withIcon->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ownIcon));
    for (TForm* form : {plain.get(), withIcon.get()}) {
        form->Show();
        EXPECT_TRUE(SkinnedSoon(form->Handle()));
    }
    const int x = solid::SysMenuX + 8, y = solid::SysMenuY + 8;
    EXPECT_EQ(WindowPixelSoon(plain->Handle(), x, y, program), program);
    EXPECT_EQ(WindowPixelSoon(withIcon->Handle(), x, y, own), own);

    // A new icon shows at once; the native caption Wine draws on WM_SETICON never does.
    RECT window;
    GetWindowRect(plain->Handle(), &window);
    const POINT title{window.right - window.left - 70, 1};
    SetForegroundWindow(plain->Handle());
    EXPECT_EQ(WindowPixelSoon(plain->Handle(), title.x, title.y, solid::TopActive),
              solid::TopActive);
    SendMessageW(plain->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ownIcon));
    SettleScreen();
    EXPECT_EQ(TScreenShot::OfWindow(plain->Handle()).At(title.x, title.y), solid::TopActive);
    EXPECT_EQ(WindowPixelSoon(plain->Handle(), x, y, own), own);
    plain.reset();
    withIcon.reset();
    SendMessageW(app, WM_SETICON, ICON_BIG, before);
    DestroyIcon(programIcon);
    DestroyIcon(ownIcon);
}
