// Stores 1,000 files and prints the milliseconds per file. scripts/bench-store runs the
// two sides in turn under the same Wine, each in a fresh program folder <folder>:
//   bench_store plain <folder>  a plain loop of link-safe moves into "Backup", then one
//                               write of "Backup.xml" holding their records
//   bench_store store <folder>  the finders' "&Delete": the whole selection stored
//                               under the progress window
//   bench_store batch <folder>  the same batch without the window, for comparison
#include "app/finders/RemovedFileStore.h"
#include "app/pages/StoreRun.h"
#include "bench/BenchSupport.h"
#include "classlib/base/DateUtils.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "components/XmlParser/XmlParser.h"
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

const int Files = 1000;

// The files to store, planted in <folder>data\, untimed.
std::vector<std::string> Plant(const std::string& folder) {
    ForceDirectories(folder + "data");
    ForceDirectories(folder + "Backup");
    std::vector<std::string> files;
    for (int i = 0; i < Files; ++i) {
        files.push_back(folder + "data\\file" + IntToStr(i) + ".tmp");
        PlantFile(files.back(), 100);
    }
    return files;
}

void AddText(TkepXMLNode2& parent, const char* name, const std::string& text) {
    auto node = std::make_unique<TkepXMLNode2>();
    node->SetName(name);
    node->SetText(text);
    parent.AddNode(std::move(node));
}

double PerFile(double seconds) {
    std::printf("%d files in %.3f s\n", Files, seconds);
    return seconds * 1000 / Files;
}

double Plain(const std::vector<std::string>& args) {
    const std::string folder = IncludeTrailingPathDelimiter(Arg(args, 0));
    const std::vector<std::string> files = Plant(folder);
    return PerFile(Seconds([&] {
        TkepXMLParser2 list;
        list.SetName("Remover");
        for (int i = 0; i < Files; ++i) {
            const std::string number = IntToStr(i + 1);
            if (!SafeMoveFile(files[i],
                              folder + "Backup\\" + ExtractFileName(files[i]) + "." + number)
                     .Done())
                throw std::runtime_error(files[i] + " was not moved");
            auto record = std::make_unique<TkepXMLNode2>();
            record->SetName("Deleted");
            record->SetText(number);
            AddText(*record, "Description", "Junk File");
            AddText(*record, "oFile", files[i]);
            AddText(*record, "dt", DateTimeToStr(Now()));
            list.AddNode(std::move(record));
        }
        list.SetText(IntToStr(Files));
        list.SaveToFile(folder + "Backup.xml");
    }));
}

double Store(const std::vector<std::string>& args) {
    const std::string folder = IncludeTrailingPathDelimiter(Arg(args, 0));
    const std::vector<std::string> files = Plant(folder);
    Application->Initialize();
    TForm form(nullptr);
    TRemovedFileStore store(folder);
    TStoreBatch batch;
    const double seconds =
        Seconds([&] { batch = StoreWithProgress(store, files, "Junk File", &form); });
    if (batch.Stored.size() != files.size() || store.Records().size() != files.size())
        throw std::runtime_error("not every file was stored");
    return PerFile(seconds);
}

double Batch(const std::vector<std::string>& args) {
    const std::string folder = IncludeTrailingPathDelimiter(Arg(args, 0));
    const std::vector<std::string> files = Plant(folder);
    TRemovedFileStore store(folder);
    return PerFile(Seconds([&] { store.StoreFiles(files, "Junk File"); }));
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"plain", Plain}, {"store", Store}, {"batch", Batch}},
                   "bench_store plain|store <folder>");
}
