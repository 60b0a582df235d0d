#pragma once
// The "Options" page: the program's general options, written to the engine at once,
// and the access password that guards opening the program. Main thread only.
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "engine/EraserEngine.h"

class TTOptions : public TFrame {
public:
    explicit TTOptions(TComponent* owner);

    TEraserEngine* Engine = nullptr; // set by the main window before any other call

    void LoadSettings();
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
    TCheckBox* AddOption(const char* name, const char* caption, int row,
                         std::function<void(bool)> write);
};
