// The main window's commands: cleaning, help, the tray menu and the navigation.
#include "app/CleanMethodSelectorForm.h"
#include "app/MainForm.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/BusyScope.h"
#include "engine/SharedRoutines.h"
#include <shellapi.h>

void TfMain::BindCommands() {
    // A button or a menu item runs the action.
    auto bind = [](auto* control, std::function<void()> action) {
        control->OnClick = [action](TObject*) { action(); };
    };
    TMainPage* main = MainPage;
    main->smallsytsemClean->OnClick = [this](TObject* sender) { smallsytsemCleanClick(sender); };
    main->simulationMode->OnClick = [this](TObject* sender) { simulationModeClick(sender); };
    main->btnStopTask->OnClick = [this](TObject* sender) { btnStopTaskClick(sender); };
    main->btnHelpTask->OnClick = [this](TObject* sender) { HelpClick(sender); };
    miHelp->OnClick = [this](TObject* sender) { HelpClick(sender); };
    bind(miShowMainWindow, [this] { ShowMainWindow(); });
    bind(miQuickClean, [this] { Engine->Clean(); });
    bind(miCleanAndReboot, [this] { Engine->CleanAndReboot(); });
    bind(miCleanAndShutdown, [this] { Engine->CleanAndShutdown(); });
    bind(miStopTasks, [this] { Engine->Stop(); });
    bind(miAbout, [this] {
        ShowMainWindow();
        pagMain->SetActivePage(tabAbout);
    });
    bind(miExit, [this] { Close(); });

    auto show = [this](TTabSheet* sheet) {
        return [this, sheet] { pagMain->SetActivePage(sheet); };
    };
    bind(mainCleabButton, show(TabSheet9));
    for (TButton* button : {mainWindowsButton, BrowsersPage->Button1})
        bind(button, show(TabSheet1));
    bind(WindowsPage->Button4, show(TabSheet2));
    bind(mainShredderButton, show(TabSheet7));
    bind(mainFreeButton, show(TabSheet8));
    bind(mainPlugButton, show(TabSheet10));
    bind(mainJunkButton, show(Junk_TabSheet));
    bind(mainMiscButton, [this] {
        SelectMisc(
            TabSheet12, {tabInternetExplorerSettings, TabSheet12, tabScheduler},
            {tabRegistryBackup, tabStartupManager, tabPasswordManager, tabMemory, tabOptions});
    });
    // The Internet Explorer sheet is chosen and its tab hidden: the page control moves
    // on to the next sheet whose tab shows, the startup manager.
    bind(mainPCManager, [this] {
        SelectMisc(tabInternetExplorerSettings,
                   {tabRegistryBackup, tabStartupManager, tabPasswordManager, tabMemory},
                   {tabInternetExplorerSettings, tabOptions, TabSheet12, tabScheduler});
    });
    bind(main->runoptions, [this] {
        SelectMisc(tabOptions, {tabOptions},
                   {tabInternetExplorerSettings, tabStartupManager, tabPasswordManager, tabMemory,
                    TabSheet12, tabScheduler});
    });
    bind(ShortcutModes1, [this] { SelectMisc(pagMisc->Pages(0), {}, {}); });
    bind(Scheduler1, [this] { SelectMisc(tabScheduler, {}, {}); });
}

void TfMain::SelectMisc(TTabSheet* page, std::initializer_list<TTabSheet*> shown,
                        std::initializer_list<TTabSheet*> hidden) {
    pagMain->SetActivePage(TabSheet11);
    for (TTabSheet* sheet : shown)
        sheet->SetTabVisible(true);
    // A page whose tab is to be hidden moves on to the next tab that shows, even when
    // its tab was hidden already.
    for (TTabSheet* sheet : hidden)
        if (sheet == page) page->SetTabVisible(true);
    pagMisc->SetActivePage(page);
    for (TTabSheet* sheet : hidden)
        sheet->SetTabVisible(false);
}

void TfMain::smallsytsemCleanClick(TObject*) {
    if (fCleanMethodSelector->ShowModal() != mrOk) return;
    TBusyScope busy({MainPage->smallsytsemClean, MainPage->simulationMode});
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
    TBusyScope busy({MainPage->smallsytsemClean, MainPage->simulationMode});
    pagMain->SetActivePage(TabSheet9);
    Engine->SimulationMode = true;
    Engine->Clean();
}

void TfMain::btnStopTaskClick(TObject*) {
    Engine->Stop();
    MainPage->smallsytsemClean->SetEnabled(true);
    MainPage->simulationMode->SetEnabled(true);
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
