// The file eraser against the real file system of the private prefix.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Handle.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserFixture.h"
#include "engine/erasers/EraseFiles.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct TEraseFilesTest : testing::Test {
    TTempFolder Temp;
    TRecordingEngine Engine;
    TEraseFiles Eraser{"TestFiles", "Test Files"};
    void SetUp() override {
        Engine.AddEraser(&Eraser);
        Eraser.Enabled = true;
    }
    // a.txt (10), ro.txt (20, read-only), sub\b.dat (30), sub\deeper\c.txt (40)
    void MakeSampleTree() {
        MakeFile(Temp / "a.txt", 10);
        MakeFile(Temp / "ro.txt", 20, FILE_ATTRIBUTE_READONLY);
        MakeFolder(Temp / "sub\\deeper");
        MakeFile(Temp / "sub\\b.dat", 30);
        MakeFile(Temp / "sub\\deeper\\c.txt", 40);
    }
    // Temp\deep\d\d... `levels` folders down, a file of one byte in each; the deepest.
    std::string MakeDeepTree(int levels) {
        std::string path = Temp / "deep";
        for (int level = 0; level < levels; ++level) {
            path += "\\d";
            MakeFolder(path);
            MakeFile(path + "\\f.txt", 1);
        }
        return path;
    }
    void ExpectCounts(int folders, int files, int64_t bytes) const {
        EXPECT_EQ(Engine.FoldersErased, folders);
        EXPECT_EQ(Engine.FilesErased, files);
        EXPECT_EQ(Engine.BytesErased, bytes);
    }
};

} // namespace

TEST_F(TEraseFilesTest, AFolderItemEmptiesTheTreeAndKeepsTheFolder) {
    MakeSampleTree();
    Eraser.AddFolder(Temp.Path(), "*.*", true, true);
    Engine.Execute();
    EXPECT_TRUE(Exists(Temp.Path()));
    EXPECT_FALSE(Exists(Temp / "sub"));
    EXPECT_FALSE(Exists(Temp / "ro.txt"));
    ExpectCounts(2, 4, 100);
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
}

TEST_F(TEraseFilesTest, SimulationCountsWithoutTouchingAnything) {
    MakeSampleTree();
    Engine.SimulationMode = true;
    Eraser.AddFolder(Temp.Path(), "*.*", false, true);
    Eraser.AddFile(Temp / "a.txt");
    Engine.Execute();
    ExpectCounts(3, 5, 110);
    EXPECT_TRUE(Exists(Temp / "sub\\deeper\\c.txt"));
    EXPECT_EQ(GetFileAttributesA((Temp / "ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
}

TEST_F(TEraseFilesTest, ALockedFileIsDeferredReadOnlyAndNotCounted) {
    MakeFile(Temp / "sub\\locked.dat", 50);
    MakeFile(Temp / "sub\\free.dat", 5);
    TFileHandle lock(CreateFileA((Temp / "sub\\locked.dat").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(Eraser.EraseFile(Temp / "sub\\locked.dat"));
    EXPECT_TRUE(Eraser.EraseFolder(Temp / "sub", "*.*", false, true));
    ExpectCounts(1, 1, 5); // the folder cannot go but counts
    EXPECT_TRUE(Exists(Temp / "sub"));
    ASSERT_EQ(Engine.PostEraser.Count(), 2);
    EXPECT_EQ(Engine.PostEraser.Items(1).Type, ptDeleteFile);
    EXPECT_EQ(Engine.PostEraser.Items(1).FileName, Temp / "sub\\locked.dat");
    lock.Reset();
    EXPECT_NE(GetFileAttributesA((Temp / "sub\\locked.dat").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

// Names in any script are listed, counted, erased and deferred exactly; the deferral
// survives "posterase.dat" and "/cleanup" deletes the file by that name.
TEST_F(TEraseFilesTest, NamesInAnyScriptAreErasedAndDeferredExactly) {
    const std::vector<std::string> names = {
        "\u6587\u66f8.lnk", "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\\u03b1\u03b2.txt",
        "\U0001F600.tmp", "\u6587\u66f8 \U0001F512.dat"};
    for (const std::string& name : names)
        MakeFile(Temp / name, 10);
    const std::string locked = Temp / names.back();
    std::vector<std::string> found;
    Eraser.CollectFiles(Temp.Path(), "*.*", &found, true);
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected;
    for (const std::string& name : names)
        expected.push_back(Temp / name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);

    Engine.SimulationMode = true;
    EXPECT_TRUE(Eraser.EraseFolder(Temp.Path(), "*.*", true, true));
    ExpectCounts(1, 4, 40);
    EXPECT_TRUE(std::all_of(expected.begin(), expected.end(), Exists));

    Engine.SimulationMode = false;
    Engine.FoldersErased = Engine.FilesErased = 0;
    Engine.BytesErased = 0;
    TFileHandle lock(
        CreateFileW(ToWide(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_TRUE(Eraser.EraseFolder(Temp.Path(), "*.*", true, true));
    ExpectCounts(1, 3, 30);
    EXPECT_EQ(std::count_if(expected.begin(), expected.end(), Exists), 1);
    ASSERT_EQ(Engine.PostEraser.Count(), 1);
    EXPECT_EQ(Engine.PostEraser.Items(0).FileName, locked);

    Engine.PostEraser.FileName = Temp / "\u6587\u66f8\\posterase.dat";
    ForceDirectories(ExtractFileDir(Engine.PostEraser.FileName));
    Engine.PostEraser.SaveToFile();
    lock.Reset();
    TPostEraser cleanup;
    cleanup.FileName = Engine.PostEraser.FileName;
    cleanup.LoadFromFile();
    ASSERT_EQ(cleanup.Count(), 1);
    EXPECT_EQ(cleanup.Items(0).FileName, locked);
    cleanup.Execute();
    EXPECT_FALSE(Exists(locked));
}

TEST_F(TEraseFilesTest, EmptyOrMissingPathsFindNothing) {
    MakeFile(Temp / "cwd.txt");
    SetCurrentDirectoryA(Temp.Path().c_str());
    std::vector<std::string> found;
    Eraser.CollectFiles("", "*.*", &found, true);
    EXPECT_TRUE(found.empty());
    Eraser.AddFolder("", "*.*", false, true);
    Eraser.AddFolder(Temp / "gone", "*.*", false, true);
    Eraser.AddFile(Temp / "gone.txt");
    EXPECT_TRUE(Eraser.EraseFolder("", "*.*", false, true));
    Engine.Execute();
    EXPECT_TRUE(Exists(Temp / "cwd.txt"));
    ExpectCounts(0, 0, 0);
    SetCurrentDirectoryA("C:\\");
}

TEST_F(TEraseFilesTest, MasksMeanWhatTheyMeanOnWindows) {
    for (const char* name : {"a.mtd", "b.mtdx", "noext", "c.MTD"})
        MakeFile(Temp / name);
    std::vector<std::string> found;
    Eraser.CollectFiles(Temp.Path(), "*.mtd", &found, false);
    EXPECT_EQ(found.size(), 2u); // never through the 8.3 alias of b.mtdx
    found.clear();
    Eraser.CollectFiles(Temp.Path(), "*.", &found, false);
    EXPECT_EQ(found, std::vector<std::string>{Temp / "noext"});
    Eraser.EraseFolder(Temp.Path(), "*.mtd", true, false);
    EXPECT_TRUE(Exists(Temp / "b.mtdx"));
    EXPECT_FALSE(Exists(Temp / "c.MTD"));
}

TEST_F(TEraseFilesTest, ExclusionsMatchTheNameWithSetsAndWithoutCase) {
    for (const char* entry : {"*.chk", "edb.log", "[a-c]x*.txt", "[!0-9]?.ini", "user@site[1].txt"})
        Eraser.AddExclude(entry);
    Eraser.AddExclude("*.chk");
    EXPECT_EQ(Eraser.Exclude.size(), 5u);
    const std::vector<std::string> kept = {"C:\\x\\FOO.CHK", "C:\\x\\EDB.LOG", "C:\\x\\BX1.TXT",
                                           "C:\\x\\ab.ini", "C:\\x\\user@site[1].txt"};
    const std::vector<std::string> added = {"C:\\edb.log\\other.txt", "C:\\x\\dx1.txt",
                                            "C:\\x\\1b.ini", "C:\\x\\abc.ini"};
    for (const auto& name : kept)
        Eraser.AddFile(name);
    for (const auto& name : added)
        Eraser.AddFile(name);
    ASSERT_EQ(Eraser.Items.size(), added.size());
    for (size_t i = 0; i < added.size(); ++i)
        EXPECT_EQ(Eraser.Items[i].Path, added[i]);
}

TEST_F(TEraseFilesTest, ABrokenExclusionMaskFailsTheEraser) {
    MakeFile(Temp / "a.txt");
    Eraser.AddExclude("[a-");
    Eraser.OnCollect = [this](TEraser*) { Eraser.CollectFiles(Temp.Path(), "*.*", nullptr, true); };
    Engine.Execute();
    EXPECT_EQ(Engine.Lines[1], "Erasing Test Files failed.");
    EXPECT_TRUE(Exists(Temp / "a.txt"));
}

TEST_F(TEraseFilesTest, ADeepTreeGoesCompletely) {
    MakeDeepTree(40);
    Eraser.AddFolder(Temp / "deep", "*.*", false, true);
    Engine.Execute();
    EXPECT_FALSE(Exists(Temp / "deep"));
    ExpectCounts(41, 40, 40);
}

TEST_F(TEraseFilesTest, AStopDuringADeepWalkReturnsFromEveryLevel) {
    const std::string path = MakeDeepTree(30);
    Engine.CancelAtPump = 40;
    EXPECT_FALSE(Eraser.EraseFolder(Temp / "deep", "*.*", false, true));
    EXPECT_EQ(Engine.Pumps, 40);        // no level went on after the stop
    EXPECT_EQ(Engine.FoldersErased, 0); // nor removed its folder
    EXPECT_TRUE(Exists(path + "\\f.txt"));
    EXPECT_GT(Engine.FilesErased, 0);

    Engine.Cancelled = false;
    Engine.Pumps = 0;
    Engine.CancelAtPump = 20;
    std::vector<std::string> found;
    Eraser.CollectFiles(Temp / "deep", "*.*", &found, true);
    EXPECT_EQ(Engine.Pumps, 20); // the collect, too, stops on every level
    EXPECT_EQ(std::count(found.begin(), found.end(), path + "\\f.txt"), 0);
}

// Wine hands out a link's target when asked for the link: an empty target must not
// be removed in the link's place.
TEST_F(TEraseFilesTest, ALinkToAFolderOutsideIsNeverFollowed) {
    MakeFile(Temp / "outside\\keep.txt");
    MakeFolder(Temp / "empty");
    MakeFolder(Temp / "tree");
    MakeFile(Temp / "tree\\own.txt");
    const std::vector<std::string> links = {Temp / "tree\\link", Temp / "tree\\toempty",
                                            Temp / "linkitem"};
    if (!MakeFolderLink(links[0], Temp / "outside") || !MakeFolderLink(links[1], Temp / "empty") ||
        !MakeFolderLink(links[2], Temp / "empty")) {
        RemoveHostLinks(links);
        GTEST_SKIP() << "no folder link can be made here";
    }
    std::vector<std::string> found;
    Eraser.CollectFiles(Temp / "tree", "*.*", &found, true);
    EXPECT_EQ(found, std::vector<std::string>{Temp / "tree\\own.txt"});
    Eraser.AddFolder(Temp / "tree", "*.*", true, true);
    Eraser.AddFolder(Temp / "tree\\link", "*.*", true, true); // a link as the item itself
    Eraser.AddFolder(Temp / "linkitem", "*.*", false, true);  // ... that would be removed
    Engine.Execute();
    EXPECT_TRUE(Exists(Temp / "outside\\keep.txt"));
    EXPECT_TRUE(Exists(Temp / "empty"));
    EXPECT_FALSE(Exists(Temp / "tree\\own.txt"));
    EXPECT_EQ(Engine.FilesErased, 1);
    // Wine cannot remove a link itself: each is logged and none is counted.
    EXPECT_EQ(Engine.FoldersErased, 0);
    for (const std::string& link : links)
        EXPECT_TRUE(std::any_of(Engine.Lines.begin(), Engine.Lines.end(),
                                [&](const std::string& line) { return line.find(link) == 0; }))
            << link;
    RemoveHostLinks(links);
}

// A drive letter that names the same files again (subst, a mapped drive): where every
// link is marked (Windows) its folders are cleaned as listed; under Wine, where only the
// final path tells a link, the folder item is left alone and reported.
TEST_F(TEraseFilesTest, ADriveAliasIsCleanedWhereEveryLinkIsMarked) {
    const TDriveAlias alias;
    if (alias.Root().empty()) GTEST_SKIP() << "no drive letter can be made here";
    MakeSampleTree();
    Eraser.AddFolder(alias(Temp.Path()), "*.*", true, true);
    {
        const TLinkPlatform wine(true);
        Engine.Execute();
        ExpectCounts(0, 0, 0);
        ASSERT_EQ(Engine.Lines.size(), 4u); // erasing, the folder left alone, erased, empty
        EXPECT_EQ(Engine.Lines[1].rfind(alias(Temp.Path()), 0), 0u);
        const TLinkPlatform windows(false);
        Engine.SimulationMode = true;
        Engine.Execute();
        ExpectCounts(2, 4, 100);
        EXPECT_TRUE(Exists(Temp / "sub\\deeper\\c.txt"));
        Engine.SimulationMode = false;
        Engine.Execute();
        ExpectCounts(2, 4, 100);
    }
    EXPECT_FALSE(Exists(Temp / "sub"));
    EXPECT_FALSE(Exists(Temp / "ro.txt"));
    EXPECT_TRUE(Exists(Temp.Path()));
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
}

// Temporary folders change all the time: another program deletes the files after
// they were listed.
TEST_F(TEraseFilesTest, AFileGoneSinceTheListingIsNeitherCountedNorDeferred) {
    MakeFile(Temp / "churn\\a.tmp");
    MakeFile(Temp / "churn\\b.tmp");
    int pumps = 0;
    Engine.OnProcessMessages = [&] {
        if (++pumps != 1) return; // before the first file
        DeleteFileA((Temp / "churn\\a.tmp").c_str());
        DeleteFileA((Temp / "churn\\b.tmp").c_str());
    };
    EXPECT_TRUE(Eraser.EraseFolder(Temp / "churn", "*.*", true, false));
    EXPECT_EQ(Engine.PostEraser.Count(), 0);
    ExpectCounts(0, 0, 0);
}

// A handler that runs while messages are processed (a keep dialog) refills Items.
TEST_F(TEraseFilesTest, TheRunErasesWhatItsCollectFound) {
    MakeFile(Temp / "walk\\a.tmp");
    for (const char* name : {"second.txt", "other1.txt", "other2.txt"})
        MakeFile(Temp / name);
    Eraser.AddFolder(Temp / "walk", "*.*", true, false);
    Eraser.AddFile(Temp / "second.txt");
    int pumps = 0;
    Engine.OnProcessMessages = [&] {
        if (++pumps != 2) return; // inside the walk
        Eraser.Items.clear();
        Eraser.AddFile(Temp / "other1.txt");
        Eraser.AddFile(Temp / "other2.txt");
    };
    Engine.Execute();
    EXPECT_FALSE(Exists(Temp / "second.txt"));
    EXPECT_TRUE(Exists(Temp / "other1.txt"));
    EXPECT_TRUE(Exists(Temp / "other2.txt"));
}

TEST_F(TEraseFilesTest, BytesAddUpBeyond32Bits) {
    const std::string big = Temp / "big.bin";
    {
        TFileHandle file(
            CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size;
        size.QuadPart = 5'000'000'000LL;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    Engine.SimulationMode = true;
    EXPECT_TRUE(Eraser.EraseFile(big));
    EXPECT_TRUE(Eraser.EraseFile(big));
    EXPECT_EQ(Engine.BytesErased, 10'000'000'000LL);
}

TEST(TEraseFilesXML, ExclusionsRoundTrip) {
    TXMLDocument doc;
    TXMLNode root = doc.CreateDocumentElement("IE");
    TEraseFiles saved("IEEraseCookies", "Internet Explorer Cookies");
    saved.AddExclude("user@site[1].txt");
    saved.AddExclude("*.chk");
    saved.SaveToXML(root);
    const TXMLNode exclude = root.FindNode("IEEraseCookies").FindNode("Exclude");
    ASSERT_TRUE(exclude);
    ASSERT_EQ(exclude.ChildNodes().size(), 2u);
    EXPECT_EQ(exclude.ChildNodes()[0].NodeName(), "Item");
    EXPECT_EQ(exclude.ChildNodes()[0].Attribute("FileName"), "user@site[1].txt");

    TEraseFiles loaded("IEEraseCookies");
    loaded.AddExclude("old");
    loaded.LoadFromXML(root);
    EXPECT_EQ(loaded.Exclude, saved.Exclude);

    TXMLNode bare = doc.CreateDocumentElement("IE");
    bare.AddChild("IEEraseCookies").SetAttribute("Enabled", "True");
    loaded.LoadFromXML(bare); // no "Exclude": the list stays
    EXPECT_EQ(loaded.Exclude, saved.Exclude);
}

// Files are deleted on the file workers: whatever a stop leaves, the count is what
// went from the disk, in a folder walk as in a list of file items.
TEST_F(TEraseFilesTest, AStopAmongManyFilesCountsExactlyTheFilesThatWent) {
    constexpr int Files = 60;
    MakeFolder(Temp / "walk");
    MakeFolder(Temp / "items");
    for (int i = 0; i < Files; ++i) {
        MakeFile(Temp / ("walk\\f" + IntToStr(i)), 1);
        MakeFile(Temp / ("items\\f" + IntToStr(i)), 1);
    }
    const auto left = [&](const std::string& folder) {
        int count = 0;
        for (int i = 0; i < Files; ++i)
            count += Exists(Temp / (folder + "\\f" + IntToStr(i))) ? 1 : 0;
        return count;
    };
    Engine.CancelAtPump = 30;
    EXPECT_FALSE(Eraser.EraseFolder(Temp / "walk", "*.*", false, false));
    EXPECT_GT(left("walk"), 0);
    EXPECT_EQ(Engine.FilesErased, Files - left("walk"));

    Engine.Cancelled = false;
    Engine.Pumps = 0;
    Engine.CancelAtPump = 30;
    Engine.FilesErased = 0;
    for (int i = 0; i < Files; ++i)
        Eraser.AddFile(Temp / ("items\\f" + IntToStr(i)));
    Eraser.Erase();
    EXPECT_GT(left("items"), 0);
    EXPECT_EQ(Engine.FilesErased, Files - left("items"));
    EXPECT_EQ(Engine.BytesErased, 2 * Files - left("walk") - left("items"));
}
