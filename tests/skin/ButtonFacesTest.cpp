// The face a skinned button shows for its state: the ranking of focus, default, hover,
// press, disabling and a latched-down speed button.
#include "skin/ButtonFaces.h"
#include <gtest/gtest.h>

namespace {

using enum TButtonFace;

struct TCase {
    const char* Name;
    TButtonState State;
    TButtonFace Face;
};

} // namespace

TEST(ButtonFaces, EachStateShowsOneFaceAndLaterRulesWin) {
    const TCase cases[] = {
        {"idle", {}, Normal},
        {"focused", {.Focused = true}, Hot},
        {"default", {.Default = true}, Default},
        {"focused default", {.Focused = true, .Default = true}, Default},
        {"hot default", {.Default = true, .Hot = true}, Hot},
        {"pressed", {.Pressed = true}, Pressed},
        {"pressed while hot", {.Hot = true, .Pressed = true}, Pressed},
        {"pressed default", {.Default = true, .Pressed = true}, Pressed},
        {"disabled", {.Enabled = false}, Disabled},
        {"disabled default", {.Default = true, .Enabled = false}, Disabled},
        {"disabled while focused and hot",
         {.Focused = true, .Hot = true, .Pressed = true, .Enabled = false},
         Disabled},
        {"down", {.Down = true}, Pressed},
        {"down while disabled", {.Enabled = false, .Down = true}, Pressed},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ButtonFace(c.State), c.Face) << c.Name;
}

TEST(ButtonFaces, EachFaceIsItsFrameInTheButtonStrip) {
    EXPECT_EQ(FaceFrame(Normal), 1);
    EXPECT_EQ(FaceFrame(Pressed), 2);
    EXPECT_EQ(FaceFrame(Disabled), 3);
    EXPECT_EQ(FaceFrame(Hot), 4);
    EXPECT_EQ(FaceFrame(Default), 5);
}
