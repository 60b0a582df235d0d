// Elements and colours parsed from a small synthetic skin.
#include "SkinTestSupport.h"
#include "skin/ImageUtils.h"
#include "skin/SkinData.h"
#include <gtest/gtest.h>

namespace {

const char* const TestIni = R"([TitlebarSkin]
SkinName=Test
[Personality]
Top=top.bmp
TopTopHeight=4
TopBotHeight=5
TopFrame=0
TopStretch=2
Left=dir\left.BMP
menuBar=bar.bmp
TileMenu=3
ActiveTextR=0
ActiveTextG=0
ActiveTextB=0
InActiveTextR=1
InActiveTextG=1
[Colours]
ButtonFace=10 20 30
ButtonText=1,2,3
[ButtonClose]
Action=0
ButtonImage=wide.bmp
[ButtonHelp]
Action=-1
[ButtonSpacer]
Action=-1
Visibility=0
ButtonImage=narrow.bmp
[Buttons]
Bitmap=button.bmp
CheckButton=check.bmp
RadioButton=radio.bmp
NormalColour2=200 0 0
[Progress]
Bitmap=narrow.bmp
Tile=2
Style=1
[Tabs]
Image=narrow.bmp
Tile=2
Trans=1
[ComboButton]
Image=narrow.bmp
Style=3
[Colour0]
color=1 1 1
[ColoursRevert]
color=2 2 2
[HorzScrollThumb]
Image=narrow.bmp
FrameCount=0
Trans=2
Tile=1
[Scrollbar]
Image=missing.bmp
[MenuBackground]
Image=narrow.png
)";

TSkinMembers TestMembers() {
    return {{"top.bmp", MakeBmp(20, 6, {0x0000FF, 0x00FF00})},
            {"bar.bmp", MakeBmp(10, 4, {0x112233})},
            {"wide.bmp", MakeBmp(50, 10, {0x808080})},
            {"narrow.bmp", MakeBmp(30, 10, {0x808080})},
            {"button.bmp", MakeBmp(10, 10, {1, 2, 3, 4, 5})},
            {"check.bmp", MakeBmp(13, 13, {1, 2, 3, 4})},
            {"radio.bmp", MakeBmp(16, 16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})}};
}

} // namespace

TEST(SkinElements, ParsedFromATestSkin) {
    TSkinData data(nullptr);
    EXPECT_FALSE(data.SkinReady());
    data.LoadSkinParts(TestIni, TestMembers());
    ASSERT_TRUE(data.SkinReady());
    const TSkinElements& e = data.Elements();
    EXPECT_EQ(data.SkinName(), "Test");

    const TDataSkinBorder& top = *e.Borders[TSkinElements::bdTop];
    EXPECT_EQ(top.Bitmap.Width(), 40);
    EXPECT_EQ(top.LeftWidth, 4);
    EXPECT_EQ(top.RightWidth, 5);
    EXPECT_EQ(top.FrameCount, 1); // a frame count of 0 would divide by zero when painting
    EXPECT_TRUE(top.Tile);        // a border's stretch of 2 gives 1
    EXPECT_TRUE(top.Trans);       // a border's key colour is on unless switched off
    EXPECT_TRUE(e.Borders[TSkinElements::bdLeft]->Bitmap.Empty()); // ".BMP" is not ".bmp"

    EXPECT_EQ(data.Colours().ButtonFace, RGB(10, 20, 30));
    EXPECT_EQ(data.Colours().Menubar, RGB(10, 20, 30));
    EXPECT_EQ(data.Colours().Menu, SystemColor(COLOR_MENU));
    EXPECT_EQ(data.IndexedColours(), (std::vector<TColor>{RGB(1, 1, 1), RGB(2, 2, 2)}));
    EXPECT_EQ(data.CustomColours()[9], clWhite);

    // Caption buttons: the Action -1 section without Visibility is dropped; the wide
    // picture (ratio 5) gets 6 frames, the narrow one (ratio 3) 3; then the MDI three.
    ASSERT_EQ(e.SysButtons.size(), 2u + 3u);
    EXPECT_EQ(e.SysButtons[0]->FrameCount, 6);
    EXPECT_EQ(e.SysButtons[1]->Name, "ButtonSpacer");
    EXPECT_EQ(e.SysButtons[1]->FrameCount, 6); // negative actions keep 6
    EXPECT_EQ(e.SysButtons[1]->Visibility1, -1);
    EXPECT_EQ(e.SysButtons[4]->Action, 9);

    EXPECT_EQ(e.Buttons->FrameCount, 5);
    EXPECT_EQ(e.Buttons->CheckFrames, 4);  // 52 x 13: width / 13
    EXPECT_EQ(e.Buttons->RadioFrames, 10); // 160 x 16: width / 16
    EXPECT_TRUE(e.Buttons->NormalColour2Given);
    EXPECT_FALSE(e.Buttons->PressedColour2Given);
    EXPECT_EQ(e.Buttons->PressedColour2, RGB(1, 2, 3));

    EXPECT_EQ(e.Title->ActiveTextColor, clBlack);
    EXPECT_EQ(e.Title->InactiveTextColor, clNone); // no blue key
    EXPECT_TRUE(e.Progress->Tile);                 // Progress keeps 1, plain elements 0
    EXPECT_EQ(e.Progress->Style, TProgressStyle::Chunks);
    EXPECT_FALSE(e.Tabs->Tile);
    EXPECT_TRUE(e.Tabs->Trans);
    EXPECT_EQ(e.ComboButton->Style, TComboButtonStyle::Parts); // an unknown style: the plain one
    EXPECT_EQ(e.Tabs->FrameCount, 5);
    EXPECT_TRUE(e.MenuBar->Tile);
    EXPECT_EQ(e.MenuBar->FrameCount, 2);
    EXPECT_EQ(e.HorzScrollThumb->FrameCount, 1);
    EXPECT_FALSE(e.HorzScrollThumb->Trans); // only 1 switches the key colour on
    EXPECT_TRUE(e.HorzScrollThumb->Tile);
    ASSERT_TRUE(e.Scrollbar); // present, its member missing
    EXPECT_TRUE(e.Scrollbar->Bitmap.Empty());
    EXPECT_TRUE(e.MenuBackground->Bitmap.Empty()); // not a .bmp
    EXPECT_FALSE(e.Headerbar);                     // not in the skin
    ASSERT_TRUE(e.Toolbar);
    EXPECT_EQ(e.Toolbar->Bitmap.Height(), 40);
}

TEST(SkinElements, ImageUtilities) {
    EXPECT_EQ(MixColor(0x000000, 0xFFFFFF, 50), 0x808080);
    EXPECT_EQ(MixColor(0xFFFFFF, 0x000000, 100), 0x1A1A1A); // per mille: 10 % of C1
    EXPECT_EQ(MixColor(0x123456, 0xABCDEF, 0), 0xABCDEF);
    EXPECT_EQ(MixColor(0x123456, 0xABCDEF, 5000), 0x123456); // clamped to 1000

    TBitmap b;
    b.SetSize(3, 40);
    GradientFill(b.Canvas().Handle(), RECT{0, 0, 3, 40}, clWhite, clBlack, 1);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), clWhite);
    EXPECT_EQ(b.Canvas().Pixel(1, 39), 0x010101);
    GradientFill(b.Canvas().Handle(), RECT{0, 0, 3, 1}, clWhite, clBlack, 1);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), 0x808080);

    ASSERT_TRUE(LoadBitmapFromBytes(b, MakeBmp(2, 3, {0x0000FF, 0x00FF00})));
    MirrorBitmap(b);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), 0x00FF00);
    RotateBitmapCW(b);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 4);
    EXPECT_EQ(b.Canvas().Pixel(0, 3), 0xFF0000); // source (3, 2): the red half
    EXPECT_FALSE(LoadBitmapFromBytes(b, MakeBmp(2, 3, {0}).substr(0, 60)));
    EXPECT_TRUE(b.Empty());
}
