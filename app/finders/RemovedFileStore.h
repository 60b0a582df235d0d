#pragma once
// The store of removed files: the finders move a file into the program's "Backup"
// folder as "name.n" and record it in "Backup.xml" beside the program. The file is
// read and written whole by every operation; nothing is held between them. Each file's
// record goes to "Backup.pending" before the file moves, and the next operation takes
// records left there by a program that was ended into the list. A damaged "Backup.xml"
// is set aside as "Backup.xml.bad", never overwritten, and its readable records start a
// new list. Main thread only.
#include "classlib/base/Exceptions.h"
#include "classlib/base/SafeFileOps.h"
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class TkepXMLParser2;
class TkepXMLNode2;
class TStoreJournal;

// An operation of the store failed; the message says what and what was kept.
class EStoreError : public Exception {
    using Exception::Exception;
};

// "Backup.xml" was damaged: it was set aside (its readable records starting a new
// list), and the operation did nothing; the next one uses the new list.
class EStoreDamaged : public EStoreError {
    using EStoreError::EStoreError;
};

// The record, or its stored copy, is gone: there is nothing to restore, and the
// record is no longer in the list.
class EStoreRecordGone : public EStoreError {
    using EStoreError::EStoreError;
};

struct TStoredFile {
    int Number = 0;
    std::string Description;  // "Duplicate File", "Junk File" or "DLL Cleaner"
    std::string OriginalPath; // where the file came from
    std::string Time;         // the date-time text of storing
};

// What one StoreFiles call did.
struct TStoreBatch {
    std::vector<size_t> Stored;        // indices of the stored files, ascending
    std::vector<std::string> Failures; // why the others stay where they were
    bool Stopped = false;              // the progress handler stopped the batch
};

class TRemovedFileStore {
public:
    // appDir: the program folder, with a trailing backslash.
    explicit TRemovedFileStore(const std::string& appDir);

    // Moves the files to "Backup\name.n", one after another, and records them all
    // with one write of "Backup.xml" at the end; until then each file's record is in
    // the pending list, written before its move. progress(done) runs after each file;
    // false stops the batch, and what was moved so far is recorded. A file that cannot
    // be moved stays and the batch goes on; when the list cannot be written, every
    // moved file is moved back. A damaged list raises EStoreDamaged before any move.
    TStoreBatch StoreFiles(const std::vector<std::string>& files, const std::string& description,
                           const std::function<bool(size_t done)>& progress = nullptr);
    // StoreFiles for one file; its failure raises EStoreError.
    void MoveToBackupStore(const std::string& fileName, const std::string& description);
    // Runs after every StoreFiles that recorded a file.
    std::function<void()> OnStored;
    // The usable records in file order; a record without description or path, a number that
    // is not decimal or an original path that is not absolute is left out.
    [[nodiscard]] std::vector<TStoredFile> Records() const;
    // Moves the stored copy back, creating its folder, and forgets the record.
    // Raises EStoreError when it cannot; the record then stays. A record whose stored
    // copy is gone is forgotten and raises EStoreRecordGone.
    void Restore(int number);
    // Takes records left in the pending list by a batch that did not end into the
    // list, at start; nothing when there are none.
    void Recover();
    // Forgets every record; the stored files stay in the folder.
    void Clear();
    // "Backup\name.n" of the record.
    [[nodiscard]] std::string StoredPath(const TStoredFile& file) const;

private:
    [[nodiscard]] std::unique_ptr<TkepXMLParser2> Load() const;
    void Read(TkepXMLParser2& document) const;
    [[noreturn]] void SetAside() const;
    void TakeInPending(TkepXMLParser2& document) const;
    void Save(const TkepXMLParser2& document) const;
    void Forget(TkepXMLParser2& document, TkepXMLNode2* record) const;
    [[nodiscard]] std::unordered_set<std::string> TakenNames() const;
    [[nodiscard]] int NextFreeNumber(int last, const std::string& name,
                                     const std::unordered_set<std::string>& taken) const;
    // Moves the file in under the next free number above last, which it sets.
    TSafeFileResult MoveIn(TStoredFile& file, int last, std::unordered_set<std::string>& taken,
                           TStoreJournal& journal) const;
    using TMovedFiles = std::vector<std::pair<std::string, std::string>>; // original, stored
    void Record(const TkepXMLParser2& document, const TMovedFiles& moved, TStoreJournal& journal,
                TStoreBatch& batch);
    // Moves the stored copies back after the list could not be written.
    void Unstore(const TMovedFiles& moved, std::vector<std::string>& failures) const;

    std::string FListFile;    // AppDir + "Backup.xml"
    std::string FPendingFile; // AppDir + "Backup.pending"
    std::string FStoreDir;    // AppDir + "Backup\"
};
