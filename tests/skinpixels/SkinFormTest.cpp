// Skinned windows as the screen shows them: with the solid skin every border, title
// and caption-button pixel names the frame drawn in each state, the region cuts the
// magenta corners, and the client area keeps its size, skinned and unskinned.
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/ImageList.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "skin/SolidSkin.h"
#include "support/PopupMenus.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

class SkinFormPixels : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        Data = ActiveSolidSkin();
    }
    void TearDown() override {
        delete Data;
        FreeSkinManager();
    }
    // A form shown and skinned, its client area 300 x 200, with the menu if one is given.
    std::unique_ptr<TForm> SkinnedForm(TFormBorderStyle style = bsSizeable, int x = 100,
                                       HMENU menu = nullptr) {
        auto form = std::make_unique<TForm>(Application);
        form->SetBorderStyle(style);
        if (menu) SetMenu(form->Handle(), menu);
        form->SetBounds(x, 100, 200, 100);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        form->SetCaption("Solid");
        form->Show();
        EXPECT_TRUE(PumpUntil([&] {
            TSkinForm* skinned = SkinManager()->FindSkinForm(form->Handle());
            return skinned && skinned->Activated();
        }));
        SettleScreen();
        return form;
    }
    static SIZE WindowSize(HWND wnd) {
        RECT r;
        GetWindowRect(wnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    // The centre of a caption button, in window coordinates.
    static POINT ButtonCentre(HWND wnd, const solid::TSolidButton& b) {
        return {WindowSize(wnd).cx - b.X + solid::ButtonWidth / 2,
                solid::ButtonTop + solid::ButtonHeight / 2};
    }
    static LPARAM ScreenPoint(HWND wnd, POINT p) {
        RECT r;
        GetWindowRect(wnd, &r);
        return MAKELPARAM(r.left + p.x, r.top + p.y);
    }
    static uint32_t At(HWND wnd, POINT p, uint32_t expected) {
        return WindowPixelSoon(wnd, p.x, p.y, expected);
    }
    TSkinData* Data = nullptr;
};

// Counts the themed native-caption messages that reach the form's own procedure.
class TNativeCaptionSpy {
public:
    explicit TNativeCaptionSpy(TForm& form) : FForm(form), FPrevious(form.WindowProc) {
        form.WindowProc = TWndMethod::Of<&TNativeCaptionSpy::Proc>(this);
    }
    ~TNativeCaptionSpy() { FForm.WindowProc = FPrevious; }
    TNativeCaptionSpy(const TNativeCaptionSpy&) = delete;
    TNativeCaptionSpy& operator=(const TNativeCaptionSpy&) = delete;
    int Count = 0;

private:
    void Proc(TMessage& message) {
        if (message.Msg == WM_NCUAHDRAWCAPTION || message.Msg == WM_NCUAHDRAWFRAME) ++Count;
        FPrevious(message);
    }
    TForm& FForm;
    TWndMethod FPrevious;
};

// The client area's top left, in window coordinates.
POINT ClientOrigin(HWND wnd) {
    RECT window;
    GetWindowRect(wnd, &window);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    return {origin.x - window.left, origin.y - window.top};
}

} // namespace

TEST_F(SkinFormPixels, ActiveAndInactiveFramesShowTheirFramesAndTheRegionCutsTheCorners) {
    auto form = SkinnedForm();
    HWND wnd = form->Handle();
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const SIZE size = WindowSize(wnd);
    EXPECT_EQ(size.cx, 300 + solid::LeftWidth + solid::RightWidth);
    EXPECT_EQ(size.cy, 200 + solid::TitleHeight + solid::BottomHeight);
    const int w = size.cx, h = size.cy;

    EXPECT_EQ(At(wnd, {2, h / 2}, solid::LeftActive), solid::LeftActive);
    EXPECT_EQ(At(wnd, {w - 3, h / 2}, solid::RightActive), solid::RightActive);
    EXPECT_EQ(At(wnd, {w / 2, h - 2}, solid::BottomActive), solid::BottomActive);
    EXPECT_EQ(At(wnd, {w - 70, 1}, solid::TopActive), solid::TopActive);
    EXPECT_EQ(At(wnd, {1, 1}, DesktopColour), DesktopColour);
    EXPECT_EQ(At(wnd, {w - 2, 1}, DesktopColour), DesktopColour);
    EXPECT_EQ(At(wnd, {1, solid::Corner}, solid::LeftActive), solid::LeftActive);
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Close), solid::Close.Frames[0]),
              solid::Close.Frames[0]);
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Maximize), solid::Maximize.Frames[0]),
              solid::Maximize.Frames[0]);
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Minimize), solid::Minimize.Frames[0]),
              solid::Minimize.Frames[0]);
    // The system-menu button shows the window's icon, never its own picture.
    const POINT sysMenu{solid::SysMenuX + 8, solid::SysMenuY + 8};
    EXPECT_NE(TScreenShot::OfWindow(wnd).At(sysMenu.x, sysMenu.y), solid::SysMenuPicture);

    // A new caption repaints the skinned title (Wine draws the native one on WM_SETTEXT).
    form->SetCaption("Another caption");
    EXPECT_EQ(At(wnd, {w - 70, 1}, solid::TopActive), solid::TopActive);
    // The whole caption is written in the title text colour, not cut to an ellipsis.
    const TScreenShot title = TScreenShot::OfWindow(wnd);
    int written = 0;
    for (int y = 0; y < solid::TitleHeight; ++y)
        for (int x = solid::LeftWidth; x < w - 60; ++x)
            written += title.At(x, y) == 0xFFFFFF ? 1 : 0;
    EXPECT_GT(written, 25); // an ellipsis alone is a dozen

    auto other = SkinnedForm(bsSizeable, 500);
    EXPECT_EQ(At(wnd, {2, h / 2}, solid::LeftInactive), solid::LeftInactive);
    EXPECT_EQ(At(wnd, {w - 70, 1}, solid::TopInactive), solid::TopInactive);
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Close), solid::Close.Frames[3]),
              solid::Close.Frames[3]);
}

TEST_F(SkinFormPixels, CaptionButtonsShowHoverPressAndTheMaximizedLook) {
    auto form = SkinnedForm();
    HWND wnd = form->Handle();
    const POINT close = ButtonCentre(wnd, solid::Close);
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(wnd, close));
    EXPECT_EQ(At(wnd, close, solid::Close.Frames[2]), solid::Close.Frames[2]);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(wnd, close));
    EXPECT_EQ(At(wnd, close, solid::Close.Frames[1]), solid::Close.Frames[1]);
    // Leaving it: the normal frame over the title's background, no trace of the press.
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(wnd, {150, 2}));
    EXPECT_EQ(At(wnd, close, solid::Close.Frames[0]), solid::Close.Frames[0]);
    EXPECT_EQ(At(wnd, {close.x - solid::ButtonWidth / 2 - 1, close.y}, solid::TopActive),
              solid::TopActive);
    // Released elsewhere: no action.
    SendMessageW(wnd, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(wnd, {150, 2}));
    PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(IsWindowVisible(wnd));

    const POINT maximize = ButtonCentre(wnd, solid::Maximize);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(wnd, maximize));
    SendMessageW(wnd, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(wnd, maximize));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(wnd) != FALSE; }));
    SettleScreen();
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Restore), solid::Restore.Frames[0]),
              solid::Restore.Frames[0]);
    ShowWindow(wnd, SW_RESTORE);
    SettleScreen();
    EXPECT_EQ(At(wnd, ButtonCentre(wnd, solid::Maximize), solid::Maximize.Frames[0]),
              solid::Maximize.Frames[0]);
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
}

TEST_F(SkinFormPixels, FixedFramesKeepTheirClientSizeAndUnskinningGivesTheNativeFrameBack) {
    auto form = SkinnedForm(bsSingle);
    HWND wnd = form->Handle();
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);

    bool changed = false;
    Data->OnSkinChanged = [&](TObject*) { changed = true; };
    Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return changed; }));
    SettleScreen();
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    POINT now{0, 0};
    ClientToScreen(wnd, &now);
    EXPECT_EQ(now.x, origin.x);
    EXPECT_EQ(now.y, origin.y);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(wnd, region), ERROR);
    DeleteObject(region);
    EXPECT_NE(At(wnd, {1, 1}, DesktopColour), DesktopColour);
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
}

TEST_F(SkinFormPixels, BareWindowsAreSkinnedAndForgottenWhenDestroyed) {
    TSkinManage* manager = SkinManager();
    const int before = manager->SkinnedCount();
    HWND dialog =
        CreateWindowExW(0, L"#32770", L"Bare", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 300,
                        200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == before + 1; }));
    EXPECT_EQ(At(dialog, {2, 100}, solid::LeftActive), solid::LeftActive);
    DestroyWindow(dialog);
    EXPECT_TRUE(PumpUntil([&] { return manager->SkinnedCount() == before; }, 1000));
}

TEST_F(SkinFormPixels, TheSystemPopupShowsTheMenuImagesAndTheCloseShortcut) {
    // One solid image each: restore, maximize, minimize, close.
    const uint32_t images[4] = {0xC00000, 0x00A000, 0x0000C0, 0xA000A0};
    TBitmap strip;
    strip.SetSize(64, 16);
    for (int i = 0; i < 4; ++i) {
        TGdiObject brush(
            CreateSolidBrush(RGB(images[i] >> 16, (images[i] >> 8) & 0xFF, images[i] & 0xFF)));
        RECT r{i * 16, 0, i * 16 + 16, 16};
        FillRect(strip.Canvas().Handle(), &r, static_cast<HBRUSH>(brush.Get()));
    }
    Data->MenuImages().Clear();
    Data->MenuImages().AddMasked(strip, clWhite);
    auto form = SkinnedForm();
    HWND wnd = form->Handle();
    uint32_t restore = 0, minimize = 0, close = 0;
    int closeInk = 0, minimizeInk = 0;
    RunLater([&] {
        const std::vector<HWND> popups = ShownMenus();
        HWND popup = popups.empty() ? nullptr : popups[0];
        auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        RECT item[5]{};
        for (int i = 0; i < 5; ++i)
            GetMenuItemRect(nullptr, menu, i, &item[i]);
        // Items: Restore, Maximize, Minimize, a line, Close; the glyph box at (1, 1).
        auto glyph = [&](int i) { return POINT{item[i].left + 9, item[i].top + 9}; };
        close = ScreenPixelSoon(glyph(4).x, glyph(4).y, images[3]);
        restore = ScreenPixel(glyph(0).x, glyph(0).y);
        minimize = ScreenPixel(glyph(2).x, glyph(2).y);
        // Text ink right-aligned before the item's end: the shortcut of Close only.
        auto ink = [](const RECT& r) {
            const TScreenShot shot({r.right - 40, r.top, r.right - 10, r.bottom});
            int dark = 0;
            for (int x = 0; x < shot.Width(); ++x)
                for (int y = 0; y < shot.Height(); ++y)
                    if ((shot.At(x, y) & 0xFF) < 0x60) ++dark;
            return dark;
        };
        closeInk = ink(item[4]);
        minimizeInk = ink(item[2]);
        PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    SendMessageW(wnd, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(wnd, {150, 8}));
    EXPECT_EQ(close, images[3]);
    EXPECT_EQ(minimize, images[2]);
    // A normal window cannot be restored: the item is disabled, its image in the
    // disabled text's colour.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(restore, (GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow));
    EXPECT_GT(closeInk, 10);
    EXPECT_EQ(minimizeInk, 0);
}

TEST_F(SkinFormPixels, NewNonClientMetricsKeepTheClientSizeAndThemedCaptionMessagesStopAtTheSkin) {
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 100, L"&File");
    auto form = SkinnedForm(bsSizeable, 100, menu);
    HWND wnd = form->Handle();
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(ClientOrigin(wnd).y, solid::TitleHeight + menuHeight);

    // Taller menus: the bar grows, the window with it.
    NONCLIENTMETRICSW before{};
    before.cbSize = sizeof(before);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(before), &before, 0);
    NONCLIENTMETRICSW taller = before;
    taller.iMenuHeight += 12;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(taller), &taller, 0);
    const int tallerHeight = GetSystemMetrics(SM_CYMENU);
    SendMessageW(wnd, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(before), &before, 0);
    EXPECT_GT(tallerHeight, menuHeight);
    EXPECT_EQ(ClientOrigin(wnd).y, solid::TitleHeight + tallerHeight);
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const SIZE size = WindowSize(wnd);
    EXPECT_EQ(At(wnd, {size.cx - 70, 1}, solid::TopActive), solid::TopActive);

    // What themed systems send to draw the native caption and frame never gets past the
    // skin, which draws its own.
    TNativeCaptionSpy spy(*form);
    SendMessageW(wnd, WM_NCUAHDRAWCAPTION, 0, 0);
    SendMessageW(wnd, WM_NCUAHDRAWFRAME, 0, 0);
    EXPECT_EQ(spy.Count, 0);
    EXPECT_EQ(At(wnd, {size.cx - 70, 1}, solid::TopActive), solid::TopActive);
}
