// The LZHUF decoder against streams made by the packer and composed by hand, and
// the package reader's refusals.
#include "SkinTestSupport.h"
#include "skin/LZH.h"
#include "skin/SkinReader.h"
#include "skin/SkinVectors.h"
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::string Bytes(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

const TLZHVector& Vector(const std::string& name) {
    for (const TLZHVector& v : LZHVectors())
        if (v.Name == name) return v;
    throw std::runtime_error("no vector " + name);
}

} // namespace

TEST(SkinDecoder, DecodesEveryVector) {
    auto lzh = std::make_unique<TLZH>();
    for (const TLZHVector& v : LZHVectors()) {
        std::string out;
        EXPECT_TRUE(lzh->Decode(v.Code.data(), v.Code.size(), v.Plain.size(), out)) << v.Name;
        EXPECT_EQ(out, Bytes(v.Plain)) << v.Name;
    }
    // Literals only: as many code bits as 11 symbols of about 8 bits, no more.
    EXPECT_LE(Vector("Literals").Code.size(), 13u);
    // A 61-byte run is one literal and one match overlapping its own output.
    EXPECT_LE(Vector("Overlap").Code.size(), 4u);
}

TEST(SkinDecoder, ShortAndEndlessStreamsEndInBoundedTime) {
    auto lzh = std::make_unique<TLZH>();
    const TLZHVector& v = Vector("TreeRebuild");
    std::string out;
    // Cut in half: the missing bytes read as 0 only a little way past the end.
    EXPECT_FALSE(lzh->Decode(v.Code.data(), v.Code.size() / 2, v.Plain.size(), out));
    EXPECT_FALSE(lzh->Decode(nullptr, 0, 1000000, out));
    EXPECT_TRUE(lzh->Decode(nullptr, 0, 0, out));
    EXPECT_TRUE(out.empty());
}

TEST(SkinReader, UnpackCapsTheDecodedSize) {
    std::string out;
    const TLZHVector& v = Vector("LongMatches");
    std::string packed = U32(static_cast<uint32_t>(v.Plain.size())) + Bytes(v.Code);
    EXPECT_TRUE(TSkinReader::Unpack(packed, out));
    EXPECT_EQ(out, Bytes(v.Plain));
    // Sizes beyond 16 MiB or far beyond what the packed bytes can hold are refused
    // before anything is allocated.
    EXPECT_FALSE(TSkinReader::Unpack(U32(0xFFFFFFFF) + Bytes(v.Code), out));
    EXPECT_FALSE(TSkinReader::Unpack(U32(300 * 100) + std::string(100, '\0'), out));
    EXPECT_FALSE(TSkinReader::Unpack("abc", out));
}

TEST(SkinReader, SplitsNamesAndFindsMembers) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(Package("Z.ini\r\n\r\nCombo-Arrows.bmp", {3, 0, 2}, "inibm")));
    EXPECT_EQ(reader.Count(), 3); // no final line end, an empty name in the middle
    EXPECT_EQ(reader.GetFile("combo-ARROWS.bmp"), "bm");
    std::string name = "none";
    EXPECT_EQ(reader.FindFile(".ini", name), "ini");
    EXPECT_EQ(name, "z.ini");
    name = "none";
    EXPECT_EQ(reader.FindFile(".INI", name), "");
    EXPECT_EQ(name, "none");
    EXPECT_EQ(reader.GetFile("missing.bmp"), "");
}

TEST(SkinReader, RefusesPackagesThatDoNotHold) {
    TSkinReader reader;
    EXPECT_FALSE(reader.LoadPackage(Package("a\r\n", {1}, "x", 19999)));
    EXPECT_EQ(reader.Error(), SkinOlderText);
    std::string names;
    for (int i = 0; i < 1002; ++i)
        names += "m\r\n";
    EXPECT_FALSE(reader.LoadPackage(Package(names, std::vector<uint32_t>(1002, 0), "")));
    EXPECT_EQ(reader.Error(), SkinDamagedText);
    // Name list, size table and member sizes are checked before any member is read.
    std::string longNames = Package("a\r\n", {1}, "x");
    longNames[4] = 100;
    EXPECT_FALSE(reader.LoadPackage(longNames));
    EXPECT_FALSE(reader.LoadPackage(Package("a\r\nb\r\n", {1}, "")));
    EXPECT_FALSE(reader.LoadPackage(Package("a\r\nb\r\n", {1, 0xFFFFFFFF}, "x")));
    EXPECT_FALSE(reader.LoadPackage(Package("a\r\n", {2}, "x")));
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_TRUE(reader.LoadPackage(Package("a\r\n", {1}, "x")));
}
