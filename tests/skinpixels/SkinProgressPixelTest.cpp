// Skinned progress bars, up-down buttons and track bars on the screen: each pixel is the
// colour of the frame that the control's state selects.
#include "SkinnedGauges.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/TrackBar.h"
#include "classlib/gui/UpDown.h"
#include <commctrl.h>

using namespace gauges;
using SkinnedProgress = TSkinnedGaugeTest;

TEST_F(SkinnedProgress, FillsTheShareOfItsRangeAndUnskinsToTheNativeBar) {
    auto bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetMin(50);
    bar->SetMax(150);
    bar->SetPosition(100); // half of a range that starts above 0
    Skin();
    HWND wnd = bar->Handle();
    EXPECT_EQ(At(wnd, 60, 10), ProgressFull);
    EXPECT_EQ(At(wnd, 140, 10), ProgressEmpty);
    bar->SetPosition(50);
    SettleScreen();
    EXPECT_EQ(At(wnd, 60, 10), ProgressEmpty);

    Skinned->Unskin();
    SettleScreen();
    EXPECT_NE(At(wnd, 60, 10), ProgressEmpty);
    EXPECT_NE(At(wnd, 140, 10), ProgressEmpty);
}

TEST_F(SkinnedProgress, ChunksStayInsideTheMarginsWhenFull) {
    auto bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetPosition(100);
    Skin(1);
    HWND wnd = bar->Handle();
    EXPECT_EQ(At(wnd, ProgressMargin + 1, 10), Chunk);
    EXPECT_EQ(At(wnd, 200 - ProgressMargin - 1, 10), Chunk);
    EXPECT_NE(At(wnd, 200 - ProgressMargin / 2, 10), Chunk);
}

TEST_F(SkinnedProgress, UpDownIsHotOnlyUnderTheCursor) {
    auto upDown = Add<TUpDown>(10, 10, 16, 40);
    Skin();
    HWND wnd = upDown->Handle();
    POINT upper{4, 4}, lower{4, 36}, beside{-30, 4};
    for (POINT* p : {&upper, &lower, &beside})
        ClientToScreen(wnd, p);
    SetCursorPos(lower.x, lower.y);
    EXPECT_EQ(Awaited(wnd, 2, 37, UpDown(8)), UpDown(8));
    EXPECT_EQ(At(wnd, 2, 2), UpDown(1));
    SetCursorPos(beside.x, beside.y); // level with the upper button, outside the control
    EXPECT_EQ(Awaited(wnd, 2, 37, UpDown(5)), UpDown(5));
    EXPECT_EQ(At(wnd, 2, 2), UpDown(1));
    SetCursorPos(upper.x, upper.y);
    EXPECT_EQ(Awaited(wnd, 2, 2, UpDown(4)), UpDown(4));
    upDown->SetEnabled(false);
    EXPECT_EQ(Awaited(wnd, 2, 2, UpDown(3)), UpDown(3));
    EXPECT_EQ(At(wnd, 2, 37), UpDown(7));
}

TEST_F(SkinnedProgress, TrackBarThumbIsFrameTwoAndASkinChangeKeepsTheFocus) {
    auto track = Add<TTrackBar>(10, 10, 200, 32);
    auto edit = Add<TEdit>(10, 60, 100, 21);
    Skin();
    edit->SetFocus();
    Skinned->SkinChanged();
    EXPECT_EQ(GetFocus(), edit->Handle());
    HWND wnd = track->Handle();
    RECT thumb;
    SendMessageW(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(At(wnd, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
              TrackThumb[1]);
    track->SetPosition(track->Max());
    SettleScreen();
    SendMessageW(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(At(wnd, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
              TrackThumb[1]);
}
