#include "engine/SharedRoutines.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserFixture.h"
#include <gtest/gtest.h>
#include <shlobj.h>

TEST(SharedRoutines, FoldersFromTheRegistryAndTheShell) {
    EXPECT_TRUE(DirectoryExists(GetProgramFilesDir()));

    std::string appData = "stale";
    GetSpecialFolderPath(CSIDL_APPDATA, appData);
    EXPECT_TRUE(DirectoryExists(appData));
    EXPECT_NE(appData.back(), '\\');
    GetSpecialFolderPath(0x7E, appData); // no such folder
    EXPECT_EQ(appData, "");
}

TEST(SharedRoutines, ListFilesLeavesOutFoldersHiddenAndSystemFiles) {
    TTempFolder dir;
    for (const char* name : {"a.txt", "b.txt", "hidden.txt", "system.txt", "c.log"})
        WriteStringToFile(dir / name, "x");
    FileSetAttr(dir / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    FileSetAttr(dir / "system.txt", FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((dir / "folder.txt").c_str(), nullptr);

    TStringList list = ListFiles(ExcludeTrailingPathDelimiter(dir.Path()), "*.txt");
    list.Sort();
    EXPECT_EQ(list.CommaText(), "a.txt,b.txt");
    EXPECT_EQ(ListFiles(dir.Path(), "*.log").CommaText(), "c.log");
}

TEST(SharedRoutines, DrivesAndClusters) {
    EXPECT_EQ(GetDriveKind("C:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveKind("Q:\\"), 0u); // missing root
    EXPECT_EQ(GetClusterSize("\\\\server\\share\\file"), 1u);
    EXPECT_EQ(GetClusterSize("file.txt"), 1u);
    EXPECT_EQ(GetClusterSize("Q:\\missing"), 1u);
    const DWORD cluster = GetClusterSize("C:\\windows");
    EXPECT_GE(cluster, 512u);
    EXPECT_EQ(GetClusterSize("c:/windows"), cluster);
}

TEST(SharedRoutines, WindowsVersionCodes) {
    struct Case {
        DWORD major, minor, platform;
        int code;
    };
    const DWORD nine = VER_PLATFORM_WIN32_WINDOWS, nt = VER_PLATFORM_WIN32_NT;
    const Case cases[] = {{4, 0, nine, 41},  {4, 0, nt, 44}, {4, 0, 0, 40},  {4, 10, nine, 42},
                          {4, 90, nine, 43}, {5, 0, nt, 50}, {5, 1, nt, 51}, {5, 2, nt, 52},
                          {6, 1, nt, 40},    {3, 51, nt, 40}};
    for (const Case& c : cases) {
        OSVersionQuery = [&] { return TOSVersion{c.major, c.minor, c.platform}; };
        EXPECT_EQ(GetWindowsVersion(), c.code) << c.major << "." << c.minor;
        EXPECT_EQ(IsWindowsNT5(), c.code >= 50) << c.major << "." << c.minor;
    }
    OSVersionQuery = QueryPlatformVersion;
    EXPECT_EQ(GetWindowsVersion(), 40); // Wine reports 6.1
}

TEST(SharedRoutines, LineBreakEncoding) {
    EXPECT_EQ(EncodeLineBreaks("a\r\nb\nc\r"), "a#13#10b#10c#13");
    EXPECT_EQ(DecodeLineBreaks("a#13#10b#10c#13"), "a\r\nb\nc\r");
    const std::string text = "line one\r\nline two\n";
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks(text)), text);
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks("#13")), "\r"); // the known exception
}

TEST(SharedRoutines, FormatSizeBoundaries) {
    EXPECT_EQ(FormatSize(0), "0 B");
    EXPECT_EQ(FormatSize(1), "1.00 B");
    EXPECT_EQ(FormatSize(999), "999.00 B");
    EXPECT_EQ(FormatSize(1000), "0.98 KB");
    EXPECT_EQ(FormatSize(1152), "1.13 KB"); // 1.125: ties round away from zero
    EXPECT_EQ(FormatSize(1536), "1.50 KB");
    EXPECT_EQ(FormatSize(1048575), "1.00 MB");
    EXPECT_EQ(FormatSize(1073741824), "1.00 GB");
    EXPECT_EQ(FormatSize(int64_t(1) << 40), "1.00 TB");
    EXPECT_EQ(FormatSize(int64_t(1) << 50), "1.00"); // past the units
}

TEST(SharedRoutines, DateAndTimeGoThroughTheirTextForms) {
    const TDateTime date = EncodeDate(2024, 2, 29) + EncodeTime(23, 1, 2, 999);
    const TDateTime time = EncodeDate(1999, 1, 1) + EncodeTime(7, 8, 9, 500);
    EXPECT_DOUBLE_EQ(CombineDateTime(date, time), EncodeDate(2024, 2, 29) + EncodeTime(7, 8, 9, 0));
    TDateTime d, t;
    SplitDateTime(date, d, t);
    EXPECT_DOUBLE_EQ(d, EncodeDate(2024, 2, 29));
    EXPECT_NEAR(t, EncodeTime(23, 1, 2, 0), 1e-9);
}

TEST(SharedRoutines, ReadShortcutReadsEveryField) {
    TTempFolder dir;
    const std::string target = dir / "target program.exe";
    WriteStringToFile(target, "MZ");
    {
        TCoInitScope com;
        TComPtr<IShellLinkA> link;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   link.OutVoid()),
                  S_OK);
        link->SetPath(target.c_str());
        link->SetArguments("/quiet");
        link->SetDescription("A test link");
        link->SetWorkingDirectory(ExcludeTrailingPathDelimiter(dir.Path()).c_str());
        link->SetIconLocation(target.c_str(), 2);
        link->SetShowCmd(SW_SHOWNORMAL);
        link->SetHotkey(MAKEWORD('Q', HOTKEYF_CONTROL));
        TComPtr<IPersistFile> file;
        ASSERT_EQ(link->QueryInterface(IID_IPersistFile, file.OutVoid()), S_OK);
        ASSERT_EQ(file->Save(ToWide(dir / "t.lnk").c_str(), TRUE), S_OK);
    }
    TShortcutInfo info;
    ReadShortcut(dir / "t.lnk", info);
    EXPECT_EQ(info.Path, GetShortPath(target));
    EXPECT_EQ(info.Path.find(' '), std::string::npos);
    EXPECT_EQ(info.Arguments, "/quiet");
    EXPECT_EQ(info.Description, "A test link");
    EXPECT_EQ(IncludeTrailingPathDelimiter(info.WorkingDirectory), dir.Path());
    EXPECT_EQ(info.IconLocation, target);
    EXPECT_EQ(info.IconIndex, 2);
    EXPECT_EQ(info.ShowCmd, SW_SHOWNORMAL);
    EXPECT_EQ(info.HotKey, MAKEWORD('Q', HOTKEYF_CONTROL));

    EXPECT_THROW(ReadShortcut(dir / "missing.lnk", info), EOSError);
}
