#include "classlib/base/Exceptions.h"
#include "classlib/base/IniFiles.h"
#include "classlib/base/SysUtils.h"
#include "engine/WipeTestSupport.h"

class WipeMethodsManagerTest : public TWipeTestBase {};

TEST_F(WipeMethodsManagerTest, SettingsReadDefaultsAndRoundTripEveryKey) {
    Manager().LoadSettings();
    EXPECT_FALSE(Manager().WriteSignature);
    EXPECT_TRUE(Manager().WipeSlackSpace);
    EXPECT_EQ(Manager().BufferSize, 524288);
    EXPECT_EQ(Manager().Signature, "");

    Manager().Signature = " \"Wiped\"\r\nby me ";
    Manager().BufferSize = 1000;
    Manager().SaveSettings();
    const TIniFile ini(Manager().OptionsFileName);
    EXPECT_EQ(ini.ReadSection("Settings").size(), 11u);
    TWipeMethodsManager loaded;
    loaded.OptionsFileName = Manager().OptionsFileName;
    loaded.LoadSettings();
    EXPECT_EQ(loaded.Signature, Manager().Signature);
    EXPECT_EQ(loaded.BufferSize, 1000);
}

TEST_F(WipeMethodsManagerTest, LoadsOnlyVisibleMtdFiles) {
    const std::string dir = Manager().MethodsDir;
    WriteAll(dir + "plain.mtd", "[Method]\r\nName=Plain\r\nPasses=1\r\n[Pass1]\r\nWipeWith=1\r\n");
    WriteAll(dir + "hidden.mtd", "[Method]\r\nName=Hidden\r\n");
    SetFileAttributesA((dir + "hidden.mtd").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteAll(dir + "other.mtdx", "[Method]\r\nName=Other\r\n");
    Manager().LoadMethods();
    ASSERT_EQ(Manager().Methods.size(), 1u);
    EXPECT_EQ(Manager().Methods[0]->Name, "Plain");
    EXPECT_EQ(Manager().Methods[0]->PassCount(), 1);
    EXPECT_EQ(Manager().FindMethodByFileName(UpperCase(dir + "PLAIN.MTD")),
              Manager().Methods[0].get());
}

TEST_F(WipeMethodsManagerTest, AMethodThatCannotBeSavedDoesNotStopTheOthers) {
    Manager().Methods.push_back(std::make_unique<TWipeMethod>()); // no file
    TWipeMethod& kept = AddMethod("kept.mtd", {});
    kept.Name = "Renamed";
    EXPECT_THROW(Manager().SaveMethods(), Exception);
    EXPECT_EQ(TIniFile(kept.FileName).ReadString("Method", "Name", ""), "Renamed");
}

TEST_F(WipeMethodsManagerTest, EngineBindings) {
    TWipeMethod& first = AddMethod("first.mtd", {BytePass(1)});
    TWipeMethod& second = AddMethod("second.mtd", {BytePass(2)});
    TWipeEngine engine("WipeFiles");
    EXPECT_EQ(Manager().GetEngineMethod(engine), &first); // no binding: the first, not stored
    EXPECT_EQ(engine.Method, nullptr);

    Manager().SetEngineMethod(engine, &second);
    EXPECT_EQ(TIniFile(Manager().OptionsFileName).ReadString("Engines", "WipeFiles", ""),
              "second.mtd");
    engine.Method = nullptr;
    TIniFile(Manager().OptionsFileName).WriteString("Engines", "WipeFiles", "SECOND.MTD");
    EXPECT_EQ(Manager().GetEngineMethod(engine), &second);
    EXPECT_EQ(engine.Method, &second);

    TIniFile(Manager().OptionsFileName).WriteString("Engines", "WipeFiles", "gone.mtd");
    EXPECT_EQ(Manager().GetEngineMethod(engine), nullptr);
    EXPECT_EQ(engine.Method, nullptr);
}

// "options.ini" is 8-bit: a name it would store as another ("Omega.mtd" for the Greek
// one) is never written, and a stored name binds only the method of exactly that name.
TEST_F(WipeMethodsManagerTest, ABindingNeverGoesThroughALossyName) {
    TWipeMethod& greek = AddMethod("\xce\xa9mega.mtd", {BytePass(1)});
    TWipeMethod& latin = AddMethod("Omega.mtd", {BytePass(2)});
    TWipeMethod& accented = AddMethod("\xc3\x89mile.mtd", {BytePass(3)}); // E acute fits
    TWipeEngine engine("WipeFiles");
    EXPECT_FALSE(TWipeMethodsManager::CanBind(greek.FileName));
    Manager().SetEngineMethod(engine, &accented);
    EXPECT_THROW(Manager().SetEngineMethod(engine, &greek), Exception);
    EXPECT_EQ(engine.Method, &accented);
    engine.Method = nullptr;
    EXPECT_EQ(Manager().GetEngineMethod(engine), &accented);

    TIniFile(Manager().OptionsFileName).WriteString("Engines", "WipeFiles", "omega.mtd");
    EXPECT_EQ(Manager().GetEngineMethod(engine), &latin);
    Manager().Methods.erase(Manager().Methods.begin() + 1);
    EXPECT_EQ(Manager().GetEngineMethod(engine), nullptr);
}

// The profile functions strip blanks and quotes at a value's ends and read "#13" as a
// line break: such a file name would bind another file, and is refused.
TEST_F(WipeMethodsManagerTest, ANameTheProfileFunctionsWouldChangeIsNeverBound) {
    TWipeMethod& lead = AddMethod(" lead.mtd", {BytePass(1)});
    TWipeEngine engine("WipeFiles");
    for (const char* name : {" lead.mtd", "'quoted.mtd", "a#13b.mtd"})
        EXPECT_FALSE(TWipeMethodsManager::CanBind(name)) << name;
    EXPECT_TRUE(TWipeMethodsManager::CanBind("DoD 5220.22-M.mtd"));
    EXPECT_THROW(Manager().SetEngineMethod(engine, &lead), Exception);
    EXPECT_EQ(TIniFile(Manager().OptionsFileName).ReadString("Engines", "WipeFiles", ""), "");
}
