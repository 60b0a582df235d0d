// The collect and after-erase routines of the 21 Windows items.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SysUtils.h"
#include "engine/EraserEngine.h"
#include "engine/SharedRoutines.h"
#include "engine/catalogue/CatalogueHelpers.h"
#include "engine/catalogue/OfficeAutomation.h"
#include "engine/erasers/PostEraser.h"

namespace {

const char* const ExplorerKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char* const MemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const char* const ClearPageFileValue = "ClearPageFileAtShutdown";
const char* const AutoexecBat = "c:\\autoexec.bat";

std::string MRUValueName(int i) {
    return IsWindowsNT() ? Format("%03d", i) : std::string(1, static_cast<char>('a' + i));
}

std::unique_ptr<TPostEraserItem> DeferredItem(uint8_t type) {
    auto item = std::make_unique<TPostEraserItem>();
    item->Type = type;
    return item;
}

} // namespace

void TEraserEngine::BindWindowsItems() {
    FileItem(ciEraseStartMenuRecentDocuments)
        .AddFolder(SpecialFolder(CSIDL_RECENT), "*.*", true, true);
    RegistryItem(ciEraseRunHistory).AddKey(HKEY_CURRENT_USER, std::string(ExplorerKey) + "RunMRU");
    BindRegistry(ciEraseFindComputer, &TEraserEngine::CollectFindComputer);
    BindRegistry(ciEraseFindFilesFolders, &TEraserEngine::CollectFindFilesFolders);
    BindRegistry(ciEraseWindowsOpenSaveHistory, &TEraserEngine::CollectOpenSaveHistory);
    BindRegistry(ciEraseRegistryStreams, &TEraserEngine::CollectRegistryStreams);
    BindFiles(ciEraseWindowsClipboard, &TEraserEngine::CollectClipboard);
    BindFiles(ciEraseRecycleBin, &TEraserEngine::CollectRecycleBin);
    TEraseFiles& temp = FileItem(ciEraseWindowsTemp);
    temp.AddFolder(GetTempDir(), "*.*", true, true);
    temp.AddFolder(GetWindowsTempDir(), "*.*", true, true);
    BindFiles(ciEraseWindowsSWAP, &TEraserEngine::CollectSwapFile);
    BindFiles(ciEraseScanDiskFiles, &TEraserEngine::CollectScanDiskFiles);
    const std::string applets = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\";
    RegistryItem(ciErasePaintRecentFileList)
        .AddKey(HKEY_CURRENT_USER, applets + "Paint\\Recent File List");
    RegistryItem(ciEraseWordpadRecentFileList)
        .AddKey(HKEY_CURRENT_USER, applets + "Wordpad\\Recent File List");
    RegistryItem(ciEraseMediaPlayerRecentFileList)
        .AddKey(HKEY_CURRENT_USER, "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList");
    BindFiles(ciEraseMediaPlayerPlaylists, &TEraserEngine::CollectMediaPlayerPlaylists);
    BindFiles(ciEraseApplicationLog, &TEraserEngine::CollectApplicationLog);
    BindFiles(ciEraseMSOfficeHistory, &TEraserEngine::CollectOfficeHistory);
    FileItem(ciEraseMSOfficeHistory).OnAfterErase = [this](TEraser* sender) {
        ClearOfficeRecentLists(*static_cast<TEraseFiles*>(sender));
    };
    BindRegistry(ciEraseStartMenuClickHistory, &TEraserEngine::CollectStartMenuClickHistory);
    BindRegistry(ciEraseStartMenuOrderHistory, &TEraserEngine::CollectStartMenuOrderHistory);
    BindFiles(ciEraseRegistryBackups, &TEraserEngine::CollectRegistryBackups);
    BindFiles(ciEraseRegistryFragmentFiles, &TEraserEngine::CollectRegistryFragments);
}

void TEraserEngine::CollectFindComputer(TEraseRegistry& sender) {
    CollectMRUValues(sender, IsWindowsNT() ? "\\Software\\Microsoft\\Search Assistant\\ACMru\\5647"
                                           : std::string(ExplorerKey) + "FindComputerMRU");
}

void TEraserEngine::CollectFindFilesFolders(TEraseRegistry& sender) {
    CollectMRUValues(sender, IsWindowsNT() ? "\\Software\\Microsoft\\Search Assistant\\ACMru\\5603"
                                           : std::string(ExplorerKey) + "Doc Find Spec MRU");
}

// "MRUList", then the numbered values up to the first gap.
void TEraserEngine::CollectMRUValues(TEraseRegistry& sender, const std::string& key) {
    sender.AddValue(HKEY_CURRENT_USER, key, "MRUList");
    for (int i = 0;; ++i) {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        if (!reg.OpenKey(key, false)) return;
        const std::string name = MRUValueName(i);
        if (!reg.ValueExists(name)) return;
        sender.AddValue(HKEY_CURRENT_USER, key, name);
    }
}

void TEraserEngine::CollectOpenSaveHistory(TEraseRegistry& sender) {
    if (!IsWindowsNT()) return;
    const std::string key = std::string(ExplorerKey) + "ComDlg32\\OpenSaveMRU\\";
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    if (!reg.OpenKey(key, false)) return;
    for (const std::string& sub : reg.GetKeyNames())
        sender.AddKey(HKEY_CURRENT_USER, key + sub);
    for (const std::string& value : reg.GetValueNames())
        sender.AddValue(HKEY_CURRENT_USER, key, value);
}

void TEraserEngine::CollectRegistryStreams(TEraseRegistry& sender) {
    const std::string key = std::string(ExplorerKey) + "StreamMRU\\";
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    if (!reg.OpenKey(key, false)) return;
    for (const std::string& value : reg.GetValueNames())
        sender.AddValue(HKEY_CURRENT_USER, key, value);
}

void TEraserEngine::CollectClipboard(TEraseFiles&) {
    if (SimulationMode) return;
    if (OpenClipboard(MainWindow())) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void TEraserEngine::CollectRecycleBin(TEraseFiles& sender) {
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        const std::string folder = std::string(1, drive) + ":\\Recycled\\";
        if (DirectoryExists(folder)) sender.AddFolder(folder, "*.*", true, true);
    }
}

// The swap file goes at the next start; the deferred item undoes the change.
void TEraserEngine::CollectSwapFile(TEraseFiles&) {
    if (SimulationMode) return;
    if (!IsWindowsNT()) {
        const std::string line =
            "del " + IncludeTrailingPathDelimiter(GetShortPath(GetWindowsDir())) + "win386.swp";
        TStringList lines;
        lines.LoadFromFile(AutoexecBat);
        lines.Add(line);
        lines.SaveToFile(AutoexecBat);
        auto item = DeferredItem(ptRemoveLine);
        item->FileName = AutoexecBat;
        item->BATLine = line;
        PostEraser.Add(std::move(item));
        return;
    }
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    if (!reg.OpenKey(MemoryManagementKey, false)) return;
    reg.WriteInteger(ClearPageFileValue, 1);
    reg.CloseKey();
    auto item = DeferredItem(ptWriteInteger);
    item->RootKey = HKEY_LOCAL_MACHINE;
    item->Key = MemoryManagementKey;
    item->ValueName = ClearPageFileValue;
    item->ValueData = IntToStr(0);
    PostEraser.Add(std::move(item));
}

void TEraserEngine::CollectScanDiskFiles(TEraseFiles& sender) {
    sender.AddExclude("edb.chk");
    sender.AddExclude("softokn3.chk");
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        const std::string root = std::string(1, drive) + ":\\";
        if (GetDriveKind(root) == DRIVE_FIXED) sender.CollectFiles(root, "*.chk", nullptr, true);
    }
}

void TEraserEngine::CollectMediaPlayerPlaylists(TEraseFiles& sender) {
    const std::string index = IncludeTrailingPathDelimiter(GetWindowsDir()) +
                              "All Users\\Application Data\\Microsoft\\Media Index\\";
    sender.AddFolder(index, "*.*", true, true);
    sender.AddFile(index + "wmplibrary_v_0_12.db");
    sender.AddFile(index + "wmplibrary_v_0_12.lrd");
    const auto folder = [&](int csidl, const char* relative, const char* mask) {
        sender.AddFolder(SpecialSubfolder(csidl, relative), mask, true, true);
    };
    folder(CSIDL_PERSONAL, "My Music\\My Playlists\\", "*.wpl");
    folder(CSIDL_PERSONAL, "Microsoft\\Media Player\\", "*.*");
    folder(CSIDL_PERSONAL, "Microsoft\\Media Index\\", "*.*");
    folder(CSIDL_COMMON_APPDATA, "Microsoft\\Media Index\\", "*.*");
    folder(CSIDL_COMMON_APPDATA, "Microsoft\\Media Player\\", "*.*");
}

void TEraserEngine::CollectApplicationLog(TEraseFiles& sender) {
    sender.AddFile(IncludeTrailingPathDelimiter(GetSystemDir()) + "config\\AppEvent.Evt");
}

// The Office folder of recent files, then the Recent folder's shortcuts to Office
// documents. A shortcut that cannot be read is skipped, not the whole item.
void TEraserEngine::CollectOfficeHistory(TEraseFiles& sender) {
    sender.AddFolder(SpecialSubfolder(CSIDL_APPDATA, "Microsoft\\Office\\Recent\\"), "*.*", true,
                     true);
    const std::string recent = SpecialSubfolder(CSIDL_RECENT, "");
    if (recent.empty()) return;
    for (const auto& entry : ListFiles(recent, "*.lnk")) {
        TShortcutInfo info;
        try {
            ReadShortcut(recent + entry.S, info);
        } catch (const Exception&) {
            continue;
        }
        if (IsOfficeDocument(info.Path)) sender.AddFile(recent + entry.S);
    }
}

void TEraserEngine::ClearOfficeRecentLists(TEraseFiles&) {
    if (SimulationMode) return;
    ClearRecentFiles("Word.Application");
    ClearRecentFiles("Excel.Application");
}

void TEraserEngine::CollectStartMenuClickHistory(TEraseRegistry& sender) {
    sender.AddKey(
        HKEY_CURRENT_USER,
        "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2");
    // An empty deletion, only so that a next-start run is registered.
    if (!SimulationMode) PostEraser.Add(DeferredItem(ptDeleteFile));
}

void TEraserEngine::CollectStartMenuOrderHistory(TEraseRegistry& sender) {
    sender.AddKey(HKEY_CURRENT_USER,
                  "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist");
}

void TEraserEngine::CollectRegistryBackups(TEraseFiles& sender) {
    const std::string windows = IncludeTrailingPathDelimiter(GetWindowsDir());
    if (IsWindowsNT5())
        sender.AddFolder(windows + "repair\\", "*.", true, true);
    else
        sender.AddFolder(windows + "Sysbckup\\", "rb*.", true, true);
}

// File by file: a folder item would also remove every empty folder of the Windows
// tree (its "Temp" folder that item 9 has just emptied, among others).
void TEraserEngine::CollectRegistryFragments(TEraseFiles& sender) {
    sender.CollectFiles(GetWindowsDir(), "*.reg", nullptr, true);
}
