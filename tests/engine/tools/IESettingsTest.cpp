#include "engine/tools/IESettings.h"
#include "classlib/base/Registry.h"
#include <gtest/gtest.h>

namespace {
const char* const MainKey = "\\Software\\Microsoft\\Internet Explorer\\Main";
const char* const ShellFoldersKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const UrlTemplateKey = "\\SOFTWARE\\Microsoft\\Internet Explorer\\Main\\UrlTemplate";

// The Internet Explorer keys of the throwaway prefix; the start page is put back.
class IESettingsTest : public testing::Test {
protected:
    void SetUp() override {
        Main.OpenKey(MainKey, true);
        SavedStartPage = Main.ReadString("Start Page");
        for (const char* name : {"Window Title", "FormSuggest Passwords", "Cache"})
            Main.DeleteValue(name);
        Templates.RootKey = HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(Templates.OpenKey(UrlTemplateKey, true));
        for (const std::string& name : Templates.GetValueNames())
            Templates.DeleteValue(name);
    }
    void TearDown() override {
        Main.WriteString("Start Page", SavedStartPage);
        for (const char* name : {"Window Title", "FormSuggest Passwords"})
            Main.DeleteValue(name);
        TRegistry folders;
        if (folders.OpenKey(ShellFoldersKey, false) && folders.GetDataType("Cache") != rdString)
            folders.DeleteValue("Cache");
    }

    TRegistry Main;
    TRegistry Templates;
    std::string SavedStartPage;
    TIESettings Settings;
};
} // namespace

TEST(IESettingsSwitches, YesInAnyCaseIsTrue) {
    EXPECT_TRUE(YesNoToBool("yes"));
    EXPECT_TRUE(YesNoToBool("YES"));
    EXPECT_TRUE(YesNoToBool("yEs"));
    EXPECT_FALSE(YesNoToBool("1"));
    EXPECT_FALSE(YesNoToBool(""));
    EXPECT_FALSE(YesNoToBool("yes "));
    EXPECT_EQ(BoolToYesNo(true), "yes");
    EXPECT_EQ(BoolToYesNo(false), "no");
}

TEST_F(IESettingsTest, ReadsAndWritesBack) {
    Main.WriteString("FormSuggest Passwords", "YES");
    Main.WriteString("Use FormSuggest", "1");
    Main.DeleteValue("FormSuggest PW Ask");
    Main.WriteString("Start Page", "http://home.example/");
    Settings.Read();
    EXPECT_TRUE(Settings.FormSuggestPasswords);
    EXPECT_FALSE(Settings.UseFormSuggest);
    EXPECT_FALSE(Settings.FormSuggestPWAsk);
    EXPECT_EQ(Settings.StartPage, "http://home.example/");

    Settings.StartPage = "http://other.example/";
    Settings.Cache = "C:\\cache";
    Settings.UseFormSuggest = true;
    Settings.Write();
    EXPECT_EQ(Main.ReadString("Start Page"), "http://other.example/");
    EXPECT_EQ(Main.ReadString("Use FormSuggest"), "yes");
    // Values not changed since the read are not written.
    EXPECT_EQ(Main.ReadString("FormSuggest Passwords"), "YES");
    EXPECT_FALSE(Main.ValueExists("FormSuggest PW Ask"));
    // The folders go into "Main" as well as into "Shell Folders".
    EXPECT_EQ(Main.ReadString("Cache"), "C:\\cache");
    TRegistry folders;
    ASSERT_TRUE(folders.OpenKey(ShellFoldersKey, false));
    EXPECT_EQ(folders.ReadString("Cache"), "C:\\cache");
    Main.DeleteValue("Cache");
}

TEST_F(IESettingsTest, PartialReadNeverOverwritesWhatItMissed) {
    Main.WriteInteger("Window Title", 5); // wrong type: cannot be read
    Main.WriteString("Start Page", "http://kept.example/");
    TRegistry folders;
    ASSERT_TRUE(folders.OpenKey(ShellFoldersKey, false));
    const std::string cache = folders.ReadString("Cache");
    folders.WriteInteger("Cache", 9);

    Settings.Read();
    EXPECT_EQ(Settings.WindowTitle, "");
    EXPECT_EQ(Settings.StartPage, "http://kept.example/"); // read on past the bad value
    Settings.Write();
    EXPECT_EQ(Main.GetDataType("Window Title"), rdInteger);
    EXPECT_EQ(folders.GetDataType("Cache"), rdInteger);
    EXPECT_FALSE(Main.ValueExists("Cache"));
    folders.WriteString("Cache", cache);

    // A field the user set is written even though it was never read.
    Settings.WindowTitle = "Mine";
    Settings.Write();
    EXPECT_EQ(Main.ReadString("Window Title"), "Mine");
    // Once written it is the registry's value: setting it back is written too.
    Settings.WindowTitle = "";
    Settings.Write();
    EXPECT_EQ(Main.ReadString("Window Title"), "");
}

TEST_F(IESettingsTest, AutoFindListIsRenumberedAndCanBeEmptied) {
    Templates.WriteString("a", "http://a.example/%s");
    Templates.WriteString("b", "http://b.example/%s");
    Templates.WriteString("x", "http://x.example/%s");
    Settings.Read();
    ASSERT_EQ(Settings.UrlTemplates.Count(), 3);
    EXPECT_EQ(Settings.UrlTemplates[2], "http://x.example/%s");

    Settings.Write(); // unchanged: not written
    EXPECT_EQ(Templates.GetValueNames(), (std::vector<std::string>{"a", "b", "x"}));
    Settings.UrlTemplates.Add("http://y.example/%s");
    Settings.Write();
    EXPECT_EQ(Templates.GetValueNames(), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Templates.ReadString("1"), "http://a.example/%s");
    EXPECT_EQ(Templates.ReadString("3"), "http://x.example/%s");

    Settings.UrlTemplates.Clear();
    Settings.Write();
    EXPECT_TRUE(Templates.GetValueNames().empty());
}

// An AutoFind list saved without its key creates the key; a value that could not be
// read is named once, at the next save.
TEST_F(IESettingsTest, MissingKeysAreCreatedAndFailuresAreReturnedOnce) {
    Templates.CloseKey();
    ASSERT_TRUE(Templates.DeleteKey(UrlTemplateKey));
    Main.WriteInteger("Use FormSuggest", 1);
    Settings.Read();
    EXPECT_EQ(Settings.UrlTemplates.Count(), 0);
    Settings.UrlTemplates.Add("http://find.example/%s");
    const std::vector<std::string> failures = Settings.Write();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].find("Use FormSuggest (HKEY_CURRENT_USER\\Software"), 0u) << failures[0];
    EXPECT_EQ(Main.GetDataType("Use FormSuggest"), rdInteger);
    ASSERT_TRUE(Templates.OpenKey(UrlTemplateKey, false));
    EXPECT_EQ(Templates.ReadString("1"), "http://find.example/%s");
    EXPECT_TRUE(Settings.Write().empty());
    Main.DeleteValue("Use FormSuggest");
}

// A save writes only what changed since the values were read: values other programs
// set after the read stay, and so does a later change of a saved value.
TEST_F(IESettingsTest, ASaveKeepsWhatOtherProgramsSetAfterTheRead) {
    Main.WriteString("Start Page", "http://read.example/");
    Settings.Read();
    Main.WriteString("Start Page", "http://other-program.example/");
    Templates.WriteString("1", "http://other-program.example/%s");
    Settings.WindowTitle = "Mine";
    EXPECT_TRUE(Settings.Write().empty());
    EXPECT_EQ(Main.ReadString("Window Title"), "Mine");
    EXPECT_EQ(Main.ReadString("Start Page"), "http://other-program.example/");
    EXPECT_EQ(Templates.ReadString("1"), "http://other-program.example/%s");
    Main.WriteString("Window Title", "Theirs");
    Settings.Write();
    EXPECT_EQ(Main.ReadString("Window Title"), "Theirs");
}

// AutoFind values of another type are left out of the list, named once, and kept in
// their places when the list is saved; the entries after them are neither hidden nor
// deleted.
TEST_F(IESettingsTest, AutoFindValuesOfAnotherTypeAreKeptInTheirPlaces) {
    Templates.WriteString("1", "http://one.example/%s");
    Templates.WriteString("2", "http://two.example/%s");
    Templates.WriteInteger("3", 7);
    Templates.WriteString("4", "http://four.example/%s");
    Templates.WriteString("5", "http://five.example/%s");
    Settings.Read();
    EXPECT_EQ(Settings.UrlTemplates.Text(), "http://one.example/%s\r\nhttp://two.example/%s\r\n"
                                            "http://four.example/%s\r\nhttp://five.example/%s\r\n");
    Settings.UrlTemplates.Delete(0);
    Settings.UrlTemplates.Add("http://six.example/%s");
    const std::vector<std::string> failures = Settings.Write();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("AutoFind"), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find(": values that are not text"), std::string::npos) << failures[0];
    EXPECT_EQ(Templates.GetDataType("3"), rdInteger);
    EXPECT_EQ(Templates.ReadInteger("3"), 7);
    EXPECT_EQ(Templates.ReadString("1"), "http://two.example/%s");
    EXPECT_EQ(Templates.ReadString("2"), "http://four.example/%s");
    EXPECT_EQ(Templates.ReadString("4"), "http://five.example/%s");
    EXPECT_EQ(Templates.ReadString("5"), "http://six.example/%s");
    EXPECT_EQ(Templates.GetValueNames().size(), 5u);
    EXPECT_TRUE(Settings.Write().empty()); // said once
}
