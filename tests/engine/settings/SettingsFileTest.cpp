// "prefs.dat": the round trip, the element layout, lenient reading and the
// mends for damaged files and interrupted saves.
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/EngineTestSupport.h"
#include <gtest/gtest.h>

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override { Folder = TestFolder("settings \u6587\u66f8"); }
    std::string Prefs() const { return Folder + "\\prefs.dat"; }
    std::string Folder;
    TTestEngine Engine;
};

TEST_F(SettingsFileTest, SavingAndLoadingKeepsOptionsItemsKeepListsAndPassword) {
    Engine.StartInSystemTray = true;
    Engine.AutoCleanAtWindowsShutdown = true;
    Engine.AccessPassword = "s3cret";
    Engine.EnableOnly({ciEraseRunHistory, ciIEEraseCookies, ciOperaFavorites});
    // Keep lists with names in any script.
    const std::vector<std::string> kept = {"a@b.txt", "c*", "\u6587\u66f8.lnk",
                                           "\u03b1\u03b2\u03b3*", "\U0001F600.txt"};
    Engine.FileItem(ciIEEraseCookies).Exclude = kept;
    Engine.RegistryItem(ciIEEraseTypedURLs).KeptTexts = {"http://a/", "\u4f8b\u3048"};
    Engine.PluginManager->CheckedPlugins.Add("c:\\\u03c0.ppw");
    Engine.Misc->BossKeyEnabled = true;
    Engine.Scheduler->EveryMinutes = 42;
    Engine.Shredder->CleanFreeSpaceEnabled = true;
    Engine.SaveSettings(Prefs());
    EXPECT_FALSE(Exists(Prefs() + ".tmp"));

    TTestEngine loaded;
    loaded.Item(ciEraseWindowsTemp).Enabled = true; // a page default the file overrides
    loaded.LoadSettings(Prefs());
    EXPECT_TRUE(loaded.StartInSystemTray);
    EXPECT_FALSE(loaded.AutoCleanAtWindowsStart);
    EXPECT_TRUE(loaded.AutoCleanAtWindowsShutdown);
    EXPECT_EQ(loaded.AccessPassword, "s3cret");
    for (int i = 0; i < ciCatalogueCount; ++i)
        EXPECT_EQ(loaded.Item(TCatalogueItem(i)).Enabled, Engine.Item(TCatalogueItem(i)).Enabled)
            << Catalogue[i].Name;
    EXPECT_EQ(loaded.FileItem(ciIEEraseCookies).Exclude, kept);
    EXPECT_EQ(loaded.RegistryItem(ciIEEraseTypedURLs).KeptTexts,
              (std::vector<std::string>{"http://a/", "\u4f8b\u3048"}));
    ASSERT_EQ(loaded.PluginManager->CheckedPlugins.Count(), 1);
    EXPECT_EQ(loaded.PluginManager->CheckedPlugins[0], "c:\\\u03c0.ppw");
    EXPECT_TRUE(loaded.Misc->BossKeyEnabled);
    EXPECT_TRUE(loaded.Shredder->CleanFreeSpaceEnabled);
    EXPECT_EQ(loaded.Scheduler->EveryMinutes, 42);
    EXPECT_TRUE(loaded.Log.empty());
}

TEST_F(SettingsFileTest, EveryItemIsWrittenOnceBelowItsGroup) {
    Engine.SaveSettings(Prefs());
    TXMLDocument doc;
    doc.LoadFromFile(Prefs());
    const TXMLNode config = doc.DocumentElement();
    ASSERT_EQ(config.NodeName(), "Configuration");
    const TXMLNode options = config.FindNode("Options");
    EXPECT_EQ(
        options.AttributeNames(),
        (std::vector<std::string>{"LoadAtStartup", "StartInSystemTray", "AutoCleanAtWindowsStart",
                                  "AutoCleanAtWindowsShutdown", "Access"}));
    EXPECT_EQ(options.Attribute("Access"), "");
    EXPECT_EQ(options.Attribute("LoadAtStartup"), "False");

    std::vector<std::string> names;
    auto collect = [&](const TXMLNode& group, TCatalogueGroup expected) {
        for (const TXMLNode& item : group.ChildNodes()) {
            names.push_back(item.NodeName());
            EXPECT_EQ(item.Attribute("Name"), item.NodeName());
            int index = 0;
            while (index < ciCatalogueCount && Catalogue[index].Name != item.NodeName())
                ++index;
            ASSERT_LT(index, ciCatalogueCount);
            EXPECT_EQ(Catalogue[index].Group, expected);
        }
    };
    collect(config.FindNode("Windows"), cgWindows);
    const TXMLNode browsers = config.FindNode("Browsers");
    std::vector<std::string> groups;
    for (const TXMLNode& group : browsers.ChildNodes())
        groups.push_back(group.NodeName());
    EXPECT_EQ(groups, (std::vector<std::string>{"IE", "NetscapeMozilla", "AOL", "Opera"}));
    std::vector<std::string> top;
    for (const TXMLNode& child : config.ChildNodes())
        top.push_back(child.NodeName());
    EXPECT_EQ(top, (std::vector<std::string>{"Options", "Windows", "Browsers", "Shredder",
                                             "Plugins", "Misc", "Scheduler"}));
    collect(browsers.FindNode("IE"), cgIE);
    collect(browsers.FindNode("NetscapeMozilla"), cgNetscapeMozilla);
    collect(browsers.FindNode("AOL"), cgAOL);
    collect(browsers.FindNode("Opera"), cgOpera);
    ASSERT_EQ(names.size(), size_t(ciCatalogueCount));
    for (int i = 0; i < ciCatalogueCount; ++i)
        EXPECT_EQ(names[i], Catalogue[i].Name);
}

TEST_F(SettingsFileTest, BooleansAreReadLenientlyAndMissingPartsKeepTheirDefaults) {
    WriteStringToFile(Prefs(), "<Configuration><Windows>"
                               "<EraseRunHistory Name=\"EraseRunHistory\" Enabled=\"TRUE\"/>"
                               "<EraseRecycleBin Name=\"EraseRecycleBin\" Enabled=\"0\"/>"
                               "<EraseWindowsTemp Name=\"EraseWindowsTemp\" Enabled=\"2\"/>"
                               "</Windows><Browsers><IE>"
                               "<IEEraseCache Name=\"IEEraseCache\" Enabled=\"true\"/></IE>"
                               "</Browsers></Configuration>");
    WriteRegString(HKEY_CURRENT_USER, RunKey, "Tarnwhistle", "kept");
    Engine.EnableOnly({ciEraseRecycleBin, ciAOLCache});
    Engine.AccessPassword = "before";
    Engine.LoadSettings(Prefs());

    EXPECT_TRUE(Engine.Item(ciEraseRunHistory).Enabled);
    EXPECT_FALSE(Engine.Item(ciEraseRecycleBin).Enabled);
    EXPECT_TRUE(Engine.Item(ciEraseWindowsTemp).Enabled);
    EXPECT_TRUE(Engine.Item(ciIEEraseCache).Enabled);
    EXPECT_TRUE(Engine.Item(ciAOLCache).Enabled); // no "AOL" group: the default stays
    EXPECT_EQ(Engine.AccessPassword, "before");   // no "Options": nothing changes
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, RunKey, "Tarnwhistle"), "kept");
    EXPECT_FALSE(Exists(Prefs() + ".damaged"));
    EXPECT_TRUE(Engine.Log.empty());
    Engine.SetLoadAtStartup(false);
}

// A file edited and saved in another encoding is read as its declaration or byte
// order mark says, not taken as damaged or with its letters replaced.
TEST_F(SettingsFileTest, AWellFormedFileInAnotherEncodingLoads) {
    const std::wstring text = L"<Configuration><Browsers><IE><IEEraseCookies "
                              L"Name=\"IEEraseCookies\" Enabled=\"True\"><Exclude><Item "
                              L"FileName=\"caf\u00e9.txt\"/></Exclude></IEEraseCookies></IE>"
                              L"</Browsers></Configuration>";
    std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    for (wchar_t c : text)
        latin1 += static_cast<char>(c);
    const std::string utf16 =
        "\xff\xfe" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    for (const std::string& file : {latin1, utf16}) {
        WriteStringToFile(Prefs(), file);
        TTestEngine loaded;
        loaded.LoadSettings(Prefs());
        EXPECT_TRUE(loaded.Item(ciIEEraseCookies).Enabled);
        EXPECT_EQ(loaded.FileItem(ciIEEraseCookies).Exclude,
                  std::vector<std::string>{"caf\u00e9.txt"});
        EXPECT_TRUE(loaded.Log.empty());
    }
}

// "é" is stored as its code page byte, as other builds store it; a password the code
// page cannot hold comes back whole.
TEST_F(SettingsFileTest, TheAccessPasswordIsStoredInTheCodePageWhenItFits) {
    ASSERT_EQ(GetACP(), 1252u);
    Engine.AccessPassword = "\u00e9";
    Engine.SaveSettings(Prefs());
    EXPECT_NE(ReadFileToString(Prefs()).find("Access=\"Ig==\""), std::string::npos);
    TTestEngine loaded;
    loaded.LoadSettings(Prefs());
    EXPECT_EQ(loaded.AccessPassword, "\u00e9");

    Engine.AccessPassword = "\u65e5\u672c\u00e9";
    Engine.SaveSettings(Prefs());
    loaded.LoadSettings(Prefs());
    EXPECT_EQ(loaded.AccessPassword, "\u65e5\u672c\u00e9");
}

TEST_F(SettingsFileTest, ADamagedFileLoadsWhatItCanAndIsKeptAside) {
    const std::string damaged =
        "<Configuration><Options LoadAtStartup=\"False\" StartInSystemTray=\"maybe\" "
        "AutoCleanAtWindowsStart=\"True\" AutoCleanAtWindowsShutdown=\"True\" Access=\"\"/>"
        "<Windows><EraseRunHistory Name=\"EraseRunHistory\" Enabled=\"perhaps\"/>"
        "<EraseRecycleBin Name=\"EraseRecycleBin\" Enabled=\"True\"/></Windows><Browsers><IE>"
        "<IEEraseCookies Name=\"IEEraseCookies\" Enabled=\"oui\"><Exclude>"
        "<Item FileName=\"kept@site.txt\"/></Exclude></IEEraseCookies>"
        "<IEEraseTypedURLs Name=\"IEEraseTypedURLs\"><ExcludedValues><Item Value=\"url2\"/>"
        "</ExcludedValues></IEEraseTypedURLs></IE></Browsers></Configuration>";
    WriteStringToFile(Prefs(), damaged);
    Engine.EnableOnly({ciEraseRunHistory});
    const std::string typed = Engine.RegistryItem(ciIEEraseTypedURLs).TextsKey;
    WriteRegString(HKEY_CURRENT_USER, typed, "url2", "http://kept/");
    Engine.LoadSettings(Prefs());
    DeleteRegKey(HKEY_CURRENT_USER, typed);

    EXPECT_FALSE(Engine.StartInSystemTray);
    EXPECT_TRUE(Engine.AutoCleanAtWindowsStart);
    EXPECT_TRUE(Engine.AutoCleanAtWindowsShutdown);
    EXPECT_TRUE(Engine.Item(ciEraseRunHistory).Enabled);
    EXPECT_TRUE(Engine.Item(ciEraseRecycleBin).Enabled);
    // A damaged "Enabled" loses no kept entries: the next clean would erase them.
    EXPECT_EQ(Engine.FileItem(ciIEEraseCookies).Exclude, std::vector<std::string>{"kept@site.txt"});
    // An older file's kept value name becomes the address it names now.
    EXPECT_EQ(Engine.RegistryItem(ciIEEraseTypedURLs).KeptTexts,
              std::vector<std::string>{"http://kept/"});
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged"), damaged);
    ASSERT_EQ(Engine.Log.size(), 1u);
    EXPECT_EQ(Engine.Log[0], "The settings file is damaged: what could be read was loaded, and the "
                             "file was kept as " +
                                 Prefs() + ".damaged.");

    // The next save replaces the file; the damaged copy stays.
    Engine.SaveSettings(Prefs());
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged"), damaged);
    // A copy kept earlier is never overwritten: the next one takes a free name.
    WriteStringToFile(Prefs(), "<Configuration>");
    Engine.LoadSettings(Prefs());
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged"), damaged);
    EXPECT_EQ(ReadFileToString(Prefs() + ".damaged2"), "<Configuration>");
}

// A damaged password text neither opens the program to everyone nor is lost.
TEST_F(SettingsFileTest, AnAccessPasswordThatDoesNotDecodeIsKeptAsDamage) {
    WriteStringToFile(Prefs(), "<Configuration><Options LoadAtStartup=\"False\" "
                               "StartInSystemTray=\"False\" AutoCleanAtWindowsStart=\"False\" "
                               "AutoCleanAtWindowsShutdown=\"False\" Access=\"c2Vj%%%\"/>"
                               "</Configuration>");
    Engine.AccessPassword = "before";
    Engine.LoadSettings(Prefs());
    EXPECT_EQ(Engine.AccessPassword, "before");
    EXPECT_TRUE(Exists(Prefs() + ".damaged"));
    EXPECT_EQ(Engine.Log.size(), 1u);
}

TEST_F(SettingsFileTest, AnUnreadableFileChangesNothingAndIsKeptAside) {
    WriteStringToFile(Prefs(), "<Configuration><Options LoadAtStart");
    Engine.EnableOnly({ciEraseRunHistory});
    Engine.LoadSettings(Prefs());
    EXPECT_TRUE(Engine.Item(ciEraseRunHistory).Enabled);
    EXPECT_TRUE(Exists(Prefs() + ".damaged"));
    EXPECT_EQ(Engine.Log.size(), 1u);
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFileWhole) {
    Engine.AccessPassword = "old";
    Engine.SaveSettings(Prefs());
    const std::string old = ReadFileToString(Prefs());
    HANDLE lock =
        CreateFileW(ToWide(Prefs()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Engine.AccessPassword = "new";
    EXPECT_ANY_THROW(Engine.SaveSettings(Prefs()));
    CloseHandle(lock);
    EXPECT_EQ(ReadFileToString(Prefs()), old);
    EXPECT_FALSE(Exists(Prefs() + ".tmp"));
}

} // namespace
