#include "app/finders/RemovedFileStore.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "components/XmlParser/XmlParser.h"
#include <unordered_set>

namespace {

const char* const ListName = "Backup.xml";

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

bool ReadRecord(const TkepXMLNode2& node, TStoredFile& file) {
    if (node.Name() != "Deleted" || node.NodeCount() < 3) return false;
    file.Description = node.GetNode(0)->Text();
    file.OriginalPath = node.GetNode(1)->Text();
    file.Time = node.GetNode(2)->Text();
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

} // namespace

TRemovedFileStore::TRemovedFileStore(const std::string& appDir)
    : FListFile(appDir + ListName), FStoreDir(appDir + "Backup\\") {}

std::string TRemovedFileStore::StoredPath(const TStoredFile& file) const {
    return FStoreDir + ExtractFileName(file.OriginalPath) + "." + IntToStr(file.Number);
}

// A missing list is an empty store. A damaged one is moved aside and the operation
// refused, so it is never overwritten.
std::unique_ptr<TkepXMLParser2> TRemovedFileStore::Load() const {
    auto document = std::make_unique<TkepXMLParser2>();
    document->SetName("Remover");
    document->SetText("0");
    if (!FileExists(FListFile)) return document;
    bool damaged = false;
    try {
        document->LoadFromFile(FListFile);
        int last = 0;
        damaged = !document->LastError().empty() || document->Name() != "Remover" ||
                  !ReadNumber(document->Text(), last);
    } catch (const EkepXMLError&) {
        damaged = true;
    } catch (const Exception& e) {
        throw EStoreError(Format("\"%s\" cannot be read: %s", ListName, e.what()));
    }
    if (!damaged) return document;
    const std::string aside = FListFile + ".bad";
    if (SafeMoveFile(FListFile, aside).Done())
        throw EStoreDamaged(
            Format("\"%s\" is damaged. It was kept as \"%s.bad\"; nothing was changed.", ListName,
                   ListName));
    throw EStoreDamaged(
        Format("\"%s\" is damaged and was left as it is; nothing was changed.", ListName));
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
TSafeFileResult TRemovedFileStore::MoveIn(TStoredFile& file, int last,
                                          std::unordered_set<std::string>& taken) const {
    const std::string name = ExtractFileName(file.OriginalPath);
    for (int tries = 0;; ++tries) {
        file.Number = NextFreeNumber(last, name, taken);
        const TSafeFileResult moved = SafeMoveFile(file.OriginalPath, StoredPath(file));
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
    std::vector<std::pair<std::string, std::string>> moved; // original, stored
    for (size_t i = 0; i < files.size(); ++i) {
        TStoredFile file;
        file.OriginalPath = files[i];
        file.Description = description;
        const TSafeFileResult result = MoveIn(file, last, taken);
        if (result.Done()) {
            file.Time = DateTimeToStr(Now());
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
    if (moved.empty()) return batch;
    document->SetText(IntToStr(last));
    try {
        Save(*document);
    } catch (const Exception& e) {
        batch.Stored.clear();
        batch.Failures.push_back(
            Format("\"%s\" could not be written, so no file was stored: %s", ListName, e.what()));
        Unstore(moved, batch.Failures);
        return batch;
    }
    if (OnStored) OnStored();
    return batch;
}

void TRemovedFileStore::Unstore(const std::vector<std::pair<std::string, std::string>>& moved,
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

void TRemovedFileStore::Clear() {
    (void)Load(); // a damaged list is set aside, not overwritten
    TkepXMLParser2 document;
    document.SetName("Remover");
    document.SetText("0");
    Save(document);
}
