// The registry eraser against a test key of the private prefix.
#include "classlib/base/Registry.h"
#include "engine/EraserFixture.h"
#include "engine/erasers/EraseRegistry.h"
#include <gtest/gtest.h>

namespace {

const std::string TestKey = "Software\\TarnwhistleTest\\Erasers";

struct TEraseRegistryTest : testing::Test {
    TRecordingEngine Engine;
    TEraseRegistry Eraser{"TestRegistry", "Test Registry"};
    int AfterErase = 0;

    void SetUp() override {
        Engine.AddEraser(&Eraser);
        Eraser.Enabled = true;
        Eraser.OnAfterErase = [this](TEraser*) { ++AfterErase; };
        TRegistry reg;
        reg.DeleteKey(TestKey);
        ASSERT_TRUE(reg.OpenKey(TestKey + "\\MRU\\Sub", true));
        reg.WriteString("deep", "x");
        ASSERT_TRUE(reg.OpenKey("\\" + TestKey + "\\MRU", false));
        for (const char* name : {"a", "b", "c"})
            reg.WriteString(name, name);
        ASSERT_TRUE(reg.OpenKey("\\" + TestKey + "\\Typed", true));
        for (const char* name : {"url1", "url2"})
            reg.WriteString(name, name);
    }
    void TearDown() override { TRegistry().DeleteKey(TestKey); }

    static bool KeyExists(const std::string& key) { return TRegistry().KeyExists(key); }
    static bool ValueExists(const std::string& key, const std::string& name) {
        TRegistry reg;
        return reg.OpenKeyReadOnly(key) && reg.ValueExists(name);
    }
};

} // namespace

TEST_F(TEraseRegistryTest, AKeyGoesWithItsSubtreeAndCountsOnce) {
    Eraser.AddKey(HKEY_CURRENT_USER, "\\" + TestKey + "\\MRU");
    Eraser.AddKey(HKEY_CURRENT_USER, TestKey + "\\Missing");
    Engine.Execute();
    EXPECT_FALSE(KeyExists(TestKey + "\\MRU"));
    EXPECT_TRUE(KeyExists(TestKey + "\\Typed"));
    EXPECT_EQ(Engine.KeysErased, 1);
    EXPECT_EQ(AfterErase, 1);
}

TEST_F(TEraseRegistryTest, AValueCountsWhenItsKeyOpens) {
    const std::string typed = TestKey + "\\Typed";
    Eraser.AddValue(HKEY_CURRENT_USER, typed, "url1");
    Eraser.AddValue(HKEY_CURRENT_USER, typed, "gone");
    Eraser.AddValue(HKEY_CURRENT_USER, TestKey + "\\Missing", "url2");
    Engine.Execute();
    EXPECT_FALSE(ValueExists(typed, "url1"));
    EXPECT_TRUE(ValueExists(typed, "url2"));
    EXPECT_EQ(Engine.ValuesErased, 2);
}

TEST_F(TEraseRegistryTest, SimulationCountsWithoutDeleting) {
    Engine.SimulationMode = true;
    Eraser.AddKey(HKEY_CURRENT_USER, TestKey + "\\MRU");
    Eraser.AddValue(HKEY_CURRENT_USER, TestKey + "\\Typed", "url2");
    Engine.Execute();
    EXPECT_EQ(Engine.KeysErased, 1);
    EXPECT_EQ(Engine.ValuesErased, 1);
    EXPECT_TRUE(KeyExists(TestKey + "\\MRU\\Sub"));
    EXPECT_TRUE(ValueExists(TestKey + "\\Typed", "url2"));
}

TEST_F(TEraseRegistryTest, ExcludedValuesMatchExactlyWithCase) {
    Eraser.ExcludedValues = {"url1", "URL2"};
    for (const char* name : {"url1", "url2"})
        Eraser.AddValue(HKEY_CURRENT_USER, TestKey + "\\Typed", name);
    ASSERT_EQ(Eraser.Items.size(), 1u);
    Engine.Execute();
    EXPECT_TRUE(ValueExists(TestKey + "\\Typed", "url1"));
    EXPECT_FALSE(ValueExists(TestKey + "\\Typed", "url2"));
}

TEST_F(TEraseRegistryTest, AStopBetweenItemsSkipsTheRestAndTheAfterEraseEvent) {
    Eraser.AddValue(HKEY_CURRENT_USER, TestKey + "\\Typed", "url1");
    Eraser.AddValue(HKEY_CURRENT_USER, TestKey + "\\Typed", "url2");
    Engine.Cancelled = true;
    Eraser.Erase();
    EXPECT_EQ(Engine.ValuesErased, 0);
    EXPECT_EQ(AfterErase, 0);
    EXPECT_TRUE(ValueExists(TestKey + "\\Typed", "url1"));
}

TEST_F(TEraseRegistryTest, AnEmptyKeyPathNeverBecomesTheRootKey) {
    for (const char* key : {"", "\\", "\\\\"}) {
        Eraser.AddKey(HKEY_CURRENT_USER, key);
        Eraser.AddValue(HKEY_CURRENT_USER, key, "");
    }
    Engine.Execute();
    EXPECT_EQ(Engine.KeysErased + Engine.ValuesErased, 0);
    EXPECT_TRUE(KeyExists(TestKey + "\\Typed"));
    EXPECT_TRUE(KeyExists("Software"));
    EXPECT_EQ(AfterErase, 1);
}

TEST(TEraseRegistryXML, ExcludedValuesRoundTrip) {
    TXMLDocument doc;
    TXMLNode root = doc.CreateDocumentElement("IE");
    TEraseRegistry saved("IEEraseTypedURLs", "Internet Explorer Typed URLs");
    saved.ExcludedValues = {"url1", "url7"};
    saved.SaveToXML(root);
    const TXMLNode excluded = root.FindNode("IEEraseTypedURLs").FindNode("ExcludedValues");
    ASSERT_TRUE(excluded);
    EXPECT_EQ(excluded.ChildNodes()[1].Attribute("Value"), "url7");

    TEraseRegistry loaded("IEEraseTypedURLs");
    loaded.ExcludedValues = {"old"};
    loaded.LoadFromXML(root);
    EXPECT_EQ(loaded.ExcludedValues, saved.ExcludedValues);
}
