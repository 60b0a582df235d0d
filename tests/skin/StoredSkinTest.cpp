// Our own skin as the program stores it, and damaged copies of it.
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

std::string PackedSkin() {
    std::string stored = ReadStoredSkinStream();
    uint32_t n = 0;
    std::memcpy(&n, stored.data(), 4);
    return stored.substr(4, n);
}

// A damaged copy: bits flipped, cut short, or a decoded size inflated.
std::string Damage(const std::string& packed, std::mt19937& random) {
    std::string d = packed;
    switch (random() % 3) {
    case 0:
        for (int flips = 1 + random() % 8; flips > 0; --flips)
            d[random() % d.size()] ^= static_cast<char>(1 << (random() % 8));
        break;
    case 1: d.resize(random() % d.size()); break;
    default: {
        uint32_t size;
        std::memcpy(&size, d.data(), 4);
        size = random() % 2 ? static_cast<uint32_t>(random()) : size + random() % (1u << 20);
        std::memcpy(d.data(), &size, 4);
    }
    }
    return d;
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
    const std::string packed = PackedSkin();
    std::mt19937 random(1016);
    int refused = 0;
    auto slowest = std::chrono::steady_clock::duration::zero();
    for (int i = 0; i < 10000; ++i) {
        const std::string damaged = Damage(packed, random);
        auto start = std::chrono::steady_clock::now();
        std::string out;
        TSkinReader reader;
        if (TSkinReader::Unpack(damaged, out)) {
            EXPECT_LE(out.size(), TSkinReader::MaxDecodedSize);
            EXPECT_LE(out.size(), (damaged.size() - 4) * TSkinReader::MaxRatio);
            refused += !reader.LoadPackage(out); // what LoadFromStream does next
        } else {
            ++refused;
        }
        slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
    }
    EXPECT_GT(refused, 3000);
    EXPECT_LT(slowest, std::chrono::seconds(2));
}
