// The main window's controls, built in code in the order of its form description.
#include "app/MainForm.h"
#include "classlib/gui/PlaceControl.h"

namespace {

constexpr int NavWidth = 160, PageLeft = 164, PageWidth = 632, PageHeight = 572;

// A sheet made active in a page control on an inactive sheet is not shown yet.
bool OnActiveSheets(TControl* sheet, TComponent* form) {
    for (TControl* c = sheet; c && c != form; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
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
    using namespace Layout;
    pnlNavigation = Place<TPanel>(this, this, "pnlNavigation", "", {0, 0, NavWidth, 580});
    pnlNavigation->SetBevelOuter(bvNone);
    constexpr TGrid buttons = Down(Margin, Margin, NavWidth - 2 * Margin, 30, 6);
    int row = 0;
    auto nav = [&](const char* name, const char* caption) {
        return Place<TButton>(this, pnlNavigation, name, caption, buttons.Cell(0, row++));
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
}

// The sheets of the page table in page order, their tabs as at creation, then their
// pages.
void TfMain::BuildPages() {
    pagMain = Place<TPageControl>(this, this, "pagMain", "", {PageLeft, 4, PageWidth, PageHeight});
    TTabSheet* tools = nullptr; // the sheet that holds pagMisc
    for (const TPageRow& row : PageTable()) {
        if (row.Host == TPageHost::Misc && !pagMisc)
            pagMisc = Place<TPageControl>(this, tools, "pagMisc", "",
                                          {4, 4, PageWidth - 12, PageHeight - 12});
        TPageControl* pages = row.Host == TPageHost::Main ? pagMain : pagMisc;
        TTabSheet* sheet = PlaceSheet(this, pages, row.Sheet, row.Caption);
        if (!row.Make) tools = sheet;
        FPages.push_back({&row, sheet, nullptr});
    }
    for (const TPlacedPage& placed : FPages)
        placed.Sheet->SetTabVisible(placed.Row->Host == TPageHost::Misc && placed.Row->TabAtStart);
    for (TPlacedPage& placed : FPages)
        if (placed.Row->Make) placed.Page = MakePage(*placed.Row, placed.Sheet);
    // The sheet already active in "Misc" is not shown again when "Misc" shows.
    tools->OnShow = [this](TObject*) {
        TTabSheet* active = pagMisc->ActivePage();
        if (active && active->OnShow) active->OnShow(active);
    };
}

// A page not made at start gets its windows, and its FirstShow runs, when its sheet
// is first shown: the program starts quicker. Until then its controls live without
// windows.
TPageFrame* TfMain::MakePage(const TPageRow& row, TTabSheet* sheet) {
    TPageFrame* page = row.Make(this);
    SetLayoutBounds(page, {0, 0, PageClientWidth, PageClientHeight});
    // The sheets of "Misc" are smaller than those of the window.
    auto place = [page, sheet] {
        page->SetParent(sheet);
        page->SetAlign(alClient);
    };
    if (row.MadeAtStart) place();
    sheet->OnShow = [page, sheet, &row, place, this](TObject*) {
        if (!page->Parent() && OnActiveSheets(sheet, this)) {
            place();
            page->FirstShow();
        }
        if (row.Shown) row.Shown(*page);
    };
    return page;
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
    auto iconMenu = new TPopupMenu(this);
    iconMenu->SetName("PopupMenuIcon");
    AddItem(this, iconMenu, "OpenMainWindow1", "Open &Main Window");
    AddItem(this, iconMenu, "Optimize1", "&Optimize");
    AddItem(this, iconMenu, "Exit1", "E&xit");
}
