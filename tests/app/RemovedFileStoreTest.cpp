// The store's rules that a damaged or hand-edited "Backup.xml" and a reused folder
// put to the test.
#include "app/finders/RemovedFileStore.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

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

} // namespace
