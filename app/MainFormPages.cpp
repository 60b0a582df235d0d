#include "app/MainFormPages.h"
#include "app/pages/AboutFrame.h"
#include "app/pages/BrowsersPage.h"
#include "app/pages/FileShredderFrame.h"
#include "app/pages/FreeSpaceShredderFrame.h"
#include "app/pages/InternetExplorerSettingsFrame.h"
#include "app/pages/JunkCleanerPage.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoryPanel.h"
#include "app/pages/MiscShortCutKeysFrame.h"
#include "app/pages/OptionsFrame.h"
#include "app/pages/PasswordManagerFrame.h"
#include "app/pages/PluginsFrame.h"
#include "app/pages/RegistryBackupPage.h"
#include "app/pages/SchedulerFrame.h"
#include "app/pages/StartupManagerFrame.h"
#include "app/pages/WindowsPage.h"

namespace {

template <class T> TPageFrame* Make(TComponent* owner) {
    return new T(owner);
}

// Showing the memory tab starts the panel's monitor.
void StartMemoryPanel(TPageFrame& page) {
    static_cast<TMemoryPanel&>(page).tabMemoryShow();
}

// The options page shows the "Run" entry as it stands each time. A window built
// without its creation step has no engine.
void ShowLoadAtStartup(TPageFrame& page) {
    if (page.Engine) static_cast<TTOptions&>(page).ShowLoadAtStartup();
}

// The Internet Explorer page shows what the registry holds now, not at the start,
// unless it holds changes not yet saved.
void ReadInternetExplorerSettings(TPageFrame& page) {
    auto& settings = static_cast<TTinternetExplorerSettings&>(page);
    if (settings.Engine && settings.ShowsStoredValues()) settings.LoadSettings();
}

constexpr TPageHost Main = TPageHost::Main, Misc = TPageHost::Misc;

const TPageRow Rows[] = {
    {.Sheet = "TabSheet9",
     .Caption = "Main",
     .Host = Main,
     .Make = Make<TMainPage>,
     .MadeAtStart = true,
     .Nav = {"mainCleabButton", "Scan/Erase           ", 0}},
    {.Sheet = "TabSheet1",
     .Caption = "Windows",
     .Host = Main,
     .Make = Make<TWindowsPage>,
     .Nav = {"mainWindowsButton", "Cleaner Settings   ", 1}},
    {"TabSheet2", "Browsers", Main, Make<TBrowsersPage>},
    {.Sheet = "TabSheet7",
     .Caption = "File Shredding",
     .Host = Main,
     .Make = Make<TTFileShredder>,
     .Nav = {"mainShredderButton", "File Shredder          ", 3}},
    {.Sheet = "TabSheet8",
     .Caption = "Clean Free Space",
     .Host = Main,
     .Make = Make<TTFreeSpaceShredder>,
     .Nav = {"mainFreeButton", "Free Space Clean ", 2}},
    {.Sheet = "TabSheet10",
     .Caption = "Plug-ins",
     .Host = Main,
     .Make = Make<TTPlugins>,
     .Nav = {"mainPlugButton", "Plug-ins                  ", 6}},
    {"TabSheet11", "Misc", Main}, // holds pagMisc
    {"tabAbout", "About", Main, Make<TTAbout>},
    // The finders and the store.
    {.Sheet = "Junk_TabSheet",
     .Caption = "Junk",
     .Host = Main,
     .Make = Make<TTJunkCleaner>,
     .Nav = {"mainJunkButton", "Junk Cleaner         ", 5}},
    {.Sheet = "TabSheet12",
     .Caption = "Shortcut Keys",
     .Host = Misc,
     .Make = Make<TTMiscShortCutKeys>,
     .TabAtStart = false,
     .ShownIn = ttUserSettings,
     .HiddenIn = ttPCManager | ttRunOptions,
     .Nav = {"mainMiscButton", "User settings         ", 7, ttUserSettings}},
    {.Sheet = "tabInternetExplorerSettings",
     .Caption = "Internet Explorer",
     .Host = Misc,
     .Make = Make<TTinternetExplorerSettings>,
     .Shown = ReadInternetExplorerSettings,
     .ShownIn = ttUserSettings,
     .HiddenIn = ttPCManager | ttRunOptions,
     // Chosen with its tab hidden: the page control moves on to the startup manager.
     .Nav = {"mainPCManager", "PC Manager          ", 4, ttPCManager}},
    {.Sheet = "tabStartupManager",
     .Caption = "Startup Manager",
     .Host = Misc,
     .Make = Make<TTStartupManager>,
     .ShownIn = ttPCManager,
     .HiddenIn = ttUserSettings | ttRunOptions},
    {.Sheet = "tabPasswordManager",
     .Caption = "Password Manager",
     .Host = Misc,
     .Make = Make<TfraPasswordManager>,
     .ShownIn = ttPCManager,
     .HiddenIn = ttUserSettings | ttRunOptions},
    {.Sheet = "tabMemory",
     .Caption = "Memory Optimization",
     .Host = Misc,
     .Make = Make<TMemoryPanel>,
     .Shown = StartMemoryPanel,
     .ShownIn = ttPCManager,
     .HiddenIn = ttUserSettings | ttRunOptions},
    {.Sheet = "tabRegistryBackup",
     .Caption = "Registry Backup",
     .Host = Misc,
     .Make = Make<TRegistryBackupPage>,
     .TabAtStart = false,
     .ShownIn = ttPCManager,
     .HiddenIn = ttUserSettings},
    {.Sheet = "tabOptions",
     .Caption = "Options",
     .Host = Misc,
     .Make = Make<TTOptions>,
     .Shown = ShowLoadAtStartup,
     .TabAtStart = false,
     .ShownIn = ttRunOptions,
     .HiddenIn = ttUserSettings | ttPCManager},
    {.Sheet = "tabScheduler",
     .Caption = "Scheduler",
     .Host = Misc,
     .Make = Make<TTScheduler>,
     .TabAtStart = false,
     .ShownIn = ttUserSettings,
     .HiddenIn = ttPCManager | ttRunOptions},
};

} // namespace

std::span<const TPageRow> PageTable() {
    return Rows;
}
