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
