#pragma once
// The "Password Manager" page: the stored passwords of the engine's Misc, shown in
// clear text, added, edited and deleted through the password dialog. Changes reach
// Misc at once and "prefs.dat" (encrypted) when the main window saves. Main thread.
#include "classlib/gui/Button.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/ListView.h"
#include "engine/EraserEngine.h"

class TfraPasswordManager : public TFrame {
public:
    explicit TfraPasswordManager(TComponent* owner);

    TEraserEngine* Engine = nullptr; // set by the main window before any other call

    // Lists the entries again; the selected entry and the scroll position stay.
    void LoadItems();
    void ShowItem(TListItem& row);
    void UpdateButtons();
    void btnAddClick(TObject* Sender);
    void btnEditClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);

    TListView* lvItems;
    TButton *btnAdd, *btnEdit, *btnDelete;
};
