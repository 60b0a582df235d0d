// Damaged "Backup.xml" files through the store: each is read, its usable records
// kept when a file is stored over it, or set aside whole as "Backup.xml.bad".
#include "app/finders/RemovedFileStore.h"
#include "classlib/base/Streams.h"
#include "support/DamagedInput.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(RemovedFileStoreDamaged, EveryDamagedListIsReadOrSetAside) {
    TTempFolder app;
    TRemovedFileStore store(app.Path());
    for (const char* name : {"data\\report.txt", "data\\\u6587\u66f8 & b.txt", "x.dll"})
        store.MoveToBackupStore(app.Write(name), "Duplicate File");
    TDamagedRun run("Backup.xml", 8000000, 10000);
    run.Seeds = {ReadFileToString(app / "Backup.xml")};

    run.Run([&](const std::string& damaged, uint32_t seed) {
        WriteCaseFile(app / "Backup.xml", damaged);
        std::vector<TStoredFile> records;
        try {
            records = store.Records();
        } catch (const EStoreDamaged& e) {
            EXPECT_NE(e.Message().find("It was kept as \"Backup.xml.bad\""), std::string::npos);
            ExpectKeptAside(app / "Backup.xml.bad", damaged);
            // The readable records were taken into a new list, or none is there.
            const bool taken = e.Message().find("taken into a new list") != std::string::npos;
            EXPECT_EQ(FileExists(app / "Backup.xml"), taken);
            EXPECT_TRUE(!taken || !store.Records().empty());
            return;
        }
        for (const TStoredFile& file : records) {
            EXPECT_GT(file.Number, 0);
            EXPECT_EQ(ExtractFilePath(store.StoredPath(file)), app / "Backup\\");
        }
        if (seed % 50 != 0) return;
        // Storing a file over a list that was read keeps every record it held.
        store.MoveToBackupStore(app.Write("new\\" + std::to_string(seed) + ".txt"), "Junk File");
        const std::vector<TStoredFile> after = store.Records();
        ASSERT_EQ(after.size(), records.size() + 1);
        for (size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(after[i].OriginalPath, records[i].OriginalPath);
    });
}
