#pragma once
// The "Options" page: the program's general options, written to the engine at once,
// and the access password that guards opening the program. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"

class TTOptions : public TPageFrame {
public:
    explicit TTOptions(TComponent* owner);

    void LoadSettings() override;
    // Ticks "Load At Windows Startup" as the "Run" key stands now: the startup
    // manager may have parked, deleted or enabled the program's entry meanwhile.
    void ShowLoadAtStartup();
    void chkPasswordClick(TObject* Sender);
    void cmdApplyPasswordClick(TObject* Sender);

    TGroupBox* grpOptions;
    TCheckBox *chkLoadAtStartup, *chkStartInSystemTray, *chkAutoCleanWhenWindowsStart,
        *chkAutoCleanWhenWindowsShutdown;
    TGroupBox* grpPassword;
    TCheckBox* chkPassword;
    TLabel *lblPassword, *lblConfirmPassword;
    TEdit *edPassword, *edConfirmPassword; // show "#" for every character
    TButton* cmdApplyPassword;

private:
    // A Run value that cannot be written or removed is told, and the box shows the
    // option as it stays.
    void LoadAtStartupClick(bool on);
    TCheckBox* AddOption(const char* name, const char* caption, int row,
                         std::function<void(bool)> write);
};
