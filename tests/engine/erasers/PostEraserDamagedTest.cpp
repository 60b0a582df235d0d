// Damaged "posterase.dat" files through the next-start eraser's loader: what can be
// read is kept, a damaged file is copied aside, and no item names a key handle that
// is not a predefined root.
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "engine/PostEraserItem.h"
#include "support/DamagedInput.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

bool SameItems(const TPostEraser& a, const TPostEraser& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        const TPostEraserItem &x = a.Items(i), &y = b.Items(i);
        if (x.Type != y.Type || x.FileName != y.FileName || x.RootKey != y.RootKey ||
            x.Key != y.Key || x.ValueName != y.ValueName || x.ValueData != y.ValueData ||
            x.BATLine != y.BATLine)
            return false;
    }
    return true;
}

} // namespace

TEST(PostEraserDamaged, EveryDamagedFileKeepsWhatItCanAndIsCopiedAside) {
    TTempFolder dir;
    TPostEraser seed;
    seed.FileName = dir / "posterase.dat";
    seed.Add(PostEraserItem(ptDeleteFile, "C:\\a b\\locked.dat"));
    seed.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, "Software\\X", "Name", " two "));
    seed.Add(PostEraserItem(ptWriteInteger, "", HKEY_LOCAL_MACHINE, "System\\Y", "Clear", "0"));
    seed.Add(PostEraserItem(ptRemoveLine, "c:\\autoexec.bat", nullptr, "", "", "",
                            "del c:\\win386.swp"));
    seed.SaveToFile();
    TDamagedRun run("posterase.dat", 3000000, 10000);
    run.Seeds = {ReadFileToString(seed.FileName)};

    run.Run([&](const std::string& damaged, uint32_t caseSeed) {
        WriteCaseFile(seed.FileName, damaged);
        TPostEraser eraser;
        eraser.FileName = seed.FileName;
        eraser.LoadFromFile();
        if (!eraser.DamageNotice().empty()) {
            EXPECT_EQ(eraser.DamageNotice(), "The file of work for the next start is damaged: "
                                             "what could be read was kept, and the file was "
                                             "kept as " +
                                                 seed.FileName + ".damaged.");
            ExpectKeptAside(seed.FileName + ".damaged", damaged);
        }
        for (int i = 0; i < eraser.Count(); ++i) {
            const HKEY root = eraser.Items(i).RootKey;
            EXPECT_TRUE(!root || root == PredefinedRootKey(RootKeyToNumber(root)))
                << "an item names the key handle " << root;
        }
        if (caseSeed % 50 != 0) return;
        eraser.SaveToFile(); // what was kept is written whole
        TPostEraser again;
        again.FileName = seed.FileName;
        again.LoadFromFile();
        EXPECT_EQ(again.DamageNotice(), "");
        EXPECT_TRUE(SameItems(eraser, again));
    });
}
