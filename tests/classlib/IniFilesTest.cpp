#include "classlib/base/IniFiles.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(IniFile, ReadWriteAndSections) {
    TTempFolder temp;
    TIniFile ini(temp / "options.ini");
    ini.WriteString("Main", "Name", "value");
    ini.WriteInteger("Main", "Count", 12);
    ini.WriteBool("Main", "On", true);
    ini.WriteString("Other", "Long", std::string(3000, 'x'));
    ini.UpdateFile();

    EXPECT_EQ(ini.ReadString("main", "name", "d"), "value");
    EXPECT_EQ(ini.ReadString("Main", "Missing", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Main", "Count", 0), 12);
    EXPECT_EQ(ini.ReadInteger("Main", "Name", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Main", "On", false));
    EXPECT_EQ(ini.ReadString("Other", "Long", "").size(), 3000u);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "Other"}));
    EXPECT_EQ(ini.ReadSection("Main"), (std::vector<std::string>{"Name", "Count", "On"}));
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_TRUE(ini.ValueExists("Main", "count"));

    ini.DeleteKey("Main", "Count");
    EXPECT_FALSE(ini.ValueExists("Main", "Count"));
    ini.EraseSection("Other");
    EXPECT_FALSE(ini.SectionExists("Other"));
}

// Ini files stay in the ANSI code page (1252 here); the program sees UTF-8, and a file
// in a folder of any script is found.
TEST(IniFile, KeepsTheCodePageOnDisk) {
    TTempFolder temp;
    const std::string folder = temp / "\u6587\u66f8 \u03b1\u03b2";
    ASSERT_TRUE(ForceDirectories(folder));
    TIniFile ini(folder + "\\options.ini");
    ini.WriteString("Main", "Name", "caf\u00e9");
    ini.UpdateFile();
    EXPECT_EQ(ReadFileToString(folder + "\\options.ini"), "[Main]\r\nName=caf\xE9\r\n");
    EXPECT_EQ(ini.ReadString("Main", "Name", ""), "caf\u00e9");
}
