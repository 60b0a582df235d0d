// The skin's ini reader and colour texts.
#include "skin/QuickIni.h"
#include "skin/SkinColours.h"
#include <gtest/gtest.h>

TEST(SkinIni, SectionsKeysCommentsAndDefaults) {
    TQuickIni ini;
    ini.LoadFromStream("Orphan=1\r\n[MENUITEM]\r\n  ; a comment\r\n   \r\nInactiveTextR = 7\n"
                       "Empty=\rEmpty=5\r\nHex=0x1F\nDollar=$1F\nOctalLooking=010\n"
                       "Bad=12abc\n[ Spaced ]\nKey=v\n[Next]\nInactiveTextR=8\0[After]\nX=1");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"MENUITEM", "Spaced", "Next"}));
    EXPECT_EQ(ini.FindSection("MenuItem"), 1); // comment and blank lines are not kept
    EXPECT_EQ(ini.FindSection("Spaced"), -1);  // blanks inside the brackets
    EXPECT_EQ(ini.FindSection("After"), -1);   // the text ends at its NUL
    EXPECT_EQ(ini.ReadInteger("MenuItem", "InActiveTextR", -1), 7);
    EXPECT_EQ(ini.ReadString("MenuItem", "Empty", "def"), "def"); // first key wins, even empty
    EXPECT_EQ(ini.ReadInteger("MenuItem", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("MenuItem", "Dollar", 0), 31);
    EXPECT_EQ(ini.ReadInteger("MenuItem", "OctalLooking", 0), 10);
    EXPECT_EQ(ini.ReadInteger("MenuItem", "Bad", -4), -4);
    EXPECT_EQ(ini.ReadInteger("MenuItem", "Missing", -5), -5);
    EXPECT_EQ(ini.ReadString("Next", "Orphan", "none"), "none"); // before the first header
    EXPECT_EQ(ini.ReadString("Absent", "Key", "d"), "d");
}

TEST(SkinIni, ColourTexts) {
    EXPECT_EQ(SkinColorFromText("84 52 29", 0), RGB(84, 52, 29));
    EXPECT_EQ(SkinColorFromText("  84,52,29  ", 0), RGB(84, 52, 29));
    EXPECT_EQ(SkinColorFromText("84 52", 0), RGB(84, 0, 0)); // the end counts only as third
    EXPECT_EQ(SkinColorFromText("84,52,", 0), RGB(84, 52, 0));
    EXPECT_EQ(SkinColorFromText("1 2 3 4 5", 0), RGB(1, 2, 3)); // numbers after the third
    EXPECT_EQ(SkinColorFromText("256 257 511", 0), RGB(0, 1, 255));
    EXPECT_EQ(SkinColorFromText(" ", 42), 42);
}
