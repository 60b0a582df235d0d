// The main window's controls, built in code in the order of its form description.
#include "app/MainForm.h"
#include "classlib/gui/PlaceControl.h"
#include <algorithm>

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

// The buttons on the left, in their order from the top.
std::vector<const TPageRow*> NavigationRows() {
    std::vector<const TPageRow*> rows;
    for (const TPageRow& row : PageTable())
        if (row.Nav.Name) rows.push_back(&row);
    std::ranges::sort(rows, {}, [](const TPageRow* row) { return row->Nav.Slot; });
    return rows;
}

} // namespace

void TfMain::BuildNavigation() {
    using namespace Layout;
    auto panel = Place<TPanel>(this, this, "pnlNavigation", "", {0, 0, NavWidth, 580});
    panel->SetBevelOuter(bvNone);
    constexpr TGrid buttons = Down(Margin, Margin, NavWidth - 2 * Margin, 30, 6);
    for (const TPageRow* row : NavigationRows()) {
        auto button = Place<TButton>(this, panel, row->Nav.Name, row->Nav.Caption,
                                     buttons.Cell(0, row->Nav.Slot));
        button->OnClick = [this, row](TObject*) { ShowSheet(Sheet(row->Sheet), row->Nav.Tabs); };
    }
    BuildUserSettingsMenu();
}

std::vector<TButton*> TfMain::NavigationButtons() const {
    std::vector<TButton*> buttons;
    for (const TPageRow* row : NavigationRows())
        buttons.push_back(NavigationButton(row->Nav.Name));
    return buttons;
}

TButton* TfMain::NavigationButton(const char* name) const {
    return dynamic_cast<TButton*>(FindComponent(name));
}

// The menu of "User settings": each item shows a sheet of "Misc".
void TfMain::BuildUserSettingsMenu() {
    struct TItem {
        const char *Name, *Caption, *Sheet;
    };
    static constexpr TItem Items[] = {
        {"ShortcutModes1", "Shortcut/Modes", "TabSheet12"},
        {"Scheduler1", "Scheduler", "tabScheduler"},
    };
    userSettingPopupMenu = new TPopupMenu(this);
    userSettingPopupMenu->SetName("userSettingPopupMenu");
    for (const TItem& item : Items)
        AddItem(this, userSettingPopupMenu, item.Name, item.Caption)->OnClick =
            [this, sheet = item.Sheet](TObject*) { ShowSheet(Sheet(sheet)); };
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

// The tray icon's menu: each item runs its command, a "-" is a separator.
void TfMain::BuildTrayMenu() {
    struct TItem {
        const char *Name, *Caption;
        void (*Command)(TfMain& main);
    };
    static constexpr TItem Items[] = {
        {"miShowMainWindow", "Show &Main Window", [](TfMain& main) { main.ShowMainWindow(); }},
        {"N1", "-", nullptr},
        {"miQuickClean", "&Quick Clean", [](TfMain& main) { main.Engine->Clean(); }},
        {"miCleanAndReboot", "Clean && Reboot",
         [](TfMain& main) { main.Engine->CleanAndReboot(); }},
        {"miCleanAndShutdown", "Clean && Shutdown",
         [](TfMain& main) { main.Engine->CleanAndShutdown(); }},
        {"miStopTasks", "&Stop Tasks", [](TfMain& main) { main.Engine->Stop(); }},
        {"N2", "-", nullptr},
        {"miHelp", "&Help", [](TfMain& main) { main.HelpClick(nullptr); }},
        {"miAbout", "&About",
         [](TfMain& main) {
             main.ShowMainWindow();
             main.ShowSheet(main.Sheet("tabAbout"));
         }},
        {"N3", "-", nullptr},
        {"miExit", "&Exit", [](TfMain& main) { main.Close(); }},
    };
    TrayPopupMenu = new TPopupMenu(this);
    TrayPopupMenu->SetName("TrayPopupMenu");
    for (const TItem& item : Items) {
        TMenuItem* added = AddItem(this, TrayPopupMenu, item.Name, item.Caption);
        if (item.Command)
            added->OnClick = [this, command = item.Command](TObject*) { command(*this); };
    }
    miShowMainWindow = TrayPopupMenu->Items().Items(0);
    miShowMainWindow->SetDefault(true);
    miShowMainWindow->SetEnabled(false);
    auto iconMenu = new TPopupMenu(this);
    iconMenu->SetName("PopupMenuIcon");
    AddItem(this, iconMenu, "OpenMainWindow1", "Open &Main Window");
    AddItem(this, iconMenu, "Optimize1", "&Optimize");
    AddItem(this, iconMenu, "Exit1", "E&xit");
}
