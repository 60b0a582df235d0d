// The main window's commands: cleaning, help, the tray menu and the navigation.
#include "app/CleanMethodSelectorForm.h"
#include "app/MainForm.h"
#include "app/pages/BrowsersPage.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoryPanel.h"
#include "app/pages/WindowsPage.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/BusyScope.h"
#include "engine/SharedRoutines.h"
#include <shellapi.h>

void TfMain::BindCommands() {
    // A button or a menu item runs the action.
    auto bind = [](auto* control, std::function<void()> action) {
        control->OnClick = [action](TObject*) { action(); };
    };
    TMainPage* main = Page<TMainPage>();
    main->smallsytsemClean->OnClick = [this](TObject* sender) { smallsytsemCleanClick(sender); };
    main->simulationMode->OnClick = [this](TObject* sender) { simulationModeClick(sender); };
    main->btnStopTask->OnClick = [this](TObject* sender) { btnStopTaskClick(sender); };
    main->btnHelpTask->OnClick = [this](TObject* sender) { HelpClick(sender); };
    auto show = [this](const char* sheet, TToolTabs tabs = ttNone) {
        return [this, sheet = Sheet(sheet), tabs] { ShowSheet(sheet, tabs); };
    };
    TBrowsersPage* browsers = Page<TBrowsersPage>();
    for (TButton* button : {browsers->Button1, browsers->Button2})
        bind(button, show("TabSheet1"));
    for (TButton* button : {Page<TWindowsPage>()->Button3, Page<TWindowsPage>()->Button4})
        bind(button, show("TabSheet2"));
    bind(main->runoptions, show("tabOptions", ttRunOptions));
    // The icon menu is attached to nothing; only its optimizer item has an action.
    auto iconMenu = static_cast<TPopupMenu*>(FindComponent("PopupMenuIcon"));
    bind(iconMenu->Items().Items(1), [this] { Page<TMemoryPanel>()->ActionOptimizeExecute(); });
}

// A tool sheet's tabs change after "Misc" is chosen: the set's tabs show, the sheet
// is chosen, then the set's tabs hide. A sheet whose tab is to be hidden shows it
// first, so that the page control moves on to the next tab that shows even when its
// tab was hidden already.
void TfMain::ShowSheet(TTabSheet* sheet, TToolTabs tabs) {
    if (sheet->PageControl() == pagMisc)
        pagMain->SetActivePage(static_cast<TTabSheet*>(pagMisc->Parent())); // "Misc"
    for (const TPlacedPage& placed : FPages)
        if (placed.Row->ShownIn & tabs || (placed.Sheet == sheet && placed.Row->HiddenIn & tabs))
            placed.Sheet->SetTabVisible(true);
    sheet->PageControl()->SetActivePage(sheet);
    for (const TPlacedPage& placed : FPages)
        if (placed.Row->HiddenIn & tabs) placed.Sheet->SetTabVisible(false);
}

void TfMain::smallsytsemCleanClick(TObject*) {
    if (fCleanMethodSelector->ShowModal() != mrOk) return;
    TMainPage* main = Page<TMainPage>();
    TBusyScope busy({main->smallsytsemClean, main->simulationMode});
    Engine->SimulationMode = false;
    if (fCleanMethodSelector->optionClean1->Checked()) {
        Engine->ShowRebootNotice = true;
        Engine->CleanAndReboot();
    } else if (fCleanMethodSelector->optionClean2->Checked()) {
        Engine->ShowRebootNotice = true;
        Engine->CleanAndShutdown();
    } else if (fCleanMethodSelector->optionClean3->Checked()) {
        Engine->ShowRebootNotice = false;
        Engine->Clean();
    }
}

void TfMain::simulationModeClick(TObject*) {
    TMainPage* main = Page<TMainPage>();
    TBusyScope busy({main->smallsytsemClean, main->simulationMode});
    pagMain->SetActivePage(Sheet("TabSheet9"));
    Engine->SimulationMode = true;
    Engine->Clean();
    // One run only: the tray, the hot keys, the schedule and a close-time clean, which
    // choose no mode, erase for real.
    Engine->SimulationMode = false;
}

void TfMain::btnStopTaskClick(TObject*) {
    Engine->Stop();
    TMainPage* main = Page<TMainPage>();
    main->smallsytsemClean->SetEnabled(true);
    main->simulationMode->SetEnabled(true);
}

// "help_english.chm" beside the program, opened by the shell; a missing file is not
// reported.
void TfMain::HelpClick(TObject*) {
    std::string help = AppDir + "help_english.chm";
    if (!FileExists(help)) return;
    ShellExecuteW(GetDesktopWindow(), nullptr, ToWide(help).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void TfMain::ShowMainWindow() {
    TrayIcon->ShowMainForm();
}
