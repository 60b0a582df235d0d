#pragma once
// The program's one cleaning engine: the 46-item catalogue in run order, the
// tool objects stored beside the items in "prefs.dat", the cleaning run and the
// commands the main window, its hot keys, tray menu and scheduler call.
// Main thread only; a run pumps messages, so Stop and the toggles may arrive
// in the middle of it.
#include "classlib/base/XMLDoc.h"
#include "engine/CustomEraserEngine.h"
#include "engine/catalogue/Catalogue.h"
#include "engine/erasers/EraseFiles.h"
#include "engine/erasers/EraseRegistry.h"
#include "engine/tools/Misc.h"
#include "engine/tools/PcBoot.h"
#include "engine/tools/PluginManager.h"
#include "engine/tools/Scheduler.h"
#include "engine/wipe/Shredder.h"
#include <array>
#include <memory>
#include <string>
#include <vector>

class TEraserEngine : public TCustomEraserEngine {
public:
    TEraserEngine();
    ~TEraserEngine() override;

    bool StealthHidden = false;
    bool BrowsersShown = true;
    bool StartInSystemTray = false;
    bool AutoCleanAtWindowsStart = false;
    bool AutoCleanAtWindowsShutdown = false;
    bool ShowRebootNotice = true;
    std::string AccessPassword;

    // Owned; declared in reverse order of their freeing, which follows the erasers'.
    std::unique_ptr<TScheduler> Scheduler;
    std::unique_ptr<TMisc> Misc;
    std::unique_ptr<TPluginManager> PluginManager;
    std::unique_ptr<TShredder> Shredder;

    [[nodiscard]] TEraser& Item(TCatalogueItem item) const { return *FItems[item]; }
    [[nodiscard]] TEraseFiles& FileItem(TCatalogueItem item) const;
    [[nodiscard]] TEraseRegistry& RegistryItem(TCatalogueItem item) const;

    // The cleaning run and its variants; each returns at once while a run is going.
    void Clean();
    void CleanAndReboot();
    void CleanAndShutdown();
    void Stop() { Cancelled = true; }
    // Hide or show the program, or every browser window; each only while its
    // switch in Misc is on. The stealth toggle then sends the main window
    // WM_HIDETRAYICON or WM_SHOWTRAYICON and waits for it to handle the message.
    void ToggleStealthMode();
    static constexpr UINT WM_SHOWTRAYICON = 2025;
    static constexpr UINT WM_HIDETRAYICON = 2026;
    void ToggleBossKey();
    // Shows the browsers the boss key hid, whatever the switch now says: the program is
    // ending and nothing could show them again.
    void ShowHiddenBrowsers();
    // The run's Yes/No question whether to close the listed browsers before it goes
    // on; true on Yes. Unset, the answer is No: nothing is closed. Main thread.
    std::function<bool(const std::string& text)> OnAskToCloseBrowsers;
    // The run's notice that deferred work waits for the next start of Windows, shown
    // with an OK button. Unset, nothing is shown. Main thread.
    std::function<void(const std::string& text)> OnRebootNotice;
    void EmptyRecycleBin();
    // On only while the program's value is still under the user's "Run" key: the
    // startup manager may have parked or deleted it since.
    [[nodiscard]] bool GetLoadAtStartup() const;
    // Writes or removes the program's value under the user's "Run" key (creating the
    // key); false, with the option unchanged, when the registry refuses.
    bool SetLoadAtStartup(bool value);
    static const char* const LoadAtStartupFailed; // the message when writing it failed

    void LoadSettings(const std::string& fileName);
    void SaveSettings(const std::string& fileName);

    // Collect routines the keep dialogs also call, to list what a clean would erase.
    void CollectIECookies(TEraseFiles& sender);
    void CollectIETypedURLs(TEraseRegistry& sender);

private:
    void BindWindowsItems();
    void BindBrowserItems();
    void BindFiles(TCatalogueItem item, void (TEraserEngine::*collect)(TEraseFiles&));
    void BindRegistry(TCatalogueItem item, void (TEraserEngine::*collect)(TEraseRegistry&));

    // Windows items.
    void CollectFindComputer(TEraseRegistry& sender);
    void CollectFindFilesFolders(TEraseRegistry& sender);
    void CollectMRUValues(TEraseRegistry& sender, const std::string& key);
    void CollectOpenSaveHistory(TEraseRegistry& sender);
    void CollectRegistryStreams(TEraseRegistry& sender);
    void CollectClipboard(TEraseFiles& sender);
    void CollectRecycleBin(TEraseFiles& sender);
    void CollectSwapFile(TEraseFiles& sender);
    void CollectScanDiskFiles(TEraseFiles& sender);
    void CollectMediaPlayerPlaylists(TEraseFiles& sender);
    void CollectApplicationLog(TEraseFiles& sender);
    void CollectOfficeHistory(TEraseFiles& sender);
    void ClearOfficeRecentLists(TEraseFiles& sender);
    void CollectStartMenuClickHistory(TEraseRegistry& sender);
    void CollectStartMenuOrderHistory(TEraseRegistry& sender);
    void CollectRegistryBackups(TEraseFiles& sender);
    void CollectRegistryFragments(TEraseFiles& sender);

    // Browser items.
    void CollectIECache(TEraseFiles& sender);
    void CollectIEHistory(TEraseFiles& sender);
    void RenumberTypedURLs(TEraseRegistry& sender);
    void CollectIEIndexDat(TEraseFiles& sender);
    void ClearAutoComplete(const char* buttonCaption);
    void CollectDownloadedProgramFiles(TEraseFiles& sender);
    void CollectFavorites(TEraseFiles& sender);
    void CollectNothing(TEraseFiles& sender);
    // Profile items: every folder below the application-data folder's Root that
    // holds the marker file, in the order found.
    void BindProfileFolder(TCatalogueItem item, const char* root, const char* marker,
                           const char* folder);
    void BindProfileFiles(TCatalogueItem item, const char* root, const char* marker,
                          std::vector<const char*> fileNames, const char* folder = nullptr);
    [[nodiscard]] std::vector<std::string> FindProfiles(TEraseFiles& sender, const char* root,
                                                        const char* marker);

    // The main window, which Misc holds for its hot keys; nullptr before it is set.
    [[nodiscard]] HWND MainWindow() const { return Misc->HotKeyWindow; }

    // The run.
    void WriteOpeningLines();
    void OfferToCloseBrowsers();
    void WriteSummary();
    void DropDeferredDeletions(int firstOfRun);
    void RestartWindows(TBootType type);
    void SaveDeferredWork();

    // Settings.
    void KeepDamagedSettings(const std::string& fileName);
    void SaveGroup(TXMLNode parent, TCatalogueGroup group) const;

    bool FLoadAtStartup = false;
    std::array<std::unique_ptr<TEraser>, ciCatalogueCount> FItems;
};
