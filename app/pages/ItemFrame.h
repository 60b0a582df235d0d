#pragma once
// The pages that show the cleaning catalogue as check boxes, one per eraser. A box
// writes its eraser's Enabled flag at once; the pages keep no state of their own but
// own the catalogue's default choices. Main thread only.
#include "app/pages/PageFrame.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include <vector>

struct TItemBox {
    const char* Box;     // the check box's name
    const char* Caption; // shown followed by " (*)" when the item needs a restart
    TCatalogueItem Item;
    bool Default;
    bool NeedsReboot;
    bool Disabled = false;    // shown greyed; still follows the page's commands
    bool BoundOnLoad = false; // writes the engine only after the first LoadSettings
};

class TItemFrame : public TPageFrame {
public:
    // Writes each item's default Enabled flag into the engine; the boxes stay.
    void SetDefaults() override;
    // Checks each box as its item's Enabled flag says, in table order.
    void LoadSettings() override;
    void btnSelectAllClick(TObject* Sender);
    void btnRemoveAllClick(TObject* Sender);

    [[nodiscard]] TCheckBox* Box(const std::string& name) const;
    TButton* btnSelectAll;
    TButton* btnRemoveAll;

protected:
    TItemFrame(TComponent* owner, std::vector<TItemBox> boxes);
    // The index-th button of the row below the last box ("&Select All", "&Remove All",
    // then a page's own), ButtonSpacing apart.
    [[nodiscard]] TBounds Button(int index) const;
    static constexpr int ButtonSpacing = 10;

private:
    void BindBox(size_t index);

    std::vector<TItemBox> FTable;
    std::vector<TCheckBox*> FBoxes;
};

// The same five boxes for Netscape/Mozilla, Opera and AOL (no favorites item there).
std::vector<TItemBox> BrowserItemBoxes(TCatalogueItem cache, TCatalogueItem locationBar,
                                       TCatalogueItem cookies, TCatalogueItem formsData,
                                       const TCatalogueItem* favorites);
