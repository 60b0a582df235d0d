#include "app/finders/StoreJournal.h"
#include "app/finders/RemovedFileStore.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include <map>

// A line: number, description, time and original path, separated by tabs, which no
// path holds; "-number" takes a number back.
void TStoreJournal::Add(const TStoredFile& file) {
    Append(Format("%d\t%s\t%s\t%s\r\n", file.Number, file.Description.c_str(), file.Time.c_str(),
                  file.OriginalPath.c_str()));
}

void TStoreJournal::Cancel(int number) {
    Append(Format("-%d\r\n", number));
}

// One write per line: a kill never leaves half of one behind a whole one.
void TStoreJournal::Append(const std::string& line) {
    if (!FFile) {
        FFile.Reset(CreateFileW(ToWide(FPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!FFile) RaiseLastOSError();
    }
    DWORD written = 0;
    if (!WriteFile(FFile.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        RaiseLastOSError();
}

std::vector<TStoredFile> TStoreJournal::Read() const {
    std::map<int, size_t> index; // number -> place in records
    std::vector<TStoredFile> records;
    const std::string text = ReadFileToString(FPath);
    size_t end = 0;
    for (size_t start = 0; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::vector<std::string> fields = SplitString(text.substr(start, end - start), '\t');
        const bool cancel = !fields.empty() && fields[0].starts_with('-');
        const int number = fields.empty() ? 0 : StrToIntDef(fields[0].substr(cancel ? 1 : 0), 0);
        if (number <= 0) continue;
        if (cancel) {
            if (auto it = index.find(number); it != index.end()) records[it->second].Number = 0;
        } else if (fields.size() == 4) {
            index[number] = records.size();
            records.push_back({number, fields[1], fields[3], fields[2]});
        }
    }
    std::erase_if(records, [](const TStoredFile& file) { return file.Number == 0; });
    return records;
}

bool TStoreJournal::Exists() const {
    return FileExists(FPath);
}

void TStoreJournal::Remove() {
    FFile.Reset();
    const TSafeFileResult removed = SafeDeleteFile(FPath);
    if (!removed.Done() && !removed.NotFound())
        throw EStoreError(
            Format("\"%s\" could not be removed: %s", FPath.c_str(), removed.Text().c_str()));
}
