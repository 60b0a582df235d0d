#include "classlib/base/Registry.h"
#include "classlib/base/Exceptions.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const char* const kTestKey = "Software\\TarnwhistleTest";

class RegistryTest : public testing::Test {
protected:
    void TearDown() override {
        TRegistry reg;
        reg.DeleteKey(kTestKey);
    }
};

} // namespace

TEST_F(RegistryTest, OpenWithoutCreateDoesNotCreate) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("\\Software\\TarnwhistleTest\\Missing", false));
    EXPECT_FALSE(reg.KeyExists("Software\\TarnwhistleTest\\Missing"));
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\TarnwhistleTest\\Missing"));
    EXPECT_TRUE(reg.OpenKey("\\Software\\TarnwhistleTest\\Made", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\TarnwhistleTest\\Made");
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("\\Software\\TarnwhistleTest\\Made"));
}

TEST_F(RegistryTest, RelativeAndRootPaths) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kTestKey, true));
    ASSERT_TRUE(reg.OpenKey("Child", true)); // relative to the current key
    EXPECT_EQ(reg.CurrentPath(), "Software\\TarnwhistleTest\\Child");
    ASSERT_TRUE(reg.OpenKey("\\Software\\TarnwhistleTest", false)); // from the root
    EXPECT_EQ(reg.CurrentPath(), "Software\\TarnwhistleTest");
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Child"});
}

TEST_F(RegistryTest, TypedValues) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kTestKey, true));
    reg.WriteString("S", "text");
    reg.WriteExpandString("E", "%TEMP%\\x");
    reg.WriteInteger("I", -5);
    reg.WriteBool("B", true);
    const unsigned char bytes[] = {1, 0, 255};
    reg.WriteBinaryData("Bin", bytes, 3);

    EXPECT_EQ(reg.ReadString("S"), "text");
    EXPECT_EQ(reg.ReadString("E"), "%TEMP%\\x");
    EXPECT_EQ(reg.ReadInteger("I"), -5);
    EXPECT_TRUE(reg.ReadBool("B"));
    EXPECT_EQ(reg.ReadBinaryString("Bin"), std::string("\x01\x00\xFF", 3));
    unsigned char buf[8];
    EXPECT_EQ(reg.ReadBinaryData("Bin", buf, sizeof buf), 3);
    EXPECT_EQ(reg.GetDataType("S"), rdString);
    EXPECT_EQ(reg.GetDataType("E"), rdExpandString);
    EXPECT_EQ(reg.GetDataType("I"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Bin"), rdBinary);
    EXPECT_EQ(reg.GetDataSize("S"), 5);
    EXPECT_EQ(reg.GetDataSize("None"), -1);

    EXPECT_EQ(reg.ReadString("None"), "");
    EXPECT_THROW((void)reg.ReadInteger("None"), ERegistryException);
    EXPECT_THROW((void)reg.ReadInteger("S"), ERegistryException);
    EXPECT_THROW((void)reg.ReadString("I"), ERegistryException);
    EXPECT_THROW(reg.ReadBinaryData("Bin", buf, 2), ERegistryException);

    EXPECT_TRUE(reg.ValueExists("S"));
    EXPECT_TRUE(reg.DeleteValue("S"));
    EXPECT_FALSE(reg.ValueExists("S"));
    EXPECT_FALSE(reg.DeleteValue("S"));
    const std::string longName(300, 'v');
    reg.WriteString(longName, "x");
    std::vector<std::string> names = reg.GetValueNames();
    EXPECT_EQ(names.size(), 5u);
    EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
}

TEST_F(RegistryTest, DeleteKeyRemovesSubkeys) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\TarnwhistleTest\\Tree\\Deep\\Deeper", true));
    reg.WriteString("v", "x");
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("\\Software\\TarnwhistleTest\\Tree"));
    EXPECT_FALSE(reg.KeyExists("Software\\TarnwhistleTest\\Tree"));
    EXPECT_TRUE(reg.KeyExists("Software\\TarnwhistleTest"));
    EXPECT_FALSE(reg.DeleteKey("\\")); // never the root itself
}

// The machine's software of 32-bit programs lies in a view of its own; a read-only
// open stays in the view the registry object was made for.
TEST(RegistryViews, AReadOnlyOpenKeepsTheView) {
    TRegistry wow(KEY_ALL_ACCESS | KEY_WOW64_32KEY);
    wow.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(wow.OpenKey(kTestKey, true));
    wow.WriteString("InView", "32");
    TRegistry reader(KEY_READ | KEY_WOW64_32KEY);
    reader.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reader.OpenKeyReadOnly(kTestKey));
    EXPECT_EQ(reader.ReadString("InView"), "32");
    TRegistry native(KEY_READ);
    native.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(native.OpenKeyReadOnly(kTestKey) && native.ValueExists("InView"));
    wow.CloseKey();
    EXPECT_EQ(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\TarnwhistleTest", KEY_WOW64_32KEY, 0),
              ERROR_SUCCESS);
}

TEST(RootKeys, NumbersFromFilesBecomeHandles) {
    EXPECT_EQ(RootKeyFromNumber(2147483649LL), HKEY_CURRENT_USER);
    EXPECT_EQ(RootKeyFromNumber(2147483650LL), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RootKeyToNumber(HKEY_CURRENT_USER), 2147483649u);
    EXPECT_EQ(RootKeyToNumber(HKEY_LOCAL_MACHINE), 2147483650u);
    EXPECT_EQ(RootKeyFromNumber(0), nullptr);
}

// Key names, value names and string data in any script round-trip exactly; binary
// data stays untouched.
TEST_F(RegistryTest, NamesAndTextInAnyScript) {
    const std::string key = std::string(kTestKey) + "\\\u6587\u66f8";
    const std::string name = "\u03b1\u03b2\u03b3 \U0001F600",
                      text = "\u4f8b\u3048 \u00fc \U0001F600";
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString(name, text);
        reg.WriteBinaryData("\u00fc", "\xff\xfe", 2);
    }
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKey(kTestKey, false));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"\u6587\u66f8"});
    ASSERT_TRUE(reg.OpenKey("\u6587\u66f8", false));
    std::vector<std::string> names = reg.GetValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"\u00fc", name}));
    EXPECT_EQ(reg.ReadString(name), text);
    EXPECT_EQ(reg.GetDataSize(name), static_cast<int>(text.size() + 1));
    EXPECT_EQ(reg.ReadBinaryString("\u00fc"), "\xff\xfe");
    EXPECT_TRUE(reg.KeyExists("\\" + key));
}
