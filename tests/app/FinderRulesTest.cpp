// The finders' comparison and junk rules where they differ from a plain reading.
#include "app/finders/DLLSearch.h"
#include "app/finders/DuplicateSearch.h"
#include "app/finders/JunkRules.h"
#include "support/HostLinks.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

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

// Dates left out of the comparison: the files are written one after another.
TDuplicateOptions AnyDate() {
    TDuplicateOptions options;
    options.SameDateTime = false;
    return options;
}

// The rows of the files, given in turn, once the search has answered them all.
std::vector<TDuplicateRow> Search(TDuplicateSearch& search, const TTempFolder& folder,
                                  const std::vector<const char*>& names) {
    std::vector<TDuplicateRow> rows;
    for (const char* name : names) {
        const auto more = search.Add(Found(folder, name));
        rows.insert(rows.end(), more.begin(), more.end());
    }
    const auto last = search.Finish();
    rows.insert(rows.end(), last.begin(), last.end());
    return rows;
}

TEST(DuplicateSearch, OneRowPerFileTheFirstMarkedAndNoFileItsOwnDuplicate) {
    TTempFolder folder;
    for (const char* name : {"a\\x.txt", "b\\X.TXT", "c\\x.txt"})
        folder.Write(name, "same");
    TDuplicateSearch search(AnyDate());
    // a\x.txt is reported again: the same file, no copy of itself.
    const auto rows = Search(search, folder, {"a\\x.txt", "a\\x.txt", "b\\X.TXT", "c\\x.txt"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].File.Path, folder / "b\\X.TXT");
    EXPECT_FALSE(rows[0].First);
    EXPECT_EQ(rows[1].File.Path, folder / "a\\x.txt");
    EXPECT_TRUE(rows[1].First);
    EXPECT_EQ(rows[2].File.Path, folder / "c\\x.txt");
    EXPECT_EQ(rows[2].Group, rows[0].Group);
    EXPECT_EQ(rows[1].Group, rows[0].Group);
    EXPECT_EQ(search.ComparisonsMade(), 2u); // each copy beside the first
}

TEST(DuplicateSearch, OnlyFilesAlikeInTheirFirstBlockAreReadWholeAndAnUnreadableOneEqualsNothing) {
    TTempFolder folder;
    const std::string block(FirstBlockSize, 'b');
    folder.Write("a\\early.bin", "A" + block);
    folder.Write("b\\early.bin", "B" + block); // differs in its first byte
    folder.Write("a\\late.bin", block + "A");
    folder.Write("b\\late.bin", block + "B"); // differs in its last byte
    folder.Write("a\\x.txt", "same");
    folder.Write("b\\x.txt", "same");
    folder.Write("c\\x.txt", "longer");
    TDuplicateOptions options = AnyDate();
    options.SameSize = false;
    TDuplicateSearch search(options);
    EXPECT_TRUE(
        Search(search, folder, {"a\\early.bin", "b\\early.bin", "a\\late.bin", "b\\late.bin"})
            .empty());
    EXPECT_EQ(search.ComparisonsMade(), 1u); // the two late ones
    EXPECT_EQ(search.FilesOpened(), 4u);
    TKernelHandle locked(CreateFileW(ToWide(folder / "a\\x.txt").c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    // c\x.txt has another size: never opened.
    EXPECT_TRUE(Search(search, folder, {"a\\x.txt", "c\\x.txt"}).empty());
    EXPECT_EQ(search.FilesOpened(), 4u);
    EXPECT_TRUE(Search(search, folder, {"b\\x.txt"}).empty());
    EXPECT_EQ(search.ComparisonsMade(), 1u);
}

// Files of one name, size and first block but two contents, met in turn: each is read
// beside the earlier files of other contents only until one holds its bytes, however
// far into the file they differ.
TEST(DuplicateSearch, CopiesOfTwoContentsOfOneNameFormTwoGroups) {
    TTempFolder folder;
    const std::string large(3 << 20, 'L');
    for (const char* name : {"a\\x.bin", "d\\x.bin"})
        folder.Write(name, large + "1");
    for (const char* name : {"b\\x.bin", "c\\x.bin", "e\\x.bin"})
        folder.Write(name, large + "2");
    TDuplicateSearch search(AnyDate());
    const auto rows =
        Search(search, folder, {"a\\x.bin", "b\\x.bin", "c\\x.bin", "d\\x.bin", "e\\x.bin"});
    std::map<int, std::set<std::string>> groups;
    for (const TDuplicateRow& row : rows)
        groups[row.Group].insert(row.File.Path.substr(folder.Path().size()));
    EXPECT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[rows[0].Group], (std::set<std::string>{"b\\x.bin", "c\\x.bin", "e\\x.bin"}));
    EXPECT_EQ(groups[rows[2].Group], (std::set<std::string>{"a\\x.bin", "d\\x.bin"}));
    // b, c and e beside a; c and e beside b; d beside a.
    EXPECT_EQ(search.ComparisonsMade(), 6u);
    // Nothing is left open once the search has answered: the copies can go at once.
    for (const char* name : {"a\\x.bin", "b\\x.bin", "c\\x.bin", "d\\x.bin", "e\\x.bin"}) {
        EXPECT_TRUE(DeleteFileW(ToWide(folder / name).c_str())) << name;
        EXPECT_FALSE(FileExists(folder / name)) << name;
    }
}

// Files are read on several threads at once, the small ones done long before the
// large: the rows still come in the order of the files, each group whole.
TEST(DuplicateSearch, RowsComeInTheOrderOfTheFilesWhicheverIsReadFirst) {
    TTempFolder folder;
    const std::string large(8 << 20, 'L');
    for (const char* name : {"a\\large.bin", "b\\large.bin", "c\\large.bin"})
        folder.Write(name, large);
    for (const char* name : {"a\\small.txt", "b\\small.txt"})
        folder.Write(name, "small");
    TDuplicateSearch search(AnyDate());
    const auto rows =
        Search(search, folder,
               {"a\\large.bin", "b\\large.bin", "a\\small.txt", "b\\small.txt", "c\\large.bin"});
    std::vector<std::string> paths;
    for (const TDuplicateRow& row : rows)
        paths.push_back(row.File.Path.substr(folder.Path().size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"b\\large.bin", "a\\large.bin", "b\\small.txt",
                                               "a\\small.txt", "c\\large.bin"}));
    EXPECT_EQ(rows[4].Group, rows[0].Group);
    EXPECT_NE(rows[2].Group, rows[0].Group);
    EXPECT_EQ(search.ComparisonsMade(), 3u);
}

// A stop ends the waiting for files still being read at once, and nothing more is
// answered after it.
TEST(DuplicateSearch, ACancelledSearchAnswersNothingMore) {
    TTempFolder folder;
    const std::string large(32 << 20, 'L');
    for (const char* name : {"a\\large.bin", "b\\large.bin"})
        folder.Write(name, large);
    folder.Write("a\\x.txt", "same");
    folder.Write("b\\x.txt", "same");
    TDuplicateSearch search(AnyDate());
    search.Add(Found(folder, "a\\large.bin"));
    search.Add(Found(folder, "b\\large.bin"));
    search.Cancel();
    EXPECT_TRUE(search.Finish().empty());
    EXPECT_TRUE(search.Add(Found(folder, "a\\x.txt")).empty());
    EXPECT_TRUE(search.Add(Found(folder, "b\\x.txt")).empty());
    EXPECT_TRUE(search.Finish().empty());
    EXPECT_LE(search.ComparisonsMade(), 1u);
    for (const char* name : {"a\\large.bin", "b\\large.bin"}) {
        EXPECT_TRUE(DeleteFileW(ToWide(folder / name).c_str())) << name;
        EXPECT_FALSE(FileExists(folder / name)) << name;
    }
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
    TDuplicateSearch duplicates(AnyDate());
    TDLLSearch libraries{TDLLOptions{}};
    // a\x.txt is a real copy; linked\x.txt is that copy again.
    EXPECT_EQ(Search(duplicates, folder, {"c\\x.txt", "a\\x.txt", "linked\\x.txt"}).size(), 2u);
    for (const char* name : {"a\\x.dll", "b\\x.dll", "linked\\x.dll"}) {
        EXPECT_TRUE(Search(duplicates, folder, {name}).empty()) << name;
        EXPECT_TRUE(libraries.Add(Found(folder, name), "1.0.0.0").empty()) << name;
    }
    EXPECT_EQ(duplicates.ComparisonsMade(), 1u); // the two x.txt; no file reached twice
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
