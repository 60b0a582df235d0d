#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/PlaceControl.h"
#include <gtest/gtest.h>

namespace {

void ExpectBounds(const TBounds& b, int left, int top, int width, int height) {
    EXPECT_EQ(left, b.Left);
    EXPECT_EQ(top, b.Top);
    EXPECT_EQ(width, b.Width);
    EXPECT_EQ(height, b.Height);
}

} // namespace

TEST(GuiLayout, TracksStepBySizeAndGapAndEndWhereAsked) {
    constexpr TTrack rows{20, 21, 7};
    EXPECT_EQ(20, rows.At(0));
    EXPECT_EQ(76, rows.At(2));
    constexpr TTrack buttons = TTrack::EndingAt(592, 2, 100, 6);
    EXPECT_EQ(386, buttons.At(0));
    EXPECT_EQ(592, buttons.At(1) + buttons.Size); // the last ends at the edge
    EXPECT_EQ(290 - 75, TTrack::EndingAt(290, 1, 75, 6).At(0));
}

TEST(GuiLayout, GridCellsTakeTheirColumnAndRowApart) {
    constexpr TGrid grid{{16, 100, 4}, {90, 17, 7}};
    ExpectBounds(grid.Cell(0, 0), 16, 90, 100, 17);
    ExpectBounds(grid.Cell(3, 1), 16 + 3 * 104, 90 + 24, 100, 17);
    ExpectBounds(Across(8, 112, 116, 27, 6).Cell(2, 0), 8 + 2 * 122, 112, 116, 27);
    ExpectBounds(Down(500, 20, 96, 25, 5).Cell(0, 3), 500, 20 + 3 * 30, 96, 25);
    const TGrid pair = ButtonsEndingAt(290, 62, 2, Layout::ButtonWidth);
    ExpectBounds(pair.Cell(0, 0), 134, 62, Layout::ButtonWidth, Layout::ButtonHeight);
    ExpectBounds(pair.Cell(1, 0), 215, 62, Layout::ButtonWidth, Layout::ButtonHeight);
}

TEST(GuiLayout, BoundsBesideAndBelowOthersKeepTheGap) {
    constexpr TBounds label{10, 10, 280, 15};
    EXPECT_EQ(290, label.Right());
    EXPECT_EQ(25, label.Bottom());
    ExpectBounds(label.Below(5, 21), 10, 30, 280, 21);
    ExpectBounds(label.After(6, 30), 296, 10, 30, 15);
    ExpectBounds(label.Moved(-2, 4), 8, 14, 280, 15);
    ExpectBounds(label.Below(5, 21).WithWidth(120), 10, 30, 120, 21);
    ExpectBounds(FromEdges(202, 60, 392, 190), 202, 60, 190, 130);
}

// At 96 DPI a layout unit is a pixel: a placed control lands exactly on its cell.
TEST(GuiLayout, PlacedControlsLandOnTheirCellsOneToOne) {
    const TBounds cell = Down(500, 20, 96, 25, 5).Cell(0, 2);
    ExpectBounds(ToPixels(cell), 500, 80, 96, 25);
    TForm form(nullptr);
    form.SetClientWidth(640);
    form.SetClientHeight(480);
    TButton* button = Place<TButton>(&form, &form, "Start", "Start", cell);
    const RECT r = button->BoundsRect();
    EXPECT_EQ(500, r.left);
    EXPECT_EQ(80, r.top);
    EXPECT_EQ(596, r.right);
    EXPECT_EQ(105, r.bottom);
    EXPECT_EQ("Start", button->Name());
    EXPECT_EQ(&form, button->Parent());
}
