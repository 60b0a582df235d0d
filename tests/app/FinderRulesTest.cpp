// The finders' comparison and junk rules where they differ from a plain reading.
#include "app/finders/DLLSearch.h"
#include "app/finders/DuplicateSearch.h"
#include "app/finders/JunkRules.h"
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

TEST(DuplicateSearch, AnUnreadableFileEqualsNothingAndOtherSizesAreNeverRead) {
    TTempFolder folder;
    folder.Write("a\\x.txt", "same");
    folder.Write("b\\x.txt", "same");
    folder.Write("c\\x.txt", "longer");
    TDuplicateOptions options;
    options.SameDateTime = false;
    options.SameSize = false;
    TDuplicateSearch search(options);
    TKernelHandle locked(CreateFileW(ToWide(folder / "a\\x.txt").c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(search.Add(Found(folder, "a\\x.txt")).empty());
    EXPECT_TRUE(search.Add(Found(folder, "c\\x.txt")).empty());
    EXPECT_EQ(search.DigestsComputed(), 0u);
    EXPECT_TRUE(search.Add(Found(folder, "b\\x.txt")).empty());
    locked.Reset();
    EXPECT_EQ(search.DigestsComputed(), 1u); // the locked file, once
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
    third.Folder = "c:\\c\\";
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
