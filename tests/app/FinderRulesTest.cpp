// The finders' comparison and junk rules where they differ from a plain reading.
#include "app/finders/DLLSearch.h"
#include "app/finders/DuplicateSearch.h"
#include "app/finders/JunkRules.h"
#include "support/HostLinks.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

TFoundFile Found(const TTempFolder& folder, const std::string& relative) {
    const std::string path = folder / relative;
    TFoundFile found;
    ForEachFile(path, [&](const TFindData& data) {
        found = FoundFile(ExtractFilePath(path), data);
        return false;
    });
    return found;
}

TEST(DuplicateSearch, OneRowPerFileTheFirstMarkedAndNoFileItsOwnDuplicate) {
    TTempFolder folder;
    for (const char* name : {"a\\x.txt", "b\\X.TXT", "c\\x.txt"})
        folder.Write(name, "same");
    TDuplicateOptions options;
    options.SameDateTime = false;
    TDuplicateSearch search(options);
    EXPECT_TRUE(search.Add(Found(folder, "a\\x.txt")).empty());
    EXPECT_TRUE(search.Add(Found(folder, "a\\x.txt")).empty()); // reported again
    const auto second = search.Add(Found(folder, "b\\X.TXT"));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_FALSE(second[0].First);
    EXPECT_TRUE(second[1].First);
    EXPECT_EQ(second[1].File.Path, folder / "a\\x.txt");
    const auto third = search.Add(Found(folder, "c\\x.txt"));
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].Group, second[0].Group);
    EXPECT_EQ(search.DigestsComputed(), 3u); // each file once
}

TEST(DuplicateSearch, OnlyFilesAlikeInTheirFirstBlockAreReadWholeAndAnUnreadableOneEqualsNothing) {
    TTempFolder folder;
    const std::string block(FirstBlockSize, 'b');
    folder.Write("a\\early.bin", "A" + block);
    folder.Write("b\\early.bin", "B" + block); // differs in its first byte
    folder.Write("a\\late.bin", block + "A");
    folder.Write("b\\late.bin", block + "B"); // differs after its first block
    folder.Write("a\\x.txt", "same");
    folder.Write("b\\x.txt", "same");
    folder.Write("c\\x.txt", "longer");
    TDuplicateOptions options;
    options.SameDateTime = false;
    options.SameSize = false;
    TDuplicateSearch search(options);
    for (const char* name : {"a\\early.bin", "b\\early.bin", "a\\late.bin", "b\\late.bin"})
        EXPECT_TRUE(search.Add(Found(folder, name)).empty()) << name;
    EXPECT_EQ(search.DigestsComputed(), 2u); // the two late ones
    EXPECT_EQ(search.FilesOpened(), 4u);
    TKernelHandle locked(CreateFileW(ToWide(folder / "a\\x.txt").c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(search.Add(Found(folder, "a\\x.txt")).empty());
    EXPECT_TRUE(search.Add(Found(folder, "c\\x.txt")).empty()); // another size: never opened
    EXPECT_EQ(search.FilesOpened(), 4u);
    EXPECT_TRUE(search.Add(Found(folder, "b\\x.txt")).empty());
    EXPECT_EQ(search.DigestsComputed(), 2u);
}

// A host link to a file in a second folder, and a folder searched again through a
// host link to it: each file stays one file, whether it was seen first or as a copy.
TEST(FinderSearches, AFileReachedByTwoPathsIsNoCopyOfItself) {
    TTempFolder folder;
    const std::string library = folder.Write("a\\x.dll", "library");
    folder.Write("a\\x.txt", "text");
    folder.Write("c\\x.txt", "text");
    ForceDirectories(folder / "b");
    const std::vector<std::string> links{folder / "b\\x.dll", folder / "linked"};
    if (!MakeHostLink(links[0], library) || !MakeHostLink(links[1], folder / "a"))
        GTEST_SKIP() << "host links cannot be made here";
    TDuplicateOptions options;
    options.SameDateTime = false;
    TDuplicateSearch duplicates(options);
    TDLLSearch libraries{TDLLOptions{}};
    EXPECT_TRUE(duplicates.Add(Found(folder, "c\\x.txt")).empty());
    EXPECT_EQ(duplicates.Add(Found(folder, "a\\x.txt")).size(), 2u);     // a real copy
    EXPECT_TRUE(duplicates.Add(Found(folder, "linked\\x.txt")).empty()); // that copy again
    for (const char* name : {"a\\x.dll", "b\\x.dll", "linked\\x.dll"}) {
        EXPECT_TRUE(duplicates.Add(Found(folder, name)).empty()) << name;
        EXPECT_TRUE(libraries.Add(Found(folder, name), "1.0.0.0").empty()) << name;
    }
    EXPECT_EQ(duplicates.DigestsComputed(), 2u); // the two x.txt; no file reached twice
    RemoveHostLinks(links);
}

TEST(JunkRules, TheCaptionsSayWhatIsJunk) {
    TJunkRules rules;
    for (const char* name : {"report.bak", "REPORT.BAK", "notes.txt~", "letter~.doc", "a.~mp",
                             "old.nav", "file0001.chk", "chkdsk.chk", "x.$$$", "mscreate.dir"})
        EXPECT_TRUE(rules.IsJunk(name)) << name;
    for (const char* name : {"notes.txt", "old.mav", "myfile.chk", "a.err"})
        EXPECT_FALSE(rules.IsJunk(name)) << name;
    rules.IncludeExtensions = {".err"};
    EXPECT_TRUE(rules.IsJunk("a.err"));
}

TEST(DLLSearch, ACopyWithoutAVersionIsNeverListedWhicheverCameFirst) {
    TFoundFile first{"c:\\a\\", "x.dll", "C:\\a\\x.dll", 10, {}, 0};
    TFoundFile second = first, third = first;
    second.Folder = "c:\\b\\";
    second.Path = "C:\\b\\x.dll";
    third.Folder = "c:\\c\\";
    third.Path = "C:\\c\\x.dll";
    TDLLSearch search(TDLLOptions{});
    EXPECT_TRUE(search.Add(first, "").empty());
    EXPECT_TRUE(search.Add(second, "1.0.0.0").empty());
    const auto rows = search.Add(third, "1.0.0.0");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].File.Folder, "c:\\b\\");
}

TEST(FinderFolders, RepeatedAndNestedFoldersAreSearchedOnce) {
    EXPECT_EQ(FoldFolders({"C:\\Data", "c:\\data\\", "C:\\Data\\Sub", "C:\\Database", "D:\\"}),
              (std::vector<std::string>{"C:\\Data\\", "C:\\Database\\", "D:\\"}));
}

} // namespace
