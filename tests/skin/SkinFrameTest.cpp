// The rules of the skinned frame that no screen shows directly.
#include "SkinTestSupport.h"
#include "skin/ImageUtils.h"
#include "skin/SkinForm.h"
#include "skin/SkinPaint.h"
#include <gtest/gtest.h>

TEST(SkinFrame, TheNativeCaptionStaysFromWindowsXpOn) {
    const DWORD nt = VER_PLATFORM_WIN32_NT, win9x = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_FALSE(KeepsNativeCaption(nt, 4, 0));
    EXPECT_FALSE(KeepsNativeCaption(nt, 5, 0)); // 2000
    EXPECT_TRUE(KeepsNativeCaption(nt, 5, 1));  // XP
    EXPECT_TRUE(KeepsNativeCaption(nt, 5, 2));
    EXPECT_TRUE(KeepsNativeCaption(nt, 6, 0)); // Vista: minor 0 and still later than XP
    EXPECT_TRUE(KeepsNativeCaption(nt, 10, 0));
    EXPECT_FALSE(KeepsNativeCaption(win9x, 4, 90));
}

TEST(SkinFrame, RegionsKeepEveryNonKeyPixelAcrossBatchesOfRectangles) {
    // Every other pixel magenta: 50 runs a row, 3000 rectangles in all.
    TBitmap bitmap;
    ASSERT_TRUE(LoadBitmapFromBytes(bitmap, MakeBmpOf(100, 60, [](int x, int y) {
                                        return (x + y) % 2 ? 0xFF00FFu : 0x102030u;
                                    })));
    TRegionHandle region = RegionFromBitmap(bitmap, {0, 0, 100, 60}, {10, 20});
    HRGN rgn = region.Get();
    EXPECT_TRUE(PtInRegion(rgn, 10, 20));
    EXPECT_FALSE(PtInRegion(rgn, 11, 20));
    EXPECT_TRUE(PtInRegion(rgn, 109, 79));
    EXPECT_FALSE(PtInRegion(rgn, 108, 79));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.bottom, 80);
}

TEST(SkinFrame, StripsWhoseMarginsCoverTheFrameAreNotRepeated) {
    TBitmap source, target;
    ASSERT_TRUE(LoadBitmapFromBytes(source, MakeBmp(10, 4, {0x00FF00, 0x0000FF})));
    target.SetSize(40, 4);
    // Margins of 6 + 6 leave the 10-pixel frame a middle below nothing.
    DrawSkinStrip(target.Canvas().Handle(), {0, 0, 40, 4}, source, false, false, 2, 2,
                  {6, 0, 6, 0});
    GdiFlush();
    EXPECT_EQ(target.ScanLine(1)[0], 0x0000FFu);
    EXPECT_EQ(target.ScanLine(1)[39], 0x0000FFu);
}
