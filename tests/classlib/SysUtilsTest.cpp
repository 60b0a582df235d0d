#include "classlib/base/SysUtils.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(SysUtils, IntegerConversions) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("2147483650"), 2147483650LL);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
}

TEST(SysUtils, FloatToStrFixedRoundsExactTiesAwayFromZero) {
    const char saved = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(FloatToStrFixed(1152 / 1024.0, 2), "1.13"); // exactly 1.125
    EXPECT_EQ(FloatToStrFixed(-1.125, 2), "-1.13");
    EXPECT_EQ(FloatToStrFixed(2.5, 0), "3");
    EXPECT_EQ(FloatToStrFixed(1.005, 2), "1.00"); // the double lies below 1.005
    EXPECT_EQ(FloatToStrFixed(9.999, 2), "10.00");
    EXPECT_EQ(FloatToStrFixed(999, 2), "999.00");
    EXPECT_EQ(FloatToStrFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FloatToStrFixed(5e-324, 2), "0.00");
    EXPECT_EQ(FloatToStrFixed(0.5, 0), "1");
    EXPECT_EQ(FloatToStrFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FloatToStrFixed(0.0625, 3), "0.063");
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FloatToStrFixed(1.5, 2), "1,50");
    FormatSettings().DecimalSeparator = saved;
}

TEST(SysUtils, TextRoutines) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll | rfIgnoreCase), "a-b-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-"), "aXb-c");
    EXPECT_EQ(StringReplace("xxx", "x", "y", rfNone), "yxx");
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_TRUE(StartsText("PRE", "prefix"));
    EXPECT_TRUE(EndsText(".EXE", "a.exe"));
    EXPECT_EQ(PosText("B", "abc"), 1u);
    EXPECT_EQ(SplitString("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitString("", ',').empty());
}

// Strings are UTF-8: names in any script convert exactly and fold without case.
TEST(SysUtils, TextInAnyScript) {
    const std::string names = "caf\u00e9 \u6587\u66f8 \u03ac\u03bb\u03c6\u03b1 \U0001F600";
    EXPECT_EQ(ToWide(names), L"caf\u00e9 \u6587\u66f8 \u03ac\u03bb\u03c6\u03b1 \U0001F600");
    EXPECT_EQ(ToUtf8(ToWide(names)), names);
    EXPECT_EQ(UpperCase("\u03ac\u03bb\u03c6\u03b1 \U0001F600.txt"),
              "\u0386\u039b\u03a6\u0391 \U0001F600.TXT");
    EXPECT_EQ(LowerCase("\u0391\u0392 \u6587.TXT"), "\u03b1\u03b2 \u6587.txt");
    EXPECT_TRUE(SameText("\u0386\u039b\u03a6\u0391.TXT", "\u03ac\u03bb\u03c6\u03b1.txt"));
    EXPECT_FALSE(SameText("\u6587\u66f8", "\u6587"));
    EXPECT_EQ(CompareText("\u00c9t\u00e9", "\u00e9T\u00c9"), 0);
    EXPECT_LT(CompareText("a\u00e9", "B"), 0);
    EXPECT_TRUE(EndsText(".LNK", "\u6587\u66f8.lnk"));
    EXPECT_EQ(PosText("\u0392\u0397", "\u03b1 \u03b2\u03b7"), 3u); // a byte offset
    EXPECT_EQ(StringReplace("\u03b1\u0391x", "\u03b1", "\U0001F600", rfReplaceAll | rfIgnoreCase),
              "\U0001F600\U0001F600x");
}

TEST(SysUtils, PathRoutines) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(ExtractFilePath("C:\\dir\\f.txt"), "C:\\dir\\");
    EXPECT_EQ(ExtractFileDir("C:\\dir\\f.txt"), "C:\\dir");
    EXPECT_EQ(ExtractFileDir("C:\\f.txt"), "C:\\");
    EXPECT_EQ(ExtractFileName("C:\\dir\\f.txt"), "f.txt");
    EXPECT_EQ(ExtractFileExt("C:\\d.x\\f"), "");
    EXPECT_EQ(ExtractFileExt("f.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileDrive("C:\\x"), "C:");
    EXPECT_EQ(ExtractFileDrive("\\\\srv\\share\\x"), "\\\\srv\\share");
    EXPECT_EQ(ChangeFileExt("a\\b.txt", ".bak"), "a\\b.bak");
    EXPECT_EQ(ChangeFileExt("a.d\\b", ".bak"), "a.d\\b.bak");
}

TEST(SysUtils, CommandLineSplitsLikeTheRunTime) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\t.exe\" /cleanup"),
              (V{"C:\\Program Files\\t.exe", "/cleanup"}));
    EXPECT_EQ(SplitCommandLine("  a   b\t c  "), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("x \"\" y"), (V{"x", "y"}));
    EXPECT_EQ(SplitCommandLine("pre\"fix suf\"fix"), (V{"prefix suffix"}));
    EXPECT_EQ(SplitCommandLine(""), V{});
    EXPECT_EQ(ParamCount(), static_cast<int>(SplitCommandLine(GetCommandLineA()).size()) - 1);
    EXPECT_TRUE(EndsText(".exe", ParamStr(0)));
    EXPECT_EQ(ParamStr(1000), "");
}

TEST(SysUtils, FilesAndFolders) {
    TTempFolder temp;
    std::string deep = temp / "a\\b\\c";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    std::string file = deep + "\\f.txt";
    EXPECT_EQ(FileSizeOf(file), -1);
    WriteStringToFile(file, "12345");
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(FileSizeOf(file), 5);

    std::string fresh = temp / "new.txt";
    WriteStringToFile(fresh, "new");
    EXPECT_TRUE(ReplaceFileAtomically(fresh, file));
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ(ReadFileToString(file), "new");

    EXPECT_TRUE(FileSetAttr(file, FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(FileGetAttr(file) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SysDeleteFile(file));
    FileSetAttr(file, FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(SysDeleteFile(file));
    EXPECT_TRUE(RemoveDir(deep));
}

// Reads at their own offsets leave the handle's position alone; the end of the file
// reads nothing and is no failure; a handle that cannot read fails with its error.
TEST(SysUtils, ReadFileAtReadsWhereItIsToldAndTellsFailures) {
    TTempFolder temp;
    const std::string file = temp / "r.bin";
    WriteStringToFile(file, "0123456789");
    HANDLE read = CreateFileW(ToWide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(read, INVALID_HANDLE_VALUE);
    char buffer[8] = {};
    DWORD count = 99;
    ASSERT_TRUE(ReadFileAt(read, 6, buffer, sizeof buffer, count));
    EXPECT_EQ(std::string(buffer, count), "6789");
    ASSERT_TRUE(ReadFileAt(read, 2, buffer, 3, count));
    EXPECT_EQ(std::string(buffer, count), "234");
    for (uint64_t offset : {10ull, 4000000000ull}) {
        count = 99;
        EXPECT_TRUE(ReadFileAt(read, offset, buffer, sizeof buffer, count));
        EXPECT_EQ(count, 0u);
    }
    CloseHandle(read);

    HANDLE noRead = CreateFileW(ToWide(file).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(noRead, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_FALSE(ReadFileAt(noRead, 0, buffer, sizeof buffer, count));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    CloseHandle(noRead);
}

TEST(Exceptions, OSErrorCarriesCodeAndText) {
    try {
        RaiseOSError(ERROR_FILE_NOT_FOUND);
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(e.Message().find(SysErrorMessage(ERROR_FILE_NOT_FOUND)), std::string::npos);
    }
    EXPECT_NO_THROW(OleCheck(S_OK));
    EXPECT_THROW(OleCheck(E_FAIL), EOSError);
}

TEST(Exceptions, SwallowedLineNamesTheCallersFileAndLine) {
    try {
        throw EConvertError("bad number");
    } catch (...) {
        const int line = __LINE__ + 1;
        const std::string text = SwallowedLine("reading");
        EXPECT_EQ(text, "Tarnwhistle: SysUtilsTest.cpp:" + std::to_string(line) +
                            ": reading: bad number");
    }
}
