// The skin changed at run time from a skin file while a window is painted and hovered:
// no caption button points into the skin that went, every skinned window is drawn from
// the new skin, and a hundred changes hold no more GDI objects than one.
#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinCaption.h"
#include "skin/SkinManage.h"
#include "skin/SolidSkin.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

class SkinChangePixels : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        Data = ActiveSolidSkin();
        Data->OnSkinChanged = [this](TObject*) { ++Changes; };
        // The program's own skin, as a skin file holds it: the packed bytes alone.
        const std::string stored = ReadStoredSkinStream();
        ASSERT_GT(stored.size(), 4u);
        SkinFile = Folder.Write("teal.skin", stored.substr(4));
    }
    void TearDown() override {
        delete Data;
        FreeSkinManager();
    }
    std::unique_ptr<TForm> SkinnedForm(int x) {
        auto form = std::make_unique<TForm>(Application);
        form->SetBounds(x, 100, 320, 240);
        form->SetCaption("Change");
        auto button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(20, 20, 100, 30);
        button->SetCaption("Button");
        form->Show();
        EXPECT_TRUE(PumpUntil([&] {
            TSkinForm* skinned = SkinManager()->FindSkinForm(form->Handle());
            return skinned && skinned->Activated();
        }));
        return form;
    }
    // Every caption button of the window is one of the current skin's elements.
    bool ButtonsOfCurrentSkin(HWND wnd) const {
        TSkinForm* skinned = SkinManager()->FindSkinForm(wnd);
        if (!skinned) return false;
        const auto& elements = Data->Elements().SysButtons;
        for (const auto& button : skinned->Caption().Buttons()) {
            bool current = false;
            for (const auto& element : elements)
                current = current || &button->Element == element.get();
            if (!current) return false;
        }
        return true;
    }
    void ChangeSkin() {
        const int before = Changes;
        Data->SetSkinFile(SkinFile);
        EXPECT_TRUE(PumpUntil([&] { return Changes > before; }));
    }
    static LPARAM ScreenPoint(HWND wnd, POINT p) {
        RECT r;
        GetWindowRect(wnd, &r);
        return MAKELPARAM(r.left + p.x, r.top + p.y);
    }
    TSkinData* Data = nullptr;
    int Changes = 0;
    TTempFolder Folder;
    std::string SkinFile;
};

uint32_t BitmapPixel(const TBitmap& bitmap, int x, int y) {
    return bitmap.ScanLine(y)[x] & 0xFFFFFF;
}

} // namespace

TEST_F(SkinChangePixels, AChangeWhileTheTitleIsPaintedAndHoveredDrawsOnlyTheNewSkin) {
    auto form = SkinnedForm(100);
    auto other = SkinnedForm(500);
    HWND wnd = form->Handle();
    SetForegroundWindow(wnd);
    ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinForm(wnd)->Active(); }));
    const RECT w0 = [&] {
        RECT r;
        GetWindowRect(wnd, &r);
        return r;
    }();
    const POINT close{w0.right - w0.left - solid::Close.X + solid::ButtonWidth / 2,
                      solid::ButtonTop + solid::ButtonHeight / 2};
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(wnd, close));
    ASSERT_NE(SkinManager()->FindSkinForm(wnd)->Hot(), nullptr);

    Data->SetSkinFile(SkinFile);
    ASSERT_TRUE(Data->SkinReady());
    // Painted and hovered before the new skin is applied: nothing of the old one is read.
    EXPECT_TRUE(ButtonsOfCurrentSkin(wnd));
    EXPECT_TRUE(ButtonsOfCurrentSkin(other->Handle()));
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(wnd, close));
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(wnd, {60, 4}));
    EXPECT_TRUE(ButtonsOfCurrentSkin(wnd));

    ASSERT_TRUE(PumpUntil([&] { return Changes == 1; }));
    SettleScreen();
    const auto& borders = Data->Elements().Borders;
    const int left = borders[TSkinElements::bdLeft]->FrameWidth();
    const int title =
        borders[TSkinElements::bdTop]->Bitmap.Height() / borders[TSkinElements::bdTop]->FrameCount;
    for (HWND each : {wnd, other->Handle()}) {
        TSkinForm* skinned = SkinManager()->FindSkinForm(each);
        ASSERT_TRUE(skinned);
        EXPECT_TRUE(ButtonsOfCurrentSkin(each));
        EXPECT_EQ(skinned->Caption().Buttons().size(), Data->Elements().SysButtons.size());
        EXPECT_EQ(skinned->Metrics().Left, left);
        EXPECT_EQ(skinned->Metrics().Title, title);
        // The client area kept its size inside the new frame.
        RECT client, window;
        GetClientRect(each, &client);
        GetWindowRect(each, &window);
        EXPECT_EQ(window.bottom - window.top - client.bottom,
                  title + skinned->Metrics().Bottom + skinned->Metrics().MenuBar);
        EXPECT_EQ(TWinControl::FindControl(each)->Color(), Data->Colours().ButtonFace);
    }
    // The active window's close button shows frame 1 of the new skin's close picture.
    TSkinForm* skinned = SkinManager()->FindSkinForm(wnd);
    SetForegroundWindow(wnd);
    ASSERT_TRUE(PumpUntil([&] { return skinned->Active(); }));
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    for (const auto& button : skinned->Caption().Buttons()) {
        if (button->Action() != TCaptionAction::Close || !button->Laid()) continue;
        const TDataSkinSysButton& e = button->Element;
        const int cx = (button->Rect.left + button->Rect.right) / 2;
        const int cy = (button->Rect.top + button->Rect.bottom) / 2;
        const uint32_t expected = BitmapPixel(e.Bitmap, e.FrameWidth() / 2, e.Bitmap.Height() / 2);
        EXPECT_NE(expected, solid::Close.Frames[0]);
        EXPECT_EQ(WindowPixelSoon(wnd, cx, cy, expected), expected);
    }
}

TEST_F(SkinChangePixels, AHundredChangesHoldNoMoreGdiObjectsThanOne) {
    auto form = SkinnedForm(100);
    ChangeSkin();
    ChangeSkin();
    const long live = LiveGdiObjects;
    for (int i = 0; i < 100; ++i)
        ChangeSkin();
    EXPECT_EQ(LiveGdiObjects, live);
    EXPECT_TRUE(SkinManager()->FindSkinForm(form->Handle()));
}
