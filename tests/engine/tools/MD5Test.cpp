#include "engine/tools/MD5.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "engine/EraserFixture.h"
#include <gtest/gtest.h>

namespace {
std::string DigestOf(const std::string& data) {
    TMD5 md5;
    md5.Init();
    md5.Update(data.data(), data.size());
    md5.Final();
    return md5.HexDigest();
}
} // namespace

TEST(MD5, Rfc1321TestSuite) {
    EXPECT_EQ(DigestOf(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(DigestOf("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(DigestOf("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(DigestOf("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(DigestOf("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(DigestOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(DigestOf("1234567890123456789012345678901234567890"
                       "1234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(MD5, FilesOfEverySizeAroundTheBlock) {
    TTempFolder dir;
    WriteStringToFile(dir / "empty", "");
    EXPECT_EQ(MD5FileHex(dir / "empty"), "D41D8CD98F00B204E9800998ECF8427E");
    WriteStringToFile(dir / "abc", "abc");
    EXPECT_EQ(MD5FileHex(dir / "abc"), "900150983CD24FB0D6963F7D28E17F72");
    for (size_t size : {262143u, 262144u, 262145u, 3u * 262144u, 100000u}) {
        std::string data(size, '\0');
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 7 + i / 13);
        WriteStringToFile(dir / "data", data);
        EXPECT_EQ(MD5FileHex(dir / "data"), DigestOf(data)) << size;
    }
}

TEST(MD5, UnopenableFileRaises) {
    TTempFolder dir;
    try {
        MD5FileHex(dir / "missing.bin");
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file " + (dir / "missing.bin"), 0), 0u)
            << e.Message();
    }
    // Opening denies others write access, so a file open for writing is refused.
    TFileStream writer(dir / "busy.bin", fmCreate);
    EXPECT_THROW(MD5FileHex(dir / "busy.bin"), EFOpenError);
}
