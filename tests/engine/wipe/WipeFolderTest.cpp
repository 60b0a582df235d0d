#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/WipeTestSupport.h"
#include "support/HostLinks.h"

class WipeFolderTest : public TWipeTestBase {
protected:
    void SetUp() override {
        TWipeTestBase::SetUp();
        AddMethod("one.mtd", {BytePass(0)});
        CreateDirectoryA((Dir / "tree").c_str(), nullptr);
        CreateDirectoryA((Dir / "tree\\sub").c_str(), nullptr);
        CreateDirectoryA((Dir / "tree\\sub\\deeper").c_str(), nullptr);
        WriteAll((Dir / "tree\\a.txt"), "a");
        WriteAll((Dir / "tree\\sub\\b.txt"), "b");
        WriteAll((Dir / "tree\\sub\\deeper\\c.txt"), "c");
        Engine.Add(wkFolder, (Dir / "tree"));
    }
    THookedEngine Engine{"WipeFolders"};
};

TEST_F(WipeFolderTest, RemovesEveryFileAndFolder) {
    Engine.LinkWhenOpened(Dir / "tree\\sub\\deeper\\c.txt", Dir / "c.link");
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_FALSE(DirectoryExists((Dir / "tree")));
    EXPECT_EQ(ReadAll((Dir / "c.link")), std::string(1, '\0'));
    EXPECT_TRUE(Engine.Items()[0]->Shredded);
}

TEST_F(WipeFolderTest, FileInUseKeepsItsFolders) {
    TFileHandle lock(CreateFileA((Dir / "tree\\sub\\b.txt").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(Engine.Execute());
    lock.Reset();
    EXPECT_EQ(ReadAll((Dir / "tree\\sub\\b.txt")), "b");
    EXPECT_FALSE(FileExists((Dir / "tree\\a.txt")));
    EXPECT_FALSE(DirectoryExists((Dir / "tree\\sub\\deeper")));
    EXPECT_FALSE(Engine.Items()[0]->Shredded);
}

TEST_F(WipeFolderTest, LinksOutOfTheFolderAreNeitherFollowedNorRemoved) {
    const std::string outside = (Dir / "outside");
    CreateDirectoryA(outside.c_str(), nullptr);
    WriteAll(outside + "\\secret.txt", "secret");
    const std::string tree = UnixName((Dir / "tree")), target = UnixName(outside);
    if (tree.empty() || !MakeFolderLink(Dir / "tree\\dirlink", outside) ||
        !RunHost("/bin/ln", "-s " + target + "/secret.txt " + tree + "/sub/filelink",
                 [&] { return Exists(Dir / "tree\\sub\\filelink"); }))
        GTEST_SKIP() << "host symbolic links cannot be made here";

    EXPECT_FALSE(Engine.Execute());
    EXPECT_EQ(ReadAll(outside + "\\secret.txt"), "secret");
    EXPECT_EQ(Engine.Errors.size(), 2u);
    EXPECT_FALSE(FileExists((Dir / "tree\\a.txt")));
    // The links stay; removing them is left to the host (Wine would delete the target).
    EXPECT_TRUE(RunHost("/bin/rm", tree + "/dirlink " + tree + "/sub/filelink", [&] {
        return !Exists(Dir / "tree\\dirlink") && !Exists(Dir / "tree\\sub\\filelink");
    }));
    EXPECT_EQ(ReadAll(outside + "\\secret.txt"), "secret");
}

// A folder item that is not removed (missing, or a file's path) is a failure of the
// run, not a success.
TEST_F(WipeFolderTest, FolderThatIsNotRemovedIsReported) {
    WriteAll((Dir / "plain.txt"), "plain");
    for (const std::string& path : {(Dir / "missing"), (Dir / "plain.txt")}) {
        Engine.Clear();
        Engine.Add(wkFolder, path);
        EXPECT_FALSE(Engine.Execute()) << path;
        EXPECT_EQ(Engine.Errors.size(), 1u) << path;
        EXPECT_FALSE(Engine.Items()[0]->Shredded);
    }
    EXPECT_EQ(ReadAll((Dir / "plain.txt")), "plain");
}

// Files and folders named in any script are overwritten and removed by their names.
TEST_F(WipeFolderTest, NamesInAnyScriptAreWipedAndRemoved) {
    const std::string tree = Dir / "\u6587\u66f8";
    ASSERT_TRUE(ForceDirectories(tree + "\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"));
    const std::string greek =
        tree + "\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\\u03b1.txt";
    WriteAll(greek, "g");
    WriteAll(tree + "\\\U0001F600.tmp", "e");
    Engine.LinkWhenOpened(greek, Dir / "greek.link");
    Engine.Clear();
    Engine.Add(wkFolder, tree);
    EXPECT_TRUE(Engine.Execute()) << Engine.ErrorText();
    EXPECT_FALSE(DirectoryExists(tree));
    EXPECT_EQ(ReadAll(Dir / "greek.link"), std::string(1, '\0'));
}

// In a folder short enough for the scrambled name, each file is renamed over the one
// before it, whatever file stays in between, and the last is deleted: no file is left
// under that name.
TEST_F(WipeFolderTest, FilesRenamedOverEachOtherLeaveNothingBehind) {
    const std::string folder = "C:\\wf" + std::to_string(GetCurrentProcessId() % 10000);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    for (const std::string& name : names) {
        WriteAll(folder + "\\" + name, name);
        Engine.LinkWhenOpened(folder + "\\" + name, Dir / name);
    }
    TFileHandle lock(
        CreateFileA((folder + "\\c").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    Engine.Clear();
    Engine.Add(wkFolder, folder);
    EXPECT_FALSE(Engine.Execute());
    lock.Reset();
    EXPECT_EQ(Engine.Errors.size(), 1u) << Engine.ErrorText();
    for (const std::string& name : names)
        EXPECT_EQ(ReadAll(Dir / name), name == "c" ? "c" : std::string(1, '\0')) << name;
    EXPECT_TRUE(DeleteFileA((folder + "\\c").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())); // nothing else was left
}

// One rule for every folder item: whatever spelling reaches Windows, a root or a
// place relative to the current folder is refused; a folder beside them is not.
TEST(ProtectedFolder, WindowsRootsAndRelativePathsAreRefusedTheirNeighboursAreNot) {
    const std::string windows = ExcludeTrailingPathDelimiter(GetWindowsDir());
    for (const std::string& folder :
         {std::string(), std::string("tree"), std::string("C:tree"), std::string("\\tree"),
          std::string("C:\\"), std::string("c:/"), std::string("\\\\server\\share\\"),
          std::string("\\\\?\\") + windows + "\\temp", windows, windows + "\\",
          UpperCase(windows) + "\\TEMP", windows + "\\system32\\drivers",
          windows + "\\temp\\..\\..", GetSystemDir()})
        EXPECT_TRUE(IsProtectedFolder(folder)) << folder;
    for (const std::string& folder :
         {windows + "x", windows + "\\..\\users", ExtractFileDrive(windows) + "\\data\\tree"})
        EXPECT_FALSE(IsProtectedFolder(folder)) << folder;
}

// A link in the middle of a path does not hide Windows: a folder below it and a file
// in it are judged by where they really are; a file beside Windows is no system file.
TEST(ProtectedFolder, WindowsReachedThroughALinkIsStillWindows) {
    TTempFolder temp;
    const std::string link = temp / "j";
    if (!MakeHostLink(link, GetWindowsDir())) GTEST_SKIP() << "host links cannot be made here";
    EXPECT_TRUE(IsProtectedFolder(link + "\\temp\\not\\there"));
    EXPECT_TRUE(IsProtectedFolder(link + "\\system32"));
    EXPECT_TRUE(IsProtectedFile(link + "\\system32\\kernel32.dll"));
    EXPECT_TRUE(IsProtectedFile(IncludeTrailingPathDelimiter(GetSystemDir()) + "kernel32.dll"));
    EXPECT_FALSE(IsProtectedFile(temp / "plain.txt"));
    EXPECT_FALSE(IsProtectedFile(ExtractFileDrive(GetWindowsDir()) + "\\report.txt"));
    RemoveHostLinks({link});
}
