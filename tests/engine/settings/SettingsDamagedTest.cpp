// Damaged "prefs.dat" files through the settings loader: what can be read is loaded,
// a damaged file is kept aside and said once, and the next save writes a whole file.
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/EngineTestSupport.h"
#include "support/DamagedInput.h"
#include <gtest/gtest.h>

TEST(SettingsDamaged, EveryDamagedFileLoadsWhatItCanAndIsKeptAside) {
    const std::string folder = TestFolder("damaged settings");
    const std::string prefs = folder + "\\prefs.dat";
    TTestEngine engine;
    engine.AccessPassword = "s3cret";
    engine.StartInSystemTray = true;
    engine.EnableOnly({ciEraseRunHistory, ciIEEraseCookies, ciOperaFavorites});
    engine.FileItem(ciIEEraseCookies).Exclude = {"a@b.txt", "\u6587\u66f8.lnk"};
    engine.RegistryItem(ciIEEraseTypedURLs).ExcludedValues = {"url3"};
    engine.PluginManager->CheckedPlugins.Add("c:\\\u03c0.ppw");
    engine.Scheduler->Kind = skWeekly;
    engine.Scheduler->WeeklyDays[2] = true;
    engine.SaveSettings(prefs);
    TDamagedRun run("prefs.dat", 2000000, 10000);
    // The whole file, and more often the same without the catalogue's items, which are
    // read item by item and cost the most.
    TXMLDocument shorter;
    shorter.LoadFromFile(prefs);
    for (const char* group : {"Windows", "Browsers"})
        shorter.DocumentElement().RemoveChild(shorter.DocumentElement().FindNode(group));
    run.Seeds = {ReadFileToString(prefs), shorter.XML(), shorter.XML()};

    run.Run([&](const std::string& damaged, uint32_t seed) {
        WriteCaseFile(prefs, damaged);
        engine.Log.clear();
        engine.LoadSettings(prefs);
        if (!engine.Log.empty()) {
            ASSERT_EQ(engine.Log.size(), 1u);
            EXPECT_EQ(engine.Log[0], "The settings file is damaged: what could be read was "
                                     "loaded, and the file was kept as " +
                                         prefs + ".damaged.");
            ExpectKeptAside(prefs + ".damaged", damaged);
        }
        if (seed % 50 != 0) return;
        // What was loaded is saved whole: it loads again without a word.
        engine.Log.clear();
        engine.SaveSettings(prefs);
        engine.LoadSettings(prefs);
        EXPECT_TRUE(engine.Log.empty());
    });
    engine.SetLoadAtStartup(false);
}
