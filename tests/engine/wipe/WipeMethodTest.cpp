#include "classlib/base/Exceptions.h"
#include "classlib/base/IniFiles.h"
#include "classlib/base/Random.h"
#include "engine/WipeTestSupport.h"

namespace {

// The run-time's generator, computed apart from the code under test.
uint32_t NextDraw(uint32_t& state, uint32_t range) {
    state = state * 134775813u + 1u;
    return static_cast<uint32_t>((uint64_t{state} * range) >> 32);
}

TPass RandomBytes(uint8_t low, uint8_t high) {
    TPass p;
    p.WipeWith = wwRandomBytes;
    p.RandomBytesValue1 = low;
    p.RandomBytesValue2 = high;
    return p;
}

} // namespace

TEST(WipePassTest, PatternBuffersHaveTheirExactBytes) {
    TPass byte;
    byte.BytePatternValue = 255;
    EXPECT_EQ(byte.GetPassData(3), std::string(3, '\xFF'));
    TPass text;
    text.WipeWith = wwTextPattern;
    text.TextPatternValue = "abc";
    EXPECT_EQ(text.GetPassData(7), "abcabca");
    EXPECT_EQ(text.GetPassData(0), "");
    text.TextPatternValue = "";
    EXPECT_THROW((void)text.GetPassData(0), Exception);
    TPass unknown;
    unknown.WipeWith = 9;
    EXPECT_EQ(unknown.GetPassData(16), "");
    EXPECT_FALSE(unknown.HasData());
}

TEST(WipePassTest, RandomBytesFollowTheProgramGenerator) {
    RandSeed = 255;
    const std::string data = RandomBytes(10, 20).GetPassData(64);
    uint32_t state = 255;
    for (char c : data) {
        uint32_t r;
        do
            r = NextDraw(state, 21);
        while (r < 10);
        ASSERT_EQ(static_cast<uint8_t>(c), r);
    }
    EXPECT_EQ(RandSeed, state);
    EXPECT_EQ(RandomBytes(7, 7).GetPassData(5), std::string(5, '\x07'));
}

TEST(WipePassTest, RandomCharacterDrawsOncePerBufferAndInvertedBoundsEnd) {
    TPass pass;
    pass.WipeWith = wwRandomCharacter;
    pass.RandomCharacterValue1 = 65;
    pass.RandomCharacterValue2 = 90;
    RandSeed = 255;
    EXPECT_EQ(pass.GetPassData(0), "");
    EXPECT_NE(RandSeed, 255u); // the draw happens for an empty buffer too
    const std::string data = pass.GetPassData(100);
    EXPECT_EQ(data, std::string(100, data[0]));
    EXPECT_GE(data[0], 'A');
    EXPECT_LE(data[0], 'Z');
    const std::string inverted = RandomBytes(200, 100).GetPassData(1000);
    for (char c : inverted) {
        ASSERT_GE(static_cast<uint8_t>(c), 100);
        ASSERT_LE(static_cast<uint8_t>(c), 200);
    }
}

class WipeMethodFileTest : public TWipeTestBase {};

TEST_F(WipeMethodFileTest, TextsRoundTripBlanksQuotesAndLineBreaks) {
    const std::string name = "  \"quoted\" name ";
    const std::string description = "a\r\nb \"c\"\n";
    const std::string pattern = " 'x' \r\n";
    TWipeMethod saved;
    saved.FileName = (Dir / "round.mtd");
    saved.Name = name;
    saved.Description = description;
    saved.Append(std::make_unique<TPass>(TextPass(pattern)));
    saved.GetPass(0).Name = "\"";
    saved.SaveToFile();
    EXPECT_EQ(TIniFile(saved.FileName).ReadString("Method", "Description", ""),
              "a#13#10b \"c\"#10");

    TWipeMethod loaded;
    loaded.FileName = saved.FileName;
    loaded.LoadFromFile();
    EXPECT_EQ(loaded.Name, name);
    EXPECT_EQ(loaded.Description, description);
    ASSERT_EQ(loaded.PassCount(), 1);
    EXPECT_EQ(loaded.GetPass(0).TextPatternValue, pattern);
    EXPECT_EQ(loaded.GetPass(0).Name, "\"");
}

TEST_F(WipeMethodFileTest, FewerPassesLeaveStaleSectionsThatAreNotRead) {
    TWipeMethod method;
    method.FileName = (Dir / "shrink.mtd");
    for (int i = 0; i < 5; ++i)
        method.Append(std::make_unique<TPass>(BytePass(static_cast<uint8_t>(i))));
    method.SaveToFile();
    method.DeletePass(&method.GetPass(4));
    method.DeletePass(&method.GetPass(3));
    method.SaveToFile();
    const TIniFile ini(method.FileName);
    EXPECT_EQ(ini.ReadInteger("Method", "Passes", 0), 3);
    EXPECT_TRUE(ini.SectionExists("Pass5"));
    TWipeMethod loaded;
    loaded.FileName = method.FileName;
    loaded.LoadFromFile();
    EXPECT_EQ(loaded.PassCount(), 3);
    EXPECT_EQ(loaded.GetPass(2).BytePatternValue, 2);
    EXPECT_EQ(loaded.AddPass()->Name, "pass1");
}

TEST_F(WipeMethodFileTest, BrokenValuesReadAsSafeDefaults) {
    const std::string file = (Dir / "broken.mtd");
    WriteAll(file, "[Method]\r\nName=Broken\r\nPasses=2000000000\r\n"
                   "[Pass1]\r\nWipeWith=x\r\nBytePatternValue=511\r\nCheckWipe=7\r\n");
    TWipeMethod method;
    method.FileName = file;
    method.LoadFromFile();
    EXPECT_EQ(method.PassCount(), 1); // no more passes than the file has sections
    EXPECT_EQ(method.GetPass(0).WipeWith, wwBytePattern);
    EXPECT_EQ(method.GetPass(0).BytePatternValue, 255); // low 8 bits
    EXPECT_TRUE(method.GetPass(0).CheckWipe);
    // A missing section below the last one reads as a default pass.
    WriteAll(file, "[Method]\r\nPasses=3\r\n[Pass1]\r\nWipeWith=1\r\n"
                   "[pass3]\r\nBytePatternValue=7\r\n");
    TWipeMethod gap;
    gap.FileName = file;
    gap.LoadFromFile();
    ASSERT_EQ(gap.PassCount(), 3);
    EXPECT_EQ(gap.GetPass(1).WipeWith, wwBytePattern);
    EXPECT_EQ(gap.GetPass(2).BytePatternValue, 7);
}

TEST_F(WipeMethodFileTest, AssignCopiesPassesAndRenumbers) {
    TWipeMethod source;
    source.Name = "Source";
    for (int i = 0; i < 4; ++i)
        source.Append(source.AddPass());
    TWipeMethod copy;
    copy.FileName = "keep.mtd";
    copy.Assign(source);
    EXPECT_EQ(copy.Name, "Source");
    EXPECT_EQ(copy.FileName, "keep.mtd");
    ASSERT_EQ(copy.PassCount(), 4);
    EXPECT_EQ(copy.GetPass(3).Name, "pass4");
    EXPECT_EQ(copy.AddPass()->Name, "pass5");
    TWipeMethod unnamed;
    EXPECT_THROW(unnamed.SaveToFile(), Exception);
}
