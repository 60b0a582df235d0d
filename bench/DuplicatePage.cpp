// The "Duplicate" tab of a window on screen, with the files planted in <folder>:
//   bench_DuplicatePage plain <folder>   5,000 pairs of copies (10,000 files); a plain
//                                        loop of link-safe deletes of one file of each
//                                        pair, in seconds
//   bench_DuplicatePage delall <folder>  the same pairs searched (untimed), then "Del
//                                        &All" over the 10,000 rows, in seconds
//   bench_DuplicatePage search <folder>  15,000 files in 10 folders, all listed: the
//                                        longest a message sent to the tab waited
//                                        during the search, in seconds
#include "app/finders/RemovedFileStore.h"
#include "app/pages/DuplicateFinderFrame.h"
#include "bench/BenchSupport.h"
#include "bench/MessageWatcher.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"

namespace {

const int Pairs = 5000, Folders = 10, PerFolder = 1500;

std::string Root(const std::vector<std::string>& args) {
    return IncludeTrailingPathDelimiter(Arg(args, 0));
}

// The copies that "Del &All" deletes: b's, as a is searched first.
std::vector<std::string> PlantPairs(const std::string& root) {
    std::vector<std::string> deleted;
    for (const char* folder : {"a\\", "b\\"}) {
        ForceDirectories(root + folder);
        for (int i = 0; i < Pairs; ++i)
            PlantFile(root + folder + Format("f%05d.dat", i), 100);
    }
    for (int i = 0; i < Pairs; ++i)
        deleted.push_back(root + Format("b\\f%05d.dat", i));
    return deleted;
}

// The tab on a form of its own, searching root with the default options but "Same
// Date Time": the files are planted over several seconds.
struct TPage {
    TForm Form{nullptr};
    TListBox* FolderList;
    TTDuplicateFinder* Finder;
    TRemovedFileStore Store;

    explicit TPage(const std::string& root) : Store(root) {
        Form.SetBounds(0, 0, 700, 560);
        FolderList = new TListBox(&Form);
        FolderList->SetParent(&Form);
        FolderList->SetVisible(false);
        Finder = new TTDuplicateFinder(&Form);
        Finder->SetParent(&Form);
        Finder->Folders = FolderList;
        Finder->Store = &Store;
        Finder->StoreFolder = root + "Backup\\";
        Finder->DupDT_CheckBox->SetChecked(false);
        Form.Show();
    }
    void Search(const std::vector<std::string>& folders) {
        for (const std::string& folder : folders)
            FolderList->Items().Add(folder);
        Finder->SearchClick();
        while (Finder->SearchButton->Caption() != "&Search")
            Application->HandleMessage();
    }
};

double Plain(const std::vector<std::string>& args) {
    const std::vector<std::string> files = PlantPairs(Root(args));
    return Seconds([&] {
        for (const std::string& file : files)
            if (!SafeDeleteFile(file).Done()) throw std::runtime_error(file + " was not deleted");
    });
}

double DelAll(const std::vector<std::string>& args) {
    const std::vector<std::string> files = PlantPairs(Root(args));
    Application->Initialize();
    TPage page(Root(args));
    page.Search({Root(args) + "a\\", Root(args) + "b\\"});
    if (page.Finder->FilesList->Count() != 2 * Pairs)
        throw std::runtime_error("the search listed " + IntToStr(page.Finder->FilesList->Count()));
    const double seconds = Seconds([&] { page.Finder->DelAllClick(); });
    if (page.Finder->FilesList->Count() != Pairs)
        throw std::runtime_error("rows left: " + IntToStr(page.Finder->FilesList->Count()));
    for (const std::string& file : files)
        if (FileExists(file)) throw std::runtime_error(file + " is still there");
    std::fprintf(stderr, "%d rows, %d files deleted in %.3f s\n", 2 * Pairs, Pairs, seconds);
    return seconds;
}

double Search(const std::vector<std::string>& args) {
    const std::string root = Root(args);
    std::vector<std::string> folders;
    for (int f = 0; f < Folders; ++f) {
        folders.push_back(root + Format("d%02d\\", f));
        ForceDirectories(folders.back());
        for (int i = 0; i < PerFolder; ++i)
            PlantFile(folders.back() + Format("f%05d.dat", i), 100);
    }
    Application->Initialize();
    TPage page(root);
    HWND window = page.Finder->Handle();
    TMessageWatcher watcher([window] { return window; });
    const double seconds = Seconds([&] { page.Search(folders); });
    const double longest = watcher.Stop();
    const int rows = page.Finder->FilesList->Count();
    std::fprintf(stderr, "%d rows in %.3f s; longest wait %.3f s\n", rows, seconds, longest);
    if (rows != Folders * PerFolder) throw std::runtime_error("rows listed: " + IntToStr(rows));
    return longest;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"plain", Plain}, {"delall", DelAll}, {"search", Search}},
                   "bench_DuplicatePage plain|delall|search <folder>");
}
