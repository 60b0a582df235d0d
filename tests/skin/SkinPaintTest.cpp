// Painting into a window's off-screen picture and nine-slice drawing straight into a DC.
#include "skin/SkinPaint.h"
#include "SkinTestSupport.h"
#include "skin/ImageUtils.h"
#include <gtest/gtest.h>

namespace {

constexpr uint32_t White = 0xFFFFFF, Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    TBrushHandle brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}

uint32_t Pixel(const TBitmap& bitmap, int x, int y) {
    GdiFlush();
    return bitmap.ScanLine(y)[x] & 0xFFFFFF;
}

void MakeWhite(TBitmap& target, int w, int h) {
    target.SetSize(w, h);
    Fill(target.Canvas().Handle(), {0, 0, w, h}, RGB(255, 255, 255));
}

} // namespace

TEST(SkinPaint, NineSlicesTiledOrTransparentStayInsideTheirRectangle) {
    // 6 x 6: a red ring of 2 around a 2 x 2 blue middle, which tiles past the middle's end.
    TBitmap source;
    ASSERT_TRUE(LoadBitmapFromBytes(source, MakeBmpOf(6, 6, [](int x, int y) {
                                        const bool ring = x < 2 || y < 2 || x > 3 || y > 3;
                                        return ring ? Red : Blue;
                                    })));
    TBitmap target;
    MakeWhite(target, 40, 40);
    HDC dc = target.Canvas().Handle();
    DrawSkinRect(dc, {5, 5, 20, 17}, source, false, true, false, 1, 1, {2, 2, 2, 2});
    EXPECT_EQ(Pixel(target, 7, 7), Blue);
    EXPECT_EQ(Pixel(target, 19, 16), Red);
    EXPECT_EQ(Pixel(target, 20, 10), White);
    EXPECT_EQ(Pixel(target, 10, 17), White);
    EXPECT_EQ(Pixel(target, 4, 4), White);
    // The key colour leaves what is under it.
    TBitmap keyed;
    ASSERT_TRUE(LoadBitmapFromBytes(keyed, MakeBmp(4, 4, {0xFF00FF})));
    DrawSkinRect(dc, {25, 25, 35, 35}, keyed, false, false, true, 1, 1, {});
    EXPECT_EQ(Pixel(target, 30, 30), White);
}

TEST(SkinPaint, OffscreenPaintsReuseTheBufferAndStartFromAFreshState) {
    TOffscreen offscreen;
    TBitmap target;
    MakeWhite(target, 30, 30);
    HDC dc = target.Canvas().Handle();
    RECT first{};
    offscreen.Paint(dc, {2, 3, 22, 13}, [&](HDC b, const RECT& area) {
        first = area;
        Fill(b, area, RGB(255, 0, 0));
        SetTextColor(b, RGB(1, 2, 3));
    });
    EXPECT_EQ(first.right, 20);
    EXPECT_EQ(first.bottom, 10);
    EXPECT_EQ(Pixel(target, 2, 3), Red);
    EXPECT_EQ(Pixel(target, 21, 12), Red);
    EXPECT_EQ(Pixel(target, 22, 13), White);
    const long live = LiveGdiObjects;
    COLORREF text = 1;
    offscreen.Paint(dc, {0, 20, 5, 25}, [&](HDC b, const RECT& area) {
        text = GetTextColor(b);
        Fill(b, area, RGB(0, 255, 0));
    });
    EXPECT_EQ(LiveGdiObjects, live);
    EXPECT_EQ(text, RGB(0, 0, 0));
    EXPECT_EQ(Pixel(target, 4, 24), Green);
    bool painted = false;
    offscreen.Paint(dc, {5, 5, 5, 9}, [&](HDC, const RECT&) { painted = true; });
    EXPECT_FALSE(painted);
}

TEST(SkinPaint, ATurnedPictureIsComposedLyingAndTurnedOnTheCopy) {
    TOffscreen offscreen;
    TBitmap target;
    MakeWhite(target, 10, 12);
    // A bar 4 wide and 10 high filled lying from its left: upright it fills from the bottom.
    offscreen.Paint(
        target.Canvas().Handle(), {1, 1, 5, 11},
        [&](HDC b, const RECT& area) {
            EXPECT_EQ(area.right, 10);
            EXPECT_EQ(area.bottom, 4);
            Fill(b, area, RGB(0, 0, 255));
            Fill(b, {0, 0, 3, 4}, RGB(0, 255, 0));
        },
        TTurn::Left);
    EXPECT_EQ(Pixel(target, 1, 10), Green);
    EXPECT_EQ(Pixel(target, 4, 8), Green);
    EXPECT_EQ(Pixel(target, 4, 7), Blue);
    EXPECT_EQ(Pixel(target, 1, 1), Blue);
    EXPECT_EQ(Pixel(target, 5, 1), White);
}
