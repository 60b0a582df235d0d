#include "engine/tools/ShortCut.h"
#include <gtest/gtest.h>

TEST(ShortCutText, NamesKeysAndModifiersInOrder) {
    EXPECT_EQ(ShortCutToText(scCtrl | scAlt | 'Q'), "Ctrl+Alt+Q");
    EXPECT_EQ(ShortCutToText(scAlt | VK_SPACE), "Alt+Space");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | VK_F12), "Shift+Ctrl+Alt+F12");
    EXPECT_EQ(ShortCutToText(VK_F24), "F24");
    EXPECT_EQ(ShortCutToText(scCtrl | VK_NUMPAD7), "Ctrl+7");
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(scCtrl), ""); // modifiers without a key
}

TEST(ShortCutText, ParsesWhatItWrites) {
    EXPECT_EQ(TextToShortCut("Ctrl+Alt+Q"), scCtrl | scAlt | 'Q');
    EXPECT_EQ(TextToShortCut("alt+space"), scAlt | VK_SPACE);
    EXPECT_EQ(TextToShortCut("Alt+Ctrl+B"), scCtrl | scAlt | 'B');
    EXPECT_EQ(TextToShortCut("Ctrl+7"), scCtrl | '7'); // the digit key, not the keypad's
    EXPECT_EQ(TextToShortCut(""), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
    for (WORD key : std::initializer_list<WORD>{VK_BACK, VK_TAB, VK_ESCAPE, VK_RETURN, VK_SPACE,
                                                VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP,
                                                VK_RIGHT, VK_DOWN, VK_INSERT, VK_DELETE, WORD('Z'),
                                                WORD(VK_F1), WORD(VK_MULTIPLY), WORD(VK_OEM_1)}) {
        const TShortCut sc = TShortCut(scShift | key);
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
    }
}
