// The main window's controls, built in code in the order of its form description.
#include "app/MainForm.h"
#include "classlib/gui/JPEG.h"
#include "classlib/gui/PlaceControl.h"

namespace {

constexpr int NavWidth = 160, PageLeft = 164, PageWidth = 632, PageHeight = 572;
const char* const RebootNote = "(*) This item requires rebooting to complete cleaning.";

TTabSheet* AddSheet(TComponent* owner, TPageControl* pages, const char* name, const char* caption) {
    auto sheet = new TTabSheet(owner);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    return sheet;
}

template <class T> T* AddFrame(TComponent* owner, TWinControl* parent, int width, int height) {
    auto frame = new T(owner);
    frame->SetParent(parent);
    frame->SetBounds(4, 4, width, height);
    return frame;
}

// A panel for the controls of a sheet whose windows are made when the sheet is first
// shown: the program starts quicker. Until then the controls live without windows.
TPanel* DeferredContent(TComponent* owner, TTabSheet* sheet, const char* name) {
    auto content = new TPanel(owner);
    content->SetName(name);
    content->SetBevelOuter(bvNone);
    content->SetBounds(0, 0, PageWidth - 8, PageHeight - 8);
    sheet->OnShow = [content, sheet](TObject*) {
        if (!content->Parent()) content->SetParent(sheet);
    };
    return content;
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
    TabSheet9 = AddSheet(this, pagMain, "TabSheet9", "Main");
    TabSheet1 = AddSheet(this, pagMain, "TabSheet1", "Windows");
    TabSheet2 = AddSheet(this, pagMain, "TabSheet2", "Browsers");
    TabSheet7 = AddSheet(this, pagMain, "TabSheet7", "File Shredding");
    TabSheet8 = AddSheet(this, pagMain, "TabSheet8", "Clean Free Space");
    TabSheet10 = AddSheet(this, pagMain, "TabSheet10", "Plug-ins");
    TabSheet11 = AddSheet(this, pagMain, "TabSheet11", "Misc");
    tabAbout = AddSheet(this, pagMain, "tabAbout", "About");
    Junk_TabSheet = AddSheet(this, pagMain, "Junk_TabSheet", "Junk");
    for (int i = 0; i < pagMain->PageCount(); ++i)
        pagMain->Pages(i)->SetTabVisible(false);

    pagMisc =
        Place<TPageControl>(this, TabSheet11, "pagMisc", "", 4, 4, PageWidth - 12, PageHeight - 12);
    TabSheet12 = AddSheet(this, pagMisc, "TabSheet12", "Shortcut Keys");
    tabInternetExplorerSettings =
        AddSheet(this, pagMisc, "tabInternetExplorerSettings", "Internet Explorer");
    tabStartupManager = AddSheet(this, pagMisc, "tabStartupManager", "Startup Manager");
    tabPasswordManager = AddSheet(this, pagMisc, "tabPasswordManager", "Password Manager");
    tabMemory = AddSheet(this, pagMisc, "tabMemory", "Memory Optimization");
    tabRegistryBackup = AddSheet(this, pagMisc, "tabRegistryBackup", "Registry Backup");
    tabOptions = AddSheet(this, pagMisc, "tabOptions", "Options");
    tabScheduler = AddSheet(this, pagMisc, "tabScheduler", "Scheduler");
    for (TTabSheet* hidden : {TabSheet12, tabRegistryBackup, tabOptions, tabScheduler})
        hidden->SetTabVisible(false);
}

void TfMain::BuildMainSheet() {
    Image3 = Place<TImage>(this, TabSheet9, "Image3", "", 8, 8, 560, 96);
    TJPEGImage picture;
    picture.LoadFromResource("MAINPICTURE");
    Image3->SetPicture(picture.Bitmap());
    int left = 8;
    auto command = [&](const char* name, const char* caption) {
        TButton* button = Place<TButton>(this, TabSheet9, name, caption, left, 112, 116, 27);
        left += 122;
        return button;
    };
    smallsytsemClean = command("smallsytsemClean", "System Clean        ");
    simulationMode = command("simulationMode", "Simulation Mode  ");
    btnStopTask = command("btnStopTask", "Stop Process         ");
    btnStopTask->SetHint("Stop the Erasing & Cleaning process.");
    btnStopTask->SetShowHint(true);
    btnHelpTask = command("btnHelpTask", "Help && Support       ");
    runoptions = command("runoptions", "Run Options       ");
    edLogMemo =
        Place<TMemo>(this, TabSheet9, "edLogMemo", "", 8, 148, PageWidth - 20, PageHeight - 160);
    edLogMemo->SetReadOnly(true);
    edLogMemo->SetWordWrap(false);
    edLogMemo->SetScrollBars(ssBoth);
}

void TfMain::BuildItemSheets() {
    TPanel* windowsContent = DeferredContent(this, TabSheet1, "pnlWindows");
    TPanel* browsersContent = DeferredContent(this, TabSheet2, "pnlBrowsers");
    TTWindowsFrame1 = AddFrame<TTWindowsFrame>(this, windowsContent, 470, 480);
    cmdWindowsDefault =
        Place<TButton>(this, windowsContent, "cmdWindowsDefault", "Default", 490, 8, 120, 27);
    Button4 =
        Place<TButton>(this, windowsContent, "Button4", "Internet Browsers", 490, 42, 120, 27);
    StaticText1 = Place<TLabel>(this, windowsContent, "StaticText1", RebootNote, 12, 500, 400, 15);

    pagBrowsers =
        Place<TPageControl>(this, browsersContent, "pagBrowsers", "", 4, 4, PageWidth - 16, 440);
    tabIE = AddSheet(this, pagBrowsers, "tabIE", "Internet Explorer");
    tabNetscapeMozilla = AddSheet(this, pagBrowsers, "tabNetscapeMozilla", "Netscape/Mozilla");
    tabOpera = AddSheet(this, pagBrowsers, "tabOpera", "Opera");
    tabAOL = AddSheet(this, pagBrowsers, "tabAOL", "AOL");
    TTInternetExplorer1 = AddFrame<TTInternetExplorer>(this, tabIE, 456, 400);
    TTNetscapeMozilla1 = AddFrame<TTNetscapeMozilla>(this, tabNetscapeMozilla, 456, 400);
    TTOpera1 = AddFrame<TTOpera>(this, tabOpera, 456, 400);
    TTAOL1 = AddFrame<TTAOL>(this, tabAOL, 456, 400);
    cmdIEDefault = Place<TButton>(this, tabIE, "cmdIEDefault", "Default", 466, 8, 120, 27);
    cmdNetscapeDefault =
        Place<TButton>(this, tabNetscapeMozilla, "cmdNetscapeDefault", "Default", 466, 8, 120, 27);
    cmdOperaDefault = Place<TButton>(this, tabOpera, "cmdOperaDefault", "Default", 466, 8, 120, 27);
    cmdAOLDefault = Place<TButton>(this, tabAOL, "cmdAOLDefault", "Default", 466, 8, 120, 27);
    Button1 = Place<TButton>(this, browsersContent, "Button1", "Windows", 4, 452, 120, 27);
    StaticText2 = Place<TLabel>(this, browsersContent, "StaticText2", RebootNote, 12, 492, 400, 15);
    TTJunkCleaner1 = new TTJunkCleaner(this);
    Junk_TabSheet->OnShow = [this](TObject*) {
        if (!TTJunkCleaner1->Parent()) TTJunkCleaner1->SetParent(Junk_TabSheet);
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
