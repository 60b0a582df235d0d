#pragma once
// The "Password Manager" page: the stored passwords of the engine's Misc, shown in
// clear text, added, edited and deleted through the password dialog. Changes reach
// Misc at once and "prefs.dat" (encrypted) through Misc's OnPasswordsChanged, so that
// no entry waits for the end of the program. Main thread.
#include "app/pages/PageFrame.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/SpeedButton.h"

class TfraPasswordManager : public TPageFrame {
public:
    explicit TfraPasswordManager(TComponent* owner);

    // Lists the entries again; the selected entry and the scroll position stay.
    void LoadItems();
    void LoadSettings() override { LoadItems(); }
    void ShowItem(TListItem& row);
    void UpdateButtons();
    void btnAddClick(TObject* Sender);
    void btnEditClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);

    TListView* lvItems;
    TSpeedButton *btnAdd, *btnEdit, *btnDelete; // flat

private:
    void PasswordsChanged() const;
};
