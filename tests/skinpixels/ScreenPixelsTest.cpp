// The pixel harness itself: what a window paints and what its region cuts away are
// read back from the virtual desktop's screen at full colour depth.
#include "skin/ScreenPixels.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include <gtest/gtest.h>
#include <memory>

using ScreenPixels = TPixelTest;

TEST_F(ScreenPixels, ShowPaintedColoursAndRegionCutsExactly) {
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 200, 150);
    form->SetColor(0x563412); // 0x00BBGGRR: reads back as 0x123456
    form->Show();
    SettleScreen();
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(ScreenPixelSoon(origin.x + 20, origin.y + 20, 0x123456), 0x123456u);

    HRGN cut = CreateRectRgn(10, 10, 200, 150); // the system owns it from here
    SetWindowRgn(form->Handle(), cut, TRUE);
    EXPECT_EQ(WindowPixelSoon(form->Handle(), 5, 5, DesktopColour), DesktopColour);
    EXPECT_EQ(WindowPixelSoon(form->Handle(), 100, 5, DesktopColour), DesktopColour);
}
