// Backs up the five registry root keys and prints the seconds it took.
// scripts/bench-regbackup runs the two sides in turn under the same Wine.
//   bench_registry_backup page <folder>    the registry backup page's Backup, less
//                                          the five one-second pauses it gives
//   bench_registry_backup direct <folder>  the same five "regedit /e" calls, each
//                                          after a pause of one second, less the
//                                          pauses
#include "app/pages/RegistryBackupPage.h"
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include <cstdio>
#include <stdexcept>

namespace {

const char* const RootKeys[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
const double Pauses = 5.0; // one second before each export

// Throws unless the folder holds the five exports.
void CheckExports(const std::string& folder) {
    for (const char* key : RootKeys)
        if (!FileExists(IncludeTrailingPathDelimiter(folder) + key + ".reg"))
            throw std::runtime_error(folder + " has no export of " + key);
}

double Page(const std::vector<std::string>& args) {
    const std::string folder = IncludeTrailingPathDelimiter(Arg(args, 0));
    Application->Initialize();
    TForm form(nullptr);
    auto* page = new TRegistryBackupPage(&form);
    page->SetParent(&form);
    page->SetUpFolders(folder, folder + "Backup\\");
    // The main thread sleeps until a message comes, as in the program's own loop: a
    // loop polling every 10 ms added 3% to the requests the wineserver served in a run.
    const double seconds = Seconds([&] {
        page->btBackup->Click();
        while (page->ThreadBackup->IsRunning() || !page->btBackup->Enabled()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
            Application->ProcessMessages();
        }
    });
    CheckExports(page->NewBackupDir);
    std::printf("backup through the page: %.3f s with its pauses\n", seconds);
    return seconds - Pauses;
}

// Each call is paced as the backup paces it, one second after the last; the pauses
// are not counted.
double Direct(const std::vector<std::string>& args) {
    const std::wstring folder = ToWide(Arg(args, 0));
    ForceDirectories(Arg(args, 0));
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring regedit = std::wstring(windows) + L"\\regedit.exe";
    double seconds = 0;
    for (const char* key : RootKeys) {
        Sleep(1000);
        const std::wstring name = ToWide(key);
        std::wstring line = L"regedit.exe /e \"" + name + L".reg\" \"" + name + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION pi{};
        seconds += Seconds([&] {
            if (!CreateProcessW(regedit.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.c_str(), &si, &pi))
                throw std::runtime_error("regedit did not start");
            WaitForSingleObject(pi.hProcess, INFINITE);
        });
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CheckExports(Arg(args, 0));
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    return RunSide(argc, argv, {{"page", Page}, {"direct", Direct}},
                   "bench_registry_backup page <folder> | direct <folder>");
}
