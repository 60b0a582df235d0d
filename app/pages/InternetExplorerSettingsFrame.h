#pragma once
// The "Internet Explorer" settings page: window title, start page, AutoComplete
// switches, AutoFind list and folders, read from the registry when filled and
// written back only on "&Save"; and the start-page protection of the engine's Misc.
// Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"

class TTinternetExplorerSettings : public TPageFrame {
public:
    explicit TTinternetExplorerSettings(TComponent* owner);

    // Reads the registry into Misc, then Misc into the controls.
    void LoadSettings() override;
    // True while the controls show what was last read or saved: nothing typed on the
    // page would be lost by reading the registry again.
    [[nodiscard]] bool ShowsStoredValues() const;
    // The controls into Misc, then Misc into the registry. Protection without an
    // address to reset to is refused with a message, and nothing is saved. Settings
    // that could not be read or written are named in one message.
    void btnSaveSettingsClick(TObject* Sender);
    void BrowseFolder(TEdit* edit);

    TGroupBox* grpInternetExplorerHomePage;
    TLabel *lblTitle, *lblStartPage;
    TEdit *edTitle, *edStartPage;
    TButton *btnRestore, *btnBlankPage;
    TGroupBox* grpAutoComplete;
    TCheckBox *chkAutoSuggest, *chkAutoSavePassword, *chkUseFormSuggest, *chkSavePasswordAsk;
    TGroupBox* grpAutoFind;
    TButton* btnEditAutoFind;
    TGroupBox* grpInternetExplorerPaths;
    TLabel *lblCache, *lblCookies, *lblHistory, *lblFavorites, *lblSave, *lblDownload;
    TEdit *edCache, *edCookies, *edHistory, *edFavorites, *edSave, *edDownload;
    TButton *btnCache, *btnCookies, *btnHistory, *btnFavorites, *btnSave, *btnDownload;
    TGroupBox* grpStartPageProtection;
    TCheckBox* chkProtectStartPage;
    TLabel* lblResetStartPageTo;
    TEdit* edResetStartPageTo;
    TButton *btnSaveSettings, *btnRefreshSettings;

private:
    void BuildHomePage();
    void BuildAutoComplete();
    void BuildPaths();
    TEdit* AddPathRow(const char* name, const char* caption, int row, TLabel*& label,
                      TButton*& browse);
    void BuildProtection();
    void btnEditAutoFindClick();
};
