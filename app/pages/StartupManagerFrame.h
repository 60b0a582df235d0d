#pragma once
// The "Startup Manager" page: the programs started at logon, from the engine's
// startup manager, with commands to enable, disable and delete them. Every command
// acts on the selected row and does nothing without one. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/ListView.h"

class TTStartupManager : public TPageFrame {
public:
    explicit TTStartupManager(TComponent* owner);

    // Lists the entries afresh; the selected entry and the scroll position stay
    // (the first row is selected when the entry is gone).
    void LoadItems();
    // A page shown without an engine lists nothing.
    void FirstShow() override {
        if (Engine) LoadItems();
    }
    void ShowItem(TListItem& row);
    void UpdateButtons();
    void btnEnableClick(TObject* Sender);
    void btnDisableClick(TObject* Sender);
    // Asks first; a deletion that failed is reported and keeps its row.
    void btnDeleteClick(TObject* Sender);

    TListView* lvItems;
    TImageList* StatusImageList; // 0 disabled, 1 enabled
    TButton *btnEnable, *btnDisable, *btnDelete, *btnRefresh;

private:
    void SetSelectedEnabled(bool enabled);
    [[nodiscard]] TStartupManager& Manager() const { return Engine->Misc->StartupManager; }
};
