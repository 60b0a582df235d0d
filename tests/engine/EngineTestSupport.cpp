#include "engine/EngineTestSupport.h"
#include "classlib/base/Registry.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include "engine/tools/PcBoot.h"
#include <shlobj.h>

TTestEngine::TTestEngine() {
    // Beside the test program would be a Unix path outside the prefix.
    MakeFolder("C:\\twtest");
    PostEraser.FileName = "C:\\twtest\\posterase.dat";
    OnProgress = [this](TEraser*, const std::string& msg) { Log.push_back(msg); };
    OnAskToCloseBrowsers = [this](const std::string& text) {
        Questions.push_back(text);
        return AnswerYes;
    };
    OnRebootNotice = [this](const std::string& text) { Notices.push_back(text); };
    ExitWindowsCall = [this](UINT) {
        ++Restarts;
        return TRUE;
    };
}

TTestEngine::~TTestEngine() {
    ExitWindowsCall = PlatformExitWindows;
    PostEraser.UnregisterRunOnce();
}

void TTestEngine::EnableOnly(std::initializer_list<TCatalogueItem> items) {
    for (TEraser* eraser : Erasers)
        eraser->Enabled = false;
    for (TCatalogueItem item : items)
        Item(item).Enabled = true;
}

std::vector<std::string> TTestEngine::Run(bool simulation) {
    Log.clear();
    SimulationMode = simulation;
    Clean();
    return Log;
}

std::vector<std::string> OpeningLines() {
    return {"Initializing   Tarnwhistle...", "", "  Tarnwhistle  Ready...", ""};
}

std::vector<std::string> ItemLines(TCatalogueItem item) {
    const std::string caption = Catalogue[item].Caption;
    return {"Erasing " + caption + "...", caption + " Erased.", ""};
}

std::vector<std::string> ClosingLines(int keys, int values, int folders, int files,
                                      const std::string& space) {
    const std::string rule(51, '=');
    return {"Cleaning Completed!",
            "",
            "Cleaning Summary:",
            rule,
            "Registry:",
            "      Registry Keys Erased    - " + IntToStr(keys),
            "      Registry Values Erased  - " + IntToStr(values),
            "",
            "Folders and Files:",
            "      Folder Erased          - " + IntToStr(folders),
            "      Files Erased           - " + IntToStr(files),
            rule,
            "Released Disk Space           - " + space,
            rule};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::string> RunLog(std::initializer_list<TCatalogueItem> items, int keys, int values,
                                int folders, int files, const std::string& space) {
    std::vector<std::string> log = OpeningLines();
    for (TCatalogueItem item : items)
        log = Concat({log, ItemLines(item)});
    return Concat({log, ClosingLines(keys, values, folders, files, space)});
}

std::string SpecialFolderOf(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return ExcludeTrailingPathDelimiter(path);
}

std::string TestFolder(const std::string& name) {
    const std::string folder = "C:\\twtest\\" + name;
    RemoveTree(folder);
    MakeFolder(folder);
    return folder;
}

void PlantFile(const std::string& path, const std::string& content) {
    MakeFolder(ExtractFileDir(path));
    WriteStringToFile(path, content);
}

void WriteRegString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value) {
    TRegistry reg;
    reg.RootKey = root;
    reg.OpenKey(key, true);
    reg.WriteString(name, value);
}

void WriteRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    TRegistry reg;
    reg.RootKey = root;
    reg.OpenKey(key, true);
    reg.WriteInteger(name, static_cast<int>(value));
}

bool RegValueExists(HKEY root, const std::string& key, const std::string& name) {
    TRegistry reg;
    reg.RootKey = root;
    return reg.OpenKey(key, false) && reg.ValueExists(name);
}

bool RegKeyExists(HKEY root, const std::string& key) {
    TRegistry reg;
    reg.RootKey = root;
    return reg.OpenKey(key, false);
}

std::string ReadRegString(HKEY root, const std::string& key, const std::string& name) {
    TRegistry reg;
    reg.RootKey = root;
    return reg.OpenKey(key, false) ? reg.ReadString(name) : "";
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& key) {
    TRegistry reg;
    reg.RootKey = root;
    return reg.OpenKey(key, false) ? reg.GetValueNames() : std::vector<std::string>{};
}

void DeleteRegKey(HKEY root, const std::string& key) {
    TRegistry reg;
    reg.RootKey = root;
    reg.DeleteKey(key);
}

TVersionOverride::TVersionOverride(bool nt, DWORD major, DWORD minor) {
    OSVersionQuery = [=] {
        TOSVersion v;
        v.Major = nt ? major : 4;
        v.Minor = nt ? minor : 10;
        v.PlatformId = nt ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
        return v;
    };
}

TVersionOverride::~TVersionOverride() {
    OSVersionQuery = QueryPlatformVersion;
}
