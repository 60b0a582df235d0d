// The main window's controls, built in code in the order of its form description.
#include "app/MainForm.h"
#include "classlib/gui/PlaceControl.h"

namespace {

constexpr int NavWidth = 160, PageLeft = 164, PageWidth = 632, PageHeight = 572;

template <class T> T* PlacePage(TComponent* owner, TTabSheet* sheet) {
    auto page = new T(owner);
    page->SetParent(sheet);
    page->SetAlign(alClient);
    return page;
}

// A sheet made active in a page control on an inactive sheet is not shown yet.
bool OnActiveSheets(TControl* sheet, TComponent* form) {
    for (TControl* c = sheet; c && c != form; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
}

// A page whose windows are made, and whose FirstShow runs, when its sheet is first
// shown: the program starts quicker. Until then its controls live without windows.
template <class T> T* DeferredPage(TComponent* owner, TTabSheet* sheet) {
    auto page = new T(owner);
    page->SetBounds(0, 0, PageClientWidth, PageClientHeight);
    sheet->OnShow = [page, sheet, owner](TObject*) {
        if (page->Parent() || !OnActiveSheets(sheet, owner)) return;
        page->SetParent(sheet);
        page->SetAlign(alClient); // the sheets of "Misc" are smaller than those of the window
        page->FirstShow();
    };
    return page;
}

TMenuItem* AddItem(TComponent* owner, TPopupMenu* menu, const char* name, const char* caption) {
    auto item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    menu->Items().Add(item);
    return item;
}

} // namespace

void TfMain::BuildNavigation() {
    pnlNavigation = Place<TPanel>(this, this, "pnlNavigation", "", 0, 0, NavWidth, 580);
    pnlNavigation->SetBevelOuter(bvNone);
    int top = 8;
    auto nav = [&](const char* name, const char* caption) {
        TButton* button =
            Place<TButton>(this, pnlNavigation, name, caption, 8, top, NavWidth - 16, 30);
        top += 36;
        return button;
    };
    mainCleabButton = nav("mainCleabButton", "Scan/Erase           ");
    mainWindowsButton = nav("mainWindowsButton", "Cleaner Settings   ");
    mainFreeButton = nav("mainFreeButton", "Free Space Clean ");
    mainShredderButton = nav("mainShredderButton", "File Shredder          ");
    mainPCManager = nav("mainPCManager", "PC Manager          ");
    mainJunkButton = nav("mainJunkButton", "Junk Cleaner         ");
    mainPlugButton = nav("mainPlugButton", "Plug-ins                  ");
    mainMiscButton = nav("mainMiscButton", "User settings         ");
    userSettingPopupMenu = new TPopupMenu(this);
    userSettingPopupMenu->SetName("userSettingPopupMenu");
    ShortcutModes1 = AddItem(this, userSettingPopupMenu, "ShortcutModes1", "Shortcut/Modes");
    Scheduler1 = AddItem(this, userSettingPopupMenu, "Scheduler1", "Scheduler");

    pagMain = Place<TPageControl>(this, this, "pagMain", "", PageLeft, 4, PageWidth, PageHeight);
    TabSheet9 = PlaceSheet(this, pagMain, "TabSheet9", "Main");
    TabSheet1 = PlaceSheet(this, pagMain, "TabSheet1", "Windows");
    TabSheet2 = PlaceSheet(this, pagMain, "TabSheet2", "Browsers");
    TabSheet7 = PlaceSheet(this, pagMain, "TabSheet7", "File Shredding");
    TabSheet8 = PlaceSheet(this, pagMain, "TabSheet8", "Clean Free Space");
    TabSheet10 = PlaceSheet(this, pagMain, "TabSheet10", "Plug-ins");
    TabSheet11 = PlaceSheet(this, pagMain, "TabSheet11", "Misc");
    tabAbout = PlaceSheet(this, pagMain, "tabAbout", "About");
    Junk_TabSheet = PlaceSheet(this, pagMain, "Junk_TabSheet", "Junk");
    for (int i = 0; i < pagMain->PageCount(); ++i)
        pagMain->Pages(i)->SetTabVisible(false);

    pagMisc =
        Place<TPageControl>(this, TabSheet11, "pagMisc", "", 4, 4, PageWidth - 12, PageHeight - 12);
    TabSheet12 = PlaceSheet(this, pagMisc, "TabSheet12", "Shortcut Keys");
    tabInternetExplorerSettings =
        PlaceSheet(this, pagMisc, "tabInternetExplorerSettings", "Internet Explorer");
    tabStartupManager = PlaceSheet(this, pagMisc, "tabStartupManager", "Startup Manager");
    tabPasswordManager = PlaceSheet(this, pagMisc, "tabPasswordManager", "Password Manager");
    tabMemory = PlaceSheet(this, pagMisc, "tabMemory", "Memory Optimization");
    tabRegistryBackup = PlaceSheet(this, pagMisc, "tabRegistryBackup", "Registry Backup");
    tabOptions = PlaceSheet(this, pagMisc, "tabOptions", "Options");
    tabScheduler = PlaceSheet(this, pagMisc, "tabScheduler", "Scheduler");
    for (TTabSheet* hidden : {TabSheet12, tabRegistryBackup, tabOptions, tabScheduler})
        hidden->SetTabVisible(false);
}

void TfMain::BuildPages() {
    MainPage = PlacePage<TMainPage>(this, TabSheet9);
    WindowsPage = DeferredPage<TWindowsPage>(this, TabSheet1);
    BrowsersPage = DeferredPage<TBrowsersPage>(this, TabSheet2);
    TTFileShredder1 = DeferredPage<TTFileShredder>(this, TabSheet7);
    TTFreeSpaceShredder1 = DeferredPage<TTFreeSpaceShredder>(this, TabSheet8);
    MemoryPanel = DeferredPage<TMemoryPanel>(this, tabMemory);
    RegistryBackupPage = DeferredPage<TRegistryBackupPage>(this, tabRegistryBackup);
    // Showing the memory tab starts the panel's monitor.
    tabMemory->OnShow = [show = tabMemory->OnShow, this](TObject* sender) {
        show(sender);
        MemoryPanel->tabMemoryShow();
    };
    JunkCleanerPage = DeferredPage<TTJunkCleaner>(this, Junk_TabSheet);
    TTPlugins1 = DeferredPage<TTPlugins>(this, TabSheet10);
    TTAbout1 = DeferredPage<TTAbout>(this, tabAbout);
    TTMiscShortCutKeys1 = DeferredPage<TTMiscShortCutKeys>(this, TabSheet12);
    TTinternetExplorerSettings1 =
        DeferredPage<TTinternetExplorerSettings>(this, tabInternetExplorerSettings);
    TTStartupManager1 = DeferredPage<TTStartupManager>(this, tabStartupManager);
    TfraPasswordManager1 = DeferredPage<TfraPasswordManager>(this, tabPasswordManager);
    TTOptions1 = DeferredPage<TTOptions>(this, tabOptions);
    TTScheduler1 = DeferredPage<TTScheduler>(this, tabScheduler);
    // The sheet already active in "Misc" is not shown again when "Misc" shows.
    TabSheet11->OnShow = [this](TObject*) {
        TTabSheet* active = pagMisc->ActivePage();
        if (active && active->OnShow) active->OnShow(active);
    };
}

void TfMain::BuildTrayMenu() {
    TrayPopupMenu = new TPopupMenu(this);
    TrayPopupMenu->SetName("TrayPopupMenu");
    miShowMainWindow = AddItem(this, TrayPopupMenu, "miShowMainWindow", "Show &Main Window");
    miShowMainWindow->SetDefault(true);
    miShowMainWindow->SetEnabled(false);
    AddItem(this, TrayPopupMenu, "N1", "-");
    miQuickClean = AddItem(this, TrayPopupMenu, "miQuickClean", "&Quick Clean");
    miCleanAndReboot = AddItem(this, TrayPopupMenu, "miCleanAndReboot", "Clean && Reboot");
    miCleanAndShutdown = AddItem(this, TrayPopupMenu, "miCleanAndShutdown", "Clean && Shutdown");
    miStopTasks = AddItem(this, TrayPopupMenu, "miStopTasks", "&Stop Tasks");
    AddItem(this, TrayPopupMenu, "N2", "-");
    miHelp = AddItem(this, TrayPopupMenu, "miHelp", "&Help");
    miAbout = AddItem(this, TrayPopupMenu, "miAbout", "&About");
    AddItem(this, TrayPopupMenu, "N3", "-");
    miExit = AddItem(this, TrayPopupMenu, "miExit", "&Exit");
}
