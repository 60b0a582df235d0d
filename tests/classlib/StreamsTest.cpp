#include "classlib/base/Streams.h"
#include "classlib/base/Exceptions.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(FileStream, OpenErrorsNameTheFile) {
    TTempFolder temp;
    std::string missing = temp / "missing.bin";
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file " + missing, 0), 0u) << e.Message();
    }
    try {
        TFileStream s(temp / "no\\such\\dir\\f.bin", fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file ", 0), 0u) << e.Message();
    }
}

TEST(FileStream, ReadWriteSeekAndSize) {
    TTempFolder temp;
    std::string name = temp / "data.bin";
    {
        TFileStream s(name, fmCreate);
        s.WriteBuffer("abcdef", 6);
        EXPECT_EQ(s.Position(), 6);
        EXPECT_EQ(s.Seek(-2, soEnd), 4);
        s.WriteBuffer("XY", 2);
        s.SetSize(5);
        EXPECT_EQ(s.Size(), 5);
        EXPECT_EQ(s.Position(), 5);
    }
    TFileStream s(name, fmOpenRead | fmShareDenyWrite);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 5);
    EXPECT_EQ(std::string(buf, 5), "abcdX");
    s.Seek(0, soBeginning);
    EXPECT_THROW(s.ReadBuffer(buf, 6), EReadError);
}

TEST(FileStream, ShareModesAreHonoured) {
    TTempFolder temp;
    std::string name = temp / "locked.bin";
    WriteStringToFile(name, "x");
    TFileStream holder(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
    EXPECT_THROW(ReadFileToString(name), EFOpenError);
}
