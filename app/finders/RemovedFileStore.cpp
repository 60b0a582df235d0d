#include "app/finders/RemovedFileStore.h"
#include "app/finders/StoreJournal.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "components/XmlParser/XmlParser.h"
#include <cstring>
#include <unordered_set>

namespace {

const char* const ListName = "Backup.xml";
const char* const RecordStart = "<Deleted";
const char* const RecordEnd = "</Deleted>";

// 1 to 9 decimal digits, nothing else.
bool ReadNumber(const std::string& text, int& number) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    number = std::stoi(text);
    return true;
}

// "X:\..." or "\\server\share\...", with a file name, no "." or ".." step, and none
// of the characters that would name another file (a "/" folder, a ":" stream).
bool IsSafeOriginalPath(const std::string& path) {
    const bool drive = path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && path[2] == '\\';
    const bool share = path.size() > 4 && path.compare(0, 2, "\\\\") == 0;
    if (!drive && !share) return false;
    if (path.find_first_of("/*?\"<>|", 0) != std::string::npos ||
        path.find(':', drive ? 2 : 0) != std::string::npos)
        return false;
    for (const std::string& step : SplitString(path.substr(2), '\\'))
        if (step == "." || step == "..") return false;
    for (char c : path)
        if (static_cast<unsigned char>(c) < 32) return false;
    return !ExtractFileName(path).empty();
}

// A record without its date is still a record: its time is left empty.
bool ReadRecord(const TkepXMLNode2& node, TStoredFile& file) {
    if (node.Name() != "Deleted" || node.NodeCount() < 2) return false;
    file.Description = node.GetNode(0)->Text();
    file.OriginalPath = node.GetNode(1)->Text();
    file.Time = node.NodeCount() > 2 ? node.GetNode(2)->Text() : "";
    return ReadNumber(node.Text(), file.Number) && file.Number > 0 &&
           IsSafeOriginalPath(file.OriginalPath);
}

void AddTextNode(TkepXMLNode2& parent, const char* name, const std::string& text) {
    auto node = std::make_unique<TkepXMLNode2>();
    node->SetName(name);
    node->SetText(text);
    parent.AddNode(std::move(node));
}

std::unique_ptr<TkepXMLNode2> RecordNode(const TStoredFile& file) {
    auto deleted = std::make_unique<TkepXMLNode2>();
    deleted->SetName("Deleted");
    deleted->SetText(IntToStr(file.Number));
    AddTextNode(*deleted, "Description", file.Description);
    AddTextNode(*deleted, "oFile", file.OriginalPath);
    AddTextNode(*deleted, "dt", file.Time);
    return deleted;
}

// The highest number issued: the root's and every record's.
int LastNumber(const TkepXMLParser2& document) {
    int last = 0;
    ReadNumber(document.Text(), last);
    TStoredFile file;
    for (const auto& node : document.Nodes())
        if (ReadRecord(*node, file)) last = std::max(last, file.Number);
    return last;
}

// The records that can still be read in a damaged list: each "Deleted" element up to
// its end tag, read on its own; the first of each number.
std::vector<std::unique_ptr<TkepXMLNode2>> ReadableRecords(const std::string& text) {
    std::vector<std::unique_ptr<TkepXMLNode2>> records;
    std::unordered_set<int> numbers;
    for (size_t start = text.find(RecordStart); start != std::string::npos;) {
        const size_t next = text.find(RecordStart, start + 1);
        const size_t end = text.find(RecordEnd, start);
        if (end == std::string::npos) break;
        if (end < next) {
            auto record = std::make_unique<TkepXMLParser2>();
            record->SetXML(text.substr(start, end + strlen(RecordEnd) - start));
            TStoredFile file;
            if (record->LastError().empty() && ReadRecord(*record, file) &&
                numbers.insert(file.Number).second)
                records.push_back(RecordNode(file));
        }
        start = next;
    }
    return records;
}

} // namespace

TRemovedFileStore::TRemovedFileStore(const std::string& appDir)
    : FListFile(appDir + ListName), FPendingFile(appDir + "Backup.pending"),
      FStoreDir(appDir + "Backup\\") {}

std::string TRemovedFileStore::StoredPath(const TStoredFile& file) const {
    return FStoreDir + ExtractFileName(file.OriginalPath) + "." + IntToStr(file.Number);
}

// A missing list is an empty store. A damaged one is moved aside and the operation
// refused, so it is never overwritten. Records left pending are taken in.
std::unique_ptr<TkepXMLParser2> TRemovedFileStore::Load() const {
    auto document = std::make_unique<TkepXMLParser2>();
    document->SetName("Remover");
    document->SetText("0");
    if (FileExists(FListFile)) Read(*document);
    TakeInPending(*document);
    return document;
}

void TRemovedFileStore::Read(TkepXMLParser2& document) const {
    bool damaged = false;
    try {
        document.LoadFromFile(FListFile);
        int last = 0;
        damaged = !document.LastError().empty() || document.Name() != "Remover" ||
                  !ReadNumber(document.Text(), last);
    } catch (const EkepXMLError&) {
        damaged = true;
    } catch (const Exception& e) {
        throw EStoreError(Format("\"%s\" cannot be read: %s", ListName, e.what()));
    }
    if (damaged) SetAside();
}

// The damaged list is kept as "Backup.xml.bad", and the records that can still be read
// in it start the new list. Always raises EStoreDamaged, which says so.
void TRemovedFileStore::SetAside() const {
    std::vector<std::unique_ptr<TkepXMLNode2>> records;
    try {
        records = ReadableRecords(ReadXMLFile(FListFile));
    } catch (const Exception& e) {
        throw EStoreError(Format("\"%s\" cannot be read: %s", ListName, e.what()));
    }
    if (!SafeMoveFile(FListFile, FListFile + ".bad").Done())
        throw EStoreDamaged(
            Format("\"%s\" is damaged and was left as it is; nothing was changed.", ListName));
    const std::string kept =
        Format("\"%s\" is damaged. It was kept as \"%s.bad\"", ListName, ListName);
    if (records.empty()) throw EStoreDamaged(kept + "; nothing was changed.");
    const int count = static_cast<int>(records.size());
    TkepXMLParser2 list;
    list.SetName("Remover");
    for (auto& record : records)
        list.AddNode(std::move(record));
    list.SetText(IntToStr(LastNumber(list)));
    try {
        Save(list);
    } catch (const Exception& e) {
        throw EStoreDamaged(Format("%s; the new list of its %d readable record(s) could not be "
                                   "written: %s",
                                   kept.c_str(), count, e.what()));
    }
    throw EStoreDamaged(Format("%s, and its %d readable record(s) were taken into a new list; "
                               "nothing else was changed.",
                               kept.c_str(), count));
}

// Files that a batch moved in before it could write the list (the program was ended
// meanwhile) are recorded from the pending list, where their stored copies exist.
void TRemovedFileStore::TakeInPending(TkepXMLParser2& document) const {
    TStoreJournal journal(FPendingFile);
    if (!journal.Exists()) return;
    std::unordered_set<int> listed;
    TStoredFile file;
    for (const auto& node : document.Nodes())
        if (ReadRecord(*node, file)) listed.insert(file.Number);
    const std::unordered_set<std::string> taken = TakenNames();
    try {
        bool added = false;
        for (const TStoredFile& pending : journal.Read())
            if (taken.count(LowerCase(ExtractFileName(StoredPath(pending)))) &&
                listed.insert(pending.Number).second) {
                document.AddNode(RecordNode(pending));
                added = true;
            }
        if (added) {
            document.SetText(IntToStr(LastNumber(document)));
            Save(document);
        }
        journal.Remove();
    } catch (const Exception& e) {
        throw EStoreError(
            Format("The files of an unfinished store could not be recorded: %s", e.what()));
    }
}

void TRemovedFileStore::Save(const TkepXMLParser2& document) const {
    document.SaveToFile(FListFile);
}

// The names in the store folder, in lower case: read once per batch, as asking for a
// name that is not there makes Wine search the whole folder.
std::unordered_set<std::string> TRemovedFileStore::TakenNames() const {
    std::unordered_set<std::string> names;
    ForEachFile(FStoreDir + "*", [&](const TFindData& entry) {
        names.insert(LowerCase(entry.Name));
        return true;
    });
    return names;
}

// The next number above `last` whose name is free: a file left in the folder after
// the list was cleared keeps its name.
int TRemovedFileStore::NextFreeNumber(int last, const std::string& name,
                                      const std::unordered_set<std::string>& taken) const {
    const std::string lower = LowerCase(name) + ".";
    int number = last + 1;
    while (taken.count(lower + IntToStr(number)))
        ++number;
    return number;
}

// A name taken since the folder was read moves the file to the next free number.
// Its record goes to the pending list first, taken back when the move fails.
TSafeFileResult TRemovedFileStore::MoveIn(TStoredFile& file, int last,
                                          std::unordered_set<std::string>& taken,
                                          TStoreJournal& journal) const {
    const std::string name = ExtractFileName(file.OriginalPath);
    for (int tries = 0;; ++tries) {
        file.Number = NextFreeNumber(last, name, taken);
        journal.Add(file);
        const TSafeFileResult moved = SafeMoveFile(file.OriginalPath, StoredPath(file));
        if (!moved.Done()) journal.Cancel(file.Number);
        const bool nameTaken =
            moved.Error == ERROR_ALREADY_EXISTS || moved.Error == ERROR_FILE_EXISTS;
        if (moved.Done() || !nameTaken || tries == 100) return moved;
        taken.insert(LowerCase(ExtractFileName(StoredPath(file))));
    }
}

TStoreBatch TRemovedFileStore::StoreFiles(const std::vector<std::string>& files,
                                          const std::string& description,
                                          const std::function<bool(size_t)>& progress) {
    TStoreBatch batch;
    auto document = Load();
    int last = LastNumber(*document);
    ForceDirectories(FStoreDir);
    std::unordered_set<std::string> taken = TakenNames();
    TMovedFiles moved;
    TStoreJournal journal(FPendingFile);
    for (size_t i = 0; i < files.size(); ++i) {
        TStoredFile file;
        file.OriginalPath = files[i];
        file.Description = description;
        file.Time = DateTimeToStr(Now());
        TSafeFileResult result;
        try {
            result = MoveIn(file, last, taken, journal);
        } catch (const Exception& e) {
            batch.Failures.push_back(Format("\"%s\" was not moved, as its record could not be "
                                            "written first: %s",
                                            file.OriginalPath.c_str(), e.what()));
            batch.Stopped = true;
            break;
        }
        if (result.Done()) {
            document->AddNode(RecordNode(file));
            moved.emplace_back(file.OriginalPath, StoredPath(file));
            batch.Stored.push_back(i);
            last = file.Number;
        } else {
            batch.Failures.push_back(Format("\"%s\" could not be moved into the store: %s",
                                            file.OriginalPath.c_str(), result.Text().c_str()));
        }
        if (progress && !progress(i + 1)) {
            batch.Stopped = i + 1 < files.size();
            break;
        }
    }
    if (!moved.empty()) document->SetText(IntToStr(last));
    Record(*document, moved, journal, batch);
    return batch;
}

// Writes the list, and removes the pending list that it makes whole. When the list
// cannot be written, the moved files go back, and the pending list stays for those that
// cannot.
void TRemovedFileStore::Record(const TkepXMLParser2& document, const TMovedFiles& moved,
                               TStoreJournal& journal, TStoreBatch& batch) {
    try {
        if (!moved.empty()) Save(document);
    } catch (const Exception& e) {
        batch.Stored.clear();
        batch.Failures.push_back(
            Format("\"%s\" could not be written, so no file was stored: %s", ListName, e.what()));
        return Unstore(moved, batch.Failures);
    }
    try {
        journal.Remove();
    } catch (const EStoreError& e) {
        batch.Failures.push_back(e.what());
    }
    if (!moved.empty() && OnStored) OnStored();
}

void TRemovedFileStore::Unstore(const TMovedFiles& moved,
                                std::vector<std::string>& failures) const {
    for (const auto& [original, stored] : moved) {
        const TSafeFileResult back = SafeMoveFile(stored, original);
        if (!back.Done())
            failures.push_back(Format("\"%s\" is left in the store as \"%s\": %s", original.c_str(),
                                      stored.c_str(), back.Text().c_str()));
    }
}

void TRemovedFileStore::MoveToBackupStore(const std::string& fileName,
                                          const std::string& description) {
    const TStoreBatch batch = StoreFiles({fileName}, description);
    if (!batch.Failures.empty()) throw EStoreError(batch.Failures.front());
}

std::vector<TStoredFile> TRemovedFileStore::Records() const {
    std::vector<TStoredFile> records;
    auto document = Load();
    TStoredFile file;
    for (const auto& node : document->Nodes())
        if (ReadRecord(*node, file)) records.push_back(file);
    return records;
}

void TRemovedFileStore::Restore(int number) {
    auto document = Load();
    TStoredFile file;
    TkepXMLNode2* record = nullptr;
    for (const auto& node : document->Nodes())
        if (ReadRecord(*node, file) && file.Number == number) {
            record = node.get();
            break;
        }
    if (!record) throw EStoreRecordGone(Format("The store holds no file number %d.", number));
    const std::string stored = StoredPath(file);
    const std::string folder = ExtractFilePath(file.OriginalPath);
    if (!DirectoryExists(folder) && !ForceDirectories(folder))
        throw EStoreError(Format("The folder \"%s\" could not be created: %s", folder.c_str(),
                                 SysErrorMessage(GetLastError()).c_str()));
    const TSafeFileResult moved = SafeMoveFile(stored, file.OriginalPath);
    if (moved.NotFound() && !FileExists(stored)) {
        try {
            Forget(*document, record);
        } catch (const Exception& e) {
            throw EStoreError(
                Format("\"%s\" is no longer in the store, and \"%s\" could not be written: %s",
                       stored.c_str(), ListName, e.what()));
        }
        throw EStoreRecordGone(
            Format("\"%s\" is no longer in the store; its record was removed.", stored.c_str()));
    }
    if (!moved.Done())
        throw EStoreError(Format("\"%s\" could not be restored: %s", file.OriginalPath.c_str(),
                                 moved.Text().c_str()));
    try {
        Forget(*document, record);
    } catch (const Exception& e) {
        SafeMoveFile(file.OriginalPath, stored);
        throw EStoreError(Format("\"%s\" could not be written, so \"%s\" stays in the store: %s",
                                 ListName, file.OriginalPath.c_str(), e.what()));
    }
}

// Removes the record and writes the list.
void TRemovedFileStore::Forget(TkepXMLParser2& document, TkepXMLNode2* record) const {
    document.DeleteNode(record);
    if (document.NodeCount() == 0) document.SetText("0");
    Save(document);
}

void TRemovedFileStore::Recover() {
    if (TStoreJournal(FPendingFile).Exists()) (void)Load();
}

void TRemovedFileStore::Clear() {
    (void)Load(); // a damaged list is set aside, not overwritten
    TkepXMLParser2 document;
    document.SetName("Remover");
    document.SetText("0");
    Save(document);
}
