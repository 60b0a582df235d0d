// The store's rules that a damaged or hand-edited "Backup.xml" and a reused folder
// put to the test, and storing a selection through the running program.
#include "app/finders/RemovedFileStore.h"
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "support/TempFolder.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <set>

namespace {

struct StoreFolder : testing::Test {
    TTempFolder App;
    TRemovedFileStore Store{App.Path()};
    std::string List() const { return ReadFileToString(App / "Backup.xml"); }
};

TEST_F(StoreFolder, AMissingListIsEmptyAndANumberIsNeverReusedWhileItsFileExists) {
    EXPECT_TRUE(Store.Records().empty());
    const std::string first = App.Write("data\\a.txt", "first");
    Store.MoveToBackupStore(first, "Junk File");
    EXPECT_EQ(ReadFileToString(App / "Backup\\a.txt.1"), "first");
    Store.Clear();
    EXPECT_EQ(List(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<Remover>0</Remover>");
    App.Write("data\\a.txt", "second");
    Store.MoveToBackupStore(first, "Junk File");
    EXPECT_EQ(ReadFileToString(App / "Backup\\a.txt.1"), "first");
    EXPECT_EQ(ReadFileToString(App / "Backup\\a.txt.2"), "second");
    ASSERT_EQ(Store.Records().size(), 1u);
    EXPECT_EQ(Store.Records()[0].Number, 2);
}

TEST_F(StoreFolder, AFailedMoveIsNotRecordedAndAFailedRestoreKeepsItsRecord) {
    EXPECT_THROW(Store.MoveToBackupStore(App / "missing.txt", "Junk File"), EStoreError);
    EXPECT_FALSE(FileExists(App / "Backup.xml"));
    const std::string file = App.Write("data\\sub\\b.txt", "stored");
    Store.MoveToBackupStore(file, "Duplicate File");
    App.Write("data\\sub\\b.txt", "newer"); // the place is taken again
    EXPECT_THROW(Store.Restore(1), EStoreError);
    EXPECT_EQ(ReadFileToString(file), "newer");
    EXPECT_EQ(Store.Records().size(), 1u);
    // A missing folder is made again.
    SysDeleteFile(file);
    RemoveDir(App / "data\\sub");
    Store.Restore(1);
    EXPECT_EQ(ReadFileToString(file), "stored");
    EXPECT_TRUE(Store.Records().empty());
    EXPECT_NE(List().find("<Remover>0</Remover>"), std::string::npos);
}

TEST_F(StoreFolder, ADamagedListIsKeptAsideAndNothingIsStored) {
    const std::string damaged = "<Remover>3<Deleted>3</Remover>";
    App.Write("Backup.xml", damaged);
    const std::string file = App.Write("c.txt");
    EXPECT_THROW(Store.MoveToBackupStore(file, "Junk File"), EStoreDamaged);
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(ReadFileToString(App / "Backup.xml.bad"), damaged);
    EXPECT_FALSE(FileExists(App / "Backup.xml"));
}

// Numbers must be decimal and original paths absolute: no record reaches outside the
// "Backup" folder or names another file to restore over.
TEST_F(StoreFolder, RecordsThatFailTheChecksAreLeftOut) {
    auto record = [](const char* number, const std::string& path) {
        return std::string("<Deleted>") + number + "<Description>Junk File</Description><oFile>" +
               path + "</oFile><dt>x</dt></Deleted>";
    };
    const std::string good = App / "data\\good.txt";
    App.Write("Backup.xml",
              "<Remover>7" + record("1", good) + record("0x2", good) +
                  record("3", "data\\relative.txt") + record("4", App / "data\\..\\..\\evil.txt") +
                  record("5", App / "data\\x.txt:stream") +
                  "<Deleted>6<Description>Junk File</Description></Deleted>" + "</Remover>");
    const auto records = Store.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].OriginalPath, good);
    EXPECT_EQ(Store.StoredPath(records[0]), App / "Backup\\good.txt.1");
    EXPECT_THROW(Store.Restore(4), EStoreError);
    // The next number follows the last one issued.
    Store.MoveToBackupStore(App.Write("d.txt"), "Junk File");
    EXPECT_TRUE(FileExists(App / "Backup\\d.txt.8"));
}

// A selection goes in with one write of the list: a file that cannot move stays and
// is named, Stop records what moved, and a list that cannot be written sends every
// moved file back.
TEST_F(StoreFolder, ABatchIsRecordedWhole) {
    std::vector<std::string> files;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        files.push_back(App.Write(std::string("data\\") + name, name));
    files.insert(files.begin() + 1, App / "data\\missing.txt");
    int written = 0;
    Store.OnStored = [&] { ++written; };
    std::vector<size_t> progress;
    const TStoreBatch batch = Store.StoreFiles(files, "Junk File", [&](size_t done) {
        progress.push_back(done);
        return done < 4;
    });
    EXPECT_EQ(batch.Stored, (std::vector<size_t>{0, 2, 3}));
    ASSERT_EQ(batch.Failures.size(), 1u);
    EXPECT_NE(batch.Failures[0].find("missing.txt"), std::string::npos);
    EXPECT_TRUE(batch.Stopped);
    EXPECT_EQ(progress, (std::vector<size_t>{1, 2, 3, 4}));
    EXPECT_EQ(written, 1);
    EXPECT_EQ(ReadFileToString(files[4]), "d.txt"); // after Stop: left alone
    const auto records = Store.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].Number, 3);
    EXPECT_EQ(records[2].OriginalPath, files[3]);
    EXPECT_EQ(ReadFileToString(App / "Backup\\b.txt.2"), "b.txt");
    EXPECT_NE(List().find("<Remover>3\r\n"), std::string::npos);

    const std::string before = List();
    ForceDirectories(App / "Backup.xml.tmp"); // the new list cannot be written
    const TStoreBatch failed = Store.StoreFiles({files[4], App.Write("e.txt", "e")}, "Junk File");
    EXPECT_TRUE(failed.Stored.empty());
    ASSERT_EQ(failed.Failures.size(), 1u);
    EXPECT_NE(failed.Failures[0].find("no file was stored"), std::string::npos);
    EXPECT_EQ(ReadFileToString(files[4]), "d.txt");
    EXPECT_EQ(ReadFileToString(App / "e.txt"), "e");
    EXPECT_EQ(List(), before);
    EXPECT_EQ(written, 1);
}

} // namespace

namespace {

class StoreInProgram : public TProgramTest {
protected:
    HWND Tab(HWND page, int tab) {
        SendMessageA(FindChild(page, "TPageControl"), TCM_SETCURFOCUS, tab, 0);
        const char* frames[] = {"TTDuplicateFinder", "TTJunkFinder", "TTDLLFinder",
                                "TTRestoration"};
        return FindChild(page, frames[tab]);
    }
    HWND JunkPage() {
        SendMessageA(FindChild(Main, "TButton", "Junk Cleaner         "), BM_CLICK, 0, 0);
        return FindChild(Main, "TTJunkCleaner");
    }
    // Lists the files of Data\junk on the junk cleaner's page and checks every row.
    HWND ListAndCheckAll(HWND page) {
        HWND finder = Tab(page, 1);
        EXPECT_TRUE(
            ChooseFolder(Program, FindChild(page, "TButton", "Add &Folder "), Data / "junk"));
        HWND search = FindChild(finder, "TButton", "&Search");
        SendMessageA(search, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return WindowText(search) == "&Search"; }));
        ListViewCheck(FindChild(finder, "TListView"), -1);
        return finder;
    }
    std::vector<std::string> PlantJunk(int count) {
        std::vector<std::string> files;
        for (int i = 0; i < count; ++i)
            files.push_back(Data.Write("junk\\f" + std::to_string(i) + ".tmp", std::to_string(i)));
        return files;
    }

    TTempFolder Data;
};

// The Restoration list is read when its tab first shows and after a store; a large
// selection goes in under a progress window whose Stop leaves every file either where
// it was or recorded; a restore of a file no longer in the store drops its record.
TEST_F(StoreInProgram, ASelectionIsStoredWithProgressAndStop) {
    const int count = 1500;
    {
        TRemovedFileStore store(Program.Dir());
        store.StoreFiles({Data.Write("old1.txt"), Data.Write("old2.txt")}, "Duplicate File");
    }
    const std::vector<std::string> files = PlantJunk(count);
    StartProgram();
    HWND page = JunkPage();
    HWND finder = ListAndCheckAll(page);
    HWND restoreList = FindChild(Tab(page, 3), "TListView");
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(restoreList) == 2; }, 5000));
    HWND list = FindChild(finder, "TListView");
    ASSERT_EQ(ListViewCount(list), count);
    PostClick(FindChild(finder, "TButton", "&Delete"));
    HWND progress = Program.WaitForWindow("TfProgress");
    ASSERT_NE(progress, nullptr);
    HWND stop = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (stop = FindChild(progress, "TButton", "&Stop")) != nullptr; }));
    PostClick(stop);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(progress) || !IsWindowVisible(progress); }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Main) != FALSE; }));

    const int left = ListViewCount(list);
    EXPECT_GT(left, 0);
    EXPECT_LT(left, count);
    TRemovedFileStore store(Program.Dir());
    const auto records = store.Records();
    EXPECT_EQ(records.size(), static_cast<size_t>(count - left + 2));
    std::set<std::string> recorded;
    for (const TStoredFile& record : records)
        recorded.insert(LowerCase(record.OriginalPath));
    for (const std::string& file : files)
        EXPECT_TRUE(FileExists(file) != (recorded.count(LowerCase(file)) != 0)) << file;
    EXPECT_EQ(ListViewCount(FindChild(Tab(page, 3), "TListView")), count - left + 2);

    // A record whose stored copy was removed by hand is forgotten at Restore, row and all.
    ASSERT_TRUE(SysDeleteFile(Program.Dir() + "Backup\\old1.txt.1"));
    ASSERT_EQ(ListViewText(restoreList, 0, 0), "1");
    ListViewCheck(restoreList, 0);
    PostClick(FindChild(Tab(page, 3), "TButton", "&Restore"));
    Answer(Box("no longer in the store"), IDOK);
    EXPECT_EQ(ListViewCount(restoreList), count - left + 1);
    EXPECT_EQ(store.Records().size(), records.size() - 1);
    CloseProgram();
}

// A program ended in the middle of "&Delete" leaves no stored file without its
// record: the next start records them all, and Restoration lists them.
TEST_F(StoreInProgram, ADeleteKilledMidwayLeavesEveryStoredFileRestorable) {
    const std::vector<std::string> files = PlantJunk(3000);
    const auto storedNow = [&] {
        int stored = 0;
        ForEachFile(Program.Dir() + "Backup\\*", [&](const TFindData&) { return ++stored > 0; });
        return stored;
    };
    StartProgram();
    PostClick(FindChild(ListAndCheckAll(JunkPage()), "TButton", "&Delete"));
    ASSERT_TRUE(WaitFor([&] { return storedNow() >= 100; }));
    ASSERT_TRUE(Program.Kill());
    const int stored = storedNow();
    ASSERT_LT(stored, 3000) << "the Delete ended before the kill";

    StartProgram();
    EXPECT_FALSE(FileExists(Program.Dir() + "Backup.pending"));
    TRemovedFileStore store(Program.Dir());
    const std::vector<TStoredFile> records = store.Records();
    EXPECT_EQ(records.size(), static_cast<size_t>(stored));
    std::set<std::string> recorded;
    for (const TStoredFile& record : records) {
        EXPECT_TRUE(FileExists(store.StoredPath(record))) << record.OriginalPath;
        recorded.insert(LowerCase(record.OriginalPath));
    }
    for (const std::string& file : files)
        EXPECT_TRUE(FileExists(file) != (recorded.count(LowerCase(file)) != 0)) << file;
    HWND restoreList = FindChild(Tab(JunkPage(), 3), "TListView");
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(restoreList) == stored; }, 5000));
    CloseProgram();
}

} // namespace
