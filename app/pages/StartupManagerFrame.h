#pragma once
// The "Startup Manager" page: the programs started at logon, from the engine's
// startup manager, with commands to enable, disable and delete them. Every command
// acts on the selected row and does nothing without one. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/SpeedButton.h"

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
    TImageList* StatusImageList;                                   // 0 disabled, 1 enabled
    TSpeedButton *btnEnable, *btnDisable, *btnDelete, *btnRefresh; // flat

private:
    // An entry of the same name already in the target place is replaced only when
    // the user agrees.
    void SetSelectedEnabled(bool enabled);
    [[nodiscard]] bool ConfirmReplace(const TStartUpItem& entry, bool enabled,
                                      const std::string& existing) const;
    [[nodiscard]] TStartupManager& Manager() const { return Engine->Misc->StartupManager; }
};
