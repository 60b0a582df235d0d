// A skinned status bar: each panel's edge is the skin's frame for its bevel, the last
// panel reaches the edge, text keeps its side (mirrored for right-to-left reading), the
// size grip comes from the skin, a simple text takes the whole bar, and an owner-drawn
// panel is painted by the bar's handler.
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/StatusBar.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "skin/SkinTestSupport.h"
#include "support/PumpMessages.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Frames 1 lowered, 2 raised, 3 no bevel; a 2-pixel edge round a face-coloured middle
// would hide the frame in text, so each frame is one solid colour.
const uint32_t EdgeFrames[3] = {0x305070, 0x507030, 0x703050};
const uint32_t GripColour = 0x00A0A0, TextColour = 0x000000;
const COLORREF Face = RGB(200, 210, 220);

COLORREF Rgb(uint32_t c) {
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

class SkinnedStatusBar : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        Data = new TSkinData(Application);
        Data->SetActive(true);
        Data->LoadSkinParts(
            "[Colours]\nButtonFace=200 210 220\n"
            "[StatusBarEdges]\nImage=edges.bmp\nNormalColour2=0 0 0\n"
            "[ExtraImages]\nImage=extra.bmp\n",
            {{"edges.bmp", MakeBmp(8, 8, {std::begin(EdgeFrames), std::end(EdgeFrames)})},
             {"extra.bmp", MakeBmp(6, 6, {0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, GripColour})}});
        Data->Loaded();
        Form = std::make_unique<TForm>(Application);
        Form->SetBounds(100, 100, 400, 200);
        Bar = new TStatusBar(Form.get());
        Bar->SetParent(Form.get());
    }
    void TearDown() override {
        Form.reset();
        delete Data;
        FreeSkinManager();
        SettleScreen(200);
    }
    bool ShowSkinned() {
        Form->Show();
        return PumpUntil([&] {
            TSkinForm* skinned = SkinManager()->FindSkinForm(Form->Handle());
            return skinned && skinned->Activated() &&
                   SendMessageW(Bar->Handle(), WM_SKINQUERY, 0, 0) == 1;
        });
    }
    COLORREF Pixel(int x, int y, COLORREF expected) {
        POINT p{x, y};
        ClientToScreen(Bar->Handle(), &p);
        const uint32_t want =
            (GetRValue(expected) << 16) | (GetGValue(expected) << 8) | GetBValue(expected);
        return Rgb(ScreenPixelSoon(p.x, p.y, want));
    }
    // Pixels of the text colour in a band of the bar's client area.
    int Ink(int left, int right) {
        const auto shot = TScreenShot::OfWindow(Bar->Handle());
        int ink = 0;
        for (int x = left; x < right; ++x)
            for (int y = 4; y < Bar->Height() - 4; ++y)
                if (shot.At(x, y) == TextColour) ++ink;
        return ink;
    }
    TSkinData* Data = nullptr;
    std::unique_ptr<TForm> Form;
    TStatusBar* Bar = nullptr;
};

} // namespace

TEST_F(SkinnedStatusBar, PanelsShowTheFrameOfTheirBevelAndTextKeepsItsSide) {
    Bar->AddPanel({"", 100, taLeftJustify, pbLowered});
    Bar->AddPanel({"", 100, taLeftJustify, pbRaised});
    Bar->AddPanel({"Right to left", 100, taLeftJustify, pbNone, bdRightToLeft});
    ASSERT_TRUE(ShowSkinned());
    RECT client;
    GetClientRect(Bar->Handle(), &client);
    const int y = client.bottom / 2;
    EXPECT_EQ(Pixel(50, y, Rgb(EdgeFrames[0])), Rgb(EdgeFrames[0]));
    EXPECT_EQ(Pixel(150, y, Rgb(EdgeFrames[1])), Rgb(EdgeFrames[1]));
    EXPECT_EQ(Pixel(205, y, Rgb(EdgeFrames[2])), Rgb(EdgeFrames[2]));
    // The last panel runs to the bar's edge, under the grip drawn one pixel inside it.
    EXPECT_EQ(Pixel(client.right - 10, 3, Rgb(EdgeFrames[2])), Rgb(EdgeFrames[2]));
    EXPECT_EQ(Pixel(client.right - 3, client.bottom - 3, Rgb(GripColour)), Rgb(GripColour));
    // Read from right to left, a left-aligned text sits at the panel's right.
    EXPECT_GT(Ink(client.right - 90, client.right - 8), 10);
    EXPECT_EQ(Ink(205, 280), 0);

    Bar->SetSimplePanel(true);
    Bar->SetSimpleText("Simple");
    Bar->Repaint();
    EXPECT_EQ(Pixel(150, y, Rgb(EdgeFrames[0])), Rgb(EdgeFrames[0]));
    EXPECT_GT(Ink(0, 60), 10);

    Data->SetActive(false); // the native bar again
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(Bar->Handle(), WM_SKINQUERY, 0, 0) == 0; }));
    EXPECT_TRUE(PumpUntil([&] { return Pixel(150, y, Face) != Rgb(EdgeFrames[0]); }));
}

// An owner-drawn panel between two text panels: the skinned bar calls the handler for
// every panel, with its rectangle inside the skinned edge, and what it paints shows;
// without the skin the native bar calls the same handler for the owner-drawn one.
TEST_F(SkinnedStatusBar, AnOwnerDrawnPanelIsPaintedByTheHandlerOnTheSkinnedBar) {
    const COLORREF Drawn = RGB(20, 180, 60);
    std::vector<int> drawn;
    RECT last{};
    Bar->OnDrawPanel = [&](TStatusBar* sender, int index, HDC dc, const RECT& rect) {
        EXPECT_EQ(sender, Bar);
        drawn.push_back(index);
        if (sender->Panel(index).Style != psOwnerDraw) return;
        last = rect;
        TBrushHandle brush(CreateSolidBrush(Drawn));
        FillRect(dc, &rect, brush.Get());
    };
    Bar->AddPanel({"Text", 100});
    TStatusPanel owner{"", 120, taLeftJustify, pbRaised};
    owner.Style = psOwnerDraw;
    Bar->AddPanel(owner);
    Bar->AddPanel({"More", 100});
    ASSERT_TRUE(ShowSkinned());
    // Painted by the skin, once and again: first shown, the bar may have been native.
    for (int time = 0; time < 2; ++time) {
        drawn.clear();
        Bar->Repaint();
        ASSERT_TRUE(PumpUntil([&] { return drawn.size() >= 3; }));
    }
    EXPECT_EQ(std::vector<int>(drawn.begin(), drawn.begin() + 3), (std::vector<int>{0, 1, 2}));
    RECT part;
    ASSERT_TRUE(SendMessageW(Bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    EXPECT_EQ(last.left, part.left + 2);
    EXPECT_EQ(last.top, part.top + 2);
    EXPECT_EQ(last.right, part.right - 2);
    EXPECT_EQ(last.bottom, part.bottom - 2);
    const int y = (part.top + part.bottom) / 2, middle = (part.left + part.right) / 2;
    EXPECT_EQ(Pixel(middle, y, Drawn), Drawn);
    // The skin's raised edge stays round it; the text panels keep theirs.
    EXPECT_EQ(Pixel(part.left + 1, y, Rgb(EdgeFrames[1])), Rgb(EdgeFrames[1]));
    EXPECT_EQ(Pixel(50, y, Rgb(EdgeFrames[0])), Rgb(EdgeFrames[0]));

    Data->SetActive(false); // the native bar asks its parent to draw the panel
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(Bar->Handle(), WM_SKINQUERY, 0, 0) == 0; }));
    drawn.clear();
    Bar->Repaint();
    ASSERT_TRUE(PumpUntil([&] { return !drawn.empty(); }));
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 1), static_cast<long>(drawn.size()));
    EXPECT_EQ(Pixel(middle, y, Drawn), Drawn);
    EXPECT_NE(Pixel(50, y, Face), Drawn);
}
