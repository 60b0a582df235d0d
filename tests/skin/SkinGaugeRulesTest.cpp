// The rules of the skinned progress bar and up-down button that a pixel cannot show
// on its own: the filled share of a range that starts above 0, and when a button is hot.
#include "skin/SkinProgress.h"
#include "skin/SkinUpDown.h"
#include <climits>
#include <gtest/gtest.h>

TEST(SkinProgressFill, FollowsThePositionWithinTheRange) {
    EXPECT_EQ(ProgressFillLength(100, 0, 0, 100), 0);
    EXPECT_EQ(ProgressFillLength(100, 50, 0, 100), 50);
    EXPECT_EQ(ProgressFillLength(100, 100, 0, 100), 100);
    // A range that starts above 0 fills from its lower limit.
    EXPECT_EQ(ProgressFillLength(100, 50, 50, 150), 0);
    EXPECT_EQ(ProgressFillLength(100, 100, 50, 150), 50);
    EXPECT_EQ(ProgressFillLength(200, 150, 50, 150), 200);
    // Positions outside the range, an empty range and extreme limits stay in the bar.
    EXPECT_EQ(ProgressFillLength(100, 500, 0, 100), 100);
    EXPECT_EQ(ProgressFillLength(100, -5, 0, 100), 0);
    EXPECT_EQ(ProgressFillLength(100, 7, 7, 7), 0);
    EXPECT_EQ(ProgressFillLength(100, 0, INT_MIN, INT_MAX), 50);
}

TEST(SkinUpDownState, IsHotOrPressedOnlyWithTheCursorInside) {
    const RECT up{0, 0, 16, 10};
    EXPECT_EQ(UpDownButtonState(up, {5, 5}, true, false), 4);
    EXPECT_EQ(UpDownButtonState(up, {5, 5}, true, true), 2);
    // Beside or above the control the cursor is on no button, even on the button's side.
    EXPECT_EQ(UpDownButtonState(up, {5, -3}, true, false), 1);
    EXPECT_EQ(UpDownButtonState(up, {40, 5}, true, true), 1);
    EXPECT_EQ(UpDownButtonState(up, {5, 5}, false, true), 3);
}
