#include "engine/erasers/PostEraser.h"

#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/StringList.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/EraserFixture.h"
#include "engine/PostEraserItem.h"
#include <gtest/gtest.h>

namespace {

const char* const TestKey = "Software\\TarnwhistleTests\\PostEraser";

class PostEraserTest : public testing::Test {
protected:
    void SetUp() override { Eraser.FileName = Dir / "posterase.dat"; }

    TTempFolder Dir;
    TPostEraser Eraser;
};

} // namespace

TEST_F(PostEraserTest, SavedFileHoldsEveryAttributeInOrder) {
    Eraser.Add(PostEraserItem(ptDeleteFile, "C:\\a b\\locked.dat"));
    Eraser.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, "Software\\X", "Name",
                              " two  blanks "));
    Eraser.Add(PostEraserItem(ptWriteInteger, "", HKEY_LOCAL_MACHINE, "System\\Y",
                              "ClearPageFileAtShutdown", "0"));
    Eraser.Add(PostEraserItem(ptRemoveLine, "c:\\autoexec.bat", nullptr, "", "", "",
                              "del c:\\win386.swp"));
    Eraser.SaveToFile();

    TXMLDocument doc;
    doc.LoadFromFile(Eraser.FileName);
    const TXMLNode root = doc.DocumentElement();
    ASSERT_EQ(root.NodeName(), "PostEraser");
    const std::vector<TXMLNode> items = root.ChildNodes();
    ASSERT_EQ(items.size(), 4u);
    const std::vector<std::string> order = {"Type",      "FileName",  "RootKey", "Key",
                                            "ValueName", "ValueData", "BATLine"};
    for (const TXMLNode& item : items) {
        EXPECT_EQ(item.NodeName(), "Item");
        EXPECT_EQ(item.AttributeNames(), order);
    }
    EXPECT_EQ(items[0].Attribute("RootKey"), "0");
    EXPECT_EQ(items[1].Attribute("RootKey"), "2147483649");
    EXPECT_EQ(items[2].Attribute("RootKey"), "2147483650");
    EXPECT_EQ(items[2].Attribute("Type"), "3");
    EXPECT_FALSE(FileExists(Eraser.FileName + ".tmp"));
}

TEST_F(PostEraserTest, RoundTripKeepsEveryItem) {
    Eraser.Add(PostEraserItem(ptDeleteFile, ""));
    Eraser.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, "Software\\X", "Name",
                              " two  blanks "));
    Eraser.Add(PostEraserItem(ptWriteInteger, "", HKEY_LOCAL_MACHINE, "System\\Y", "Value", "0"));
    Eraser.Add(
        PostEraserItem(ptRemoveLine, "c:\\autoexec.bat", nullptr, "", "", "", "del <&> \"x\""));
    Eraser.Add(PostEraserItem(7, "z"));
    Eraser.SaveToFile();

    TPostEraser loaded;
    loaded.FileName = Eraser.FileName;
    loaded.LoadFromFile();
    ASSERT_EQ(loaded.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const TPostEraserItem& a = Eraser.Items(i);
        const TPostEraserItem& b = loaded.Items(i);
        EXPECT_EQ(a.Type, b.Type);
        EXPECT_EQ(a.FileName, b.FileName);
        EXPECT_EQ(a.RootKey, b.RootKey) << i;
        EXPECT_EQ(a.Key, b.Key);
        EXPECT_EQ(a.ValueName, b.ValueName);
        EXPECT_EQ(a.ValueData, b.ValueData);
        EXPECT_EQ(a.BATLine, b.BATLine);
    }
}

TEST_F(PostEraserTest, LoadTakesAttributesInAnyOrderAndAnyChildName) {
    WriteStringToFile(Eraser.FileName,
                      "<?xml version=\"1.0\"?>\r\n<PostEraser>\r\n"
                      "  <Item BATLine=\"\" ValueData=\"5\" ValueName=\"V\" Key=\"K\" "
                      "RootKey=\"2147483650\" FileName=\"\" Type=\"3\"/>\r\n"
                      "  <Other Type=\"1\" FileName=\"f\" RootKey=\"0\" Key=\"\" ValueName=\"\" "
                      "ValueData=\"\" BATLine=\"\"/>\r\n"
                      "</PostEraser>\r\n");
    Eraser.LoadFromFile();
    ASSERT_EQ(Eraser.Count(), 2);
    EXPECT_EQ(Eraser.Items(0).RootKey, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Eraser.Items(0).ValueData, "5");
    EXPECT_EQ(Eraser.Items(1).FileName, "f");
}

TEST_F(PostEraserTest, BrokenFilesKeepWhatWasRead) {
    const std::string good =
        "<Item Type=\"1\" FileName=\"a\" RootKey=\"0\" Key=\"\" ValueName=\"\" "
        "ValueData=\"\" BATLine=\"\"/>";
    WriteStringToFile(Eraser.FileName, "<PostEraser>" + good + good +
                                           "<Item Type=\"1\" FileName=\"b\"/>" + good +
                                           "</PostEraser>");
    Eraser.LoadFromFile();
    EXPECT_EQ(Eraser.Count(), 2); // the load stops at the item without its attributes

    Eraser.Add(PostEraserItem(ptDeleteFile, "kept"));
    WriteStringToFile(Eraser.FileName, "<PostEraser><Item Type=");
    Eraser.LoadFromFile();
    EXPECT_EQ(Eraser.Count(), 3);
    WriteStringToFile(Eraser.FileName, "<Other/>");
    Eraser.LoadFromFile();
    EXPECT_EQ(Eraser.Count(), 3);
    SysDeleteFile(Eraser.FileName);
    Eraser.LoadFromFile();
    EXPECT_EQ(Eraser.Count(), 3);
}

TEST_F(PostEraserTest, OutOfRangeTypeStaysUnknown) {
    WriteStringToFile(Eraser.FileName,
                      "<PostEraser><Item Type=\"257\" FileName=\"x\" RootKey=\"0\" Key=\"\" "
                      "ValueName=\"\" ValueData=\"\" BATLine=\"\"/></PostEraser>");
    Eraser.LoadFromFile();
    ASSERT_EQ(Eraser.Count(), 1);
    EXPECT_EQ(Eraser.Items(0).Type, 0); // not 1, which would delete "x"
}

TEST_F(PostEraserTest, FailedSaveLeavesTheOldFileWhole) {
    Eraser.Add(PostEraserItem(ptDeleteFile, "old"));
    Eraser.SaveToFile();
    const std::string old = ReadFileToString(Eraser.FileName);
    // A folder in the way of the temporary file makes the save fail.
    ASSERT_TRUE(CreateDirectoryA((Eraser.FileName + ".tmp").c_str(), nullptr));
    Eraser.Add(PostEraserItem(ptDeleteFile, "new"));
    Eraser.SaveToFile();
    EXPECT_EQ(ReadFileToString(Eraser.FileName), old);
    RemoveDirectoryA((Eraser.FileName + ".tmp").c_str());
    Eraser.SaveToFile();
    EXPECT_NE(ReadFileToString(Eraser.FileName), old);
}

TEST_F(PostEraserTest, RunOnceValueIsQuotedAndRemovedWithTheFile) {
    Eraser.SaveToFile();
    Eraser.RegisterRunOnce();
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly(RunOnceKey));
    EXPECT_EQ(reg.ReadString(RunOnceValue),
              Format("\"%s\" /cleanup", GetModuleFileNameStr().c_str()));
    Eraser.UnregisterRunOnce();
    EXPECT_FALSE(reg.ValueExists(RunOnceValue));
    EXPECT_FALSE(FileExists(Eraser.FileName));
    Eraser.UnregisterRunOnce(); // nothing left to remove: no error
}

// Work saved by an earlier program session stays pending until the restart: only
// while this program's run-once value is registered does the file's work go ahead
// of the items in memory, and only once.
TEST_F(PostEraserTest, PendingItemsOfAnEarlierSessionAreKeptOnce) {
    // The item types of a new session's eraser that kept what it could before saving.
    const auto kept = [&](const std::string& runOnce) {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        EXPECT_TRUE(reg.OpenKey(RunOnceKey, false));
        reg.DeleteValue(RunOnceValue);
        if (!runOnce.empty()) reg.WriteString(RunOnceValue, runOnce);
        TPostEraser earlier;
        earlier.FileName = Eraser.FileName;
        earlier.Add(PostEraserItem(ptWriteInteger, "", HKEY_LOCAL_MACHINE, "System\\Y",
                                   "ClearPageFileAtShutdown", "0"));
        earlier.Add(PostEraserItem(ptRemoveLine, "c:\\autoexec.bat", nullptr, "", "", "", "del x"));
        earlier.SaveToFile();
        TPostEraser now;
        now.FileName = Eraser.FileName;
        now.Add(PostEraserItem(ptDeleteFile, "C:\\now.dat"));
        EXPECT_EQ(now.KeepPendingItems(), ""); // the file is whole
        EXPECT_EQ(now.KeepPendingItems(), "");
        std::vector<std::string> types;
        for (int i = 0; i < now.Count(); ++i)
            types.push_back(IntToStr(now.Items(i).Type));
        return types;
    };
    const std::string ours = Format("\"%s\" /cleanup", GetModuleFileNameStr().c_str());
    EXPECT_EQ(kept(ours), (std::vector<std::string>{"3", "4", "1"}));
    EXPECT_EQ(kept(""), (std::vector<std::string>{"1"})); // restarted: the file is stale
    EXPECT_EQ(kept("\"C:\\Other\\Tarnwhistle.exe\" /cleanup"), (std::vector<std::string>{"1"}));
    Eraser.UnregisterRunOnce();
}

class PostEraserExecuteTest : public PostEraserTest {
protected:
    void SetUp() override {
        PostEraserTest::SetUp();
        Reg.RootKey = HKEY_CURRENT_USER;
        Reg.DeleteKey(TestKey);
        ASSERT_TRUE(Reg.OpenKey(TestKey, true));
    }
    void TearDown() override {
        Reg.CloseKey();
        Reg.DeleteKey(TestKey);
    }
    TRegistry Reg;
};

TEST_F(PostEraserExecuteTest, FilesAreDeletedUnlessLocked) {
    for (const char* name : {"locked.dat", "readonly.dat", "plain.dat"})
        WriteStringToFile(Dir / name, "data");
    FileSetAttr(Dir / "readonly.dat", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    TFileHandle lock(CreateFileA((Dir / "locked.dat").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.Valid());

    Eraser.Add(PostEraserItem(ptDeleteFile, ""));
    Eraser.Add(PostEraserItem(ptDeleteFile, Dir / "locked.dat"));
    Eraser.Add(PostEraserItem(ptDeleteFile, Dir / "readonly.dat"));
    Eraser.Add(PostEraserItem(ptDeleteFile, Dir / "missing.dat"));
    Eraser.Add(PostEraserItem(ptDeleteFile, Dir / "plain.dat"));
    Eraser.Add(PostEraserItem(ptDeleteFile, Dir.Path())); // a folder: dropped, not kept
    Eraser.Execute();

    ASSERT_EQ(Eraser.Count(), 1);
    EXPECT_EQ(Eraser.Items(0).FileName, Dir / "locked.dat");
    EXPECT_TRUE(FileExists(Dir / "locked.dat"));
    EXPECT_FALSE(FileExists(Dir / "readonly.dat"));
    EXPECT_FALSE(FileExists(Dir / "plain.dat"));
}

TEST_F(PostEraserExecuteTest, RegistryValuesAreWrittenIntoExistingKeysOnly) {
    const std::string missingKey = std::string(TestKey) + "\\Missing";
    Eraser.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, TestKey, "Text", "a value"));
    Eraser.Add(PostEraserItem(ptWriteInteger, "", HKEY_CURRENT_USER, TestKey, "Zero", "0"));
    Eraser.Add(PostEraserItem(ptWriteInteger, "", HKEY_CURRENT_USER, TestKey, "Number", "4711"));
    Eraser.Add(PostEraserItem(ptWriteInteger, "", HKEY_CURRENT_USER, TestKey, "Bad", "12abc"));
    Eraser.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, missingKey, "Text", "x"));
    Eraser.Add(PostEraserItem(ptWriteString, "", nullptr, TestKey, "NoRoot", "x"));
    Eraser.Add(PostEraserItem(ptWriteString, "", HKEY_CURRENT_USER, TestKey, "Last", "done"));
    Eraser.Execute();

    EXPECT_EQ(Reg.ReadString("Text"), "a value");
    EXPECT_EQ(Reg.GetDataType("Zero"), rdInteger);
    EXPECT_EQ(Reg.ReadInteger("Zero"), 0);
    EXPECT_EQ(Reg.ReadInteger("Number"), 4711);
    EXPECT_FALSE(Reg.ValueExists("Bad"));
    EXPECT_FALSE(Reg.ValueExists("NoRoot"));
    EXPECT_EQ(Reg.ReadString("Last"), "done");
    TRegistry check(KEY_READ);
    EXPECT_FALSE(check.KeyExists(missingKey));
}

TEST_F(PostEraserExecuteTest, StartupFileLosesTheFirstMatchingLineOnly) {
    const std::string bat = Dir / "autoexec.bat";
    WriteStringToFile(bat,
                      "@echo off\r\nDEL C:\\WIN386.SWP\r\nrem caf\xE9\r\ndel c:\\win386.swp\r\n");
    WriteStringToFile(Dir / "other.bat", "rem caf\xE9\r\n");
    Eraser.Add(PostEraserItem(ptRemoveLine, bat, nullptr, "", "", "", "del c:\\win386.swp"));
    Eraser.Add(PostEraserItem(ptRemoveLine, Dir / "missing.bat", nullptr, "", "", "", "x"));
    // Only ASCII letters compare without case.
    Eraser.Add(PostEraserItem(ptRemoveLine, Dir / "other.bat", nullptr, "", "", "", "REM CAF\xC9"));
    Eraser.Add(PostEraserItem(0, Dir / "other.bat"));
    Eraser.Add(PostEraserItem(5, Dir / "other.bat"));
    // Own line ends stay, no match leaves the bytes, UTF-16 text loses a UTF-16 line.
    const std::string wide("\xFF\xFEx\0\n\0d\0e\0l\0 \0x\0\r\0", 18);
    const std::pair<std::string, std::string> texts[] = {
        {"a\nDel X\nb", "a\nb"}, {"a\r\nb\nc", "a\r\nb\nc"}, {wide, wide.substr(0, 6)}};
    for (size_t i = 0; i < std::size(texts); ++i) {
        WriteStringToFile(Dir / std::to_string(i), texts[i].first);
        Eraser.Add(
            PostEraserItem(ptRemoveLine, Dir / std::to_string(i), nullptr, "", "", "", "del x"));
    }
    Eraser.Execute();

    EXPECT_EQ(ReadFileToString(bat), "@echo off\r\nrem caf\xE9\r\ndel c:\\win386.swp\r\n");
    EXPECT_EQ(ReadFileToString(Dir / "other.bat"), "rem caf\xE9\r\n");
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(ReadFileToString(Dir / std::to_string(i)), texts[i].second) << i;
    EXPECT_FALSE(FileExists(Dir / "missing.bat"));
}
