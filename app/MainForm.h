#pragma once
// The program's main window: owns the cleaning engine, guards the program with the
// single-instance check and the access password, shows the engine's log, receives
// the hot keys and the tray messages, offers the cleaning commands and switches
// between its sheets. Main thread only.
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
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/Panel.h"
#include "components/OneInstance/OneInstance.h"
#include "components/TrayIcon/TrayNotifyIcon.h"
#include "engine/EraserEngine.h"
#include "skin/SkinData.h"
#include <initializer_list>
#include <memory>

class TfMain : public TForm {
public:
    explicit TfMain(TComponent* owner);
    ~TfMain() override;

    // Page controls and their sheets.
    TPageControl* pagMain; // no visible tabs: the buttons on the left switch it
    TTabSheet *TabSheet9, *TabSheet1, *TabSheet2, *TabSheet7, *TabSheet8, *TabSheet10, *TabSheet11,
        *tabAbout, *Junk_TabSheet;
    TPageControl* pagMisc;
    TTabSheet *TabSheet12, *tabInternetExplorerSettings, *tabStartupManager, *tabPasswordManager,
        *tabMemory, *tabRegistryBackup, *tabOptions, *tabScheduler;

    // The pages on the sheets.
    TMainPage* MainPage;
    TWindowsPage* WindowsPage;
    TBrowsersPage* BrowsersPage;
    TTPlugins* TTPlugins1;
    TTMiscShortCutKeys* TTMiscShortCutKeys1;
    TTinternetExplorerSettings* TTinternetExplorerSettings1;
    TTStartupManager* TTStartupManager1;
    TfraPasswordManager* TfraPasswordManager1;
    TTScheduler* TTScheduler1;
    TTOptions* TTOptions1;
    TTAbout* TTAbout1;
    TTFileShredder* TTFileShredder1;
    TTFreeSpaceShredder* TTFreeSpaceShredder1;
    TMemoryPanel* MemoryPanel;
    TRegistryBackupPage* RegistryBackupPage;
    TTJunkCleaner* JunkCleanerPage; // the finders and the store of removed files

    // Navigation on the left.
    TPanel* pnlNavigation;
    TButton *mainCleabButton, *mainWindowsButton, *mainFreeButton, *mainShredderButton,
        *mainPCManager, *mainJunkButton, *mainPlugButton, *mainMiscButton;
    TPopupMenu* userSettingPopupMenu;
    TMenuItem *ShortcutModes1, *Scheduler1;

    // The tray icon's menu.
    TPopupMenu* TrayPopupMenu;
    TMenuItem *miShowMainWindow, *miQuickClean, *miCleanAndReboot, *miCleanAndShutdown,
        *miStopTasks, *miHelp, *miAbout, *miExit;

    TSkinData* SkinData; // paints every window of the program; owned by the form
    std::unique_ptr<TEraserEngine> Engine;
    TTrayNotifyIcon* TrayIcon = nullptr; // owned by the form
    std::string AppDir;                  // the program folder, with a trailing backslash
    std::string BackupDir;               // AppDir + "Backup\"

    // Commands.
    void smallsytsemCleanClick(TObject* Sender);
    void simulationModeClick(TObject* Sender);
    void btnStopTaskClick(TObject* Sender);
    void HelpClick(TObject* Sender);
    void ShowMainWindow();

protected:
    void WndProc(TMessage& message) override;

private:
    // Creation, in its steps.
    void BuildNavigation();
    void BuildPages();
    void BuildTrayMenu();
    void BindCommands();
    void ReadSkin();
    void FormCreate(TObject* Sender);
    bool PasswordAccepted();
    void FillPages();
    void SetUpFolders();
    void FormDestroy();
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormActivate(TObject* Sender);

    void EngineLog(TEraser* Sender, const std::string& Msg);
    void EngineClearLog(TCustomEraserEngine* Sender);
    void WMHotKey(TMessage& message);
    void WMContextMenu(TMessage& message);
    void StealthChanged(bool hidden);
    void CreateTrayIcon();
    void SelectMisc(TTabSheet* page, std::initializer_list<TTabSheet*> shown,
                    std::initializer_list<TTabSheet*> hidden);
    [[nodiscard]] std::vector<TPageFrame*> Pages() const;

    TOneInstance* FOneInstance = nullptr; // owned by the form
    bool FAutoCleanDone = false;   // AutoCleanAtWindowsStart runs at the first activation only
    bool FPasswordRefused = false; // the program is ending: never shown, never cleans
};

extern TfMain* fMain;
