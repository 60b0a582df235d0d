#include "app/pages/ItemFrame.h"
#include "classlib/gui/PlaceControl.h"

using namespace Layout;

namespace {

// The boxes one below another, the buttons in a row below the last.
constexpr TGrid Boxes = Down(Margin, Margin, 440, CheckHeight, 3);

} // namespace

TItemFrame::TItemFrame(TComponent* owner, std::vector<TItemBox> boxes)
    : TPageFrame(owner), FTable(std::move(boxes)) {
    for (size_t i = 0; i < FTable.size(); ++i) {
        const TItemBox& entry = FTable[i];
        std::string caption = entry.Caption;
        if (entry.NeedsReboot) caption += " (*)";
        TCheckBox* box =
            Place<TCheckBox>(this, this, entry.Box, caption, Boxes.Cell(0, static_cast<int>(i)));
        box->SetEnabled(!entry.Disabled);
        FBoxes.push_back(box);
        if (!entry.BoundOnLoad) BindBox(i);
    }
    btnSelectAll = Place<TButton>(this, this, "btnSelectAll", "&Select All", Button(0));
    btnSelectAll->OnClick = [this](TObject* sender) { btnSelectAllClick(sender); };
    btnRemoveAll = Place<TButton>(this, this, "btnRemoveAll", "&Remove All", Button(1));
    btnRemoveAll->OnClick = [this](TObject* sender) { btnRemoveAllClick(sender); };
}

TBounds TItemFrame::Button(int index) const {
    const int top = Boxes.Rows.At(static_cast<int>(FTable.size())) + Margin;
    return Across(Margin, top, 90, ButtonHeight, ButtonSpacing).Cell(index, 0);
}

void TItemFrame::BindBox(size_t index) {
    FBoxes[index]->OnClick = [this, index](TObject*) {
        Engine->Item(FTable[index].Item).Enabled = FBoxes[index]->Checked();
    };
}

void TItemFrame::SetDefaults() {
    for (const TItemBox& entry : FTable)
        Engine->Item(entry.Item).Enabled = entry.Default;
}

void TItemFrame::LoadSettings() {
    for (size_t i = 0; i < FTable.size(); ++i)
        if (FTable[i].BoundOnLoad) BindBox(i);
    for (size_t i = 0; i < FTable.size(); ++i)
        FBoxes[i]->SetChecked(Engine->Item(FTable[i].Item).Enabled);
}

void TItemFrame::btnSelectAllClick(TObject*) {
    for (TCheckBox* box : FBoxes)
        box->SetChecked(true);
}

void TItemFrame::btnRemoveAllClick(TObject*) {
    for (TCheckBox* box : FBoxes)
        box->SetChecked(false);
}

TCheckBox* TItemFrame::Box(const std::string& name) const {
    return dynamic_cast<TCheckBox*>(FindComponent(name));
}

std::vector<TItemBox> BrowserItemBoxes(TCatalogueItem cache, TCatalogueItem locationBar,
                                       TCatalogueItem cookies, TCatalogueItem formsData,
                                       const TCatalogueItem* favorites) {
    std::vector<TItemBox> boxes = {
        {"chkEraseCache", "Erase Cache", cache, false, true},
        {"chkEraseLocationBar", "Erase History, Location Bar URLs", locationBar, false, true},
        {"chkEraseCookies", "Erase Cookies", cookies, false, true},
        {"chkEraseFormsData", "Erase Auto Complete Forms and Passwords Data", formsData, false,
         true},
    };
    if (favorites)
        boxes.push_back(
            {"chkEraseFavorites", "Erase Favorites", *favorites, false, true, false, true});
    return boxes;
}
