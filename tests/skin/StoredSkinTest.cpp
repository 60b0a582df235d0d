// Our own skin as the program stores it, and damaged copies of it.
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include "support/DamagedInput.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::string PackedSkin() {
    std::string stored = ReadStoredSkinStream();
    uint32_t n = 0;
    std::memcpy(&n, stored.data(), 4);
    return stored.substr(4, n);
}

} // namespace

TEST(StoredSkin, DecodesIntoElements) {
    const std::string stored = ReadStoredSkinStream();
    ASSERT_GT(stored.size(), 4u);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackedSkin()));
    std::string iniName;
    EXPECT_FALSE(reader.FindFile(".ini", iniName).empty());

    TSkinData data(nullptr);
    data.ReadSkinStream(stored);
    ASSERT_TRUE(data.SkinReady());
    EXPECT_EQ(data.SkinName(), "Teal Whistle");
    const TSkinElements& e = data.Elements();
    const std::vector<const TDataSkinObject*> elements = {e.Borders[TSkinElements::bdTop].get(),
                                                          e.Buttons.get(),
                                                          e.MenuItem.get(),
                                                          e.MenuBackground.get(),
                                                          e.Scrollbar.get(),
                                                          e.HorzScrollThumb.get(),
                                                          e.Tabs.get(),
                                                          e.Headerbar.get(),
                                                          e.Progress.get(),
                                                          e.StatusBarEdges.get(),
                                                          e.ComboButton.get(),
                                                          e.SunkEdge.get(),
                                                          e.MenuBar.get()};
    for (const TDataSkinObject* o : elements) {
        ASSERT_TRUE(o);
        EXPECT_FALSE(o->Bitmap.Empty()) << o->Name;
        EXPECT_EQ(o->Bitmap.Width() % o->FrameCount, 0) << o->Name;
    }
    EXPECT_EQ(e.Buttons->CheckFrames, 5);
    EXPECT_EQ(e.SysButtons.size(), 5u + 3u);
    EXPECT_EQ(data.WriteSkinStream(), stored);
}

TEST(StoredSkin, DamagedCopiesAreRefusedOrReadSafely) {
    TDamagedRun run("skin", 1016, 10000);
    run.Seeds = {PackedSkin()};
    run.CountOffsets = {0}; // the decoded size
    int refused = 0;
    run.Run([&](const std::string& damaged, uint32_t) {
        std::string out;
        TSkinReader reader;
        if (!TSkinReader::Unpack(damaged, out)) {
            ++refused;
            return;
        }
        EXPECT_LE(out.size(), TSkinReader::MaxDecodedSize);
        EXPECT_LE(out.size(), (damaged.size() - 4) * TSkinReader::MaxRatio);
        refused += !reader.LoadPackage(out); // what LoadFromStream does next
    });
    EXPECT_GT(refused, 3000);
}
