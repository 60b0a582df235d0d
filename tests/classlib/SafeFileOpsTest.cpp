// The link-safe file layer against host links in the private prefix.
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "support/HostLinks.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

// A tree outside the cleaned folder, and links to it of every kind in "clean\".
struct SafeFileOpsTest : testing::Test {
    TTempFolder Temp;
    std::vector<std::string> Links;

    void SetUp() override {
        Temp.Write("outside\\secret.txt", "secret");
        Temp.Write("outside\\dir\\inner.txt", "inner");
        Temp.Write("clean\\own.txt", "own");
        Temp.Write("outside\\gone.txt"); // Wine lists no dangling link: it goes after
        struct {
            const char* Name;
            std::string Target;
            bool Absolute;
        } const links[] = {
            {"file", Temp / "outside\\secret.txt", true},
            {"relative", "../outside/secret.txt", false},
            {"folder", Temp / "outside\\dir", true},
            {"relfolder", "../outside/dir", false},
            {"linktolink", Temp / "clean\\file", true},
            {"dangling", Temp / "outside\\gone.txt", true},
            {"above", Temp.Path(), true}, // the folder above the cleaned one
        };
        for (const auto& link : links) {
            Links.push_back(Temp / "clean\\" + link.Name);
            if (!MakeHostLink(Links.back(), link.Target, link.Absolute))
                GTEST_SKIP() << "host links cannot be made here";
        }
        DeleteFileW(ToWide(Temp / "outside\\gone.txt").c_str());
    }
    [[nodiscard]] std::string Dangling() const { return Temp / "clean\\dangling"; }
    void TearDown() override { RemoveHostLinks(Links); }

    void ExpectOutsideUntouched() {
        EXPECT_EQ(ReadAll(Temp / "outside\\secret.txt"), "secret");
        EXPECT_EQ(ReadAll(Temp / "outside\\dir\\inner.txt"), "inner");
        for (const std::string& link : Links)
            EXPECT_TRUE(Listed(link) || link == Dangling()) << link;
    }
    static std::string ReadAll(const std::string& name) {
        try {
            return ReadFileToString(name);
        } catch (...) {
            return "<missing>";
        }
    }
};

} // namespace

TEST_F(SafeFileOpsTest, NoOperationReachesThroughALink) {
    // Links and entries below them; a dangling link cannot even be opened.
    std::vector<std::string> paths = Links;
    paths.push_back(Temp / "clean\\folder\\inner.txt");
    paths.push_back(Temp / "clean\\above\\outside\\secret.txt");
    for (const std::string& path : paths) {
        const TSafeFileStatus expected = path == Dangling() ? sfFailed : sfLink;
        EXPECT_EQ(SafeCheckEntry(path).Status, expected) << path;
        EXPECT_EQ(SafeCheckNoLink(path).Status, expected) << path;
        EXPECT_EQ(SafeDeleteFile(path).Status, expected) << path;
        EXPECT_EQ(SafeRemoveDir(path).Status, expected) << path;
        EXPECT_EQ(SafeMoveFile(path, Temp / "moved").Status, expected) << path;
        EXPECT_EQ(SafeMoveFile(path, Temp / "moved", MOVEFILE_REPLACE_EXISTING).Status, expected);
        TSafeOpenedFile opened = SafeOpenForOverwrite(path);
        EXPECT_EQ(opened.Result.Status, expected) << path;
        EXPECT_FALSE(opened.Handle.Valid());
    }
    ExpectOutsideUntouched();
    EXPECT_FALSE(Listed(Temp / "moved"));
    EXPECT_NE(SafeDeleteFile(Links[0]).Text().find("link"), std::string::npos);
}

TEST_F(SafeFileOpsTest, OrdinaryEntriesAndHardLinksAreHandledAsListed) {
    // Another case and an 8.3 name still name the same file.
    char shortName[MAX_PATH] = {};
    GetShortPathNameA((Temp / "clean\\own.txt").c_str(), shortName, MAX_PATH);
    EXPECT_TRUE(SafeCheckEntry(shortName).Done()) << shortName;
    EXPECT_TRUE(SafeCheckEntry(UpperCase(Temp / "clean\\own.txt")).Done());
    EXPECT_TRUE(SafeCheckNoLink(Temp / "clean").Done());

    EXPECT_TRUE(SafeMoveFile(Temp / "clean\\own.txt", Temp / "clean\\renamed.txt").Done());
    TSafeOpenedFile opened = SafeOpenForOverwrite(Temp / "clean\\renamed.txt");
    ASSERT_TRUE(opened.Result.Done());
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(opened.Handle.Get(), "OWN", 3, &written, nullptr));
    opened.Handle.Reset();
    EXPECT_EQ(ReadAll(Temp / "clean\\renamed.txt"), "OWN");
    EXPECT_TRUE(SafeDeleteFile(Temp / "clean\\renamed.txt").Done());
    EXPECT_FALSE(Listed(Temp / "clean\\renamed.txt"));

    // A hard link is an ordinary file: deleting it leaves the other name.
    const std::string hard = Temp / "clean\\hard";
    const std::string source = UnixName(Temp / "outside\\secret.txt"), name = UnixName(hard);
    ASSERT_TRUE(RunHost("/bin/ln", Format("\"%s\" \"%s\"", source.c_str(), name.c_str()),
                        [&] { return Listed(hard); }));
    EXPECT_TRUE(SafeDeleteFile(hard).Done());
    EXPECT_FALSE(Listed(hard));
    ExpectOutsideUntouched();
}

TEST_F(SafeFileOpsTest, FailuresCarryTheSystemError) {
    Temp.Write("clean\\sub\\x.txt");
    EXPECT_EQ(SafeDeleteFile(Temp / "clean\\missing.txt").Error, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(SafeDeleteFile(Temp / "clean\\sub").Error, DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(SafeRemoveDir(Temp / "clean\\sub").Error, DWORD(ERROR_DIR_NOT_EMPTY));
    EXPECT_EQ(SafeRemoveDir(Temp / "clean\\own.txt").Error, DWORD(ERROR_DIRECTORY));
    EXPECT_EQ(SafeMoveFile(Temp / "clean\\own.txt", Temp / "clean\\sub\\x.txt").Error,
              DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(
        SafeMoveFile(Temp / "clean\\own.txt", Temp / "clean\\sub\\x.txt", MOVEFILE_REPLACE_EXISTING)
            .Done());
    EXPECT_TRUE(SafeDeleteFile(Temp / "clean\\sub\\x.txt").Done());
    EXPECT_TRUE(SafeRemoveDir(Temp / "clean\\sub\\").Done());
    EXPECT_FALSE(Listed(Temp / "clean\\sub"));
}

// A second drive letter for the same files (subst, a mapped drive) gives a final path
// other than the listed one. Under Wine that cannot be told from a link; on Windows
// every link is marked, so only the mark counts and the files are handled as listed.
TEST_F(SafeFileOpsTest, OnlyWhereLinksCanBeUnmarkedDoesTheFinalPathDecide) {
    const TDriveAlias alias;
    if (alias.Root().empty()) GTEST_SKIP() << "no drive letter can be made here";
    const std::string own = alias(Temp / "clean\\own.txt"), folderLink = alias(Links[2]);
    {
        const TLinkPlatform wine(true);
        EXPECT_TRUE(SafeCheckEntry(own).IsLink());
        EXPECT_TRUE(SafeDeleteFile(own).IsLink());
        EXPECT_TRUE(SafeCheckNoLink(alias(Temp / "clean")).IsLink());
    }
    EXPECT_TRUE(Listed(Temp / "clean\\own.txt"));
    {
        const TLinkPlatform windows(false);
        EXPECT_TRUE(SafeCheckEntry(own).Done());
        EXPECT_TRUE(SafeCheckNoLink(alias(Temp / "clean")).Done());
        EXPECT_TRUE(SafeCheckNoLink(folderLink).IsLink()); // marked in its attributes
        EXPECT_EQ(SafeCheckNoLink(alias(Temp / "clean\\missing")).Error,
                  DWORD(ERROR_FILE_NOT_FOUND));
        FileSetAttr(own, FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(SafeDeleteFile(own).Error, DWORD(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(SafeDeleteFile(own, true).Done());
    }
    EXPECT_FALSE(Listed(Temp / "clean\\own.txt"));
    ExpectOutsideUntouched();
}

// A link anywhere on a path is followed to the real place, also below it where
// nothing exists yet; a plain path is its own real path.
TEST_F(SafeFileOpsTest, TheRealPathFollowsLinksInTheMiddleOfAPath) {
    const std::string outside = ExcludeTrailingPathDelimiter(Temp / "outside");
    EXPECT_TRUE(
        SameText(SafeRealPath(Temp / "clean\\folder\\inner.txt"), outside + "\\dir\\inner.txt"))
        << SafeRealPath(Temp / "clean\\folder\\inner.txt");
    EXPECT_TRUE(
        SameText(SafeRealPath(Temp / "clean\\relfolder\\not\\yet"), outside + "\\dir\\not\\yet"))
        << SafeRealPath(Temp / "clean\\relfolder\\not\\yet");
    EXPECT_TRUE(SameText(SafeRealPath(Temp / "clean\\own.txt"), Temp / "clean\\own.txt"));
    EXPECT_EQ(SafeRealPath("Q:\\x"), "");
}

// Names are taken as listed: a look-alike with a trailing dot or blank is reached, not
// the file Win32 trimming would make of it, also where a link so named leads to that
// file; long paths are reached; names Windows cannot hold are never tried.
TEST(SafeFileNames, EveryNameIsReachedExactlyAsListed) {
    TTempFolder temp;
    const std::string kept = temp.Write("k.txt", "kept");
    const std::string dotted = ExactPath(kept + "."), blank = ExactPath(kept + " ");
    for (const std::string& alike : {dotted, blank})
        WriteStringToFile(alike, "alike");
    EXPECT_EQ(ExactPath(temp / "sub\\..\\k.txt"), ExactPath(kept));
    EXPECT_EQ(ExactPath(dotted), dotted);
    for (const std::string& alike : {dotted, blank}) {
        EXPECT_TRUE(SafeCheckEntry(alike).Done());
        EXPECT_TRUE(SafeDeleteFile(alike).Done());
        EXPECT_FALSE(Listed(alike));
    }
    EXPECT_EQ(ReadFileToString(kept), "kept");

    std::string deep = temp.Path();
    for (char part = 'a'; part < 'f'; ++part) {
        deep += std::string(60, part) + "\\";
        CreateDirectoryW(ToWide(ExactPath(deep)).c_str(), nullptr);
    }
    WriteStringToFile(ExactPath(deep + "deep.txt"), "deep");
    const TSafeFileResult deleted = SafeDeleteFile(deep + "deep.txt");
    EXPECT_TRUE(deleted.Done()) << deleted.Text();
    EXPECT_FALSE(Listed(deep + "deep.txt"));

    for (const char* name : {"a:b.tmp", "q?.tmp", "t\tab.tmp"}) {
        const TSafeFileResult result = SafeDeleteFile(temp / name);
        EXPECT_TRUE(result.Unreachable()) << name;
        EXPECT_EQ(result.Text(), "A name Windows cannot hold, left in place");
    }

    // Made from the host: Wine would trim the name the link is made by.
    const std::string unixLink = UnixName(temp.Path()) + "/k.txt.";
    if (!RunHost("/bin/ln", "-s \"" + UnixName(kept) + "\" \"" + unixLink + "\"",
                 [&] { return Listed(dotted); }))
        GTEST_SKIP() << "host links cannot be made here";
    EXPECT_TRUE(SafeDeleteFile(dotted).IsLink());
    EXPECT_EQ(ReadFileToString(kept), "kept");
    RunHost("/bin/rm", "-f \"" + unixLink + "\"", [&] { return !Listed(dotted); });
}
