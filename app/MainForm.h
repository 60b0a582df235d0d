#pragma once
// The program's main window: owns the cleaning engine, guards the program with the
// single-instance check and the access password, shows the engine's log, receives
// the hot keys and the tray messages, offers the cleaning commands and switches
// between its sheets. Main thread only.
#include "app/MainFormPages.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/Panel.h"
#include "components/OneInstance/OneInstance.h"
#include "components/TrayIcon/TrayNotifyIcon.h"
#include "engine/EraserEngine.h"
#include "skin/SkinData.h"
#include <memory>

class TfMain : public TForm {
public:
    explicit TfMain(TComponent* owner);
    ~TfMain() override;

    // The page controls; their sheets and pages are those of the page table.
    TPageControl* pagMain;           // no visible tabs: the buttons on the left switch it
    TPageControl* pagMisc = nullptr; // the tool pages, on the "Misc" sheet
    // The sheet of the page table with this name; throws for another name.
    [[nodiscard]] TTabSheet* Sheet(const char* name) const;
    // The page of the page table of this class; none for another class.
    template <class T> [[nodiscard]] T* Page() const {
        for (const TPlacedPage& placed : FPages)
            if (auto page = dynamic_cast<T*>(placed.Page)) return page;
        return nullptr;
    }

    // The buttons on the left, top to bottom, and one of them by its name; each shows
    // the sheet of its row of the page table.
    [[nodiscard]] std::vector<TButton*> NavigationButtons() const;
    [[nodiscard]] TButton* NavigationButton(const char* name) const;
    TPopupMenu* userSettingPopupMenu; // opened by a right click on "User settings"

    TPopupMenu* TrayPopupMenu;
    TMenuItem* miShowMainWindow; // enabled at the first activation or a start in the tray

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
    TPageFrame* MakePage(const TPageRow& row, TTabSheet* sheet);
    void BuildUserSettingsMenu();
    void BuildTrayMenu();
    void BindCommands();
    void ReadSkin();
    void FormCreate(TObject* Sender);
    bool PasswordAccepted();
    void FillPages();
    // A problem found while filling the pages (or, not an error, what the start did):
    // a box, or log lines for a program that starts unseen, which the first clean keeps.
    void TellAtStart(const std::string& text, bool error = true);
    void SetUpFolders();
    void FormDestroy();
    // Writes "prefs.dat" from the pages and the engine.
    void WriteSettings();
    void WriteSettingsQuietly(); // a failure only logged: the session is ending
    // Writes "prefs.dat" from the engine alone; a failure is told.
    void SaveSettingsNow();
    void TellSaveFailed();
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void CleanStarted();
    void CleanEnded();
    void FormActivate(TObject* Sender);

    void EngineLog(TEraser* Sender, const std::string& Msg);
    void EngineClearLog(TCustomEraserEngine* Sender);
    void WMHotKey(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMQueryEndSession(TMessage& message);
    void WMEndSession(TMessage& message);
    void WMShowTrayIcon();
    void WMHideTrayIcon();
    void CreateTrayIcon();
    // Shows the sheet; a tool sheet also shows "Misc" and the given set of tool tabs.
    void ShowSheet(TTabSheet* sheet, TToolTabs tabs = ttNone);
    [[nodiscard]] std::vector<TPageFrame*> Pages() const;

    // A row of the page table as built.
    struct TPlacedPage {
        const TPageRow* Row;
        TTabSheet* Sheet;
        TPageFrame* Page; // none on the sheet that holds pagMisc
    };
    std::vector<TPlacedPage> FPages; // in the page table's order

    TOneInstance* FOneInstance = nullptr; // owned by the form
    bool FPasswordRefused = false;        // the program is ending: never shown, never cleans
    std::vector<std::string> FStartNotes; // the log lines of TellAtStart
    bool FFolderReadOnly = false;         // told at start: the settings cannot be saved
    bool FClosingClean = false;           // the close query's own clean runs
    bool FCloseWaiting = false;           // a close came during a run: made at its end
    bool FForegroundAtRun = false;        // the program had the activation when the run started
};

extern TfMain* fMain;
